#include "about/ResourceFileCheck.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace movik {

namespace {

// Node flags of the resource tree.
constexpr std::uint16_t kCompressedZlib = 0x01;
constexpr std::uint16_t kDirectory = 0x02;
constexpr std::uint16_t kCompressedZstd = 0x04;
constexpr std::size_t kMaxNodesVisited = 100000;

class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    bool Has(std::size_t offset, std::size_t size) const {
        return offset <= bytes_.size() && size <= bytes_.size() - offset;
    }
    // Big-endian unsigned of size bytes at offset; nullopt when it does not lie inside.
    std::optional<std::uint64_t> Big(std::size_t offset, std::size_t size) const {
        return Get(offset, size, false);
    }
    std::optional<std::uint64_t> Little(std::size_t offset, std::size_t size) const {
        return Get(offset, size, true);
    }

  private:
    std::optional<std::uint64_t> Get(std::size_t offset, std::size_t size, bool little) const {
        if (!Has(offset, size)) {
            return std::nullopt;
        }
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < size; ++i) {
            const std::size_t at = little ? offset + size - 1 - i : offset + i;
            value = (value << 8) | static_cast<unsigned char>(bytes_[at]);
        }
        return value;
    }
    std::string_view bytes_;
};

// The content size a zstd frame header declares (nullopt when absent or damaged).
std::optional<std::uint64_t> ZstdContentSize(const Reader& r, std::size_t at, std::size_t size) {
    if (size < 6 || r.Little(at, 4) != 0xFD2FB528u) {
        return std::nullopt;
    }
    const std::uint64_t descriptor = *r.Big(at + 4, 1);
    const unsigned sizeFlag = static_cast<unsigned>(descriptor >> 6);
    const bool singleSegment = (descriptor & 0x20) != 0;
    const std::size_t dictionaryBytes = std::size_t{1} << (descriptor & 3) >> 1;  // 0, 1, 2, 4
    std::size_t field = at + 5 + (singleSegment ? 0 : 1) + dictionaryBytes;
    static constexpr std::size_t kSizeBytes[] = {0, 2, 4, 8};
    const std::size_t sizeBytes = sizeFlag == 0 && singleSegment ? 1 : kSizeBytes[sizeFlag];
    if (sizeBytes == 0 || field + sizeBytes > at + size) {
        return std::nullopt;
    }
    const std::optional<std::uint64_t> value = r.Little(field, sizeBytes);
    if (!value) {
        return std::nullopt;
    }
    return sizeBytes == 2 ? *value + 256 : *value;
}

bool SoundData(const Reader& r, std::size_t dataStart, std::uint64_t offset, std::uint16_t flags) {
    const std::size_t at = dataStart + offset;
    if (offset > SIZE_MAX - dataStart) {
        return false;
    }
    const std::optional<std::uint64_t> size = r.Big(at, 4);
    if (!size || !r.Has(at + 4, *size)) {
        return false;
    }
    if ((flags & kCompressedZlib) != 0) {
        // qCompress's form: the unpacked size first, then the zlib stream.
        const std::optional<std::uint64_t> unpacked = r.Big(at + 4, 4);
        return *size >= 4 && unpacked && *unpacked <= kMaxResourceEntrySize;
    }
    if ((flags & kCompressedZstd) != 0) {
        const std::optional<std::uint64_t> unpacked = ZstdContentSize(r, at + 4, *size);
        return unpacked && *unpacked <= kMaxResourceEntrySize;
    }
    return true;
}

bool SoundName(const Reader& r, std::size_t namesStart, std::uint64_t offset) {
    if (offset > SIZE_MAX - namesStart) {
        return false;
    }
    const std::size_t at = namesStart + offset;
    const std::optional<std::uint64_t> length = r.Big(at, 2);  // UTF-16 units, after a hash
    return length && r.Has(at + 6, *length * 2);
}

}  // namespace

bool IsSoundResourceFile(std::string_view bytes) {
    const Reader r(bytes);
    if (bytes.substr(0, 4) != "qres") {
        return false;
    }
    const std::optional<std::uint64_t> version = r.Big(4, 4);
    const std::optional<std::uint64_t> tree = r.Big(8, 4);
    const std::optional<std::uint64_t> data = r.Big(12, 4);
    const std::optional<std::uint64_t> names = r.Big(16, 4);
    if (!version || !tree || !data || !names || *version < 1 || *version > 3 ||
        (*version >= 3 && !r.Has(20, 4))) {
        return false;
    }
    const std::size_t nodeSize = *version >= 2 ? 22 : 14;
    // Every node reachable from the root: inside the file, its name and data too; children
    // always come after their folder, so the walk ends.
    std::vector<std::uint64_t> pending{0};
    std::size_t visited = 0;
    while (!pending.empty()) {
        const std::uint64_t index = pending.back();
        pending.pop_back();
        if (++visited > kMaxNodesVisited || index > bytes.size() / nodeSize) {
            return false;
        }
        const std::size_t at = *tree + index * nodeSize;
        if (!r.Has(at, nodeSize)) {
            return false;
        }
        const std::uint16_t flags = static_cast<std::uint16_t>(*r.Big(at + 4, 2));
        if (!SoundName(r, *names, *r.Big(at, 4))) {
            return false;
        }
        if (index == 0 && (flags & kDirectory) == 0) {
            return false;
        }
        if ((flags & kDirectory) == 0) {
            if (!SoundData(r, *data, *r.Big(at + 10, 4), flags)) {
                return false;
            }
            continue;
        }
        const std::uint64_t count = *r.Big(at + 6, 4);
        const std::uint64_t first = *r.Big(at + 10, 4);
        if (count == 0) {
            continue;
        }
        if (count > bytes.size() / nodeSize || first <= index ||
            !r.Has(*tree + first * nodeSize, count * nodeSize)) {
            return false;
        }
        for (std::uint64_t child = first; child < first + count; ++child) {
            pending.push_back(child);
        }
    }
    return true;
}

}  // namespace movik
