#include "coord/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <system_error>

namespace sw {
namespace {

constexpr int significantDigits = 15;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A finite value as its 15 significant decimal digits: value = 0.d1d2..d15 x 10^(point) with
// the sign apart. digits holds exactly 15 characters '0'..'9'.
struct Significant {
    bool negative = false;
    std::array<char, significantDigits> digits{};
    int point = 0; // how many of the digits stand before the decimal point (may be <= 0 or > 15)
};

Significant significant(double value) {
    Significant s;
    s.negative = std::signbit(value);
    // "d.dddddddddddddde+XX": one digit, a point, 14 digits, the exponent.
    std::array<char, 40> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(value),
                                   std::chars_format::scientific, significantDigits - 1);
    const char* p = buf.data();
    std::size_t n = 0;
    for (; p != res.ptr && *p != 'e'; ++p) {
        if (isDigit(*p) && n < s.digits.size()) {
            s.digits[n++] = *p;
        }
    }
    int exponent = 0;
    if (p != res.ptr) {
        ++p; // 'e'
        const bool negExp = (*p == '-');
        if (*p == '+' || *p == '-') {
            ++p;
        }
        std::from_chars(p, res.ptr, exponent);
        if (negExp) {
            exponent = -exponent;
        }
    }
    s.point = exponent + 1;
    return s;
}

// value x 10^decimals rounded half away from zero on its significant digits, as a string of
// decimal digits without sign (at least one digit), plus the sign.
struct Scaled {
    bool negative = false;
    std::string digits;
};

constexpr std::array<double, 16> powersOfTen{1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// The common case without decimal conversion: |value| x 10^decimals computed in binary and
// rounded half away from zero as a whole number. Taken only when that product is far enough
// from a tie that its binary error (and the difference between the value and its 15 significant
// digits, at most 5e-15 relative) cannot change the result; near a tie the decimal path decides.
bool fastScaled(double value, int decimals, std::uint64_t& scaled) {
    if (decimals < 0 || decimals > 15) {
        return false;
    }
    const double t = std::fabs(value) * powersOfTen[static_cast<std::size_t>(decimals)];
    if (!(t < 1e15)) {
        return false;
    }
    const double whole = std::floor(t);
    const double fraction = t - whole;
    if (std::fabs(fraction - 0.5) <= 1e-13 * (t + 1.0)) {
        return false;
    }
    scaled = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1U : 0U);
    return true;
}

Scaled scaledRounded(double value, int decimals) {
    Scaled out;
    if (std::uint64_t scaled = 0; fastScaled(value, decimals, scaled)) {
        std::array<char, 24> buf{};
        const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), scaled);
        out.digits.assign(buf.data(), res.ptr);
        out.negative = std::signbit(value) && scaled != 0;
        return out;
    }
    const Significant s = significant(value);
    out.negative = s.negative;
    const int keep = s.point + decimals; // digits of the scaled whole number
    // One-character texts go in with assign(1, c): GCC 12 at -O3 flags a string literal
    // assigned here as an overlapping copy (a false -Wrestrict), which breaks -Werror builds.
    if (keep < 0) {
        out.digits.assign(1, '0');
    } else if (keep == 0) {
        out.digits.assign(1, s.digits[0] >= '5' ? '1' : '0');
    } else {
        out.digits.reserve(static_cast<std::size_t>(keep) + 1);
        for (int i = 0; i < keep; ++i) {
            out.digits.push_back(i < significantDigits ? s.digits[static_cast<std::size_t>(i)]
                                                       : '0');
        }
        if (keep < significantDigits && s.digits[static_cast<std::size_t>(keep)] >= '5') {
            int i = keep - 1;
            while (i >= 0 && out.digits[static_cast<std::size_t>(i)] == '9') {
                out.digits[static_cast<std::size_t>(i)] = '0';
                --i;
            }
            if (i >= 0) {
                ++out.digits[static_cast<std::size_t>(i)];
            } else {
                out.digits.insert(out.digits.begin(), '1');
            }
        }
    }
    if (out.digits.find_first_not_of('0') == std::string::npos) {
        out.negative = false; // a value that rounds to zero carries no sign
    }
    return out;
}

const char* nonFiniteText(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    return value < 0 ? "-Inf" : "Inf";
}

// Splits a scaled digit string into whole and fraction parts ("12345", 2 -> "123", "45").
void split(const std::string& scaled, int decimals, std::string& whole, std::string& fraction) {
    const auto d = static_cast<std::size_t>(decimals);
    if (scaled.size() > d) {
        whole = scaled.substr(0, scaled.size() - d);
        fraction = scaled.substr(scaled.size() - d);
    } else {
        whole.assign(1, '0');
        fraction = std::string(d - scaled.size(), '0') + scaled;
    }
    const auto firstNonZero = whole.find_first_not_of('0');
    whole = (firstNonZero == std::string::npos) ? "0" : whole.substr(firstNonZero);
}

} // namespace

double roundTiesToEven(double value) {
    if (!std::isfinite(value)) {
        return value;
    }
    const double r = std::round(value); // halves away from zero
    if (std::fabs(value - std::trunc(value)) == 0.5) {
        return 2.0 * std::round(value / 2.0);
    }
    return r;
}

std::int16_t wholeTiesToEven16(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double r = roundTiesToEven(value);
    if (r >= std::numeric_limits<std::int16_t>::max()) {
        return std::numeric_limits<std::int16_t>::max();
    }
    if (r <= std::numeric_limits<std::int16_t>::min()) {
        return std::numeric_limits<std::int16_t>::min();
    }
    return static_cast<std::int16_t>(r);
}

double roundHalfAwayFromZero(double value, int decimals) {
    if (!std::isfinite(value) || value == 0.0) {
        return value == 0.0 ? 0.0 : value;
    }
    if (std::uint64_t scaled = 0; fastScaled(value, decimals, scaled)) {
        // Both numbers are exact in binary, so the quotient is the double nearest the decimal.
        const double result =
            static_cast<double>(scaled) / powersOfTen[static_cast<std::size_t>(decimals)];
        return (std::signbit(value) && scaled != 0) ? -result : result;
    }
    const Scaled s = scaledRounded(value, decimals);
    std::string whole;
    std::string fraction;
    split(s.digits, decimals, whole, fraction);
    std::string text = whole + "." + fraction;
    double result = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), result, std::chars_format::fixed);
    return (s.negative && result != 0.0) ? -result : result;
}

std::string formatDigitPattern(double value, std::string_view pattern) {
    if (!std::isfinite(value)) {
        return nonFiniteText(value);
    }
    const auto dot = pattern.find('.');
    const int wholeZeros = static_cast<int>(dot == std::string_view::npos ? pattern.size() : dot);
    const int decimals =
        dot == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - dot - 1);
    const Scaled s = scaledRounded(value, decimals);
    std::string whole;
    std::string fraction;
    split(s.digits, decimals, whole, fraction);
    std::string out;
    out.reserve(pattern.size() + whole.size() + 2);
    if (s.negative) {
        out.push_back('-');
    }
    if (static_cast<int>(whole.size()) < wholeZeros) {
        out.append(static_cast<std::size_t>(wholeZeros) - whole.size(), '0');
    }
    if (!(whole == "0" && wholeZeros == 0)) {
        out += whole;
    }
    if (decimals > 0) {
        out.push_back('.');
        out += fraction;
    }
    return out;
}

std::string shortestText(double value) {
    if (!std::isfinite(value)) {
        return nonFiniteText(value);
    }
    if (value == 0.0) {
        return "0";
    }
    std::array<char, 400> buf{};
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed);
    return std::string(buf.data(), res.ptr);
}

std::string recordNumberText(double value) {
    if (!std::isfinite(value)) {
        return nonFiniteText(value);
    }
    if (value == 0.0) {
        return "0";
    }
    const Significant s = significant(value);
    int used = significantDigits;
    while (used > 0 && s.digits[static_cast<std::size_t>(used) - 1] == '0') {
        --used;
    }
    std::string out;
    if (s.negative) {
        out.push_back('-');
    }
    if (s.point <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-s.point), '0');
        out.append(s.digits.data(), static_cast<std::size_t>(used));
    } else if (s.point >= used) {
        out.append(s.digits.data(), static_cast<std::size_t>(used));
        out.append(static_cast<std::size_t>(s.point - used), '0');
    } else {
        out.append(s.digits.data(), static_cast<std::size_t>(s.point));
        out.push_back('.');
        out.append(s.digits.data() + s.point, static_cast<std::size_t>(used - s.point));
    }
    return out;
}

} // namespace sw
