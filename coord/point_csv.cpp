#include "coord/point_csv.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <future>
#include <istream>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "coord/grid_reference.h"
#include "coord/marked_point.h"
#include "coord/number_text.h"
#include "services/base/enclosed.h"

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

constexpr std::string_view notAPair =
    "not a latitude and longitude (\"30.25,-84.5\" or \"30\u00B015'N 84\u00B030'W\")";

// A pair of plain decimal numbers, or notAPair.
PointLine parseDecimalPair(std::string_view line) {
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
    const NumberReading latitude = readNumberText(first);
    const NumberReading longitude = readNumberText(second);
    for (const auto& [reading, text] : {std::pair{latitude, first}, std::pair{longitude, second}}) {
        if (reading.outOfRange) {
            return bad(enclosed(text) +
                       " is out of range: too large, or too close to zero, for a number");
        }
    }
    if (!latitude.value || !longitude.value) {
        return bad(std::string(notAPair));
    }
    PointLine p;
    p.latitude = *latitude.value;
    p.longitude = *longitude.value;
    if (p.latitude < -90.0 || p.latitude > 90.0) {
        return bad("latitude " + recordNumberText(p.latitude) + " is outside -90..90");
    }
    if (p.longitude < -180.0 || p.longitude > 180.0) {
        return bad("longitude " + recordNumberText(p.longitude) + " is outside -180..180");
    }
    p.kind = PointLine::Kind::Point;
    return p;
}

PointLine pointAt(double latitude, double longitude) {
    PointLine p;
    p.kind = PointLine::Kind::Point;
    p.latitude = latitude;
    p.longitude = longitude;
    return p;
}

} // namespace

PointLine parsePointLine(std::string_view line) {
    PointLine p = parseDecimalPair(line);
    if (p.kind != PointLine::Kind::Bad || p.problem != notAPair) {
        return p; // a point, a blank line, or a pair of numbers out of range
    }
    MarkedPoint marked = readMarkedPoint(line);
    switch (marked.kind) {
    case MarkedPoint::Kind::Point:
        return pointAt(marked.latitude, marked.longitude);
    case MarkedPoint::Kind::Bad:
        return bad(std::move(marked.problem));
    case MarkedPoint::Kind::NotMarked:
        break;
    }
    return p;
}

PointLine parseInputLine(std::string_view line, InputForm form) {
    if (form == InputForm::LatLon) {
        return parsePointLine(line);
    }
    if (form == InputForm::Any) {
        PointLine p = parseDecimalPair(line);
        if (p.kind != PointLine::Kind::Bad || p.problem != notAPair) {
            return p;
        }
    } else if (trimmed(line).empty()) {
        PointLine p;
        p.kind = PointLine::Kind::Blank;
        return p;
    }
    const GridForm grid = form == InputForm::Usng  ? GridForm::Usng
                          : form == InputForm::Utm ? GridForm::Utm
                                                   : GridForm::Any;
    GridReading r = readGridReference(line, grid);
    if (r.kind == GridReading::Kind::Point) {
        return pointAt(r.latitude, r.longitude);
    }
    if (form == InputForm::Any) {
        // After the grid: "17N 490932 2788611" is a UTM coordinate, not 17 degrees north and a
        // longitude of 490932 degrees.
        MarkedPoint marked = readMarkedPoint(line);
        if (marked.kind == MarkedPoint::Kind::Point) {
            return pointAt(marked.latitude, marked.longitude);
        }
        if (r.kind == GridReading::Kind::NotGrid) {
            return bad(marked.kind == MarkedPoint::Kind::Bad
                           ? std::move(marked.problem)
                           : std::string("neither a latitude and longitude nor a USNG or UTM "
                                         "reference"));
        }
    }
    return bad(std::move(r.problem));
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

namespace {

// A block of whole input lines and what they become.
struct Block {
    std::string text;
    std::string csv;
    std::vector<std::pair<std::int64_t, std::string>> problems; // line within the block, text
    std::int64_t lines = 0;
    std::int64_t points = 0;
};

void convertBlock(Block& b, InputForm form) {
    // About 75 bytes of CSV for each 20-odd bytes of a decimal-degree line.
    b.csv.reserve(b.text.size() * 4);
    std::string_view rest = b.text;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        ++b.lines;
        PointLine p = parseInputLine(line, form);
        if (p.kind == PointLine::Kind::Point) {
            appendHandBackTexts(b.csv, p.latitude, p.longitude, ',');
            b.csv += pointCsvLineEnd;
            ++b.points;
        } else if (p.kind == PointLine::Kind::Bad) {
            b.problems.emplace_back(b.lines, std::move(p.problem));
        }
    }
    b.text = std::string(); // the input is no longer needed while the block waits its turn
}

} // namespace

ConversionCount convertPointLines(std::istream& in, std::string_view sourceName, std::ostream& out,
                                  std::ostream& errors, InputForm form, unsigned threads) {
    constexpr std::size_t blockSize = 1 << 20;
    if (threads == 0) {
        threads = std::max(1U, std::thread::hardware_concurrency());
    }
    ConversionCount count;
    std::int64_t linesBefore = 0;
    const auto emit = [&](Block& b) {
        out.write(b.csv.data(), static_cast<std::streamsize>(b.csv.size()));
        for (const auto& [line, problem] : b.problems) {
            errors << sourceName << ':' << linesBefore + line << ": " << problem << " - skipped\n";
        }
        linesBefore += b.lines;
        count.points += b.points;
        count.skipped += static_cast<std::int64_t>(b.problems.size());
    };

    // Blocks are read in order, converted on up to `threads` cores at once, and written in
    // order as soon as the oldest is done.
    std::deque<std::future<Block>> pending;
    std::string carry; // the start of a line that the last read cut off
    bool first = true;
    while (true) {
        Block b;
        b.text = std::move(carry);
        carry.clear();
        const std::size_t had = b.text.size();
        b.text.resize(had + blockSize);
        in.read(b.text.data() + had, static_cast<std::streamsize>(blockSize));
        b.text.resize(had + static_cast<std::size_t>(in.gcount()));
        const bool atEnd = !in;
        if (first && b.text.starts_with("\xEF\xBB\xBF")) {
            b.text.erase(0, 3);
        }
        first = false;
        if (!atEnd) {
            // Only whole lines go into a block; the cut-off line waits for the next read.
            const std::size_t lastEnd = b.text.rfind('\n');
            if (lastEnd == std::string::npos) {
                carry = std::move(b.text);
                continue;
            }
            carry.assign(b.text, lastEnd + 1);
            b.text.resize(lastEnd + 1);
        }
        if (atEnd && pending.empty()) {
            convertBlock(b, form); // small inputs: no thread needed
            emit(b);
            break;
        }
        pending.push_back(std::async(std::launch::async, [form, block = std::move(b)]() mutable {
            convertBlock(block, form);
            return std::move(block);
        }));
        while (!pending.empty() &&
               (atEnd || pending.size() >= threads + 1 ||
                pending.front().wait_for(std::chrono::seconds(0)) == std::future_status::ready)) {
            Block done = pending.front().get();
            pending.pop_front();
            emit(done);
        }
        if (atEnd) {
            break;
        }
    }
    return count;
}

} // namespace sw
