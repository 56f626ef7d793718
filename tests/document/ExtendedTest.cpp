// The 10-byte extended real codec.

#include "document/Extended.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

namespace movik {
namespace {

ExtendedBytes Make(std::uint64_t significand, unsigned signAndExponent) {
    ExtendedBytes b{};
    for (std::size_t i = 0; i < 8; ++i) {
        b[i] = static_cast<std::uint8_t>(significand >> (8 * i));
    }
    b[8] = static_cast<std::uint8_t>(signAndExponent);
    b[9] = static_cast<std::uint8_t>(signAndExponent >> 8);
    return b;
}

std::uint64_t Bits(double d) {
    return std::bit_cast<std::uint64_t>(d);
}

// On x86 the compiler's long double is this very format: a second opinion from the hardware.
constexpr bool kHardware = std::numeric_limits<long double>::digits == 64 &&
                           std::numeric_limits<long double>::max_exponent == 16384;

ExtendedBytes HardwareEncode(double d) {
    const long double x = d;
    ExtendedBytes b{};
    std::memcpy(b.data(), &x, b.size());
    return b;
}

double HardwareDecode(const ExtendedBytes& b) {
    long double x = 0;
    std::memcpy(&x, b.data(), b.size());
    return static_cast<double>(x);
}

TEST(Extended, KnownEncodings) {
    EXPECT_EQ(EncodeExtended(1.0), Make(0x8000000000000000, 0x3FFF));
    EXPECT_EQ(EncodeExtended(1.0),
              (ExtendedBytes{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0xFF, 0x3F}));
    EXPECT_EQ(EncodeExtended(0.0), ExtendedBytes{});
    EXPECT_EQ(EncodeExtended(-0.0), Make(0, 0x8000));
    EXPECT_EQ(EncodeExtended(-1.0), Make(0x8000000000000000, 0xBFFF));
    EXPECT_EQ(EncodeExtended(2.0), Make(0x8000000000000000, 0x4000));
    EXPECT_EQ(EncodeExtended(0.5), Make(0x8000000000000000, 0x3FFE));
    EXPECT_EQ(EncodeExtended(3.0), Make(0xC000000000000000, 0x4000));
    EXPECT_EQ(EncodeExtended(1000.0), Make(0xFA00000000000000, 0x4008));
    // 9999999999 = 0x2540BE3FF, 34 bits.
    EXPECT_EQ(EncodeExtended(9999999999.0), Make(0x2540BE3FFull << 30, 0x3FFF + 33));
    EXPECT_EQ(EncodeExtended(std::numeric_limits<double>::infinity()),
              Make(0x8000000000000000, 0x7FFF));
    EXPECT_EQ(EncodeExtended(-std::numeric_limits<double>::infinity()),
              Make(0x8000000000000000, 0xFFFF));
    // The smallest double denormal, 2^-1074.
    EXPECT_EQ(EncodeExtended(std::numeric_limits<double>::denorm_min()),
              Make(0x8000000000000000, 0x3FFF - 1074));
}

TEST(Extended, KnownDecodings) {
    EXPECT_EQ(DecodeExtended(Make(0x8000000000000000, 0x3FFF)), 1.0);
    EXPECT_EQ(DecodeExtended(Make(0xC000000000000000, 0xC000)), -3.0);
    EXPECT_EQ(Bits(DecodeExtended(ExtendedBytes{})), Bits(0.0));
    EXPECT_EQ(Bits(DecodeExtended(Make(0, 0x8000))), Bits(-0.0));
}

// Every whole number a share count can hold: at a stride over the whole range, densely at the
// start and around each power of two.
TEST(Extended, WholeNumbersUpToTenDigitsAreExact) {
    auto check = [](std::uint64_t n) {
        const double d = static_cast<double>(n);
        const ExtendedBytes b = EncodeExtended(d);
        ASSERT_EQ(DecodeExtended(b), d) << n;
        if (n == 0) {
            ASSERT_EQ(b, ExtendedBytes{});
            return;
        }
        // The significand is n itself, shifted so its top bit is bit 63.
        const int top = std::bit_width(n) - 1;
        ASSERT_EQ(b, Make(n << (63 - top), static_cast<unsigned>(0x3FFF + top))) << n;
        if constexpr (kHardware) {
            ASSERT_EQ(b, HardwareEncode(d)) << n;
        }
    };
    for (std::uint64_t n = 0; n <= 100000; ++n) {
        check(n);
    }
    for (std::uint64_t n = 100000; n <= 9'999'999'999ull; n += 9973) {
        check(n);
    }
    for (int k = 1; k <= 34; ++k) {
        const std::uint64_t p = std::uint64_t{1} << k;
        for (std::uint64_t n = p - 3; n <= p + 3; ++n) {
            check(n);
        }
    }
    for (std::uint64_t n = 9'999'999'990ull; n <= 9'999'999'999ull; ++n) {
        check(n);
    }
}

TEST(Extended, EveryDoubleRoundTrips) {
    const double special[] = {0.0,
                              -0.0,
                              1.0,
                              -1.0,
                              0.1,
                              std::numeric_limits<double>::max(),
                              -std::numeric_limits<double>::max(),
                              std::numeric_limits<double>::min(),
                              std::numeric_limits<double>::denorm_min(),
                              -std::numeric_limits<double>::denorm_min(),
                              std::numeric_limits<double>::min() / 3,
                              std::nextafter(std::numeric_limits<double>::min(), 0.0),
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity()};
    for (double d : special) {
        EXPECT_EQ(Bits(DecodeExtended(EncodeExtended(d))), Bits(d)) << d;
        if constexpr (kHardware) {
            EXPECT_EQ(EncodeExtended(d), HardwareEncode(d)) << d;
        }
    }
    std::mt19937_64 gen(1250);
    for (int i = 0; i < 400000; ++i) {
        std::uint64_t bits = gen();
        if (i % 4 == 0) {
            bits &= 0x800FFFFFFFFFFFFFull;  // a denormal
        }
        const double d = std::bit_cast<double>(bits);
        if (std::isnan(d)) {
            ASSERT_TRUE(std::isnan(DecodeExtended(EncodeExtended(d))));
            continue;
        }
        ASSERT_EQ(Bits(DecodeExtended(EncodeExtended(d))), bits) << d;
        if constexpr (kHardware) {
            ASSERT_EQ(EncodeExtended(d), HardwareEncode(d)) << d;
        }
    }
}

TEST(Extended, NaNStaysNaN) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const ExtendedBytes b = EncodeExtended(nan);
    EXPECT_EQ(b[9] & 0x7F, 0x7F);
    EXPECT_EQ(b[8], 0xFF);
    EXPECT_EQ(b[7] & 0xC0, 0xC0);  // integer bit and quiet bit
    EXPECT_TRUE(std::isnan(DecodeExtended(b)));
    EXPECT_TRUE(
        std::isnan(DecodeExtended(EncodeExtended(std::numeric_limits<double>::signaling_NaN()))));
    EXPECT_TRUE(std::isnan(DecodeExtended(Make(0xC000000000000001, 0xFFFF))));
}

TEST(Extended, RoundsToNearestEven) {
    // 1 + 2^-53 is exactly half way between 1 and the next double: stays at the even 1.
    EXPECT_EQ(DecodeExtended(Make(0x8000000000000400, 0x3FFF)), 1.0);
    // 1 + 2^-52 + 2^-53: half way again, the even neighbour is 1 + 2^-51.
    EXPECT_EQ(DecodeExtended(Make(0x8000000000000C00, 0x3FFF)), 1.0 + std::ldexp(1.0, -51));
    // Just above half way rounds up.
    EXPECT_EQ(DecodeExtended(Make(0x8000000000000401, 0x3FFF)), 1.0 + std::ldexp(1.0, -52));
    // Just below half way rounds down.
    EXPECT_EQ(DecodeExtended(Make(0x80000000000003FF, 0x3FFF)), 1.0);
    // All ones rounds up into the next power of two.
    EXPECT_EQ(DecodeExtended(Make(0xFFFFFFFFFFFFFFFF, 0x3FFF)), 2.0);
    EXPECT_EQ(DecodeExtended(Make(0xFFFFFFFFFFFFFFFF, 0xBFFF)), -2.0);
}

TEST(Extended, BeyondTheDoubleRange) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(DecodeExtended(Make(0x8000000000000000, 0x3FFF + 1024)), inf);
    EXPECT_EQ(DecodeExtended(Make(0x8000000000000000, 0xBFFF + 1024)), -inf);
    EXPECT_EQ(DecodeExtended(Make(0x8000000000000000, 0x7FFE)), inf);
    // The largest double's neighbourhood: all ones at exponent 1023 rounds up to 2^1024.
    EXPECT_EQ(DecodeExtended(Make(0xFFFFFFFFFFFFFFFF, 0x3FFF + 1023)), inf);
    EXPECT_EQ(DecodeExtended(Make(0xFFFFFFFFFFFFF800, 0x3FFF + 1023)),
              std::numeric_limits<double>::max());
    // Far below the smallest denormal.
    EXPECT_EQ(Bits(DecodeExtended(Make(0x8000000000000000, 1))), Bits(0.0));
    EXPECT_EQ(Bits(DecodeExtended(Make(0x8000000000000000, 0x8001))), Bits(-0.0));
    // 2^-1075 is half the smallest denormal: ties to the even 0; a little more gives 2^-1074.
    EXPECT_EQ(DecodeExtended(Make(0x8000000000000000, 0x3FFF - 1075)), 0.0);
    EXPECT_EQ(DecodeExtended(Make(0x8000000000000001, 0x3FFF - 1075)),
              std::numeric_limits<double>::denorm_min());
    // 1.5 x 2^-1075 rounds to 2^-1074 as well, 3 x 2^-1075 to 2 x 2^-1074 (even).
    EXPECT_EQ(DecodeExtended(Make(0xC000000000000000, 0x3FFF - 1075)),
              std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(DecodeExtended(Make(0xC000000000000000, 0x3FFF - 1074)),
              2 * std::numeric_limits<double>::denorm_min());
    // A denormal result whose rounding carries into the smallest normal.
    EXPECT_EQ(DecodeExtended(Make(0xFFFFFFFFFFFFFFFF, 0x3FFF - 1023)),
              std::numeric_limits<double>::min());
}

TEST(Extended, OddEncodingsAreHandled) {
    // Pseudo-infinity (integer bit clear): not a number.
    EXPECT_TRUE(std::isnan(DecodeExtended(Make(0, 0x7FFF))));
    // Unnormal: integer bit clear with a non-zero exponent reads as the value its bits state.
    EXPECT_EQ(DecodeExtended(Make(0x4000000000000000, 0x3FFF)), 0.5);
    EXPECT_EQ(DecodeExtended(Make(0x0000000000000001, 0x3FFF + 63)), 1.0);
    EXPECT_EQ(Bits(DecodeExtended(Make(0, 0x3FFF))), Bits(0.0));
    EXPECT_EQ(Bits(DecodeExtended(Make(0, 0xBFFF))), Bits(-0.0));
    // Extended denormal and pseudo-denormal: far below the double range.
    EXPECT_EQ(DecodeExtended(Make(0x0000000000000001, 0)), 0.0);
    EXPECT_EQ(DecodeExtended(Make(0x8000000000000000, 0)), 0.0);
}

// Random bit patterns, decoded by the codec and by the hardware. Unnormals and the exponent
// 0x7FFF are left out: the hardware treats them as invalid operands.
TEST(Extended, DecodingAgreesWithTheHardware) {
    if constexpr (!kHardware) {
        GTEST_SKIP() << "long double is not the x87 extended real here";
    } else {
        std::mt19937_64 gen(59954);
        std::uniform_int_distribution<unsigned> nearDouble(0x3FFF - 1100, 0x3FFF + 1030);
        int compared = 0;
        for (int i = 0; i < 400000; ++i) {
            std::uint64_t significand = gen();
            unsigned se = static_cast<unsigned>(gen() & 0xFFFF);
            if (i % 2 == 0) {
                se = (se & 0x8000u) | nearDouble(gen);
            }
            if (i % 8 != 7) {
                significand |= std::uint64_t{1} << 63;  // mostly normal numbers
            }
            if (i % 8 == 1) {
                significand &= 0xFFFFFFFFFFFFF000ull | (gen() & 0x0C00);  // near ties
            }
            const unsigned exponent = se & 0x7FFF;
            if (exponent == 0x7FFF || (exponent != 0 && (significand >> 63) == 0)) {
                continue;
            }
            const ExtendedBytes b = Make(significand, se);
            ASSERT_EQ(Bits(DecodeExtended(b)), Bits(HardwareDecode(b)))
                << std::hex << significand << " " << se;
            ++compared;
        }
        EXPECT_GT(compared, 300000);
    }
}

}  // namespace
}  // namespace movik
