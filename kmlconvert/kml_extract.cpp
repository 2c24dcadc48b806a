#include "kmlconvert/kml_extract.h"

#include "coord/number_text.h"

#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>

#include <charconv>
#include <cmath>
#include <system_error>

namespace sw::kml {

namespace {

// No tuple is longer than this; a longer run of characters is not a tuple, and is not
// gathered further (a 25 MB run of letters must not become a 25 MB string).
constexpr std::size_t kLongestTuple = 160;

// An entity in a KML file is refused anyway; this only bounds what the reader does before
// the refusal can happen.
constexpr int kEntityExpansionLimit = 1024;

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
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value,
                                     std::chars_format::general);
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

const QString kGxNamespace = QStringLiteral("http://www.google.com/kml/ext/2.2");

bool isKmlNamespace(QStringView ns) {
    return ns.isEmpty() || ns.startsWith(u"http://earth.google.com/kml/") ||
           ns == u"http://www.opengis.net/kml/2.2";
}

Element classify(const QXmlStreamReader& reader) {
    const QStringView name = reader.name();
    const QStringView ns = reader.namespaceUri();
    if (ns == kGxNamespace) {
        if (name == u"Track") {
            return Element::Track;
        }
        if (name == u"coord") {
            return Element::TrackCoord;
        }
        return Element::Other;
    }
    if (!isKmlNamespace(ns)) {
        return Element::Other;
    }
    if (name == u"coordinates") {
        return Element::Coordinates;
    }
    if (name == u"Point") {
        return Element::Point;
    }
    if (name == u"LineString") {
        return Element::LineString;
    }
    if (name == u"LinearRing") {
        return Element::LinearRing;
    }
    if (name == u"outerBoundaryIs") {
        return Element::OuterBoundary;
    }
    if (name == u"innerBoundaryIs") {
        return Element::InnerBoundary;
    }
    return Element::Other;
}

class Extractor {
public:
    Extractor(const std::string& shownName, const VertexSink& sink)
        : shownName_(shownName), sink_(sink) {}

    Extraction run(QIODevice& input) {
        QXmlStreamReader reader(&input);
        reader.setEntityExpansionLimit(kEntityExpansionLimit);
        while (result_.ok()) {
            // Where the next token starts: the line of its first character.
            const long long lineBefore = reader.lineNumber();
            const auto token = reader.readNext();
            if (token == QXmlStreamReader::Invalid) {
                break;
            }
            if (token == QXmlStreamReader::EndDocument) {
                break;
            }
            handle(reader, token, lineBefore);
        }
        if (result_.ok() && reader.hasError()) {
            refuse(reader.lineNumber(),
                   "it is not well-formed XML: " + reader.errorString().toStdString());
        }
        if (result_.ok() && result_.vertexCount == 0) {
            refuse(0, "It holds no coordinates.");
        }
        return std::move(result_);
    }

private:
    void handle(const QXmlStreamReader& reader, QXmlStreamReader::TokenType token,
                long long lineBefore) {
        switch (token) {
        case QXmlStreamReader::DTD:
            if (!reader.entityDeclarations().isEmpty()) {
                refuse(reader.lineNumber(), "it declares entities, which KML files do not use.");
            }
            return;
        case QXmlStreamReader::StartElement:
            startElement(classify(reader), lineBefore);
            return;
        case QXmlStreamReader::EndElement:
            endElement(reader.lineNumber());
            return;
        case QXmlStreamReader::Characters:
            characters(reader.text(), lineBefore);
            return;
        default:
            // A comment or processing instruction between tuples separates them.
            if (inCoordinates()) {
                separate();
            }
            return;
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

    void characters(QStringView text, long long line) {
        if (stack_.empty()) {
            return;
        }
        if (stack_.back() == Element::Coordinates) {
            line_ = line;
            tuples(text);
        } else if (stack_.back() == Element::TrackCoord && trackDepth_ > 0) {
            for (QChar c : text) {
                if (coordText_.size() > kLongestTuple) {
                    break;
                }
                coordText_ += c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '?';
            }
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

    static bool isBlank(char16_t u) { return u == ' ' || u == '\t' || u == '\r' || u == '\n'; }

    // Works run by run (a run: characters between blanks), not character by character: a
    // perimeter's coordinates are millions of characters.
    void tuples(QStringView text) {
        const char16_t* p = text.utf16();
        const char16_t* const end = p + text.size();
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
            const char16_t* runEnd = p;
            while (runEnd < end && !isBlank(*runEnd)) {
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
            for (; p < runEnd; ++p) {
                if (tuple_.size() >= kLongestTuple) {
                    refuse(tupleLine_, "\"" + shortened(tuple_) + "\" is not a coordinate tuple.");
                    return;
                }
                tuple_ += *p < 0x80 ? static_cast<char>(*p) : '?';
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
        while (count < 4) {
            const std::size_t comma = text.find(',');
            numbers[count++] = text.substr(0, comma);
            if (comma == std::string_view::npos) {
                break;
            }
            text.remove_prefix(comma + 1);
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
            joined += (i ? "," : "") + std::string(numbers[i]);
        }
        vertex(joined, numbers, count, line);
    }

    // One tuple of `count` (up to 4 seen) number texts.
    void vertex(const std::string& text, const std::string_view* numbers, std::size_t count,
                long long line) {
        if (count < 2 || count > 3) {
            refuse(line, "\"" + shortened(text) +
                             "\" is not a coordinate tuple (longitude,latitude or "
                             "longitude,latitude,altitude).");
            return;
        }
        std::optional<double> values[3];
        for (std::size_t i = 0; i < count; ++i) {
            values[i] = wholeNumber(numbers[i]);
            if (!values[i]) {
                refuse(line, "\"" + shortened(text) + "\" is not a coordinate tuple: \"" +
                                 shortened(numbers[i]) + "\" is not a number.");
                return;
            }
        }
        const double longitude = *values[0];
        const double latitude = *values[1];
        if (longitude < -180 || longitude > 180) {
            refuse(line, "the longitude " + std::string(numbers[0]) +
                             " lies outside -180 to 180.");
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
            return n.size() > digits && n[digits] >= '0' && n[digits] <= '9' && !n.ends_with('.') &&
                   n.find_first_not_of("0123456789.", digits) == std::string_view::npos;
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
            rewritten_ += (i ? "," : "") + shortestText(*values[i]);
        }
        return rewritten_;
    }

    void refuse(long long line, const std::string& reason) {
        if (result_.ok()) {
            result_.refusal = refusalText(shownName_, line, reason);
        }
    }

    const std::string& shownName_;
    const VertexSink& sink_;
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
    QSaveFile out(QString::fromStdString(vertexPath));
    if (!out.open(QIODevice::WriteOnly)) {
        Extraction failed;
        failed.refusal = "Cannot write the vertex file " + vertexPath + ": " +
                         out.errorString().toStdString();
        return failed;
    }
    std::string buffer;
    constexpr std::size_t kBlock = 1 << 16;
    buffer.reserve(kBlock + 256);
    auto flush = [&] {
        out.write(buffer.data(), static_cast<qint64>(buffer.size()));
        buffer.clear();
    };
    Extraction result = extractCoordinates(kmlPath, [&](const Tuple& tuple) {
        buffer += "1,";
        buffer += tuple.text;
        buffer += "\r\n";
        if (buffer.size() >= kBlock) {
            flush();
        }
    }, shownName);
    if (!result.ok()) {
        out.cancelWriting();
        return result;
    }
    flush();
    if (!out.commit()) {
        result.refusal = "Cannot write the vertex file " + vertexPath + ": " +
                         out.errorString().toStdString();
    }
    return result;
}

} // namespace sw::kml
