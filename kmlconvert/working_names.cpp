#include "kmlconvert/working_names.h"

#include <algorithm>

namespace sw::kml {

namespace fs = std::filesystem;

bool endsWithNoCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size()) {
        return false;
    }
    return std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<long>(suffix.size()),
                      [](char a, char b) {
                          auto lower = [](char c) {
                              return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
                          };
                          return lower(a) == lower(b);
                      });
}

bool isKmz(const fs::path& file) {
    return endsWithNoCase(file.filename().string(), ".kmz");
}

namespace {

// `folder` / (prefix + stem + extension), the stem being the file name without its last
// extension.
fs::path sibling(const fs::path& folder, const std::string& prefix, const std::string& stem,
                 const std::string& extension) {
    return folder / (prefix + stem + extension);
}

WorkingNames namesFrom(const fs::path& kml, const fs::path& workingCopy, const fs::path& folder,
                       const std::string& stem) {
    WorkingNames names;
    names.kml = kml;
    names.workingCopy = workingCopy;
    names.dataFolder = folder;
    names.vertexFile = sibling(folder, "cc", stem, ".csv");
    names.attributeFile = sibling(folder, "pwatt", stem, ".csv");
    names.oldAttributeFile = sibling(folder, "att", stem, ".csv");
    names.database = sibling(folder, "", stem, ".mdb");
    names.shapefile = sibling(folder, "", stem, ".shp");
    names.projection = sibling(folder, "", stem, ".prj");
    return names;
}

} // namespace

std::string kmlNamestrip(std::string_view baseName) {
    std::string kept;
    for (char c : baseName) {
        const bool digit = c >= '0' && c <= '9';
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if ((digit || letter) && kept.size() < 10) {
            kept += c;
        }
    }
    return "sw" + kept;
}

std::string kmlBaseName(const fs::path& picked) {
    std::string name = picked.filename().string();
    if (endsWithNoCase(name, ".kml") || endsWithNoCase(name, ".kmz") ||
        endsWithNoCase(name, ".gpx")) {
        name.resize(name.size() - 4);
    }
    return name;
}

fs::path WorkingNames::shapefileBase() const {
    fs::path base = shapefile;
    if (endsWithNoCase(base.filename().string(), ".shp")) {
        base.replace_extension();
    }
    return base;
}

WorkingNames namesForKml(const fs::path& picked) {
    const fs::path folder = picked.parent_path();
    const std::string stem = kmlNamestrip(kmlBaseName(picked));
    // A GPS file's working copy stays a GPS file: its name says how it is read.
    const char* extension = endsWithNoCase(picked.filename().string(), ".gpx") ? ".gpx" : ".kml";
    return namesFrom(picked, folder / (stem + extension), folder, stem);
}

WorkingNames namesForShapefile(const WorkingNames& names, const fs::path& shapefile) {
    std::string stem = shapefile.filename().string();
    if (endsWithNoCase(stem, ".shp")) {
        stem.resize(stem.size() - 4);
    }
    WorkingNames renamed = namesFrom(names.kml, names.workingCopy, shapefile.parent_path(), stem);
    renamed.shapefile = shapefile;
    return renamed;
}

} // namespace sw::kml
