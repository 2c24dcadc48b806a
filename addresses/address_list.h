#pragma once
// The address list for Google Earth: typed street addresses, each one placemark without
// coordinates that Google Earth geocodes when it opens the file. The window builds the
// document text a placemark at a time, lets the user edit it by hand, and writes it whole.
// Everything here takes and returns texts; the window only wires its controls to it.
//
// The document declares the KML 2.0 namespace: Google Earth reads it, and the lists people
// have kept over the years use it, so a new list looks like the old ones.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

inline constexpr const char* kKml20Namespace = "http://earth.google.com/kml/2.0";

// The category options; Start is the list shown before any category is chosen (and after
// every reset).
enum class AddressCategory { Start, Tarn, Ics };

// The types offered for a category, in display order.
const std::vector<std::string>& addressTypes(AddressCategory category);

// The placemark icon for a type: an exact, case-sensitive match ("tower" is not "Tower"),
// "other.png" for everything else.
std::string addressIconFile(std::string_view type);

// One facility as the window shows it.
struct AddressEntry {
    std::string name;
    std::string type;
    std::string street;
    std::string city;
    std::string state;
    std::string zip;
};

// The fields the preview checks, in the order it checks them.
enum class AddressField { Name, Type, Street, City, State, Zip };

struct MissingAddressValue {
    AddressField field;
    std::string message;
};

// The first empty field and what to tell the user, or nothing when the entry is complete.
std::optional<MissingAddressValue> firstMissingValue(const AddressEntry& entry);

// The seven head lines (CR LF between them, none after the last).
std::string addressDocumentHead();
// CR LF, then the three closing lines (none after the last).
std::string addressDocumentEnd();

// The icon style: the installed fragment with every IPIPIPIP replaced by the icon reference
// (escaped, so a program folder with "&" in its name still gives a well-formed document).
std::string iconStyleFragment(std::string_view fragmentTemplate, std::string_view iconReference);

// One placemark block: CR LF before each of its lines. The name, type, street, city, state
// and ZIP texts are escaped as XML text; with a link the description is HTML and travels in a
// CDATA section, as in the program's other KML documents. Without an icon style (the file is
// missing) the block has no style line.
//
// The elements follow the order the KML schema gives them (name, address, description, style),
// which every reader accepts.
std::string addressPlacemark(const AddressEntry& entry, const std::optional<std::string>& linkLine,
                             const std::optional<std::string>& iconStyle);

// The document text with one more placemark at its very end: an empty text gets the head
// first. Whatever is there already (hand edits included) is kept as it is.
std::string withPlacemark(std::string_view documentText, std::string_view block);
// The document text with the closing lines at its very end.
std::string withDocumentEnd(std::string_view documentText);

// The bytes of the file: every line end (CR LF, LF or a lone CR, as a text box may hand them
// back) written as CR LF, and a final CR LF.
std::string addressFileBytes(std::string_view documentText);

// Where the text is not well-formed XML, as "line N, column M: what is wrong"; nothing when
// it is. Hand edits are checked with this before the file is written.
std::optional<std::string> xmlWellFormednessError(std::string_view text);

// The installed data the window reads, in the program's folder.
std::filesystem::path stateListFile();
std::filesystem::path iconStyleFile();

// The text of an installed data file, or a message for the user that names the file and says
// what the window does without it.
struct DataFileText {
    std::optional<std::string> text;
    std::string message;
};
DataFileText readStateListFile(const std::filesystem::path& file);
DataFileText readIconStyleFile(const std::filesystem::path& file);

// The state codes of the list: items separated by commas or line ends, each optionally in
// double quotes (a doubled quote inside stands for one); blanks around an item and empty items
// are dropped.
std::vector<std::string> parseStateList(std::string_view text);

} // namespace sw
