// Number display by pattern: the digits of the rounded value laid into the pattern's
// sections with the regional separators.
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
#include "model/DecimalRounding.h"
#include "model/Document.h"
#include "model/NumberPattern.h"

namespace movik {
namespace {

using namespace numfmt;

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
    if (sec.intLiterals.empty()) {
        // The usual case: the integer digits in one piece, then cut into groups of three.
        char small[48];
        std::string large;
        char* ints = small;
        if (shown > static_cast<int>(sizeof small)) {
            large.resize(static_cast<std::size_t>(shown));
            ints = large.data();
        }
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
        // Most cells of a document are zero: the quick way writes them when the section allows.
        return sec->plain ? FormatScaled(minus, *sec, 0, rs)
                          : FormatDigits(minus, *sec, Digits{}, rs);
    }
    return quick ? FormatScaled(minus, *sec, scaled, rs) : FormatDigits(minus, *sec, dg, rs);
}

double RoundedAsShown(double value, int decimals) {
    if (!std::isfinite(value) || value == 0) {
        return value == 0 ? 0.0 : value;
    }
    const double a = std::fabs(value);
    std::uint64_t q = 0;
    double r = 0;
    if (decimals >= 0 && decimals < static_cast<int>(kPow10.size()) &&
        ScaledInteger(a, decimals, q) && q <= (std::uint64_t{1} << 53)) {
        // Both exact doubles: the quotient is the double nearest the decimal.
        r = static_cast<double>(q) / kPow10[static_cast<std::size_t>(decimals)];
    } else {
        const Digits dg = RoundDecimal(a, decimals);
        if (dg.Zero()) {
            return 0.0;
        }
        char text[48];
        char* end = text;
        *end++ = '.';
        for (int i = 0; i < dg.n; ++i) {
            *end++ = dg.At(i);
        }
        *end++ = 'e';
        end = std::to_chars(end, text + sizeof text, dg.point).ptr;
        std::from_chars(text, end, r);
    }
    // A value that rounds to zero shows as zero does, without a sign.
    return value < 0 && r != 0 ? -r : r;
}

double AmountAsShown(double value, const RegionalSettings& rs) {
    // Finite amounts below 10^15 show every digit they keep: the text reads back as the double
    // nearest the rounded decimal. Others (NaN, infinities, huge values) go through the text.
    if (std::isfinite(value) && std::fabs(value) < 1e15) {
        return RoundedAsShown(value, 2);
    }
    return AmountFromText(FormatNumber(value, AmountFormat, rs), rs);
}

int DecimalsShown(std::string_view pattern, double value) {
    const Pattern& p = CachedPattern(pattern);
    const bool negative = value < 0 && p.count >= 2 && !p.sections[1].empty;
    return p.sections[negative ? 1 : 0].maxDec;
}

}  // namespace movik
