#include "services/shapefile/shape_publish.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>
#include <vector>

#include "services/shapefile/shape_paths.h"

namespace sw {
namespace {

namespace fs = std::filesystem;
using shapepaths::withExtension;

// The parts of a new shapefile, the .shp last: until it is in place, no reader takes the new
// parts for a shapefile.
constexpr const char* kParts[] = {".dbf", ".cpg", ".shx", ".shp"};
// Files beside the old shapefile that would describe it after it is replaced.
constexpr const char* kStale[] = {".qix", ".sbn", ".sbx", ".QIX", ".SBN",
                                  ".SBX", ".SHP", ".SHX", ".DBF", ".CPG"};

bool isThere(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// Why `target` cannot be replaced by a rename, or nothing. In a folder with the sticky bit
// (a shared folder such as /tmp) only the owner of a file may replace it.
std::string cannotReplace(const fs::path& target) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0) {
        return {};
    }
    if (S_ISDIR(info.st_mode)) {
        return target.string() + " is a folder";
    }
    if (!S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode)) {
        return target.string() + " is not an ordinary file";
    }
    fs::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    struct stat folderInfo {};
    if (::stat(folder.c_str(), &folderInfo) == 0 && (folderInfo.st_mode & S_ISVTX) != 0) {
        const uid_t me = ::geteuid();
        if (me != 0 && info.st_uid != me && folderInfo.st_uid != me) {
            return target.string() +
                   " belongs to another user in a shared folder: " + std::strerror(EPERM);
        }
    }
    return {};
}

struct Move {
    fs::path from;
    fs::path to;
};

// Undoes moves, last first.
void undo(std::vector<Move>& moves) {
    for (auto it = moves.rbegin(); it != moves.rend(); ++it) {
        std::error_code ec;
        fs::rename(it->to, it->from, ec);
    }
    moves.clear();
}

} // namespace

bool publishShapefile(const fs::path& workBase, const fs::path& finalBase, std::string& error) {
    const std::string shown = withExtension(finalBase, ".shp").string();
    auto failWith = [&](const std::string& reason) {
        error = "Cannot put " + shown + " in place: " + reason;
        return false;
    };

    std::vector<const char*> parts;
    for (const char* extension : kParts) {
        if (isThere(withExtension(workBase, extension))) {
            parts.push_back(extension);
        }
    }
    // Everything that could stop a rename is looked at before anything moves.
    fs::path folder = finalBase.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        return failWith(folder.string() + ": " + std::strerror(errno));
    }
    for (const char* extension : parts) {
        if (std::string reason = cannotReplace(withExtension(finalBase, extension));
            !reason.empty()) {
            return failWith(reason);
        }
    }

    // The old parts step aside first, so that a failure at any later step can put them back.
    std::vector<Move> aside;
    for (const char* extension : parts) {
        const fs::path target = withExtension(finalBase, extension);
        if (!isThere(target)) {
            continue;
        }
        Move move{target, withExtension(workBase, std::string(".old") + extension)};
        std::error_code ec;
        fs::rename(move.from, move.to, ec);
        if (ec) {
            undo(aside);
            return failWith(target.string() + ": " + ec.message());
        }
        aside.push_back(std::move(move));
    }
    std::vector<Move> placed;
    for (const char* extension : parts) {
        Move move{withExtension(workBase, extension), withExtension(finalBase, extension)};
        std::error_code ec;
        fs::rename(move.from, move.to, ec);
        if (ec) {
            undo(placed);
            undo(aside);
            return failWith(move.to.string() + ": " + ec.message());
        }
        placed.push_back(std::move(move));
    }

    std::error_code ec;
    for (const Move& move : aside) {
        fs::remove(move.to, ec);
    }
    // Where names differ only in case on this file system, an upper-case name is the new file.
    for (const char* extension : kStale) {
        const fs::path stale = withExtension(finalBase, extension);
        bool isNewPart = false;
        for (const char* part : parts) {
            isNewPart = isNewPart || fs::equivalent(stale, withExtension(finalBase, part), ec);
        }
        if (!isNewPart) {
            fs::remove(stale, ec);
        }
    }
    return true;
}

} // namespace sw
