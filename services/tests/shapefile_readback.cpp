#include "services/tests/shapefile_readback.h"

#include "testsupport/test_paths.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <array>
#include <cstdio>

namespace sw::test {

ReadBack readShapefile(const std::filesystem::path& shp) {
    ReadBack back;
    auto script = sourceDir() / "services" / "tests" / "shapefile_dump.py";
    std::string command = "/usr/bin/python3 '" + script.string() + "' '" + shp.string() + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        back.output = "cannot start " + command;
        return back;
    }
    std::array<char, 65536> buffer{};
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        back.output.append(buffer.data(), got);
    }
    int status = pclose(pipe);
    QJsonParseError error{};
    auto document = QJsonDocument::fromJson(QByteArray::fromStdString(back.output), &error);
    if (status != 0 || error.error != QJsonParseError::NoError || !document.isObject()) {
        return back;
    }
    back.raw = document.object().value("raw").toObject();
    back.gdal = document.object().value("gdal").toObject();
    back.ok = true;
    return back;
}

std::string problemsOf(const ReadBack& back) {
    if (!back.ok) {
        return "reader failed: " + back.output;
    }
    std::string text;
    for (const auto& problem : back.raw.value("problems").toArray()) {
        text += "file: " + problem.toString().toStdString() + "\n";
    }
    for (const auto& message : back.gdal.value("messages").toArray()) {
        text += "GDAL: " + message.toString().toStdString() + "\n";
    }
    return text;
}

} // namespace sw::test
