#include "taskwindow/output_file_choice.h"

#include "testsupport/scripted_dialogs.h"
#include "testsupport/test_paths.h"

#include <gtest/gtest.h>

namespace {

using sw::Answer;
using sw::ExistenceTest;

// One run of the choice: what is on disk, what the user answers, what comes out.
struct ChoiceCase {
    ExistenceTest test;
    const char* existingName; // file placed in the folder first ("" none)
    const char* existingBytes;
    std::vector<std::optional<std::string>> picks; // file names in the folder; nothing = cancel
    std::vector<Answer> answers;
    bool asked;
    std::optional<std::string> target; // file name in the folder; nothing = cancelled
};

class ChooseOutputFile : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ChooseOutputFile, Run) {
    const ChoiceCase& c = GetParam();
    sw::test::TempDir dir;
    if (*c.existingName != '\0') {
        sw::test::writeFile(dir / c.existingName, c.existingBytes);
    }
    sw::test::ScriptedDialogs dialogs;
    for (const auto& pick : c.picks) {
        dialogs.fileNext(pick ? std::optional((dir / *pick).string()) : std::nullopt);
    }
    for (auto answer : c.answers) {
        dialogs.answerNext(answer);
    }
    sw::FileDialogMemory memory;
    const auto choice =
        sw::chooseOutputFile(dialogs, memory, {".txt", "T(*.txt)|*.txt", "pf", "", c.test});

    EXPECT_TRUE(dialogs.allAnswersUsed());
    ASSERT_EQ(choice.has_value(), c.target.has_value());
    if (choice) {
        EXPECT_EQ(choice->target, dir / *c.target);
    }
    ASSERT_EQ(dialogs.messages.size(), c.asked ? 1u : 0u);
    if (c.asked) {
        EXPECT_EQ(dialogs.messages[0], sw::overwriteQuestion());
    }
    if (dialogs.files.size() == 2) { // the second dialog starts from the file just chosen
        EXPECT_EQ(dialogs.files[1].fileName, (dir / *c.picks[0]).string());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChooseOutputFile,
    ::testing::Values(
        // New file; the prefix is added even when the name already has it.
        ChoiceCase{ExistenceTest::TargetPath, "", "", {"camps.txt"}, {}, false, "pfcamps.txt"},
        ChoiceCase{ExistenceTest::TargetPath, "", "", {"pfcamps.txt"}, {}, false, "pfpfcamps.txt"},
        // A file of 0 bytes counts as absent; the chosen file itself is not the target.
        ChoiceCase{
            ExistenceTest::TargetPath, "pfcamps.txt", "", {"camps.txt"}, {}, false, "pfcamps.txt"},
        ChoiceCase{
            ExistenceTest::TargetPath, "camps.txt", "x", {"camps.txt"}, {}, false, "pfcamps.txt"},
        ChoiceCase{ExistenceTest::TargetPath,
                   "pfcamps.txt",
                   "x",
                   {"camps.txt"},
                   {Answer::Yes},
                   true,
                   "pfcamps.txt"},
        // No: a second pick, taken as it comes, even onto the same existing file.
        ChoiceCase{ExistenceTest::TargetPath,
                   "pfcamps.txt",
                   "x",
                   {"camps.txt", "camps.txt"},
                   {Answer::No},
                   true,
                   "pfcamps.txt"},
        ChoiceCase{ExistenceTest::TargetPath,
                   "pfcamps.txt",
                   "x",
                   {"camps.txt", "other.txt"},
                   {Answer::No},
                   true,
                   "pfother.txt"},
        ChoiceCase{ExistenceTest::TargetPath,
                   "pfcamps.txt",
                   "x",
                   {"camps.txt", std::nullopt},
                   {Answer::No},
                   true,
                   std::nullopt},
        ChoiceCase{ExistenceTest::TargetPath, "", "", {std::nullopt}, {}, false, std::nullopt},
        // Testing the chosen path looks at that file only.
        ChoiceCase{ExistenceTest::ChosenPath,
                   "camps.txt",
                   "x",
                   {"camps.txt"},
                   {Answer::Yes},
                   true,
                   "pfcamps.txt"},
        ChoiceCase{ExistenceTest::ChosenPath,
                   "pfcamps.txt",
                   "x",
                   {"camps.txt"},
                   {},
                   false,
                   "pfcamps.txt"}),
    [](const ::testing::TestParamInfo<ChoiceCase>& param) {
        return "case" + std::to_string(param.index);
    });

} // namespace
