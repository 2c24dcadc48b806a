#include "testsupport/shapefile_reading.h"

#include "testsupport/run_process.h"
#include "testsupport/test_paths.h"

#include <QJsonDocument>
#include <QJsonParseError>

namespace sw::test {

ReadBack readShapefile(const std::filesystem::path& shp) {
    ReadBack back;
    const auto script = sourceDir() / "testsupport" / "read_shapefile.py";
    // Kept apart, so a warning on standard error cannot spoil the JSON.
    ProcessResult run = runProcess("/usr/bin/python3", {script.string(), shp.string()},
                                   ProcessOptions().errorsApart());
    QJsonParseError error{};
    const auto document = QJsonDocument::fromJson(QByteArray::fromStdString(run.output), &error);
    if (run.exitCode != 0 || error.error != QJsonParseError::NoError || !document.isObject()) {
        back.output = run.output + run.errors;
        return back;
    }
    back.raw = document.object().value("raw").toObject();
    back.gdal = document.object().value("gdal").toObject();
    back.prj = document.object().value("prj").toObject();
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
    if (back.prj.contains("error")) {
        text += "prj: " + back.prj.value("error").toString().toStdString() + "\n";
    }
    return text;
}

std::string fieldList(const ReadBack& back) {
    std::string list;
    for (const auto& field : back.gdal.value("fields").toArray()) {
        const QJsonObject f = field.toObject();
        const std::string type = f.value("type").toString().toStdString();
        list += (list.empty() ? "" : ", ") + f.value("name").toString().toStdString() + " " + type;
        if (type == "String") {
            list += " " + std::to_string(f.value("width").toInt());
        }
    }
    return list;
}

} // namespace sw::test
