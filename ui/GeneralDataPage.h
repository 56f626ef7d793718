#pragma once
// The general-data page (tsOpce): company, seat, accounting period, number of shares and the
// amount unit, with their labels, hints and notes. The main window connects the fields' events.

#include <QValidator>
#include <QWidget>

#include "model/Currency.h"
#include "model/Regional.h"

class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;

namespace movik {

class DateField;
class ShareCountField;

// Refuses text holding a character that Windows-1250, the code page of the file, cannot hold.
class Cp1250Validator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// Shown when the company or seat field refuses a character the file cannot hold.
extern const QString kRefusedCharacterMessage;

class GeneralDataPage : public QWidget {
    Q_OBJECT
  public:
    GeneralDataPage(const RegionalSettings& rs, QWidget* parent = nullptr);

    QLineEdit* ePoduzece;
    QLineEdit* eSjediste;
    DateField* dOd;
    DateField* dDo;
    ShareCountField* eBrojDionica;
    QComboBox* cbIznos;
    // The document's currency: item 0 euro (EUR), item 1 kuna (HRK).
    QComboBox* cbValuta;
    QPushButton* bNext;

    // cbValuta shows v and cbIznos shows unit (without their events); when v is not the
    // currency shown last, cbIznos lists v's units first. The unit is the workspace's: it
    // follows the currency there, so undo restores both together.
    void ShowCurrency(Valuta v, const QString& unit);

  private:
    // The company and seat, refusing what the file cannot hold.
    void MakeNameFields();
    // The period's two dates, each checked against the other.
    void MakePeriodFields(const RegionalSettings& rs);
    // The share count, the amount unit and the currency.
    void MakeAmountFields(const RegionalSettings& rs);
    // The fields with their labels and notes, in rows.
    QLayout* LayOutFields();

    Valuta shownCurrency_ = Valuta::Hrk;
};

}  // namespace movik
