#pragma once
// Display patterns parsed into their sections, and the cache of parsed patterns.
//
// A pattern has up to three sections separated by ";": positive (and the fallback for the
// others), negative, zero. Inside a section "0" is a digit that is always shown, "#" a digit shown
// only when significant, "," before the decimal point switches on thousands separators, the first
// "." is the decimal point, and every other character is copied as it stands.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace movik::numfmt {

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

Pattern ParsePattern(std::string_view text);

// The parsed pattern of text. The few patterns a run uses are parsed once per thread and kept;
// several threads may format at once (each has its own cache), and the reference stays valid
// until the same thread asks for 16 other patterns.
const Pattern& CachedPattern(std::string_view text);

}  // namespace movik::numfmt
