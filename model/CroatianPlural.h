#pragma once
// The Croatian plural of a counted noun: "1 dokument", "3 dokumenta", "5 dokumenata".

#include <string>
#include <string_view>

namespace movik {

// The form of a noun after the number n: one for 1, 21, 31 … (but not 11, 111 …); few for 2–4,
// 22–24 … (but not 12–14, 112–114 …); many for every other number, 0 included. A negative
// number takes the form of its magnitude.
std::string_view CroatianPlural(long long n, std::string_view one, std::string_view few,
                                std::string_view many);

// The number and its noun: CountText(4, "stupac", "stupca", "stupaca") is "4 stupca".
std::string CountText(long long n, std::string_view one, std::string_view few,
                      std::string_view many);

}  // namespace movik
