#include "services/shapefile/shape_publish.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>
#include <vector>

#include "services/shapefile/shape_paths.h"
#include "services/shapefile/writable_targets.h"

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

// Gives each new part the permissions of the file it replaces, as any replaced file of the
// program keeps them; a part without an old file keeps those it was made with. Empty, or why
// a part's permissions could not be set.
std::string keepPermissions(const fs::path& workBase, const fs::path& finalBase,
                            const std::vector<const char*>& parts) {
    for (const char* extension : parts) {
        struct stat old {};
        if (::lstat(withExtension(finalBase, extension).c_str(), &old) != 0 ||
            !S_ISREG(old.st_mode)) {
            continue;
        }
        const fs::path part = withExtension(workBase, extension);
        if (::chmod(part.c_str(), old.st_mode & 07777) != 0) {
            return part.string() + ": " + std::strerror(errno);
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
        if (std::string reason = whyNotReplaceable(withExtension(finalBase, extension));
            !reason.empty()) {
            return failWith(reason);
        }
    }
    if (std::string reason = keepPermissions(workBase, finalBase, parts); !reason.empty()) {
        return failWith(reason);
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
