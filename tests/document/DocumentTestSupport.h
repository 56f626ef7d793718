#pragma once
// Helpers shared by the document tests: temporary folders, file bytes, pinned regional settings
// and random documents.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "document/Cp1250.h"
#include "model/Document.h"
#include "model/Regional.h"
#include "model/Templates.h"

namespace movik::test {

// "1,234.56" with dates as 29.02.2000.
inline RegionalSettings DotSettings() {
    return {",", ".", "dd.MM.yyyy"};
}
// "1.234,56".
inline RegionalSettings CommaSettings() {
    return {".", ",", "dd.MM.yyyy"};
}

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "movik-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

    // Names of everything in the folder, sorted.
    std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            result.push_back(entry.path().filename().string());
        }
        std::sort(result.begin(), result.end());
        return result;
    }

  private:
    std::filesystem::path path_;
};

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline void WriteText(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline double GetLittleEndianDouble(const std::vector<std::uint8_t>& image, std::size_t offset) {
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) {
        bits |= static_cast<std::uint64_t>(image.at(offset + static_cast<std::size_t>(i)))
                << (8 * i);
    }
    return std::bit_cast<double>(bits);
}

inline void PutLittleEndianDouble(std::vector<std::uint8_t>& image, std::size_t offset, double v) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    for (int i = 0; i < 8; ++i) {
        image.at(offset + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

// Equal as stored: the same bits, or both NaN.
inline bool SameValue(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b) ||
           (std::isnan(a) && std::isnan(b));
}

// A random text of up to maxBytes Windows-1250 characters (any byte but 0), as UTF-8.
inline std::string RandomText(std::mt19937_64& rng, std::size_t maxBytes) {
    std::uniform_int_distribution<std::size_t> length(0, maxBytes);
    std::uniform_int_distribution<int> byte(1, 255);
    std::string bytes(length(rng), ' ');
    for (char& c : bytes) {
        c = static_cast<char>(byte(rng));
    }
    return Cp1250ToUtf8(bytes);
}

// Any 64-bit pattern: NaNs with payloads, infinities, denormals and ordinary numbers alike.
inline double RandomBits(std::mt19937_64& rng) {
    return std::bit_cast<double>(rng());
}

// An amount with two decimals, up to about a billion, either sign.
inline double RandomAmount(std::mt19937_64& rng) {
    std::uniform_int_distribution<long long> cents(-100'000'000'000LL, 100'000'000'000LL);
    return static_cast<double>(cents(rng)) / 100;
}

}  // namespace movik::test
