#include "services/shapefile/shape_io.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace sw::shapeio {

namespace {

thread_local IoWatch* g_watch = nullptr;
std::optional<long long> g_writeLimit;

void noteFailure(std::string text) {
    if (g_watch != nullptr) {
        g_watch->note(std::move(text));
    }
}

// shapelib tries other names (x.SHP after x.shp, a .cpg that may be absent): a file that does
// not open is no failure of the operation, only the reason to give if nothing opens.
void noteOpenFailure(std::string text) {
    if (g_watch != nullptr && g_watch->openFailure.empty()) {
        g_watch->openFailure = std::move(text);
    }
}

// What shapelib holds as a file: the stream and its name, so that a failure names the file.
struct OpenFile {
    FILE* stream;
    std::string name;
};

OpenFile& fileOf(SAFile file) {
    return *reinterpret_cast<OpenFile*>(file);
}

std::string failureText(const OpenFile& file, const char* what, int error) {
    return "cannot " + std::string(what) + " " + file.name + ": " + std::strerror(error);
}

SAFile hookOpen(const char* name, const char* access) {
    FILE* stream = std::fopen(name, access);
    if (stream == nullptr) {
        // shapelib's own message would give no reason; keep it while errno still holds it.
        noteOpenFailure("cannot open " + std::string(name) + ": " + std::strerror(errno));
        return nullptr;
    }
    // Unbuffered: a write that the disk refuses fails in the call that made it, where it is
    // seen, not later in a flush whose failure shapelib never checks.
    std::setvbuf(stream, nullptr, _IONBF, 0);
    return reinterpret_cast<SAFile>(new OpenFile{stream, name});
}

SAOffset hookRead(void* data, SAOffset size, SAOffset count, SAFile file) {
    OpenFile& open = fileOf(file);
    SAOffset read = std::fread(data, size, count, open.stream);
    if (read != count && std::ferror(open.stream) != 0) {
        noteFailure(failureText(open, "read", errno));
    }
    return read;
}

// How many of `count` items of `size` bytes the test's write limit lets through (all of them
// without a limit); they are taken from the limit.
std::size_t allowedItems(std::size_t size, std::size_t count) {
    std::size_t allowed = count;
    if (g_writeLimit) {
        const auto bytes = static_cast<long long>(size * count);
        if (*g_writeLimit < bytes) {
            allowed = static_cast<std::size_t>(std::max(0LL, *g_writeLimit)) / size;
        }
        *g_writeLimit -= static_cast<long long>(allowed * size);
    }
    return allowed;
}

SAOffset hookWrite(void* data, SAOffset size, SAOffset count, SAFile file) {
    if (size == 0 || count == 0) {
        return 0;
    }
    OpenFile& open = fileOf(file);
    const SAOffset allowed = allowedItems(size, count);
    SAOffset written = allowed ? std::fwrite(data, size, allowed, open.stream) : 0;
    if (written != count) {
        noteFailure(failureText(open, "write", allowed != count ? ENOSPC : errno));
    }
    return written;
}

SAOffset hookSeek(SAFile file, SAOffset offset, int whence) {
    OpenFile& open = fileOf(file);
    int rc = fseeko(open.stream, static_cast<off_t>(offset), whence);
    if (rc != 0) {
        noteFailure(failureText(open, "seek in", errno));
    }
    return static_cast<SAOffset>(rc);
}

SAOffset hookTell(SAFile file) {
    return static_cast<SAOffset>(ftello(fileOf(file).stream));
}

int hookFlush(SAFile file) {
    OpenFile& open = fileOf(file);
    int rc = std::fflush(open.stream);
    if (rc != 0) {
        noteFailure(failureText(open, "write", errno));
    }
    return rc;
}

int hookClose(SAFile file) {
    OpenFile* open = &fileOf(file);
    int rc = std::fclose(open->stream);
    if (rc != 0) {
        noteFailure(failureText(*open, "write", errno));
    }
    delete open;
    return rc;
}

int hookRemove(const char* name) {
    return std::remove(name);
}

void hookError(const char* message) {
    noteFailure(message ? message : "shapelib error");
}

// Numbers read back from the files never depend on the locale.
double hookAtof(const char* text) {
    while (*text == ' ') {
        ++text;
    }
    if (*text == '+') {
        ++text;
    }
    double value = 0;
    std::from_chars(text, text + std::strlen(text), value);
    return value;
}

// Calls `step(done)` until `count` bytes are through; false on an error or an end of file.
template <typename Step> bool allBytes(std::size_t count, Step step) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = step(done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

bool readAllAt(int fd, std::uint64_t offset, void* bytes, std::size_t count) {
    return allBytes(count, [&](std::size_t done) {
        return ::pread(fd, static_cast<char*>(bytes) + done, count - done,
                       static_cast<off_t>(offset + done));
    });
}

bool writeAllAt(int fd, std::uint64_t offset, const void* bytes, std::size_t count) {
    return allBytes(count, [&](std::size_t done) {
        return ::pwrite(fd, static_cast<const char*>(bytes) + done, count - done,
                        static_cast<off_t>(offset + done));
    });
}

namespace {

// Writes under the test's write limit: 0, or the errno of the failure (a limit reached is a
// full disk).
int limitedWriteAt(int fd, std::uint64_t offset, std::string_view bytes) {
    const std::size_t allowed = allowedItems(1, bytes.size());
    errno = 0;
    if (!writeAllAt(fd, offset, bytes.data(), allowed)) {
        return errno != 0 ? errno : EIO;
    }
    return allowed == bytes.size() ? 0 : ENOSPC;
}

} // namespace

std::string writeAt(int fd, std::uint64_t offset, std::string_view bytes,
                    const std::filesystem::path& path) {
    const int error = limitedWriteAt(fd, offset, bytes);
    return error == 0 ? std::string()
                      : "cannot write " + path.string() + ": " + std::strerror(error);
}

std::string writeNewFile(const std::filesystem::path& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return "cannot create " + path.string() + ": " + std::strerror(errno);
    }
    int error = limitedWriteAt(fd, 0, bytes);
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    return error == 0 ? std::string()
                      : "cannot write " + path.string() + ": " + std::strerror(error);
}

SAHooks* hooks() {
    static SAHooks table = [] {
        SAHooks h{};
        h.FOpen = hookOpen;
        h.FRead = hookRead;
        h.FWrite = hookWrite;
        h.FSeek = hookSeek;
        h.FTell = hookTell;
        h.FFlush = hookFlush;
        h.FClose = hookClose;
        h.Remove = hookRemove;
        h.Error = hookError;
        h.Atof = hookAtof;
        return h;
    }();
    return &table;
}

void setWriteLimit(std::optional<long long> bytes) {
    g_writeLimit = bytes;
}

WatchScope::WatchScope() : previous_(g_watch) {
    g_watch = &watch_;
}

WatchScope::~WatchScope() {
    g_watch = previous_;
}

} // namespace sw::shapeio
