#include "ui/Regional.h"

namespace movik {

RegionalSettings RegionalFromLocale(const QLocale& locale) {
    RegionalSettings rs;
    rs.thousandsSeparator = locale.groupSeparator().toStdString();
    rs.decimalSeparator = locale.decimalPoint().toStdString();
    rs.shortDateFormat = locale.dateFormat(QLocale::ShortFormat).toStdString();
    return rs;
}

}  // namespace movik
