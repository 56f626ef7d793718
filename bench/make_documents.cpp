// Writes N random documents (five companies, years 2015 to 2025) into a folder, for measuring
// work across many documents:  make_documents N FOLDER [SEED]

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "../tests/support/RandomDocument.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "Uporaba: make_documents N MAPA [SEED]\n");
        return 2;
    }
    const int count = std::atoi(argv[1]);
    const std::filesystem::path folder = argv[2];
    std::filesystem::create_directories(folder);
    std::mt19937 rng(argc > 3 ? static_cast<unsigned>(std::atoi(argv[3])) : 1u);
    movik::Workspace ws(movik::RegionalSettings{}, 2026);
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "d%06d.mvk", i);
        if (!movik::test::WriteRandomDocument(ws, rng, (folder / name).string())) {
            std::fprintf(stderr, "make_documents: %s nije zapisan\n", name);
            return 1;
        }
    }
    return 0;
}
