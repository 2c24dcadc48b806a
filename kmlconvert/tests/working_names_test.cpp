#include "kmlconvert/working_names.h"

#include <gtest/gtest.h>

namespace {

using sw::kml::kmlBaseName;
using sw::kml::kmlNamestrip;
using sw::kml::namesForKml;
using sw::kml::namesForShapefile;

TEST(WorkingNames, ShortSafeNameFromTheBaseName) {
    struct Case {
        const char* picked;
        const char* workingName;
    };
    const Case cases[] = {
        {"/f/Big Fire #2 (east).kml", "swBigFire2ea"},
        {"/f/#$%.kml", "sw"},
        {"/f/.kml", "sw"},
        {"/f/Perimeter.kml", "swPerimeter"},
        {"/f/ABCDEFGHIJ.kml", "swABCDEFGHIJ"},  // exactly ten kept
        {"/f/ABCDEFGHIJK.kml", "swABCDEFGHIJ"}, // the eleventh goes
        {"/f/Fire.KML", "swFire"},              // the extension in any case
        {"/f/Fire.kmz", "swFire"},              // Google Earth's zipped KML
        {"/f/fire.xml", "swfirexml"},           // any other name is kept whole
        {"/f/Café 7.kml", "swCaf7"},            // only ASCII letters and digits
        {"/f/a.kml.kml", "swakml"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(kmlNamestrip(kmlBaseName(c.picked)), c.workingName) << c.picked;
    }
}

TEST(WorkingNames, EveryNameDerivesFromTheWorkingCopy) {
    const auto names = namesForKml("/data/fires/Big Fire #2 (east).kml");
    const std::pair<std::filesystem::path, const char*> expected[] = {
        {names.workingCopy, "/data/fires/swBigFire2ea.kml"},
        {names.vertexFile, "/data/fires/ccswBigFire2ea.csv"},
        {names.attributeFile, "/data/fires/pwattswBigFire2ea.csv"},
        {names.oldAttributeFile, "/data/fires/attswBigFire2ea.csv"},
        {names.database, "/data/fires/swBigFire2ea.mdb"},
        {names.shapefile, "/data/fires/swBigFire2ea.shp"},
        {names.projection, "/data/fires/swBigFire2ea.prj"},
        {names.shapefileBase(), "/data/fires/swBigFire2ea"},
        {names.dataFolder, "/data/fires"},
    };
    for (const auto& [path, text] : expected) {
        EXPECT_EQ(path.string(), text);
    }
    // A GPS file's working copy keeps its kind; the other names are as for a KML.
    const auto walked = namesForKml("/data/fires/Ridge Walk.GPX");
    EXPECT_EQ(walked.workingCopy.string(), "/data/fires/swRidgeWalk.gpx");
    EXPECT_EQ(walked.shapefile.string(), "/data/fires/swRidgeWalk.shp");
}

// A folder whose name ends in ".kml" is not a file extension: every file must still land in
// the folder the user picked, not in a sibling folder that does not exist.
TEST(WorkingNames, FolderNamesKeepTheirKml) {
    const auto names = namesForKml("/maps.kml/drawn.kml/Ridge.kml");
    EXPECT_EQ(names.workingCopy.string(), "/maps.kml/drawn.kml/swRidge.kml");
    EXPECT_EQ(names.database.string(), "/maps.kml/drawn.kml/swRidge.mdb");
    EXPECT_EQ(names.vertexFile.string(), "/maps.kml/drawn.kml/ccswRidge.csv");
    EXPECT_EQ(names.shapefile.string(), "/maps.kml/drawn.kml/swRidge.shp");
}

TEST(WorkingNames, PickedShapefileNamesTheWorkingFiles) {
    const auto names =
        namesForShapefile(namesForKml("/data/fires/Ridge.kml"), "/data/out/Ridge Final.shp");
    const std::pair<std::filesystem::path, const char*> expected[] = {
        {names.workingCopy, "/data/fires/swRidge.kml"}, // the KML's copy stays beside it
        {names.shapefile, "/data/out/Ridge Final.shp"},
        {names.shapefileBase(), "/data/out/Ridge Final"},
        {names.vertexFile, "/data/out/ccRidge Final.csv"},
        {names.attributeFile, "/data/out/pwattRidge Final.csv"},
        {names.database, "/data/out/Ridge Final.mdb"},
        {names.projection, "/data/out/Ridge Final.prj"},
        {names.dataFolder, "/data/out"},
    };
    for (const auto& [path, text] : expected) {
        EXPECT_EQ(path.string(), text);
    }
}

} // namespace
