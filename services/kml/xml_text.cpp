#include "services/kml/xml_text.h"

namespace sw {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

bool continuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Characters XML 1.0 cannot carry, not even as references.
bool xmlForbidden(char32_t code) {
    return (code < 0x20 && code != '\t' && code != '\n' && code != '\r') || code == 0xFFFE ||
           code == 0xFFFF;
}

} // namespace

std::string sanitizeXmlText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            if (!xmlForbidden(lead)) {
                out.push_back(static_cast<char>(lead));
            }
            ++i;
            continue;
        }
        // The length a lead byte announces, and the range its second byte must fall in: the
        // narrower ranges after E0, ED, F0 and F4 rule out overlong forms, surrogates and code
        // points past U+10FFFF.
        std::size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        }
        std::size_t good = length == 0 ? 0 : 1; // bytes that still form a valid beginning
        while (good != 0 && good < length && i + good < text.size()) {
            const auto c = static_cast<unsigned char>(text[i + good]);
            const bool fits = good == 1 ? (c >= low && c <= high) : continuation(c);
            if (!fits) {
                break;
            }
            ++good;
        }
        if (length == 0 || good < length) {
            out += kReplacement;
            i += good == 0 ? 1 : good;
            continue;
        }
        char32_t code = lead & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
        for (std::size_t k = 1; k < length; ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        if (!xmlForbidden(code)) {
            out.append(text.substr(i, length));
        }
        i += length;
    }
    return out;
}

std::string xmlText(std::string_view text) {
    const std::string clean = sanitizeXmlText(text);
    std::string out;
    out.reserve(clean.size());
    for (char ch : clean) {
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += ch;
        }
    }
    return out;
}

std::string cdataSection(std::string_view text) {
    const std::string clean = sanitizeXmlText(text);
    std::string out = "<![CDATA[";
    out.reserve(clean.size() + 12);
    for (std::size_t i = 0; i < clean.size(); ++i) {
        out.push_back(clean[i]);
        if (clean[i] == ']' && i + 1 < clean.size() && clean[i + 1] == ']') {
            out += "]]><![CDATA[";
        }
    }
    out += "]]>";
    return out;
}

} // namespace sw
