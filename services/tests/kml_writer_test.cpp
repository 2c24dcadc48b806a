// The KML writer: the link dialogue, the placeholder filling, and writing whole documents or
// nothing. The installed templates themselves are checked in kml_data_test.cpp.

#include "services/kml_writer.h"
#include "services/program_folder.h"
#include "services/tests/kml_checks.h"
#include "testsupport/scripted_dialogs.h"
#include "testsupport/test_paths.h"

#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace sw {
namespace {

namespace fs = std::filesystem;
using test::ScriptedDialogs;
using test::TempDir;

const std::string kAsk = std::string("message: ") + kAskLinkQuestion;
const std::string kAskAgain = std::string("message: ") + kNoLinkQuestion;
const std::string kPrompt = std::string("input: ") + kLinkPrompt;

struct LinkCase {
    const char* what;
    std::vector<Answer> answers;
    std::vector<std::optional<std::string>> inputs;
    std::optional<std::string> link;
    std::vector<std::string> shown;
};

TEST(KmlLinkDialogue, EveryPathEndsWithTheRightLinkAfterTheRightQuestions) {
    const std::string linkL = R"(<a href="L">Display Link</a>)";
    const std::vector<LinkCase> cases = {
        {"No", {Answer::No}, {}, std::nullopt, {kAsk}},
        {"Yes, text", {Answer::Yes}, {"L"}, linkL, {kAsk, kPrompt}},
        {"Yes, empty, No",
         {Answer::Yes, Answer::No},
         {""},
         std::nullopt,
         {kAsk, kPrompt, kAskAgain}},
        {"Yes, empty, Yes, text",
         {Answer::Yes, Answer::Yes},
         {"", "L"},
         linkL,
         {kAsk, kPrompt, kAskAgain, kPrompt}},
        {"an empty text in the loop asks again without a question",
         {Answer::Yes, Answer::Yes},
         {"", "", "", "L"},
         linkL,
         {kAsk, kPrompt, kAskAgain, kPrompt, kPrompt, kPrompt}},
        {"cancel at the first prompt counts as empty",
         {Answer::Yes, Answer::No},
         {std::nullopt},
         std::nullopt,
         {kAsk, kPrompt, kAskAgain}},
        {"cancel in the loop ends it",
         {Answer::Yes, Answer::Yes},
         {"", "", std::nullopt},
         std::nullopt,
         {kAsk, kPrompt, kAskAgain, kPrompt, kPrompt}},
        {"blanks are a text",
         {Answer::Yes},
         {" "},
         R"(<a href=" ">Display Link</a>)",
         {kAsk, kPrompt}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedDialogs dialogs;
        for (Answer a : c.answers) {
            dialogs.answerNext(a);
        }
        for (const auto& text : c.inputs) {
            dialogs.inputNext(text);
        }
        EXPECT_EQ(AskLinkLine(dialogs), c.link);
        EXPECT_EQ(dialogs.log, c.shown);
        EXPECT_TRUE(dialogs.allAnswersUsed());
        for (const auto& m : dialogs.messages) {
            EXPECT_EQ(m.icon, Icon::Question);
            EXPECT_EQ(m.buttons, Buttons::YesNo);
            EXPECT_EQ(m.title, "");
        }
        for (const auto& input : dialogs.inputs) {
            EXPECT_EQ(input.defaultText, "");
        }
    }
}

TEST(KmlText, LinkLineAndDescriptionLayout) {
    EXPECT_EQ(linkLineText("http://a.b/c?x=1&y=2"),
              R"(<a href="http://a.b/c?x=1&y=2">Display Link</a>)");
    EXPECT_EQ(linkLineText("").size(), 27u) << "an empty link is recognised by its length";
    // A quote would close the attribute early and cut the link short.
    EXPECT_EQ(linkLineText(R"(C:\pics\"big".jpg)"),
              R"(<a href="C:\pics\&quot;big&quot;.jpg">Display Link</a>)");

    EXPECT_EQ(descriptionHtml({}), "");
    EXPECT_EQ(descriptionHtml({"Camp A", "Camp", "UTM Coord: U"}),
              "<br>Camp A</br><br>Camp</br><br>UTM Coord: U</br>");
    EXPECT_EQ(descriptionHtml({"Report: "}), "<br>Report: </br>");
}

TEST(KmlText, IconReferenceIsAnOpenableReferenceForTheFolderKind) {
    struct Case {
        const char* folder;
        const char* icon;
        const char* reference;
    };
    const Case cases[] = {
        {"/opt/siteward", "campa.png", "file:///opt/siteward/icons/campa.png"},
        {"/opt/siteward/", "hot_spotA.png", "file:///opt/siteward/icons/hot_spotA.png"},
        {"/opt/site ward/../site ward", "x.png", "file:///opt/site%20ward/icons/x.png"},
        {"/home/me/R&D #1", "x.png", "file:///home/me/R%26D%20%231/icons/x.png"},
        {"/home/jos\xC3\xA9", "x.png", "file:///home/jos%C3%A9/icons/x.png"},
        {R"(C:\Apps\Site)", "campa.png", "C://Apps//Site//icons//campa.png"},
        {R"(\\server\share\sw)", "ffire.png", "////server//share//sw//icons//ffire.png"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(iconReference(fs::path(c.folder), c.icon), c.reference) << c.folder;
    }
    EXPECT_EQ(iconReference("campa.png"), iconReference(programFolder(), "campa.png"));
}

TEST(KmlFill, PlaceholdersAreReplacedInOrderAndValuesCannotBreakTheDocument) {
    const std::string tpl = "<name>NNNNNNN</name><d>QQQQQ</d><c>YYY,XX</c><h>ZZZZZ</h>"
                            "<range>1000</range>";
    struct Case {
        const char* what;
        KmlValues values;
        std::string expected;
    };
    const Case cases[] = {
        {"plain values",
         {"Camp A", "<br>Camp A</br>", "-84.5", "30.25", "file:///i/c.png", "<range>5000</range>"},
         "<name>Camp A</name><d><![CDATA[<br>Camp A</br>]]></d><c>-84.5,30.25</c>"
         "<h>file:///i/c.png</h><range>5000</range>\r\n"},
        {"a name with XX shows the latitude there, as later placeholders replace earlier values",
         {"Camp XX", "", "-84.5", "30.25", "i", "<range>1</range>"},
         "<name>Camp "
         "30.25</name><d><![CDATA[]]></d><c>-84.5,30.25</c><h>i</h><range>1</range>\r\n"},
        {"a name that holds the description placeholder receives the description",
         {"QQQQQ", "<br>d</br>", "1", "2", "i", "<range>1</range>"},
         "<name><![CDATA[<br>d</br>]]></name><d><![CDATA[<br>d</br>]]></d><c>1,2</c><h>i</h>"
         "<range>1</range>\r\n"},
        {"markup characters in the name, the icon path and coordinates are escaped",
         {"A&B <C>", "", "-84<", "30&", "C://R&D//icons//x.png", "<range>1</range>"},
         "<name>A&amp;B &lt;C&gt;</name><d><![CDATA[]]></d><c>-84&lt;,30&amp;</c>"
         "<h>C://R&amp;D//icons//x.png</h><range>1</range>\r\n"},
        {"a link that would end the CDATA section is split across two",
         {"n", R"(<br><a href="x]]>y&z">Display Link</a></br>)", "1", "2", "i", "<range>1</range>"},
         R"(<name>n</name><d><![CDATA[<br><a href="x]]]]><![CDATA[>y&z">Display Link</a></br>]]></d>)"
         "<c>1,2</c><h>i</h><range>1</range>\r\n"},
        {"control characters that XML cannot carry are dropped",
         {"a\x01"
          "b\tc",
          "d\x1F"
          "e",
          "1", "2", "i", "<range>1</range>"},
         "<name>ab\tc</name><d><![CDATA[de]]></d><c>1,2</c><h>i</h><range>1</range>\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fillKmlTemplate(tpl, c.values), c.expected) << c.what;
    }
    // A template without some placeholder simply lacks that value.
    EXPECT_EQ(
        fillKmlTemplate("<name>NNNNNNN</name>", {"n", "d", "1", "2", "i", "<range>9</range>"}),
        "<name>n</name>\r\n");
}

// Runs against a program folder of its own, so templates can be missing or odd.
class KmlWrite : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = programFolder();
        fs::create_directories(program_.path() / "templates");
        test::writeFile(program_ / "templates/point.txt",
                        test::readFile(test::runtimeDir() / "templates/kml_template3.txt"));
        setProgramFolder(program_.path());
    }
    void TearDown() override { setProgramFolder(saved_); }

    KmlWriteResult write(ScriptedDialogs& dialogs, const fs::path& target,
                         const std::string& templateName = "point.txt") {
        return WriteKmlFromTemplate(dialogs, templateName, target, "Camp A",
                                    {"Camp A", "Camp", "UTM Coord: U", "National Grid Coord: N"},
                                    "-84.5000", "30.2500", "campa.png");
    }

    static std::vector<std::string> folderContents(const fs::path& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir program_;
    TempDir out_;

private:
    fs::path saved_;
};

TEST_F(KmlWrite, DocumentWithLinkIsValidKmlThatGdalReadsBack) {
    ScriptedDialogs dialogs;
    dialogs.answerNext(Answer::Yes).inputNext("http://example.com/map?a=1&b=2");
    const fs::path target = out_ / "pfCamp A.kml";
    KmlWriteResult result = write(dialogs, target);
    ASSERT_TRUE(result) << result.message;

    const std::string bytes = test::readFile(target);
    EXPECT_TRUE(bytes.ends_with("</kml>\r\n"));
    EXPECT_NE(bytes.find("<br>Camp A</br><br>Camp</br><br>UTM Coord: U</br>"
                         "<br>National Grid Coord: N</br>"
                         R"(<br><a href="http://example.com/map?a=1&b=2">Display Link</a></br>)"),
              std::string::npos);
    EXPECT_NE(bytes.find(iconReference(program_.path(), "campa.png")), std::string::npos);
    EXPECT_NE(bytes.find("<range>5000</range>"), std::string::npos);
    EXPECT_EQ(test::kmlSchemaErrors(target), "");
    for (const char* driver : {"KML", "LIBKML"}) {
        auto point = test::findPoint(test::readKmlWithGdal(target, driver), "Camp A");
        ASSERT_TRUE(point) << driver;
        EXPECT_DOUBLE_EQ(*point->longitude, -84.5);
        EXPECT_DOUBLE_EQ(*point->latitude, 30.25);
        EXPECT_TRUE(point->description.ends_with(
            R"(<a href="http://example.com/map?a=1&b=2">Display Link</a></br>)"))
            << driver << ": " << point->description;
    }
    EXPECT_EQ(folderContents(out_.path()), std::vector<std::string>{"pfCamp A.kml"});
}

TEST_F(KmlWrite, MissingTemplateWritesNothingAndAsksNothing) {
    ScriptedDialogs dialogs; // unscripted: any question would fail the test
    const fs::path target = out_ / "a.kml";
    KmlWriteResult result = write(dialogs, target, "no_such_template.txt");
    EXPECT_FALSE(result);
    EXPECT_NE(result.message.find("no_such_template.txt"), std::string::npos) << result.message;
    EXPECT_TRUE(dialogs.log.empty());
    EXPECT_TRUE(folderContents(out_.path()).empty());
}

TEST_F(KmlWrite, TargetThatCannotBeWrittenFailsBeforeTheLinkQuestion) {
    test::writeFile(out_ / "plain.txt", "x");
    fs::create_directory(out_ / "folder.kml");
    for (const fs::path& target :
         {out_ / "plain.txt" / "a.kml", out_ / "folder.kml", out_ / "missing" / "a.kml"}) {
        ScriptedDialogs dialogs;
        KmlWriteResult result = write(dialogs, target);
        EXPECT_FALSE(result) << target;
        EXPECT_NE(result.message.find(target.string()), std::string::npos) << result.message;
        EXPECT_TRUE(dialogs.log.empty()) << target;
    }
    EXPECT_EQ(folderContents(out_.path()), (std::vector<std::string>{"folder.kml", "plain.txt"}));
    EXPECT_EQ(test::readFile(out_ / "plain.txt"), "x");
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
    KmlWriteResult result = write(dialogs, target);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(result);
    EXPECT_NE(result.message.find("old.kml"), std::string::npos) << result.message;
    EXPECT_EQ(test::readFile(target), "old contents");
    EXPECT_EQ(folderContents(out_.path()), std::vector<std::string>{"old.kml"});
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
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::mask,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // A new file gets the usual permissions, not the private ones of a temporary file.
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(write(dialogs, out_ / "new.kml"));
    ::umask(mask);
    EXPECT_EQ(fs::status(out_ / "new.kml").permissions() & fs::perms::mask,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
}

} // namespace
} // namespace sw
