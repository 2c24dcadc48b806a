// The KML writer: the link dialogue, the placeholder filling, and writing whole documents or
// nothing. The installed templates themselves are checked in kml_data_test.cpp.

#include "services/base/program_folder.h"
#include "services/kml/kml_writer.h"
#include "testsupport/scripted_dialogs.h"
#include "testsupport/test_paths.h"

#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

namespace sw {
namespace {

namespace fs = std::filesystem;
using test::ScriptedDialogs;
using test::TempDir;

TEST(KmlLinkDialogue, EveryPathEndsWithTheRightLinkAfterTheRightQuestions) {
    // The user's side, step by step: Y / N answer a question, "=text" is typed at the prompt,
    // "^" cancels it.
    const std::string linkL = R"(<a href="L">Display Link</a>)";
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"N", std::nullopt},         {"Y|=L", linkL},
        {"Y|=|N", std::nullopt},     {"Y|=|Y|=L", linkL},
        {"Y|=|Y|=|=|=L", linkL}, // an empty text in the loop asks again, without a question
        {"Y|^|N", std::nullopt}, // cancel at the first prompt counts as an empty text
        {"Y|=|Y|=|^", std::nullopt}, {"Y|= ", R"(<a href=" ">Display Link</a>)"},
    };
    for (const auto& [script, link] : cases) {
        SCOPED_TRACE(script);
        ScriptedDialogs dialogs;
        std::vector<std::string> expected;
        std::istringstream steps(script);
        for (std::string step; std::getline(steps, step, '|');) {
            if (step == "Y" || step == "N") {
                dialogs.answerNext(step == "Y" ? Answer::Yes : Answer::No);
                expected.push_back(std::string("message: ") +
                                   (expected.empty() ? kAskLinkQuestion : kNoLinkQuestion));
            } else {
                dialogs.inputNext(step == "^" ? std::nullopt
                                              : std::optional<std::string>(step.substr(1)));
                expected.push_back(std::string("input: ") + kLinkPrompt);
            }
        }
        EXPECT_EQ(AskLinkLine(dialogs), link);
        EXPECT_EQ(dialogs.log, expected);
        EXPECT_TRUE(dialogs.allAnswersUsed());
        for (const auto& m : dialogs.messages) {
            EXPECT_TRUE(m.icon == Icon::Question && m.buttons == Buttons::YesNo && m.title.empty());
        }
    }
}

TEST(KmlText, LinkLineDescriptionAndIconReference) {
    EXPECT_EQ(linkLineText("http://a.b/c?x=1&y=2"),
              R"(<a href="http://a.b/c?x=1&y=2">Display Link</a>)");
    EXPECT_EQ(linkLineText("").size(), 27u) << "an empty link is recognised by its length";
    // A quote would close the attribute early and cut the link short.
    EXPECT_EQ(linkLineText(R"(/pics/"big".jpg)"),
              R"(<a href="/pics/&quot;big&quot;.jpg">Display Link</a>)");
    EXPECT_EQ(descriptionHtml({"Camp A", "Report: "}), "<br>Camp A</br><br>Report: </br>");

    // The folder as it is, then "//icons//" and the file: the form every KML of the program
    // has carried, on any platform (markup is escaped where the reference goes in).
    const std::pair<const char*, const char*> icons[] = {
        {"/opt/siteward/", "/opt/siteward//icons//x.png"},
        {"/opt/site ward/../site ward", "/opt/site ward//icons//x.png"},
        {"/home/R&D #1/jos\xC3\xA9", "/home/R&D #1/jos\xC3\xA9//icons//x.png"},
        {R"(C:\Apps\Site)", "C://Apps//Site//icons//x.png"},
        {R"(\\server\share)", "////server//share//icons//x.png"},
    };
    for (const auto& [folder, reference] : icons) {
        EXPECT_EQ(iconReference(fs::path(folder), "x.png"), reference) << folder;
    }
}

TEST(KmlFill, PlaceholdersAreReplacedOnceAndValuesCannotBreakTheDocument) {
    const std::string tpl =
        "<n>NNNNNNN</n><d>QQQQQ</d><c>YYY,XX</c><h>ZZZZZ</h><range>1000</range>";
    struct Case {
        const char* what;
        KmlValues values;
        std::string expected;
    };
    const Case cases[] = {
        {"plain values",
         {"Camp A", "<br>Camp A</br>", "-84.5", "30.25", "file:///c.png", "<range>5000</range>"},
         "<n>Camp A</n><d><![CDATA[<br>Camp A</br>]]></d><c>-84.5,30.25</c><h>file:///c.png</h>"
         "<range>5000</range>\r\n"},
        {"values holding placeholders are kept as typed: nothing put in is scanned again",
         {"Camp XX YYY", "<br>QQQQQ NNNNNNN ZZZZZ</br>", "X", "X", "YY<range>1000</range>",
          "<range>XX</range>"},
         "<n>Camp XX YYY</n><d><![CDATA[<br>QQQQQ NNNNNNN ZZZZZ</br>]]></d><c>X,X</c>"
         "<h>YY&lt;range&gt;1000&lt;/range&gt;</h><range>XX</range>\r\n"},
        {"markup in the name, coordinates and icon path is escaped; stray control bytes dropped",
         {"A&B <C>\x01", "", "1<", "2&", "C://R&D//x.png", "<range>9</range>"},
         "<n>A&amp;B &lt;C&gt;</n><d><![CDATA[]]></d><c>1&lt;,2&amp;</c><h>C://R&amp;D//x.png</h>"
         "<range>9</range>\r\n"},
        {"a link that would end the CDATA section is split across two",
         {"n", R"(<a href="x]]>y&z">)", "1", "2", "i", "<range>9</range>"},
         R"(<n>n</n><d><![CDATA[<a href="x]]]><![CDATA[]>y&z">]]></d><c>1,2</c><h>i</h>)"
         "<range>9</range>\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fillKmlTemplate(tpl, c.values), c.expected) << c.what;
    }
    // A value cannot join the template's next letter into a placeholder either.
    EXPECT_EQ(fillKmlTemplate("NNNNNNNX", {"X", "", "1", "2", "i", ""}), "XX\r\n");
    // A template without some placeholder simply lacks that value.
    EXPECT_EQ(fillKmlTemplate("<n>NNNNNNN</n>", cases[0].values), "<n>Camp A</n>\r\n");
}

// Runs against a program folder of its own holding one template.
class KmlWrite : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(program_.path() / "templates");
        test::writeFile(program_ / "templates/point.txt",
                        test::readFile(test::runtimeDir() / "templates/kml_template3.txt"));
        setProgramFolder(program_.path());
    }
    void TearDown() override { setProgramFolder(test::runtimeDir()); }

    KmlWriteResult write(ScriptedDialogs& dialogs, const fs::path& target,
                         const std::string& templateName = "point.txt") {
        return WriteKmlFromTemplate(dialogs, templateName, target, "Camp A",
                                    {"Camp A", "Camp", "UTM Coord: U", "National Grid Coord: N"},
                                    "-84.5000", "30.2500", "campa.png");
    }
    std::vector<std::string> outputFolder() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(out_.path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir program_;
    TempDir out_;
};

TEST_F(KmlWrite, FailuresFoundBeforeTheLinkQuestionWriteNothingAndAskNothing) {
    test::writeFile(out_ / "plain.txt", "x");
    fs::create_directory(out_ / "folder.kml");
    const std::pair<fs::path, std::string> cases[] = {
        {out_ / "a.kml", "no_such_template.txt"},
        {out_ / "plain.txt" / "a.kml", "point.txt"},
        {out_ / "folder.kml", "point.txt"},
        {out_ / "missing" / "a.kml", "point.txt"},
    };
    for (const auto& [target, templateName] : cases) {
        ScriptedDialogs dialogs; // unscripted: any question fails the test
        const KmlWriteResult result = write(dialogs, target, templateName);
        EXPECT_FALSE(result) << target;
        const std::string named = templateName == "point.txt" ? target.string() : templateName;
        EXPECT_NE(result.message.find(named), std::string::npos) << result.message;
        EXPECT_TRUE(dialogs.log.empty()) << target;
    }
    EXPECT_EQ(outputFolder(), (std::vector<std::string>{"folder.kml", "plain.txt"}));
    EXPECT_EQ(test::readFile(out_ / "plain.txt"), "x");

    ScriptedDialogs dialogs;
    EXPECT_EQ(write(dialogs, fs::path()).message,
              "Cannot write the KML file: no file name was given.");
}

TEST_F(KmlWrite, FullDiskLeavesTheOldFileAsItWas) {
    const fs::path target = out_ / "old.kml";
    test::writeFile(target, "old contents");
    // A file-size limit makes every write past 100 bytes fail, as a full disk would.
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ScriptedDialogs dialogs;
    dialogs.answerNext(Answer::No);
    const KmlWriteResult result = write(dialogs, target);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(result);
    EXPECT_NE(result.message.find("old.kml"), std::string::npos) << result.message;
    EXPECT_EQ(test::readFile(target), "old contents");
    EXPECT_EQ(outputFolder(), std::vector<std::string>{"old.kml"});
}

TEST_F(KmlWrite, ReplacingKeepsTheFilesPermissionsAndFollowsALink) {
    const fs::path real = out_ / "real.kml";
    test::writeFile(real, "old");
    ::chmod(real.c_str(), 0640);
    fs::create_symlink(real, out_ / "link.kml");
    ScriptedDialogs dialogs;
    dialogs.answerNext(Answer::No).answerNext(Answer::No);
    ASSERT_TRUE(write(dialogs, out_ / "link.kml"));
    EXPECT_TRUE(fs::is_symlink(out_ / "link.kml"));
    EXPECT_NE(test::readFile(real).find("<name>Camp A</name>"), std::string::npos);
    using fs::perms;
    EXPECT_EQ(fs::status(real).permissions(),
              perms::owner_read | perms::owner_write | perms::group_read);

    // A link to a file not there yet: the file is made where the link points, the link stays.
    fs::create_directory(out_ / "sub");
    fs::create_symlink("sub/later.kml", out_ / "dangling.kml");
    dialogs.answerNext(Answer::No);
    ASSERT_TRUE(write(dialogs, out_ / "dangling.kml"));
    EXPECT_TRUE(fs::is_symlink(out_ / "dangling.kml"));
    EXPECT_NE(test::readFile(out_ / "sub/later.kml").find("<name>Camp A</name>"),
              std::string::npos);

    // A new file gets the usual permissions, not the private ones of a temporary file.
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(write(dialogs, out_ / "new.kml"));
    ::umask(mask);
    EXPECT_EQ(fs::status(out_ / "new.kml").permissions(),
              perms::owner_read | perms::owner_write | perms::group_read | perms::others_read);
}

} // namespace
} // namespace sw
