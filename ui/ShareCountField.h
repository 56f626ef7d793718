#pragma once
// The whole-number field of the number of shares: 0 to 9,999,999,999, thousands grouped with the
// regional separator, empty at 0.

#include <QLineEdit>
#include <QValidator>
#include <optional>

#include "model/Regional.h"
#include "ui/FieldTexts.h"

namespace movik {

class ShareCountField : public QLineEdit {
    Q_OBJECT
  public:
    static constexpr double kMaximum = kMaximumShareCount;

    explicit ShareCountField(const RegionalSettings& rs, QWidget* parent = nullptr);

    double value() const { return value_; }
    // Shows value (whole, clamped to 0..kMaximum; NaN gives 0); raises valueChanged() when the
    // value changes.
    void setValue(double value);

    // The grouped display of value ("" for 0).
    QString FormatValue(double value) const;
    // The value of a text (thousands separators and blanks ignored); nullopt when the text is not
    // a whole number within the limits.
    std::optional<double> ParseValue(const QString& text) const;

  signals:
    void valueChanged(double value);

  protected:
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void TextChanged(const QString& text);

    RegionalSettings rs_;
    double value_ = 0;
};

// Accepts only what ShareCountField::ParseValue reads.
class ShareCountValidator : public QValidator {
  public:
    explicit ShareCountValidator(const ShareCountField* field);
    State validate(QString& input, int& pos) const override;

  private:
    const ShareCountField* field_;
};

}  // namespace movik
