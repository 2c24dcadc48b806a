// The address list: icons, checks, placemark blocks, the document around them, the bytes of
// the file, and the checks that no typed or pasted text can break the document.

#include "addresses/address_list.h"

#include "services/kml/kml_writer.h"
#include "testsupport/kml_checks.h"
#include "testsupport/test_paths.h"

#include <QXmlStreamReader>

#include <gtest/gtest.h>
#include <map>

namespace sw {
namespace {

namespace fs = std::filesystem;
using test::runtimeDir;

const std::string kStyle = "<Style><IconStyle><Icon><href>REF</href></Icon></IconStyle></Style>";

AddressEntry station12() {
    return {"Station 12", "Tower", "100 Main St", "Ocean", "QV", "12345"};
}

// The text of every element with this local name, in document order (CDATA included).
std::vector<std::string> elementTexts(const std::string& document, const char* name) {
    std::vector<std::string> texts;
    QXmlStreamReader reader(QByteArray::fromStdString(document));
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement &&
            reader.name() == QLatin1String(name)) {
            texts.push_back(reader.readElementText().toStdString());
        }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return texts;
}

TEST(AddressIcons, ExactTypeOrOther) {
    const std::map<std::string, std::string> cases = {
        {"Tower", "towera.png"},
        {"tower", "other.png"},
        {"Tower ", "other.png"},
        {"DOT Fuel Site", "dot_logo.png"},
        {"DOT Fuel Station", "other.png"},
        {"Hot Spot", "hot_spotA.png"},
        {"Incident Command Post", "icsa.png"},
        {"Staging Area", "staginga.png"},
        {"State Forest Headquarters", "SHIELD.png"},
        {"Forestry Site", "SHIELD.png"},
        {"Residence", "other.png"},
        {"", "other.png"},
    };
    for (const auto& [type, icon] : cases) {
        EXPECT_EQ(addressIconFile(type), icon) << '"' << type << '"';
    }
}

TEST(AddressIcons, EveryListedTypeHasAnInstalledIcon) {
    for (AddressCategory category :
         {AddressCategory::Start, AddressCategory::Tarn, AddressCategory::Ics}) {
        for (const std::string& type : addressTypes(category)) {
            EXPECT_TRUE(fs::is_regular_file(runtimeDir() / "icons" / addressIconFile(type)))
                << type;
        }
    }
}

TEST(AddressPreview, FirstEmptyFieldInOrder) {
    struct Case {
        AddressEntry entry;
        std::optional<AddressField> field;
        const char* message;
    };
    const Case cases[] = {
        {{}, AddressField::Name, "Enter Facility Name"},
        {{"n", "", "s", "c", "QV", "1"}, AddressField::Type, "Select Facility Type"},
        {{"n", "t", "", "", "QV", "1"},
         AddressField::Street,
         "Please Enter Street Name and Number"},
        {{"n", "t", "s", "", "QV", "1"}, AddressField::City, "Please Enter the City or Town"},
        {{"n", "t", "s", "c", "", "1"}, AddressField::State, "Please Select the State"},
        {{"n", "t", "s", "c", "QV", ""}, AddressField::Zip, "Please Enter the Zip Code"},
        {station12(), std::nullopt, ""},
    };
    for (const Case& c : cases) {
        const auto missing = firstMissingValue(c.entry);
        ASSERT_EQ(missing.has_value(), c.field.has_value()) << c.message;
        if (missing) {
            EXPECT_EQ(missing->field, *c.field);
            EXPECT_EQ(missing->message, c.message);
        }
    }
}

TEST(AddressPlacemark, Blocks) {
    struct Case {
        const char* what;
        AddressEntry entry;
        std::optional<std::string> link;
        std::optional<std::string> style;
        std::string block;
    };
    const Case cases[] = {
        {"no link", station12(), std::nullopt, kStyle,
         "\r\n<Placemark>\r\n<name>Tower</name>\r\n<address>100 Main St,Ocean,QV 12345</address>"
         "\r\n<description>Station 12</description>\r\n" +
             kStyle + "\r\n</Placemark>"},
        {"link as HTML in CDATA", station12(), linkLineText("http://a.org/?x=1&y=2"), kStyle,
         "\r\n<Placemark>\r\n<name>Tower</name>\r\n<address>100 Main St,Ocean,QV 12345</address>"
         "\r\n<description><![CDATA[<br>Station 12</br><br><a href=\"http://a.org/?x=1&y=2\">"
         "Display Link</a></br>]]></description>\r\n" +
             kStyle + "\r\n</Placemark>"},
        {"no icon style file", station12(), std::nullopt, std::nullopt,
         "\r\n<Placemark>\r\n<name>Tower</name>\r\n<address>100 Main St,Ocean,QV 12345</address>"
         "\r\n<description>Station 12</description>\r\n</Placemark>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(addressPlacemark(c.entry, c.link, c.style), c.block) << c.what;
    }
}

TEST(AddressPlacemark, IconReferenceFromInstalledStyle) {
    const DataFileText style = readIconStyleFile(iconStyleFile());
    ASSERT_TRUE(style.text) << style.message;
    const std::string fragment =
        iconStyleFragment(*style.text, iconReference(addressIconFile("Tower")));
    const auto hrefs = elementTexts(fragment, "href");
    ASSERT_EQ(hrefs.size(), 1u) << fragment;
    EXPECT_TRUE(hrefs[0].ends_with("icons//towera.png")) << hrefs[0];
    // A folder name with XML's special characters still gives one well-formed reference.
    const std::string odd = iconStyleFragment("<a>IPIPIPIP</a><b>IPIPIPIP</b>", "/opt/R&D <x>");
    EXPECT_EQ(odd, "<a>/opt/R&amp;D &lt;x&gt;</a><b>/opt/R&amp;D &lt;x&gt;</b>");
}

// Whatever a paste brings into a field, the document stays well-formed and each text comes
// back out of it exactly as typed.
TEST(AddressPlacemark, HostileTextsCannotBreakTheDocument) {
    struct Case {
        AddressEntry entry;
        std::string link;
    };
    const Case cases[] = {
        {{"A & B", "Tower <1>", "1 Elm & Oak", "Ocean<City>", "Q&V", "</address>"},
         "http://x.org/a?b=1&c=\"2\""},
        {{"]]>", "]]>", "s", "c", "<!--", "-->"}, "]]><evil/>"},
        {{"Name", "Type", "St", "City", "\"QV\"", "'1'"}, "javascript:'<'"},
    };
    for (const Case& c : cases) {
        const std::string block = addressPlacemark(c.entry, linkLineText(c.link), std::nullopt);
        const std::string document = withDocumentEnd(withPlacemark({}, block));
        EXPECT_EQ(xmlWellFormednessError(document), std::nullopt) << document;
        EXPECT_EQ(elementTexts(document, "name").back(), c.entry.type);
        EXPECT_EQ(elementTexts(document, "address").back(),
                  c.entry.street + "," + c.entry.city + "," + c.entry.state + " " + c.entry.zip);
        EXPECT_EQ(elementTexts(document, "description").back(),
                  descriptionHtml({c.entry.name, linkLineText(c.link)}));
    }
}

TEST(AddressDocument, HandEditsStayAndLaterBlocksFollowThem) {
    const std::string block = addressPlacemark(station12(), std::nullopt, std::nullopt);
    // The user removed the head by hand and typed a note: the text is no longer empty, so no
    // second head is added, and the block goes at the very end.
    const std::string edited = "<!-- checked by J -->\n<kml>";
    EXPECT_EQ(withPlacemark(edited, block), edited + block);
    EXPECT_EQ(withPlacemark({}, block), addressDocumentHead() + block);
}

TEST(AddressDocument, FileLineEnds) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "\r\n"},
        {"a\r\nb", "a\r\nb\r\n"},
        {"a\nb\n", "a\r\nb\r\n\r\n"},
        {"a\rb", "a\r\nb\r\n"},
        {"a\r\n\r\nb", "a\r\n\r\nb\r\n"},
        {"\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9\r\n"},
    };
    for (const auto& [text, bytes] : cases) {
        EXPECT_EQ(addressFileBytes(text), bytes);
    }
}

TEST(AddressDocument, WellFormednessNamesLineAndColumn) {
    const std::string good = withDocumentEnd(
        withPlacemark({}, addressPlacemark(station12(), std::nullopt, std::nullopt)));
    struct Case {
        std::string text;
        std::string errorStart; // empty: well-formed
    };
    const Case cases[] = {
        {good, ""},
        {good + "\r\n", ""},
        {"<a>\n<b>\n</a>", "line 3, column 4: "},
        {"<a>\r\n  <b x=1/>\r\n</a>", "line 2, column 8: "},
        {"<a>fish & chips</a>", "line 1, column 10: "},
        {good + "<kml/>", "line 15, column 12: "},
        {"", "line 1, column 0: "},
        {"<kml>\n<!DOCTYPE kml>\n</kml>", "line 2, column "},
    };
    for (const Case& c : cases) {
        const auto error = xmlWellFormednessError(c.text);
        if (c.errorStart.empty()) {
            EXPECT_EQ(error, std::nullopt) << c.text;
        } else {
            ASSERT_TRUE(error.has_value()) << c.text;
            EXPECT_TRUE(error->starts_with(c.errorStart)) << *error;
            EXPECT_GT(error->size(), c.errorStart.size()) << "says what is wrong";
        }
    }
}

// Google Earth reads the 2.0 namespace the document declares; under the 2.2 namespace the
// same document must satisfy the OGC schema, so every element is where a reader expects it.
TEST(AddressDocument, ValidAgainstTheKmlSchema) {
    const DataFileText style = readIconStyleFile(iconStyleFile());
    ASSERT_TRUE(style.text);
    const std::string fragment =
        iconStyleFragment(*style.text, iconReference(addressIconFile("Camp")));
    std::string text = withPlacemark({}, addressPlacemark(station12(), std::nullopt, fragment));
    text = withPlacemark(text, addressPlacemark({"A & B", "Camp", "1 <St>", "c", "Q&V", "1"},
                                                linkLineText("http://x/?a=1&b=]]>"), fragment));
    text = withPlacemark(text, addressPlacemark(station12(), std::nullopt, std::nullopt));
    std::string bytes = addressFileBytes(withDocumentEnd(text));
    const std::string from = std::string("xmlns=\"") + kKml20Namespace + "\"";
    ASSERT_NE(bytes.find(from), std::string::npos);
    bytes.replace(bytes.find(from), from.size(), "xmlns=\"http://www.opengis.net/kml/2.2\"");
    test::TempDir dir;
    test::writeFile(dir / "list.kml", bytes);
    EXPECT_EQ(test::kmlSchemaErrors(dir / "list.kml"), "");
}

TEST(AddressData, StateListItems) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"QV\r\nAK\r\nAL\r\n", {"QV", "AK", "AL"}},
        {"\"QV\",\"AK\",\"AL\"", {"QV", "AK", "AL"}},
        {"QV, AK ,\n\n,FL\n", {"QV", "AK", "FL"}},
        {"\xEF\xBB\xBFQV\nAK", {"QV", "AK"}},
        {"\"A, B\" x,\"say \"\"hi\"\"\"", {"A, B", "say \"hi\""}},
        {"\"unclosed", {"unclosed"}},
        {"", {}},
    };
    for (const auto& [text, items] : cases) {
        EXPECT_EQ(parseStateList(text), items) << text;
    }
}

TEST(AddressData, InstalledFilesAndMissingOnes) {
    const DataFileText states = readStateListFile(stateListFile());
    ASSERT_TRUE(states.text) << states.message;
    const auto codes = parseStateList(*states.text);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.front(), "QV");

    test::TempDir dir;
    const std::pair<DataFileText, fs::path> missing[] = {
        {readStateListFile(dir / "states.txt"), dir / "states.txt"},
        {readIconStyleFile(dir / "iconpath.txt"), dir / "iconpath.txt"},
    };
    for (const auto& [result, file] : missing) {
        EXPECT_FALSE(result.text);
        EXPECT_NE(result.message.find(file.string()), std::string::npos) << result.message;
    }
}

} // namespace
} // namespace sw
