#include "services/shapefile/shape_publish.h"

#include <cerrno>
#include <cstring>
#include <iterator>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>
#include <vector>

#include "services/base/no_case.h"
#include "services/shapefile/shape_paths.h"
#include "services/shapefile/writable_targets.h"

namespace sw {
namespace {

namespace fs = std::filesystem;
using shapepaths::withExtension;

// The parts of a new shapefile, the .shp last: until it is in place, no reader takes the new
// parts for a shapefile.
constexpr const char* kParts[] = {".dbf", ".cpg", ".prj", ".shx", ".shp"};
// Spatial indexes beside the old shapefile, which would describe its shapes after it is
// replaced.
constexpr const char* kIndexes[] = {".qix", ".sbn", ".sbx", ".QIX", ".SBN", ".SBX"};

std::optional<int> g_moveLimit;

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

// Everything that could stop a rename, looked at before anything moves: empty, or why the
// parts cannot go in place.
std::string whyNotPublishable(const fs::path& workBase, const fs::path& finalBase,
                              const std::vector<const char*>& parts) {
    fs::path folder = finalBase.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        return folder.string() + ": " + std::strerror(errno);
    }
    for (const char* extension : parts) {
        if (std::string reason = whyNotReplaceable(withExtension(finalBase, extension));
            !reason.empty()) {
            return reason;
        }
    }
    return keepPermissions(workBase, finalBase, parts);
}

struct Move {
    fs::path from;
    fs::path to;
};

// One rename, which the test's move limit may make fail.
std::error_code moveFile(const Move& move) {
    if (g_moveLimit && (*g_moveLimit)-- <= 0) {
        return std::make_error_code(std::errc::io_error);
    }
    std::error_code ec;
    fs::rename(move.from, move.to, ec);
    return ec;
}

// Undoes moves, last first.
void undo(std::vector<Move>& moves) {
    for (auto it = moves.rbegin(); it != moves.rend(); ++it) {
        std::error_code ec;
        fs::rename(it->to, it->from, ec);
    }
    moves.clear();
}

// Moves the parts to their final names, or back where they were: empty, or why not.
std::string moveIntoPlace(const fs::path& workBase, const fs::path& finalBase,
                          const std::vector<const char*>& parts) {
    // The old parts step aside first, so that a failure at any later step can put them back.
    std::vector<Move> aside;
    for (const char* extension : parts) {
        const fs::path target = withExtension(finalBase, extension);
        if (!isThere(target)) {
            continue;
        }
        Move move{target, withExtension(workBase, std::string(".old") + extension)};
        if (std::error_code ec = moveFile(move)) {
            undo(aside);
            return target.string() + ": " + ec.message();
        }
        aside.push_back(std::move(move));
    }
    std::vector<Move> placed;
    for (const char* extension : parts) {
        Move move{withExtension(workBase, extension), withExtension(finalBase, extension)};
        if (std::error_code ec = moveFile(move)) {
            undo(placed);
            undo(aside);
            return move.to.string() + ": " + ec.message();
        }
        placed.push_back(std::move(move));
    }
    std::error_code ec;
    for (const Move& move : aside) {
        fs::remove(move.to, ec);
    }
    return {};
}

// Removes what would still describe the old shapefile: its spatial indexes, and a part under
// an upper-case name where the new set has that part. Where names differ only in case on this
// file system, an upper-case name is the new file itself and stays.
void removeStale(const fs::path& finalBase, const std::vector<const char*>& parts) {
    std::vector<std::string> stale(std::begin(kIndexes), std::end(kIndexes));
    for (const char* part : parts) {
        stale.push_back(upperAscii(part));
    }
    std::error_code ec;
    for (const std::string& extension : stale) {
        const fs::path file = withExtension(finalBase, extension);
        bool isNewPart = false;
        for (const char* part : parts) {
            isNewPart = isNewPart || fs::equivalent(file, withExtension(finalBase, part), ec);
        }
        if (!isNewPart) {
            fs::remove(file, ec);
        }
    }
}

} // namespace

void setPublishMoveLimit(std::optional<int> moves) {
    g_moveLimit = moves;
}

bool publishShapefile(const fs::path& workBase, const fs::path& finalBase, std::string& error) {
    std::vector<const char*> parts;
    for (const char* extension : kParts) {
        if (isThere(withExtension(workBase, extension))) {
            parts.push_back(extension);
        }
    }
    std::string reason = whyNotPublishable(workBase, finalBase, parts);
    if (reason.empty()) {
        reason = moveIntoPlace(workBase, finalBase, parts);
    }
    if (!reason.empty()) {
        error = "Cannot put " + withExtension(finalBase, ".shp").string() + " in place: " + reason;
        return false;
    }
    removeStale(finalBase, parts);
    return true;
}

} // namespace sw
