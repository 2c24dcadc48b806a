#include "kmlconvert/gpx_extract.h"

#include "kmlconvert/coordinate_reader.h"
#include "services/base/enclosed.h"

#include <cstring>

namespace sw::kml {

namespace {

enum class Element { Other, Waypoint, Route, RoutePoint, Segment, TrackPoint, Elevation };

bool isGpxNamespace(std::string_view ns) {
    return ns == "http://www.topografix.com/GPX/1/1" || ns == "http://www.topografix.com/GPX/1/0";
}

Element classify(std::string_view name) {
    static constexpr std::pair<std::string_view, Element> kinds[] = {
        {"wpt", Element::Waypoint},     {"rte", Element::Route},
        {"rtept", Element::RoutePoint}, {"trkseg", Element::Segment},
        {"trkpt", Element::TrackPoint}, {"ele", Element::Elevation},
    };
    for (const auto& [text, element] : kinds) {
        if (name == text) {
            return element;
        }
    }
    return Element::Other;
}

bool isPosition(Element element) {
    return element == Element::Waypoint || element == Element::RoutePoint ||
           element == Element::TrackPoint;
}

class GpxReader final : public CoordinateReader {
public:
    GpxReader(const std::string& shownName, const VertexSink& sink)
        : CoordinateReader("GPX", shownName, sink) {}

private:
    void startElement(std::string_view qualified, const XML_Char** attributes,
                      long long line) override {
        const auto [ns, name] = splitName(qualified);
        if (stack_.empty() && !rootSeen_) {
            rootSeen_ = true;
            if (name != "gpx" || !(ns.empty() || isGpxNamespace(ns))) {
                refuse(line, "it is not a GPX file (its root element is " +
                                 enclosed(std::string(name)) + ").");
                return;
            }
        }
        // Only the elements of GPX itself count, never those of an extension's namespace
        // (nor anything inside them).
        if (otherDepth_ > 0 || !(ns.empty() || isGpxNamespace(ns))) {
            ++otherDepth_;
            stack_.push_back(Element::Other);
            foreign_.push_back(true);
            return;
        }
        const Element element = classify(name);
        foreign_.push_back(false);
        open(element, attributes, line);
        stack_.push_back(element);
    }

    void open(Element element, const XML_Char** attributes, long long line) {
        if (element == Element::Route) {
            beginPart(PartKind::Line);
        } else if (element == Element::Segment) {
            beginPart(PartKind::Track);
        } else if (isPosition(element)) {
            if (element == Element::Waypoint) {
                beginPart(PartKind::Point);
            }
            positionLine_ = line;
            elevation_.clear();
            elevationTooLong_ = false;
            readLatLon(attributes, line);
        } else if (element == Element::Elevation && !stack_.empty() && isPosition(stack_.back())) {
            elevation_.clear();
            inElevation_ = true;
        }
    }

    void readLatLon(const XML_Char** attributes, long long line) {
        const char* lat = nullptr;
        const char* lon = nullptr;
        for (const XML_Char** a = attributes; a != nullptr && *a != nullptr; a += 2) {
            if (std::strcmp(a[0], "lat") == 0) {
                lat = a[1];
            } else if (std::strcmp(a[0], "lon") == 0) {
                lon = a[1];
            }
        }
        if (lat == nullptr || lon == nullptr) {
            refuse(line, std::string("a position has no ") + (lat == nullptr ? "lat" : "lon") +
                             " attribute.");
            return;
        }
        latitude_ = trimmed(lat);
        longitude_ = trimmed(lon);
    }

    static std::string trimmed(std::string_view text) {
        const std::size_t first = text.find_first_not_of(" \t\r\n");
        if (first == std::string_view::npos) {
            return {};
        }
        const std::size_t last = text.find_last_not_of(" \t\r\n");
        return std::string(text.substr(first, last - first + 1));
    }

    void endElement(long long) override {
        if (stack_.empty()) {
            return;
        }
        const Element element = stack_.back();
        stack_.pop_back();
        const bool foreign = foreign_.back();
        foreign_.pop_back();
        if (foreign) {
            --otherDepth_;
            return;
        }
        if (element == Element::Elevation) {
            inElevation_ = false;
        } else if (isPosition(element)) {
            position();
            if (element == Element::Waypoint) {
                endPart();
            }
        } else if (element == Element::Route || element == Element::Segment) {
            endPart();
        }
    }

    void characters(std::string_view text, long long) override {
        if (!inElevation_) {
            return;
        }
        for (const char c : text) {
            if (elevation_.size() >= kLongestTuple) {
                elevationTooLong_ = true;
                return;
            }
            appendShown(elevation_, c);
        }
    }

    // The position just closed, as "lon,lat[,ele]".
    void position() {
        if (!ok()) {
            return;
        }
        if (elevationTooLong_) {
            refuse(positionLine_,
                   "the elevation " + enclosed(shortened(elevation_)) + " is not a number.");
            return;
        }
        const std::string elevation = trimmed(elevation_);
        std::string_view numbers[3] = {longitude_, latitude_, elevation};
        const std::size_t count = elevation.empty() ? 2 : 3;
        std::string text = longitude_ + "," + latitude_;
        if (count == 3) {
            text += "," + elevation;
        }
        // A stray position (a track point outside any segment, say) is a point of its own.
        const bool single = !partOpen();
        if (single) {
            beginPart(PartKind::Point);
        }
        vertex(text, numbers, count, positionLine_);
        if (single) {
            endPart();
        }
    }

    std::vector<Element> stack_;
    std::vector<bool> foreign_;
    int otherDepth_ = 0;
    bool rootSeen_ = false;
    std::string latitude_;
    std::string longitude_;
    std::string elevation_;
    bool inElevation_ = false;
    bool elevationTooLong_ = false;
    long long positionLine_ = 0;
};

} // namespace

Extraction extractGpsCoordinates(QIODevice& input, const std::string& shownName,
                                 const VertexSink& sink) {
    return GpxReader(shownName, sink).run(input);
}

} // namespace sw::kml
