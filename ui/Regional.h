#pragma once
// The system's regional settings as the core wants them, read from a QLocale.

#include <QLocale>

#include "model/Regional.h"

namespace movik {

// Thousands and decimal separators and the short date format of locale (the default locale,
// QLocale(), unless told otherwise).
RegionalSettings RegionalFromLocale(const QLocale& locale = QLocale());

}  // namespace movik
