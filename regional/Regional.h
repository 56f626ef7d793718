#pragma once
// The one reader of the system's regional settings: the window and movik-cli both take theirs
// from here, so both write the same texts in the same environment; the core only ever sees the
// plain struct. Numbers follow LC_NUMERIC and dates LC_TIME (LC_ALL over both, LANG under both),
// as Qt and the C library choose them. Where the environment names no regional settings (unset,
// "C", "POSIX") the program uses Croatian conventions, those of its own language.

#include <QLocale>
#include <functional>
#include <optional>
#include <string>

#include "model/Regional.h"

namespace movik {

// The locale the program falls back to: Croatian.
inline constexpr const char* kProgramLocaleName = "hr_HR";

// The locale names the environment gives numbers and dates ("" when none is set).
struct LocaleNames {
    std::string numeric;
    std::string time;
};

// getenv looks a variable up (nullptr when unset); the process environment by default.
LocaleNames LocaleNamesFromEnvironment(
    const std::function<const char*(const char*)>& getenv = nullptr);

// True for a name that carries no regional settings: "", "C" or "POSIX" (any encoding after '.').
bool IsPlainLocaleName(const std::string& name);

// Separators from names.numeric, the short date format from names.time; a plain name, or one Qt
// does not know, gives the Croatian conventions for its part.
RegionalSettings RegionalFromNames(const LocaleNames& names);

// RegionalFromNames(LocaleNamesFromEnvironment()): the settings of this process's environment.
RegionalSettings SystemRegional();

// The locale whose numbers the window's own controls use (QLocale::setDefault at start-up): the
// one LC_NUMERIC names, Croatian where that names none.
QLocale ProgramLocale();

// The settings the window runs with: SystemRegional() while the default locale is
// ProgramLocale(); a default locale set otherwise in the process (tests pin one) gives that
// locale's settings.
RegionalSettings RegionalForWindow();

// Thousands and decimal separators and the short date format of locale; the C locale gives the
// Croatian conventions.
RegionalSettings RegionalFromLocale(const QLocale& locale = QLocale());

// The settings of a locale named as the environment names it ("hr_HR.UTF-8", "en_US", "C",
// "POSIX"; an encoding or modifier after '.' or '@' is ignored); a plain name gives the Croatian
// conventions. Nullopt for a name Qt does not know.
std::optional<RegionalSettings> RegionalFromLocaleName(const std::string& localeName);

// The year of today's local date (the time zone's, not UTC): a new document's period year.
int LocalYear();

}  // namespace movik
