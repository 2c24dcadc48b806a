#include "taskwindow/record_file.h"

#include "coord/number_text.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace sw {

namespace fs = std::filesystem;

namespace {

std::string failureText(const std::string& what, const fs::path& path, int error) {
    return what + " " + path.string() + ": " + std::strerror(error);
}

// Writes all of `bytes` to `fd`, retrying interrupted and partial writes; 0 or an errno.
int writeAll(int fd, std::string_view bytes) {
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

fs::path temporarySibling(const fs::path& path) {
    static std::mt19937_64 random{std::random_device{}()};
    fs::path temporary = path;
    temporary += ".tmp" + std::to_string(random() % 1000000000);
    return temporary;
}

} // namespace

void RecordLine::separate() {
    if (!empty_) {
        line_ += ',';
    }
    empty_ = false;
}

RecordLine& RecordLine::text(std::string_view value) {
    separate();
    line_ += '"';
    for (char c : value) {
        if (c == '"') {
            line_ += "\"\"";
        } else if (c == '\r' || c == '\n') {
            line_ += ' ';
        } else {
            line_ += c;
        }
    }
    line_ += '"';
    return *this;
}

RecordLine& RecordLine::number(double value) {
    separate();
    line_ += recordNumberText(value);
    return *this;
}

std::string RecordLine::str() const {
    return line_ + "\r\n";
}

std::string headerLine(std::initializer_list<std::string_view> columns) {
    RecordLine line;
    for (auto column : columns) {
        line.text(column);
    }
    return line.str();
}

WriteStatus writeWholeFile(const fs::path& path, std::string_view bytes) {
    const fs::path temporary = temporarySibling(path);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return WriteStatus::failure(failureText("Cannot create", path, errno));
    }
    int error = writeAll(fd, bytes);
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
        return WriteStatus::failure(failureText("Cannot write", path, error));
    }
    return WriteStatus::success();
}

WriteStatus appendWhole(const fs::path& path, std::string_view bytes) {
    const bool existed = ::access(path.c_str(), F_OK) == 0;
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        return WriteStatus::failure(failureText("Cannot open", path, errno));
    }
    struct stat before {};
    if (::fstat(fd, &before) != 0) {
        const int error = errno;
        ::close(fd);
        return WriteStatus::failure(failureText("Cannot open", path, error));
    }
    int error = writeAll(fd, bytes);
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    if (error != 0) {
        // Take back whatever part of the line reached the file.
        if (!existed) {
            ::unlink(path.c_str());
        } else if (::ftruncate(fd, before.st_size) != 0) {
            // Nothing more we can do; the message below still reports the failure.
        }
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        return WriteStatus::failure(failureText("Cannot write", path, error));
    }
    return WriteStatus::success();
}

} // namespace sw
