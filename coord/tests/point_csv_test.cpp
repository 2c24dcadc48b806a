#include "coord/point_csv.h"

#include <cstdlib>
#include <string>
#include <sys/wait.h>

#include <gtest/gtest.h>

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

struct CommandResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the built siteward-coords with `args` (already shell-quoted), output captured to files
// unless `stdoutTo` names another target.
CommandResult runCommand(const test::TempDir& dir, const std::string& args,
                         const std::string& stdoutTo = {}) {
    const auto program = test::runtimeDir() / "siteward-coords";
    const auto out = dir / "out.csv";
    const auto err = dir / "err.txt";
    test::writeFile(out, "");
    const std::string command = "'" + program.string() + "' " + args + " >'" +
                                (stdoutTo.empty() ? out.string() : stdoutTo) + "' 2>'" +
                                err.string() + "'";
    const int raw = std::system(command.c_str());
    CommandResult r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = test::readFile(out);
    r.err = test::readFile(err);
    return r;
}

TEST(SitewardCoords, EndToEndOnFilesAndStandardInput) {
    test::TempDir dir;
    const std::string header = "Latitude,Longitude,AlbersX,AlbersY,UTM,USNG\r\n";
    const std::string row1 =
        "30.2500,-084.5000,351936.72,693727.66,16R 740550.42 3349132.77,16R GU 40550 49133\r\n";
    const std::string row2 =
        "30.0000,-084.0000,400000,665880.43,16R 789409.65 3322575.90,16R GU 89410 22576\r\n";
    test::writeFile(dir / "good.txt", "30.25,-84.5\r\n30 -84\r\n");
    // A byte-order mark, CR LF, a blank line and no line end at the end of the file.
    test::writeFile(dir / "mixed.txt", "\xEF\xBB\xBF"
                                       "30.25,-84.5\r\nabc\n\n30,-200\n30 -84");

    CommandResult good = runCommand(dir, "'" + (dir / "good.txt").string() + "'");
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.out, header + row1 + row2);
    EXPECT_EQ(good.err, "");

    CommandResult mixed = runCommand(dir, "'" + (dir / "mixed.txt").string() + "'");
    EXPECT_EQ(mixed.status, 1);
    EXPECT_EQ(mixed.out, header + row1 + row2);
    EXPECT_NE(mixed.err.find("mixed.txt:2: "), std::string::npos) << mixed.err;
    EXPECT_NE(mixed.err.find("mixed.txt:4: longitude -200 is outside"), std::string::npos)
        << mixed.err;
    EXPECT_EQ(mixed.err.find("mixed.txt:3"), std::string::npos) << "blank lines are skipped";

    // Two files: one header, rows in order; standard input through "-".
    CommandResult both = runCommand(dir, "'" + (dir / "good.txt").string() + "' - <'" +
                                             (dir / "good.txt").string() + "'");
    EXPECT_EQ(both.status, 0);
    EXPECT_EQ(both.out, header + row1 + row2 + row1 + row2);

    CommandResult missing = runCommand(dir, "'" + (dir / "nope.txt").string() + "'");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("nope.txt"), std::string::npos);

    CommandResult help = runCommand(dir, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Latitude,Longitude,AlbersX,AlbersY,UTM,USNG"), std::string::npos);

    // A full disk must not pass for success.
    CommandResult full = runCommand(dir, "'" + (dir / "good.txt").string() + "'", "/dev/full");
    EXPECT_EQ(full.status, 2);
}

} // namespace
} // namespace sw
