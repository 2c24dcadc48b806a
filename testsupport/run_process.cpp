#include "testsupport/run_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sw::test {

// Plain fork and exec rather than QProcess: Qt starts its children with a clone that shares
// the parent's memory, which ThreadSanitizer cannot follow, so every report after a test's
// first reader would be noise in the ThreadSanitizer run.

namespace {

constexpr std::string_view kCannotStart = "siteward-test: cannot start the program\n";

struct Pipe {
    int read = -1;
    int write = -1;
    bool open() {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            return false;
        }
        read = fds[0];
        write = fds[1];
        return true;
    }
    void close() {
        for (int* fd : {&read, &write}) {
            if (*fd >= 0) {
                ::close(*fd);
                *fd = -1;
            }
        }
    }
};

// Everything a child needs is prepared before fork: between fork and exec only
// async-signal-safe calls are made.
[[noreturn]] void startChild(const std::vector<char*>& argv, const Pipe& in, const Pipe& out,
                             const Pipe& err, int outputFile, bool separateErrors) {
    ::dup2(in.read, STDIN_FILENO);
    ::dup2(outputFile >= 0 ? outputFile : out.write, STDOUT_FILENO);
    ::dup2(separateErrors ? err.write : out.write, STDERR_FILENO);
    ::execvp(argv[0], argv.data());
    [[maybe_unused]] ssize_t ignored =
        ::write(STDERR_FILENO, kCannotStart.data(), kCannotStart.size());
    ::_exit(127);
}

} // namespace

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const ProcessOptions& options) {
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    Pipe in, out, err;
    if (!in.open() || !out.open() || !err.open()) {
        return {-1, program + " did not start: " + std::strerror(errno), {}};
    }
    int outputFile = -1;
    if (!options.outputFile.empty()) {
        outputFile =
            ::open(options.outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (outputFile < 0) {
            return {-1, "cannot write " + options.outputFile.string(), {}};
        }
    }
    std::signal(SIGPIPE, SIG_IGN); // a child that stops reading must not end the test
    const pid_t pid = ::fork();
    if (pid < 0) {
        return {-1, program + " did not start: " + std::strerror(errno), {}};
    }
    if (pid == 0) {
        startChild(argv, in, out, err, outputFile, options.separateErrors);
    }
    if (outputFile >= 0) {
        ::close(outputFile);
    }
    ::close(in.read);
    in.read = -1;
    ::close(out.write);
    out.write = -1;
    ::close(err.write);
    err.write = -1;

    // Standard input is fed and always closed, so a program that reads it never waits on the
    // terminal; both outputs are read as they come, so a large output never blocks the child.
    ProcessResult result;
    std::string_view input = options.input;
    if (input.empty()) {
        in.close();
    }
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(options.timeoutMilliseconds);
    bool timedOut = false;
    char buffer[1 << 16];
    while (out.read >= 0 || err.read >= 0) {
        std::vector<pollfd> fds;
        if (in.write >= 0) {
            fds.push_back({in.write, POLLOUT, 0});
        }
        for (int fd : {out.read, err.read}) {
            if (fd >= 0) {
                fds.push_back({fd, POLLIN, 0});
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) {
            timedOut = true;
            break;
        }
        if (::poll(fds.data(), fds.size(), static_cast<int>(left)) < 0 && errno != EINTR) {
            break;
        }
        for (const pollfd& p : fds) {
            if (p.revents == 0) {
                continue;
            }
            if (p.fd == in.write) {
                const ssize_t n = ::write(in.write, input.data(), input.size());
                if (n > 0) {
                    input.remove_prefix(static_cast<std::size_t>(n));
                }
                if (n < 0 || input.empty()) {
                    in.close();
                }
                continue;
            }
            const ssize_t n = ::read(p.fd, buffer, sizeof buffer);
            if (n > 0) {
                (p.fd == out.read ? result.output : result.errors).append(buffer, n);
            } else if (n == 0 || errno != EINTR) {
                (p.fd == out.read ? out : err).close();
            }
        }
    }
    if (timedOut) {
        ::kill(pid, SIGKILL);
    }
    in.close();
    out.close();
    err.close();
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (timedOut) {
        result.output = program + " did not finish in time\n" + result.output;
    } else if (!WIFEXITED(status)) {
        result.output = program + " crashed\n" + result.output;
    } else if (WEXITSTATUS(status) == 127 &&
               (result.output + result.errors).ends_with(kCannotStart)) {
        result.exitCode = -1;
        result.output = program + " did not start\n";
    } else {
        result.exitCode = WEXITSTATUS(status);
    }
    if (!options.separateErrors) {
        result.errors.clear();
    }
    return result;
}

} // namespace sw::test
