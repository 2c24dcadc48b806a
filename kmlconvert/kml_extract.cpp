#include "kmlconvert/kml_extract.h"

#include "coord/number_text.h"
#include "services/base/enclosed.h"
#include "services/base/whole_file.h"

#include <QFile>

#include <expat.h>

#include <charconv>
#include <cmath>
#include <memory>
#include <system_error>

namespace sw::kml {

namespace {

// No tuple is longer than this; a longer run of characters is not a tuple, and is not
// gathered further (a 25 MB run of letters must not become a 25 MB string).
constexpr std::size_t kLongestTuple = 160;

// How much of the file the XML parser is given at a time.
constexpr qint64 kReadBlock = 1 << 16;

std::string refusalText(const std::string& file, long long line, const std::string& reason) {
    std::string text = "The KML file " + file + " cannot be converted.\n";
    if (line > 0) {
        text += "Line " + std::to_string(line) + ": ";
    }
    return text + reason;
}

std::string shortened(std::string_view text) {
    if (text.size() > 40) {
        return std::string(text.substr(0, 40)) + "...";
    }
    return std::string(text);
}

// A whole text that is one finite decimal number (an exponent allowed, as XML doubles have
// one; no inf, nan or hexadecimal).
std::optional<double> wholeNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    if (text.empty()) {
        return std::nullopt;
    }
    double value = 0;
    auto [end, ec] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

enum class Element {
    Other,
    Coordinates,
    Point,
    LineString,
    LinearRing,
    OuterBoundary,
    InnerBoundary,
    Track,
    TrackCoord,
};

constexpr std::string_view kGxNamespace = "http://www.google.com/kml/ext/2.2";

// Separates an element's namespace from its local name in the names the parser reports; no
// name or namespace can hold it.
constexpr char kNamespaceSeparator = '\n';

bool isKmlNamespace(std::string_view ns) {
    return ns.empty() || ns.starts_with("http://earth.google.com/kml/") ||
           ns == "http://www.opengis.net/kml/2.2";
}

Element classify(std::string_view qualified) {
    const std::size_t cut = qualified.rfind(kNamespaceSeparator);
    const std::string_view ns =
        cut == std::string_view::npos ? std::string_view() : qualified.substr(0, cut);
    const std::string_view name =
        cut == std::string_view::npos ? qualified : qualified.substr(cut + 1);
    if (ns == kGxNamespace) {
        if (name == "Track") {
            return Element::Track;
        }
        if (name == "coord") {
            return Element::TrackCoord;
        }
        return Element::Other;
    }
    if (!isKmlNamespace(ns)) {
        return Element::Other;
    }
    if (name == "coordinates") {
        return Element::Coordinates;
    }
    if (name == "Point") {
        return Element::Point;
    }
    if (name == "LineString") {
        return Element::LineString;
    }
    if (name == "LinearRing") {
        return Element::LinearRing;
    }
    if (name == "outerBoundaryIs") {
        return Element::OuterBoundary;
    }
    if (name == "innerBoundaryIs") {
        return Element::InnerBoundary;
    }
    return Element::Other;
}

struct ParserFree {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

class Extractor {
public:
    Extractor(const std::string& shownName, const VertexSink& sink)
        : shownName_(shownName), sink_(sink) {}

    // Expat reads the file: it hands over the text of an element in pieces as it goes, so a
    // million-vertex coordinates element is never gathered whole.
    Extraction run(QIODevice& input) {
        const std::unique_ptr<XML_ParserStruct, ParserFree> owner(
            XML_ParserCreateNS(nullptr, kNamespaceSeparator));
        parser_ = owner.get();
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(parser_, &Extractor::onStart, &Extractor::onEnd);
        XML_SetCharacterDataHandler(parser_, &Extractor::onText);
        XML_SetCommentHandler(parser_, &Extractor::onComment);
        XML_SetProcessingInstructionHandler(parser_, &Extractor::onInstruction);
        XML_SetEntityDeclHandler(parser_, &Extractor::onEntity);
        while (result_.ok()) {
            void* buffer = XML_GetBuffer(parser_, static_cast<int>(kReadBlock));
            if (buffer == nullptr) {
                refuse(0, "It is too large to read.");
                break;
            }
            const qint64 read = input.read(static_cast<char*>(buffer), kReadBlock);
            if (read < 0) {
                refuse(0, "It cannot be read: " + input.errorString().toStdString() + ".");
                break;
            }
            const bool last = read == 0;
            if (XML_ParseBuffer(parser_, static_cast<int>(read), last) != XML_STATUS_OK) {
                if (result_.ok()) {
                    refuse(static_cast<long long>(XML_GetCurrentLineNumber(parser_)),
                           std::string("it is not well-formed XML: ") +
                               XML_ErrorString(XML_GetErrorCode(parser_)));
                }
                break;
            }
            if (last) {
                break;
            }
        }
        parser_ = nullptr;
        if (result_.ok() && result_.vertexCount == 0) {
            refuse(0, "It holds no coordinates.");
        }
        return std::move(result_);
    }

private:
    static Extractor& of(void* self) { return *static_cast<Extractor*>(self); }
    long long line() const { return static_cast<long long>(XML_GetCurrentLineNumber(parser_)); }

    static void onStart(void* self, const XML_Char* name, const XML_Char**) {
        of(self).startElement(classify(name), of(self).line());
    }
    static void onEnd(void* self, const XML_Char*) { of(self).endElement(of(self).line()); }
    static void onText(void* self, const XML_Char* text, int length) {
        of(self).characters(std::string_view(text, static_cast<std::size_t>(length)),
                            of(self).line());
    }
    // A comment or processing instruction between tuples separates them.
    static void onComment(void* self, const XML_Char*) { of(self).other(); }
    static void onInstruction(void* self, const XML_Char*, const XML_Char*) { of(self).other(); }
    static void onEntity(void* self, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                         const XML_Char*, const XML_Char*, const XML_Char*) {
        of(self).refuse(of(self).line(), "it declares entities, which KML files do not use.");
    }

    void other() {
        if (inCoordinates()) {
            separate();
        }
    }

    bool inCoordinates() const { return !stack_.empty() && stack_.back() == Element::Coordinates; }

    void startElement(Element element, long long line) {
        if (inCoordinates()) {
            separate(); // an element inside the coordinates (not KML) parts tuples
        }
        if (element == Element::Coordinates) {
            beginPart(coordinatesKind());
        } else if (element == Element::Track) {
            beginPart(PartKind::Track);
            ++trackDepth_;
        } else if (element == Element::TrackCoord) {
            coordText_.clear();
            coordLine_ = line;
        }
        stack_.push_back(element);
    }

    void endElement(long long line) {
        if (stack_.empty()) {
            return;
        }
        const Element element = stack_.back();
        stack_.pop_back();
        if (element == Element::Coordinates) {
            finishTuple();
            endPart();
        } else if (element == Element::Track) {
            --trackDepth_;
            endPart();
        } else if (element == Element::TrackCoord && trackDepth_ > 0 && partOpen_) {
            trackCoord(line);
        }
    }

    void characters(std::string_view text, long long line) {
        if (stack_.empty()) {
            return;
        }
        if (stack_.back() == Element::Coordinates) {
            line_ = line;
            tuples(text);
        } else if (stack_.back() == Element::TrackCoord && trackDepth_ > 0) {
            for (const char c : text) {
                if (coordText_.size() > kLongestTuple) {
                    break;
                }
                appendShown(coordText_, c);
            }
        }
    }

    // A character of UTF-8 text as tuples and messages keep it: anything beyond ASCII is no
    // part of a number, and shows as one "?" per character.
    static void appendShown(std::string& to, char c) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            to += c;
        } else if ((byte & 0xC0) != 0x80) {
            to += '?';
        }
    }

    // What drew the coordinates element about to open.
    PartKind coordinatesKind() const {
        if (stack_.empty()) {
            return PartKind::Other;
        }
        switch (stack_.back()) {
        case Element::Point:
            return PartKind::Point;
        case Element::LineString:
            return PartKind::Line;
        case Element::LinearRing: {
            const Element holder = stack_.size() > 1 ? stack_[stack_.size() - 2] : Element::Other;
            if (holder == Element::OuterBoundary) {
                return PartKind::OuterRing;
            }
            if (holder == Element::InnerBoundary) {
                return PartKind::InnerRing;
            }
            return PartKind::Ring;
        }
        default:
            return PartKind::Other;
        }
    }

    void beginPart(PartKind kind) {
        endPart();
        part_ = Part{};
        part_.kind = kind;
        part_.first = result_.vertexCount;
        partOpen_ = true;
        tuple_.clear();
        pendingBlank_ = false;
    }

    void endPart() {
        if (partOpen_ && part_.count > 0) {
            result_.parts.push_back(part_);
        }
        partOpen_ = false;
    }

    // ---- tuples of a coordinates element -------------------------------------------------
    // Tuples are separated by white space; blanks beside a comma belong to the tuple
    // ("-82.1, 29.6" is one tuple, as some tools write them).

    static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    // Works run by run (a run: characters between blanks), not character by character: a
    // perimeter's coordinates are millions of characters.
    void tuples(std::string_view text) {
        const char* p = text.data();
        const char* const end = p + text.size();
        while (p < end && result_.ok()) {
            if (isBlank(*p)) {
                if (*p == '\n') {
                    ++line_;
                }
                if (!tuple_.empty()) {
                    pendingBlank_ = true;
                }
                ++p;
                continue;
            }
            const char* runEnd = p;
            bool ascii = true;
            while (runEnd < end && !isBlank(*runEnd)) {
                ascii = ascii && static_cast<unsigned char>(*runEnd) < 0x80;
                ++runEnd;
            }
            // After a blank, a run starts a new tuple unless a comma joins it to the last.
            if (pendingBlank_ && tuple_.back() != ',' && *p != ',') {
                finishTuple();
            }
            pendingBlank_ = false;
            if (tuple_.empty()) {
                tupleLine_ = line_;
            }
            const auto length = static_cast<std::size_t>(runEnd - p);
            if (ascii && tuple_.size() + length <= kLongestTuple) {
                tuple_.append(p, length);
                p = runEnd;
                continue;
            }
            for (; p < runEnd; ++p) {
                if (tuple_.size() >= kLongestTuple) {
                    refuse(tupleLine_, enclosed(shortened(tuple_)) + " is not a coordinate tuple.");
                    return;
                }
                appendShown(tuple_, *p);
            }
        }
    }

    void separate() {
        if (!tuple_.empty()) {
            pendingBlank_ = true;
        }
    }

    void finishTuple() {
        if (tuple_.empty() || !result_.ok()) {
            return;
        }
        std::string_view text = tuple_;
        std::string_view numbers[4];
        std::size_t count = 0;
        std::size_t start = 0;
        for (std::size_t i = 0; count < 4; ++i) {
            if (i == text.size() || text[i] == ',') {
                numbers[count++] = text.substr(start, i - start);
                if (i == text.size()) {
                    break;
                }
                start = i + 1;
            }
        }
        vertex(tuple_, numbers, count, tupleLine_);
        tuple_.clear();
        pendingBlank_ = false;
    }

    // ---- positions of a track: "lon lat alt" ----------------------------------------------

    void trackCoord(long long line) {
        std::string_view text = coordText_;
        std::string_view numbers[4];
        std::size_t count = 0;
        std::size_t at = 0;
        while (count < 4) {
            at = text.find_first_not_of(" \t\r\n", at);
            if (at == std::string_view::npos) {
                break;
            }
            const std::size_t end = std::min(text.find_first_of(" \t\r\n", at), text.size());
            numbers[count++] = text.substr(at, end - at);
            at = end;
        }
        std::string joined;
        for (std::size_t i = 0; i < count; ++i) {
            if (i > 0) {
                joined += ',';
            }
            joined += numbers[i];
        }
        vertex(joined, numbers, count, line);
    }

    // One tuple of `count` (up to 4 seen) number texts.
    void vertex(const std::string& text, const std::string_view* numbers, std::size_t count,
                long long line) {
        if (count < 2 || count > 3) {
            refuse(line, enclosed(shortened(text)) +
                             " is not a coordinate tuple (longitude,latitude or "
                             "longitude,latitude,altitude).");
            return;
        }
        std::optional<double> values[3];
        for (std::size_t i = 0; i < count; ++i) {
            values[i] = wholeNumber(numbers[i]);
            if (!values[i]) {
                refuse(line, enclosed(shortened(text)) + " is not a coordinate tuple: " +
                                 enclosed(shortened(numbers[i])) + " is not a number.");
                return;
            }
        }
        const double longitude = *values[0];
        const double latitude = *values[1];
        if (longitude < -180 || longitude > 180) {
            refuse(line, "the longitude " + std::string(numbers[0]) + " lies outside -180 to 180.");
            return;
        }
        if (latitude < -90 || latitude > 90) {
            refuse(line, "the latitude " + std::string(numbers[1]) + " lies outside -90 to 90.");
            return;
        }
        if (!partOpen_) {
            beginPart(PartKind::Other);
        }
        if (part_.count == 0) {
            part_.firstLongitude = longitude;
            part_.firstLatitude = latitude;
        }
        part_.lastLongitude = longitude;
        part_.lastLatitude = latitude;
        ++part_.count;
        ++result_.vertexCount;
        if (sink_) {
            sink_(Tuple{plainText(text, numbers, values, count), longitude, latitude});
        }
    }

    // The tuple as it stood, unless a number is written in a form other readers of the vertex
    // file may take differently ("1e-05", "+82.5", ".5", "5."): such numbers are written out
    // plainly.
    std::string_view plainText(const std::string& text, const std::string_view* numbers,
                               const std::optional<double>* values, std::size_t count) {
        auto plain = [](std::string_view n) {
            const std::size_t digits = n.starts_with('-') ? 1 : 0;
            if (n.size() <= digits || n[digits] < '0' || n[digits] > '9' || n.ends_with('.')) {
                return false;
            }
            for (std::size_t i = digits; i < n.size(); ++i) {
                if ((n[i] < '0' || n[i] > '9') && n[i] != '.') {
                    return false;
                }
            }
            return true;
        };
        bool allPlain = true;
        for (std::size_t i = 0; i < count; ++i) {
            allPlain = allPlain && plain(numbers[i]);
        }
        if (allPlain) {
            return text;
        }
        rewritten_.clear();
        for (std::size_t i = 0; i < count; ++i) {
            if (i > 0) {
                rewritten_ += ',';
            }
            rewritten_ += shortestText(*values[i]);
        }
        return rewritten_;
    }

    void refuse(long long line, const std::string& reason) {
        if (result_.ok()) {
            result_.refusal = refusalText(shownName_, line, reason);
        }
        if (parser_ != nullptr) {
            XML_StopParser(parser_, XML_FALSE);
        }
    }

    const std::string& shownName_;
    const VertexSink& sink_;
    XML_Parser parser_ = nullptr;
    Extraction result_;
    std::vector<Element> stack_;
    int trackDepth_ = 0;
    Part part_;
    bool partOpen_ = false;

    std::string tuple_;
    bool pendingBlank_ = false;
    long long line_ = 0;
    long long tupleLine_ = 0;

    std::string coordText_;
    long long coordLine_ = 0;
    std::string rewritten_;
};

} // namespace

Extraction extractCoordinates(QIODevice& input, const std::string& shownName,
                              const VertexSink& sink) {
    return Extractor(shownName, sink).run(input);
}

Extraction extractCoordinates(const std::string& path, const VertexSink& sink,
                              const std::string& shownName) {
    const std::string& shown = shownName.empty() ? path : shownName;
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        Extraction failed;
        failed.refusal =
            refusalText(shown, 0, "It cannot be read: " + file.errorString().toStdString() + ".");
        return failed;
    }
    return extractCoordinates(file, shown, sink);
}

std::string vertexLine(const Tuple& tuple) {
    return "1," + std::string(tuple.text);
}

Extraction writeVertexFile(const std::string& kmlPath, const std::string& vertexPath,
                           const std::string& shownName) {
    WholeFileWrite out(vertexPath);
    if (!out.problem().empty()) {
        Extraction failed;
        failed.refusal = "Cannot write the vertex file " + vertexPath + ": " + out.problem();
        return failed;
    }
    std::string buffer;
    constexpr std::size_t kBlock = 1 << 16;
    buffer.reserve(kBlock + 256);
    auto flush = [&] {
        out.append(buffer); // a failure is kept and reported by commit()
        buffer.clear();
    };
    Extraction result = extractCoordinates(
        kmlPath,
        [&](const Tuple& tuple) {
            buffer += "1,";
            buffer += tuple.text;
            buffer += "\r\n";
            if (buffer.size() >= kBlock) {
                flush();
            }
        },
        shownName);
    if (!result.ok()) {
        return result; // the vertex file is left as it was
    }
    flush();
    if (std::string problem = out.commit(); !problem.empty()) {
        result.refusal = "Cannot write the vertex file " + vertexPath + ": " + problem;
    }
    return result;
}

} // namespace sw::kml
