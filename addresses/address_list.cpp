#include "addresses/address_list.h"

#include "services/base/program_folder.h"
#include "services/kml/kml_writer.h"

#include <QByteArray>
#include <QFile>
#include <QXmlStreamReader>

#include <array>
#include <utility>

namespace sw {
namespace {

constexpr const char* kCrLf = "\r\n";

std::string replaced(std::string_view text, std::string_view from, std::string_view to) {
    std::string result;
    std::size_t start = 0;
    for (std::size_t hit = text.find(from); hit != std::string_view::npos;
         hit = text.find(from, start)) {
        result.append(text.substr(start, hit - start));
        result.append(to);
        start = hit + from.size();
    }
    result.append(text.substr(start));
    return result;
}

std::optional<std::string> readBytes(const std::filesystem::path& file) {
    QFile in(QString::fromStdString(file.string()));
    if (!in.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return bytes.toStdString();
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

const std::vector<std::string>& addressTypes(AddressCategory category) {
    static const std::vector<std::string> tarn = {"Accident",
                                                  "Boundary Corner",
                                                  "Building",
                                                  "Forestry Center",
                                                  "Forestry Site",
                                                  "Forestry Station",
                                                  "Parcel",
                                                  "Residence",
                                                  "Smoke Sensitive Feature",
                                                  "State Forest Headquarters",
                                                  "Tower",
                                                  "Other"};
    static const std::vector<std::string> ics = {
        "Aerial Hazard",    "Camp",         "Fire Origin",   "First Aid Station",
        "Helibase",         "Hot Spot",     "Incident Base", "Incident Command Post",
        "Mobile WEAX Unit", "Staging Area", "Tanker Base",   "Water Source",
        "DOT Fuel Site",    "Residence",    "Other"};
    static const std::vector<std::string> start = {"Area Command",
                                                   "Federal Incident Command Team",
                                                   "Forestry Air Depot",
                                                   "Incident",
                                                   "Incident Command Post",
                                                   "Other Address",
                                                   "Residence",
                                                   "Resource",
                                                   "Staging Area",
                                                   "State Incident Command Team",
                                                   "DOT Fuel Station"};
    switch (category) {
    case AddressCategory::Tarn:
        return tarn;
    case AddressCategory::Ics:
        return ics;
    case AddressCategory::Start:
        break;
    }
    return start;
}

std::string addressIconFile(std::string_view type) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 20> icons{{
        {"Aerial Hazard", "av_obstaclea.png"},
        {"Camp", "campa.png"},
        {"Fire Origin", "fire_origina.png"},
        {"Helibase", "helibasea.png"},
        {"DOT Fuel Site", "dot_logo.png"},
        {"Hot Spot", "hot_spotA.png"},
        {"Incident Base", "incident_basea.png"},
        {"Incident Command Post", "icsa.png"},
        {"Mobile WEAX Unit", "weaxa.png"},
        {"Staging Area", "staginga.png"},
        {"Water Source", "water_sourcea.png"},
        {"Forestry Center", "SHIELD.png"},
        {"Forestry Site", "SHIELD.png"},
        {"Forestry Station", "SHIELD.png"},
        {"State Forest Headquarters", "SHIELD.png"},
        {"Smoke Sensitive Feature", "ssf.png"},
        {"Tanker Base", "tanker_base.png"},
        {"First Aid Station", "faids.png"},
        {"Accident", "accident.png"},
        {"Tower", "towera.png"},
    }};
    for (const auto& [known, icon] : icons) {
        if (known == type) {
            return std::string(icon);
        }
    }
    return "other.png";
}

std::optional<MissingAddressValue> firstMissingValue(const AddressEntry& entry) {
    const std::array<std::pair<const std::string*, MissingAddressValue>, 6> checks{{
        {&entry.name, {AddressField::Name, "Enter Facility Name"}},
        {&entry.type, {AddressField::Type, "Select Facility Type"}},
        {&entry.street, {AddressField::Street, "Please Enter Street Name and Number"}},
        {&entry.city, {AddressField::City, "Please Enter the City or Town"}},
        {&entry.state, {AddressField::State, "Please Select the State"}},
        {&entry.zip, {AddressField::Zip, "Please Enter the Zip Code"}},
    }};
    for (const auto& [value, missing] : checks) {
        if (value->empty()) {
            return missing;
        }
    }
    return std::nullopt;
}

std::string addressDocumentHead() {
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>") + kCrLf + "<kml xmlns=\"" +
           kKml20Namespace + "\">" + kCrLf + "<Document>" + kCrLf + "<name>Address List</name>" +
           kCrLf + "<Folder>" + kCrLf + "<name>Locations</name>" + kCrLf + "<open>1</open>";
}

std::string addressDocumentEnd() {
    return std::string(kCrLf) + "</Folder>" + kCrLf + "</Document>" + kCrLf + "</kml>";
}

std::string iconStyleFragment(std::string_view fragmentTemplate, std::string_view iconReference) {
    return replaced(fragmentTemplate, "IPIPIPIP", xmlText(iconReference));
}

std::string addressPlacemark(const AddressEntry& entry, const std::optional<std::string>& linkLine,
                             const std::optional<std::string>& iconStyle) {
    const std::string description =
        linkLine ? cdataSection(descriptionHtml({entry.name, *linkLine})) : xmlText(entry.name);
    std::string block;
    block += kCrLf;
    block += "<Placemark>";
    block += kCrLf;
    block += "<name>" + xmlText(entry.type) + "</name>";
    block += kCrLf;
    block += "<address>" + xmlText(entry.street) + "," + xmlText(entry.city) + "," +
             xmlText(entry.state) + " " + xmlText(entry.zip) + "</address>";
    block += kCrLf;
    block += "<description>" + description + "</description>";
    if (iconStyle) {
        block += kCrLf;
        block += *iconStyle;
    }
    block += kCrLf;
    block += "</Placemark>";
    return block;
}

std::string withPlacemark(std::string_view documentText, std::string_view block) {
    std::string text = documentText.empty() ? addressDocumentHead() : std::string(documentText);
    text += block;
    return text;
}

std::string withDocumentEnd(std::string_view documentText) {
    return std::string(documentText) + addressDocumentEnd();
}

std::string addressFileBytes(std::string_view documentText) {
    std::string bytes;
    bytes.reserve(documentText.size() + documentText.size() / 16 + 2);
    for (std::size_t i = 0; i < documentText.size(); ++i) {
        const char c = documentText[i];
        if (c == '\r') {
            if (i + 1 < documentText.size() && documentText[i + 1] == '\n') {
                ++i;
            }
            bytes += kCrLf;
        } else if (c == '\n') {
            bytes += kCrLf;
        } else {
            bytes += c;
        }
    }
    bytes += kCrLf;
    return bytes;
}

std::optional<std::string> xmlWellFormednessError(std::string_view text) {
    QXmlStreamReader reader(
        QByteArray::fromRawData(text.data(), static_cast<qsizetype>(text.size())));
    bool rootStarted = false;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        rootStarted = rootStarted || token == QXmlStreamReader::StartElement;
        // Qt's reader lets a document type declaration through after the root has started;
        // XML (and Google Earth) do not.
        if (token == QXmlStreamReader::DTD && rootStarted) {
            reader.raiseError(
                QStringLiteral("a document type declaration must come before the root element"));
        }
    }
    if (!reader.hasError()) {
        return std::nullopt;
    }
    return "line " + std::to_string(reader.lineNumber()) + ", column " +
           std::to_string(reader.columnNumber()) + ": " + reader.errorString().toStdString();
}

std::filesystem::path stateListFile() {
    return programFolder() / "states.txt";
}

std::filesystem::path iconStyleFile() {
    return programFolder() / "iconpath.txt";
}

namespace {

DataFileText readDataFile(const std::filesystem::path& file, const std::string& what,
                          const char* withoutIt) {
    DataFileText result{readBytes(file), {}};
    if (!result.text) {
        result.message = what + " " + file.string() + " is missing or unreadable. " + withoutIt;
    }
    return result;
}

} // namespace

DataFileText readStateListFile(const std::filesystem::path& file) {
    return readDataFile(file, "The state list", "Type the state code instead.");
}

DataFileText readIconStyleFile(const std::filesystem::path& file) {
    return readDataFile(file, "The icon style", "The placemarks are built without icons.");
}

std::vector<std::string> parseStateList(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    std::vector<std::string> items;
    std::size_t i = 0;
    auto atSeparator = [&] { return text[i] == ',' || text[i] == '\r' || text[i] == '\n'; };
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i])) {
            ++i;
        }
        std::string item;
        if (i < text.size() && text[i] == '"') {
            for (++i; i < text.size(); ++i) {
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        item += '"';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i];
            }
            // Anything between the closing quote and the separator is not part of the item.
            while (i < text.size() && !atSeparator()) {
                ++i;
            }
        } else {
            while (i < text.size() && !atSeparator()) {
                item += text[i++];
            }
            while (!item.empty() && isBlank(item.back())) {
                item.pop_back();
            }
        }
        if (!item.empty()) {
            items.push_back(std::move(item));
        }
        if (i < text.size()) {
            ++i; // the separator
        }
    }
    return items;
}

} // namespace sw
