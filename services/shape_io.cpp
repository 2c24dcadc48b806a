#include "services/shape_io.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

namespace sw::shapeio {

namespace {

thread_local IoWatch* g_watch = nullptr;
std::optional<long long> g_writeLimit;

void noteFailure(std::string text) {
    if (g_watch != nullptr) {
        g_watch->note(std::move(text));
    }
}

FILE* fileOf(SAFile file) {
    return reinterpret_cast<FILE*>(file);
}

SAFile hookOpen(const char* name, const char* access) {
    FILE* file = std::fopen(name, access);
    return reinterpret_cast<SAFile>(file);
}

SAOffset hookRead(void* data, SAOffset size, SAOffset count, SAFile file) {
    return std::fread(data, size, count, fileOf(file));
}

SAOffset hookWrite(void* data, SAOffset size, SAOffset count, SAFile file) {
    if (size == 0 || count == 0) {
        return 0;
    }
    SAOffset allowed = count;
    if (g_writeLimit) {
        auto bytes = static_cast<long long>(size * count);
        if (*g_writeLimit < bytes) {
            allowed = static_cast<SAOffset>(std::max(0LL, *g_writeLimit)) / size;
        }
        *g_writeLimit -= static_cast<long long>(allowed * size);
    }
    SAOffset written = allowed ? std::fwrite(data, size, allowed, fileOf(file)) : 0;
    if (written != count) {
        noteFailure(allowed != count ? std::string("No space left on device")
                                     : std::string(std::strerror(errno)));
    }
    return written;
}

SAOffset hookSeek(SAFile file, SAOffset offset, int whence) {
    return static_cast<SAOffset>(fseeko(fileOf(file), static_cast<off_t>(offset), whence));
}

SAOffset hookTell(SAFile file) {
    return static_cast<SAOffset>(ftello(fileOf(file)));
}

int hookFlush(SAFile file) {
    int rc = std::fflush(fileOf(file));
    if (rc != 0) {
        noteFailure(std::strerror(errno));
    }
    return rc;
}

int hookClose(SAFile file) {
    int rc = std::fclose(fileOf(file));
    if (rc != 0) {
        noteFailure(std::strerror(errno));
    }
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

} // namespace

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
