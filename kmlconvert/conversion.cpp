#include "kmlconvert/conversion.h"

#include "kmlconvert/kml_extract.h"
#include "kmlconvert/kmz_archive.h"
#include "kmlconvert/perimeter_shapefile.h"
#include "kmlconvert/shape_choice.h"
#include "services/base/whole_file.h"
#include "taskwindow/record_file.h"

#include <QFile>

#include <system_error>
#include <utility>

namespace sw::kml {

namespace fs = std::filesystem;

FileRequest kmlFileRequest() {
    FileRequest request;
    request.kind = FileRequest::Kind::Open;
    request.defaultExtension = ".kml";
    request.filter = "KML Files(*.kml)|*.kml|KMZ Files(*.kmz)|*.kmz|GPS Files(*.gpx)|*.gpx";
    return request;
}

FileRequest shapefileSaveRequest() {
    FileRequest request;
    request.kind = FileRequest::Kind::Save;
    request.defaultExtension = ".shp";
    request.filter = "Shape Files(*.shp)|*.shp";
    return request;
}

namespace {

bool fileExists(const fs::path& file) {
    std::error_code ec;
    return fs::exists(file, ec);
}

// Copies the picked KML to its working name, whole or not at all. Empty on success.
std::string copyWhole(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    if (fs::equivalent(from, to, ec)) {
        return {}; // the picked file is its own working copy
    }
    QFile in(QString::fromStdString(from.string()));
    if (!in.open(QIODevice::ReadOnly)) {
        return "Cannot read " + from.string() + ": " + in.errorString().toStdString();
    }
    WholeFileWrite out(to);
    if (!out.problem().empty()) {
        return "Cannot write " + to.string() + ": " + out.problem();
    }
    char buffer[1 << 16];
    while (true) {
        const qint64 read = in.read(buffer, sizeof buffer);
        if (read < 0) {
            return "Cannot read " + from.string() + ": " + in.errorString().toStdString();
        }
        if (read == 0) {
            break;
        }
        if (std::string problem = out.append({buffer, static_cast<std::size_t>(read)});
            !problem.empty()) {
            return "Cannot write " + to.string() + ": " + problem;
        }
    }
    if (std::string problem = out.commit(); !problem.empty()) {
        return "Cannot write " + to.string() + ": " + problem;
    }
    return {};
}

class Conversion {
public:
    Conversion(Dialogs& dialogs, const FireAttributes& attributes)
        : dialogs_(dialogs), attributes_(attributes) {}

    ConversionOutcome run() {
        auto picked = dialogs_.file(kmlFileRequest());
        if (!picked) {
            return outcome_;
        }
        outcome_.names = namesForKml(*picked);
        if (!settleShapefileName() || !makeWorkingCopy() || !writeWorkingFiles() ||
            !loadDatabase() || !buildShapefile()) {
            return outcome_;
        }
        outcome_.completed = true;
        return outcome_;
    }

private:
    WorkingNames& names() { return outcome_.names; }

    bool stop(const std::string& message) {
        dialogs_.inform(message, {}, Icon::Warning);
        return false;
    }

    bool removeIfPresent(const fs::path& file) {
        std::error_code ec;
        if (fs::remove(file, ec) || !ec) {
            return true;
        }
        return stop("Cannot delete " + file.string() + ": " + ec.message());
    }

    // An existing shapefile of the working name: overwrite it, or pick another name.
    bool settleShapefileName() {
        if (!fileExists(names().shapefile)) {
            return true;
        }
        const std::string question =
            "Shapefile " + names().shapefile.string() + " exists - overwrite?";
        if (dialogs_.askYesNo(question, "Overwrite", Icon::Warning)) {
            // The working files of the earlier conversion go now; the shapefile itself (and
            // its projection file) is replaced only once the new one is complete.
            return removeIfPresent(names().database) && removeIfPresent(names().attributeFile) &&
                   removeIfPresent(names().vertexFile) && removeIfPresent(names().oldAttributeFile);
        }
        auto chosen = dialogs_.file(shapefileSaveRequest());
        if (!chosen || chosen->empty()) {
            return false;
        }
        outcome_.names = namesForShapefile(names(), *chosen);
        return true;
    }

    bool makeWorkingCopy() {
        WaitCursor wait(dialogs_);
        const fs::path& kml = names().kml;
        if (!fileExists(kml)) {
            dialogs_.inform(kml.string(), "File Not Found");
            return false;
        }
        const std::string error = isKmz(kml) ? extractKmzDocument(kml, names().workingCopy)
                                             : copyWhole(kml, names().workingCopy);
        if (!error.empty()) {
            return stop(error);
        }
        std::error_code ec;
        if (fs::file_size(names().workingCopy, ec) == 0 && !ec) {
            dialogs_.inform(names().workingCopy.string(), "File Is Empty");
            return false;
        }
        return true;
    }

    bool writeWorkingFiles() {
        WaitCursor wait(dialogs_);
        const auto written = writeWholeFile(names().attributeFile, attributeLine(attributes_));
        if (!written) {
            return stop(written.message);
        }
        // The database fills while the KML is read: COORD reads the vertex file's text as the
        // reading writes it.
        auto vertexText = std::make_shared<TextFeed>();
        database_.start(names(), vertexText);
        extraction_ = readPerimeter(names().workingCopy.string(), names().vertexFile.string(),
                                    names().kml.string(), vertices_, *vertexText);
        if (!extraction_.ok()) {
            database_.abandon();
            return stop(extraction_.refusal);
        }
        database_.verticesRead(extraction_.vertexCount);
        outcome_.vertexCount = extraction_.vertexCount;
        outcome_.partCount = extraction_.parts.size();
        return true;
    }

    // The database goes on filling while the user settles the shape type and the shapefile is
    // built from the vertices read. Its FIRE_DAT (quick) is waited for here: the record's
    // attributes come from it, and a database that cannot be made is told at once.
    bool loadDatabase() {
        WaitCursor wait(dialogs_);
        std::string problem;
        fire_ = database_.fireTable(problem);
        return fire_ || stop(problem);
    }

    bool buildShapefile() {
        const ShapeChoice choice =
            chooseShapeType(dialogs_, extraction_.vertexCount, extraction_.parts);
        WaitCursor wait(dialogs_);
        outcome_.shapeType = choice.shapeType;
        // The shapefile goes in place only once COORD holds every vertex too.
        PerimeterResult written =
            writePerimeterShapefile(names().shapefile, choice, *fire_, vertices_, extraction_.parts,
                                    [this] { return database_.finish(); });
        outcome_.drawnAcres = written.drawnAcres;
        if (!written.written) {
            return stop(written.problem);
        }
        dialogs_.inform(completionText(choice, written.leftOut), "Conversion Complete",
                        Icon::Information);
        return true;
    }

    Dialogs& dialogs_;
    const FireAttributes& attributes_;
    ConversionOutcome outcome_;
    Extraction extraction_;
    PerimeterVertices vertices_;
    WorkingDatabase database_;
    std::optional<FireTable> fire_;
};

} // namespace

ConversionOutcome convertKml(Dialogs& dialogs, const FireAttributes& attributes) {
    return Conversion(dialogs, attributes).run();
}

} // namespace sw::kml
