#pragma once
// The code page of an attribute table's texts. New shapefiles are written in UTF-8 and say so
// in their .cpg; a shapefile made elsewhere keeps its own code page when records are added,
// so its old and new texts read alike: the one its .cpg names, else the one its dBASE header's
// language driver byte names, else Windows-1252, the code page such files were written in.

#include <optional>
#include <string>
#include <string_view>

namespace sw {

class CodePage {
public:
    // UTF-8, the code page of new files.
    CodePage() = default;

    // The code page a .cpg file's text names ("UTF-8", "ISO-8859-1", "1252", "ANSI 1252",
    // "CP1252", "88591", ...); nothing for a name this system cannot encode in.
    static std::optional<CodePage> fromCpg(std::string_view cpgText);
    // The code page a dBASE language driver byte names; Windows-1252 for 0 and unknown bytes.
    static CodePage fromLanguageDriver(unsigned char driver);

    // The name iconv knows it by ("UTF-8", "ISO-8859-1", "CP1252").
    const std::string& name() const { return name_; }
    bool isUtf8() const { return name_ == "UTF-8"; }

    // A UTF-8 text in this code page, cut to at most `width` bytes between characters. Nothing
    // (and a message naming the character in `error`) when a character has no place in this
    // code page or the text is not UTF-8.
    std::optional<std::string> encode(std::string_view utf8, std::size_t width,
                                      std::string& error) const;

private:
    explicit CodePage(std::string name) : name_(std::move(name)) {}

    std::string name_ = "UTF-8";
};

} // namespace sw
