#pragma once
// Shared by the fuzz targets: the two separator conventions, a scratch file per process, a
// writer that keeps a save in memory, and a check that stops the run with a message.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "document/FileIO.h"
#include "model/Regional.h"

namespace movik::fuzz {

// A property that does not hold is a finding: libFuzzer keeps the input that broke it.
#define MOVIK_FUZZ_CHECK(condition, what)                                                    \
    do {                                                                                     \
        if (!(condition)) {                                                                  \
            std::fprintf(stderr, "property broken: %s (%s:%d)\n", std::string(what).c_str(), \
                         __FILE__, __LINE__);                                                \
            std::abort();                                                                    \
        }                                                                                    \
    } while (false)

inline RegionalSettings DotSettings() {
    return {",", ".", "dd.MM.yyyy"};
}
inline RegionalSettings CommaSettings() {
    return {".", ",", "dd.MM.yyyy"};
}
inline RegionalSettings SettingsOf(bool comma) {
    return comma ? CommaSettings() : DotSettings();
}

// A file of this process for the bytes under test (in memory when /dev/shm is there).
inline std::string ScratchPath(std::string_view name) {
    const char* folder = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(folder) + "/movik-fuzz-" + std::to_string(::getpid()) + "-" +
           std::string(name);
}

inline void WriteScratch(const std::string& path, const void* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    MOVIK_FUZZ_CHECK(out.good(), "scratch file written");
}

// Keeps what a save writes instead of touching the disk.
class MemoryWriter final : public FileWriter {
  public:
    Result WriteWhole(const std::string&, const std::vector<std::uint8_t>& content) override {
        bytes = content;
        return Result::Ok();
    }
    std::vector<std::uint8_t> bytes;
};

}  // namespace movik::fuzz
