#include "kmlconvert/kml_extract.h"

#include "kmlconvert/coordinate_reader.h"
#include "kmlconvert/gpx_extract.h"
#include "services/base/enclosed.h"
#include "services/base/whole_file.h"

#include <QFile>

#include <algorithm>
#include <cctype>

namespace sw::kml {

namespace {

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
    LatLonQuad,
};

constexpr std::string_view kGxNamespace = "http://www.google.com/kml/ext/2.2";

bool isKmlNamespace(std::string_view ns) {
    return ns.empty() || ns.starts_with("http://earth.google.com/kml/") ||
           ns == "http://www.opengis.net/kml/2.2";
}

Element classify(std::string_view qualified) {
    const auto [ns, name] = splitName(qualified);
    if (ns == kGxNamespace) {
        if (name == "Track") {
            return Element::Track;
        }
        if (name == "coord") {
            return Element::TrackCoord;
        }
        if (name == "LatLonQuad") {
            return Element::LatLonQuad;
        }
        return Element::Other;
    }
    if (!isKmlNamespace(ns)) {
        return Element::Other;
    }
    static constexpr std::pair<std::string_view, Element> kinds[] = {
        {"coordinates", Element::Coordinates},       {"Point", Element::Point},
        {"LineString", Element::LineString},         {"LinearRing", Element::LinearRing},
        {"outerBoundaryIs", Element::OuterBoundary}, {"innerBoundaryIs", Element::InnerBoundary},
    };
    for (const auto& [text, element] : kinds) {
        if (name == text) {
            return element;
        }
    }
    return Element::Other;
}

// The KML reader: every tuple of every <coordinates> element, and every <gx:coord> of a
// <gx:Track>, is a vertex. The corners of a ground overlay's image (<gx:LatLonQuad>) are no
// drawing of the user's and are left out.
class KmlReader final : public CoordinateReader {
public:
    KmlReader(const std::string& shownName, const VertexSink& sink)
        : CoordinateReader("KML", shownName, sink) {}

private:
    void other() override {
        if (inCoordinates()) {
            separate();
        }
    }

    bool inCoordinates() const {
        return !stack_.empty() && stack_.back() == Element::Coordinates && quadDepth_ == 0;
    }

    void startElement(std::string_view name, const XML_Char**, long long line) override {
        const Element element = classify(name);
        if (inCoordinates()) {
            separate(); // an element inside the coordinates (not KML) parts tuples
        }
        if (element == Element::LatLonQuad) {
            ++quadDepth_;
        } else if (element == Element::Coordinates && quadDepth_ == 0) {
            beginPart(coordinatesKind());
            tuple_.clear();
            pendingBlank_ = false;
        } else if (element == Element::Track) {
            beginPart(PartKind::Track);
            ++trackDepth_;
        } else if (element == Element::TrackCoord) {
            coordText_.clear();
            coordTooLong_ = false;
        }
        stack_.push_back(element);
        (void)line;
    }

    void endElement(long long line) override {
        if (stack_.empty()) {
            return;
        }
        const Element element = stack_.back();
        if (element == Element::Coordinates && quadDepth_ == 0) {
            finishTuple();
            endPart();
        }
        stack_.pop_back();
        if (element == Element::LatLonQuad) {
            --quadDepth_;
        } else if (element == Element::Track) {
            --trackDepth_;
            endPart();
        } else if (element == Element::TrackCoord && trackDepth_ > 0 && partOpen()) {
            trackCoord(line);
        }
    }

    void characters(std::string_view text, long long line) override {
        if (stack_.empty()) {
            return;
        }
        if (inCoordinates()) {
            line_ = line;
            tuples(text);
        } else if (stack_.back() == Element::TrackCoord && trackDepth_ > 0) {
            for (const char c : text) {
                if (coordText_.size() >= kLongestTuple) {
                    coordTooLong_ = true;
                    break;
                }
                appendShown(coordText_, c);
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

    // ---- tuples of a coordinates element -------------------------------------------------
    // Tuples are separated by white space; blanks beside a comma belong to the tuple
    // ("-82.1, 29.6" is one tuple, as some tools write them).

    static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    // Works run by run (a run: characters between blanks), not character by character: a
    // perimeter's coordinates are millions of characters.
    void tuples(std::string_view text) {
        const char* p = text.data();
        const char* const end = p + text.size();
        while (p < end && ok()) {
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
        if (tuple_.empty() || !ok()) {
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
        if (coordTooLong_) {
            refuse(line, enclosed(shortened(coordText_)) + " is not a coordinate tuple.");
            return;
        }
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

    std::vector<Element> stack_;
    int trackDepth_ = 0;
    int quadDepth_ = 0;

    std::string tuple_;
    bool pendingBlank_ = false;
    long long line_ = 0;
    long long tupleLine_ = 0;

    std::string coordText_;
    bool coordTooLong_ = false;
};

} // namespace

Extraction extractCoordinates(QIODevice& input, const std::string& shownName,
                              const VertexSink& sink) {
    return KmlReader(shownName, sink).run(input);
}

bool isGpsFile(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".gpx";
}

Extraction extractCoordinates(const std::string& path, const VertexSink& sink,
                              const std::string& shownName) {
    const std::string& shown = shownName.empty() ? path : shownName;
    QFile file;
    if (const std::string problem = openForReading(file, path); !problem.empty()) {
        Extraction failed;
        failed.refusal = refusalText(isGpsFile(path) ? "GPX" : "KML", shown, 0,
                                     "It cannot be read: " + problem + ".");
        return failed;
    }
    return isGpsFile(path) ? extractGpsCoordinates(file, shown, sink)
                           : extractCoordinates(file, shown, sink);
}

std::string vertexLine(const Tuple& tuple) {
    return "1," + std::string(tuple.text);
}

Extraction writeVertexFile(const std::string& kmlPath, const std::string& vertexPath,
                           const std::string& shownName) {
    WholeFileWrite out(vertexPath, AtALink::Replace);
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
