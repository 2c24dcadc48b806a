#pragma once
// The shapefile writer behind every "Write to Shapefile" and "Append Existing Shapefile"
// button: creates a point, polyline, polygon or multipoint shapefile (.shp, .shx, .dbf and a
// .cpg saying UTF-8) or opens an existing one, and adds records one at a time. Built on
// shapelib.
//
// Use:
//     ShapeFiles out;
//     out.OpenShapefile(path, ShapeFiles::OpenMode::Create, ShapeType::Point);
//                                             // or (path, ShapeFiles::OpenMode::Append)
//     out.SetProjection(prjText);                             // new files only, optional
//     out.Fields().AddField("Name", FieldType::Text, 45); ... // new files only
//     out.CommitFields();                                     // new files only
//     out.Fields().Field("name").SetValue("Tower 4");         // names match without case
//     out.Vertices().AddVertex(612345.7, 312345.68, 0);
//     out.WriteRecord();
//
// Every call returns false on failure and leaves a message in lastError(); a failed call
// changes nothing on disk. Callers drop the writer without closing it, so WriteRecord leaves
// all files complete: record written, headers (counts, lengths, bounding boxes) and index
// updated, everything closed. A record whose write fails (a full disk, a value that does not
// fit, a column the file lacks) is taken back whole: the files stay byte for byte as before.
// A record writes only itself, its index entry, its attribute row and the three headers, so
// it costs the same whatever the size of the file it goes into.
//
// A new shapefile is built under temporary names beside the target and moved into place by
// its first WriteRecord (or by Close()), so a creation that fails halfway never destroys the
// shapefile it was to replace. Its files (.shp, .shx, .dbf, .cpg and the .prj given to
// SetProjection) go in place together or not at all: every old file of that name is checked
// first, and one the user protected (no write permission, a folder in its place) is refused
// with its name. An append likewise refuses a protected file before writing anything.
//
// Field types for AddField, and the dBASE columns they give:
//   Text          C, the given width (1..254; 254 when 0)
//   Double        N, width 19 with 11 decimals: Albers metres and degrees are stored
//                 exactly as their texts give them (the shortest text that reads back as
//                 the same double, padded with zeros)
//   Date          D, stored as YYYYMMDD
//   LongInteger   N, 0 decimals, width at least 11 so any long integer fits (a width of 4
//                 is the integer's size in bytes, not a number of digits)
//   Integer       N, 0 decimals, width at least 6
//   YesNo         L
//   Single, Numeric, Float: N (Numeric) or F (Single, Float), width 19 with 11 decimals
// Values that do not fit their column: texts are cut to the column width at a UTF-8
// character boundary (callers rely on the cut); a number whose text is too wide with all
// its decimals keeps fewer zeros (-2600000.12), and one too large for its column is refused,
// never cut.
//
// SetValue converts between kinds where the meaning is plain: into a number column a text
// must be wholly a number ("1,234.50" with thousands separators is one); whole-number
// columns round to the nearest, ties to the even neighbour; a date column takes a ShapeDate
// or a text YYYYMMDD, YYYY-MM-DD or mm-dd-yyyy; an empty text leaves the value empty. What
// cannot be converted is refused.
//
// Shapes: a point takes exactly one vertex, a line at least two per part, a polygon ring at
// least three different vertices (closed here when open; a ring of fewer has no area and is
// refused rather than written as a broken polygon).

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "services/base/field_types.h"
#include "services/shapefile/dbf_values.h"
#include "services/shapefile/shape_type.h"

namespace sw {

class ShapeFiles;

// A column of the open shapefile, as Fields().Field(name) finds it. A name the file lacks
// gives a field whose SetValue fails (and spoils the record being built, so that its
// WriteRecord fails too rather than write a record without that value).
class ShapeField {
public:
    bool exists() const { return index_ >= 0; }
    const std::string& name() const { return name_; }

    bool SetValue(std::string_view text);
    bool SetValue(const char* text) { return SetValue(std::string_view(text)); }
    bool SetValue(const std::string& text) { return SetValue(std::string_view(text)); }
    bool SetValue(double number);
    bool SetValue(ShapeDate date);

private:
    friend class ShapeFiles;
    ShapeField(ShapeFiles* owner, int index, std::string name)
        : owner_(owner), index_(index), name_(std::move(name)) {}

    ShapeFiles* owner_;
    int index_;
    std::string name_;
};

class ShapeFiles {
public:
    enum class OpenMode { Create, Append };

    ShapeFiles();
    ~ShapeFiles();
    ShapeFiles(const ShapeFiles&) = delete;
    ShapeFiles& operator=(const ShapeFiles&) = delete;

    // Create: a new, empty shapefile of shapeType (Point, Polyline, Polygon or Multipoint) at
    // path, replacing any shapefile of that name once its first record is written. Append: an
    // existing shapefile (shapeType is not used); new records go after the existing ones. The
    // path names the .shp file (or the shapefile without extension).
    bool OpenShapefile(const std::filesystem::path& path, OpenMode mode,
                       ShapeType shapeType = ShapeType::Point);

    // The attribute columns.
    class FieldList {
    public:
        // New files only, before CommitFields: one column per call, in call order. Names
        // are 1 to 10 characters and unique without regard to case.
        bool AddField(std::string_view name, FieldType type, int width = 0);
        // The column of that name, matched without regard to case.
        ShapeField Field(std::string_view name);
        int Count() const;
        std::optional<ShapeFieldInfo> Info(int index) const;

    private:
        friend class ShapeFiles;
        explicit FieldList(ShapeFiles& owner) : owner_(owner) {}
        ShapeFiles& owner_;
    };
    FieldList& Fields() { return fields_; }

    // Once, after the last AddField of a new file and before any value is set.
    bool CommitFields();

    // New files only, before the first WriteRecord (or Close): the text of the projection file
    // (.prj) that goes in place together with the shapefile's other files. Without it, a .prj
    // of that name is left as it is.
    bool SetProjection(std::string_view text);

    class VertexList {
    public:
        // One more vertex of the record's shape. Consecutive vertices with the same part
        // number form one part (one ring of a polygon, one line of a polyline); `role` says
        // whether a polygon ring is an outer boundary or a hole.
        bool AddVertex(double x, double y, int partNo = 0, RingRole role = RingRole::Outer);
        int Count() const;

    private:
        friend class ShapeFiles;
        explicit VertexList(ShapeFiles& owner) : owner_(owner) {}
        ShapeFiles& owner_;
    };
    VertexList& Vertices() { return vertices_; }

    // Accepted for the callers that pass it; the parts follow the part numbers of AddVertex.
    bool SetPartInfo(int partCount, int firstVertex);

    // Writes the record being built (shape and values) and leaves all files complete and
    // closed. Columns without a value are written empty. Polygon rings are closed and
    // turned clockwise (holes counter-clockwise). The record being built is emptied
    // whether or not the write succeeds. When the first record of a new shapefile fails, the
    // new shapefile is given up (its temporary files removed, no shapefile open).
    bool WriteRecord();

    // Ends the work with the shapefile. A new shapefile without records is moved into
    // place here (an empty file of that type); nothing else needs it.
    bool Close();

    // New files only: the new shapefile stays under its temporary names after its first
    // WriteRecord, until Close() moves it into place; dropped without Close(), it leaves
    // nothing. For a caller whose record may be written before it knows that the whole of
    // its work succeeded.
    void KeepAsideUntilClose();

    const std::string& lastError() const { return error_; }
    // The .shp path of the open shapefile (its final name, also while it is being built).
    std::filesystem::path path() const;
    // The open file's shape type (Point when none is open).
    ShapeType shapeType() const;

    // Tests only: writes through shapelib fail once this many more bytes have been written
    // (nothing: no limit). Shows what a full disk does to a record.
    static void setWriteLimitForTesting(std::optional<long long> bytes);
    // Tests only: putting a new shapefile's files in place fails once this many more of them
    // were moved (nothing: no limit). Shows what a failed rename does to the old shapefile.
    static void setMoveLimitForTesting(std::optional<int> moves);

private:
    friend class ShapeField;
    struct State;

    bool fail(std::string message);
    // WriteRecord's work: empty, or why the record was not written.
    std::string writeRecord(State& state);
    bool setValue(int index, std::string_view fieldName, std::optional<std::string> dbfText,
                  std::string error);

    std::unique_ptr<State> state_;
    FieldList fields_;
    VertexList vertices_;
    std::string error_;
};

} // namespace sw
