// The Central European Windows code page (1250).

#include "document/Cp1250.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "model/Utf8.h"

namespace movik {
namespace {

// Characters of the bytes 0x80 to 0xFF. The five bytes the code page leaves undefined map to the
// C1 controls of the same value so that every byte survives a round trip.
constexpr std::array<char16_t, 128> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 0x98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // 0xA0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // 0xA8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // 0xB8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // 0xC0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // 0xC8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // 0xD0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // 0xD8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // 0xE0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // 0xE8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // 0xF0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // 0xF8
};

struct Reverse {
    char16_t cp;
    std::uint8_t byte;
};

// The same table sorted by character, for encoding.
constexpr std::array<Reverse, 128> kReverse = [] {
    std::array<Reverse, 128> r{};
    for (std::size_t i = 0; i < r.size(); ++i) {
        r[i] = {kHigh[i], static_cast<std::uint8_t>(0x80 + i)};
    }
    std::sort(r.begin(), r.end(), [](const Reverse& a, const Reverse& b) { return a.cp < b.cp; });
    return r;
}();

// The byte of a character, or -1 when the code page cannot hold it.
int ByteOf(char32_t cp) {
    if (cp < 0x80) {
        return static_cast<int>(cp);
    }
    if (cp > 0xFFFF) {
        return -1;
    }
    const auto it = std::lower_bound(
        kReverse.begin(), kReverse.end(), cp,
        [](const Reverse& r, char32_t c) { return static_cast<char32_t>(r.cp) < c; });
    if (it == kReverse.end() || it->cp != cp) {
        return -1;
    }
    return it->byte;
}

}  // namespace

std::string Cp1250ToUtf8(std::string_view bytes) {
    // Every byte becomes at most three UTF-8 bytes.
    std::string out(bytes.size() * 3, '\0');
    std::size_t n = 0;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        n += PutUtf8(out.data() + n, b < 0x80 ? b : kHigh[b - 0x80u]);
    }
    out.resize(n);
    return out;
}

std::optional<std::string> Utf8ToCp1250(std::string_view text) {
    // Every character takes at least one UTF-8 byte and exactly one byte here.
    std::string out(text.size(), '\0');
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            out[n++] = text[i++];
            continue;
        }
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8(text, i, cp);
        if (len == 0) {
            return std::nullopt;
        }
        const int b = ByteOf(cp);
        if (b < 0) {
            return std::nullopt;
        }
        out[n++] = static_cast<char>(static_cast<unsigned char>(b));
        i += len;
    }
    out.resize(n);
    return out;
}

bool IsCp1250Text(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const std::size_t len = DecodeUtf8(text, i, cp);
        if (len == 0 || ByteOf(cp) < 0) {
            return false;
        }
        i += len;
    }
    return true;
}

std::string Utf8ToCp1250Lossy(std::string_view text) {
    if (std::optional<std::string> bytes = Utf8ToCp1250(text)) {
        return std::move(*bytes);
    }
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t len = StepUtf8(text, i);
        const std::optional<std::string> one = Utf8ToCp1250(text.substr(i, len));
        out += one ? *one : "?";
        i += len;
    }
    return out;
}

}  // namespace movik
