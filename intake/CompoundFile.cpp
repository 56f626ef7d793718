#include "intake/CompoundFile.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace movik::workbook {

namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kLastSector = 0xFFFFFFFA;  // the highest number a sector can have
constexpr std::size_t kHeaderFatEntries = 109;
constexpr std::size_t kEntryBytes = 128;
constexpr std::uint16_t kFilePass = 0x002F;  // BIFF: the workbook is encrypted
constexpr std::uint16_t kEndOfFile = 0x000A;

struct Broken {};  // the file cannot be followed

std::uint32_t U32(std::string_view b, std::size_t at) {
    if (at + 4 > b.size()) {
        throw Broken{};
    }
    std::uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

std::uint16_t U16(std::string_view b, std::size_t at) {
    if (at + 2 > b.size()) {
        throw Broken{};
    }
    std::uint16_t v;
    std::memcpy(&v, b.data() + at, 2);
    return v;
}

class Compound {
  public:
    explicit Compound(std::string_view bytes) : bytes_(bytes) {
        const std::uint16_t shift = U16(bytes, 0x1E);
        if (U16(bytes, 0x1C) != 0xFFFE || (shift != 9 && shift != 12)) {
            throw Broken{};
        }
        sector_ = std::size_t{1} << shift;
        ReadFat();
    }

    // The sector's bytes (fewer at a short end of the file).
    std::string_view Sector(std::uint32_t n) const {
        const std::size_t at = (static_cast<std::size_t>(n) + 1) * sector_;
        if (n > kLastSector || at >= bytes_.size()) {
            throw Broken{};
        }
        return bytes_.substr(at, sector_);
    }

    // The sectors of the chain from first on, at most `most` of them.
    std::vector<std::uint32_t> Chain(std::uint32_t first, std::size_t most) const {
        std::vector<std::uint32_t> chain;
        for (std::uint32_t s = first; s != kEndOfChain && chain.size() < most; s = fat_[s]) {
            if (s >= fat_.size() || chain.size() > fat_.size()) {
                throw Broken{};  // outside the table, or a loop
            }
            chain.push_back(s);
        }
        return chain;
    }

    std::size_t SectorBytes() const { return sector_; }

  private:
    // The sector table: the sectors that hold it are listed in the header, then in a chain of
    // sectors of the same kind.
    void ReadFat() {
        std::vector<std::uint32_t> fatSectors;
        const std::uint32_t count = U32(bytes_, 0x2C);
        if (count > bytes_.size() / sector_) {
            throw Broken{};
        }
        for (std::size_t i = 0; i < kHeaderFatEntries && fatSectors.size() < count; ++i) {
            fatSectors.push_back(U32(bytes_, 0x4C + 4 * i));
        }
        std::uint32_t next = U32(bytes_, 0x44);
        for (std::size_t hops = 0; fatSectors.size() < count; ++hops) {
            if (hops > count) {
                throw Broken{};
            }
            const std::string_view s = Sector(next);
            for (std::size_t i = 0; i + 4 < s.size() && fatSectors.size() < count; i += 4) {
                fatSectors.push_back(U32(s, i));
            }
            next = U32(s, sector_ - 4);
        }
        for (const std::uint32_t f : fatSectors) {
            const std::string_view s = Sector(f);
            for (std::size_t i = 0; i + 4 <= s.size(); i += 4) {
                fat_.push_back(U32(s, i));
            }
        }
    }

    std::string_view bytes_;
    std::size_t sector_ = 512;
    std::vector<std::uint32_t> fat_;
};

// A directory entry's name as ASCII in capitals ("" for any other letter).
std::string EntryName(std::string_view entry) {
    const std::uint16_t length = U16(entry, 0x40);  // in bytes, with the closing zero
    if (length < 2 || length > 64 || length % 2 != 0) {
        return std::string();
    }
    std::string name;
    for (std::size_t i = 0; i + 2 < length; i += 2) {
        const std::uint16_t c = U16(entry, i);
        if (c == 0 || c > 0x7F) {
            return std::string();
        }
        name += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    return name;
}

// Whether the workbook stream's first records (within its first sector) hold FILEPASS, which
// a workbook saved with a password has right after its opening record.
bool HasFilePass(const Compound& file, std::string_view entry) {
    // A stream below the cut-off lives in the mini stream; a real workbook stream never does.
    if (U32(entry, 0x78) < 4096) {
        return false;
    }
    const std::vector<std::uint32_t> first = file.Chain(U32(entry, 0x74), 1);
    if (first.empty()) {
        throw Broken{};
    }
    const std::string_view records = file.Sector(first[0]);
    for (std::size_t at = 0; at + 4 <= records.size();) {
        const std::uint16_t type = U16(records, at);
        if (type == kFilePass) {
            return true;
        }
        if (type == kEndOfFile) {
            break;
        }
        at += 4 + U16(records, at + 2);
    }
    return false;
}

CompoundFile Inspect(std::string_view bytes) {
    const Compound file(bytes);
    // Every directory sector of a file of this size, at most.
    const std::vector<std::uint32_t> directory =
        file.Chain(U32(bytes, 0x30), bytes.size() / file.SectorBytes() + 1);
    bool encryptedPackage = false;
    std::string_view workbook;
    for (const std::uint32_t s : directory) {
        const std::string_view sector = file.Sector(s);
        for (std::size_t at = 0; at + kEntryBytes <= sector.size(); at += kEntryBytes) {
            const std::string_view entry = sector.substr(at, kEntryBytes);
            if (static_cast<unsigned char>(entry[0x42]) != 2) {
                continue;  // only streams count
            }
            const std::string name = EntryName(entry);
            encryptedPackage = encryptedPackage || name == "ENCRYPTEDPACKAGE";
            if (workbook.empty() && (name == "WORKBOOK" || name == "BOOK")) {
                workbook = entry;
            }
        }
    }
    if (encryptedPackage) {
        return CompoundFile::Encrypted;
    }
    if (workbook.empty()) {
        return CompoundFile::NotWorkbook;
    }
    return HasFilePass(file, workbook) ? CompoundFile::Encrypted : CompoundFile::Workbook;
}

}  // namespace

CompoundFile InspectCompoundFile(std::string_view bytes) {
    try {
        return Inspect(bytes);
    } catch (const Broken&) {
        return CompoundFile::Damaged;
    }
}

}  // namespace movik::workbook
