#pragma once
// Rounding a double as number display does: to 15 significant decimal digits (how the double
// reads as a decimal), then half away from zero to the decimals a pattern shows.

#include <array>
#include <cstdint>

namespace movik::numfmt {

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

inline constexpr std::array<std::uint64_t, 16> kPow10Int = {1ULL,
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

inline constexpr std::array<double, 23> kPow10 = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The value rounded to 15 significant digits (half to even on the exact binary value, as
// std::to_chars does), as n x 10^(exp10 - 14) with 10^14 <= n < 10^15. Covers 1e-8 <= a < 1e15,
// where the scaling power of ten is an exact double and a x 10^k is exact as hi + lo; returns
// false elsewhere.
bool Fast15(double a, std::uint64_t& n, int& exp10);

// Takes the value to 15 significant digits (how the double reads as a decimal) and rounds that
// decimal half away from zero to `decimals` places.
Digits RoundDecimal(double a, int decimals);

// The value times 10^decimals, rounded as RoundDecimal rounds, as one integer; false when the
// quick way does not cover the value.
bool ScaledInteger(double a, int decimals, std::uint64_t& q);

}  // namespace movik::numfmt
