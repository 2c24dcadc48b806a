#include "services/shapefile/shapefiles.h"

#include <cmath>
#include <system_error>

#include "services/base/no_case.h"
#include "services/shapefile/existing_shapefile.h"
#include "services/shapefile/new_shapefile.h"
#include "services/shapefile/record_files.h"
#include "services/shapefile/shape_io.h"
#include "services/shapefile/shape_parts.h"
#include "services/shapefile/shape_paths.h"
#include "services/shapefile/shape_publish.h"

namespace sw {

namespace fs = std::filesystem;
using shapepaths::withExtension;

struct ShapeFiles::State {
    OpenMode mode = OpenMode::Create;
    ShapeType shapeType = ShapeType::Point;
    fs::path finalBase; // the shapefile's name without extension
    bool committed = false;
    std::vector<ShapeFieldInfo> fields;
    CodePage codePage; // of the attribute table's texts: UTF-8 for new files

    // The record being built.
    std::vector<std::optional<std::string>> values; // dBASE texts; nothing: empty value
    std::vector<ShapeVertex> vertices;
    std::string recordError; // the first value or vertex refused, which spoils the record

    std::unique_ptr<NewShapefile> created; // a new shapefile, until it is dropped
    bool keptAside = false;                // put in place by Close(), not by a record
    RecordFiles files;

    // Where the files are now: a temporary name while a new shapefile is built.
    fs::path base() const { return created ? created->base() : finalBase; }
    std::string shown() const { return withExtension(finalBase, ".shp").string(); }

    void clearRecord() {
        values.assign(fields.size(), std::nullopt);
        vertices.clear();
        recordError.clear();
    }

    void noteRecordError(const std::string& error) {
        if (recordError.empty()) {
            recordError = error;
        }
    }
};

ShapeFiles::ShapeFiles() : fields_(*this), vertices_(*this) {}

ShapeFiles::~ShapeFiles() = default;

void ShapeFiles::setWriteLimitForTesting(std::optional<long long> bytes) {
    shapeio::setWriteLimit(bytes);
}

void ShapeFiles::setMoveLimitForTesting(std::optional<int> moves) {
    setPublishMoveLimit(moves);
}

bool ShapeFiles::fail(std::string message) {
    error_ = std::move(message);
    return false;
}

std::filesystem::path ShapeFiles::path() const {
    return state_ ? withExtension(state_->finalBase, ".shp") : fs::path();
}

ShapeType ShapeFiles::shapeType() const {
    return state_ ? state_->shapeType : ShapeType::Point;
}

bool ShapeFiles::OpenShapefile(const std::filesystem::path& path, OpenMode mode,
                               ShapeType shapeType) {
    state_.reset();
    error_.clear();
    if (path.empty()) {
        return fail("No shapefile name given");
    }
    auto state = std::make_unique<State>();
    state->mode = mode;
    state->finalBase = shapepaths::baseOf(path);
    const std::string shown = state->shown();

    if (mode == OpenMode::Create) {
        if (!isNewShapefileType(shapeType)) {
            return fail("Cannot create " + shown + ": unknown shape type " +
                        std::to_string(static_cast<int>(shapeType)));
        }
        fs::path folder = state->finalBase.parent_path();
        std::error_code ec;
        if (!folder.empty() && !fs::is_directory(folder, ec)) {
            return fail("Cannot create " + shown + ": the folder " + folder.string() +
                        " does not exist");
        }
        state->shapeType = shapeType;
        state->created = std::make_unique<NewShapefile>(state->finalBase);
        std::string error;
        if (!state->created->createShapes(shapeType, error)) {
            return fail(error);
        }
        state_ = std::move(state);
        return true;
    }

    state->committed = true;
    std::string error;
    auto existing = openExistingShapefile(state->finalBase, state->files, error);
    if (!existing) {
        return fail(error);
    }
    state->shapeType = existing->shapeType;
    state->fields = std::move(existing->fields);
    state->codePage = existing->codePage;
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
    std::string error;
    if (!state.created->createTable(state.fields, error)) {
        return fail(error);
    }
    state.committed = true;
    state.clearRecord();
    return true;
}

bool ShapeFiles::SetProjection(std::string_view text) {
    if (!state_) {
        return fail("No shapefile is open");
    }
    auto& state = *state_;
    if (!state.created || state.created->published()) {
        return fail("A projection file goes with a new shapefile, before its first record");
    }
    std::string error;
    return state.created->createProjection(text, error) || fail(error);
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
        error = "The shapefile " + state.shown() + " has no column named " + std::string(fieldName);
    }
    if (!error.empty()) {
        state.noteRecordError(error);
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

bool ShapeFiles::VertexList::AddVertex(double x, double y, int partNo, RingRole role) {
    auto& self = owner_;
    if (!self.state_) {
        return self.fail("No shapefile is open");
    }
    if (!std::isfinite(x) || !std::isfinite(y)) {
        std::string error = "A vertex needs finite coordinates";
        self.state_->noteRecordError(error);
        return self.fail(error);
    }
    self.state_->vertices.push_back({x, y, partNo, role});
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

bool ShapeFiles::WriteRecord() {
    if (!state_) {
        return fail("No shapefile is open");
    }
    auto& state = *state_;
    std::string error = writeRecord(state);
    // Whatever happens, the next record starts empty and no file stays open.
    state.clearRecord();
    state.files.close();
    if (error.empty()) {
        return true;
    }
    if (state.created && !state.created->published()) {
        // A new shapefile whose first record fails is given up: its files under temporary
        // names go now rather than wait beside the user's files for a writer that callers
        // drop after a failure.
        state_.reset();
    }
    return fail(std::move(error));
}

std::string ShapeFiles::writeRecord(State& state) {
    const std::string shown = state.shown();
    if (!state.committed) {
        return "CommitFields must come before the first record of " + shown;
    }
    if (!state.recordError.empty()) {
        return "Record not written to " + shown + ": " + state.recordError;
    }
    std::string error;
    auto parts = shapeParts(state.shapeType, state.vertices, error);
    if (!parts) {
        return "Record not written to " + shown + ", a shapefile of " +
               shapeKindName(state.shapeType) + ": " + error;
    }
    error = state.files.write(state.base(), shown, state.shapeType, std::move(*parts), state.fields,
                              state.values);
    if (error.empty() && state.created && !state.created->published() && !state.keptAside) {
        // The new shapefile takes the place of the old one only now that it is complete.
        state.created->publish(error);
    }
    return error;
}

void ShapeFiles::KeepAsideUntilClose() {
    if (state_) {
        state_->keptAside = true;
    }
}

bool ShapeFiles::Close() {
    if (!state_) {
        return true;
    }
    auto& state = *state_;
    bool ok = true;
    if (state.created && !state.created->published()) {
        if (!state.committed) {
            state_.reset();
            return fail("The new shapefile was never completed (no CommitFields); nothing written");
        }
        std::string error;
        if (!state.created->publish(error)) {
            ok = fail(error);
        }
    }
    state_.reset();
    return ok;
}

} // namespace sw
