// About: its fixed texts, the System Info report, and OK/Enter/Esc closing the window.

#include "shell/about_window.h"

#include "services/base/program_folder.h"
#include "shell/system_info.h"
#include "testsupport/scripted_dialogs.h"
#include "testsupport/test_paths.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using sw::AboutWindow;

TEST(AboutWindow, ShowsTitleVersionDisclaimerAndTheLibrariesItReallyUses) {
    sw::test::ScriptedDialogs dialogs;
    AboutWindow about(dialogs);
    EXPECT_EQ(about.windowTitle(), "About Tarn Siteward");
    EXPECT_EQ(about.findChild<QLabel*>("lblVersion")->text(), "Version 4.9");
    EXPECT_TRUE(about.findChild<QLabel*>("lblTitle")->text().endsWith("Siteward"));
    const QString description = about.findChild<QLabel*>("lblDescription")->text();
    for (const char* library : {"Qt", "shapelib", "SQLite"}) {
        EXPECT_TRUE(description.contains(library)) << library;
    }
    EXPECT_FALSE(description.contains("OCX"));
    const QString disclaimer = about.findChild<QLabel*>("lblDisclaimer")->text();
    EXPECT_TRUE(disclaimer.contains("no warranty"));
    for (const char* designerText : {"Application Title", "App Description"}) {
        EXPECT_FALSE(about.findChild<QLabel*>("lblTitle")->text().contains(designerText));
        EXPECT_FALSE(description.contains(designerText));
    }
    EXPECT_EQ(about.findChild<QPushButton*>("cmdSysInfo")->text(), "&System Info...");
}

TEST(AboutWindow, SystemInfoReportsAlwaysAndStartsAViewerWhenOneIsInstalled) {
    struct Case {
        const char* what;
        QString tool;
        bool starts;
    };
    const Case cases[] = {
        {"no viewer installed", QString(), true},
        {"viewer fails to start", QStringLiteral("/usr/bin/hardinfo"), false},
        {"viewer starts", QStringLiteral("/usr/bin/hardinfo"), true},
    };
    for (const auto& c : cases) {
        sw::test::ScriptedDialogs dialogs;
        AboutWindow about(dialogs);
        QStringList started;
        about.setSystemInfoLookup([&] { return c.tool; });
        about.setLauncher([&](const QString& program) {
            started << program;
            return c.starts;
        });
        QTest::mouseClick(about.findChild<QPushButton*>("cmdSysInfo"), Qt::LeftButton);
        ASSERT_EQ(dialogs.messages.size(), 1u) << c.what;
        const sw::MessageRequest& shown = dialogs.messages[0];
        EXPECT_EQ(shown.title, "System Information");
        EXPECT_EQ(shown.buttons, sw::Buttons::Ok);
        for (const std::string& fact :
             {std::string("Siteward version 4.9\n"), "Qt version " + std::string(qVersion()),
              "Data folder: " + sw::programFolder().string() + "\n"}) {
            EXPECT_NE(shown.text.find(fact), std::string::npos) << c.what << ": " << fact;
        }
        EXPECT_EQ(started.size(), c.tool.isEmpty() ? 0 : 1) << c.what;
    }
}

TEST(SystemReport, SaysWhichDataFilesAreThere) {
    sw::test::TempDir folder;
    const sw::SystemFacts facts{"4.9", "6.2.4", "Ubuntu 22.04", "linux 5.15", folder.path(), 2027};
    const std::string head = "Siteward version 4.9\nQt version 6.2.4\n"
                             "Operating system: Ubuntu 22.04 (linux 5.15)\n"
                             "Data folder: " +
                             folder.path().string() + "\n";
    const auto lineOf = [](const std::string& report, const std::string& start) {
        const auto at = report.find("\n" + start);
        return at == std::string::npos ? std::string()
                                       : report.substr(at + 1, report.find('\n', at + 1) - at - 1);
    };

    std::string report = sw::systemReport(facts);
    EXPECT_EQ(report.substr(0, head.size()), head);
    EXPECT_EQ(lineOf(report, "Data files:"), "Data files: 11 missing");
    EXPECT_EQ(lineOf(report, "2027_hurricanes.txt"), "2027_hurricanes.txt: MISSING");

    // A file, a folder where a folder belongs, and a folder where a file belongs.
    for (const auto& file : sw::requiredDataFiles(2027)) {
        if (file.has_extension()) {
            std::filesystem::create_directories((folder / file).parent_path());
            sw::test::writeFile(folder / file, "x");
        } else {
            std::filesystem::create_directory(folder / file);
        }
    }
    EXPECT_EQ(lineOf(sw::systemReport(facts), "Data files:"), "Data files: all found");
    std::filesystem::remove(folder / "databases" / "zipcode2.mdb");
    std::filesystem::create_directory(folder / "databases" / "zipcode2.mdb");
    report = sw::systemReport(facts);
    EXPECT_EQ(lineOf(report, "Data files:"), "Data files: 1 missing");
    EXPECT_EQ(lineOf(report, "databases/zipcode2.mdb"), "databases/zipcode2.mdb: MISSING");
    EXPECT_EQ(lineOf(report, "icons"), "icons: found");
    EXPECT_EQ(lineOf(report, "templates/kml_template3.txt"), "templates/kml_template3.txt: found");
}

TEST(AboutWindow, OkEnterAndEscCloseAndDestroyTheWindow) {
    for (const char* how : {"OK", "Enter", "Esc"}) {
        sw::test::ScriptedDialogs dialogs;
        QPointer<AboutWindow> about = new AboutWindow(dialogs);
        about->setAttribute(Qt::WA_DeleteOnClose);
        about->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(about));
        if (QString(how) == "OK") {
            QTest::mouseClick(about->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        } else {
            QTest::keyClick(about, QString(how) == "Enter" ? Qt::Key_Return : Qt::Key_Escape);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(about.isNull()) << how;
        delete about.data();
    }
}

TEST(SystemInfoLookup, FindsTheFirstExecutableCandidateOnThePath) {
    sw::test::TempDir first;
    sw::test::TempDir second;
    const auto makeTool = [](const std::filesystem::path& path, bool executable) {
        sw::test::writeFile(path, "#!/bin/sh\n");
        std::filesystem::permissions(path, executable ? std::filesystem::perms::owner_all
                                                      : std::filesystem::perms::owner_read);
    };
    makeTool(first / "kinfocenter", false);
    makeTool(second / "kinfocenter", true);
    makeTool(second / "hardinfo", true);
    const std::string path = first.path().string() + "::" + second.path().string();

    EXPECT_EQ(sw::findSystemInfoTool(path, {"hardinfo2", "hardinfo", "kinfocenter"}),
              (second / "hardinfo").string());
    EXPECT_EQ(sw::findSystemInfoTool(path, {"kinfocenter"}), (second / "kinfocenter").string());
    EXPECT_EQ(sw::findSystemInfoTool(path, {"nothing-here"}), "");
    EXPECT_EQ(sw::findSystemInfoTool("", {"hardinfo"}), "");
}

} // namespace
