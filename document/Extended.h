#pragma once
// The 10-byte x87 extended real: 64-bit significand with explicit integer bit, then the sign bit
// and the 15-bit exponent biased by 16383. Portable, no long double.

#include <array>
#include <cstdint>

namespace movik {

using ExtendedBytes = std::array<std::uint8_t, 10>;

// Exact for every double (a double fits in an extended real). 1 gives 00 00 00 00 00 00 00 80 FF
// 3F.
ExtendedBytes EncodeExtended(double value);
// Nearest double (round half to even); NaN, infinities and values beyond the double range map to
// NaN, infinities and infinities; denormals and unnormals are handled without crashing.
double DecodeExtended(const ExtendedBytes& bytes);

}  // namespace movik
