// Whatever bytes a text holds, what goes into a document is well-formed XML: checked by
// libxml2 (xmllint) as well as byte for byte.

#include "services/kml/xml_text.h"

#include "testsupport/run_process.h"
#include "testsupport/test_paths.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

TEST(XmlText, InvalidSequencesBecomeReplacementsAndForbiddenCharactersGo) {
    const std::string fffd = "\xEF\xBF\xBD";
    struct Case {
        const char* name;
        std::string in;
        std::string out;
    };
    const std::vector<Case> cases = {
        {"plain UTF-8 kept", "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x94\xA5",
         "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x94\xA5"},
        {"tab, line feed and carriage return kept", "a\tb\nc\rd", "a\tb\nc\rd"},
        {"other C0 controls dropped", std::string("a\x01\x1F", 3) + std::string(1, '\0') + "b",
         "ab"},
        {"U+FFFE and U+FFFF dropped", "a\xEF\xBF\xBE\xEF\xBF\xBFz", "az"},
        {"stray continuation byte", "a\x80z", "a" + fffd + "z"},
        {"Latin-1 byte", "Caf\xE9!", "Caf" + fffd + "!"},
        {"overlong slash", "\xC0\xAF", fffd + fffd},
        {"overlong three-byte form", "\xE0\x80\xAF", fffd + fffd + fffd},
        {"lone surrogate", "\xED\xA0\x80", fffd + fffd + fffd},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", fffd + fffd + fffd + fffd},
        {"character cut off at the end", "ab\xE2\x82", "ab" + fffd},
        {"character cut off before ASCII", "\xE2\x82z", fffd + "z"},
        {"lead bytes never valid", "\xF5\xFF", fffd + fffd},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sanitizeXmlText(c.in), c.out) << c.name;
    }
}

TEST(XmlText, CdataNeverHoldsTwoClosingBrackets) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"a]]>b", "<![CDATA[a]]]><![CDATA[]>b]]>"},
        {"x]]", "<![CDATA[x]]]><![CDATA[]]]>"},
        {"]", "<![CDATA[]]]>"},
        {"<br>ok</br>", "<![CDATA[<br>ok</br>]]>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cdataSection(c.in), c.out) << c.in;
    }
}

// Values side by side, as a document puts them: each must stay well-formed whatever its
// neighbours are.
TEST(XmlText, DocumentsOfHostileValuesAreWellFormed) {
    const std::vector<std::string> values = {
        "x]]", ">y",  "\xED\xA0\x80", "\xEF\xBF\xBE", "\xC0\xAF", std::string(1, '\0'),
        "&<>", "]]>", "\xF0\x9F\x94", "\x01\x02",
    };
    std::string document = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<d>";
    for (const auto& a : values) {
        for (const auto& b : values) {
            document +=
                "<v>" + cdataSection(a) + cdataSection(b) + xmlText(a) + xmlText(b) + "</v>";
        }
    }
    document += "</d>\n";
    test::TempDir dir;
    test::writeFile(dir / "d.xml", document);
    const test::ProcessResult check =
        test::runProcess("xmllint", {"--noout", (dir / "d.xml").string()});
    EXPECT_EQ(check.exitCode, 0) << check.output;
}

} // namespace
} // namespace sw
