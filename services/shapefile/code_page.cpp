#include "services/shapefile/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <string>

#include "services/base/enclosed.h"
#include "services/base/no_case.h"

namespace sw {
namespace {

bool isDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// One conversion from UTF-8; closed when it goes.
class Converter {
public:
    explicit Converter(const std::string& to) : cd_(iconv_open(to.c_str(), "UTF-8")) {}
    ~Converter() {
        if (ok()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // One character's bytes in the target code page; nothing when it has no place there.
    std::optional<std::string> convert(std::string_view character) {
        std::string in(character);
        char out[16];
        char* inPtr = in.data();
        std::size_t inLeft = in.size();
        char* outPtr = out;
        std::size_t outLeft = sizeof out;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
            inLeft != 0) {
            return std::nullopt;
        }
        // Some code pages end with a shift back to their start state.
        if (iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            return std::nullopt;
        }
        return std::string(out, static_cast<std::size_t>(outPtr - out));
    }

private:
    iconv_t cd_;
};

// The length of the UTF-8 character starting at text[0]; 0 when it is not one.
std::size_t characterLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xC2 ? 0
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF5 ? 4
                                             : 0;
    if (length == 0 || length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

} // namespace

std::optional<CodePage> CodePage::fromCpg(std::string_view cpgText) {
    // Spelling varies between programs: compare without case, blanks, "-" or "_".
    std::string key;
    for (char c : cpgText) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '-' && c != '_') {
            key.push_back(upperAscii(c));
        }
    }
    std::string name;
    if (key == "UTF8" || key == "65001") {
        name = "UTF-8";
    } else if (key == "LATIN1") {
        name = "ISO-8859-1";
    } else if (key.starts_with("ISO8859") && isDigits(key.substr(7))) {
        name = "ISO-8859-" + key.substr(7);
    } else if (key.starts_with("8859") && isDigits(key.substr(4))) {
        name = "ISO-8859-" + key.substr(4);
    } else if (key.starts_with("ISO") && key.size() > 7 && key.substr(3, 4) == "8859") {
        name = "ISO-8859-" + key.substr(7);
    } else if (key.starts_with("ANSI") && isDigits(key.substr(4))) {
        name = "CP" + key.substr(4);
    } else if (key.starts_with("WINDOWS") && isDigits(key.substr(7))) {
        name = "CP" + key.substr(7);
    } else if (key.starts_with("CP") && isDigits(key.substr(2))) {
        name = key;
    } else if (isDigits(key)) {
        // Numbers name Windows code pages, and 8859N the ISO ones ("88591").
        name = key.starts_with("8859") ? "ISO-8859-" + key.substr(4) : "CP" + key;
    } else {
        name = std::string(cpgText.substr(0, cpgText.find_last_not_of(" \t\r\n") + 1));
    }
    if (name.empty() || !Converter(name).ok()) {
        return std::nullopt;
    }
    return CodePage(name);
}

CodePage CodePage::fromLanguageDriver(unsigned char driver) {
    switch (driver) {
    case 0x01:
        return CodePage("CP437");
    case 0x02:
        return CodePage("CP850");
    case 0x13:
        return CodePage("CP932");
    case 0x26:
    case 0x65:
        return CodePage("CP866");
    case 0x4D:
    case 0x7A:
        return CodePage("CP936");
    case 0x4E:
    case 0x79:
        return CodePage("CP949");
    case 0x4F:
    case 0x78:
        return CodePage("CP950");
    case 0x50:
    case 0x7C:
        return CodePage("CP874");
    case 0x64:
        return CodePage("CP852");
    case 0x7D:
        return CodePage("CP1255");
    case 0x7E:
        return CodePage("CP1256");
    case 0xC8:
        return CodePage("CP1250");
    case 0xC9:
        return CodePage("CP1251");
    case 0xCA:
        return CodePage("CP1254");
    case 0xCB:
        return CodePage("CP1253");
    default:
        return CodePage("CP1252"); // 0x03, 0x57 and files that say nothing
    }
}

std::optional<std::string> CodePage::encode(std::string_view utf8, std::size_t width,
                                            std::string& error) const {
    std::string out;
    Converter converter(name_);
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = characterLength(utf8.substr(i));
        if (length == 0) {
            error = "the text is not UTF-8 at byte " + std::to_string(i + 1);
            return std::nullopt;
        }
        const std::string_view character = utf8.substr(i, length);
        std::optional<std::string> bytes;
        if (isUtf8()) {
            bytes = std::string(character);
        } else if (converter.ok()) {
            bytes = converter.convert(character);
        }
        if (!bytes) {
            error = enclosed(character) + " cannot be written in the code page " + name_;
            return std::nullopt;
        }
        if (out.size() + bytes->size() > width) {
            break; // the column is full: the text is cut between characters
        }
        out += *bytes;
        i += length;
    }
    return out;
}

} // namespace sw
