#include "coord/point_csv.h"

#include <istream>
#include <ostream>
#include <string>

#include "coord/number_text.h"

namespace sw {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

PointLine bad(std::string problem) {
    PointLine p;
    p.kind = PointLine::Kind::Bad;
    p.problem = std::move(problem);
    return p;
}

} // namespace

PointLine parsePointLine(std::string_view line) {
    line = trimmed(line);
    if (line.empty()) {
        PointLine p;
        p.kind = PointLine::Kind::Blank;
        return p;
    }
    std::string_view first;
    std::string_view second;
    if (const auto comma = line.find(','); comma != std::string_view::npos) {
        first = trimmed(line.substr(0, comma));
        second = trimmed(line.substr(comma + 1));
    } else {
        std::size_t gap = 0;
        while (gap < line.size() && !isBlank(line[gap])) {
            ++gap;
        }
        first = line.substr(0, gap);
        second = trimmed(line.substr(gap));
    }
    const auto latitude = readNumber(first);
    const auto longitude = readNumber(second);
    if (!latitude || !longitude) {
        return bad("not a pair of decimal numbers \"latitude,longitude\"");
    }
    PointLine p;
    p.latitude = *latitude;
    p.longitude = *longitude;
    if (p.latitude < -90.0 || p.latitude > 90.0) {
        return bad("latitude " + recordNumberText(p.latitude) + " is outside -90..90");
    }
    if (p.longitude < -180.0 || p.longitude > 180.0) {
        return bad("longitude " + recordNumberText(p.longitude) + " is outside -180..180");
    }
    p.kind = PointLine::Kind::Point;
    return p;
}

void appendPointCsvRow(std::string& out, const HandBackTexts& t) {
    // None of the six texts can hold a comma, a quote or a line break, so no quoting is needed.
    out += t.latitude;
    out += ',';
    out += t.longitude;
    out += ',';
    out += t.albersX;
    out += ',';
    out += t.albersY;
    out += ',';
    out += t.utm;
    out += ',';
    out += t.usng;
    out += pointCsvLineEnd;
}

ConversionCount convertPointLines(std::istream& in, std::string_view sourceName, std::ostream& out,
                                  std::ostream& errors) {
    constexpr std::size_t flushAt = 1 << 16;
    ConversionCount count;
    std::string buffer;
    buffer.reserve(flushAt + 256);
    std::string line;
    std::int64_t lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        std::string_view text = line;
        if (lineNumber == 1 && text.starts_with("\xEF\xBB\xBF")) {
            text.remove_prefix(3);
        }
        const PointLine p = parsePointLine(text);
        if (p.kind == PointLine::Kind::Blank) {
            continue;
        }
        if (p.kind == PointLine::Kind::Bad) {
            ++count.skipped;
            errors << sourceName << ':' << lineNumber << ": " << p.problem << " - skipped\n";
            continue;
        }
        appendPointCsvRow(buffer, handBackTexts(p.latitude, p.longitude));
        ++count.points;
        if (buffer.size() >= flushAt) {
            out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            buffer.clear();
        }
    }
    out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    return count;
}

} // namespace sw
