#include "services/kml/kml_writer.h"

#include "services/base/program_folder.h"
#include "services/base/whole_file.h"
#include "services/kml/xml_text.h"

#include <cctype>
#include <fstream>
#include <sstream>
#include <utility>

namespace sw {
namespace {

namespace fs = std::filesystem;

// Replaces every occurrence of `from`, scanning once from left to right, so text that a
// replacement brings in is not searched again by this same placeholder.
void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    if (from.empty()) {
        return;
    }
    std::string result;
    result.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t hit = text.find(from); hit != std::string::npos;
         hit = text.find(from, start)) {
        result.append(text, start, hit - start);
        result.append(to);
        start = hit + from.size();
    }
    result.append(text, start, std::string::npos);
    text = std::move(result);
}

std::optional<std::string> readWholeFile(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    return std::move(bytes).str();
}

bool isWindowsFolder(const std::string& folder) {
    bool drive = folder.size() >= 2 && std::isalpha(static_cast<unsigned char>(folder[0])) != 0 &&
                 folder[1] == ':';
    return drive || folder.starts_with("\\\\");
}

} // namespace

std::string linkLineText(std::string_view userText) {
    std::string text(userText);
    replaceAll(text, "\"", "&quot;");
    return "<a href=\"" + text + "\">Display Link</a>";
}

std::string descriptionHtml(const std::vector<std::string>& lines) {
    std::string html;
    for (const auto& line : lines) {
        html += "<br>" + line + "</br>";
    }
    return html;
}

std::string iconReference(const std::string& iconFile) {
    return iconReference(programFolder(), iconFile);
}

std::string iconReference(const fs::path& programFolderPath, const std::string& iconFile) {
    std::string folder = programFolderPath.string();
    if (isWindowsFolder(folder)) {
        replaceAll(folder, "\\", "//");
        return folder + "//icons//" + iconFile;
    }
    std::error_code ec;
    fs::path absolute = fs::absolute(programFolderPath, ec);
    if (ec) {
        absolute = programFolderPath;
    }
    folder = absolute.lexically_normal().generic_string();
    if (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder + "//icons//" + iconFile;
}

std::string fillKmlTemplate(std::string_view templateText, const KmlValues& values) {
    // One scan of the template: each placeholder found there is replaced and the scan goes on
    // after it, so a value is never searched for placeholders (a storm named "XX" or a
    // description holding "YYY" reaches the document as typed). No two placeholders can
    // overlap in the template, so the order of this list only matters for clarity.
    const std::pair<std::string_view, std::string> replacements[] = {
        {"NNNNNNN", xmlText(values.placemarkName)}, {"QQQQQ", cdataSection(values.description)},
        {"YYY", xmlText(values.longitudeText)},     {"XX", xmlText(values.latitudeText)},
        {"ZZZZZ", xmlText(values.iconReference)},   {"<range>1000</range>", values.rangeElement},
    };
    std::string text;
    text.reserve(templateText.size() + 256);
    std::size_t pos = 0;
    while (pos < templateText.size()) {
        const std::string_view rest = templateText.substr(pos);
        bool replaced = false;
        for (const auto& [placeholder, value] : replacements) {
            if (rest.starts_with(placeholder)) {
                text += value;
                pos += placeholder.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            text += templateText[pos];
            ++pos;
        }
    }
    text += "\r\n";
    return text;
}

std::optional<std::string> AskLinkLine(Dialogs& dialogs) {
    if (!dialogs.askYesNo(kAskLinkQuestion, {}, Icon::Question)) {
        return std::nullopt;
    }
    const InputRequest prompt{kLinkPrompt, {}, {}};
    std::optional<std::string> text = dialogs.input(prompt);
    if (text && !text->empty()) {
        return linkLineText(*text);
    }
    if (!dialogs.askYesNo(kNoLinkQuestion, {}, Icon::Question)) {
        return std::nullopt;
    }
    for (;;) {
        text = dialogs.input(prompt);
        if (!text) {
            return std::nullopt;
        }
        if (!text->empty()) {
            return linkLineText(*text);
        }
    }
}

KmlWriteResult WriteKmlFromTemplate(Dialogs& dialogs, const std::string& templateName,
                                    const fs::path& outputPath, const std::string& placemarkName,
                                    const std::vector<std::string>& descriptionLines,
                                    const std::string& longitudeText,
                                    const std::string& latitudeText, const std::string& iconFile,
                                    const std::string& rangeElement) {
    const fs::path templatePath = programFolder() / "templates" / templateName;
    const std::optional<std::string> templateText = readWholeFile(templatePath);
    if (!templateText) {
        return {false, "The KML template " + templatePath.string() + " is missing or unreadable."};
    }

    auto cannotWrite = [&](const std::string& reason) {
        return KmlWriteResult{false, "Cannot write the KML file " + outputPath.string() + ": " +
                                         reason + "."};
    };
    if (outputPath.empty()) {
        return {false, "Cannot write the KML file: no file name was given."};
    }

    std::error_code ec;
    const fs::path target = fs::absolute(outputPath, ec);
    if (ec) {
        return cannotWrite(ec.message());
    }
    WholeFileWrite pending(target);
    if (!pending.problem().empty()) {
        return cannotWrite(pending.problem());
    }

    std::vector<std::string> lines = descriptionLines;
    if (std::optional<std::string> link = AskLinkLine(dialogs)) {
        lines.push_back(*link);
    }
    const KmlValues values{placemarkName, descriptionHtml(lines),  longitudeText,
                           latitudeText,  iconReference(iconFile), rangeElement};
    const std::string document = fillKmlTemplate(*templateText, values);

    if (const std::string problem = pending.commit(document); !problem.empty()) {
        return cannotWrite(problem);
    }
    return {true, {}};
}

} // namespace sw
