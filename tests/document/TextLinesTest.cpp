// The one line splitter of the semicolon-separated files: LF and CR LF ends, a last line without
// an end, and a count of lines taken across chunks as a reader meets them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/TextLines.h"

namespace movik {
namespace {

TEST(TextLines, SplitsAtEitherLineEnd) {
    struct Case {
        std::string text;
        std::vector<std::string_view> lines;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"\n", {""}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\nb", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\rb\n", {"a\rb"}},  // a lone CR is no line end
        {"a\r", {"a"}},        // a CR before the end of the file is dropped as before LF
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitLines(c.text), c.lines) << c.text;
    }
}

TEST(TextLines, TakesTheWantedLinesWithTheirEnds) {
    struct Case {
        std::string_view text;
        std::size_t wanted;
        std::size_t length;
        std::size_t found;
    };
    const std::vector<Case> cases = {
        {"a\nb\nc", 0, 0, 0}, {"a\nb\nc", 1, 2, 1}, {"a\r\nb\r\nc", 2, 6, 2}, {"a\nb\nc", 3, 5, 2},
        {"abc", 1, 3, 0},     {"", 4, 0, 0},        {"\n\n\n\n", 2, 2, 2},
    };
    for (const Case& c : cases) {
        std::size_t found = 99;
        EXPECT_EQ(TakeLines(c.text, c.wanted, &found), c.length) << c.text << " " << c.wanted;
        EXPECT_EQ(found, c.found) << c.text << " " << c.wanted;
    }
}

// Taking lines chunk by chunk ends where taking them from the whole text ends.
TEST(TextLines, TakenInChunksEndsWhereTakenWhole) {
    const std::string text = "1;a;\r\n2;b;\r\n\r\n3;c;\r\n4";
    for (std::size_t wanted = 1; wanted <= 5; ++wanted) {
        for (std::size_t chunk = 1; chunk <= text.size(); ++chunk) {
            std::size_t kept = 0;
            std::size_t ends = 0;
            for (std::size_t at = 0; at < text.size() && ends < wanted; at += chunk) {
                std::size_t found = 0;
                kept += TakeLines(std::string_view(text).substr(at, chunk), wanted - ends, &found);
                ends += found;
            }
            EXPECT_EQ(kept, TakeLines(text, wanted)) << wanted << " lines, chunks of " << chunk;
        }
    }
}

}  // namespace
}  // namespace movik
