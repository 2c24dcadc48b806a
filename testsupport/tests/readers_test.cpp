// The helpers every check of our files rests on: a program is handed its arguments as they
// are, and a shapefile the reader cannot read is never taken for a sound one.

#include "testsupport/run_process.h"
#include "testsupport/shapefile_reading.h"
#include "testsupport/test_paths.h"

#include <gtest/gtest.h>

namespace sw::test {
namespace {

TEST(RunProcess, ArgumentsInputAndFailuresAsTheyAre) {
    TempDir dir;
    const std::string odd = (dir / "it's a \"$HOME\" `x`; *.txt").string();
    writeFile(odd, "kept");
    struct Case {
        const char* name;
        std::string program;
        std::vector<std::string> arguments;
        ProcessOptions options;
        int exitCode;
        std::string output;
        std::string errors;
    };
    const std::vector<std::string> both = {"-c", "echo out; echo err >&2; exit 3"};
    const Case cases[] = {
        {"no shell between", "/bin/cat", {odd}, {}, 0, "kept", ""},
        {"input, then end of input",
         "/bin/cat",
         {},
         ProcessOptions().feed("a b\n"),
         0,
         "a b\n",
         ""},
        {"errors merged in order", "/bin/sh", both, {}, 3, "out\nerr\n", ""},
        {"errors apart", "/bin/sh", both, ProcessOptions().errorsApart(), 3, "out\n", "err\n"},
    };
    for (const Case& c : cases) {
        const ProcessResult result = runProcess(c.program, c.arguments, c.options);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name;
        EXPECT_EQ(result.output, c.output) << c.name;
        EXPECT_EQ(result.errors, c.errors) << c.name;
    }

    const ProcessResult missing = runProcess((dir / "none").string(), {});
    EXPECT_EQ(missing.exitCode, -1);
    EXPECT_TRUE(missing.output.starts_with((dir / "none").string() + " did not start"))
        << missing.output;
    ProcessOptions brief;
    brief.timeoutMilliseconds = 200;
    const ProcessResult stuck = runProcess("/bin/sleep", {"30"}, brief);
    EXPECT_EQ(stuck.exitCode, -1);
    EXPECT_EQ(stuck.output, "/bin/sleep did not finish in time\n");
}

TEST(ShapefileReading, FilesThatCannotBeReadAreProblems) {
    TempDir dir;
    writeFile(dir / "cut.shp", std::string("\x00\x00\x27\x0a", 4));
    writeFile(dir / "cut.shx", "");
    writeFile(dir / "cut.dbf", "");
    for (const auto& path : {dir / "missing.shp", dir / "cut.shp"}) {
        const ReadBack back = readShapefile(path);
        EXPECT_TRUE(back.ok) << back.output;
        EXPECT_NE(problemsOf(back).find("file: cannot parse the files"), std::string::npos)
            << problemsOf(back);
        EXPECT_NE(problemsOf(back).find("GDAL: "), std::string::npos) << problemsOf(back);
    }
}

} // namespace
} // namespace sw::test
