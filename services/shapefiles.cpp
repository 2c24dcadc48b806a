#include "services/shapefiles.h"

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

namespace sw {

namespace {

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------------------------
// File access for shapelib. shapelib reports most write failures only through its error hook
// (its header writers return nothing), so every read and write goes through these hooks,
// which note the first failure of the operation under way. The same place lets a test make
// writes fail after a number of bytes, as a full disk would.

struct IoWatch {
    bool failed = false;
    std::string message;

    void note(std::string text) {
        if (!failed) {
            failed = true;
            message = std::move(text);
        }
    }
};

thread_local IoWatch* g_watch = nullptr;
std::optional<long long> g_writeLimit;

void noteFailure(std::string text) {
    if (g_watch != nullptr) {
        g_watch->note(std::move(text));
    }
}

FILE* fileOf(SAFile file) {
    return reinterpret_cast<FILE*>(file);
}

SAFile hookOpen(const char* name, const char* access) {
    FILE* file = std::fopen(name, access);
    return reinterpret_cast<SAFile>(file);
}

SAOffset hookRead(void* data, SAOffset size, SAOffset count, SAFile file) {
    return std::fread(data, size, count, fileOf(file));
}

SAOffset hookWrite(void* data, SAOffset size, SAOffset count, SAFile file) {
    if (size == 0 || count == 0) {
        return 0;
    }
    SAOffset allowed = count;
    if (g_writeLimit) {
        auto bytes = static_cast<long long>(size * count);
        if (*g_writeLimit < bytes) {
            allowed = static_cast<SAOffset>(std::max(0LL, *g_writeLimit)) / size;
        }
        *g_writeLimit -= static_cast<long long>(allowed * size);
    }
    SAOffset written = allowed ? std::fwrite(data, size, allowed, fileOf(file)) : 0;
    if (written != count) {
        noteFailure(allowed != count ? std::string("No space left on device")
                                     : std::string(std::strerror(errno)));
    }
    return written;
}

SAOffset hookSeek(SAFile file, SAOffset offset, int whence) {
    return static_cast<SAOffset>(fseeko(fileOf(file), static_cast<off_t>(offset), whence));
}

SAOffset hookTell(SAFile file) {
    return static_cast<SAOffset>(ftello(fileOf(file)));
}

int hookFlush(SAFile file) {
    int rc = std::fflush(fileOf(file));
    if (rc != 0) {
        noteFailure(std::strerror(errno));
    }
    return rc;
}

int hookClose(SAFile file) {
    int rc = std::fclose(fileOf(file));
    if (rc != 0) {
        noteFailure(std::strerror(errno));
    }
    return rc;
}

int hookRemove(const char* name) {
    return std::remove(name);
}

void hookError(const char* message) {
    noteFailure(message ? message : "shapelib error");
}

// Numbers read back from the files never depend on the locale.
double hookAtof(const char* text) {
    while (*text == ' ') {
        ++text;
    }
    if (*text == '+') {
        ++text;
    }
    double value = 0;
    std::from_chars(text, text + std::strlen(text), value);
    return value;
}

SAHooks* hooks() {
    static SAHooks table = [] {
        SAHooks h{};
        h.FOpen = hookOpen;
        h.FRead = hookRead;
        h.FWrite = hookWrite;
        h.FSeek = hookSeek;
        h.FTell = hookTell;
        h.FFlush = hookFlush;
        h.FClose = hookClose;
        h.Remove = hookRemove;
        h.Error = hookError;
        h.Atof = hookAtof;
        return h;
    }();
    return &table;
}

// Watches the shapelib calls of one operation.
class WatchScope {
public:
    WatchScope() : previous_(g_watch) { g_watch = &watch_; }
    ~WatchScope() { g_watch = previous_; }
    WatchScope(const WatchScope&) = delete;
    WatchScope& operator=(const WatchScope&) = delete;

    bool failed() const { return watch_.failed; }
    std::string reason(const std::string& fallback) const {
        return watch_.failed ? watch_.message : fallback;
    }

private:
    IoWatch watch_;
    IoWatch* previous_;
};

// ---------------------------------------------------------------------------------------------
// Names.

bool equalsNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        return lower(x) == lower(y);
    });
}

// The shapefile's name without extension: "x.shp", "x.SHP" and "x" all name x.
fs::path baseOf(const fs::path& path) {
    std::string extension = path.extension().string();
    if (equalsNoCase(extension, ".shp") || equalsNoCase(extension, ".shx") ||
        equalsNoCase(extension, ".dbf")) {
        return fs::path(path).replace_extension();
    }
    return path;
}

fs::path withExtension(const fs::path& base, std::string_view extension) {
    return fs::path(base.string() + std::string(extension));
}

// The existing file of a shapefile part: the lower-case extension first, as shapelib
// looks for them, then the upper-case one.
fs::path partFile(const fs::path& base, std::string_view lowerExtension) {
    fs::path lower = withExtension(base, lowerExtension);
    std::error_code ec;
    if (fs::exists(lower, ec)) {
        return lower;
    }
    std::string upper(lowerExtension);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; });
    fs::path upperPath = withExtension(base, upper);
    return fs::exists(upperPath, ec) ? upperPath : lower;
}

// ---------------------------------------------------------------------------------------------
// Values as the dBASE file holds them.

// Cuts a UTF-8 text to at most `width` bytes without splitting a character.
std::string cutUtf8(std::string_view text, std::size_t width) {
    if (text.size() <= width) {
        return std::string(text);
    }
    std::size_t cut = width;
    // The first byte left out is a continuation byte: its character began before the cut,
    // so leave the whole character out.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return std::string(text.substr(0, cut));
}

std::string trimmed(std::string_view text) {
    auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

// A number right-aligned in its column: whole numbers rounded to the nearest (ties to even);
// otherwise the shortest text that reads back as the same double, padded with zeros to the
// column's decimals (or rounded to them when it has more). Nothing when it does not fit.
std::optional<std::string> numberText(double value, int width, int decimals) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    if (value == 0) {
        value = 0; // never "-0"
    }
    char buffer[512];
    std::string text;
    if (decimals <= 0) {
        double whole = std::nearbyint(value);
        if (std::fabs(whole) >= 1e18) {
            return std::nullopt;
        }
        text = std::to_string(static_cast<long long>(whole));
    } else {
        auto shortest =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
        text.assign(buffer, shortest.ptr);
        auto point = text.find('.');
        int has = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
        if (has > decimals) {
            auto rounded = std::to_chars(buffer, buffer + sizeof buffer, value,
                                         std::chars_format::fixed, decimals);
            text.assign(buffer, rounded.ptr);
        } else {
            std::string padded = text + (point == std::string::npos ? "." : "") +
                                 std::string(static_cast<std::size_t>(decimals - has), '0');
            if (static_cast<int>(padded.size()) <= width) {
                text = padded; // else keep the shorter text: same value, fewer zeros
            }
        }
    }
    if (static_cast<int>(text.size()) > width) {
        return std::nullopt;
    }
    return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

// A number typed as text: the whole text must be a number ("1,234.50" with thousands
// separators is one). Nothing otherwise.
std::optional<double> numberFromText(std::string_view text) {
    std::string clean;
    std::size_t start = 0;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        if (text[0] == '-') {
            clean += '-';
        }
        start = 1;
    }
    std::string_view body = text.substr(start);
    std::size_t point = body.find_first_of(".eE");
    std::string_view whole = body.substr(0, point);
    if (whole.find(',') != std::string_view::npos) {
        // Thousands separators only in groups of three: 1,234 and 12,345,678.
        std::size_t group = whole.find(',');
        if (group == 0 || group > 3) {
            return std::nullopt;
        }
        for (std::size_t i = group; i < whole.size(); i += 4) {
            if (whole[i] != ',' || i + 4 > whole.size()) {
                return std::nullopt;
            }
        }
        for (char c : whole) {
            if (c != ',') {
                clean += c;
            }
        }
        clean += body.substr(whole.size());
    } else {
        clean += body;
    }
    if (clean.empty() || clean == "-" ||
        !((clean.back() >= '0' && clean.back() <= '9') || clean.back() == '.')) {
        return std::nullopt;
    }
    std::size_t digit = clean[0] == '-' ? 1 : 0;
    if (digit >= clean.size() ||
        !((clean[digit] >= '0' && clean[digit] <= '9') || clean[digit] == '.')) {
        return std::nullopt; // no inf, nan or other words
    }
    double value = 0;
    auto [end, ec] = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    if (ec != std::errc() || end != clean.data() + clean.size()) {
        return std::nullopt;
    }
    return value;
}

int daysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

std::string dateText(ShapeDate date) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", date.year, date.month, date.day);
    return buffer;
}

// A date typed as text: YYYYMMDD, YYYY-MM-DD, or mm-dd-yyyy / mm/dd/yyyy as the windows show
// dates.
std::optional<ShapeDate> dateFromText(std::string_view text) {
    auto number = [&](std::size_t at, std::size_t length) -> std::optional<int> {
        int value = 0;
        if (at + length > text.size()) {
            return std::nullopt;
        }
        auto [end, ec] = std::from_chars(text.data() + at, text.data() + at + length, value);
        if (ec != std::errc() || end != text.data() + at + length) {
            return std::nullopt;
        }
        return value;
    };
    std::optional<int> year, month, day;
    if (text.size() == 8) {
        year = number(0, 4), month = number(4, 2), day = number(6, 2);
    } else if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
        year = number(0, 4), month = number(5, 2), day = number(8, 2);
    } else if (text.size() == 10 && (text[2] == '-' || text[2] == '/') && text[5] == text[2]) {
        month = number(0, 2), day = number(3, 2), year = number(6, 4);
    }
    if (!year || !month || !day) {
        return std::nullopt;
    }
    ShapeDate date{*year, *month, *day};
    return date.isValid() ? std::optional<ShapeDate>(date) : std::nullopt;
}

bool validFieldName(std::string_view name) {
    if (name.empty() || name.size() > 10) {
        return false;
    }
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '_';
    });
}

// The dBASE column for an AddField type code.
std::optional<ShapeFieldInfo> columnFor(std::string_view name, int typeCode, int width,
                                        std::string& error) {
    ShapeFieldInfo info;
    info.name = std::string(name);
    switch (typeCode) {
    case 10:
        if (width < 0 || width > 254) {
            error = "Text column " + info.name + " cannot be " + std::to_string(width) +
                    " characters wide (1 to 254)";
            return std::nullopt;
        }
        info.dbfType = 'C';
        info.width = width == 0 ? 254 : width;
        return info;
    case 7:
    case 19:
        info.dbfType = 'N';
        info.width = 19;
        info.decimals = 11;
        return info;
    case 6:
    case 20:
        info.dbfType = 'F';
        info.width = 19;
        info.decimals = 11;
        return info;
    case 8:
        info.dbfType = 'D';
        info.width = 8;
        return info;
    case 4:
        info.dbfType = 'N';
        info.width = std::clamp(width, 11, 19);
        return info;
    case 3:
        info.dbfType = 'N';
        info.width = std::clamp(width, 6, 19);
        return info;
    case 1:
        info.dbfType = 'L';
        info.width = 1;
        return info;
    default:
        error = "Column " + info.name + ": unknown type code " + std::to_string(typeCode);
        return std::nullopt;
    }
}

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

// The two-dimensional kind of a shape type (point, polyline, polygon, multipoint).
int baseShapeType(int type) {
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
// Taking a record back: what a file looked like before a record was added to it, enough to
// put it back exactly (appending only changes the headers, the bytes at the old end, and adds
// bytes after it).

struct FileSnapshot {
    fs::path path;
    std::uintmax_t size = 0;
    std::string head;
    std::string tail; // the last bytes, which an append may overwrite (the dBASE end mark)
};

std::optional<FileSnapshot> takeSnapshot(const fs::path& path, std::size_t headBytes) {
    FileSnapshot snapshot;
    snapshot.path = path;
    std::error_code ec;
    snapshot.size = fs::file_size(path, ec);
    if (ec) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    snapshot.head.resize(std::min<std::uintmax_t>(headBytes, snapshot.size));
    in.read(snapshot.head.data(), static_cast<std::streamsize>(snapshot.head.size()));
    std::size_t tailBytes = std::min<std::uintmax_t>(16, snapshot.size);
    snapshot.tail.resize(tailBytes);
    in.seekg(static_cast<std::streamoff>(snapshot.size - tailBytes));
    in.read(snapshot.tail.data(), static_cast<std::streamsize>(tailBytes));
    if (!in) {
        return std::nullopt;
    }
    return snapshot;
}

bool restoreSnapshot(const FileSnapshot& snapshot) {
    std::error_code ec;
    fs::resize_file(snapshot.path, snapshot.size, ec);
    if (ec) {
        return false;
    }
    std::fstream out(snapshot.path, std::ios::binary | std::ios::in | std::ios::out);
    out.write(snapshot.head.data(), static_cast<std::streamsize>(snapshot.head.size()));
    out.seekp(static_cast<std::streamoff>(snapshot.size - snapshot.tail.size()));
    out.write(snapshot.tail.data(), static_cast<std::streamsize>(snapshot.tail.size()));
    out.flush();
    return static_cast<bool>(out);
}

// The dBASE header's length (field descriptors included), from the file itself.
std::size_t dbfHeaderLength(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    unsigned char bytes[10] = {};
    in.read(reinterpret_cast<char*>(bytes), sizeof bytes);
    if (!in) {
        return 32;
    }
    return static_cast<std::size_t>(bytes[8] | (bytes[9] << 8));
}

struct Vertex {
    double x;
    double y;
    int part;
};

} // namespace

// ---------------------------------------------------------------------------------------------

bool ShapeDate::isValid() const {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(year, month);
}

struct ShapeFiles::State {
    int mode = 0;
    int shapeType = 0;
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

    void clearRecord() {
        values.assign(fields.size(), std::nullopt);
        vertices.clear();
        recordError.clear();
    }

    // Moves a new shapefile from its temporary names into place. Spatial indexes and
    // upper-case parts of the shapefile it replaces would describe the old one: they go.
    bool publish(std::string& error) {
        std::error_code ec;
        for (const char* extension :
             {".qix", ".sbn", ".sbx", ".QIX", ".SBN", ".SBX", ".SHP", ".SHX", ".DBF", ".CPG"}) {
            fs::remove(withExtension(finalBase, extension), ec);
        }
        // The .shp last: until it is in place, no reader takes the new parts for a shapefile.
        for (const char* extension : {".dbf", ".cpg", ".shx", ".shp"}) {
            fs::path from = withExtension(workBase, extension);
            if (!fs::exists(from, ec)) {
                continue;
            }
            fs::rename(from, withExtension(finalBase, extension), ec);
            if (ec) {
                error = "Cannot put " + withExtension(finalBase, ".shp").string() +
                        " in place: " + ec.message();
                return false;
            }
        }
        published = true;
        workBase = finalBase;
        return true;
    }

    // Removes the files of a new shapefile that never reached its final name.
    void discardUnpublished() {
        closeHandles();
        if (mode == kCreate && !published && !workBase.empty()) {
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
    g_writeLimit = bytes;
}

bool ShapeFiles::fail(std::string message) {
    error_ = std::move(message);
    return false;
}

std::filesystem::path ShapeFiles::path() const {
    return state_ ? withExtension(state_->finalBase, ".shp") : fs::path();
}

int ShapeFiles::shapeType() const {
    return state_ ? state_->shapeType : 0;
}

bool ShapeFiles::OpenShapefile(const std::filesystem::path& path, int mode, int shapeType) {
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
    state->finalBase = baseOf(path);
    const std::string shown = withExtension(state->finalBase, ".shp").string();

    if (mode == kCreate) {
        if (shapeType != kPoint && shapeType != kPolyline && shapeType != kPolygon &&
            shapeType != kMultipoint) {
            return fail("Cannot create " + shown + ": unknown shape type " +
                        std::to_string(shapeType));
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
        state->shapeType = shapeType;
        WatchScope watch;
        SHPHandle shp =
            SHPCreateLL(withExtension(state->workBase, ".shp").c_str(), shapeType, hooks());
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

    if (mode != kAppend) {
        return fail("Cannot open " + shown + ": unknown mode " + std::to_string(mode));
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
    WatchScope watch;
    // Opened for update, so that a file we may not write fails here, before any value is set.
    SHPHandle shp = SHPOpenLL(withExtension(state->workBase, ".shp").c_str(), "rb+", hooks());
    if (shp == nullptr) {
        return fail("Cannot open " + shown +
                    " as a shapefile: " + watch.reason(std::strerror(errno)));
    }
    state->shp = shp;
    int records = 0;
    int type = 0;
    SHPGetInfo(shp, &records, &type, nullptr, nullptr);
    if (!isWritableShapeType(type)) {
        return fail("Cannot add records to " + shown + ": its shape type " + std::to_string(type) +
                    " is not a point, polyline, polygon or multipoint type");
    }
    DBFHandle dbf = DBFOpenLL(withExtension(state->workBase, ".dbf").c_str(), "rb+", hooks());
    state->dbf = dbf;
    if (dbf == nullptr) {
        return fail("Cannot open the attribute table of " + shown + ": " +
                    watch.reason(std::strerror(errno)));
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
    state->shapeType = type;
    state->clearRecord();
    state_ = std::move(state);
    return true;
}

// ---------------------------------------------------------------------------------------------

bool ShapeFiles::FieldList::AddField(std::string_view name, int typeCode, int width) {
    auto& self = owner_;
    if (!self.state_) {
        return self.fail("No shapefile is open");
    }
    auto& state = *self.state_;
    if (state.mode != kCreate || state.committed) {
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
    auto info = columnFor(name, typeCode, width, error);
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
    if (state.mode != kCreate || state.committed) {
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

std::string unsupported(const ShapeFieldInfo& column, const char* what) {
    return std::string("Column ") + column.name + " (type " + column.dbfType + ") cannot hold " +
           what;
}

} // namespace

bool ShapeField::SetValue(std::string_view text) {
    const auto* column = columnOf(owner_->state_ ? &owner_->state_->fields : nullptr, index_);
    if (column == nullptr) {
        return owner_->setValue(index_, name_, std::nullopt, {});
    }
    std::optional<std::string> stored;
    std::string error;
    std::string clean = trimmed(text);
    switch (column->dbfType) {
    case 'C':
        stored = cutUtf8(text, static_cast<std::size_t>(column->width));
        break;
    case 'N':
    case 'F':
        if (!clean.empty()) {
            auto number = numberFromText(clean);
            if (!number) {
                error =
                    "\"" + std::string(text) + "\" is not a number (column " + column->name + ")";
            } else {
                stored = numberText(*number, column->width, column->decimals);
                if (!stored) {
                    error = std::string(text) + " does not fit column " + column->name;
                }
            }
        }
        break;
    case 'D':
        if (!clean.empty()) {
            auto date = dateFromText(clean);
            if (!date) {
                error = "\"" + std::string(text) + "\" is not a date (column " + column->name + ")";
            } else {
                stored = dateText(*date);
            }
        }
        break;
    case 'L':
        if (!clean.empty()) {
            if (equalsNoCase(clean, "T") || equalsNoCase(clean, "Y") ||
                equalsNoCase(clean, "true") || equalsNoCase(clean, "yes")) {
                stored = "T";
            } else if (equalsNoCase(clean, "F") || equalsNoCase(clean, "N") ||
                       equalsNoCase(clean, "false") || equalsNoCase(clean, "no")) {
                stored = "F";
            } else {
                error =
                    "\"" + std::string(text) + "\" is not yes or no (column " + column->name + ")";
            }
        }
        break;
    default:
        error = unsupported(*column, "a text");
    }
    return owner_->setValue(index_, name_, std::move(stored), std::move(error));
}

bool ShapeField::SetValue(double number) {
    const auto* column = columnOf(owner_->state_ ? &owner_->state_->fields : nullptr, index_);
    if (column == nullptr) {
        return owner_->setValue(index_, name_, std::nullopt, {});
    }
    std::optional<std::string> stored;
    std::string error;
    switch (column->dbfType) {
    case 'C': {
        char buffer[512];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
        stored = cutUtf8(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)),
                         static_cast<std::size_t>(column->width));
        break;
    }
    case 'N':
    case 'F':
        stored = numberText(number, column->width, column->decimals);
        if (!stored) {
            char buffer[512];
            auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
            error = std::string(buffer, result.ptr) + " does not fit column " + column->name;
        }
        break;
    case 'L':
        stored = number != 0 ? "T" : "F";
        break;
    default:
        error = unsupported(*column, "a number");
    }
    return owner_->setValue(index_, name_, std::move(stored), std::move(error));
}

bool ShapeField::SetValue(ShapeDate date) {
    const auto* column = columnOf(owner_->state_ ? &owner_->state_->fields : nullptr, index_);
    if (column == nullptr) {
        return owner_->setValue(index_, name_, std::nullopt, {});
    }
    std::optional<std::string> stored;
    std::string error;
    if (column->dbfType != 'D') {
        error = unsupported(*column, "a date");
    } else if (!date.isValid()) {
        error = "Not a valid date: " + std::to_string(date.year) + "-" +
                std::to_string(date.month) + "-" + std::to_string(date.day) + " (column " +
                column->name + ")";
    } else {
        stored = dateText(date);
    }
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
    int kind = baseShapeType(type);
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
        return fail("Record not written to " + shown + ": " + error);
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
        if (baseShapeType(state.shapeType) == SHPT_POLYGON) {
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
    if (!ok || watch.failed()) {
        std::string reason = watch.reason("the record could not be written");
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
    if (state.mode == kCreate && !state.published) {
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
