#pragma once
// The system's regional settings, read at the edge (QLocale) and passed into the core.

#include <string>

namespace movik {

struct RegionalSettings {
    std::string thousandsSeparator = ",";  // UTF-8, usually one character
    std::string decimalSeparator = ".";    // UTF-8, usually one character
    // Short date pattern in Qt's notation: d, dd, M, MM, MMM, yy, yyyy, 'quoted text', other
    // characters literal. For example "dd. MM. yyyy." (hr_HR) or "M/d/yy" (en_US).
    std::string shortDateFormat = "dd.MM.yyyy";
};

}  // namespace movik
