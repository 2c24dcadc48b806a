#include "services/tests/kml_checks.h"

#include "testsupport/test_paths.h"

#include <QProcess>
#include <QStringList>
#include <cctype>
#include <sstream>

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
    ToolResult result;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        result.output = program + " did not run: " + process.errorString().toStdString();
        return result;
    }
    result.exitCode = process.exitCode();
    result.output = process.readAll().toStdString();
    return result;
}

std::string kmlSchemaErrors(const std::filesystem::path& file) {
    const auto schema = sharedDir() / "kml-schema" / "ogckml22.xsd";
    ToolResult result =
        runTool("xmllint", {"--noout", "--nonet", "--schema", schema.string(), file.string()});
    return result.exitCode == 0 ? std::string() : result.output;
}

std::vector<KmlFeature> readKmlWithGdal(const std::filesystem::path& file,
                                        const std::string& driver) {
    // Each driver is picked by skipping the other, which would otherwise claim the file first.
    const std::string other = driver == "KML" ? "LIBKML" : "KML";
    ToolResult result =
        runTool("ogrinfo", {"--config", "GDAL_SKIP", other, "-ro", "-al", "-q", file.string()});
    std::vector<KmlFeature> features;
    std::istringstream lines(result.output);
    std::string line;
    auto valueAfter = [&](const std::string& key) -> std::optional<std::string> {
        // Field lines read "  Name (String) = value"; the two drivers spell the description
        // field differently ("Description", "description").
        const std::string prefix = "  " + key + " (String) = ";
        if (line.size() < prefix.size()) {
            return std::nullopt;
        }
        for (std::size_t i = 0; i < prefix.size(); ++i) {
            if (std::tolower(static_cast<unsigned char>(line[i])) !=
                std::tolower(static_cast<unsigned char>(prefix[i]))) {
                return std::nullopt;
            }
        }
        return line.substr(prefix.size());
    };
    while (std::getline(lines, line)) {
        if (line.starts_with("OGRFeature(")) {
            features.emplace_back();
        } else if (features.empty()) {
            continue;
        } else if (auto name = valueAfter("Name")) {
            features.back().name = *name;
        } else if (auto description = valueAfter("Description")) {
            features.back().description = *description;
        } else if (line.starts_with("  POINT")) {
            std::istringstream coordinates(line.substr(line.find('(') + 1));
            double lon = 0;
            double lat = 0;
            if (coordinates >> lon >> lat) {
                features.back().longitude = lon;
                features.back().latitude = lat;
            }
        }
    }
    return features;
}

std::optional<KmlFeature> findPoint(const std::vector<KmlFeature>& features,
                                    const std::string& name) {
    std::optional<KmlFeature> found;
    for (const auto& feature : features) {
        if (feature.name == name && feature.longitude) {
            if (found) {
                return std::nullopt;
            }
            found = feature;
        }
    }
    return found;
}

} // namespace sw::test
