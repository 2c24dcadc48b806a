#include "kmlconvert/conversion.h"

#include "kmlconvert/coordinate_reader.h"
#include "kmlconvert/kml_extract.h"
#include "kmlconvert/kmz_archive.h"
#include "kmlconvert/perimeter_shapefile.h"
#include "kmlconvert/shape_choice.h"
#include "services/base/whole_file.h"
#include "taskwindow/record_file.h"

#include <QFile>
#include <QLockFile>

#include <algorithm>
#include <memory>
#include <system_error>
#include <utility>
#include <vector>

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
    QFile in;
    if (std::string problem = openForReading(in, from.string()); !problem.empty()) {
        return "Cannot read " + from.string() + ": " + problem;
    }
    WholeFileWrite out(to, AtALink::Replace);
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

// The working names of a conversion are its own for as long as it runs: a lock file beside
// them, released at the end. A lock that cannot be made at all (a folder the user may not write)
// is no reason to stop; writing there says so.
class NameLocks {
public:
    // Empty when the names `folder`/`stem`... are this conversion's, else the message.
    std::string take(const fs::path& folder, const std::string& stem) {
        const fs::path file = folder / ("." + stem + ".lock");
        if (std::find(taken_.begin(), taken_.end(), file) != taken_.end()) {
            return {};
        }
        auto lock = std::make_unique<QLockFile>(QFile::decodeName(file.c_str()));
        lock->setStaleLockTime(0); // a lock outlives no conversion: only a live process holds one
        if (lock->tryLock(0)) {
            locks_.push_back(std::move(lock));
            taken_.push_back(file);
        } else if (lock->error() == QLockFile::LockFailedError) {
            return "Another conversion is using the working name " + stem + " in " +
                   folder.string() + ".\nConvert again once it is complete.";
        }
        return {};
    }

private:
    std::vector<std::unique_ptr<QLockFile>> locks_;
    std::vector<fs::path> taken_;
};

class Conversion {
public:
    Conversion(Dialogs& dialogs, const FireAttributes& attributes, FileDialogMemory& kmlDialog)
        : dialogs_(dialogs), attributes_(attributes), kmlDialog_(kmlDialog) {}

    ConversionOutcome run() {
        auto picked = kmlDialog_.pick(dialogs_, kmlFileRequest());
        if (!picked) {
            return outcome_;
        }
        outcome_.names = namesForKml(*picked);
        if (!lockNames(names().workingCopy) || !settleShapefileName() ||
            !lockNames(names().shapefileBase()) || !makeWorkingCopy() || !writeWorkingFiles() ||
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

    // The names made from `file` (its folder and stem) are this conversion's until it ends.
    bool lockNames(const fs::path& file) {
        const std::string problem = locks_.take(file.parent_path(), file.stem().string());
        return problem.empty() || stop(problem);
    }

    // A KMZ's document was unpacked only to be converted: a refused one goes again.
    void dropUnpackedDocument() {
        if (isKmz(names().kml)) {
            std::error_code ec;
            fs::remove(names().workingCopy, ec);
        }
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
        if (dialogs_.askYesNo(question, "Overwrite", Icon::Warning, Answer::No)) {
            // The working files of the earlier conversion go now; the shapefile itself (and
            // its projection file) is replaced only once the new one is complete.
            return removeIfPresent(names().database) && removeIfPresent(names().attributeFile) &&
                   removeIfPresent(names().vertexFile) && removeIfPresent(names().oldAttributeFile);
        }
        // Offered beside the file being converted, under the name it would have had.
        FileRequest request = shapefileSaveRequest();
        request.fileName = names().shapefile.string();
        auto chosen = dialogs_.file(request);
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
            dropUnpackedDocument();
            return false;
        }
        return true;
    }

    bool writeWorkingFiles() {
        WaitCursor wait(dialogs_);
        const auto written =
            writeWholeFile(names().attributeFile, attributeLine(attributes_), AtALink::Replace);
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
            dropUnpackedDocument();
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
    FileDialogMemory& kmlDialog_;
    NameLocks locks_; // released last, after the database's load has ended
    ConversionOutcome outcome_;
    Extraction extraction_;
    PerimeterVertices vertices_;
    WorkingDatabase database_;
    std::optional<FireTable> fire_;
};

} // namespace

ConversionOutcome convertKml(Dialogs& dialogs, const FireAttributes& attributes,
                             FileDialogMemory& kmlDialog) {
    return Conversion(dialogs, attributes, kmlDialog).run();
}

} // namespace sw::kml
