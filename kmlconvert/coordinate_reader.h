#pragma once
// What the KML and GPX readers share: expat fed block by block, so a file of a million
// vertices is never gathered whole; the parts (drawings) and vertices found; each vertex
// checked (two or three finite numbers, longitude -180..180, latitude -90..90) and handed to
// the sink in document order; and the refusal, naming the file and the line. A file that
// declares entities, or uses one it does not define, is refused: drawings have no use for
// them, and expanding them is how a small file ("billion laughs") eats all memory.

#include "kmlconvert/kml_extract.h"

#include <expat.h>

#include <string>
#include <string_view>

class QFile;
class QIODevice;

namespace sw::kml {

// Opens `path` for reading into `file`, whatever bytes its name holds (a folder name that is
// not UTF-8 cannot pass through a QString). Empty on success, otherwise the system's reason.
std::string openForReading(QFile& file, const std::string& path);

// "The KML file /d/f.kml cannot be converted.\nLine 3: ..." (`format`: "KML", "GPX").
std::string refusalText(std::string_view format, const std::string& file, long long line,
                        const std::string& reason);

// A whole text that is one finite decimal number (an exponent allowed; no inf, nan or
// hexadecimal, no sign after a plus).
std::optional<double> wholeNumber(std::string_view text);

// A text cut to 40 characters for a message.
std::string shortened(std::string_view text);

// A character of UTF-8 text as tuples and messages keep it: anything beyond ASCII is no part
// of a number, and shows as one "?" per character.
void appendShown(std::string& to, char c);

// No tuple is longer than this; a longer text is not a tuple, and is not gathered further (a
// 25 MB run of letters must not become a 25 MB string).
inline constexpr std::size_t kLongestTuple = 160;

// Separates an element's namespace from its local name in the names the parser reports; no
// name or namespace can hold it.
inline constexpr char kNamespaceSeparator = '\n';

// The namespace and the local name of a name the parser reported.
std::pair<std::string_view, std::string_view> splitName(std::string_view qualified);

class CoordinateReader {
public:
    CoordinateReader(std::string_view format, const std::string& shownName, const VertexSink& sink)
        : format_(format), shownName_(shownName), sink_(sink) {}
    virtual ~CoordinateReader() = default;
    CoordinateReader(const CoordinateReader&) = delete;
    CoordinateReader& operator=(const CoordinateReader&) = delete;

    Extraction run(QIODevice& input);

protected:
    virtual void startElement(std::string_view name, const XML_Char** attributes,
                              long long line) = 0;
    virtual void endElement(long long line) = 0;
    virtual void characters(std::string_view text, long long line) = 0;
    // A comment or processing instruction.
    virtual void other() {}
    // Called once the whole file was read well-formed.
    virtual void finished() {}

    long long line() const;
    bool ok() const { return result_.ok(); }
    bool partOpen() const { return partOpen_; }
    std::size_t vertexCount() const { return result_.vertexCount; }

    void beginPart(PartKind kind);
    void endPart();
    // One position of `count` (up to 4 seen) number texts; `text` is the tuple as written,
    // "lon,lat[,alt]".
    void vertex(const std::string& text, const std::string_view* numbers, std::size_t count,
                long long line);
    void refuse(long long line, const std::string& reason);

private:
    static CoordinateReader& of(void* self) { return *static_cast<CoordinateReader*>(self); }
    static void onStart(void* self, const XML_Char* name, const XML_Char** attributes);
    static void onEnd(void* self, const XML_Char*);
    static void onText(void* self, const XML_Char* text, int length);
    static void onComment(void* self, const XML_Char*);
    static void onInstruction(void* self, const XML_Char*, const XML_Char*);
    static void onEntity(void* self, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                         const XML_Char*, const XML_Char*, const XML_Char*);
    static void onSkippedEntity(void* self, const XML_Char* name, int parameter);
    std::string_view plainText(const std::string& text, const std::string_view* numbers,
                               const std::optional<double>* values, std::size_t count);

    std::string_view format_;
    const std::string& shownName_;
    const VertexSink& sink_;
    XML_Parser parser_ = nullptr;
    Extraction result_;
    Part part_;
    bool partOpen_ = false;
    std::string rewritten_;
};

} // namespace sw::kml
