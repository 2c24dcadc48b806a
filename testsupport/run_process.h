#pragma once
// Runs another program from a test (an independent reader such as xmllint, ogrinfo or a Python
// oracle, or one of our own command-line programs) and waits for it. The arguments go to the
// program as they are, never through a shell, so paths with blanks, quotes or "$" are safe.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace sw::test {

struct ProcessOptions {
    std::string input;                // written to standard input, which is then closed
    std::filesystem::path outputFile; // when set, standard output goes to this file
    bool separateErrors = false;      // standard error kept apart in ProcessResult::errors
    int timeoutMilliseconds = 120000; // a program still running then is killed

    ProcessOptions& feed(std::string text) {
        input = std::move(text);
        return *this;
    }
    ProcessOptions& outputTo(std::filesystem::path file) {
        outputFile = std::move(file);
        return *this;
    }
    ProcessOptions& errorsApart() {
        separateErrors = true;
        return *this;
    }
};

struct ProcessResult {
    int exitCode = -1;  // -1: the program did not start, crashed or ran out of time
    std::string output; // standard output, with standard error merged in unless kept apart
    std::string errors; // standard error, when kept apart
};

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const ProcessOptions& options = {});

} // namespace sw::test
