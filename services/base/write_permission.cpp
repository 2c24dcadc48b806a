#include "services/base/write_permission.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sw {

std::string WriteRefusal::said(const std::string& subject) const {
    switch (kind) {
    case Kind::None:
        return {};
    case Kind::Folder:
        return subject + " is a folder";
    case Kind::NotAFile:
        return subject + " is not an ordinary file";
    case Kind::Protected:
        return subject + " is write-protected";
    case Kind::System:
        return subject.empty() ? systemReason : subject + ": " + systemReason;
    }
    return {};
}

WriteRefusal writeRefusal(const std::filesystem::path& path, const struct stat& info) {
    if (S_ISDIR(info.st_mode)) {
        return {WriteRefusal::Kind::Folder, {}};
    }
    if (!S_ISREG(info.st_mode)) {
        return {WriteRefusal::Kind::NotAFile, {}};
    }
    if ((info.st_mode & 0222) == 0) {
        return {WriteRefusal::Kind::Protected, {}};
    }
    const int probe = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (probe < 0) {
        return {WriteRefusal::Kind::System, std::strerror(errno)};
    }
    ::close(probe);
    return {};
}

} // namespace sw
