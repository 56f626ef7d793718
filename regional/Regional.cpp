#include "regional/Regional.h"

#include <QString>

namespace movik {

RegionalSettings RegionalFromLocale(const QLocale& locale) {
    RegionalSettings rs;
    rs.thousandsSeparator = locale.groupSeparator().toStdString();
    rs.decimalSeparator = locale.decimalPoint().toStdString();
    rs.shortDateFormat = locale.dateFormat(QLocale::ShortFormat).toStdString();
    return rs;
}

std::optional<RegionalSettings> RegionalFromLocaleName(const std::string& localeName) {
    const std::string name = localeName.substr(0, localeName.find_first_of(".@"));
    const bool plainC = name.empty() || name == "C" || name == "POSIX";
    const QLocale locale = plainC ? QLocale::c() : QLocale(QString::fromStdString(name));
    // Qt answers a name it does not know with the C locale.
    if (locale == QLocale::c() && !plainC && name != "en_US_POSIX") {
        return std::nullopt;
    }
    return RegionalFromLocale(locale);
}

}  // namespace movik
