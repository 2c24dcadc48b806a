#include "facilities/output_file_choice.h"

#include "testsupport/scripted_dialogs.h"
#include "testsupport/test_paths.h"

#include <cctype>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using sw::test::ScriptedDialogs;
using sw::test::TempDir;

TEST(PrefixedTarget, PrefixGoesBeforeTheFileNameEvenWhenAlreadyThere) {
    struct Case {
        const char* chosen;
        const char* target;
    };
    for (const Case& c : {Case{"/data/camps.txt", "/data/pfcamps.txt"},
                          Case{"/data/pfcamps.txt", "/data/pfpfcamps.txt"},
                          Case{"/data/sub dir/Camp A.kml", "/data/sub dir/pfCamp A.kml"},
                          Case{"camps.txt", "pfcamps.txt"}}) {
        EXPECT_EQ(sw::prefixedTarget(c.chosen, "pf"), fs::path(c.target)) << c.chosen;
    }
}

TEST(ExistingLength, LengthOrMinusOne) {
    TempDir dir;
    sw::test::writeFile(dir / "three", "abc");
    sw::test::writeFile(dir / "empty", "");
    EXPECT_EQ(sw::existingLength(dir / "three"), 3);
    EXPECT_EQ(sw::existingLength(dir / "empty"), 0);
    EXPECT_EQ(sw::existingLength(dir / "missing"), -1);
    EXPECT_EQ(sw::existingLength(dir.path()), -1); // a folder is no file to replace
}

// One run of the choice: what is on disk, what the user answers, what comes out.
struct ChoiceCase {
    const char* what;
    sw::ExistenceTest test;
    const char* existingName; // file placed in the folder first ("" none)
    const char* existingBytes;
    std::vector<std::optional<std::string>> picks; // file names, relative to the folder
    std::vector<sw::Answer> answers;
    bool asked;
    std::optional<std::string> target; // relative to the folder; nothing = cancelled
};

class ChooseOutputFile : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ChooseOutputFile, Run) {
    const ChoiceCase& c = GetParam();
    TempDir dir;
    if (*c.existingName != '\0') {
        sw::test::writeFile(dir / c.existingName, c.existingBytes);
    }
    ScriptedDialogs dialogs;
    for (const auto& pick : c.picks) {
        dialogs.fileNext(pick ? std::optional<std::string>((dir / *pick).string()) : std::nullopt);
    }
    for (auto answer : c.answers) {
        dialogs.answerNext(answer);
    }
    sw::FileDialogMemory memory;
    const auto choice = sw::chooseOutputFile(dialogs, memory,
                                             {".txt", "Text Files(*.txt)|*.txt", "pf", "", c.test});

    EXPECT_TRUE(dialogs.allAnswersUsed());
    ASSERT_EQ(choice.has_value(), c.target.has_value());
    if (choice) {
        EXPECT_EQ(choice->target, dir / *c.target);
    }
    ASSERT_EQ(dialogs.messages.size(), c.asked ? 1u : 0u);
    if (c.asked) {
        EXPECT_EQ(dialogs.messages[0], sw::overwriteQuestion());
    }
    // A second dialog starts from the file just chosen.
    if (dialogs.files.size() == 2) {
        EXPECT_EQ(dialogs.files[1].fileName, (dir / *c.picks[0]).string());
    }
    // A file the user declined to replace is untouched.
    if (*c.existingName != '\0') {
        EXPECT_EQ(sw::test::readFile(dir / c.existingName), c.existingBytes);
    }
}

using sw::Answer;
using sw::ExistenceTest;

INSTANTIATE_TEST_SUITE_P(
    Cases, ChooseOutputFile,
    ::testing::Values(
        ChoiceCase{
            "new file", ExistenceTest::TargetPath, "", "", {"camps.txt"}, {}, false, "pfcamps.txt"},
        ChoiceCase{"empty file counts as absent",
                   ExistenceTest::TargetPath,
                   "pfcamps.txt",
                   "",
                   {"camps.txt"},
                   {},
                   false,
                   "pfcamps.txt"},
        ChoiceCase{"existing target, Yes",
                   ExistenceTest::TargetPath,
                   "pfcamps.txt",
                   "x",
                   {"camps.txt"},
                   {Answer::Yes},
                   true,
                   "pfcamps.txt"},
        ChoiceCase{"the chosen file itself is not tested",
                   ExistenceTest::TargetPath,
                   "camps.txt",
                   "x",
                   {"camps.txt"},
                   {},
                   false,
                   "pfcamps.txt"},
        ChoiceCase{"No, then a second pick taken without asking",
                   ExistenceTest::TargetPath,
                   "pfcamps.txt",
                   "x",
                   {"camps.txt", "camps.txt"},
                   {Answer::No},
                   true,
                   "pfcamps.txt"},
        ChoiceCase{"No, then another name",
                   ExistenceTest::TargetPath,
                   "pfcamps.txt",
                   "x",
                   {"camps.txt", "other.txt"},
                   {Answer::No},
                   true,
                   "pfother.txt"},
        ChoiceCase{"No, then cancel",
                   ExistenceTest::TargetPath,
                   "pfcamps.txt",
                   "x",
                   {"camps.txt", std::nullopt},
                   {Answer::No},
                   true,
                   std::nullopt},
        ChoiceCase{
            "cancel", ExistenceTest::TargetPath, "", "", {std::nullopt}, {}, false, std::nullopt},
        ChoiceCase{"chosen path tested",
                   ExistenceTest::ChosenPath,
                   "camps.txt",
                   "x",
                   {"camps.txt"},
                   {Answer::Yes},
                   true,
                   "pfcamps.txt"},
        ChoiceCase{"chosen path tested, target ignored",
                   ExistenceTest::ChosenPath,
                   "pfcamps.txt",
                   "x",
                   {"camps.txt"},
                   {},
                   false,
                   "pfcamps.txt"}),
    [](const auto& param) {
        std::string name = param.param.what;
        for (char& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch))) {
                ch = '_';
            }
        }
        return name;
    });

TEST(ChooseOutputFile, DialogSettingsAndMemory) {
    TempDir dir;
    ScriptedDialogs dialogs;
    sw::FileDialogMemory memory;
    dialogs.fileNext((dir / "a.kml").string()).fileNext((dir / "b.kml").string());

    auto first = sw::chooseOutputFile(
        dialogs, memory,
        {".kml", "KML Files(*.kml)|*.kml", "", "pfCamp A", sw::ExistenceTest::ChosenPath});
    ASSERT_TRUE(first);
    EXPECT_EQ(first->target, dir / "a.kml"); // no prefix
    sw::FileRequest expected;
    expected.kind = sw::FileRequest::Kind::Open;
    expected.fileName = "pfCamp A";
    expected.defaultExtension = ".kml";
    expected.filter = "KML Files(*.kml)|*.kml";
    expected.filterIndex = 2;
    expected.hideReadOnly = true;
    EXPECT_EQ(dialogs.files.at(0), expected);

    // Without a preset the one dialog starts from the file last chosen in it.
    auto second = sw::chooseOutputFile(
        dialogs, memory, {.defaultExtension = ".txt", .filter = "T(*.txt)|*.txt", .prefix = "pf"});
    ASSERT_TRUE(second);
    EXPECT_EQ(dialogs.files.at(1).fileName, (dir / "a.kml").string());
    EXPECT_EQ(memory.lastChosen(), (dir / "b.kml").string());
}

} // namespace
