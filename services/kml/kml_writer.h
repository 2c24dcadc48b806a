#pragma once
// One-placemark KML documents built from the templates installed with the program.
//
// A template is a KML document in programFolder()/templates that carries placeholders, each
// standing as the whole text of an element:
//     NNNNNNN  placemark name            QQQQQ  description (HTML lines)
//     YYY      longitude text            XX     latitude text
//     ZZZZZ    icon reference            <range>1000</range>  the view-range element
// The writer replaces them in one scan of the template: what it puts in is never searched
// again, so every value reaches the document exactly as typed (a name "Camp XX" stays
// "Camp XX", a description mentioning "YYY" keeps it).
//
// Values are made safe for the place they go: the name, the coordinate texts and the icon
// reference are escaped as XML text (& < >), and the description travels in a CDATA section,
// so its HTML (and a pasted link full of "&") reaches Google Earth unchanged and can never
// break the document. The range element is the caller's own markup and goes in as given.
//
// The document is written whole or not at all: it is built in memory and moved over the
// target in one rename, so a missing template, a target that cannot be written or a full
// disk leaves no file behind, and an older file at the target stays as it was.

#include "services/base/dialogs.h"
#include "services/kml/xml_text.h" // xmlText, cdataSection: every text of a document goes through them

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

// The view range most callers use (metres from the point).
inline constexpr const char* kDefaultRangeElement = "<range>5000</range>";

// File-dialog settings for choosing a KML output.
inline constexpr const char* kKmlFileFilter = "KML Files(*.kml)|*.kml";
inline constexpr const char* kKmlDefaultExtension = ".kml";
inline constexpr int kKmlFilterIndex = 2;

// The texts of the link dialogue.
inline constexpr const char* kAskLinkQuestion = "Add Image or Web link?";
inline constexpr const char* kLinkPrompt = "Enter Web link (include 'http://') or Image Path";
inline constexpr const char* kNoLinkQuestion = "No Link Entered - Add Image or Web link?";

struct KmlWriteResult {
    bool ok = false;
    // Empty on success; otherwise one sentence for the user that names the file concerned.
    std::string message;

    explicit operator bool() const { return ok; }
};

// Builds the document from `templateName` and writes it to `outputPath`, replacing any file
// there; runs the link dialogue on the way (after the template has been read and the target
// found writable, so a failed write never follows a question for nothing). Shows nothing
// else: a failure comes back as the result's message.
KmlWriteResult WriteKmlFromTemplate(Dialogs& dialogs, const std::string& templateName,
                                    const std::filesystem::path& outputPath,
                                    const std::string& placemarkName,
                                    const std::vector<std::string>& descriptionLines,
                                    const std::string& longitudeText,
                                    const std::string& latitudeText, const std::string& iconFile,
                                    const std::string& rangeElement = kDefaultRangeElement);

// Asks whether to add a web or image link and for its text, until the user gives one, says
// No, or cancels. Returns the link line (linkLineText of the entered text), or nothing.
std::optional<std::string> AskLinkLine(Dialogs& dialogs);

// "<a href=\"TEXT\">Display Link</a>". A double quote in the text would end the attribute
// early, so it goes in as &quot;; everything else is kept as typed.
std::string linkLineText(std::string_view userText);

// Each line as "<br>" + line + "</br>", joined with nothing in between.
std::string descriptionHtml(const std::vector<std::string>& lines);

// The icon reference for an icon file in the "icons" folder of `programFolderPath`
// (default: programFolder()): the folder, then "//icons//" and the file name, with every "\"
// of a Windows folder written as "//": C:\Apps\Site -> C://Apps//Site//icons//campa.png,
// /opt/site ward -> /opt/site ward//icons//campa.png. Google Earth takes either as a path.
std::string iconReference(const std::string& iconFile);
std::string iconReference(const std::filesystem::path& programFolderPath,
                          const std::string& iconFile);

// The values of one document, as they go into the template.
struct KmlValues {
    std::string placemarkName;
    std::string description; // HTML, see descriptionHtml
    std::string longitudeText;
    std::string latitudeText;
    std::string iconReference;
    std::string rangeElement = kDefaultRangeElement;
};

// The finished document text: the template with its placeholders replaced (values are not
// rescanned), followed by CR LF.
std::string fillKmlTemplate(std::string_view templateText, const KmlValues& values);

} // namespace sw
