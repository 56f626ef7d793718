#include "ui/DateField.h"

#include <QCalendarWidget>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "model/Dates.h"
#include "ui/FieldTexts.h"

namespace movik {

namespace {

const QDate kDayZero(1899, 12, 30);
// Day numbers of 1 January of the year 1 and 31 December 9999: the dates a field can show.
constexpr double kFirstDay = -693593;
constexpr double kLastDay = 2958465;

QIcon CalendarIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(60, 60, 60));
    p.setBrush(Qt::white);
    p.drawRect(1, 2, 13, 12);
    p.fillRect(2, 3, 12, 3, QColor(200, 40, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 60, 60));
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 4; ++col) {
            p.drawRect(3 + col * 3, 7 + row * 2, 1, 1);
        }
    }
    return QIcon(pixmap);
}

}  // namespace

DateField::DateField(QWidget* parent) : QWidget(parent) {
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("edit"));
    button_ = new QToolButton(this);
    button_->setObjectName(QStringLiteral("calendarButton"));
    button_->setIcon(CalendarIcon());
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setToolTip(QStringLiteral("Odaberite datum (Alt+Dolje ili F4)"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(edit_, 1);
    layout->addWidget(button_);
    setFocusProxy(edit_);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    edit_->installEventFilter(this);
    connect(edit_, &QLineEdit::textChanged, this, &DateField::TextChanged);
    connect(button_, &QToolButton::clicked, this, &DateField::OpenCalendar);
    setDateFormat(format_);
}

void DateField::setDateFormat(const QString& pattern) {
    format_ = QString::fromStdString(WithFourDigitYear(pattern.toStdString()));
    // Wide enough for the longest date of the pattern, plus room for the frame.
    const QString sample = FormatDate(DayNumberOf(QDate(2028, 12, 28)), format_);
    edit_->setMinimumWidth(edit_->fontMetrics().horizontalAdvance(sample + QStringLiteral("00")) +
                           12);
    if (value_ != 0) {
        edit_->setText(FormatDate(value_, format_));
    }
}

void DateField::setFieldName(const QString& name) {
    edit_->setAccessibleName(name);
    button_->setAccessibleName(QStringLiteral("Kalendar: ") + name);
}

QString DateField::text() const {
    return edit_->text();
}

void DateField::setText(const QString& text) {
    if (edit_->text() != text) {
        edit_->setText(text);
    }
}

void DateField::setValue(double dayNumber) {
    if (!DateOf(dayNumber).isValid()) {
        dayNumber = 0;
    }
    const QString text = FormatDate(dayNumber, format_);
    if (edit_->text() != text) {
        edit_->setText(text);  // TextChanged sets value_ and raises changed()
    }
    value_ = dayNumber == 0 ? 0 : std::floor(dayNumber);
    accepted_ = value_;
}

QDate DateField::DateOf(double dayNumber) {
    if (!std::isfinite(dayNumber) || dayNumber < kFirstDay || dayNumber > kLastDay) {
        return {};
    }
    return kDayZero.addDays(static_cast<qint64>(std::floor(dayNumber)));
}

double DateField::DayNumberOf(const QDate& date) {
    return date.isValid() ? static_cast<double>(kDayZero.daysTo(date)) : 0.0;
}

QString DateField::FormatDate(double dayNumber, const QString& pattern) {
    const QDate date = DateOf(dayNumber);
    if (dayNumber == 0 || !date.isValid()) {
        return {};
    }
    return QLocale().toString(date, pattern);
}

std::optional<double> DateField::ParseDate(const QString& text, const QString& pattern) {
    return ParseDateText(text, pattern);
}

void DateField::TextChanged(const QString& text) {
    if (const auto parsed = ParseDate(text, format_)) {
        value_ = *parsed;
    }
    emit changed();
}

bool DateField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        // The calendar opens from the keyboard as a combo box's list does.
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool altDown =
            key->key() == Qt::Key_Down && (key->modifiers() & Qt::AltModifier) != 0;
        if (altDown || (key->key() == Qt::Key_F4 && key->modifiers() == Qt::NoModifier)) {
            OpenCalendar();
            return true;
        }
    }
    if (watched == edit_ && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Another window (a dialog, the calendar, a menu) taking the focus is not leaving.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            Left();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DateField::Left() {
    if (refusing_) {
        return;
    }
    const auto parsed = ParseDate(edit_->text(), format_);
    if (!parsed || !Refusal(*parsed).isEmpty()) {
        RefuseLater();
        return;
    }
    Accept(*parsed);
}

bool DateField::Settle() {
    if (!CheckText()) {
        return false;
    }
    Accept(*ParseDate(edit_->text(), format_));
    return true;
}

void DateField::Accept(double dayNumber) {
    // Show an accepted date the way the field writes it.
    const QString canonical = FormatDate(dayNumber, format_);
    if (canonical != edit_->text()) {
        edit_->setText(canonical);
    }
    accepted_ = dayNumber;
    emit exited();
}

void DateField::RefuseLater() {
    // The message and the focus change wait until the focus change under way has finished.
    refusing_ = true;
    QTimer::singleShot(0, this, [this] {
        refusing_ = false;
        CheckText();
    });
}

QString DateField::Refusal(double dayNumber) const {
    // Only a changed date is checked: a stored period shows as it is and can be corrected.
    if (!checkDate || dayNumber == accepted_) {
        return {};
    }
    return checkDate(dayNumber);
}

bool DateField::CheckText() {
    const auto parsed = ParseDate(edit_->text(), format_);
    const QString refusal = parsed ? Refusal(*parsed) : QString();
    if (parsed && refusal.isEmpty()) {
        return true;
    }
    // The focus may have left with a change of page (a tab, "<<" or ">>"): the field's page
    // comes back first, so the user sees what is refused and can correct it.
    ShowOwnPage();
    QString message = QStringLiteral("'%1' nije ispravan datum.").arg(edit_->text());
    if (parsed) {
        // A real date that may not stand: the field keeps the date it had.
        message = refusal;
        setValue(accepted_);
    }
    if (showError) {
        showError(message);
    }
    edit_->setFocus(Qt::OtherFocusReason);
    edit_->selectAll();
    return false;
}

void DateField::ShowOwnPage() {
    for (QWidget* w = parentWidget(); w != nullptr; w = w->parentWidget()) {
        auto* tabs = qobject_cast<QTabWidget*>(w);
        if (tabs == nullptr) {
            continue;
        }
        for (int i = 0; i < tabs->count(); ++i) {
            if (tabs->widget(i)->isAncestorOf(this)) {
                tabs->setCurrentIndex(i);
                break;
            }
        }
    }
}

void DateField::OpenCalendar() {
    if (calendarDialog_ == nullptr) {
        calendarDialog_ = new QDialog(this);
        calendarDialog_->setObjectName(QStringLiteral("calendarDialog"));
        calendarDialog_->setWindowTitle(QStringLiteral("Odaberite datum"));
        calendar_ = new QCalendarWidget(calendarDialog_);
        calendar_->setObjectName(QStringLiteral("calendar"));
        calendar_->setGridVisible(true);
        auto* buttons =
            new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, calendarDialog_);
        auto* layout = new QVBoxLayout(calendarDialog_);
        layout->addWidget(calendar_);
        layout->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::accepted, calendarDialog_, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, calendarDialog_, &QDialog::reject);
        connect(calendar_, &QCalendarWidget::activated, calendarDialog_, &QDialog::accept);
        connect(calendarDialog_, &QDialog::accepted, this, [this] {
            setText(FormatDate(DayNumberOf(calendar_->selectedDate()), format_));
            edit_->setFocus(Qt::OtherFocusReason);
        });
    }
    calendar_->setSelectedDate(value_ != 0 ? DateOf(value_) : QDate::currentDate());
    calendarDialog_->open();
}

}  // namespace movik
