#include "ui/StatusPanels.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <string_view>

#include "model/Calculations.h"
#include "model/Currency.h"
#include "ui/AccessibleColours.h"
#include "ui/AccessibleEvents.h"

namespace movik {

namespace {

const QString kFilePanelPrefix = QStringLiteral("Datoteka: ");
const QString kUnitPanelPrefix = QStringLiteral("Iznosi u ");
constexpr int kNoteMilliseconds = 10000;

// A status bar panel: a text too long for it is shown shortened (with "…"), its whole text
// stays the label's text.
class StatusPanel : public QLabel {
  public:
    StatusPanel(Qt::TextElideMode mode, QWidget* parent) : QLabel(parent), mode_(mode) {}

    // A warning sign before the text, so a warning is not told by its colour alone.
    void setWarningSign(bool shown) {
        if (shown != sign_) {
            sign_ = shown;
            update();
        }
    }
    static int SignSize(const QFontMetrics& metrics) { return metrics.height(); }

  protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        drawFrame(&painter);
        QRect area = contentsRect();
        if (sign_ && !text().isEmpty()) {
            const int size = SignSize(fontMetrics());
            const QIcon icon = style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this);
            icon.paint(&painter, QRect(area.left(), area.center().y() - size / 2, size, size));
            area.setLeft(area.left() + size + 3);
        }
        painter.setPen(palette().color(foregroundRole()));
        painter.drawText(area, int(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine),
                         fontMetrics().elidedText(text(), mode_, area.width()));
    }

  private:
    Qt::TextElideMode mode_;
    bool sign_ = false;
};

// The warning and note panels as a screen reader takes them: notifications in the status bar. A
// screen reader speaks a notification as it shows, which a label's changed text never was.
class WarningPanelAccessible : public QAccessibleWidget {
  public:
    explicit WarningPanelAccessible(QWidget* panel)
        : QAccessibleWidget(panel, QAccessible::Notification) {}
    QString text(QAccessible::Text t) const override {
        const auto* panel = static_cast<const QLabel*>(widget());
        if (t == QAccessible::Name) {
            return panel->text();
        }
        if (t == QAccessible::Description) {
            return panel->accessibleDescription();
        }
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* WarningPanelFactory(const QString& key, QObject* object) {
    if (key == QLatin1String("QLabel") && (object->objectName() == QLatin1String("pUpozorenje") ||
                                           object->objectName() == QLatin1String("pNapomena"))) {
        return new WarningPanelAccessible(static_cast<QWidget*>(object));
    }
    return nullptr;
}

QLabel* MakePanel(const QString& name, Qt::TextElideMode mode, QWidget* parent) {
    auto* panel = new StatusPanel(mode, parent);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setContentsMargins(3, 0, 3, 0);
    return panel;
}

}  // namespace

StatusPanels::StatusPanels(QStatusBar* bar) : bar_(bar) {
    bar->setObjectName(QStringLiteral("pBottom"));
    bar->setSizeGripEnabled(true);
    pIme_ = MakePanel(QStringLiteral("pIme"), Qt::ElideMiddle, bar);
    pIme_->setFixedWidth(300);
    static const bool notification = [] {
        QAccessible::installFactory(&WarningPanelFactory);
        return true;
    }();
    (void)notification;
    pUpozorenje_ = MakePanel(QStringLiteral("pUpozorenje"), Qt::ElideRight, bar);
    // 221 pixels, or what the longest warning needs in this font.
    int warningWidth = 0;
    for (const std::string_view w : {kWarningBalance, kWarningNetResult, kWarningPeriod}) {
        warningWidth =
            std::max(warningWidth, pUpozorenje_->fontMetrics().horizontalAdvance(
                                       QString::fromUtf8(w.data(), qsizetype(w.size()))));
    }
    const QMargins margins = pUpozorenje_->contentsMargins();
    warningWidth += margins.left() + margins.right() + 2 +
                    StatusPanel::SignSize(pUpozorenje_->fontMetrics()) + 3;
    pUpozorenje_->setFixedWidth(std::max(221, warningWidth));
    pIznos_ = MakePanel(QStringLiteral("pIznos"), Qt::ElideRight, bar);
    pIznos_->setMinimumWidth(60);
    const std::string_view unit = AmountUnitText(Valuta::Hrk);
    ShowUnit(QString::fromUtf8(unit.data(), qsizetype(unit.size())));
    // A passing note (after an import) stands in the file panel's place for a while, so the
    // warning and the unit stay in sight.
    pNapomena_ = MakePanel(QStringLiteral("pNapomena"), Qt::ElideRight, bar);
    pNapomena_->hide();
    noteTimer_ = new QTimer(bar);
    noteTimer_->setSingleShot(true);
    noteTimer_->setInterval(kNoteMilliseconds);
    QObject::connect(noteTimer_, &QTimer::timeout, bar, [this] { HideNote(); });
    bar->addWidget(pIme_);
    bar->addWidget(pNapomena_);
    bar->addWidget(pUpozorenje_);
    bar->addWidget(pIznos_, 1);
}

void StatusPanels::ShowFile(const QString& path) {
    pIme_->setText(path.isEmpty() ? QString() : kFilePanelPrefix + path);
    pIme_->setToolTip(path);
}

void StatusPanels::ShowWarning(const QString& warning, const QString& details) {
    const bool changed = warning != pUpozorenje_->text();
    ColourWarning(!warning.isEmpty());
    static_cast<StatusPanel*>(pUpozorenje_)->setWarningSign(!warning.isEmpty());
    pUpozorenje_->setText(warning);
    pUpozorenje_->setToolTip(details);
    pUpozorenje_->setAccessibleDescription(details);
    if (changed && !warning.isEmpty()) {
        // A warning that appears or changes is announced, wherever the focus is.
        QAccessibleEvent alert(pUpozorenje_, QAccessible::Alert);
        RaiseAccessibleEvent(&alert);
        // The accessibility bus passes no alert on: the notification shows anew, and that is
        // spoken.
        QAccessibleEvent shown(pUpozorenje_, QAccessible::ObjectShow);
        RaiseAccessibleEvent(&shown);
    }
}

void StatusPanels::ColourWarning(bool warning) {
    // Red from the palette's own window colours, readable on light and dark alike.
    QPalette palette = pUpozorenje_->palette();
    const QPalette application = QApplication::palette(pUpozorenje_);
    palette.setColor(QPalette::WindowText, warning ? WarningColour(application)
                                                   : application.color(QPalette::WindowText));
    pUpozorenje_->setPalette(palette);
}

void StatusPanels::ShowUnit(const QString& unit) {
    pIznos_->setText(kUnitPanelPrefix + unit);
}

void StatusPanels::ShowNote(const QString& note) {
    pNapomena_->setText(note);
    pNapomena_->setToolTip(note);
    // As wide as the note, but never pushing the warning and the unit out of the bar: a longer
    // note is shortened, its whole text in the tooltip.
    const QMargins unitMargins = pIznos_->contentsMargins();
    const int unit = pIznos_->fontMetrics().horizontalAdvance(pIznos_->text()) +
                     unitMargins.left() + unitMargins.right() + 2 * pIznos_->frameWidth() + 8;
    // The size grip and the spacing between the panels.
    const int room = bar_->width() - pUpozorenje_->width() - unit - 40;
    pNapomena_->setFixedWidth(
        std::min(pNapomena_->fontMetrics().horizontalAdvance(note) + 12, std::max(150, room)));
    pIme_->hide();
    if (pNapomena_->isVisible()) {
        // A note in place of another is spoken as the first was when the panel showed.
        QAccessibleEvent shown(pNapomena_, QAccessible::ObjectShow);
        RaiseAccessibleEvent(&shown);
    }
    pNapomena_->show();
    noteTimer_->start();
}

void StatusPanels::HideNote() {
    noteTimer_->stop();
    pNapomena_->hide();
    pIme_->show();
}

}  // namespace movik
