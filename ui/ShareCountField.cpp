#include "ui/ShareCountField.h"

#include <QFocusEvent>
#include <cmath>

#include "model/NumberFormat.h"
#include "ui/FieldTexts.h"

namespace movik {

ShareCountField::ShareCountField(const RegionalSettings& rs, QWidget* parent)
    : QLineEdit(parent), rs_(rs) {
    setValidator(new ShareCountValidator(this));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(this, &QLineEdit::textChanged, this, &ShareCountField::TextChanged);
}

QString ShareCountField::FormatValue(double value) const {
    if (value == 0) {
        return {};
    }
    return QString::fromStdString(FormatNumber(value, ",0;-,0", rs_));
}

std::optional<double> ShareCountField::ParseValue(const QString& text) const {
    return ParseShareCountText(text, QString::fromStdString(rs_.thousandsSeparator));
}

void ShareCountField::setValue(double value) {
    if (!std::isfinite(value) || value < 0) {
        value = 0;
    }
    value = std::min(std::round(value), kMaximum);
    const QString text = FormatValue(value);
    if (this->text() != text) {
        setText(text);  // TextChanged updates value_ and raises valueChanged()
    }
    if (value_ != value) {
        value_ = value;
        emit valueChanged(value_);
    }
}

void ShareCountField::TextChanged(const QString& text) {
    const auto parsed = ParseValue(text);
    if (!parsed || *parsed == value_) {
        return;
    }
    value_ = *parsed;
    emit valueChanged(value_);
}

void ShareCountField::focusOutEvent(QFocusEvent* event) {
    // Typed digits get their thousands separators once the user is done with the field.
    const QString grouped = FormatValue(value_);
    if (text() != grouped) {
        const bool before = blockSignals(true);
        setText(grouped);
        blockSignals(before);
    }
    QLineEdit::focusOutEvent(event);
}

ShareCountValidator::ShareCountValidator(const ShareCountField* field)
    : QValidator(const_cast<ShareCountField*>(field)), field_(field) {}

QValidator::State ShareCountValidator::validate(QString& input, int& /*pos*/) const {
    return field_->ParseValue(input) ? Acceptable : Invalid;
}

}  // namespace movik
