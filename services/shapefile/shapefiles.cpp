#include "services/shapefile/shapefiles.h"

#include <shapefil.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <system_error>
#include <unistd.h>

#include "services/base/no_case.h"
#include "services/shapefile/shape_check.h"
#include "services/shapefile/shape_io.h"
#include "services/shapefile/shape_paths.h"
#include "services/shapefile/shape_publish.h"
#include "services/shapefile/shape_snapshot.h"

namespace sw {

namespace {

namespace fs = std::filesystem;
using shapeio::hooks;
using shapeio::WatchScope;
using shapepaths::partFile;
using shapepaths::withExtension;

bool isWritableShapeType(int type) {
    switch (type) {
    case SHPT_POINT:
    case SHPT_ARC:
    case SHPT_POLYGON:
    case SHPT_MULTIPOINT:
    case SHPT_POINTZ:
    case SHPT_ARCZ:
    case SHPT_POLYGONZ:
    case SHPT_MULTIPOINTZ:
    case SHPT_POINTM:
    case SHPT_ARCM:
    case SHPT_POLYGONM:
    case SHPT_MULTIPOINTM:
        return true;
    default:
        return false;
    }
}

// The two-dimensional kind of a shapelib type code (point, polyline, polygon, multipoint).
int baseShapeCode(int type) {
    switch (type) {
    case SHPT_POINTZ:
    case SHPT_POINTM:
        return SHPT_POINT;
    case SHPT_ARCZ:
    case SHPT_ARCM:
        return SHPT_ARC;
    case SHPT_POLYGONZ:
    case SHPT_POLYGONM:
        return SHPT_POLYGON;
    case SHPT_MULTIPOINTZ:
    case SHPT_MULTIPOINTM:
        return SHPT_MULTIPOINT;
    default:
        return type;
    }
}

// ---------------------------------------------------------------------------------------------
std::string readSmallFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text(256, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

// The dBASE header's language driver byte: which code page its texts are in (0: not said).
unsigned char dbfLanguageDriver(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    char header[30] = {};
    in.read(header, sizeof header);
    return in ? static_cast<unsigned char>(header[29]) : 0;
}

struct Vertex {
    double x;
    double y;
    int part;
};

} // namespace

// ---------------------------------------------------------------------------------------------

struct ShapeFiles::State {
    OpenMode mode = OpenMode::Create;
    int shapeType = 0;  // shapelib's code
    fs::path finalBase; // the shapefile's name without extension
    fs::path workBase;  // where its files are now: a temporary name while a new one is built
    bool published = false;
    bool committed = false;
    std::vector<ShapeFieldInfo> fields;

    // The record being built.
    std::vector<std::optional<std::string>> values; // dBASE texts; nothing: empty value
    std::vector<Vertex> vertices;
    std::string recordError;

    // Open from OpenShapefile (append) to the end of the next WriteRecord: opening reads the
    // whole index, so it is read once per append, not twice.
    SHPHandle shp = nullptr;
    DBFHandle dbf = nullptr;

    ~State() { closeHandles(); }

    void closeHandles() {
        if (dbf != nullptr) {
            DBFClose(dbf);
            dbf = nullptr;
        }
        if (shp != nullptr) {
            SHPClose(shp);
            shp = nullptr;
        }
    }

    fs::path shpPath() const { return partFile(workBase, ".shp"); }
    fs::path shxPath() const { return partFile(workBase, ".shx"); }
    fs::path dbfPath() const { return partFile(workBase, ".dbf"); }
    CodePage codePage; // of the attribute table's texts: UTF-8 for new files
    ShapefileParts parts() const { return {shpPath(), shxPath(), dbfPath()}; }

    void clearRecord() {
        values.assign(fields.size(), std::nullopt);
        vertices.clear();
        recordError.clear();
    }

    bool publish(std::string& error) {
        if (!publishShapefile(workBase, finalBase, error)) {
            return false;
        }
        published = true;
        workBase = finalBase;
        return true;
    }

    // Removes the files of a new shapefile that never reached its final name.
    void discardUnpublished() {
        closeHandles();
        if (mode == OpenMode::Create && !published && !workBase.empty()) {
            std::error_code ec;
            for (const char* extension : {".shp", ".shx", ".dbf", ".cpg"}) {
                fs::remove(withExtension(workBase, extension), ec);
            }
        }
    }
};

ShapeFiles::ShapeFiles() : fields_(*this), vertices_(*this) {}

ShapeFiles::~ShapeFiles() {
    if (state_) {
        state_->discardUnpublished();
    }
}

void ShapeFiles::setWriteLimitForTesting(std::optional<long long> bytes) {
    shapeio::setWriteLimit(bytes);
}

bool ShapeFiles::fail(std::string message) {
    error_ = std::move(message);
    return false;
}

std::filesystem::path ShapeFiles::path() const {
    return state_ ? withExtension(state_->finalBase, ".shp") : fs::path();
}

ShapeType baseShapeType(ShapeType type) {
    return static_cast<ShapeType>(baseShapeCode(static_cast<int>(type)));
}

ShapeType ShapeFiles::shapeType() const {
    return state_ ? static_cast<ShapeType>(state_->shapeType) : ShapeType::Point;
}

bool ShapeFiles::OpenShapefile(const std::filesystem::path& path, OpenMode mode,
                               ShapeType shapeType) {
    if (state_) {
        state_->discardUnpublished();
        state_.reset();
    }
    error_.clear();
    if (path.empty()) {
        return fail("No shapefile name given");
    }
    auto state = std::make_unique<State>();
    state->mode = mode;
    state->finalBase = shapepaths::baseOf(path);
    const std::string shown = withExtension(state->finalBase, ".shp").string();

    if (mode == OpenMode::Create) {
        const int shapeCode = static_cast<int>(shapeType);
        if (shapeType != ShapeType::Point && shapeType != ShapeType::Polyline &&
            shapeType != ShapeType::Polygon && shapeType != ShapeType::Multipoint) {
            return fail("Cannot create " + shown + ": unknown shape type " +
                        std::to_string(shapeCode));
        }
        fs::path folder = state->finalBase.parent_path();
        std::error_code ec;
        if (!folder.empty() && !fs::is_directory(folder, ec)) {
            return fail("Cannot create " + shown + ": the folder " + folder.string() +
                        " does not exist");
        }
        // Built beside the target, so that moving it into place is a rename.
        static int serial = 0;
        state->workBase = fs::path(state->finalBase.string() + "~new" + std::to_string(getpid()) +
                                   "_" + std::to_string(++serial));
        state->shapeType = shapeCode;
        WatchScope watch;
        SHPHandle shp =
            SHPCreateLL(withExtension(state->workBase, ".shp").c_str(), shapeCode, hooks());
        if (shp != nullptr) {
            SHPClose(shp);
        }
        if (shp == nullptr || watch.failed()) {
            std::string reason = watch.reason(std::strerror(errno));
            state->discardUnpublished();
            return fail("Cannot create " + shown + ": " + reason);
        }
        state_ = std::move(state);
        return true;
    }

    state->workBase = state->finalBase;
    state->published = true;
    state->committed = true;
    std::error_code ec;
    if (!fs::is_regular_file(state->shpPath(), ec)) {
        return fail("Shapefile not found: " + shown);
    }
    if (!fs::is_regular_file(state->shxPath(), ec)) {
        return fail("The shapefile " + shown + " has no index file (.shx)");
    }
    if (!fs::is_regular_file(state->dbfPath(), ec)) {
        return fail("The shapefile " + shown + " has no attribute table (.dbf)");
    }
    // Checked before shapelib reads them: it trusts the headers, and an append to files that
    // disagree would overwrite old records or grow the files without bound.
    if (std::string damage = shapefileDamage(state->parts()); !damage.empty()) {
        return fail("Cannot add records to " + shown + ": the shapefile is damaged (" + damage +
                    ")");
    }
    WatchScope watch;
    // Opened for update, so that a file we may not write fails here, before any value is set.
    SHPHandle shp = SHPOpenLL(withExtension(state->workBase, ".shp").c_str(), "rb+", hooks());
    if (shp == nullptr) {
        return fail("Cannot open " + shown +
                    " for adding records: " + watch.openReason(std::strerror(errno)));
    }
    state->shp = shp;
    int records = 0;
    int type = 0;
    SHPGetInfo(shp, &records, &type, nullptr, nullptr);
    if (!isWritableShapeType(type)) {
        return fail("Cannot add records to " + shown + ": its shape type " + std::to_string(type) +
                    " is not a point, polyline, polygon or multipoint type");
    }
    watch.forgetOpenFailure();
    DBFHandle dbf = DBFOpenLL(withExtension(state->workBase, ".dbf").c_str(), "rb+", hooks());
    state->dbf = dbf;
    if (dbf == nullptr) {
        return fail("Cannot open the attribute table of " + shown +
                    " for adding records: " + watch.openReason(std::strerror(errno)));
    }
    int rows = DBFGetRecordCount(dbf);
    for (int i = 0; i < DBFGetFieldCount(dbf); ++i) {
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        ShapeFieldInfo info;
        DBFGetFieldInfo(dbf, i, name, &info.width, &info.decimals);
        info.name = name;
        info.dbfType = DBFGetNativeFieldType(dbf, i);
        state->fields.push_back(std::move(info));
    }
    if (watch.failed()) {
        return fail("Cannot read " + shown + ": " + watch.reason({}));
    }
    if (rows != records) {
        return fail("Cannot add records to " + shown + ": its shapes (" + std::to_string(records) +
                    ") and attribute rows (" + std::to_string(rows) + ") do not match");
    }
    // Texts are added in the file's own code page (see code_page.h).
    const fs::path cpgFile = partFile(state->workBase, ".cpg");
    if (fs::is_regular_file(cpgFile, ec)) {
        const std::string cpg = readSmallFile(cpgFile);
        auto codePage = CodePage::fromCpg(cpg);
        if (!codePage) {
            return fail("Cannot add records to " + shown + ": its code page \"" + cpg + "\" (" +
                        cpgFile.filename().string() + ") is not one this program can write");
        }
        state->codePage = *codePage;
    } else {
        state->codePage = CodePage::fromLanguageDriver(dbfLanguageDriver(state->dbfPath()));
    }
    state->shapeType = type;
    state->clearRecord();
    state_ = std::move(state);
    return true;
}

// ---------------------------------------------------------------------------------------------

bool ShapeFiles::FieldList::AddField(std::string_view name, FieldType type, int width) {
    auto& self = owner_;
    if (!self.state_) {
        return self.fail("No shapefile is open");
    }
    auto& state = *self.state_;
    if (state.mode != OpenMode::Create || state.committed) {
        return self.fail("Columns can only be added to a new shapefile, before CommitFields");
    }
    if (!validFieldName(name)) {
        return self.fail("Column name \"" + std::string(name) +
                         "\" is not 1 to 10 letters, digits or underscores");
    }
    for (const auto& field : state.fields) {
        if (equalsNoCase(field.name, name)) {
            return self.fail("Column " + std::string(name) + " is already defined");
        }
    }
    std::string error;
    auto info = columnFor(name, type, width, error);
    if (!info) {
        return self.fail(error);
    }
    state.fields.push_back(*info);
    return true;
}

int ShapeFiles::FieldList::Count() const {
    return owner_.state_ ? static_cast<int>(owner_.state_->fields.size()) : 0;
}

std::optional<ShapeFieldInfo> ShapeFiles::FieldList::Info(int index) const {
    if (!owner_.state_ || index < 0 || index >= Count()) {
        return std::nullopt;
    }
    return owner_.state_->fields[static_cast<std::size_t>(index)];
}

ShapeField ShapeFiles::FieldList::Field(std::string_view name) {
    if (owner_.state_) {
        const auto& fields = owner_.state_->fields;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (equalsNoCase(fields[i].name, name)) {
                return ShapeField(&owner_, static_cast<int>(i), fields[i].name);
            }
        }
    }
    return ShapeField(&owner_, -1, std::string(name));
}

bool ShapeFiles::CommitFields() {
    if (!state_) {
        return fail("No shapefile is open");
    }
    auto& state = *state_;
    if (state.mode != OpenMode::Create || state.committed) {
        return fail("CommitFields belongs to a new shapefile, once");
    }
    if (state.fields.empty()) {
        return fail("A shapefile needs at least one column");
    }
    const std::string shown = withExtension(state.finalBase, ".shp").string();
    WatchScope watch;
    // The code page makes readers take the texts as UTF-8; shapelib writes it as the .cpg.
    DBFHandle dbf = DBFCreateLL(withExtension(state.workBase, ".dbf").c_str(), "UTF-8", hooks());
    if (dbf == nullptr) {
        return fail("Cannot create the attribute table of " + shown + ": " +
                    watch.reason(std::strerror(errno)));
    }
    bool ok = true;
    for (const auto& field : state.fields) {
        if (DBFAddNativeFieldType(dbf, field.name.c_str(), field.dbfType, field.width,
                                  field.decimals) < 0) {
            ok = false;
        }
    }
    DBFClose(dbf);
    if (!ok || watch.failed()) {
        return fail("Cannot create the attribute table of " + shown + ": " +
                    watch.reason("a column was refused"));
    }
    state.committed = true;
    state.clearRecord();
    return true;
}

// ---------------------------------------------------------------------------------------------

bool ShapeFiles::setValue(int index, std::string_view fieldName, std::optional<std::string> dbfText,
                          std::string error) {
    if (!state_) {
        return fail("No shapefile is open");
    }
    auto& state = *state_;
    if (error.empty() && !state.committed) {
        error = "Values can only be set after CommitFields";
    }
    if (error.empty() && index < 0) {
        error = "The shapefile " + withExtension(state.finalBase, ".shp").string() +
                " has no column named " + std::string(fieldName);
    }
    if (!error.empty()) {
        if (state.recordError.empty()) {
            state.recordError = error;
        }
        return fail(std::move(error));
    }
    state.values[static_cast<std::size_t>(index)] = std::move(dbfText);
    return true;
}

namespace {

// The column a value goes into, or nothing for a missing column / no open file.
const ShapeFieldInfo* columnOf(const std::vector<ShapeFieldInfo>* fields, int index) {
    if (fields == nullptr || index < 0 || static_cast<std::size_t>(index) >= fields->size()) {
        return nullptr;
    }
    return &(*fields)[static_cast<std::size_t>(index)];
}

} // namespace

bool ShapeField::SetValue(std::string_view text) {
    const auto* column = columnOf(owner_->state_ ? &owner_->state_->fields : nullptr, index_);
    std::string error;
    auto stored =
        column ? encodeText(*column, text, owner_->state_->codePage, error) : std::nullopt;
    return owner_->setValue(index_, name_, std::move(stored), std::move(error));
}

bool ShapeField::SetValue(double number) {
    const auto* column = columnOf(owner_->state_ ? &owner_->state_->fields : nullptr, index_);
    std::string error;
    auto stored = column ? encodeNumber(*column, number, error) : std::nullopt;
    return owner_->setValue(index_, name_, std::move(stored), std::move(error));
}

bool ShapeField::SetValue(ShapeDate date) {
    const auto* column = columnOf(owner_->state_ ? &owner_->state_->fields : nullptr, index_);
    std::string error;
    auto stored = column ? encodeDate(*column, date, error) : std::nullopt;
    return owner_->setValue(index_, name_, std::move(stored), std::move(error));
}

// ---------------------------------------------------------------------------------------------

bool ShapeFiles::VertexList::AddVertex(double x, double y, int partNo) {
    auto& self = owner_;
    if (!self.state_) {
        return self.fail("No shapefile is open");
    }
    if (!std::isfinite(x) || !std::isfinite(y)) {
        std::string error = "A vertex needs finite coordinates";
        if (self.state_->recordError.empty()) {
            self.state_->recordError = error;
        }
        return self.fail(error);
    }
    self.state_->vertices.push_back({x, y, partNo});
    return true;
}

int ShapeFiles::VertexList::Count() const {
    return owner_.state_ ? static_cast<int>(owner_.state_->vertices.size()) : 0;
}

bool ShapeFiles::SetPartInfo(int /*partCount*/, int /*firstVertex*/) {
    if (!state_) {
        return fail("No shapefile is open");
    }
    return true;
}

// ---------------------------------------------------------------------------------------------

namespace {

// The record's shape as shapelib takes it: parts split where the part number changes,
// polygon rings closed. Nothing (and a message) when the vertices do not make that shape.
struct ShapeParts {
    std::vector<double> x;
    std::vector<double> y;
    std::vector<int> starts;
};

std::optional<ShapeParts> buildParts(int type, const std::vector<Vertex>& vertices,
                                     std::string& error) {
    ShapeParts parts;
    int kind = baseShapeCode(type);
    if (vertices.empty()) {
        error = "The record has no vertices";
        return std::nullopt;
    }
    if (kind == SHPT_POINT && vertices.size() != 1) {
        error = "A point record takes one vertex, not " + std::to_string(vertices.size());
        return std::nullopt;
    }
    if (kind == SHPT_POINT || kind == SHPT_MULTIPOINT) {
        for (const auto& v : vertices) {
            parts.x.push_back(v.x);
            parts.y.push_back(v.y);
        }
        parts.starts.push_back(0);
        return parts;
    }
    std::size_t first = 0;
    while (first < vertices.size()) {
        std::size_t end = first;
        while (end < vertices.size() && vertices[end].part == vertices[first].part) {
            ++end;
        }
        parts.starts.push_back(static_cast<int>(parts.x.size()));
        for (std::size_t i = first; i < end; ++i) {
            parts.x.push_back(vertices[i].x);
            parts.y.push_back(vertices[i].y);
        }
        std::size_t count = end - first;
        if (kind == SHPT_ARC && count < 2) {
            error = "A line needs at least two vertices";
            return std::nullopt;
        }
        if (kind == SHPT_POLYGON) {
            const Vertex& a = vertices[first];
            const Vertex& z = vertices[end - 1];
            bool closed = count > 1 && a.x == z.x && a.y == z.y;
            std::size_t distinct = closed ? count - 1 : count;
            if (distinct < 3) {
                error = "A polygon ring needs at least three different vertices, not " +
                        std::to_string(distinct);
                return std::nullopt;
            }
            if (!closed) {
                parts.x.push_back(a.x);
                parts.y.push_back(a.y);
            }
        }
        first = end;
    }
    return parts;
}

const char* kindName(int type) {
    switch (baseShapeCode(type)) {
    case SHPT_POINT:
        return "points";
    case SHPT_ARC:
        return "lines";
    case SHPT_POLYGON:
        return "polygons";
    default:
        return "multipoints";
    }
}

void todayInto(DBFHandle dbf) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    DBFSetLastModifiedDate(dbf, local.tm_year, local.tm_mon + 1, local.tm_mday);
}

} // namespace

bool ShapeFiles::WriteRecord() {
    if (!state_) {
        return fail("No shapefile is open");
    }
    auto& state = *state_;
    const std::string shown = withExtension(state.finalBase, ".shp").string();
    // Whatever happens, the next record starts empty and no file stays open.
    struct EndRecord {
        State& state;
        ~EndRecord() {
            state.clearRecord();
            state.closeHandles();
        }
    } endRecord{state};

    if (!state.committed) {
        return fail("CommitFields must come before the first record of " + shown);
    }
    if (!state.recordError.empty()) {
        return fail("Record not written to " + shown + ": " + state.recordError);
    }
    std::string error;
    auto parts = buildParts(state.shapeType, state.vertices, error);
    if (!parts) {
        return fail("Record not written to " + shown + ", a shapefile of " +
                    kindName(state.shapeType) + ": " + error);
    }

    const fs::path shpFile = state.shpPath();
    const fs::path shxFile = state.shxPath();
    const fs::path dbfFile = state.dbfPath();
    auto shpBefore = takeSnapshot(shpFile, 100);
    auto shxBefore = takeSnapshot(shxFile, 100);
    auto dbfBefore = takeSnapshot(dbfFile, dbfHeaderLength(dbfFile));
    if (!shpBefore || !shxBefore || !dbfBefore) {
        return fail("Cannot read " + shown + " before writing to it");
    }

    WatchScope watch;
    bool ok = true;
    if (state.shp == nullptr) {
        state.shp = SHPOpenLL(withExtension(state.workBase, ".shp").c_str(), "rb+", hooks());
    }
    if (state.dbf == nullptr && state.shp != nullptr) {
        state.dbf = DBFOpenLL(withExtension(state.workBase, ".dbf").c_str(), "rb+", hooks());
    }
    SHPHandle shp = state.shp;
    DBFHandle dbf = state.dbf;
    if (shp == nullptr || dbf == nullptr) {
        ok = false;
    } else {
        SHPObject* object =
            SHPCreateObject(state.shapeType, -1, static_cast<int>(parts->starts.size()),
                            parts->starts.data(), nullptr, static_cast<int>(parts->x.size()),
                            parts->x.data(), parts->y.data(), nullptr, nullptr);
        if (baseShapeCode(state.shapeType) == SHPT_POLYGON) {
            // Outer rings clockwise, holes counter-clockwise, as the format wants them.
            SHPRewindObject(shp, object);
        }
        int shapeId = SHPWriteObject(shp, -1, object);
        SHPDestroyObject(object);
        int row = DBFGetRecordCount(dbf);
        if (shapeId < 0 || shapeId != row) {
            ok = false;
        }
        for (std::size_t i = 0; ok && i < state.fields.size(); ++i) {
            int field = static_cast<int>(i);
            ok = state.values[i]
                     ? DBFWriteAttributeDirectly(dbf, row, field, state.values[i]->data()) != 0
                     : DBFWriteNULLAttribute(dbf, row, field) != 0;
        }
        todayInto(dbf);
    }
    // Closing writes the headers and the index: the files are complete from here on.
    state.closeHandles();
    // Whatever shapelib did not report, the files must still agree with one another.
    std::string damage = ok && !watch.failed() ? shapefileDamage(state.parts()) : std::string();
    if (!ok || watch.failed() || !damage.empty()) {
        std::string reason = watch.reason(damage.empty() ? "the record could not be written"
                                                         : "the files disagree: " + damage);
        bool restored = restoreSnapshot(*shpBefore) && restoreSnapshot(*shxBefore) &&
                        restoreSnapshot(*dbfBefore);
        return fail("Record not written to " + shown + ": " + reason +
                    (restored ? "" : " (and the files could not be put back as they were)"));
    }

    if (!state.published) {
        // The new shapefile takes the place of the old one only now that it is complete.
        std::string publishError;
        if (!state.publish(publishError)) {
            return fail(publishError);
        }
    }
    return true;
}

bool ShapeFiles::Close() {
    if (!state_) {
        return true;
    }
    auto& state = *state_;
    bool ok = true;
    if (state.mode == OpenMode::Create && !state.published) {
        if (!state.committed) {
            state.discardUnpublished();
            state_.reset();
            return fail("The new shapefile was never completed (no CommitFields); nothing written");
        }
        std::string publishError;
        if (!state.publish(publishError)) {
            ok = fail(publishError);
        }
    }
    state.discardUnpublished();
    state_.reset();
    return ok;
}

} // namespace sw
