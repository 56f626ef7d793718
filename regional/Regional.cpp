#include "regional/Regional.h"

#include <QDate>
#include <QString>
#include <cstdlib>

namespace movik {

namespace {

// The name without an encoding or modifier: "hr_HR.UTF-8" -> "hr_HR".
std::string BareName(const std::string& name) {
    return name.substr(0, name.find_first_of(".@"));
}

// The locale a name stands for; nullopt for a plain name or one Qt does not know.
std::optional<QLocale> LocaleNamed(const std::string& name) {
    if (IsPlainLocaleName(name)) {
        return std::nullopt;
    }
    const std::string bare = BareName(name);
    const QLocale locale(QString::fromStdString(bare));
    // Qt answers a name it does not know with the C locale.
    if (locale.language() == QLocale::C && bare != "en_US_POSIX") {
        return std::nullopt;
    }
    return locale;
}

QLocale LocaleOrProgram(const std::string& name) {
    return LocaleNamed(name).value_or(QLocale(QString::fromLatin1(kProgramLocaleName)));
}

}  // namespace

LocaleNames LocaleNamesFromEnvironment(const std::function<const char*(const char*)>& getenv) {
    const auto lookUp = [&getenv](const char* var) -> std::string {
        const char* value = getenv ? getenv(var) : std::getenv(var);
        return value != nullptr ? value : "";
    };
    const auto first = [&lookUp](std::initializer_list<const char*> vars) {
        for (const char* var : vars) {
            if (std::string value = lookUp(var); !value.empty()) {
                return value;
            }
        }
        return std::string();
    };
    return {first({"LC_ALL", "LC_NUMERIC", "LANG"}), first({"LC_ALL", "LC_TIME", "LANG"})};
}

bool IsPlainLocaleName(const std::string& name) {
    const std::string bare = BareName(name);
    return bare.empty() || bare == "C" || bare == "POSIX";
}

RegionalSettings RegionalFromNames(const LocaleNames& names) {
    const QLocale numbers = LocaleOrProgram(names.numeric);
    RegionalSettings rs;
    rs.thousandsSeparator = numbers.groupSeparator().toStdString();
    rs.decimalSeparator = numbers.decimalPoint().toStdString();
    rs.shortDateFormat = LocaleOrProgram(names.time).dateFormat(QLocale::ShortFormat).toStdString();
    return rs;
}

RegionalSettings SystemRegional() {
    return RegionalFromNames(LocaleNamesFromEnvironment());
}

QLocale ProgramLocale() {
    return LocaleOrProgram(LocaleNamesFromEnvironment().numeric);
}

RegionalSettings RegionalForWindow() {
    if (QLocale() == ProgramLocale()) {
        return SystemRegional();
    }
    return RegionalFromLocale(QLocale());
}

RegionalSettings RegionalFromLocale(const QLocale& locale) {
    const QLocale used =
        locale.language() == QLocale::C ? QLocale(QString::fromLatin1(kProgramLocaleName)) : locale;
    RegionalSettings rs;
    rs.thousandsSeparator = used.groupSeparator().toStdString();
    rs.decimalSeparator = used.decimalPoint().toStdString();
    rs.shortDateFormat = used.dateFormat(QLocale::ShortFormat).toStdString();
    return rs;
}

std::optional<RegionalSettings> RegionalFromLocaleName(const std::string& localeName) {
    if (!IsPlainLocaleName(localeName) && !LocaleNamed(localeName)) {
        return std::nullopt;
    }
    return RegionalFromNames({localeName, localeName});
}

int LocalYear() {
    return QDate::currentDate().year();
}

}  // namespace movik
