#pragma once
// The one definition of a line in the semicolon-separated files the program reads and writes:
// a line ends in LF, written as CR LF; a read line may end in either, and the last one may have
// no end at all.

#include <cstddef>
#include <string_view>
#include <vector>

namespace movik {

// What every written line ends in.
inline constexpr std::string_view kLineEnd = "\r\n";

// How many bytes of text the first `wanted` lines take, their ends included: the end of the
// wanted-th line end, or all of text when it holds fewer. *found (when given) gets the number
// of line ends counted (at most wanted), so that a caller reading in chunks can go on.
std::size_t TakeLines(std::string_view text, std::size_t wanted, std::size_t* found = nullptr);

// The lines of text without their ends (views into text); a final line end does not start
// another line, so "" has no line and "a\r\n" one.
std::vector<std::string_view> SplitLines(std::string_view text);

}  // namespace movik
