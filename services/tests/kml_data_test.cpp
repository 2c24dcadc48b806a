// The installed data the program reads: templates, icons, projection files and lists. They are
// checked where the build copies them (the program's folder), so a file missing from data/ or
// left out of the copy fails here.

#include "services/kml_writer.h"
#include "services/tests/kml_checks.h"
#include "testsupport/scripted_dialogs.h"
#include "testsupport/test_paths.h"

#include <cctype>
#include <chrono>
#include <cmath>
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
    for (auto at = text.find(part); at != std::string::npos;
         at = text.find(part, at + part.size())) {
        ++n;
    }
    return n;
}

// Items separated by line ends or commas, blanks around them dropped, quotes removed: the way
// the windows read the state and storm lists.
std::vector<std::string> listItems(const std::string& text) {
    std::vector<std::string> items;
    std::string item;
    bool quoted = false;
    auto flush = [&] {
        auto first = item.find_first_not_of(' ');
        auto last = item.find_last_not_of(' ');
        std::string trimmed =
            first == std::string::npos ? "" : item.substr(first, last - first + 1);
        if (trimmed.size() >= 2 && trimmed.front() == '"' && trimmed.back() == '"') {
            trimmed = trimmed.substr(1, trimmed.size() - 2);
        }
        if (!trimmed.empty()) {
            items.push_back(trimmed);
        }
        item.clear();
    };
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
        }
        if (!quoted && (c == '\r' || c == '\n' || c == ',')) {
            flush();
        } else {
            item += c;
        }
    }
    flush();
    return items;
}

const char* const kTemplates[] = {"kml_template3.txt", "kml_template3irwv.txt",
                                  "kml_template3ir.txt"};

TEST(KmlTemplates, PlaceholdersStandOnlyInTheElementsTheyFill) {
    // A placeholder is a plain substring replaced everywhere: "XX" inside an overlay's URL
    // would be replaced by the latitude and break the overlay.
    const std::string coordinates = "<coordinates>YYY,XX,0</coordinates>";
    for (const char* name : kTemplates) {
        SCOPED_TRACE(name);
        const std::string text = readFile(runtimeDir() / "templates" / name);
        ASSERT_FALSE(text.empty());
        EXPECT_TRUE(text.starts_with(R"(<?xml version="1.0" encoding="UTF-8"?>)"
                                     "\r\n"));
        EXPECT_EQ(count(text, "\n"), count(text, "\r\n")) << "every line ends in CR LF";
        EXPECT_FALSE(text.ends_with("\n")) << "the writer adds the closing line end";

        EXPECT_EQ(count(text, coordinates), 1u);
        EXPECT_GE(count(text, "<name>NNNNNNN</name>"), 1u);
        EXPECT_EQ(count(text, "NNNNNNN"), count(text, "<name>NNNNNNN</name>"));
        EXPECT_EQ(count(text, "QQQQQ"), 1u);
        EXPECT_EQ(count(text, "<description>QQQQQ</description>"), 1u);
        EXPECT_EQ(count(text, "YYY"),
                  count(text, "<longitude>YYY</longitude>") + count(text, coordinates));
        EXPECT_EQ(count(text, "XX"),
                  count(text, "<latitude>XX</latitude>") + count(text, coordinates));
        EXPECT_EQ(count(text, "ZZZZZ"), 1u);
        EXPECT_EQ(count(text, "<href>ZZZZZ</href>"), 1u);
        EXPECT_GE(count(text, "<range>1000</range>"), 1u);
        EXPECT_EQ(count(text, "<range>"), count(text, "<range>1000</range>"));
    }
}

TEST(KmlTemplates, EachFilledTemplateIsValidKmlWithItsPlacemark) {
    struct Case {
        const char* templateName;
        std::string name;
        const char* lon;
        const char* lat;
        const char* icon;
        const char* range;
    };
    const Case cases[] = {
        {"kml_template3.txt", "Caf\xC3\xA9 Tower XX", "-084.2773", "30.4383", "towera.png",
         "<range>5000</range>"},
        {"kml_template3irwv.txt", "Oak Hill", "-85.1000", "29.9000", "ffire.png",
         "<range>5000</range>"},
        {"kml_template3ir.txt", "Ike , Category 2", "-88.0000", "27.5000",
         "Fcast_Cat2Hurricane.gif", "<range>500000</range>"},
    };
    test::TempDir out;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.templateName);
        const fs::path target = out / (std::string(c.templateName) + ".kml");
        test::ScriptedDialogs dialogs;
        dialogs.answerNext(Answer::Yes).inputNext("https://www.nhc.noaa.gov/?a=1&b=2");
        KmlWriteResult result =
            WriteKmlFromTemplate(dialogs, c.templateName, target, c.name, {c.name, "Line & two"},
                                 c.lon, c.lat, c.icon, c.range);
        ASSERT_TRUE(result) << result.message;
        EXPECT_EQ(test::kmlSchemaErrors(target), "");
        const std::string bytes = readFile(target);
        EXPECT_NE(bytes.find(c.range), std::string::npos);
        EXPECT_NE(bytes.find(iconReference(c.icon)), std::string::npos);

        std::string expectedName = c.name;
        if (auto at = expectedName.find("XX"); at != std::string::npos) {
            expectedName.replace(at, 2, c.lat);
        }
        for (const char* driver : {"KML", "LIBKML"}) {
            auto point = test::findPoint(test::readKmlWithGdal(target, driver), expectedName);
            ASSERT_TRUE(point) << driver << " finds no single point named " << expectedName;
            EXPECT_NEAR(*point->longitude, std::stod(c.lon), 1e-9);
            EXPECT_NEAR(*point->latitude, std::stod(c.lat), 1e-9);
            EXPECT_TRUE(point->description.starts_with("<br>" + expectedName + "</br>"))
                << point->description;
        }
    }
}

TEST(InstalledIcons, EveryNamedIconIsASmallImageOfItsFormatAndAllDiffer) {
    const std::vector<std::string> names = {
        // facility, incident and forest-health types, and the wildfire
        "av_obstaclea.png", "campa.png", "droppoint.png", "fire_origina.png", "faids.png",
        "helibasea.png", "hot_spotA.png", "incident_basea.png", "icsa.png", "weaxa.png",
        "spotfirea.png", "staginga.png", "water_sourcea.png", "tanker_base.png", "SHIELD.png",
        "ssf.png", "accident.png", "towera.png", "dot_logo.png", "beetle.png", "rust.png",
        "otd.png", "other.png", "ffire.png",
        // storm positions by category, actual and forecast, and without a category
        "TDHurricane.gif", "TSHurricane.gif", "Cat1Hurricane.gif", "Cat2Hurricane.gif",
        "Cat3Hurricane.gif", "Cat4Hurricane.gif", "Cat5Hurricane.gif", "Fcast_TDHurricane.gif",
        "Fcast_TSHurricane.gif", "Fcast_Cat1Hurricane.gif", "Fcast_Cat2Hurricane.gif",
        "Fcast_Cat3Hurricane.gif", "Fcast_Cat4Hurricane.gif", "Fcast_Cat5Hurricane.gif",
        "Hurricane.gif"};
    std::set<std::string> contents;
    for (const auto& name : names) {
        SCOPED_TRACE(name);
        const std::string bytes = readFile(runtimeDir() / "icons" / name);
        ASSERT_GE(bytes.size(), 24u);
        auto byte = [&](std::size_t i) {
            return static_cast<unsigned>(static_cast<unsigned char>(bytes[i]));
        };
        unsigned width = 0;
        unsigned height = 0;
        if (name.ends_with(".png")) {
            ASSERT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1A\n");
            width = byte(16) << 24 | byte(17) << 16 | byte(18) << 8 | byte(19);
            height = byte(20) << 24 | byte(21) << 16 | byte(22) << 8 | byte(23);
        } else {
            ASSERT_EQ(bytes.substr(0, 6), "GIF89a");
            width = byte(6) | byte(7) << 8;
            height = byte(8) | byte(9) << 8;
        }
        EXPECT_TRUE(width == height && (width == 32 || width == 64)) << width << "x" << height;
        contents.insert(bytes);
    }
    EXPECT_EQ(contents.size(), names.size()) << "two icons are the same image";
}

TEST(ProjectionFiles, StateAlbersReadsAsTheAgencyGrid) {
    const fs::path prj = runtimeDir() / "qv_albers.prj";
    test::ToolResult proj4 = test::runTool("gdalsrsinfo", {"-o", "proj4", prj.string()});
    ASSERT_EQ(proj4.exitCode, 0) << proj4.output;
    std::istringstream tokens(proj4.output);
    std::set<std::string> parameters{std::istream_iterator<std::string>(tokens), {}};
    for (const char* p : {"+proj=aea", "+lat_0=24", "+lon_0=-84", "+lat_1=24", "+lat_2=31.5",
                          "+x_0=400000", "+y_0=0", "+units=m"}) {
        EXPECT_TRUE(parameters.contains(p)) << p << " not in " << proj4.output;
    }
    test::ToolResult wkt = test::runTool("gdalsrsinfo", {"-o", "wkt2", prj.string()});
    EXPECT_NE(wkt.output.find(",6378137,298.25,"), std::string::npos) << wkt.output;

    // PROJ's Albers against the agency's own figures for reference points. The agency's grid
    // takes pi as 3.14159, which moves points by up to about 0.7 m against the exact formula.
    struct Point {
        double lat, lon, x, y;
    };
    const Point points[] = {{24, -84, 400000, 0},
                            {30, -84, 400000, 665880.43},
                            {30.25, -84.5, 351936.72, 693727.66},
                            {31.5, -87.5, 67536.70, 837022.73},
                            {25.5, -80.25, 776454.49, 171997.95}};
    std::string input;
    for (const auto& p : points) {
        input += std::to_string(p.lon) + " " + std::to_string(p.lat) + "\n";
    }
    test::ToolResult projected = test::runTool(
        "gdaltransform", {"-s_srs", "EPSG:4326", "-t_srs", prj.string(), "-output_xy"}, input);
    ASSERT_EQ(projected.exitCode, 0) << projected.output;
    std::istringstream results(projected.output);
    for (const auto& p : points) {
        double x = 0;
        double y = 0;
        ASSERT_TRUE(results >> x >> y) << projected.output;
        EXPECT_NEAR(x, p.x, 1.0) << p.lat << "," << p.lon;
        EXPECT_NEAR(y, p.y, 1.0) << p.lat << "," << p.lon;
    }
}

TEST(ProjectionFiles, Wgs1984IsTheGeographicDefinition) {
    const fs::path prj = runtimeDir() / "WGS1984.prj";
    EXPECT_EQ(readFile(prj), "GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\","
                             "6378137,298.257223563]],PRIMEM[\"Greenwich\",0],UNIT[\"Degree\","
                             "0.017453292519943295]]\r\n");
    test::ToolResult proj4 = test::runTool("gdalsrsinfo", {"-o", "proj4", prj.string()});
    EXPECT_NE(proj4.output.find("+proj=longlat +datum=WGS84"), std::string::npos) << proj4.output;
}

TEST(InstalledLists, StatesStartWithTheProgramsOwnAndCoverTheUnion) {
    const auto states = listItems(readFile(runtimeDir() / "states.txt"));
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(states.front(), "QV");
    const std::set<std::string> unique(states.begin(), states.end());
    EXPECT_EQ(unique.size(), states.size()) << "a code is listed twice";
    for (const auto& code : states) {
        EXPECT_TRUE(code.size() == 2 && std::isupper(static_cast<unsigned char>(code[0])) &&
                    std::isupper(static_cast<unsigned char>(code[1])))
            << code;
    }
    std::istringstream union_("AL AK AZ AR CA CO CT DE DC FL GA HI ID IL IN IA KS KY LA ME MD MA "
                              "MI MN MS MO MT NE NV NH NJ NM NY NC ND OH OK OR PA RI SC SD TN TX "
                              "UT VT VA WA WV WI WY");
    for (std::string code; union_ >> code;) {
        EXPECT_TRUE(unique.contains(code)) << code;
    }
}

TEST(InstalledLists, StormNamesForThisSeasonAndTheNextFive) {
    const int thisYear =
        static_cast<int>(std::chrono::year_month_day(std::chrono::floor<std::chrono::days>(
                                                         std::chrono::system_clock::now()))
                             .year());
    EXPECT_TRUE(fs::exists(runtimeDir() / (std::to_string(thisYear) + "_hurricanes.txt")))
        << "the storm window has no names for " << thisYear;
    std::set<std::string> seen;
    for (int year = 2026; year <= 2031; ++year) {
        SCOPED_TRACE(year);
        auto names = listItems(readFile(runtimeDir() / (std::to_string(year) + "_hurricanes.txt")));
        ASSERT_EQ(names.size(), 22u);
        EXPECT_EQ(names.back(), "Unamed Depression");
        names.pop_back();
        std::string initials;
        for (const auto& name : names) {
            initials += name.front();
            EXPECT_TRUE(seen.insert(name).second) << name << " is on two lists";
        }
        EXPECT_EQ(initials, "ABCDEFGHIJKLMNOPRSTVW") << "the names run A to W, without Q and U";
    }
}

TEST(InstalledLists, AddressIconStyleFitsAPlacemark) {
    const std::string fragment = readFile(runtimeDir() / "iconpath.txt");
    ASSERT_EQ(count(fragment, "IPIPIPIP"), 1u);
    EXPECT_FALSE(fragment.ends_with("\n")) << "the window adds its own line end after it";
    std::string style = fragment;
    style.replace(style.find("IPIPIPIP"), 8, iconReference("towera.png"));
    test::TempDir out;
    const fs::path file = out / "address.kml";
    test::writeFile(file, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                          "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Document><Placemark>"
                          "<name>Tower</name>" +
                              style +
                              "<Point><coordinates>-84,30,0</coordinates></Point></Placemark>"
                              "</Document></kml>\r\n");
    EXPECT_EQ(test::kmlSchemaErrors(file), "");
}

} // namespace
} // namespace sw
