// The converter as a screen reader finds it: announced as a window, every control named,
// every result labelled by its caption.

#include "coord/tests/converter_fixture.h"

#include "testsupport/accessibility_walk.h"

namespace sw::test {
namespace {

using ConverterAccessibility = ConverterFixture;

const AccessibleNode* node(const std::vector<AccessibleNode>& tree, const std::string& name) {
    for (const AccessibleNode& n : tree) {
        if (n.path == name || n.path.ends_with("/" + name)) {
            return &n;
        }
    }
    return nullptr;
}

TEST_F(ConverterAccessibility, EveryControlIsNamedAndTheWindowIsAWindow) {
    openFor("swFac");
    EXPECT_EQ(unnamedControls(converter), std::vector<std::string>{});
    // The quarter-quarters have no caption while they are on either.
    click("optTRS");
    click("cmdEnableqs");
    EXPECT_EQ(unnamedControls(converter), std::vector<std::string>{});

    const std::vector<AccessibleNode> tree = accessibilityTree(converter);
    ASSERT_FALSE(tree.empty());
    EXPECT_EQ(tree.front().role, "Window");
    EXPECT_EQ(tree.front().name, "Coordinate Conversion");
}

TEST_F(ConverterAccessibility, NamesSayWhatEachControlIs) {
    openFor("swFac");
    struct Case {
        const char* control;
        const char* role;
        const char* name;
        const char* labelledBy; // "" for none expected
    };
    const Case cases[] = {
        {"txtDDLatD", "EditableText", "Latitude degrees", "Latitude (North is assumed)"},
        {"txtDDLongDD", "EditableText", "Longitude decimals of the degree", ""},
        {"txtDMMlatdm", "EditableText", "Latitude decimals of the minute", ""},
        {"txtDMSlongssd", "EditableText", "Longitude decimals of the second", ""},
        {"txtDMSlongdd", "EditableText", "Longitude degrees", "Longitude(West is Negative)"},
        {"txtTown", "EditableText", "Township:", "Township:"},
        {"txtSection", "EditableText", "Section:", "Section:"},
        {"txtGridRef", "EditableText",
         "US National Grid reference, UTM coordinate or latitude and longitude",
         "Reference or point"},
        {"optTnorth", "RadioButton", "Township north", ""},
        {"optRangeW", "RadioButton", "Range west", ""},
        {"optNWNE", "RadioButton", "NE quarter of the NW quarter", ""},
        {"optSESW", "RadioButton", "SW quarter of the SE quarter", ""},
        {"optsecNH", "RadioButton", "N half", ""},
        {"optSecC", "RadioButton", "Centre of the section", ""},
        {"optDD", "RadioButton", "D.D", ""},
        {"cmdconClose", "Button", "Close", ""},
        // The results, empty now, are labelled by their captions.
        {"lblDDLat", "StaticText", "Latitude", "Latitude"},
        {"lblDDLong", "StaticText", "Longitude", "Longitude"},
        {"lblAlbersX", "StaticText", "Albers Easting", "Albers Easting"},
        {"lblAlbersY", "StaticText", "Albers Northing", "Albers Northing"},
        {"lblUTMCoord", "StaticText", "UTM Coordinate:", "UTM Coordinate:"},
        {"lblUSNG", "StaticText",
         "US National Grid Coordinate (WGS 84):", "US National Grid Coordinate (WGS 84):"},
    };
    const std::vector<AccessibleNode> tree = accessibilityTree(converter);
    for (const Case& c : cases) {
        const AccessibleNode* n = node(tree, c.control);
        ASSERT_NE(n, nullptr) << c.control;
        EXPECT_EQ(n->role, c.role) << c.control;
        EXPECT_EQ(n->name, c.name) << c.control;
        if (*c.labelledBy != '\0') {
            EXPECT_EQ(n->labelledBy, c.labelledBy) << c.control;
        }
    }
    // With a value the result says it, still labelled by its caption.
    click("optDD");
    QTest::keyClicks(nullptr, QStringLiteral("-84.5\t30.25"));
    const std::vector<AccessibleNode> after = accessibilityTree(converter);
    const AccessibleNode* latitude = node(after, "lblDDLat");
    ASSERT_NE(latitude, nullptr);
    EXPECT_EQ(latitude->name, "30.2500");
    EXPECT_EQ(latitude->labelledBy, "Latitude");
}

} // namespace
} // namespace sw::test
