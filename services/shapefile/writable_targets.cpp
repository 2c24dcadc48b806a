#include "services/shapefile/writable_targets.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sw {

namespace fs = std::filesystem;

namespace {

// Why a regular file may not be written: protected on purpose, or refused by the system.
std::string whyNotWritableFile(const fs::path& path, const struct stat& info) {
    if ((info.st_mode & 0222) == 0) {
        return path.string() + " is write-protected";
    }
    const int probe = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (probe < 0) {
        return path.string() + ": " + std::strerror(errno);
    }
    ::close(probe);
    return {};
}

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
    if (S_ISDIR(info.st_mode)) {
        return path.string() + " is a folder";
    }
    if (!S_ISREG(info.st_mode)) {
        return path.string() + " is not an ordinary file";
    }
    return whyNotWritableFile(path, info);
}

std::string whyNotReplaceable(const fs::path& target) {
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
    if (auto refusal = sharedFolderRefusal(target, info); !refusal.empty()) {
        return refusal;
    }
    return S_ISREG(info.st_mode) ? whyNotWritableFile(target, info) : std::string();
}

} // namespace sw
