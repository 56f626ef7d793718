// The 10-byte x87 extended real, by bit manipulation only.
//
// Layout (little-endian): bytes 0..7 the 64-bit significand with an explicit integer bit (bit 63),
// bytes 8..9 the sign bit (bit 15) and the exponent biased by 16383. An exponent field of 0 means
// the exponent -16382 (denormals), 0x7FFF infinities and NaNs.

#include "document/Extended.h"

#include <bit>
#include <cstdint>

namespace movik {
namespace {

constexpr int kExtBias = 16383;
constexpr int kDblBias = 1023;
constexpr std::uint64_t kIntBit = std::uint64_t{1} << 63;
constexpr std::uint64_t kSignBit = std::uint64_t{1} << 63;
constexpr std::uint64_t kDblMantMask = (std::uint64_t{1} << 52) - 1;

ExtendedBytes Pack(bool negative, unsigned exponent, std::uint64_t significand) {
    ExtendedBytes b{};
    for (std::size_t i = 0; i < 8; ++i) {
        b[i] = static_cast<std::uint8_t>(significand >> (8 * i));
    }
    const unsigned se = (negative ? 0x8000u : 0u) | (exponent & 0x7FFFu);
    b[8] = static_cast<std::uint8_t>(se);
    b[9] = static_cast<std::uint8_t>(se >> 8);
    return b;
}

double FromBits(bool negative, std::uint64_t bits) {
    return std::bit_cast<double>(bits | (negative ? kSignBit : 0));
}

// Rounds significand / 2^shift to the nearest integer, ties to even. shift is at least 1.
std::uint64_t ShiftRoundEven(std::uint64_t significand, int shift) {
    if (shift >= 65) {
        return 0;  // below half of one unit
    }
    if (shift == 64) {
        return significand > kIntBit ? 1 : 0;  // exactly half rounds to the even 0
    }
    const std::uint64_t kept = significand >> shift;
    const std::uint64_t rest = significand & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    if (rest > half || (rest == half && (kept & 1) != 0)) {
        return kept + 1;
    }
    return kept;
}

}  // namespace

ExtendedBytes EncodeExtended(double value) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const unsigned exponent = static_cast<unsigned>((bits >> 52) & 0x7FF);
    const std::uint64_t mantissa = bits & kDblMantMask;

    if (exponent == 0x7FF) {
        // Infinity keeps only the integer bit; a NaN keeps its payload and its quiet bit.
        return Pack(negative, 0x7FFF, kIntBit | (mantissa << 11));
    }
    if (exponent == 0) {
        if (mantissa == 0) {
            return Pack(negative, 0, 0);
        }
        // A double denormal is a normal extended real: value = mantissa * 2^-1074.
        const int lz = std::countl_zero(mantissa);
        const int e = -1074 + 63 - lz;
        return Pack(negative, static_cast<unsigned>(e + kExtBias), mantissa << lz);
    }
    const int e = static_cast<int>(exponent) - kDblBias;
    return Pack(negative, static_cast<unsigned>(e + kExtBias), kIntBit | (mantissa << 11));
}

double DecodeExtended(const ExtendedBytes& bytes) {
    std::uint64_t significand = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        significand |= std::uint64_t{bytes[i]} << (8 * i);
    }
    const unsigned se = static_cast<unsigned>(bytes[8]) | (static_cast<unsigned>(bytes[9]) << 8);
    const bool negative = (se & 0x8000u) != 0;
    const int exponent = static_cast<int>(se & 0x7FFFu);

    if (exponent == 0x7FFF) {
        if (significand == kIntBit) {
            return FromBits(negative, std::uint64_t{0x7FF} << 52);
        }
        // NaNs, and the pseudo-infinities and pseudo-NaNs without integer bit, read as a quiet
        // NaN that keeps what fits of the payload.
        const std::uint64_t payload = (significand >> 11) & kDblMantMask;
        return FromBits(negative,
                        (std::uint64_t{0x7FF} << 52) | (std::uint64_t{1} << 51) | payload);
    }
    if (significand == 0) {
        return FromBits(negative, 0);
    }

    // value = significand * 2^(e - 63), e the unbiased exponent. Denormals (and pseudo-denormals)
    // use the exponent of field 1; unnormals (integer bit clear) read as the value their bits
    // state, which normalising below gives.
    int e = (exponent == 0 ? 1 : exponent) - kExtBias;
    const int lz = std::countl_zero(significand);
    significand <<= lz;
    e -= lz;

    if (e > kDblBias) {
        return FromBits(negative, std::uint64_t{0x7FF} << 52);
    }
    if (e >= -1022) {
        std::uint64_t mant = ShiftRoundEven(significand, 11);  // 53 bits, possibly 2^53
        if (mant == (std::uint64_t{1} << 53)) {
            mant >>= 1;
            ++e;
            if (e > kDblBias) {
                return FromBits(negative, std::uint64_t{0x7FF} << 52);
            }
        }
        const auto field = static_cast<std::uint64_t>(e + kDblBias);
        return FromBits(negative, (field << 52) | (mant & kDblMantMask));
    }
    // Below the normal range: the double's denormal count is value / 2^-1074. A carry into bit 52
    // gives the smallest normal, whose bit pattern is the same number.
    const int shift = 63 - 1074 - e;  // more than 11 here
    return FromBits(negative, ShiftRoundEven(significand, shift));
}

}  // namespace movik
