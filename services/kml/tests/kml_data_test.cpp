// The installed data the program reads: templates, icons, projection files and lists. They are
// checked where the build copies them (the program's folder), so a file missing from data/ or
// left out of the copy fails here.

#include "services/kml/kml_writer.h"
#include "testsupport/kml_checks.h"
#include "testsupport/run_process.h"
#include "testsupport/scripted_dialogs.h"
#include "testsupport/test_paths.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <sstream>

namespace sw {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::runtimeDir;

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

// The items of a list file: separated by line ends or commas, blanks around them dropped.
std::vector<std::string> listItems(const fs::path& file) {
    std::string text = readFile(file);
    std::replace(text.begin(), text.end(), ',', '\n');
    std::vector<std::string> items;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const auto first = line.find_first_not_of(" \r");
        if (first != std::string::npos) {
            items.push_back(line.substr(first, line.find_last_not_of(" \r") - first + 1));
        }
    }
    return items;
}

TEST(KmlTemplates, PlaceholdersStandOnlyInTheElementsTheyFill) {
    // A placeholder is a plain substring replaced everywhere: "XX" inside an overlay's URL
    // would be replaced by the latitude and break the overlay.
    const std::string point = "<coordinates>YYY,XX,0</coordinates>";
    for (const char* name : {"kml_template3.txt", "kml_template3irwv.txt", "kml_template3ir.txt"}) {
        SCOPED_TRACE(name);
        const std::string text = readFile(runtimeDir() / "templates" / name);
        EXPECT_TRUE(text.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"));
        EXPECT_EQ(count(text, "\n"), count(text, "\r\n")) << "every line ends in CR LF";
        EXPECT_TRUE(text.ends_with("</kml>")) << "the writer adds the closing line end";
        EXPECT_EQ(count(text, point), 1u);
        EXPECT_EQ(count(text, "<description>QQQQQ</description>"), 1u);
        EXPECT_EQ(count(text, "<href>ZZZZZ</href>"), 1u);
        EXPECT_EQ(count(text, "NNNNNNN"), count(text, "<name>NNNNNNN</name>"));
        EXPECT_EQ(count(text, "QQQQQ"), 1u);
        EXPECT_EQ(count(text, "YYY"), count(text, "<longitude>YYY</longitude>") + 1);
        EXPECT_EQ(count(text, "XX"), count(text, "<latitude>XX</latitude>") + 1);
        EXPECT_EQ(count(text, "ZZZZZ"), 1u);
        EXPECT_GE(count(text, "<range>1000</range>"), 1u);
        EXPECT_EQ(count(text, "<range>"), count(text, "<range>1000</range>"));
    }
}

TEST(KmlTemplates, EachFilledTemplateIsValidKmlWithItsPlacemark) {
    struct Case {
        const char *templateName, *name, *readName, *lon, *lat, *readPoint, *icon, *range;
    };
    const Case cases[] = {
        {"kml_template3.txt", "Caf\xC3\xA9 Tower XX", "Caf\xC3\xA9 Tower XX", "-084.2773",
         "30.4383", "POINT Z (-84.2773 30.4383 0)", "towera.png", "<range>5000</range>"},
        {"kml_template3irwv.txt", "Oak Hill", "Oak Hill", "-85.1000", "29.9000",
         "POINT Z (-85.1 29.9 0)", "ffire.png", "<range>5000</range>"},
        {"kml_template3ir.txt", "Ike , Category 2", "Ike , Category 2", "-88.0000", "27.5000",
         "POINT Z (-88 27.5 0)", "Fcast_Cat2Hurricane.gif", "<range>500000</range>"},
    };
    test::TempDir out;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.templateName);
        const fs::path target = out / (std::string(c.templateName) + ".kml");
        test::ScriptedDialogs dialogs;
        dialogs.answerNext(Answer::Yes).inputNext("https://www.nhc.noaa.gov/?a=1&b=2");
        const KmlWriteResult result =
            WriteKmlFromTemplate(dialogs, c.templateName, target, c.name, {c.name, "A & B"}, c.lon,
                                 c.lat, c.icon, c.range);
        ASSERT_TRUE(result) << result.message;
        EXPECT_EQ(test::kmlSchemaErrors(target), "");
        const std::string bytes = readFile(target);
        EXPECT_TRUE(bytes.ends_with("</kml>\r\n"));
        EXPECT_NE(bytes.find(c.range), std::string::npos);
        EXPECT_NE(bytes.find(iconReference(c.icon)), std::string::npos);
        for (const char* driver : {"KML", "LIBKML"}) {
            const std::string features = test::gdalFeatures(target, driver);
            for (const std::string& line :
                 {"  Name (String) = " + std::string(c.readName) + "\n",
                  "escription (String) = <br>" + std::string(c.readName) +
                      "</br><br>A & B</br><br><a href=\"https://www.nhc.noaa.gov/?a=1&b=2\">"
                      "Display Link</a></br>\n",
                  "  " + std::string(c.readPoint) + "\n"}) {
                EXPECT_NE(features.find(line), std::string::npos) << driver << ": " << line;
            }
        }
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), {}), 3) << "no stray files";
}

TEST(InstalledIcons, EveryNamedIconIsASmallImageOfItsFormatAndAllDiffer) {
    std::vector<std::string> names = {
        "av_obstaclea.png",  "campa.png",       "droppoint.png", "fire_origina.png",
        "faids.png",         "helibasea.png",   "hot_spotA.png", "incident_basea.png",
        "icsa.png",          "weaxa.png",       "spotfirea.png", "staginga.png",
        "water_sourcea.png", "tanker_base.png", "SHIELD.png",    "ssf.png",
        "accident.png",      "towera.png",      "dot_logo.png",  "beetle.png",
        "rust.png",          "otd.png",         "other.png",     "ffire.png",
        "Hurricane.gif"};
    for (const char* code : {"TD", "TS", "Cat1", "Cat2", "Cat3", "Cat4", "Cat5"}) {
        names.push_back(std::string(code) + "Hurricane.gif");
        names.push_back(std::string("Fcast_") + code + "Hurricane.gif");
    }
    std::set<std::string> contents;
    for (const auto& name : names) {
        const std::string bytes = readFile(runtimeDir() / "icons" / name);
        ASSERT_GE(bytes.size(), 24u) << name;
        auto byte = [&](std::size_t i) { return unsigned(static_cast<unsigned char>(bytes[i])); };
        const bool png = name.ends_with(".png");
        EXPECT_EQ(bytes.substr(0, png ? 8 : 6), png ? "\x89PNG\r\n\x1A\n" : "GIF89a") << name;
        const unsigned width = png ? byte(18) << 8 | byte(19) : byte(7) << 8 | byte(6);
        const unsigned height = png ? byte(22) << 8 | byte(23) : byte(9) << 8 | byte(8);
        EXPECT_TRUE(width == height && (width == 32 || width == 64)) << name << " " << width;
        contents.insert(bytes);
    }
    EXPECT_EQ(contents.size(), names.size()) << "two icons are the same image";
}

TEST(ProjectionFiles, StateAlbersReadsAsTheAgencyGrid) {
    const std::string prj = (runtimeDir() / "qv_albers.prj").string();
    const test::ProcessResult proj4 = test::runProcess("gdalsrsinfo", {"-o", "proj4", prj});
    std::istringstream tokens(proj4.output);
    const std::set<std::string> parameters{std::istream_iterator<std::string>(tokens), {}};
    for (const char* p : {"+proj=aea", "+lat_0=24", "+lon_0=-84", "+lat_1=24", "+lat_2=31.5",
                          "+x_0=400000", "+y_0=0", "+units=m"}) {
        EXPECT_TRUE(parameters.contains(p)) << p << " not in " << proj4.output;
    }
    const test::ProcessResult wkt = test::runProcess("gdalsrsinfo", {"-o", "wkt2", prj});
    EXPECT_NE(wkt.output.find(",6378137,298.25,"), std::string::npos) << wkt.output;

    // PROJ against the agency's own figures. The agency's grid takes pi as 3.14159, which
    // moves points by up to about 0.7 m from the exact projection.
    const double points[][4] = {{24, -84, 400000, 0},
                                {30, -84, 400000, 665880.43},
                                {30.25, -84.5, 351936.72, 693727.66},
                                {31.5, -87.5, 67536.70, 837022.73},
                                {25.5, -80.25, 776454.49, 171997.95}};
    std::ostringstream input;
    for (const auto& p : points) {
        input << p[1] << ' ' << p[0] << '\n';
    }
    const test::ProcessResult projected =
        test::runProcess("gdaltransform", {"-s_srs", "EPSG:4326", "-t_srs", prj, "-output_xy"},
                         test::ProcessOptions().feed(input.str()));
    std::istringstream results(projected.output);
    for (const auto& p : points) {
        double x = 0, y = 0;
        ASSERT_TRUE(results >> x >> y) << projected.output;
        EXPECT_NEAR(x, p[2], 1.0) << p[0] << "," << p[1];
        EXPECT_NEAR(y, p[3], 1.0) << p[0] << "," << p[1];
    }

    const test::ProcessResult wgs84 =
        test::runProcess("gdalsrsinfo", {"-o", "proj4", (runtimeDir() / "WGS1984.prj").string()});
    EXPECT_NE(wgs84.output.find("+proj=longlat +datum=WGS84"), std::string::npos) << wgs84.output;
}

TEST(InstalledLists, StateCodesStartWithTheProgramsOwn) {
    const auto states = listItems(runtimeDir() / "states.txt");
    ASSERT_GE(states.size(), 52u) << "QV, the fifty states and DC";
    EXPECT_EQ(states.front(), "QV");
    EXPECT_EQ(std::set<std::string>(states.begin(), states.end()).size(), states.size());
    for (const auto& code : states) {
        EXPECT_TRUE(code.size() == 2 && std::isupper(code[0]) && std::isupper(code[1])) << code;
    }
}

// Every installed season's list, whatever the calendar says: the lists run from 2026 for
// consecutive years, so a season is never missing between two that are there.
TEST(InstalledLists, StormNamesForEachInstalledSeason) {
    std::set<int> years;
    for (const auto& entry : fs::directory_iterator(runtimeDir())) {
        const std::string name = entry.path().filename().string();
        if (name.size() == 19 && name.ends_with("_hurricanes.txt") &&
            std::all_of(name.begin(), name.begin() + 4,
                        [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; })) {
            years.insert(std::stoi(name.substr(0, 4)));
        }
    }
    ASSERT_FALSE(years.empty());
    EXPECT_EQ(*years.begin(), 2026);
    EXPECT_EQ(*years.rbegin() - *years.begin() + 1, static_cast<int>(years.size()))
        << "a season is missing in between";
    std::set<std::string> seen;
    for (int year : years) {
        auto names = listItems(runtimeDir() / (std::to_string(year) + "_hurricanes.txt"));
        ASSERT_EQ(names.size(), 22u) << year;
        EXPECT_EQ(names.back(), "Unamed Depression");
        names.pop_back();
        std::string initials;
        for (const auto& name : names) {
            initials += name.front();
            EXPECT_TRUE(seen.insert(name).second) << name << " is on two lists";
        }
        EXPECT_EQ(initials, "ABCDEFGHIJKLMNOPRSTVW") << year << ": A to W, without Q and U";
    }
}

TEST(InstalledLists, AddressIconStyleFitsAPlacemark) {
    std::string style = readFile(runtimeDir() / "iconpath.txt");
    ASSERT_EQ(count(style, "IPIPIPIP"), 1u);
    EXPECT_FALSE(style.ends_with("\n")) << "the window adds its own line end after it";
    style.replace(style.find("IPIPIPIP"), 8, iconReference("towera.png"));
    test::TempDir out;
    test::writeFile(out / "a.kml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                   "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Placemark>"
                                   "<name>Tower</name>" +
                                       style +
                                       "<Point><coordinates>-84,30</coordinates></Point>"
                                       "</Placemark></kml>\r\n");
    EXPECT_EQ(test::kmlSchemaErrors(out / "a.kml"), "");
}

} // namespace
} // namespace sw
