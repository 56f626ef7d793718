// Day numbers counted from 30 December 1899 and the proleptic Gregorian calendar.

#include "model/Dates.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace movik {

namespace {

// Days from 1 January 1970 to 30 December 1899.
constexpr std::int64_t kDay0FromUnixEpoch = -25569;

// The day numbers of 1 January 0001 and 31 December 9999: the range of dates the program shows.
constexpr double kFirstDay = -693593;
constexpr double kLastDay = 2958465;

// Days since 1970-01-01 of a proleptic Gregorian date (month and day may be out of their usual
// range only as far as the formula tolerates; callers pass calendar dates).
constexpr std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (m + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr CivilDate CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    return CivilDate{static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

constexpr bool IsLeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

constexpr std::array<const char*, 12> kShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<const char*, 12> kLongMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<const char*, 7> kShortDayNames = {"Mon", "Tue", "Wed", "Thu",
                                                       "Fri", "Sat", "Sun"};
constexpr std::array<const char*, 7> kLongDayNames = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                                      "Friday", "Saturday", "Sunday"};

void AppendNumber(std::string& out, int value, int minDigits) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (value < 0) {
        out += '-';
    }
    for (int i = static_cast<int>(digits.size()); i < minDigits; ++i) {
        out += '0';
    }
    out += digits;
}

std::size_t RunLength(std::string_view pattern, std::size_t pos) {
    std::size_t end = pos;
    while (end < pattern.size() && pattern[end] == pattern[pos]) {
        ++end;
    }
    return end - pos;
}

}  // namespace

double DayNumber(int year, int month, int day) {
    return static_cast<double>(DaysFromCivil(year, month, day) - kDay0FromUnixEpoch);
}

CivilDate CivilFromDayNumber(double dayNumber) {
    // The integer part is the date; a negative number's fraction is a time of the same day.
    const double whole = std::trunc(dayNumber);
    if (!(whole >= kFirstDay && whole <= kLastDay)) {  // also catches NaN and infinities
        return CivilDate{};
    }
    return CivilFromDays(static_cast<std::int64_t>(whole) + kDay0FromUnixEpoch);
}

double OneYearBack(double dayNumber) {
    const CivilDate date = CivilFromDayNumber(dayNumber);
    const int year = date.year - 1;
    const int day = (date.month == 2 && date.day == 29 && !IsLeapYear(year)) ? 28 : date.day;
    return DayNumber(year, date.month, day);
}

std::string WithFourDigitYear(std::string_view pattern) {
    std::string out;
    bool quoted = false;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == '\'') {
            quoted = !quoted;
            out += c;
            ++i;
            continue;
        }
        if (!quoted && c == 'y') {
            const std::size_t run = RunLength(pattern, i);
            out += run == 2 ? std::string("yyyy") : std::string(run, 'y');
            i += run;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

std::string PeriodText(double from, double to, std::string_view pattern) {
    return FormatShortDate(from, pattern) + " – " + FormatShortDate(to, pattern);
}

std::string FormatShortDate(double dayNumber, std::string_view pattern) {
    const CivilDate date = CivilFromDayNumber(dayNumber);
    std::string out;
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == '\'') {
            // '' is a quote; otherwise everything up to the closing quote is literal text.
            if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
                out += '\'';
                i += 2;
                continue;
            }
            ++i;
            while (i < pattern.size()) {
                if (pattern[i] == '\'') {
                    if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
                        out += '\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                out += pattern[i++];
            }
            continue;
        }
        const std::size_t run = RunLength(pattern, i);
        if (c == 'd') {
            const std::size_t used = run < 4 ? run : 4;
            const auto weekday = static_cast<std::size_t>(
                ((DaysFromCivil(date.year, date.month, date.day) % 7) + 7 + 3) % 7);
            if (used == 1) {
                AppendNumber(out, date.day, 1);
            } else if (used == 2) {
                AppendNumber(out, date.day, 2);
            } else if (used == 3) {
                out += kShortDayNames[weekday];
            } else {
                out += kLongDayNames[weekday];
            }
            i += used;
        } else if (c == 'M') {
            const std::size_t used = run < 4 ? run : 4;
            const auto month = static_cast<std::size_t>(date.month - 1);
            if (used == 1) {
                AppendNumber(out, date.month, 1);
            } else if (used == 2) {
                AppendNumber(out, date.month, 2);
            } else if (used == 3) {
                out += kShortMonthNames[month];
            } else {
                out += kLongMonthNames[month];
            }
            i += used;
        } else if (c == 'y' && run >= 2) {
            if (run >= 4) {
                AppendNumber(out, date.year, 4);
                i += 4;
            } else {
                AppendNumber(out, date.year % 100, 2);
                i += 2;
            }
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

}  // namespace movik
