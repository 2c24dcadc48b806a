#include "services/tests/kml_checks.h"

#include "testsupport/test_paths.h"

#include <QProcess>
#include <QStringList>

namespace sw::test {

ToolResult runTool(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& standardInput) {
    QStringList args;
    for (const auto& argument : arguments) {
        args << QString::fromStdString(argument);
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QString::fromStdString(program), args);
    process.write(standardInput.data(), static_cast<qint64>(standardInput.size()));
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        return {-1, program + " did not run: " + process.errorString().toStdString()};
    }
    return {process.exitCode(), process.readAll().toStdString()};
}

std::string kmlSchemaErrors(const std::filesystem::path& file) {
    ToolResult result =
        runTool("xmllint", {"--noout", "--nonet", "--schema", kmlSchema().string(), file.string()});
    return result.exitCode == 0 ? std::string() : result.output;
}

std::string gdalFeatures(const std::filesystem::path& file, const std::string& driver) {
    // A driver is picked by skipping the other, which would otherwise claim the file first.
    const std::string other = driver == "KML" ? "LIBKML" : "KML";
    return runTool("ogrinfo", {"--config", "GDAL_SKIP", other, "-ro", "-al", "-q", file.string()})
        .output;
}

} // namespace sw::test
