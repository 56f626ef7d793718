// The Windows-1250 codec.

#include "document/Cp1250.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <string>
#include <vector>

#include "model/Utf8.h"

namespace movik {
namespace {

std::string Byte(int b) {
    return std::string(1, static_cast<char>(static_cast<unsigned char>(b)));
}

TEST(Cp1250, EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        const std::string one = Byte(b);
        const std::string utf8 = Cp1250ToUtf8(one);
        EXPECT_TRUE(IsCp1250Text(utf8)) << "byte " << b;
        EXPECT_EQ(Utf8Length(utf8), 1u) << "byte " << b;
        const auto back = Utf8ToCp1250(utf8);
        ASSERT_TRUE(back.has_value()) << "byte " << b;
        EXPECT_EQ(*back, one) << "byte " << b;
        all += one;
    }
    const auto back = Utf8ToCp1250(Cp1250ToUtf8(all));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
}

TEST(Cp1250, UndefinedBytesAreTheC1ControlsOfTheSameValue) {
    for (int b : {0x81, 0x83, 0x88, 0x90, 0x98}) {
        std::string expected;
        expected += static_cast<char>(0xC2);
        expected += static_cast<char>(b);
        EXPECT_EQ(Cp1250ToUtf8(Byte(b)), expected);
    }
    // The other C1 controls have no byte.
    EXPECT_FALSE(Utf8ToCp1250("\xC2\x80").has_value());
    EXPECT_FALSE(Utf8ToCp1250("\xC2\x9F").has_value());
}

// The system's converter, as a second opinion on every defined byte.
TEST(Cp1250, AgreesWithTheSystemConverter) {
    iconv_t cd = iconv_open("UTF-8", "CP1250");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        GTEST_SKIP() << "the C library has no CP1250 converter";
    }
    int compared = 0;
    for (int b = 0; b < 256; ++b) {
        std::string in = Byte(b);
        char out[8] = {};
        char* inPtr = in.data();
        std::size_t inLeft = 1;
        char* outPtr = out;
        std::size_t outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            EXPECT_EQ(errno, EILSEQ);
            EXPECT_TRUE(b == 0x81 || b == 0x83 || b == 0x88 || b == 0x90 || b == 0x98)
                << "byte " << b;
            continue;
        }
        EXPECT_EQ(Cp1250ToUtf8(in), std::string(out, static_cast<std::size_t>(outPtr - out)))
            << "byte " << b;
        ++compared;
    }
    iconv_close(cd);
    EXPECT_GE(compared, 251);
}

struct Letter {
    const char* utf8;
    int byte;
};

class Cp1250Letters : public ::testing::TestWithParam<Letter> {};

TEST_P(Cp1250Letters, MapToTheirBytesBothWays) {
    const Letter& l = GetParam();
    const auto encoded = Utf8ToCp1250(l.utf8);
    ASSERT_TRUE(encoded.has_value()) << l.utf8;
    EXPECT_EQ(*encoded, Byte(l.byte)) << l.utf8;
    EXPECT_EQ(Cp1250ToUtf8(Byte(l.byte)), l.utf8);
}

INSTANTIATE_TEST_SUITE_P(Croatian, Cp1250Letters,
                         ::testing::Values(Letter{"č", 0xE8}, Letter{"ć", 0xE6}, Letter{"ž", 0x9E},
                                           Letter{"š", 0x9A}, Letter{"đ", 0xF0}, Letter{"Č", 0xC8},
                                           Letter{"Ć", 0xC6}, Letter{"Ž", 0x8E}, Letter{"Š", 0x8A},
                                           Letter{"Đ", 0xD0}, Letter{"€", 0x80}, Letter{"ä", 0xE4},
                                           Letter{"\xC2\xA0", 0xA0}, Letter{"„", 0x84},
                                           Letter{"”", 0x94}, Letter{"–", 0x96}, Letter{"ß", 0xDF},
                                           Letter{"˙", 0xFF}, Letter{"A", 0x41}));

TEST(Cp1250, CroatianTextRoundTrips) {
    const std::string text = "ZADUŽENOST I POKRIĆE: Novčani tok, Đurđevac, Šibenik";
    const auto bytes = Utf8ToCp1250(text);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->size(), Utf8Length(text));
    EXPECT_EQ(Cp1250ToUtf8(*bytes), text);
}

TEST(Cp1250, EmbeddedNulSurvives) {
    const std::string text("a\0b", 3);
    const auto bytes = Utf8ToCp1250(text);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(*bytes, text);
    EXPECT_EQ(Cp1250ToUtf8(*bytes), text);
}

class Cp1250Refused : public ::testing::TestWithParam<const char*> {};

TEST_P(Cp1250Refused, IsNotEncoded) {
    const std::string text = std::string("ab") + GetParam() + "c";
    EXPECT_FALSE(Utf8ToCp1250(text).has_value());
    EXPECT_FALSE(IsCp1250Text(text));
}

INSTANTIATE_TEST_SUITE_P(Unrepresentable, Cp1250Refused,
                         ::testing::Values("ñ", "→", "\xE2\x80\xAF" /* U+202F */, "æ", "ø",
                                           "\xF0\x9F\x98\x80" /* U+1F600 */, "€€ñ",
                                           "\xEF\xBF\xBD" /* U+FFFD */));

INSTANTIATE_TEST_SUITE_P(MalformedUtf8, Cp1250Refused,
                         ::testing::Values("\xC3",              // cut short
                                           "\xC0\xAF",          // overlong "/"
                                           "\xE0\x80\xAF",      // overlong "/"
                                           "\xED\xA0\x80",      // surrogate
                                           "\xF4\x90\x80\x80",  // beyond U+10FFFF
                                           "\x80",              // lone continuation byte
                                           "\xFF", "\xC4\x41"   // lead byte without continuation
                                           ));

TEST(Cp1250, TruncatedSequenceAtTheEnd) {
    EXPECT_FALSE(Utf8ToCp1250("abc\xC4").has_value());
    EXPECT_FALSE(Utf8ToCp1250("abc\xE2\x82").has_value());
    EXPECT_TRUE(Utf8ToCp1250("abc\xE2\x82\xAC").has_value());
}

TEST(Utf8, CutToTheCapacityOfAShortString) {
    std::string text;
    for (int i = 0; i < 150; ++i) {
        text += "žA";
    }
    ASSERT_EQ(Utf8Length(text), 300u);
    const std::string cut = Utf8Left(text, 255);
    EXPECT_EQ(Utf8Length(cut), 255u);
    const auto bytes = Utf8ToCp1250(cut);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->size(), 255u);
    EXPECT_EQ(text.compare(0, cut.size(), cut), 0);
}

}  // namespace
}  // namespace movik
