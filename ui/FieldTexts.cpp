#include "ui/FieldTexts.h"

#include <QDate>
#include <QLocale>
#include <QStringList>

namespace movik {

namespace {

const QDate kDayZero(1899, 12, 30);

// The order in which the pattern names day, month and year ('d', 'M', 'y'), skipping quoted text.
QString FieldOrder(const QString& pattern) {
    QString order;
    bool quoted = false;
    for (const QChar c : pattern) {
        if (c == u'\'') {
            quoted = !quoted;
        } else if (!quoted && (c == u'd' || c == u'M' || c == u'y') && !order.contains(c)) {
            order += c;
        }
    }
    return order.size() == 3 ? order : QStringLiteral("dMy");
}

}  // namespace

std::optional<double> ParseDateText(const QString& text, const QString& pattern) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return 0.0;
    }
    if (pattern.contains(QStringLiteral("MMM"))) {
        // Month names: only the locale can read them.
        const QDate date = QLocale().toDate(trimmed, pattern);
        if (!date.isValid()) {
            return std::nullopt;
        }
        return static_cast<double>(kDayZero.daysTo(date));
    }

    QStringList numbers;
    QString current;
    for (const QChar c : trimmed) {
        if (c.isDigit()) {
            if (c.digitValue() < 0 || c.digitValue() > 9 || c.unicode() > 127) {
                return std::nullopt;
            }
            current += c;
            continue;
        }
        if (c.isLetter()) {
            return std::nullopt;
        }
        if (!current.isEmpty()) {
            numbers << current;
            current.clear();
        }
    }
    if (!current.isEmpty()) {
        numbers << current;
    }
    if (numbers.size() != 3) {
        return std::nullopt;
    }

    const QString order = FieldOrder(pattern);
    int day = 0;
    int month = 0;
    int year = 0;
    for (int i = 0; i < 3; ++i) {
        const QString& n = numbers.at(i);
        if (n.size() > 4) {
            return std::nullopt;
        }
        const int v = n.toInt();
        switch (order.at(i).unicode()) {
            case u'd':
                day = v;
                break;
            case u'M':
                month = v;
                break;
            default:
                if (n.size() <= 2) {
                    year = v < 30 ? 2000 + v : 1900 + v;
                } else if (n.size() == 4) {
                    year = v;
                } else {
                    return std::nullopt;
                }
        }
    }
    const QDate date(year, month, day);
    if (!date.isValid() || year < 1) {
        return std::nullopt;
    }
    return static_cast<double>(kDayZero.daysTo(date));
}

std::optional<double> ParseShareCountText(const QString& text, const QString& separator) {
    QString digits;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9') {
            digits += c;
        } else if (!(c.isSpace() || c == QChar(0x00A0) || c == QChar(0x202F) ||
                     (!separator.isEmpty() && separator.contains(c)))) {
            return std::nullopt;
        }
    }
    if (digits.size() > 10) {
        return std::nullopt;
    }
    const double value = digits.isEmpty() ? 0.0 : digits.toDouble();
    if (value > kMaximumShareCount) {
        return std::nullopt;
    }
    return value;
}

}  // namespace movik
