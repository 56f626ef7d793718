// The layers of the product: every `#include "folder/..."` of a product folder must follow an
// arrow of the layer table in the design page (a layer uses only the layers below it). When the
// table changes, it changes here and there together, with the reason.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Each product folder and the folders it may include from (itself always).
const std::map<std::string, std::set<std::string>>& Layers() {
    static const std::map<std::string, std::set<std::string>> layers = {
        {"model", {}},
        {"system", {}},
        {"document", {"model", "system"}},
        {"intake", {"document", "model", "system"}},
        {"analysis", {"intake", "document", "model", "system"}},
        {"reports", {"analysis", "intake", "document", "model", "system"}},
        {"charts", {"analysis", "intake", "document", "model", "system"}},
        {"regional", {"model"}},
        {"about", {}},
        {"ui",
         {"charts", "reports", "about", "analysis", "intake", "document", "model", "regional",
          "system"}},
        {"app", {"ui", "about", "regional", "system"}},
        {"cli",
         {"charts", "reports", "analysis", "intake", "document", "model", "regional", "system"}},
    };
    return layers;
}

// The folders whose headers the build generates (the version), usable everywhere.
const std::set<std::string> kGenerated = {"movik"};

struct Include {
    std::string file;  // relative to the source root
    int line;
    std::string folder;
};

// The folder of a line `#include "folder/..."` (blanks allowed around "#"), or "" for any other
// line. Read by hand: GCC's std::regex trips a false warning under the sanitizer build.
std::string IncludedFolder(const std::string& line) {
    std::size_t i = line.find_first_not_of(" \t");
    if (i == std::string::npos || line[i] != '#') {
        return {};
    }
    i = line.find_first_not_of(" \t", i + 1);
    if (i == std::string::npos || line.compare(i, 7, "include") != 0) {
        return {};
    }
    i = line.find_first_not_of(" \t", i + 7);
    if (i == std::string::npos || line[i] != '"') {
        return {};
    }
    const std::size_t start = i + 1;
    std::size_t end = start;
    while (end < line.size() &&
           (std::isalpha(static_cast<unsigned char>(line[end])) != 0 || line[end] == '_')) {
        ++end;
    }
    return end > start && end < line.size() && line[end] == '/' ? line.substr(start, end - start)
                                                                : std::string();
}

std::vector<Include> IncludesOf(const fs::path& root, const std::string& layer) {
    std::vector<Include> found;
    if (!fs::exists(root / layer)) {
        return found;
    }
    for (const auto& entry : fs::recursive_directory_iterator(root / layer)) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) {
            continue;
        }
        std::ifstream in(entry.path());
        std::string text;
        for (int n = 1; std::getline(in, text); ++n) {
            if (std::string folder = IncludedFolder(text); !folder.empty()) {
                found.push_back({fs::relative(entry.path(), root).string(), n, std::move(folder)});
            }
        }
    }
    return found;
}

// The arrow a file's include draws is in the table, or names its own folder.
bool Allowed(const std::string& layer, const std::string& folder) {
    return folder == layer || kGenerated.count(folder) != 0 ||
           Layers().at(layer).count(folder) != 0;
}

TEST(Layers, EveryIncludeFollowsAnArrowOfTheTable) {
    const fs::path root = MOVIK_SOURCE_DIR;
    int includes = 0;
    for (const auto& [layer, uses] : Layers()) {
        for (const Include& i : IncludesOf(root, layer)) {
            ++includes;
            EXPECT_TRUE(Allowed(layer, i.folder))
                << i.file << ":" << i.line << ": " << layer << " may not use " << i.folder;
        }
    }
    EXPECT_GT(includes, 300);  // the product was found and read
}

// Every folder with product code is in the table, so a new layer cannot slip past it.
TEST(Layers, EveryProductFolderIsInTheTable) {
    const std::set<std::string> notProduct = {"tests",   "fuzz",  "bench",     "tools",
                                              "build",   "help",  "resources", "scripts",
                                              "desktop", "cmake", "examples"};
    for (const auto& entry : fs::directory_iterator(MOVIK_SOURCE_DIR)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_directory() || name.starts_with(".") || name.starts_with("build") ||
            notProduct.count(name) != 0) {
            continue;
        }
        bool code = false;
        for (const auto& file : fs::recursive_directory_iterator(entry.path())) {
            const std::string ext = file.path().extension().string();
            code = code || ext == ".cpp" || ext == ".h";
        }
        EXPECT_TRUE(!code || Layers().count(name) != 0) << name << " is not in the layer table";
    }
}

}  // namespace
