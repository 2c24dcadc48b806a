#include "services/shapefile/existing_shapefile.h"

#include <shapefil.h>

#include <fstream>
#include <system_error>

#include "services/shapefile/shape_check.h"
#include "services/shapefile/shape_paths.h"
#include "services/shapefile/writable_targets.h"

namespace sw {

namespace fs = std::filesystem;
using shapepaths::partFile;
using shapepaths::withExtension;

namespace {

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

// Why the files cannot take records before they are opened: one missing, files that
// disagree, or one the user protected. Checked before shapelib reads them: it trusts the headers,
// and an append to files that disagree would overwrite old records or grow the files without bound.
std::string cannotTakeRecords(const ShapefileParts& parts, const std::string& shown) {
    std::error_code ec;
    if (!fs::is_regular_file(parts.shp, ec)) {
        return "Shapefile not found: " + shown;
    }
    if (!fs::is_regular_file(parts.shx, ec)) {
        return "The shapefile " + shown + " has no index file (.shx)";
    }
    if (!fs::is_regular_file(parts.dbf, ec)) {
        return "The shapefile " + shown + " has no attribute table (.dbf)";
    }
    if (std::string damage = shapefileDamage(parts); !damage.empty()) {
        return "Cannot add records to " + shown + ": the shapefile is damaged (" + damage + ")";
    }
    // A part the user protected is refused before anything is opened for writing.
    for (const fs::path* part : {&parts.shp, &parts.shx, &parts.dbf}) {
        if (std::string refusal = whyNotWritable(*part); !refusal.empty()) {
            return "Cannot open " + shown + " for adding records: " + refusal;
        }
    }
    return {};
}

// The columns of the open table.
std::vector<ShapeFieldInfo> columnsOf(DBFHandle dbf) {
    std::vector<ShapeFieldInfo> fields;
    for (int i = 0; i < DBFGetFieldCount(dbf); ++i) {
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        ShapeFieldInfo info;
        DBFGetFieldInfo(dbf, i, name, &info.width, &info.decimals);
        info.name = name;
        info.dbfType = DBFGetNativeFieldType(dbf, i);
        fields.push_back(std::move(info));
    }
    return fields;
}

// Texts are added in the file's own code page (see code_page.h): the one its .cpg names,
// else the one its table's header names.
std::optional<CodePage> codePageOf(const fs::path& base, const std::string& shown,
                                   std::string& error) {
    const fs::path cpgFile = partFile(base, ".cpg");
    std::error_code ec;
    if (!fs::is_regular_file(cpgFile, ec)) {
        return CodePage::fromLanguageDriver(dbfLanguageDriver(partFile(base, ".dbf")));
    }
    const std::string cpg = readSmallFile(cpgFile);
    auto codePage = CodePage::fromCpg(cpg);
    if (!codePage) {
        error = "Cannot add records to " + shown + ": its code page \"" + cpg + "\" (" +
                cpgFile.filename().string() + ") is not one this program can write";
    }
    return codePage;
}

} // namespace

std::optional<ExistingShapefile> openExistingShapefile(const fs::path& base, RecordFiles& files,
                                                       std::string& error) {
    const std::string shown = withExtension(base, ".shp").string();
    error = cannotTakeRecords(
        {partFile(base, ".shp"), partFile(base, ".shx"), partFile(base, ".dbf")}, shown);
    if (!error.empty()) {
        return std::nullopt;
    }
    // Opened for update, so that a file we may not write fails here, before any value is set.
    if (std::string reason = files.open(base); !reason.empty()) {
        error = "Cannot open " + shown + " for adding records: " + reason;
        return std::nullopt;
    }
    ExistingShapefile existing;
    const int type = files.header().typeCode;
    if (auto writable = writableShapeType(type)) {
        existing.shapeType = *writable;
    } else {
        error = "Cannot add records to " + shown + ": its shape type " + std::to_string(type) +
                " is not a point, polyline, polygon or multipoint type";
        return std::nullopt;
    }
    const std::uint64_t records = files.shapeCount();
    const int rows = DBFGetRecordCount(files.table());
    existing.fields = columnsOf(files.table());
    if (static_cast<std::uint64_t>(rows) != records) {
        error = "Cannot add records to " + shown + ": its shapes (" + std::to_string(records) +
                ") and attribute rows (" + std::to_string(rows) + ") do not match";
        return std::nullopt;
    }
    auto codePage = codePageOf(base, shown, error);
    if (!codePage) {
        return std::nullopt;
    }
    existing.codePage = *codePage;
    return existing;
}

} // namespace sw
