#pragma once
// Checks a binary Qt resource file (as "rcc --binary" writes it) before Qt maps it: Qt trusts
// every offset in such a file, so a damaged one could make it read far outside the file.

#include <cstddef>
#include <string_view>

namespace movik {

// The largest content one entry may unpack to.
inline constexpr std::size_t kMaxResourceEntrySize = 64u << 20;

// True when bytes hold a resource file whose header, tree, names and data all lie inside it,
// whose tree has no loops, and whose compressed entries unpack to at most kMaxResourceEntrySize.
bool IsSoundResourceFile(std::string_view bytes);

}  // namespace movik
