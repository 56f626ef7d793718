#pragma once
// The system's regional settings as the core wants them, read from Qt's locales. The window and
// movik-cli both take theirs from here; the core only ever sees the plain struct.

#include <QLocale>
#include <optional>
#include <string>

#include "model/Regional.h"

namespace movik {

// Thousands and decimal separators and the short date format of locale (the default locale,
// QLocale(), unless told otherwise).
RegionalSettings RegionalFromLocale(const QLocale& locale = QLocale());

// The settings of a locale named as the environment names it ("hr_HR.UTF-8", "en_US", "C",
// "POSIX"; an encoding or modifier after '.' or '@' is ignored). Nullopt for a name Qt does not
// know.
std::optional<RegionalSettings> RegionalFromLocaleName(const std::string& localeName);

}  // namespace movik
