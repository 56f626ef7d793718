#pragma once
// The documents named by a list of paths: a file path stands for itself, a folder for every
// "*.mvk" document and every "*.xlsx" or "*.xls" official form below it, in name order, subfolders
// searched where their name sorts. Folders are listed one at a time as the walk reaches them, so a
// long list streams with flat memory.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace movik {

// Yields the next item, or nullopt at the end.
using PathSource = std::function<std::optional<std::string>()>;

class DocumentPaths {
  public:
    explicit DocumentPaths(PathSource arguments);
    // Walks a fixed list of arguments.
    explicit DocumentPaths(std::vector<std::string> arguments);

    // The next document path, or nullopt when all are given. A folder that cannot be listed is
    // given as itself, so opening it reports the failure in its place.
    std::optional<std::string> Next();

  private:
    struct Folder {
        std::vector<std::string> entries;  // full paths, sorted by name
        std::size_t next = 0;
    };
    // Pushes the folder's listing; false when it cannot be listed.
    bool Enter(const std::string& folder);

    PathSource arguments_;
    std::vector<Folder> stack_;
};

// True for a file name ending in ".mvk", in any letter case.
bool IsDocumentName(const std::string& name);

// True for a file name ending in ".xlsx" or ".xls" (an official annual form), in any letter case.
bool IsFormName(const std::string& name);

// True when path names a folder (a link to one included).
bool IsFolder(const std::string& path);

}  // namespace movik
