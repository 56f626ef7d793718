// The UTF-8 helpers.

#include "model/Utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace movik {
namespace {

TEST(Utf8, LengthCountsCharacters) {
    EXPECT_EQ(Utf8Length(""), 0u);
    EXPECT_EQ(Utf8Length("abc"), 3u);
    EXPECT_EQ(Utf8Length("čćžšđ"), 5u);
    EXPECT_EQ(Utf8Length("€"), 1u);
    EXPECT_EQ(Utf8Length("\xF0\x9F\x98\x80"), 1u);
    // Each byte of a malformed sequence counts as one character.
    EXPECT_EQ(Utf8Length("\xFF\xFE"), 2u);
    EXPECT_EQ(Utf8Length("a\xC3"), 2u);
}

TEST(Utf8, LeftNeverSplitsACharacter) {
    EXPECT_EQ(Utf8Left("čćžšđ", 2), "čć");
    EXPECT_EQ(Utf8Left("čćžšđ", 0), "");
    EXPECT_EQ(Utf8Left("čćžšđ", 5), "čćžšđ");
    EXPECT_EQ(Utf8Left("čćžšđ", 99), "čćžšđ");
    EXPECT_EQ(Utf8Left("a€b", 2), "a€");
    EXPECT_EQ(Utf8Left("", 3), "");
    // By bytes: "č" takes two, "€" three.
    EXPECT_EQ(Utf8LeftBytes("čćž", 3), "č");
    EXPECT_EQ(Utf8LeftBytes("čćž", 4), "čć");
    EXPECT_EQ(Utf8LeftBytes("a€b", 3), "a");
    EXPECT_EQ(Utf8LeftBytes("a€b", 99), "a€b");
}

TEST(Utf8, OffsetIsWhereACharacterStarts) {
    EXPECT_EQ(Utf8Offset("čćž", 0), 0u);
    EXPECT_EQ(Utf8Offset("čćž", 2), 4u);
    EXPECT_EQ(Utf8Offset("čćž", 3), 6u);
    EXPECT_EQ(Utf8Offset("čćž", 9), 6u);
    EXPECT_EQ(Utf8Offset("a\xE8"
                         "b",
                         2),
              2u);  // a malformed byte is one character
    EXPECT_EQ(Utf8Offset("€\xF0\x9F\x98\x80x", 2), 7u);
}

// Every length of character, at the edges of its range: written, then read back.
TEST(Utf8, PutThenDecodeGivesTheSameCharacter) {
    for (const char32_t cp :
         {U'\0', U'A', U'\x7F', U'\x80', U'č', U'\x7FF', U'\x800', U'€', U'\xD7FF', U'\xE000',
          U'\xFFFF', U'\x10000', U'\x1F600', U'\x10FFFF'}) {
        char buffer[4] = {};
        const std::size_t written = PutUtf8(buffer, cp);
        const std::string_view text(buffer, written);
        char32_t read = 0;
        EXPECT_EQ(DecodeUtf8(text, 0, read), written) << static_cast<unsigned>(cp);
        EXPECT_EQ(read, cp);
        EXPECT_EQ(written, cp < 0x80 ? 1u : cp < 0x800 ? 2u : cp < 0x10000 ? 3u : 4u);
    }
}

struct Malformed {
    std::string_view bytes;
    const char* why;
};

class Utf8Malformed : public ::testing::TestWithParam<Malformed> {};

TEST_P(Utf8Malformed, IsRefusedAndReplacedByteByByte) {
    const Malformed& m = GetParam();
    char32_t cp = 0;
    EXPECT_EQ(DecodeUtf8(m.bytes, 0, cp), 0u) << m.why;
    EXPECT_FALSE(IsUtf8(m.bytes)) << m.why;
    EXPECT_EQ(StepUtf8(m.bytes, 0), 1u) << m.why;
    const std::string valid = ValidUtf8(m.bytes);
    EXPECT_TRUE(IsUtf8(valid)) << m.why;
    EXPECT_EQ(valid.substr(0, 3), "\xEF\xBF\xBD") << m.why;
}

INSTANTIATE_TEST_SUITE_P(Sequences, Utf8Malformed,
                         ::testing::Values(Malformed{"\x80", "a lone continuation byte"},
                                           Malformed{"\xC0\x80", "an overlong NUL"},
                                           Malformed{"\xE0\x80\xAF", "an overlong slash"},
                                           Malformed{"\xED\xA0\x80", "a surrogate"},
                                           Malformed{"\xF4\x90\x80\x80", "beyond U+10FFFF"},
                                           Malformed{"\xE2\x82", "cut short"},
                                           Malformed{"\xE8"
                                                     "a",
                                                     "a lead byte before an ASCII letter"},
                                           Malformed{"\xFF", "a byte UTF-8 never uses"}));

TEST(Utf8, ValidTextIsKeptAsItIs) {
    const std::string text = "Čvorak d.o.o. – 31. 12. 2024. €";
    EXPECT_TRUE(IsUtf8(text));
    EXPECT_EQ(ValidUtf8(text), text);
    EXPECT_EQ(ValidUtf8("a\xE8z"), "a\xEF\xBF\xBDz");
}

}  // namespace
}  // namespace movik
