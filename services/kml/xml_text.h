#pragma once
// Texts made fit for an XML document. Whatever a user typed or a file held, the document stays
// well-formed: every text goes through sanitizeXmlText first.

#include <string>
#include <string_view>

namespace sw {

// `text` as well-formed UTF-8 that XML 1.0 can carry: each invalid byte sequence (a stray
// continuation byte, a cut-off character, an overlong form, an encoded surrogate, a code point
// beyond U+10FFFF) becomes one U+FFFD per maximal bad part, and the characters XML forbids
// (C0 controls other than tab, line feed and carriage return; U+FFFE, U+FFFF) are dropped.
std::string sanitizeXmlText(std::string_view text);

// The sanitised text escaped for XML character data (& < >).
std::string xmlText(std::string_view text);

// The sanitised text as one or more CDATA sections. A section never holds "]]" (a pair is
// split across two sections), so no "]]>" can end one early, whatever text is put next to it.
std::string cdataSection(std::string_view text);

} // namespace sw
