#pragma once
// The outputs every task window offers for its record, each one button press from file
// dialog to closed file: a new text file, an append to a text file, a new point shapefile
// (with its projection file), an append to a point shapefile, and a one-placemark KML
// document. All of them take the record as a row of its column table (taskwindow/columns.h),
// so a window names each column once.
//
// A window holds one RecordOutputs: it owns the window's one file dialog (which remembers
// the last file chosen in it) and its one shapefile writer, both reused for every press.
//
//     RecordOutputs outputs{dialogs, {.prefix = "pf", .appendTextFilter = ..., ...}};
//     report(outputs.createTextFile(table.row(point)));
//     report(outputs.createShapefile(table.row(point), {x, y}));

#include "services/base/dialogs.h"
#include "services/kml/kml_writer.h"
#include "services/shapefile/shapefiles.h"
#include "taskwindow/columns.h"
#include "taskwindow/output_file_choice.h"
#include "taskwindow/output_result.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace sw {

// A window's file names and dialog filters.
struct OutputSettings {
    std::string prefix; // "pf": put before created files
    std::string newTextFilter = "Text Files(*.txt)|*.txt";
    std::string appendTextFilter; // "Text Files (pf*.txt)|pf*.txt"
    std::string newShapeFilter = "Shape Files(*.shp)|*.shp";
    std::string appendShapeFilter;                // "Shape Files (pf*.shp)|pf*.shp"
    std::string projectionFile = "qv_albers.prj"; // installed; goes beside a new shapefile
};

// Where the record's point lies in the shapefile's projection.
struct ShapePoint {
    double x = 0;
    double y = 0;
};

// One placemark document.
struct KmlPlacemark {
    std::string templateName = "kml_template3.txt";
    std::string presetFileName; // what the file dialog offers; no prefix is added
    std::string name;
    std::vector<std::string> descriptionLines;
    std::string longitude; // as shown
    std::string latitude;
    std::string iconFile; // a file of the icons folder
    std::string rangeElement = kDefaultRangeElement;
    // When set, asked once the file is chosen (a question whose answer picks the template);
    // its result takes the place of templateName.
    std::function<std::string()> chooseTemplate = {};
};

class RecordOutputs {
public:
    RecordOutputs(Dialogs& dialogs, OutputSettings settings);

    // Output-file choice with the prefix, then the title line and the record, written whole.
    OutputResult createTextFile(const RecordRow& row);
    // The chosen file as it is (created when missing, without title line): one whole line.
    OutputResult appendTextFile(const RecordRow& row);
    // Output-file choice with the prefix; a new point shapefile with the table's fields and
    // the record, and the projection file beside it, put in place together with it (an old
    // shapefile whose .prj cannot be replaced stays whole). Without the installed projection
    // file the shapefile is still written, and the result says what it lacks.
    OutputResult createShapefile(const RecordRow& row, ShapePoint at);
    // The chosen point shapefile as it is: checked first (every column of the table present
    // with a compatible type, point geometry), so a file that does not fit is left untouched
    // and the message names what is wrong.
    OutputResult appendShapefile(const RecordRow& row, ShapePoint at);
    // Output-file choice of the chosen path itself (no prefix), the link question and the
    // document from its template.
    OutputResult writeKml(const KmlPlacemark& placemark);

    FileDialogMemory& dialog() { return dialog_; }
    const OutputSettings& settings() const { return settings_; }

private:
    OutputResult shapeFailure(const std::filesystem::path& path) const;
    bool writePointRecord(const RecordRow& row, ShapePoint at);

    Dialogs& dialogs_;
    OutputSettings settings_;
    FileDialogMemory dialog_;
    ShapeFiles shapes_;
};

// Why the open shapefile cannot take records of these columns at `shapeType`, or nothing
// when it can. Field names match without regard to case; a text field of any width takes a
// text (the writer cuts it to the column), a number field (N or F) takes a number, a date
// field a date.
std::optional<std::string> appendMismatch(ShapeFiles& shapes, std::span<const Column> columns,
                                          ShapeType shapeType);

} // namespace sw
