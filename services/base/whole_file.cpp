#include "services/base/whole_file.h"

#include "services/base/write_permission.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sw {

namespace fs = std::filesystem;

namespace {

std::string reason(int error) {
    return std::strerror(error);
}

// The permissions a new file gets from the process's umask.
mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

int writeAllBytes(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            return EIO;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

WholeFileWrite::WholeFileWrite(const fs::path& target, AtALink atALink) : target_(target) {
    std::error_code ec;
    // Writing through a link updates the file it points to, as writing in place would.
    // A link whose file does not exist yet gets that file, and stays a link.
    for (int hops = 0; atALink == AtALink::WriteThrough && fs::is_symlink(target_, ec); ++hops) {
        if (hops == 40) {
            problem_ = "it is a chain of links that never ends";
            return;
        }
        const fs::path pointsTo = fs::read_symlink(target_, ec);
        if (ec) {
            problem_ = ec.message();
            return;
        }
        target_ = (target_.parent_path() / pointsTo).lexically_normal();
    }
    mode_t mode = newFileMode();
    struct stat existing {};
    if (::lstat(target_.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
        // Replacing by a rename needs only the folder's permission; the file's own decides.
        if (const WriteRefusal refusal = writeRefusal(target_, existing); refusal.refused()) {
            problem_ = refusal.kind == WriteRefusal::Kind::System ? refusal.systemReason
                                                                  : refusal.said("it");
            return;
        }
        mode = existing.st_mode & 07777;
    }
    mode_ = mode;
    const fs::path folder = target_.has_parent_path() ? target_.parent_path() : fs::path(".");
    std::string pattern = (folder / ".siteward-XXXXXX").string();
    fd_ = ::mkstemp(pattern.data());
    if (fd_ < 0) {
        problem_ = reason(errno);
        return;
    }
    temporary_ = pattern;
}

WholeFileWrite::~WholeFileWrite() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
    }
}

std::string WholeFileWrite::append(std::string_view bytes) {
    if (!problem_.empty()) {
        return problem_;
    }
    if (fd_ < 0) {
        return reason(EBADF); // committed already
    }
    if (writeError_ == 0) {
        writeError_ = writeAllBytes(fd_, bytes);
    }
    return writeError_ != 0 ? reason(writeError_) : std::string();
}

std::string WholeFileWrite::commit(std::string_view bytes) {
    if (!problem_.empty()) {
        return problem_;
    }
    if (fd_ < 0) {
        return reason(EBADF); // committed already
    }
    int error = writeError_ != 0 ? writeError_ : writeAllBytes(fd_, bytes);
    if (error == 0 && (::fchmod(fd_, static_cast<mode_t>(mode_)) != 0 || ::fsync(fd_) != 0)) {
        error = errno;
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        return reason(error);
    }
    temporary_.clear();
    return {};
}

WriteStatus writeWholeFile(const fs::path& path, std::string_view bytes, AtALink atALink) {
    WholeFileWrite file(path, atALink);
    std::string problem = file.problem().empty() ? file.commit(bytes) : file.problem();
    if (!problem.empty()) {
        return WriteStatus::failure("Cannot write " + path.string() + ": " + problem);
    }
    return WriteStatus::success();
}

} // namespace sw
