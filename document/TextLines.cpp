#include "document/TextLines.h"

namespace movik {

std::size_t TakeLines(std::string_view text, std::size_t wanted, std::size_t* found) {
    std::size_t ends = 0;
    std::size_t length = wanted == 0 ? 0 : text.size();
    for (std::size_t at = 0; ends < wanted; ++at) {
        at = text.find('\n', at);
        if (at == std::string_view::npos) {
            break;
        }
        if (++ends == wanted) {
            length = at + 1;
        }
    }
    if (found != nullptr) {
        *found = ends;
    }
    return length;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        std::string_view line = text.substr(0, TakeLines(text, 1));
        text.remove_prefix(line.size());
        if (line.back() == '\n') {
            line.remove_suffix(1);
        }
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
    }
    return lines;
}

}  // namespace movik
