#pragma once
// A date field: a line edit with a calendar button. It shows dates in the regional short date
// format, may be emptied (day 0, shown empty), and refuses an invalid date when the focus leaves.

#include <QDate>
#include <QWidget>
#include <functional>
#include <optional>

class QCalendarWidget;
class QDialog;
class QLineEdit;
class QToolButton;

namespace movik {

class DateField : public QWidget {
    Q_OBJECT
  public:
    explicit DateField(QWidget* parent = nullptr);

    // The short date pattern (Qt notation) of the field. A two-digit year is shown with four
    // digits so that every date the field shows reads back as the same date.
    void setDateFormat(const QString& pattern);
    QString dateFormat() const { return format_; }

    QString text() const;
    // Sets the text as if typed (raises changed() when it differs).
    void setText(const QString& text);

    // The last acceptable date of the field as a day number (0 = empty field).
    double value() const { return value_; }
    // Shows the date of dayNumber (empty for day 0); raises changed() when the text changes.
    void setValue(double dayNumber);

    // Set by the owner when the date changed since the last refresh cycle.
    bool pendingRefresh() const { return pendingRefresh_; }
    void setPendingRefresh(bool pending) { pendingRefresh_ = pending; }

    // The name a screen reader gives the field's edit (its label's text) and calendar button.
    void setFieldName(const QString& name);

    QLineEdit* lineEdit() const { return edit_; }
    QToolButton* calendarButton() const { return button_; }
    // The calendar pop-up while it is showing (or after), else nullptr.
    QDialog* calendarDialog() const { return calendarDialog_; }
    void OpenCalendar();

    // True when the text is a date or empty that the owner's check accepts. Otherwise refuses it
    // as leaving the field does (the field's page shown, the message, the focus back; a date the
    // owner's check refuses gives way to the field's previous date) and returns false.
    bool CheckText();
    // Settles the field as leaving it does, at once: a refused text is refused (false), an
    // accepted date is written the field's way and confirmed with exited().
    bool Settle();

    // Shows a refusal to the user; set by the owner (the window routes it to its dialogs).
    std::function<void(const QString& message)> showError;
    // The owner's check of a date about to be accepted (a day number, 0 for empty): the refusal
    // message, or an empty text when the date may stand.
    std::function<QString(double dayNumber)> checkDate;

    // Day number of text read with pattern: 0 for an empty text, nullopt when the text is not a
    // valid date. Any non-digit characters separate day, month and year, in the pattern's order;
    // a one- or two-digit year falls in 1930..2029.
    static std::optional<double> ParseDate(const QString& text, const QString& pattern);
    static QString FormatDate(double dayNumber, const QString& pattern);
    static QDate DateOf(double dayNumber);
    static double DayNumberOf(const QDate& date);

  signals:
    // The text changed, by the user or by the program.
    void changed();
    // The focus left the field with an acceptable date.
    void exited();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void TextChanged(const QString& text);
    void Left();
    void Accept(double dayNumber);
    void RefuseLater();
    QString Refusal(double dayNumber) const;
    // Makes the page that holds the field the current one in every page control above it.
    void ShowOwnPage();

    QLineEdit* edit_;
    QToolButton* button_;
    QDialog* calendarDialog_ = nullptr;
    QCalendarWidget* calendar_ = nullptr;
    QString format_ = QStringLiteral("dd.MM.yyyy");
    double value_ = 0;
    // The date the field held when it was last left or set by the program.
    double accepted_ = 0;
    bool pendingRefresh_ = false;
    bool refusing_ = false;
};

}  // namespace movik
