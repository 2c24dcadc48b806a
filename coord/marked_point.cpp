#include "coord/marked_point.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <span>
#include <vector>

#include "coord/number_text.h"

namespace sw {
namespace {

enum class Unit { Degrees, Minutes, Seconds };

struct Token {
    enum class Type { Number, Sign, Mark, Letter, Comma };
    Type type = Type::Number;
    std::string_view text;     // Number: its digits and point
    Unit unit = Unit::Degrees; // Mark
    char letter = '\0';        // Letter: N, S, E or W; Sign: + or -
};

struct MarkSpelling {
    std::string_view text;
    Unit unit;
};
// Longer spellings first: two minute marks make a second mark.
constexpr std::array<MarkSpelling, 10> markSpellings{{{"''", Unit::Seconds},
                                                      {"\xC2\xB0", Unit::Degrees}, // °
                                                      {"\xC2\xBA", Unit::Degrees}, // º
                                                      {"\xCB\x9A", Unit::Degrees}, // ˚
                                                      {"'", Unit::Minutes},
                                                      {"\xE2\x80\xB2", Unit::Minutes}, // ′
                                                      {"\xE2\x80\x99", Unit::Minutes}, // ’
                                                      {"\"", Unit::Seconds},
                                                      {"\xE2\x80\xB3", Unit::Seconds},   // ″
                                                      {"\xE2\x80\x9D", Unit::Seconds}}}; // ”

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

char hemisphereLetter(char c) {
    switch (c) {
    case 'N':
    case 'n':
        return 'N';
    case 'S':
    case 's':
        return 'S';
    case 'E':
    case 'e':
        return 'E';
    case 'W':
    case 'w':
        return 'W';
    default:
        return '\0';
    }
}

// The text as tokens; nothing when it holds anything else.
std::optional<std::vector<Token>> tokens(std::string_view s) {
    std::vector<Token> out;
    std::size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        Token t;
        if (isDigit(c) || c == '.') {
            std::size_t j = i;
            while (j < s.size() && (isDigit(s[j]) || s[j] == '.')) {
                ++j;
            }
            t.text = s.substr(i, j - i);
            out.push_back(t);
            i = j;
            continue;
        }
        if (c == '+' || c == '-' || c == ',' || hemisphereLetter(c) != '\0') {
            t.type = c == ','                 ? Token::Type::Comma
                     : (c == '+' || c == '-') ? Token::Type::Sign
                                              : Token::Type::Letter;
            t.letter = t.type == Token::Type::Letter ? hemisphereLetter(c) : c;
            out.push_back(t);
            ++i;
            continue;
        }
        bool marked = false;
        for (const MarkSpelling& m : markSpellings) {
            if (s.substr(i).starts_with(m.text)) {
                t.type = Token::Type::Mark;
                t.unit = m.unit;
                out.push_back(t);
                i += m.text.size();
                marked = true;
                break;
            }
        }
        if (!marked) {
            return std::nullopt;
        }
    }
    return out;
}

using Tokens = std::span<const Token>;

bool is(const Token& t, Token::Type type) {
    return t.type == type;
}

bool isDegreesNumber(Tokens t, std::size_t i) {
    return is(t[i], Token::Type::Number) && i + 1 < t.size() && is(t[i + 1], Token::Type::Mark) &&
           t[i + 1].unit == Unit::Degrees;
}

// Where the second angle starts: after the comma, at the second letter when letters come
// first, after the first letter when they follow, or at the second marked degrees.
std::optional<std::size_t> secondAngleStart(Tokens t) {
    std::vector<std::size_t> commas;
    std::vector<std::size_t> letters;
    std::vector<std::size_t> degrees;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (is(t[i], Token::Type::Comma)) {
            commas.push_back(i);
        } else if (is(t[i], Token::Type::Letter)) {
            letters.push_back(i);
        } else if (isDegreesNumber(t, i)) {
            degrees.push_back(i > 0 && is(t[i - 1], Token::Type::Sign) ? i - 1 : i);
        }
    }
    if (!commas.empty()) {
        return commas.size() == 1 ? std::optional(commas[0]) : std::nullopt;
    }
    if (!letters.empty()) {
        if (letters[0] == 0) {
            return letters.size() > 1 ? std::optional(letters[1]) : std::nullopt;
        }
        return letters[0] + 1;
    }
    return degrees.size() == 2 ? std::optional(degrees[1]) : std::nullopt;
}

struct Angle {
    bool shaped = false;
    std::string problem;
    double degrees = 0.0; // unsigned
    char letter = '\0';
    bool negative = false;
};

std::string unitName(Unit unit) {
    return unit == Unit::Minutes ? "minutes" : "seconds";
}

// One angle: [letter] [sign] (number [mark])... [letter].
Angle readAngle(Tokens t) {
    Angle a;
    if (!t.empty() && is(t.front(), Token::Type::Letter)) {
        a.letter = t.front().letter;
        t = t.subspan(1);
    }
    if (!t.empty() && is(t.back(), Token::Type::Letter)) {
        if (a.letter != '\0') {
            return a;
        }
        a.letter = t.back().letter;
        t = t.first(t.size() - 1);
    }
    const bool hasSign = !t.empty() && is(t.front(), Token::Type::Sign);
    if (hasSign) {
        a.negative = t.front().letter == '-';
        t = t.subspan(1);
    }
    int parts = 0;
    int next = 0; // the unit an unmarked part takes
    bool decimals = false;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const auto value = is(t[i], Token::Type::Number) ? readNumber(t[i].text) : std::nullopt;
        if (!value) {
            return Angle{};
        }
        const std::string_view written = t[i].text;
        int unit = next;
        if (i + 1 < t.size() && is(t[i + 1], Token::Type::Mark)) {
            unit = static_cast<int>(t[++i].unit);
        }
        // Degrees first, then the finer parts in order.
        if (unit < next || unit > 2 || (parts == 0 && unit != 0)) {
            return Angle{};
        }
        if (decimals && a.problem.empty()) {
            a.problem = "only the last part of an angle may have decimals";
        }
        decimals = written.find('.') != std::string_view::npos;
        if (unit > 0 && *value >= 60.0 && a.problem.empty()) {
            a.problem = unitName(static_cast<Unit>(unit)) + " " + std::string(written) +
                        " must be under 60";
        }
        a.degrees += *value / std::pow(60.0, unit);
        next = unit + 1;
        ++parts;
    }
    a.shaped = parts > 0;
    if (a.shaped && hasSign && a.letter != '\0' && a.problem.empty()) {
        a.problem = std::string("a sign and the hemisphere letter ") + a.letter +
                    " on one angle: give one of them";
    }
    return a;
}

MarkedPoint bad(std::string problem) {
    MarkedPoint p;
    p.kind = MarkedPoint::Kind::Bad;
    p.problem = std::move(problem);
    return p;
}

bool isLongitudeLetter(char letter) {
    return letter == 'E' || letter == 'W';
}

} // namespace

MarkedPoint readMarkedPoint(std::string_view text) {
    const auto t = tokens(text);
    if (!t) {
        return {};
    }
    const bool marked =
        std::any_of(t->begin(), t->end(), [](const Token& x) { return is(x, Token::Type::Mark); });
    const bool lettered = std::any_of(t->begin(), t->end(),
                                      [](const Token& x) { return is(x, Token::Type::Letter); });
    if (!marked && !lettered) {
        return {};
    }
    const Tokens all(*t);
    const auto split = secondAngleStart(all);
    if (!split) {
        return {};
    }
    const std::size_t secondFrom =
        *split < all.size() && is(all[*split], Token::Type::Comma) ? *split + 1 : *split;
    Angle first = readAngle(all.first(*split));
    Angle second = readAngle(all.subspan(secondFrom));
    // Without marks each angle needs its letter: "1e,2" is a mistyped number, not 1 degree east.
    if (!first.shaped || !second.shaped ||
        (!marked && (first.letter == '\0' || second.letter == '\0'))) {
        return {};
    }
    for (const Angle* a : {&first, &second}) {
        if (!a->problem.empty()) {
            return bad(a->problem);
        }
    }
    // The letters say which is which; without them the latitude comes first.
    if (isLongitudeLetter(first.letter) ||
        (first.letter == '\0' && second.letter != '\0' && !isLongitudeLetter(second.letter))) {
        std::swap(first, second);
    }
    if (isLongitudeLetter(first.letter) ||
        (second.letter != '\0' && !isLongitudeLetter(second.letter))) {
        return bad("one latitude (N or S) and one longitude (E or W) are needed");
    }
    MarkedPoint p;
    p.latitude = (first.negative || first.letter == 'S') ? -first.degrees : first.degrees;
    p.longitude = (second.negative || second.letter == 'W') ? -second.degrees : second.degrees;
    if (first.degrees > 90.0) {
        return bad("latitude " + recordNumberText(p.latitude) + " is outside -90..90");
    }
    if (second.degrees > 180.0) {
        return bad("longitude " + recordNumberText(p.longitude) + " is outside -180..180");
    }
    p.kind = MarkedPoint::Kind::Point;
    return p;
}

} // namespace sw
