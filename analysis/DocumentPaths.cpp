#include "analysis/DocumentPaths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace movik {

DocumentPaths::DocumentPaths(PathSource arguments) : arguments_(std::move(arguments)) {}

DocumentPaths::DocumentPaths(std::vector<std::string> arguments)
    : arguments_([list = std::move(arguments), i = std::size_t{0}]() mutable {
          return i < list.size() ? std::optional<std::string>(list[i++]) : std::nullopt;
      }) {}

namespace {

bool EndsWithNoCase(const std::string& name, std::string_view ending) {
    if (name.size() <= ending.size()) {
        return false;
    }
    std::string tail = name.substr(name.size() - ending.size());
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == ending;
}

}  // namespace

bool IsDocumentName(const std::string& name) {
    return EndsWithNoCase(name, ".mvk");
}

bool IsFormName(const std::string& name) {
    return EndsWithNoCase(name, ".xlsx") || EndsWithNoCase(name, ".xls");
}

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(fs::status(path, ec));
}

bool DocumentPaths::Enter(const std::string& folder) {
    Folder f;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
        return false;
    }
    std::vector<std::pair<std::string, std::string>> named;  // name, full path
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) {
            break;
        }
        const fs::directory_entry& e = *it;
        std::error_code typeError;
        // Linked folders are not entered: a link back up would never end.
        const bool folderHere = e.is_directory(typeError) && !e.is_symlink(typeError);
        const std::string name = e.path().filename().string();
        // "~$…" is the lock file an office program keeps beside a workbook it has open.
        const bool lockFile = name.rfind("~$", 0) == 0;
        if (folderHere || ((IsDocumentName(name) || IsFormName(name)) && !lockFile &&
                           !e.is_directory(typeError))) {
            named.emplace_back(name, e.path().string());
        }
    }
    std::sort(named.begin(), named.end());
    for (auto& [name, full] : named) {
        f.entries.push_back(std::move(full));
    }
    stack_.push_back(std::move(f));
    return true;
}

std::optional<std::string> DocumentPaths::Next() {
    for (;;) {
        while (!stack_.empty()) {
            Folder& top = stack_.back();
            if (top.next == top.entries.size()) {
                stack_.pop_back();
                continue;
            }
            std::string path = std::move(top.entries[top.next++]);
            std::error_code ec;
            if (fs::is_directory(fs::symlink_status(path, ec)) && Enter(path)) {
                continue;
            }
            return path;  // a folder that cannot be listed too: opening it says why
        }
        std::optional<std::string> argument = arguments_();
        if (!argument) {
            return std::nullopt;
        }
        if (IsFolder(*argument) && Enter(*argument)) {
            continue;
        }
        return argument;
    }
}

}  // namespace movik
