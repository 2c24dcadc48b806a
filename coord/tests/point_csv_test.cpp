#include "coord/point_csv.h"

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "coord/number_text.h"
#include "testsupport/run_process.h"
#include "testsupport/test_paths.h"

namespace sw {
namespace {

TEST(PointLine, AcceptedFormsAndRefusals) {
    using K = PointLine::Kind;
    struct Case {
        const char* line;
        K kind;
        double lat;
        double lon;
    };
    const Case cases[] = {{"30.25,-84.5", K::Point, 30.25, -84.5},
                          {"30.25 -84.5", K::Point, 30.25, -84.5},
                          {"  30.25 ,  -84.5 \r", K::Point, 30.25, -84.5},
                          {"+30,-84", K::Point, 30, -84},
                          {".5,-.5", K::Point, 0.5, -0.5},
                          {"30.,-84.", K::Point, 30, -84},
                          {"-90,180", K::Point, -90, 180},
                          {"", K::Blank, 0, 0},
                          {"  \t\r", K::Blank, 0, 0},
                          {"90.0000001,0", K::Bad, 0, 0},
                          {"nan,1", K::Bad, 0, 0},
                          {"1,inf", K::Bad, 0, 0},
                          // Small values as most tools print them: written with an exponent.
                          {"1e-05,0", K::Point, 0.00001, 0},
                          {"-3.2E-7,1.5e+1", K::Point, -3.2e-7, 15},
                          {"1e1 -2.5e0", K::Point, 10, -2.5},
                          {"1e,2", K::Bad, 0, 0},
                          {"e5,2", K::Bad, 0, 0},
                          {"1e5.5,2", K::Bad, 0, 0},
                          {"0x10,2", K::Bad, 0, 0},
                          {"1e400,0", K::Bad, 0, 0},
                          {"30.25", K::Bad, 0, 0},
                          {"30.25,-84.5,7", K::Bad, 0, 0},
                          {"30,,-84", K::Bad, 0, 0},
                          {"Latitude,Longitude", K::Bad, 0, 0},
                          {"30;-84", K::Bad, 0, 0}};
    for (const Case& c : cases) {
        const PointLine p = parsePointLine(c.line);
        EXPECT_EQ(p.kind, c.kind) << '"' << c.line << '"';
        if (c.kind == K::Point && p.kind == K::Point) {
            EXPECT_EQ(p.latitude, c.lat) << c.line;
            EXPECT_EQ(p.longitude, c.lon) << c.line;
        }
        if (p.kind == K::Bad) {
            EXPECT_FALSE(p.problem.empty());
        }
    }
    EXPECT_EQ(parsePointLine("91,0").problem, "latitude 91 is outside -90..90");
    // A number beyond a double is not "not a number": the message says what is wrong with it.
    EXPECT_EQ(parsePointLine("1e309,0").problem,
              "\"1e309\" is out of range: too large, or too close to zero, for a number");
    EXPECT_EQ(parsePointLine("0,1e-400").problem,
              "\"1e-400\" is out of range: too large, or too close to zero, for a number");
}

// Points as web maps, GPS units and documents print them, with degree marks or hemisphere
// letters: one reader for the command and the converter window.
TEST(PointLine, MarkedLatitudesAndLongitudes) {
    using K = PointLine::Kind;
    struct Case {
        const char* line;
        K kind;
        double lat;
        double lon;
        const char* problem; // for Bad
    };
    const double lat = 30.25;
    const double lon = -84.5;
    const Case cases[] = {
        {"30\u00B015'N 84\u00B030'W", K::Point, lat, lon, ""},
        {"30\u00B015'00.0\"N 84\u00B030'00.0\"W", K::Point, lat, lon, ""}, // Google Maps
        {"30\u00B015\u203200\u2033N, 84\u00B030\u203200\u2033W", K::Point, lat, lon, ""},
        {"30\u00B015\u2019N 84\u00B030\u2019W", K::Point, lat, lon, ""}, // typographic quote
        {"30\u00BA15'N 84\u00BA30'W", K::Point, lat, lon, ""},           // ordinal for degree
        {"30\u00B015'0''N 84\u00B030'0''W", K::Point, lat, lon, ""},     // two primes: seconds
        {"30.25\u00B0N, 84.5\u00B0W", K::Point, lat, lon, ""},
        {"30.25N 84.5W", K::Point, lat, lon, ""},
        {"30.25 n 84.5 w", K::Point, lat, lon, ""},
        {"N30 15.000 W84 30.000", K::Point, lat, lon, ""}, // GPS, unmarked minutes
        {"N 30\u00B0 15.000' W 084\u00B0 30.000'", K::Point, lat, lon, ""},
        {"W84\u00B030' N30\u00B015'", K::Point, lat, lon, ""}, // the letters say which is which
        {"84\u00B030'W 30\u00B015'N", K::Point, lat, lon, ""},
        {"30\u00B015'N, -84\u00B030'", K::Point, lat, lon, ""},
        {"30\u00B015' -84\u00B030'", K::Point, lat, lon, ""}, // signs, told apart by the marks
        {"-33\u00B052'S 151\u00B012'E", K::Bad, 0, 0, "a sign and the hemisphere letter S"},
        {"33\u00B052'S 151\u00B012'E", K::Point, -(33 + 52 / 60.0), 151.2, ""},
        {"30\u00B075'N 84\u00B030'W", K::Bad, 0, 0, "minutes 75 must be under 60"},
        {"30\u00B015'60\"N 84\u00B030'W", K::Bad, 0, 0, "seconds 60 must be under 60"},
        {"30.5\u00B015'N 84\u00B030'W", K::Bad, 0, 0, "only the last part"},
        {"91\u00B0N 84\u00B0W", K::Bad, 0, 0, "latitude 91 is outside -90..90"},
        {"30\u00B0N 181\u00B0W", K::Bad, 0, 0, "longitude -181 is outside -180..180"},
        {"30\u00B0N 84\u00B0S", K::Bad, 0, 0, "one latitude (N or S) and one longitude"},
        {"30\u00B0E 84\u00B0W", K::Bad, 0, 0, "one latitude (N or S) and one longitude"},
        // Not shaped like a pair at all: the plain reader's message.
        {"1e,2", K::Bad, 0, 0, "not a latitude and longitude"}, // no marks: both need letters
        {"30\u00B015'N", K::Bad, 0, 0, "not a latitude and longitude"},
        {"15'N 84\u00B030'W", K::Bad, 0, 0, "not a latitude and longitude"},
        {"30\u00B015'N, 84\u00B030'W, 7", K::Bad, 0, 0, "not a latitude and longitude"},
        {"NN30 84", K::Bad, 0, 0, "not a latitude and longitude"},
    };
    for (const Case& c : cases) {
        const PointLine p = parsePointLine(c.line);
        EXPECT_EQ(p.kind, c.kind) << c.line << ": " << p.problem;
        if (c.kind == K::Point && p.kind == K::Point) {
            EXPECT_DOUBLE_EQ(p.latitude, c.lat) << c.line;
            EXPECT_DOUBLE_EQ(p.longitude, c.lon) << c.line;
        }
        if (c.kind == K::Bad) {
            EXPECT_TRUE(p.problem.starts_with(c.problem)) << c.line << ": " << p.problem;
        }
    }
}

TEST(InputLine, EachLineIsReadInItsOwnFormOrTheForcedOne) {
    using K = PointLine::Kind;
    using F = InputForm;
    struct Case {
        const char* line;
        F form;
        K kind;
        const char* problem; // for Bad: the message's start
    };
    const Case cases[] = {
        {"30.25,-84.5", F::Any, K::Point, ""},
        {"17R MH 90932 88611", F::Any, K::Point, ""},
        {"17rmh9093288611\r", F::Any, K::Point, ""},
        {"17R 490932.18 2788611.27", F::Any, K::Point, ""},
        {"17 490932 2788611 N", F::Any, K::Point, ""},
        // A zone with its hemisphere letter is UTM, not 17 degrees north.
        {"17N 490932 2788611", F::Any, K::Point, ""},
        {"30\u00B015'N 84\u00B030'W", F::Any, K::Point, ""},
        {"30\u00B015'N 84\u00B030'W", F::LatLon, K::Point, ""},
        {"30\u00B075'N 84\u00B030'W", F::Any, K::Bad, "minutes 75 must be under 60"},
        {"30\u00B015'N 84\u00B030'W", F::Usng, K::Bad, "not a USNG reference"},
        {"1e-05,0", F::Any, K::Point, ""},
        {" \t\r", F::Any, K::Blank, ""},
        {"91,0", F::Any, K::Bad, "latitude 91 is outside -90..90"},
        {"17R HV 1 1", F::Any, K::Bad, "100 km square letters HV do not exist in zone 17"},
        {"hello", F::Any, K::Bad, "neither a latitude and longitude nor a USNG or UTM reference"},
        {"17R MH 90932 88611", F::LatLon, K::Bad, "not a latitude and longitude"},
        {"17R MH 90932 88611", F::Usng, K::Point, ""},
        {"17R MH 90932 88611", F::Utm, K::Bad, "not a UTM coordinate"},
        {"17R 490932 2788611", F::Utm, K::Point, ""},
        {"17R 490932 2788611", F::Usng, K::Bad, "not a USNG reference"},
        {"30.25,-84.5", F::Usng, K::Bad, "not a USNG reference"},
        {"  ", F::Utm, K::Blank, ""},
    };
    for (const Case& c : cases) {
        const PointLine p = parseInputLine(c.line, c.form);
        EXPECT_EQ(p.kind, c.kind) << '"' << c.line << "\" as " << static_cast<int>(c.form);
        EXPECT_TRUE(p.problem.starts_with(c.problem)) << c.line << ": " << p.problem;
    }
    // A reference and the UTM text of the same metre give the same point.
    const PointLine usng = parseInputLine("17R MH 90932 88611", F::Any);
    const PointLine utm = parseInputLine("17R 490932 2788611", F::Any);
    EXPECT_EQ(usng.latitude, utm.latitude);
    EXPECT_EQ(usng.longitude, utm.longitude);
}

// The batch reads in blocks and converts them on several threads: whatever the number of
// threads, and wherever the blocks cut the lines, the output and the reported line numbers
// are those of reading the lines one by one.
TEST(Batch, BlocksAndThreadsLeaveOutputAndLineNumbersAsLineByLine) {
    std::mt19937_64 rng(31);
    std::uniform_real_distribution<double> lat(24, 31.5);
    std::uniform_real_distribution<double> lon(-88, -79);
    const char* const others[] = {"17R MH 90932 88611",
                                  "16R 740550.42 3349132.77",
                                  "",
                                  "not a point",
                                  "30,-200",
                                  "17X 490932 2788611",
                                  "\r"};
    std::string input = "\xEF\xBB\xBF";
    std::string expectedOut;
    std::string expectedErrors;
    for (int line = 1; line <= 130000; ++line) {
        std::string text;
        if (line % 97 == 0) {
            text = others[static_cast<std::size_t>(line / 97) % std::size(others)];
        } else {
            text = recordNumberText(lat(rng)) + (line % 2 == 0 ? "," : " ") +
                   recordNumberText(lon(rng));
        }
        input += text + (line % 3 == 0 ? "\r\n" : "\n");
        const PointLine p = parseInputLine(text, InputForm::Any);
        if (p.kind == PointLine::Kind::Point) {
            appendPointCsvRow(expectedOut, handBackTexts(p.latitude, p.longitude));
        } else if (p.kind == PointLine::Kind::Bad) {
            expectedErrors += "log:" + std::to_string(line) + ": " + p.problem + " - skipped\n";
        }
    }
    input += "29.5 -82.25"; // no line end at the end
    appendPointCsvRow(expectedOut, handBackTexts(29.5, -82.25));
    ASSERT_GT(input.size(), std::size_t{3} << 20); // several blocks

    for (const unsigned threads : {1U, 2U, 5U}) {
        std::istringstream in(input);
        std::ostringstream out;
        std::ostringstream errors;
        const ConversionCount n =
            convertPointLines(in, "log", out, errors, InputForm::Any, threads);
        EXPECT_EQ(out.str(), expectedOut) << threads << " threads";
        EXPECT_EQ(errors.str(), expectedErrors) << threads << " threads";
        EXPECT_EQ(n.skipped, std::count(expectedErrors.begin(), expectedErrors.end(), '\n'));
    }
}

// Runs the built siteward-coords with `args`, standard error kept apart.
test::ProcessResult runCoords(const std::vector<std::string>& args,
                              test::ProcessOptions options = {}) {
    return test::runProcess((test::runtimeDir() / "siteward-coords").string(), args,
                            options.errorsApart());
}

TEST(SitewardCoords, EndToEndOnFilesAndStandardInput) {
    test::TempDir dir;
    const std::string header = "Latitude,Longitude,AlbersX,AlbersY,UTM,USNG\r\n";
    const std::string row1 =
        "30.2500,-084.5000,351936.72,693727.66,16R 740550.42 3349132.77,16R GU 40550 49133\r\n";
    const std::string row2 =
        "30.0000,-084.0000,400000,665880.43,16R 789409.65 3322575.90,16R GU 89410 22576\r\n";
    test::writeFile(dir / "good.txt", "30.25,-84.5\r\n30\u00B0N 84\u00B0W\r\n");
    // A byte-order mark, CR LF, a blank line and no line end at the end of the file.
    test::writeFile(dir / "mixed.txt", "\xEF\xBB\xBF"
                                       "30.25,-84.5\r\nabc\n\n30,-200\n30 -84");

    const auto good = runCoords({(dir / "good.txt").string()});
    EXPECT_EQ(good.exitCode, 0);
    EXPECT_EQ(good.output, header + row1 + row2);
    EXPECT_EQ(good.errors, "");

    const auto mixed = runCoords({(dir / "mixed.txt").string()});
    EXPECT_EQ(mixed.exitCode, 1);
    EXPECT_EQ(mixed.output, header + row1 + row2);
    EXPECT_NE(mixed.errors.find("mixed.txt:2: "), std::string::npos) << mixed.errors;
    EXPECT_NE(mixed.errors.find("mixed.txt:4: longitude -200 is outside"), std::string::npos)
        << mixed.errors;
    EXPECT_EQ(mixed.errors.find("mixed.txt:3"), std::string::npos) << "blank lines are skipped";

    // Two files: one header, rows in order; standard input through "-".
    const auto both = runCoords({(dir / "good.txt").string(), "-"},
                                test::ProcessOptions().feed(test::readFile(dir / "good.txt")));
    EXPECT_EQ(both.exitCode, 0);
    EXPECT_EQ(both.output, header + row1 + row2 + row1 + row2);

    const auto missing = runCoords({(dir / "nope.txt").string()});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.errors.find("nope.txt"), std::string::npos);

    const auto help = runCoords({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("Latitude,Longitude,AlbersX,AlbersY,UTM,USNG"), std::string::npos);

    // A radio log of grid references becomes the six forms; --from forces one notation.
    test::writeFile(dir / "radio.txt", "16R GU 40550 49133\n16r 740550.42 3349132.77\n"
                                       "17R HV 12345 12345\n30.25,-84.5\n");
    const std::string fromGrid =
        "30.2500,-084.5000,351936.31,693727.91,16R 740550.00 3349133.00,16R GU 40550 49133\r\n";
    // Read back from its centimetres, the point moves by millimetres: Albers shows it.
    const std::string fromUtm =
        "30.2500,-084.5000,351936.72,693727.67,16R 740550.42 3349132.77,16R GU 40550 49133\r\n";
    const auto radio = runCoords({(dir / "radio.txt").string()});
    EXPECT_EQ(radio.exitCode, 1);
    EXPECT_EQ(radio.output, header + fromGrid + fromUtm + row1);
    EXPECT_EQ(radio.errors, (dir / "radio.txt").string() +
                                ":3: 100 km square letters HV do not exist in zone 17 - skipped\n");
    const auto usngOnly = runCoords({"--from", "usng", (dir / "radio.txt").string()});
    EXPECT_EQ(usngOnly.output, header + fromGrid);
    EXPECT_NE(usngOnly.errors.find(":2: not a USNG reference"), std::string::npos)
        << usngOnly.errors;
    EXPECT_NE(usngOnly.errors.find(":4: not a USNG reference"), std::string::npos)
        << usngOnly.errors;
    const auto latlonOnly = runCoords({"--from=latlon", (dir / "radio.txt").string()});
    EXPECT_EQ(latlonOnly.output, header + row1);
    EXPECT_EQ(runCoords({"--from", "mgrs", "-"}).exitCode, 2);
    EXPECT_NE(help.output.find("--from"), std::string::npos);

    // A full disk must not pass for success.
    const auto full =
        runCoords({(dir / "good.txt").string()}, test::ProcessOptions().outputTo("/dev/full"));
    EXPECT_EQ(full.exitCode, 2);
}

} // namespace
} // namespace sw
