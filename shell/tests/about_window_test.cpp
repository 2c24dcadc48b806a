// About: its fixed texts, the System Info fallback, and OK/Enter/Esc closing the window.

#include "shell/about_window.h"
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

TEST(AboutWindow, SystemInfoFallsBackToTheMessageWhenNoViewerStarts) {
    struct Case {
        const char* what;
        QString tool;
        bool starts;
        bool expectMessage;
    };
    const Case cases[] = {
        {"no viewer installed", QString(), true, true},
        {"viewer fails to start", QStringLiteral("/usr/bin/hardinfo"), false, true},
        {"viewer starts", QStringLiteral("/usr/bin/hardinfo"), true, false},
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
        if (c.expectMessage) {
            ASSERT_EQ(dialogs.messages.size(), 1u) << c.what;
            EXPECT_EQ(dialogs.messages[0].text, "System Information Is Unavailable At This Time");
            EXPECT_EQ(dialogs.messages[0].buttons, sw::Buttons::Ok);
            EXPECT_EQ(dialogs.messages[0].title, "");
        } else {
            EXPECT_TRUE(dialogs.messages.empty()) << c.what;
        }
        EXPECT_EQ(started.size(), c.tool.isEmpty() ? 0 : 1) << c.what;
    }
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
