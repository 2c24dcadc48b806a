#pragma once
// The facility window's five outputs, each one button press from dialog to closed file: the
// comma-separated text file (create, append), the Albers point shapefile (write, append) and
// the one-placemark KML document. They ask through the window's dialogs and report back; the
// window shows a failure, so an output the user asked for never fails unnoticed.

#include "facilities/facility_point.h"
#include "facilities/output_file_choice.h"

#include <filesystem>
#include <string>

namespace sw {

class Dialogs;
class ShapeFiles;

struct OutputResult {
    enum class Kind { Cancelled, Written, Failed };
    Kind kind = Kind::Cancelled;
    std::filesystem::path path; // the file written, or the one that failed
    std::string message;        // for Failed: names the file and the cause

    static OutputResult cancelled() { return {}; }
    static OutputResult written(std::filesystem::path file) {
        return {Kind::Written, std::move(file), {}};
    }
    static OutputResult failed(std::filesystem::path file, std::string text) {
        return {Kind::Failed, std::move(file), std::move(text)};
    }
};

// The file prefix of every facility output made by "create" or "write".
inline constexpr const char* kFacilityPrefix = "pf";

// A new text file with the header line and the point, replacing the prefixed target whole.
OutputResult createFacilityTextFile(Dialogs& dialogs, FileDialogMemory& dialog,
                                    const FacilityPoint& point);
// One more record line, without header, in the file chosen as it is (created when missing).
OutputResult appendFacilityTextFile(Dialogs& dialogs, FileDialogMemory& dialog,
                                    const FacilityPoint& point);

// A new point shapefile at the prefixed target with the eight fields, the point at the Albers
// coordinates, and the state Albers projection file beside it.
OutputResult writeFacilityShapefile(Dialogs& dialogs, FileDialogMemory& dialog, ShapeFiles& shapes,
                                    const FacilityPoint& point);
// One more point record in the shapefile chosen as it is.
OutputResult appendFacilityShapefile(Dialogs& dialogs, FileDialogMemory& dialog, ShapeFiles& shapes,
                                     const FacilityPoint& point);

// A KML document with one placemark at the chosen path (no prefix; the dialog suggests
// "pf" + name), through the common template and the link question.
OutputResult writeFacilityKml(Dialogs& dialogs, FileDialogMemory& dialog,
                              const FacilityPoint& point);

} // namespace sw
