#pragma once
// A small OLE compound file (version 3, 512-byte sectors) built for tests: the sector table in
// sector 0, the directory in sector 1, then each stream padded to at least 4,096 bytes so that
// it lives in ordinary sectors. At most three streams.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace movik::test {

inline void Put16(std::string& b, std::size_t at, std::uint16_t v) {
    std::memcpy(b.data() + at, &v, 2);
}
inline void Put32(std::string& b, std::size_t at, std::uint32_t v) {
    std::memcpy(b.data() + at, &v, 4);
}

// A directory entry: the name in UTF-16, its kind (5 root, 2 stream), first sector, size.
inline std::string DirectoryEntry(const std::string& name, char kind, std::uint32_t start,
                                  std::uint32_t size) {
    std::string e(128, '\0');
    for (std::size_t i = 0; i < name.size(); ++i) {
        e[2 * i] = name[i];
    }
    Put16(e, 0x40, static_cast<std::uint16_t>(2 * (name.size() + 1)));
    e[0x42] = kind;
    for (std::size_t link : {0x44, 0x48, 0x4C}) {
        Put32(e, link, 0xFFFFFFFF);
    }
    Put32(e, 0x74, start);
    Put32(e, 0x78, size);
    return e;
}

inline std::string CompoundOf(const std::vector<std::pair<std::string, std::string>>& streams) {
    std::string header(512, '\0');
    std::memcpy(header.data(), "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    Put16(header, 0x18, 0x3E);
    Put16(header, 0x1A, 3);
    Put16(header, 0x1C, 0xFFFE);
    Put16(header, 0x1E, 9);
    Put16(header, 0x20, 6);
    Put32(header, 0x2C, 1);  // one sector of the table: sector 0
    Put32(header, 0x30, 1);  // the directory: sector 1
    Put32(header, 0x38, 4096);
    Put32(header, 0x3C, 0xFFFFFFFE);
    Put32(header, 0x44, 0xFFFFFFFE);
    for (std::size_t i = 0; i < 109; ++i) {
        Put32(header, 0x4C + 4 * i, i == 0 ? 0 : 0xFFFFFFFF);
    }
    std::string fat(512, '\xFF');
    Put32(fat, 0, 0xFFFFFFFD);
    Put32(fat, 4, 0xFFFFFFFE);
    std::string directory = DirectoryEntry("Root Entry", 5, 0xFFFFFFFE, 0);
    std::string data;
    std::uint32_t next = 2;
    for (const auto& [name, content] : streams) {
        std::string padded = content;
        padded.resize(std::max<std::size_t>(4096, (content.size() + 511) / 512 * 512), '\0');
        const auto sectors = static_cast<std::uint32_t>(padded.size() / 512);
        for (std::uint32_t i = 0; i < sectors; ++i) {
            Put32(fat, 4 * (next + i), i + 1 < sectors ? next + i + 1 : 0xFFFFFFFE);
        }
        directory += DirectoryEntry(name, 2, next, static_cast<std::uint32_t>(padded.size()));
        next += sectors;
        data += padded;
    }
    directory.resize(512, '\0');
    return header + fat + directory + data;
}

// A BIFF8 workbook stream's opening: BOF of the workbook globals, then the given records.
inline std::string BiffStart(const std::string& records) {
    return std::string("\x09\x08\x10\x00\x00\x06\x05\x00", 8) + std::string(12, '\0') + records;
}

}  // namespace movik::test
