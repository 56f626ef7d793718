#include "model/DecimalRounding.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

namespace movik::numfmt {

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

namespace {

void DropTrailingZeros(Digits& r) {
    while (r.n > 0 && r.d[static_cast<std::size_t>(r.n - 1)] == '0') {
        --r.n;
    }
}

// The value n15 x 10^(exp10 - 14) rounded half away from zero to `decimals` places, by integer
// arithmetic.
Digits RoundFifteenDigits(std::uint64_t n15, int exp10, int decimals) {
    Digits r;
    // value = n15 x 10^(point - 15); keep the digits down to the last decimal wanted.
    const int point = exp10 + 1;
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
    DropTrailingZeros(r);
    return r;
}

// The 15 significant digits of a (as std::to_chars writes them) into r, with the decimal
// exponent of the first one.
void FifteenDigitsOf(double a, Digits& r, int& exp10) {
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

// Cuts r's digits to the first keep, rounding half away from zero on the digits.
void KeepDigitsRounded(Digits& r, int keep) {
    if (keep >= r.n) {
        return;
    }
    if (keep < 0) {
        r.n = 0;
        return;
    }
    const bool up = r.d[static_cast<std::size_t>(keep)] >= '5';
    r.n = keep;
    if (!up) {
        return;
    }
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

}  // namespace

// Takes the value to 15 significant digits (how the double reads as a decimal) and rounds that
// decimal half away from zero to `decimals` places.
Digits RoundDecimal(double a, int decimals) {
    if (a == 0) {
        return Digits{};
    }
    int exp10 = 0;
    std::uint64_t n15 = 0;
    if (Fast15(a, n15, exp10)) {
        return RoundFifteenDigits(n15, exp10, decimals);
    }
    Digits r;
    FifteenDigitsOf(a, r, exp10);
    r.point = exp10 + 1;
    KeepDigitsRounded(r, r.point + decimals);
    DropTrailingZeros(r);
    return r;
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

}  // namespace movik::numfmt
