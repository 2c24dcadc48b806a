#include "testsupport/run_process.h"

#include <QProcess>
#include <QStringList>

namespace sw::test {

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const ProcessOptions& options) {
    QStringList args;
    for (const auto& argument : arguments) {
        args << QString::fromStdString(argument);
    }
    QProcess process;
    process.setProcessChannelMode(options.separateErrors ? QProcess::SeparateChannels
                                                         : QProcess::MergedChannels);
    if (!options.outputFile.empty()) {
        process.setStandardOutputFile(QString::fromStdString(options.outputFile.string()));
    }
    process.start(QString::fromStdString(program), args);
    if (!process.waitForStarted()) {
        return {-1, program + " did not start: " + process.errorString().toStdString(), {}};
    }
    // Always closed, so a program that reads standard input never waits on the terminal.
    process.write(options.input.data(), static_cast<qint64>(options.input.size()));
    process.closeWriteChannel();
    ProcessResult result;
    if (!process.waitForFinished(options.timeoutMilliseconds)) {
        process.kill();
        process.waitForFinished();
        result.output = program + " did not finish in time\n";
    } else if (process.exitStatus() != QProcess::NormalExit) {
        result.output = program + " crashed\n";
    } else {
        result.exitCode = process.exitCode();
    }
    result.output += process.readAllStandardOutput().toStdString();
    if (options.separateErrors) {
        result.errors = process.readAllStandardError().toStdString();
    }
    return result;
}

} // namespace sw::test
