#pragma once
// The names of every file a KML conversion reads or writes. The user's KML is copied under a
// short safe name ("sw" + at most 10 letters and digits + ".kml") beside it, and every working
// and output file is named after that copy:
//
//     Big Fire #2 (east).kml  ->  swBigFire2ea.kml      working copy
//                                 ccswBigFire2ea.csv    vertex file
//                                 pwattswBigFire2ea.csv attribute file
//                                 swBigFire2ea.mdb      working database
//                                 swBigFire2ea.shp      shapefile (+ .shx, .dbf)
//                                 swBigFire2ea.prj      projection file
//
// A GPS file (".gpx") is read the same way; its working copy keeps ".gpx" (Walk.gpx ->
// swWalk.gpx), every other name is as for a KML.
//
// Only the file name's own extension is replaced: a folder whose name happens to end in
// ".kml" keeps its name, so every file lands in the folder the user picked.

#include <filesystem>
#include <string>
#include <string_view>

namespace sw::kml {

// The letters and digits (ASCII) of a KML's base name, at most the first 10, behind "sw":
// "Big Fire #2 (east)" -> "swBigFire2ea", "#$%" -> "sw".
std::string kmlNamestrip(std::string_view baseName);

// The picked file's name without a ".kml", ".kmz" or ".gpx" extension (any case); any other name
// whole: "Fire.KML" -> "Fire", "fire.xml" -> "fire.xml".
std::string kmlBaseName(const std::filesystem::path& picked);

// True when the name ends in `suffix` (ASCII letters in any case): endsWithNoCase("a.KMZ", ".kmz").
bool endsWithNoCase(std::string_view text, std::string_view suffix);

// True when the file name ends in ".kmz" (any case): a zipped KML.
bool isKmz(const std::filesystem::path& file);

struct WorkingNames {
    std::filesystem::path kml;              // the picked file (KML or KMZ)
    std::filesystem::path workingCopy;      // the KML that is converted, beside the picked file
    std::filesystem::path dataFolder;       // where the vertex and attribute files lie
    std::filesystem::path vertexFile;       // "cc" + name + ".csv"
    std::filesystem::path attributeFile;    // "pwatt" + name + ".csv"
    std::filesystem::path oldAttributeFile; // "att" + name + ".csv", removed on overwrite
    std::filesystem::path database;         // name + ".mdb"
    std::filesystem::path shapefile;        // name + ".shp"
    std::filesystem::path projection;       // name + ".prj"

    // The shapefile's path without ".shp": the base of its .shx and .dbf.
    std::filesystem::path shapefileBase() const;
};

// All names for a picked KML (or KMZ) file.
WorkingNames namesForKml(const std::filesystem::path& picked);

// The names after the user picked another shapefile instead of overwriting: the working copy
// stays, everything else is named after the picked shapefile and lies in its folder.
WorkingNames namesForShapefile(const WorkingNames& names, const std::filesystem::path& shapefile);

} // namespace sw::kml
