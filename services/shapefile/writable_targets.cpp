#include "services/shapefile/writable_targets.h"

#include "services/base/write_permission.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sw {

namespace fs = std::filesystem;

namespace {

// Why the folder's sticky bit keeps this user from replacing a file of another, or nothing.
std::string sharedFolderRefusal(const fs::path& target, const struct stat& info) {
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

} // namespace

std::string whyNotWritable(const fs::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return path.string() + ": " + std::strerror(errno);
    }
    return writeRefusal(path, info).said(path.string());
}

std::string whyNotReplaceable(const fs::path& target) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0) {
        return {};
    }
    if (S_ISLNK(info.st_mode)) {
        return sharedFolderRefusal(target, info);
    }
    if (const WriteRefusal refusal = writeRefusal(target, info);
        refusal.kind == WriteRefusal::Kind::Folder ||
        refusal.kind == WriteRefusal::Kind::NotAFile) {
        return refusal.said(target.string());
    }
    if (auto refusal = sharedFolderRefusal(target, info); !refusal.empty()) {
        return refusal;
    }
    return writeRefusal(target, info).said(target.string());
}

} // namespace sw
