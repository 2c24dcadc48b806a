#include "taskwindow/record_file.h"

#include "testsupport/file_size_limit.h"
#include "testsupport/test_paths.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using sw::test::FileSizeLimit;
using sw::test::readFile;
using sw::test::TempDir;
using sw::test::writeFile;

TEST(RecordLine, QuotedTextsBareNumbersCrLf) {
    struct Case {
        std::string line;
        const char* expected;
    };
    const Case cases[] = {
        {sw::RecordLine().text("Camp A").number(-84.1234).number(0).text("").str(),
         "\"Camp A\",-84.1234,0,\"\"\r\n"},
        {sw::RecordLine().number(512345.67).number(1e15).number(-0.0).str(),
         "512345.67,1000000000000000,0\r\n"},
        // A quote that slipped past the entry rule must not end the field early, nor a line
        // break split the record.
        {sw::RecordLine().text("a\"b").text("c\r\nd").str(), "\"a\"\"b\",\"c  d\"\r\n"},
        {sw::RecordLine().str(), "\r\n"},
        {sw::headerLine({"Name", "Type"}), "\"Name\",\"Type\"\r\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.line, c.expected);
    }
}

TEST(AppendWhole, AddsToExistingOrCreates) {
    TempDir dir;
    const fs::path file = dir / "pfcamps.txt";
    ASSERT_TRUE(sw::appendWhole(file, "one\r\n"));
    ASSERT_TRUE(sw::appendWhole(file, "two\r\n"));
    EXPECT_EQ(readFile(file), "one\r\ntwo\r\n");
}

TEST(AppendWhole, AShortWriteIsTakenBack) {
    TempDir dir;
    const fs::path file = dir / "pfcamps.txt";
    writeFile(file, "one\r\n");
    sw::WriteStatus onExisting;
    sw::WriteStatus onNew;
    {
        // Room for part of the line only.
        FileSizeLimit limit(8);
        onExisting = sw::appendWhole(file, "second line\r\n");
        onNew = sw::appendWhole(dir / "pfnew.txt", "a line longer than eight\r\n");
    }
    EXPECT_FALSE(onExisting);
    EXPECT_EQ(readFile(file), "one\r\n");
    EXPECT_FALSE(onNew);
    EXPECT_FALSE(fs::exists(dir / "pfnew.txt"));
    EXPECT_NE(onNew.message.find("pfnew.txt"), std::string::npos) << onNew.message;
}

} // namespace
