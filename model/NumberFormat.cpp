// Number display by pattern, and reading amount texts back.
//
// A pattern has up to three sections separated by ";": positive (and the fallback for the
// others), negative, zero. Inside a section "0" is a digit that is always shown, "#" a digit shown
// only when significant, "," before the decimal point switches on thousands separators, the first
// "." is the decimal point, and every other character is copied as it stands.

#include "model/NumberFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace movik {
namespace {

// Literal text between digit placeholders. For the integer part `pos` counts the placeholders
// to its right (up to the decimal point); for the decimal part the placeholders to its left.
struct Literal {
    int pos = 0;
    std::string text;
};

struct Section {
    bool empty = true;       // nothing at all between the ";"
    bool hasDigits = false;  // at least one "0" or "#"
    bool hasZero = false;    // at least one "0"
    bool thousands = false;  // "," in the integer part
    int intPlaces = 0;       // placeholders before the decimal point
    int minInt = 0;          // integer digits always shown (from the first "0" on)
    int maxDec = 0;          // placeholders after the decimal point
    int minDec = 0;          // decimals always shown (up to the last "0")
    std::string prefix;      // literal text before the number
    std::string suffix;      // literal text after the number
    std::string whole;       // the section as written (used when it has no placeholders)
    std::vector<Literal> intLiterals;
    std::vector<Literal> decLiterals;
};

struct Pattern {
    std::array<Section, 3> sections;
    int count = 1;
};

bool IsPlaceholder(char c) {
    return c == '0' || c == '#';
}

Section ParseSection(std::string_view s) {
    Section sec;
    sec.whole = std::string(s);
    sec.empty = s.empty();
    std::size_t first = std::string_view::npos;
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (IsPlaceholder(s[i])) {
            if (first == std::string_view::npos) {
                first = i;
            }
            last = i;
        }
    }
    if (first == std::string_view::npos) {
        return sec;
    }
    sec.hasDigits = true;
    // The number may start with "," or "." before its first placeholder (",0", ".00").
    while (first > 0 && (s[first - 1] == ',' || s[first - 1] == '.')) {
        --first;
    }
    // A decimal point right after the last placeholder belongs to the number ("0.").
    if (last + 1 < s.size() && s[last + 1] == '.' &&
        s.substr(first, last + 1 - first).find('.') == std::string_view::npos) {
        ++last;
    }
    sec.prefix = std::string(s.substr(0, first));
    sec.suffix = std::string(s.substr(last + 1));

    bool afterPoint = false;
    int firstZeroIndex = -1;
    std::string pending;
    std::vector<Literal> intRaw;  // pos = placeholders to the left, fixed up below
    auto flush = [&](std::vector<Literal>& into, int pos) {
        if (!pending.empty()) {
            into.push_back({pos, pending});
            pending.clear();
        }
    };
    for (std::size_t i = first; i <= last; ++i) {
        const char c = s[i];
        if (!afterPoint) {
            if (IsPlaceholder(c)) {
                flush(intRaw, sec.intPlaces);
                if (c == '0') {
                    sec.hasZero = true;
                    if (firstZeroIndex < 0) {
                        firstZeroIndex = sec.intPlaces;
                    }
                }
                ++sec.intPlaces;
            } else if (c == ',') {
                sec.thousands = true;
            } else if (c == '.') {
                flush(intRaw, sec.intPlaces);
                afterPoint = true;
            } else {
                pending += c;
            }
        } else {
            if (IsPlaceholder(c)) {
                flush(sec.decLiterals, sec.maxDec);
                ++sec.maxDec;
                if (c == '0') {
                    sec.hasZero = true;
                    sec.minDec = sec.maxDec;
                }
            } else if (c == ',') {
                // Thousands separators have no meaning among the decimals.
            } else {
                pending += c;
            }
        }
    }
    flush(afterPoint ? sec.decLiterals : intRaw, afterPoint ? sec.maxDec : sec.intPlaces);
    if (firstZeroIndex >= 0) {
        sec.minInt = sec.intPlaces - firstZeroIndex;
    }
    for (auto& lit : intRaw) {
        sec.intLiterals.push_back({sec.intPlaces - lit.pos, std::move(lit.text)});
    }
    return sec;
}

Pattern ParsePattern(std::string_view text) {
    Pattern p;
    p.count = 0;
    std::size_t start = 0;
    while (p.count < 3) {
        const std::size_t semi = text.find(';', start);
        const std::size_t end =
            (semi == std::string_view::npos || p.count == 2) ? text.size() : semi;
        p.sections[static_cast<std::size_t>(p.count)] =
            ParseSection(text.substr(start, end - start));
        ++p.count;
        if (end == text.size()) {
            break;
        }
        start = end + 1;
    }
    return p;
}

// The few patterns a run uses are parsed once and kept here.
const Pattern& CachedPattern(std::string_view text) {
    struct Entry {
        std::string key;
        Pattern pattern;
        bool used = false;
    };
    static std::array<Entry, 16> cache;
    static std::size_t next = 0;
    for (auto& e : cache) {
        if (e.used && e.key == text) {
            return e.pattern;
        }
    }
    Entry& e = cache[next];
    next = (next + 1) % cache.size();
    e.key = std::string(text);
    e.pattern = ParsePattern(text);
    e.used = true;
    return e.pattern;
}

// A non-negative value as decimal digits: value = 0.d1d2...dn x 10^point, no trailing zeros.
struct Digits {
    std::array<char, 20> d{};
    int n = 0;
    int point = 0;
    bool Zero() const { return n == 0; }
    char At(int index) const {
        return (index >= 0 && index < n) ? d[static_cast<std::size_t>(index)] : '0';
    }
};

// Takes the value to 15 significant digits (how the double reads as a decimal) and rounds that
// decimal half away from zero to `decimals` places.
Digits RoundDecimal(double a, int decimals) {
    Digits r;
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 14);
    const char* e = buf;
    while (e < res.ptr && *e != 'e') {
        ++e;
    }
    int exp10 = 0;
    if (e < res.ptr) {
        const char* p = e + 1;
        bool negExp = false;
        if (p < res.ptr && (*p == '+' || *p == '-')) {
            negExp = *p == '-';
            ++p;
        }
        std::from_chars(p, res.ptr, exp10);
        if (negExp) {
            exp10 = -exp10;
        }
    }
    for (const char* p = buf; p < e; ++p) {
        if (*p >= '0' && *p <= '9') {
            r.d[static_cast<std::size_t>(r.n++)] = *p;
        }
    }
    r.point = exp10 + 1;
    const int keep = r.point + decimals;
    if (keep < r.n) {
        if (keep < 0) {
            r.n = 0;
        } else {
            const bool up = r.d[static_cast<std::size_t>(keep)] >= '5';
            r.n = keep;
            if (up) {
                int i = keep - 1;
                while (i >= 0 && r.d[static_cast<std::size_t>(i)] == '9') {
                    r.d[static_cast<std::size_t>(i)] = '0';
                    --i;
                }
                if (i >= 0) {
                    ++r.d[static_cast<std::size_t>(i)];
                } else {
                    // All kept digits were nines (or none were kept): the value gains a digit.
                    r.d[0] = '1';
                    r.n = 1;
                    ++r.point;
                }
            }
        }
    }
    while (r.n > 0 && r.d[static_cast<std::size_t>(r.n - 1)] == '0') {
        --r.n;
    }
    return r;
}

// Shortest decimal text of the value, for a section without placeholders in the number's place.
void AppendGeneral(std::string& out, double a, const RegionalSettings& rs) {
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, a);
    for (const char* p = buf; p < res.ptr; ++p) {
        if (*p == '.') {
            out += rs.decimalSeparator;
        } else {
            out += *p;
        }
    }
}

void AppendLiterals(std::string& out, const std::vector<Literal>& lits, int pos) {
    for (const auto& lit : lits) {
        if (lit.pos == pos) {
            out += lit.text;
        }
    }
}

void AppendNumber(std::string& out, const Section& sec, const Digits& dg,
                  const RegionalSettings& rs) {
    out += sec.prefix;
    const int intLen = dg.Zero() ? 0 : std::max(dg.point, 0);
    const int shown = std::max(intLen, sec.minInt);
    // Literals that sit left of every digit actually shown.
    for (const auto& lit : sec.intLiterals) {
        if (lit.pos > shown) {
            out += lit.text;
        }
    }
    const int lead = shown - intLen;  // padding zeros
    for (int k = 0; k < shown; ++k) {
        const int right = shown - k;
        if (!sec.intLiterals.empty()) {
            AppendLiterals(out, sec.intLiterals, right);
        }
        out += k < lead ? '0' : dg.At(k - lead);
        if (sec.thousands && right > 1 && (right - 1) % 3 == 0) {
            out += rs.thousandsSeparator;
        }
    }
    if (!sec.intLiterals.empty()) {
        AppendLiterals(out, sec.intLiterals, 0);
    }
    int dec = sec.maxDec;
    while (dec > sec.minDec && dg.At(dg.point + dec - 1) == '0') {
        --dec;
    }
    if (dec > 0) {
        out += rs.decimalSeparator;
    }
    for (int j = 0; j < dec; ++j) {
        if (!sec.decLiterals.empty()) {
            AppendLiterals(out, sec.decLiterals, j);
        }
        out += dg.At(dg.point + j);
    }
    for (const auto& lit : sec.decLiterals) {
        if (lit.pos >= dec) {
            out += lit.text;
        }
    }
    out += sec.suffix;
}

}  // namespace

std::string FormatNumber(double value, std::string_view pattern, const RegionalSettings& rs) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "INF" : "-INF";
    }
    const Pattern& p = CachedPattern(pattern);
    const bool negative = value < 0;
    const double a = std::fabs(value);

    const Section* sec = &p.sections[0];
    bool minus = negative;
    if (negative && p.count >= 2 && !p.sections[1].empty) {
        sec = &p.sections[1];
        minus = false;
    }

    std::string out;
    if (!sec->hasDigits) {
        if (sec->empty) {
            // No pattern to follow: the plain shortest form of the value.
            if (minus) {
                out += '-';
            }
            AppendGeneral(out, a, rs);
        } else {
            if (minus) {
                out += '-';
            }
            out += sec->whole;
        }
        return out;
    }

    Digits dg = RoundDecimal(a, sec->maxDec);
    if (dg.Zero() && (negative || (p.count >= 3 && !p.sections[2].empty))) {
        // A value that rounds to zero shows exactly as zero does.
        minus = false;
        sec = (p.count >= 3 && !p.sections[2].empty) ? &p.sections[2] : &p.sections[0];
        if (!sec->hasDigits) {
            return sec->whole;
        }
        dg = Digits{};
    }
    if (dg.Zero() && !sec->hasZero) {
        return out;
    }
    if (minus) {
        out += '-';
    }
    AppendNumber(out, *sec, dg, rs);
    return out;
}

namespace {

bool IsSpaceLike(std::string_view s) {
    return s == " " || s == "\xC2\xA0" || s == "\xE2\x80\xAF";
}

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

// Drops the thousands separators; a space-like separator drops all three space-like characters,
// since an exported file may hold a different one than the locale uses.
std::string WithoutThousands(std::string_view text, const RegionalSettings& rs) {
    std::string s(text);
    const std::string& sep = rs.thousandsSeparator;
    if (sep.empty() || sep == rs.decimalSeparator) {
        return s;
    }
    if (IsSpaceLike(sep)) {
        RemoveAll(s, " ");
        RemoveAll(s, "\xC2\xA0");
        RemoveAll(s, "\xE2\x80\xAF");
    } else {
        RemoveAll(s, sep);
    }
    return s;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Strict conversion: [blanks][sign]digits[dec digits][(E|e)[sign]digits][blanks], at least one
// digit in the mantissa. The result is correctly rounded and finite; a value too small for a
// double reads as zero.
std::optional<double> ParseNumber(std::string_view s, std::string_view dec) {
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n && s[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    const std::size_t intStart = i;
    while (i < n && IsDigit(s[i])) {
        ++i;
    }
    const std::string_view intDigits = s.substr(intStart, i - intStart);
    std::string_view fracDigits;
    if (!dec.empty() && s.substr(i, dec.size()) == dec) {
        i += dec.size();
        const std::size_t fracStart = i;
        while (i < n && IsDigit(s[i])) {
            ++i;
        }
        fracDigits = s.substr(fracStart, i - fracStart);
    }
    if (intDigits.empty() && fracDigits.empty()) {
        return std::nullopt;
    }
    long long exponent = 0;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool negExp = false;
        if (i < n && (s[i] == '+' || s[i] == '-')) {
            negExp = s[i] == '-';
            ++i;
        }
        const std::size_t expStart = i;
        while (i < n && IsDigit(s[i])) {
            if (exponent < 1000000) {
                exponent = exponent * 10 + (s[i] - '0');
            }
            ++i;
        }
        if (i == expStart) {
            return std::nullopt;
        }
        if (negExp) {
            exponent = -exponent;
        }
    }
    while (i < n && s[i] == ' ') {
        ++i;
    }
    if (i != n) {
        return std::nullopt;
    }

    std::string c;
    c.reserve(intDigits.size() + fracDigits.size() + 16);
    if (negative) {
        c += '-';
    }
    c += intDigits.empty() ? std::string_view("0") : intDigits;
    if (!fracDigits.empty()) {
        c += '.';
        c += fracDigits;
    }
    if (exponent != 0) {
        c += 'e';
        char buf[24];
        const auto r = std::to_chars(buf, buf + sizeof buf, exponent);
        c.append(buf, r.ptr);
    }
    double value = 0;
    const auto res = std::from_chars(c.data(), c.data() + c.size(), value);
    if (res.ptr != c.data() + c.size()) {
        return std::nullopt;
    }
    if (res.ec == std::errc::result_out_of_range || !std::isfinite(value)) {
        // Out of range either way: too large is refused, too small is zero.
        long long magnitude = exponent;
        const std::size_t firstInt = intDigits.find_first_not_of('0');
        if (firstInt != std::string_view::npos) {
            magnitude += static_cast<long long>(intDigits.size() - firstInt);
        } else {
            const std::size_t firstFrac = fracDigits.find_first_not_of('0');
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
    if (res.ec != std::errc()) {
        return std::nullopt;
    }
    return value == 0 ? 0.0 : value;
}

}  // namespace

bool IsAmountText(std::string_view text, const RegionalSettings& rs) {
    if (text.empty()) {
        return true;
    }
    return ParseNumber(WithoutThousands(text, rs), rs.decimalSeparator).has_value();
}

double AmountFromText(std::string_view text, const RegionalSettings& rs) {
    if (text.empty()) {
        return 0;
    }
    std::string s = WithoutThousands(text, rs);
    RemoveAll(s, "%");
    return ParseNumber(s, rs.decimalSeparator).value_or(0.0);
}

}  // namespace movik
