// The texts of the general-data fields: period dates under the short date patterns of common
// regional settings, and the number of shares. The first byte picks pattern and separator.
// Properties: an accepted date is a real calendar day that the pattern writes and reads back
// as the same day; an accepted share count is a whole number in the field's range that its
// grouped display reads back as the same number.

#include <QDate>
#include <QLocale>
#include <QString>
#include <cmath>
#include <cstdint>

#include "FuzzSupport.h"
#include "model/NumberFormat.h"
#include "ui/FieldTexts.h"

using namespace movik;
using namespace movik::fuzz;

namespace {

// Four-digit years, as the date field widens every pattern.
const char* const kDatePatterns[] = {"dd.MM.yyyy", "d.M.yyyy",   "dd. MM. yyyy.", "M/d/yyyy",
                                     "yyyy-MM-dd", "dd/MM/yyyy", "d. MMM yyyy.",  "yyyy.MM.dd"};

void CheckDate(const QString& text, const QString& pattern) {
    const std::optional<double> day = ParseDateText(text, pattern);
    if (!day || *day == 0) {
        return;
    }
    MOVIK_FUZZ_CHECK(std::isfinite(*day) && *day == std::floor(*day), "a date is a whole day");
    const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(*day));
    MOVIK_FUZZ_CHECK(date.isValid() && date.year() >= 1 && date.year() <= 9999,
                     "a date lies in the years 1 to 9999");
    const QString shown = QLocale().toString(date, pattern);
    MOVIK_FUZZ_CHECK(ParseDateText(shown, pattern) == day,
                     "a shown date reads back: " + shown.toStdString());
}

void CheckShares(const QString& text, const RegionalSettings& rs) {
    const std::optional<double> shares =
        ParseShareCountText(text, QString::fromStdString(rs.thousandsSeparator));
    if (!shares) {
        return;
    }
    MOVIK_FUZZ_CHECK(
        *shares >= 0 && *shares <= kMaximumShareCount && *shares == std::floor(*shares),
        "a share count is a whole number in range");
    const std::string shown = FormatNumber(*shares, ",0;-,0", rs);
    MOVIK_FUZZ_CHECK(ParseShareCountText(QString::fromStdString(shown),
                                         QString::fromStdString(rs.thousandsSeparator)) == shares,
                     "a shown share count reads back: " + shown);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const QString pattern = QString::fromLatin1(kDatePatterns[data[0] % std::size(kDatePatterns)]);
    const RegionalSettings rs = SettingsOf((data[0] & 8) != 0);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data) + 1,
                                           static_cast<qsizetype>(size - 1));
    CheckDate(text, pattern);
    CheckShares(text, rs);
    return 0;
}
