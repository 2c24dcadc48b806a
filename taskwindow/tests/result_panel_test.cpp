// The six-result panel as the converter and a task window use it.

#include "taskwindow/result_panel.h"

#include "taskwindow/output_lock.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace {

sw::ResultPanelLabels labels() {
    return {QStringLiteral("p"),
            {{{"lblDDlatR", "Latitude:"},
              {"lblDDlongR", "Longitude:"},
              {"lblAlbersXcap", "Albers Easting:"},
              {"lblAlbersNCap", "Albers Northing:"},
              {"lblUTM", "UTM Coordinate (WGS 84)"},
              {"lblNG", "US National Grid (WGS 84):"}}}};
}

TEST(ResultPanel, ReceivesTheSixTextsIntoItsNamedLabelsAndSwitchesColour) {
    sw::HandBackTarget* opened = nullptr;
    sw::ResultPanel panel(labels(), [&opened](sw::HandBackTarget& target) { opened = &target; });
    const char* names[] = {"lblpDDLat",   "lblpDDLong",  "lblpAlbersX",
                           "lblpAlbersY", "lblUTMCoord", "lblUSNG"};
    auto colourOf = [&panel](const char* name) {
        QLabel* label = panel.findChild<QLabel*>(QString::fromLatin1(name));
        return label->palette().color(QPalette::Disabled, label->backgroundRole());
    };
    for (const char* name : names) {
        ASSERT_NE(panel.findChild<QLabel*>(QString::fromLatin1(name)), nullptr) << name;
        EXPECT_FALSE(panel.findChild<QLabel*>(QString::fromLatin1(name))->isEnabled());
        EXPECT_EQ(colourOf(name), sw::kResultsIdle) << name;
    }

    panel.openConverter();
    EXPECT_EQ(opened, &panel);
    for (const char* name : names) {
        EXPECT_TRUE(panel.findChild<QLabel*>(QString::fromLatin1(name))->isEnabled());
        EXPECT_EQ(panel.findChild<QLabel*>(QString::fromLatin1(name))
                      ->palette()
                      .color(QPalette::Active, QPalette::Window),
                  sw::kResultsReceiving)
            << name;
    }

    const sw::HandBackTexts texts{
        "30.2500",           "-084.5000", "351936.72", "693727.66", "16R 740550.42 3349132.77",
        "16R GU 40550 49133"};
    panel.receiveCoordinates(texts);
    const std::string* expected[] = {&texts.latitude, &texts.longitude, &texts.albersX,
                                     &texts.albersY,  &texts.utm,       &texts.usng};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(panel.findChild<QLabel*>(QString::fromLatin1(names[i]))->text().toStdString(),
                  *expected[i]);
    }
    EXPECT_EQ(panel.texts().utm, texts.utm);

    panel.stopReceiving();
    panel.clear();
    EXPECT_EQ(panel.texts().latitude, "");
    EXPECT_FALSE(panel.label(sw::ResultPanel::Usng)->isEnabled());
}

} // namespace
