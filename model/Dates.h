#pragma once
// Dates as day numbers from 30 December 1899 (day 0), as the document stores them.

#include <string>
#include <string_view>

namespace movik {

struct CivilDate {
    int year = 1899;
    int month = 12;
    int day = 30;
};

double DayNumber(int year, int month, int day);
// The calendar date of the integer part of a day number. Non-finite or absurd values give
// day 0 (30 December 1899) rather than undefined results.
CivilDate CivilFromDayNumber(double dayNumber);

// The same day and month one year earlier; 29 February becomes 28 February.
double OneYearBack(double dayNumber);

// The pattern with a two-digit year ("yy") widened to four digits ("yyyy"), quoted text left
// alone, so that a formatted date reads back as the same date in any century.
std::string WithFourDigitYear(std::string_view pattern);

// Formats a day number with a short date pattern in Qt's notation (see RegionalSettings).
std::string FormatShortDate(double dayNumber, std::string_view pattern);

// The date pattern of texts that do not follow the regional settings (workbook sheets, messages
// of the command line): "31.12.2024.".
inline constexpr std::string_view kCroatianDatePattern = "dd.MM.yyyy.";

// A period as its first and last day in the pattern, joined by an en dash:
// "01.01.2024 – 31.12.2024".
std::string PeriodText(double from, double to, std::string_view pattern);

}  // namespace movik
