#include "services/base/whole_file.h"

#include "testsupport/file_size_limit.h"
#include "testsupport/test_paths.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using sw::test::FileSizeLimit;
using sw::test::readFile;
using sw::test::TempDir;
using sw::test::writeFile;

std::size_t filesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(WriteWholeFile, ReplacesTheFileWhole) {
    TempDir dir;
    const fs::path file = dir / "pfcamps.txt";
    writeFile(file, std::string(100, 'o'));
    ASSERT_TRUE(sw::writeWholeFile(file, "new\r\n"));
    EXPECT_EQ(readFile(file), "new\r\n");
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(WriteWholeFile, FailureLeavesTheOldFileAndNoLitter) {
    TempDir dir;
    const fs::path file = dir / "pfcamps.txt";
    writeFile(file, "old\r\n");
    sw::WriteStatus status;
    {
        FileSizeLimit limit(10);
        status = sw::writeWholeFile(file, std::string(50, 'n'));
    }
    EXPECT_FALSE(status);
    EXPECT_NE(status.message.find(file.string()), std::string::npos) << status.message;
    EXPECT_EQ(readFile(file), "old\r\n");
    EXPECT_EQ(filesIn(dir.path()), 1u);

    const auto missingFolder = sw::writeWholeFile(dir / "no such folder" / "x.txt", "x");
    EXPECT_FALSE(missingFolder);
    EXPECT_NE(missingFolder.message.find("no such folder"), std::string::npos);
}

// Large files are handed over in pieces; the target changes only at the commit, and a piece
// that cannot be written (a full disk) fails the commit too, leaving the old file.
TEST(WholeFileWrite, PiecesBecomeTheFileOnlyAtTheCommit) {
    TempDir dir;
    const fs::path file = dir / "ccswFire.csv";
    writeFile(file, "old\r\n");
    {
        sw::WholeFileWrite out(file);
        ASSERT_EQ(out.problem(), "");
        EXPECT_EQ(out.append("1,-84.5,30.25\r\n"), "");
        EXPECT_EQ(out.append("1,-84.4,30.26\r\n"), "");
        EXPECT_EQ(readFile(file), "old\r\n");
        EXPECT_EQ(out.commit("1,-84.3,30.27\r\n"), "");
    }
    EXPECT_EQ(readFile(file), "1,-84.5,30.25\r\n1,-84.4,30.26\r\n1,-84.3,30.27\r\n");
    EXPECT_EQ(filesIn(dir.path()), 1u);

    {
        sw::WholeFileWrite out(file);
        FileSizeLimit limit(20);
        EXPECT_EQ(out.append(std::string(15, 'a')), "");
        EXPECT_NE(out.append(std::string(15, 'b')), "");
        EXPECT_NE(out.append("c"), "") << "a failed piece stops the file";
        EXPECT_NE(out.commit(), "");
    }
    EXPECT_EQ(readFile(file), "1,-84.5,30.25\r\n1,-84.4,30.26\r\n1,-84.3,30.27\r\n");
    EXPECT_EQ(filesIn(dir.path()), 1u);

    {
        sw::WholeFileWrite dropped(file); // never committed: the target stays
        EXPECT_EQ(dropped.append("lost"), "");
    }
    EXPECT_EQ(readFile(file), "1,-84.5,30.25\r\n1,-84.4,30.26\r\n1,-84.3,30.27\r\n");
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

} // namespace
