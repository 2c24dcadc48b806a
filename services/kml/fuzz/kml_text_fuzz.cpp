// The KML text sanitiser on any bytes: what comes out is UTF-8 that XML can carry, sanitising
// twice changes nothing, escaped text holds no markup, and CDATA sections give back exactly
// the sanitised text.

#include "services/kml/xml_text.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Decodes strictly; false on anything that is not well-formed UTF-8 of characters XML allows.
bool xmlCharacters(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80   ? 1
                             : lead < 0xC2 ? 0
                             : lead < 0xE0 ? 2
                             : lead < 0xF0 ? 3
                             : lead < 0xF5 ? 4
                                           : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            if ((c & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (c & 0x3F);
        }
        const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) ||
            code == 0xFFFE || code == 0xFFFF ||
            (code < 0x20 && code != '\t' && code != '\n' && code != '\r')) {
            return false;
        }
        i += length;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string clean = sw::sanitizeXmlText(input);
    if (!xmlCharacters(clean) || sw::sanitizeXmlText(clean) != clean) {
        std::abort();
    }
    if (xmlCharacters(input) && clean != input) {
        std::abort(); // a text XML can carry is kept as it is
    }
    const std::string escaped = sw::xmlText(input);
    if (escaped.find('<') != std::string::npos || escaped.find('>') != std::string::npos) {
        std::abort();
    }
    // Sections one after another; their contents joined give the sanitised text.
    const std::string cdata = sw::cdataSection(input);
    constexpr std::string_view open = "<![CDATA[";
    std::string joined;
    std::size_t at = 0;
    while (at < cdata.size()) {
        if (cdata.compare(at, open.size(), open) != 0) {
            std::abort();
        }
        const std::size_t end = cdata.find("]]>", at + open.size());
        if (end == std::string::npos) {
            std::abort();
        }
        joined.append(cdata, at + open.size(), end - at - open.size());
        at = end + 3;
    }
    if (joined != clean) {
        std::abort();
    }
    return 0;
}
