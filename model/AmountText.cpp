// Reading amount texts back: strictly, with group separators only at their group positions.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "model/NumberFormat.h"

namespace movik {

namespace {

void RemoveAll(std::string& s, std::string_view what) {
    if (what.empty()) {
        return;
    }
    std::size_t out = 0;
    for (std::size_t i = 0; i < s.size();) {
        if (s.compare(i, what.size(), what) == 0) {
            i += what.size();
        } else {
            s[out++] = s[i++];
        }
    }
    s.resize(out);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The parts of a number text: its sign, the digits before and after the decimal separator (either
// may be empty, not both) and the exponent (capped far beyond any double's).
struct NumberParts {
    bool negative = false;
    std::string_view intDigits;
    std::string_view fracDigits;
    long long exponent = 0;
};

// The run of digits of s from i on; i moves past it.
std::string_view DigitsAt(std::string_view s, std::size_t& i) {
    const std::size_t start = i;
    while (i < s.size() && IsDigit(s[i])) {
        ++i;
    }
    return s.substr(start, i - start);
}

// Reads [(E|e)[sign]digits] at i; false when an E has no digits.
bool ScanExponent(std::string_view s, std::size_t& i, long long& exponent) {
    const std::size_t n = s.size();
    if (i >= n || (s[i] != 'e' && s[i] != 'E')) {
        return true;
    }
    ++i;
    bool negExp = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) {
        negExp = s[i] == '-';
        ++i;
    }
    const std::string_view digits = DigitsAt(s, i);
    if (digits.empty()) {
        return false;
    }
    for (const char d : digits) {
        if (exponent < 1000000) {
            exponent = exponent * 10 + (d - '0');
        }
    }
    if (negExp) {
        exponent = -exponent;
    }
    return true;
}

// The syntax: [blanks][sign]digits[dec digits][(E|e)[sign]digits][blanks], at least one digit in
// the mantissa; nullopt for anything else.
std::optional<NumberParts> ScanNumber(std::string_view s, std::string_view dec) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n && s[i] == ' ') {
        ++i;
    }
    NumberParts parts;
    if (i < n && (s[i] == '+' || s[i] == '-')) {
        parts.negative = s[i] == '-';
        ++i;
    }
    parts.intDigits = DigitsAt(s, i);
    if (!dec.empty() && s.substr(i, dec.size()) == dec) {
        i += dec.size();
        parts.fracDigits = DigitsAt(s, i);
    }
    if (parts.intDigits.empty() && parts.fracDigits.empty()) {
        return std::nullopt;
    }
    if (!ScanExponent(s, i, parts.exponent)) {
        return std::nullopt;
    }
    while (i < n && s[i] == ' ') {
        ++i;
    }
    if (i != n) {
        return std::nullopt;
    }
    return parts;
}

// The usual amount: at most 15 digits and no exponent. The digits form an integer below 2^53 and
// 10^k is exact, so one division gives the correctly rounded value.
bool IsShortNumber(const NumberParts& p) {
    return p.exponent == 0 && p.intDigits.size() + p.fracDigits.size() <= 15;
}

double ShortNumberValue(const NumberParts& p) {
    static constexpr double kPow10[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::uint64_t mantissa = 0;
    for (const char d : p.intDigits) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(d - '0');
    }
    for (const char d : p.fracDigits) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(d - '0');
    }
    const double value = static_cast<double>(mantissa) / kPow10[p.fracDigits.size()];
    return p.negative && value != 0 ? -value : value;
}

// A number beyond a double's range: too large is refused, too small is zero.
std::optional<double> OutOfRangeValue(const NumberParts& p) {
    long long magnitude = p.exponent;
    const std::size_t firstInt = p.intDigits.find_first_not_of('0');
    if (firstInt != std::string_view::npos) {
        magnitude += static_cast<long long>(p.intDigits.size() - firstInt);
    } else {
        const std::size_t firstFrac = p.fracDigits.find_first_not_of('0');
        if (firstFrac == std::string_view::npos) {
            return 0.0;
        }
        magnitude -= static_cast<long long>(firstFrac);
    }
    if (magnitude > 0) {
        return std::nullopt;
    }
    return 0.0;
}

// Any other number, correctly rounded by the standard library's conversion.
std::optional<double> LongNumberValue(const NumberParts& p) {
    std::string c;
    c.reserve(p.intDigits.size() + p.fracDigits.size() + 16);
    if (p.negative) {
        c += '-';
    }
    c += p.intDigits.empty() ? std::string_view("0") : p.intDigits;
    if (!p.fracDigits.empty()) {
        c += '.';
        c += p.fracDigits;
    }
    if (p.exponent != 0) {
        c += 'e';
        char buf[24];
        const auto r = std::to_chars(buf, buf + sizeof buf, p.exponent);
        c.append(buf, r.ptr);
    }
    double value = 0;
    const auto res = std::from_chars(c.data(), c.data() + c.size(), value);
    if (res.ptr != c.data() + c.size()) {
        return std::nullopt;
    }
    if (res.ec == std::errc::result_out_of_range || !std::isfinite(value)) {
        return OutOfRangeValue(p);
    }
    if (res.ec != std::errc()) {
        return std::nullopt;
    }
    return value == 0 ? 0.0 : value;
}

// Strict conversion of the syntax ScanNumber reads. The result is correctly rounded and finite;
// a value too small for a double reads as zero.
std::optional<double> ParseNumber(std::string_view s, std::string_view dec) {
    const std::optional<NumberParts> parts = ScanNumber(s, dec);
    if (!parts) {
        return std::nullopt;
    }
    return IsShortNumber(*parts) ? ShortNumberValue(*parts) : LongNumberValue(*parts);
}

}  // namespace

namespace {

struct GroupSeparator {
    std::size_t length = 0;  // 0: none here
    bool blank = false;
};

// The group separator at s[i]: the locale's thousands separator, or a blank, a no-break space or
// a narrow no-break space (people write blanks between groups in either convention, and an
// exported file may hold another blank than the locale uses).
GroupSeparator GroupSeparatorAt(std::string_view s, std::size_t i, const RegionalSettings& rs) {
    if (i >= s.size()) {
        return {};
    }
    // Looked at by its first byte: this runs between every two digit groups of every amount read.
    const std::string_view rest = s.substr(i);
    switch (rest[0]) {
        case ' ':
            return {1, true};
        case '\xC2':
            if (rest.starts_with("\xC2\xA0")) {
                return {2, true};
            }
            break;
        case '\xE2':
            if (rest.starts_with("\xE2\x80\xAF")) {
                return {3, true};
            }
            break;
        default:
            break;
    }
    const std::string& sep = rs.thousandsSeparator;
    if (!sep.empty() && rest[0] == sep[0] && rest.starts_with(sep) && sep != rs.decimalSeparator) {
        return {sep.size(), false};
    }
    return {};
}

// The text without its group separators, provided each stands at a group position: between
// digits of the integer part, the first group one to three digits (not starting with 0), every
// later group exactly three, all separators of one kind (the blanks count as one kind).
// nullopt for a separator anywhere else; the caller's conversion judges the rest.
std::optional<std::string> WithoutGroupSeparators(std::string_view text,
                                                  const RegionalSettings& rs) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return std::string(text);
    }
    const std::string_view s = text.substr(first, text.find_last_not_of(' ') - first + 1);
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        out += s[i++];
    }
    const std::size_t intStart = out.size();
    std::size_t groups = 0;
    std::size_t firstGroup = 0;
    bool blankKind = false;
    while (true) {
        const std::size_t start = i;
        while (i < s.size() && IsDigit(s[i])) {
            ++i;
        }
        const std::size_t length = i - start;
        // Every group after the first has exactly three digits.
        if (groups == 0) {
            firstGroup = length;
        } else if (length != 3) {
            return std::nullopt;
        }
        ++groups;
        out.append(s.substr(start, length));
        const GroupSeparator sep = GroupSeparatorAt(s, i, rs);
        if (sep.length == 0) {
            break;
        }
        if (groups > 1 && sep.blank != blankKind) {
            return std::nullopt;
        }
        blankKind = sep.blank;
        i += sep.length;
    }
    if (groups > 1 && (firstGroup < 1 || firstGroup > 3 || out[intStart] == '0')) {
        return std::nullopt;
    }
    out.append(s.substr(i));
    return out;
}

}  // namespace

std::optional<double> ReadAmount(std::string_view text, const RegionalSettings& rs) {
    if (text.empty()) {
        return 0.0;
    }
    // Most amounts hold no group separator at all ("0,00"): they need no rewriting.
    const std::string& sep = rs.thousandsSeparator;
    const bool grouped =
        text.find(' ') != std::string_view::npos || text.find('\xC2') != std::string_view::npos ||
        text.find('\xE2') != std::string_view::npos ||
        (!sep.empty() && sep != rs.decimalSeparator && text.find(sep) != std::string_view::npos);
    if (!grouped) {
        return ParseNumber(text, rs.decimalSeparator);
    }
    const std::optional<std::string> digits = WithoutGroupSeparators(text, rs);
    if (!digits) {
        return std::nullopt;
    }
    return ParseNumber(*digits, rs.decimalSeparator);
}

bool IsAmountText(std::string_view text, const RegionalSettings& rs) {
    return ReadAmount(text, rs).has_value();
}

double AmountFromText(std::string_view text, const RegionalSettings& rs) {
    if (text.find('%') == std::string_view::npos) {
        return ReadAmount(text, rs).value_or(0.0);
    }
    std::string s(text);
    RemoveAll(s, "%");
    if (s.empty() && !text.empty()) {
        return 0;
    }
    return ReadAmount(s, rs).value_or(0.0);
}

bool WithinAmountLimit(double value) {
    return value > -kAmountLimit && value < kAmountLimit;
}

std::string AmountLimitMessage(const RegionalSettings& rs) {
    return "Iznos je prevelik: najveći dopušteni iznos je " +
           FormatNumber(kAmountLimit - 0.01, "#,##0.00", rs) + ".";
}

}  // namespace movik
