#include "model/CroatianPlural.h"

namespace movik {

std::string_view CroatianPlural(long long n, std::string_view one, std::string_view few,
                                std::string_view many) {
    // The magnitude as unsigned, so that the most negative number has one too.
    const unsigned long long magnitude =
        n < 0 ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    const unsigned long long lastTwo = magnitude % 100;
    const unsigned long long last = magnitude % 10;
    if (last == 1 && lastTwo != 11) {
        return one;
    }
    if (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14)) {
        return few;
    }
    return many;
}

std::string CountText(long long n, std::string_view one, std::string_view few,
                      std::string_view many) {
    return std::to_string(n) + " " + std::string(CroatianPlural(n, one, few, many));
}

}  // namespace movik
