// Number display by pattern, and reading amount texts back.
//
// A pattern has up to three sections separated by ";": positive (and the fallback for the
// others), negative, zero. Inside a section "0" is a digit that is always shown, "#" a digit shown
// only when significant, "," before the decimal point switches on thousands separators, the first
// "." is the decimal point, and every other character is copied as it stands.

#include "model/NumberFormat.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
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
    std::size_t literalBytes = 0;  // prefix, suffix and every literal together
    bool plain = false;  // no literals among the digits, few placeholders: the quick way applies
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
    sec.literalBytes = sec.prefix.size() + sec.suffix.size();
    for (const auto& lit : sec.intLiterals) {
        sec.literalBytes += lit.text.size();
    }
    for (const auto& lit : sec.decLiterals) {
        sec.literalBytes += lit.text.size();
    }
    sec.plain =
        sec.intLiterals.empty() && sec.decLiterals.empty() && sec.minInt <= 24 && sec.maxDec <= 15;
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

constexpr std::array<std::uint64_t, 16> kPow10Int = {1ULL,
                                                     10ULL,
                                                     100ULL,
                                                     1000ULL,
                                                     10000ULL,
                                                     100000ULL,
                                                     1000000ULL,
                                                     10000000ULL,
                                                     100000000ULL,
                                                     1000000000ULL,
                                                     10000000000ULL,
                                                     100000000000ULL,
                                                     1000000000000ULL,
                                                     10000000000000ULL,
                                                     100000000000000ULL,
                                                     1000000000000000ULL};

constexpr std::array<double, 23> kPow10 = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                           1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                           1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The value rounded to 15 significant digits (half to even on the exact binary value, as
// std::to_chars does), as n x 10^(exp10 - 14) with 10^14 <= n < 10^15. Covers 1e-8 <= a < 1e15,
// where the scaling power of ten is an exact double and a x 10^k is exact as hi + lo; returns
// false elsewhere.
bool Fast15(double a, std::uint64_t& n, int& exp10) {
    if (!(a >= 1e-8 && a < 1e15)) {
        return false;
    }
    const int e2 = static_cast<int>((std::bit_cast<std::uint64_t>(a) >> 52) & 0x7FF) - 1023;
    int e = (e2 * 1233) >> 12;  // floor(e2 x log10(2)), possibly one too small
    for (int tries = 0; tries < 3; ++tries) {
        const int k = 14 - e;
        if (k < 0 || k > 22) {
            return false;
        }
        const double p = kPow10[static_cast<std::size_t>(k)];
        const double hi = a * p;
        const double lo = std::fma(a, p, -hi);  // exact: a x p == hi + lo
        if (hi > 1e15 || (hi == 1e15 && lo >= 0)) {
            ++e;
            continue;
        }
        if (hi < 1e14 || (hi == 1e14 && lo < 0)) {
            --e;
            continue;
        }
        // hi has at most 1/8 as its unit in the last place and |lo| is at most half of it, so
        // lo decides only when hi lies exactly half way between two integers.
        const double fl = std::floor(hi);
        const double f = hi - fl;
        auto v = static_cast<std::uint64_t>(fl);
        if (f > 0.5 || (f == 0.5 && (lo > 0 || (lo == 0 && (v & 1) != 0)))) {
            ++v;
        }
        if (v == 1'000'000'000'000'000ULL) {
            v /= 10;
            ++e;
        }
        n = v;
        exp10 = e;
        return true;
    }
    return false;
}

// Takes the value to 15 significant digits (how the double reads as a decimal) and rounds that
// decimal half away from zero to `decimals` places.
Digits RoundDecimal(double a, int decimals) {
    Digits r;
    int exp10 = 0;
    std::uint64_t n15 = 0;
    if (a == 0) {
        return r;
    }
    if (Fast15(a, n15, exp10)) {
        // value = n15 x 10^(point - 15); keep the digits down to the last decimal wanted.
        int point = exp10 + 1;
        const int keep = point + decimals;
        if (keep < 0) {
            return r;
        }
        std::uint64_t q = n15;
        if (keep < 15) {
            const std::uint64_t div = kPow10Int[static_cast<std::size_t>(15 - keep)];
            q = n15 / div;
            if (n15 - q * div >= div / 2) {
                ++q;
            }
            if (q == 0) {
                return r;
            }
        }
        const auto res = std::to_chars(r.d.data(), r.d.data() + r.d.size(), q);
        r.n = static_cast<int>(res.ptr - r.d.data());
        r.point = keep < 15 ? point - keep + r.n : point;
        while (r.n > 0 && r.d[static_cast<std::size_t>(r.n - 1)] == '0') {
            --r.n;
        }
        return r;
    }
    {
        char buf[40];
        const auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 14);
        const char* e = buf;
        while (e < res.ptr && *e != 'e') {
            ++e;
        }
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

// Output written straight into a buffer sized by an upper bound of the text's length: on the
// stack for ordinary numbers, on the heap for the few very long ones.
class Sink {
  public:
    explicit Sink(std::size_t bound) {
        if (bound > sizeof small_) {
            big_.resize(bound);
            begin_ = big_.data();
        } else {
            begin_ = small_;
        }
        p_ = begin_;
    }
    void Put(char c) { *p_++ = c; }
    void Put(std::string_view s) {
        if (s.size() == 1) {
            *p_++ = s[0];
        } else {
            std::memcpy(p_, s.data(), s.size());
            p_ += s.size();
        }
    }
    std::string Take() {
        const auto n = static_cast<std::size_t>(p_ - begin_);
        if (begin_ == small_) {
            return std::string(small_, n);
        }
        big_.resize(n);
        return std::move(big_);
    }

  private:
    char small_[96];
    std::string big_;
    char* begin_;
    char* p_;
};

// Writes the integer digits, with a thousands separator before every group of three when asked.
void PutGrouped(Sink& out, std::string_view digits, bool thousands, const RegionalSettings& rs) {
    const auto shown = static_cast<int>(digits.size());
    if (!thousands || shown <= 3) {
        out.Put(digits);
        return;
    }
    int at = shown % 3 == 0 ? 3 : shown % 3;
    out.Put(digits.substr(0, static_cast<std::size_t>(at)));
    for (; at < shown; at += 3) {
        out.Put(rs.thousandsSeparator);
        out.Put(digits[static_cast<std::size_t>(at)]);
        out.Put(digits[static_cast<std::size_t>(at) + 1]);
        out.Put(digits[static_cast<std::size_t>(at) + 2]);
    }
}

void PutLiterals(Sink& out, const std::vector<Literal>& lits, int pos) {
    for (const auto& lit : lits) {
        if (lit.pos == pos) {
            out.Put(lit.text);
        }
    }
}

std::string FormatDigits(bool minus, const Section& sec, const Digits& dg,
                         const RegionalSettings& rs) {
    const int intLen = dg.Zero() ? 0 : std::max(dg.point, 0);
    const int shown = std::max(intLen, sec.minInt);
    const std::size_t bound = 1 + sec.literalBytes +
                              static_cast<std::size_t>(shown) * (1 + rs.thousandsSeparator.size()) +
                              rs.decimalSeparator.size() + static_cast<std::size_t>(sec.maxDec);
    Sink out(bound);
    if (minus) {
        out.Put('-');
    }
    out.Put(sec.prefix);
    // Literals that sit left of every digit actually shown.
    for (const auto& lit : sec.intLiterals) {
        if (lit.pos > shown) {
            out.Put(lit.text);
        }
    }
    const int lead = shown - intLen;  // padding zeros
    if (sec.intLiterals.empty() && shown <= 48) {
        // The usual case: the integer digits in one piece, then cut into groups of three.
        char ints[48];
        const int avail = std::min(dg.n, intLen);
        std::fill(ints, ints + lead, '0');
        std::copy(dg.d.data(), dg.d.data() + avail, ints + lead);
        std::fill(ints + lead + avail, ints + shown, '0');
        PutGrouped(out, std::string_view(ints, static_cast<std::size_t>(shown)), sec.thousands, rs);
    } else {
        for (int k = 0; k < shown; ++k) {
            const int right = shown - k;
            PutLiterals(out, sec.intLiterals, right);
            out.Put(k < lead ? '0' : dg.At(k - lead));
            if (sec.thousands && right > 1 && (right - 1) % 3 == 0) {
                out.Put(rs.thousandsSeparator);
            }
        }
    }
    if (!sec.intLiterals.empty()) {
        PutLiterals(out, sec.intLiterals, 0);
    }
    int dec = sec.maxDec;
    while (dec > sec.minDec && dg.At(dg.point + dec - 1) == '0') {
        --dec;
    }
    if (dec > 0) {
        out.Put(rs.decimalSeparator);
    }
    for (int j = 0; j < dec; ++j) {
        if (!sec.decLiterals.empty()) {
            PutLiterals(out, sec.decLiterals, j);
        }
        out.Put(dg.At(dg.point + j));
    }
    for (const auto& lit : sec.decLiterals) {
        if (lit.pos >= dec) {
            out.Put(lit.text);
        }
    }
    out.Put(sec.suffix);
    return out.Take();
}

// Shortest decimal text of the value, for an empty section.
std::string FormatGeneral(bool minus, double a, const RegionalSettings& rs) {
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, a);
    std::string out;
    if (minus) {
        out += '-';
    }
    for (const char* p = buf; p < res.ptr; ++p) {
        if (*p == '.') {
            out += rs.decimalSeparator;
        } else {
            out += *p;
        }
    }
    return out;
}

// The value times 10^decimals, rounded as RoundDecimal rounds, as one integer; false when the
// quick way does not cover the value.
bool ScaledInteger(double a, int decimals, std::uint64_t& q) {
    std::uint64_t n15 = 0;
    int exp10 = 0;
    if (a == 0) {
        q = 0;
        return true;
    }
    if (!Fast15(a, n15, exp10)) {
        return false;
    }
    const int keep = exp10 + 1 + decimals;  // digits of n15 down to the last decimal
    if (keep < 0) {
        q = 0;
    } else if (keep < 15) {
        const std::uint64_t div = kPow10Int[static_cast<std::size_t>(15 - keep)];
        q = n15 / div;
        if (n15 - q * div >= div / 2) {
            ++q;
        }
    } else if (keep <= 18) {
        q = n15 * kPow10Int[static_cast<std::size_t>(keep - 15)];
    } else {
        return false;
    }
    return true;
}

constexpr char kTwoDigits[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes v in decimal so that it ends just before `end`; returns where it begins. 0 writes
// nothing.
char* WriteBackwards(std::uint64_t v, char* end) {
    char* p = end;
    while (v >= 100) {
        const std::size_t r = static_cast<std::size_t>(v % 100) * 2;
        v /= 100;
        *--p = kTwoDigits[r + 1];
        *--p = kTwoDigits[r];
    }
    if (v >= 10) {
        const std::size_t r = static_cast<std::size_t>(v) * 2;
        *--p = kTwoDigits[r + 1];
        *--p = kTwoDigits[r];
    } else if (v > 0) {
        *--p = static_cast<char>('0' + v);
    }
    return p;
}

// A plain section and the value as an integer count of its last decimal.
std::string FormatScaled(bool minus, const Section& sec, std::uint64_t q,
                         const RegionalSettings& rs) {
    const std::uint64_t unit = kPow10Int[static_cast<std::size_t>(sec.maxDec)];
    const std::uint64_t whole = q / unit;
    std::uint64_t frac = q - whole * unit;
    int dec = sec.maxDec;
    while (dec > sec.minDec && frac % 10 == 0) {
        frac /= 10;
        --dec;
    }

    char ints[48];
    char* const intEnd = ints + sizeof ints;
    char* intBegin = WriteBackwards(whole, intEnd);
    while (intEnd - intBegin < sec.minInt) {
        *--intBegin = '0';
    }
    const int shown = static_cast<int>(intEnd - intBegin);

    const std::size_t bound = 1 + sec.literalBytes +
                              static_cast<std::size_t>(shown) * (1 + rs.thousandsSeparator.size()) +
                              rs.decimalSeparator.size() + static_cast<std::size_t>(dec);
    Sink out(bound);
    if (minus) {
        out.Put('-');
    }
    out.Put(sec.prefix);
    PutGrouped(out, std::string_view(intBegin, static_cast<std::size_t>(shown)), sec.thousands, rs);
    if (dec > 0) {
        out.Put(rs.decimalSeparator);
        char decs[16];
        char* const decEnd = decs + dec;
        char* decBegin = WriteBackwards(frac, decEnd);
        while (decBegin > decs) {
            *--decBegin = '0';
        }
        out.Put(std::string_view(decs, static_cast<std::size_t>(dec)));
    }
    out.Put(sec.suffix);
    return out.Take();
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

    if (!sec->hasDigits) {
        if (sec->empty) {
            // No pattern to follow: the plain shortest form of the value.
            return FormatGeneral(minus, a, rs);
        }
        return minus ? "-" + sec->whole : sec->whole;
    }

    std::uint64_t scaled = 0;
    const bool quick = sec->plain && ScaledInteger(a, sec->maxDec, scaled);
    Digits dg;
    if (!quick) {
        dg = RoundDecimal(a, sec->maxDec);
    }
    const bool zero = quick ? scaled == 0 : dg.Zero();
    if (zero) {
        if (negative || (p.count >= 3 && !p.sections[2].empty)) {
            // A value that rounds to zero shows exactly as zero does.
            minus = false;
            sec = (p.count >= 3 && !p.sections[2].empty) ? &p.sections[2] : &p.sections[0];
            if (!sec->hasDigits) {
                return sec->whole;
            }
        }
        if (!sec->hasZero) {
            return std::string();
        }
        return FormatDigits(minus, *sec, Digits{}, rs);
    }
    return quick ? FormatScaled(minus, *sec, scaled, rs) : FormatDigits(minus, *sec, dg, rs);
}

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

    // Fast path for the usual amount: at most 15 digits and no exponent. The digits form an
    // integer below 2^53 and 10^k is exact, so one division gives the correctly rounded value.
    if (exponent == 0 && intDigits.size() + fracDigits.size() <= 15) {
        static constexpr double kPow10[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        std::uint64_t mantissa = 0;
        for (const char d : intDigits) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(d - '0');
        }
        for (const char d : fracDigits) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(d - '0');
        }
        const double value = static_cast<double>(mantissa) / kPow10[fracDigits.size()];
        return negative && value != 0 ? -value : value;
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

namespace {

struct GroupSeparator {
    std::size_t length = 0;  // 0: none here
    bool blank = false;
};

// The group separator at s[i]: the locale's thousands separator, or a blank, a no-break space or
// a narrow no-break space (people write blanks between groups in either convention, and an
// exported file may hold another blank than the locale uses).
GroupSeparator GroupSeparatorAt(std::string_view s, std::size_t i, const RegionalSettings& rs) {
    const std::string_view rest = s.substr(i);
    for (const std::string_view blank : {" ", "\xC2\xA0", "\xE2\x80\xAF"}) {
        if (rest.substr(0, blank.size()) == blank) {
            return {blank.size(), true};
        }
    }
    const std::string& sep = rs.thousandsSeparator;
    if (!sep.empty() && sep != rs.decimalSeparator && rest.substr(0, sep.size()) == sep) {
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

}  // namespace movik
