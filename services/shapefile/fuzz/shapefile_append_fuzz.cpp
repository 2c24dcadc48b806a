// Opening an existing shapefile for an append, on files of any bytes: the input is split into
// the .shp, .shx and .dbf (a two-byte length for each of the first two, the rest is the
// .dbf). Whatever the files hold, opening and appending never crash, a refused append leaves
// the files as they were, and an accepted one leaves three files that agree where an append
// relies on them, with everything that was in them before untouched but for the headers: files
// that agreed in every index entry still do, and damage the append did not look at (an index
// entry before the last) is left as it was.

#include "services/shapefile/shape_check.h"
#include "services/shapefile/shapefiles.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

namespace {

namespace fs = std::filesystem;

const fs::path& folder() {
    static const fs::path path = [] {
        std::string pattern = (fs::temp_directory_path() / "siteward-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(folder(), ec);
        });
        return fs::path(pattern);
    }();
    return path;
}

void put(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string get(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::size_t lengthAt(std::string_view& input) {
    if (input.size() < 2) {
        return 0;
    }
    const std::size_t length =
        static_cast<unsigned char>(input[0]) |
        (static_cast<std::size_t>(static_cast<unsigned char>(input[1])) << 8);
    input.remove_prefix(2);
    return std::min(length, input.size());
}

// Whether `after` still holds the bytes of `before` from `header` up to its end (less `tail`
// bytes at the end).
bool keptAfter(const std::string& after, std::string_view before, std::size_t header,
               std::size_t tail) {
    if (before.size() < header + tail) {
        return true;
    }
    const std::size_t count = before.size() - header - tail;
    return after.size() >= header + count &&
           std::string_view(after).substr(header, count) == before.substr(header, count);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t shpLength = lengthAt(input);
    const std::string_view shp = input.substr(0, shpLength);
    input.remove_prefix(shpLength);
    const std::size_t shxLength = lengthAt(input);
    const std::string_view shx = input.substr(0, shxLength);
    input.remove_prefix(shxLength);
    const std::string_view dbf = input;

    const fs::path base = folder() / "f";
    put(folder() / "f.shp", shp);
    put(folder() / "f.shx", shx);
    put(folder() / "f.dbf", dbf);
    std::error_code ec;
    fs::remove(folder() / "f.cpg", ec);

    const bool soundBefore =
        sw::shapefileDamage({folder() / "f.shp", folder() / "f.shx", folder() / "f.dbf"},
                            sw::IndexCheck::EveryEntry)
            .empty();
    sw::ShapeFiles out;
    if (!out.OpenShapefile(folder() / "f.shp", sw::ShapeFiles::OpenMode::Append)) {
        if (out.lastError().empty()) {
            std::abort();
        }
        return 0;
    }
    // The first column gets a text, whatever its kind; the shape one vertex, or a triangle.
    if (out.Fields().Count() > 0) {
        out.Fields().Field(out.Fields().Info(0)->name).SetValue("7");
    }
    const bool point = sw::baseShapeType(out.shapeType()) == sw::ShapeType::Point;
    out.Vertices().AddVertex(1, 2, 0);
    if (!point) {
        out.Vertices().AddVertex(3, 2, 0);
        out.Vertices().AddVertex(2, 4, 0);
    }
    if (!out.WriteRecord()) {
        if (get(folder() / "f.shp") != shp || get(folder() / "f.shx") != shx ||
            get(folder() / "f.dbf") != dbf) {
            std::abort(); // a refused record must leave the files as they were
        }
        return 0;
    }
    const sw::ShapefileParts parts{folder() / "f.shp", folder() / "f.shx", folder() / "f.dbf"};
    if (!sw::shapefileDamage(parts).empty() ||
        (soundBefore && !sw::shapefileDamage(parts, sw::IndexCheck::EveryEntry).empty())) {
        std::abort();
    }
    // The old records, index entries, column descriptions and rows stay as they were (the main
    // file's and index's 100-byte headers and the table's 32-byte one aside, and the table's
    // last old byte, which may be the end mark the new row takes the place of).
    if (!keptAfter(get(parts.shp), shp, 100, 0) || !keptAfter(get(parts.shx), shx, 100, 0) ||
        !keptAfter(get(parts.dbf), dbf, 32, 1)) {
        std::abort();
    }
    return 0;
}
