#include "intake/WorkbookLimits.h"

#include <algorithm>

namespace movik::workbook {

std::string TooLarge(const std::string& what) {
    return "Radna knjiga je prevelika za uvoz (" + what + ")";
}

std::string Mib(std::size_t bytes) {
    return std::to_string(bytes >> 20) + " MB";
}

bool Wanted(const std::vector<std::string>& wanted, const std::string& name) {
    return wanted.empty() || std::find(wanted.begin(), wanted.end(), name) != wanted.end();
}

}  // namespace movik::workbook
