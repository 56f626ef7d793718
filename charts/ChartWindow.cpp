#include "charts/ChartWindow.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace movik {

namespace {

const QString kCanvasName = QStringLiteral("pGrafikon");

// A screen reader meets the picture as a chart, not as an empty pane.
QAccessibleInterface* CanvasFactory(const QString& key, QObject* object) {
    if (key == QLatin1String("QWidget") && object != nullptr && object->isWidgetType() &&
        object->objectName() == kCanvasName) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Chart);
    }
    return nullptr;
}

QString Text(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QString ChartTextAlternative(const ChartPicture& picture, const QLocale& locale) {
    // Panel by panel, series by series, every figure with its category.
    QStringList parts;
    for (const ChartPanel& panel : picture.panels) {
        QStringList series;
        for (std::size_t i = 0; i < panel.boxes.size() && i < panel.categories.size(); ++i) {
            const ChartBox& b = panel.boxes[i];
            const auto number = [&](double v) { return locale.toString(v, 'f', 2); };
            series << Text(panel.categories[i]) +
                          QStringLiteral(": od %1 do %2, Q1 %3, medijan %4, Q3 %5")
                              .arg(number(b.low), number(b.high), number(b.q1), number(b.median),
                                   number(b.q3));
        }
        for (const ChartSeries& s : panel.series) {
            QStringList values;
            for (std::size_t i = 0; i < s.values.size() && i < panel.categories.size(); ++i) {
                const double v = s.values[i];
                values << Text(panel.categories[i]) + QStringLiteral(": ") +
                              (std::isnan(v)
                                   ? QStringLiteral("nema podatka")
                                   : locale.toString(v, 'f', 2) +
                                         (panel.percent ? QStringLiteral(" %") : QString()));
            }
            series << Text(s.name) + QStringLiteral(" – ") + values.join(QStringLiteral("; "));
        }
        // The unit as the value axis names it.
        const QString unit = panel.valueTitle.empty() || panel.valueTitle == "%"
                                 ? QString()
                                 : QStringLiteral(" (") + Text(panel.valueTitle) + u')';
        parts << Text(panel.title) + unit + QStringLiteral(": ") +
                     series.join(QStringLiteral(". "));
    }
    // What the note under the title says (documents left out, amounts converted).
    return parts.join(QStringLiteral(". ")) + (parts.isEmpty() ? QString() : QStringLiteral(".")) +
           (picture.note.empty() ? QString() : u' ' + Text(picture.note));
}

ChartCanvas::ChartCanvas(const ChartDrawing& drawing, QWidget* parent)
    : QWidget(parent), drawing_(drawing) {
    static const bool factory = [] {
        QAccessible::installFactory(&CanvasFactory);
        return true;
    }();
    (void)factory;
    setObjectName(kCanvasName);
    setMinimumSize(480, 300);
    setFocusPolicy(Qt::StrongFocus);
}

void ChartCanvas::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void ChartCanvas::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void ChartCanvas::SetPicture(ChartPicture picture) {
    picture_ = std::move(picture);
    // Its name and a text alternative with its figures, for readers who cannot see it.
    setAccessibleName(Text(picture_.title));
    setAccessibleDescription(ChartTextAlternative(picture_, QLocale()));
    cache_ = QImage();
    update();
}

void ChartCanvas::resizeEvent(QResizeEvent* event) {
    cache_ = QImage();
    QWidget::resizeEvent(event);
}

void ChartCanvas::paintEvent(QPaintEvent*) {
    const qreal ratio = devicePixelRatioF();
    if (cache_.isNull()) {
        // The labels grow with a larger system font (the saved and printed picture does not).
        constexpr double kUsualSystemSize = 9.0;
        ChartPicture shown = picture_;
        shown.fontScale = std::max(1.0, font().pointSizeF() / kUsualSystemSize);
        cache_ = drawing_.image(shown, (QSizeF(size()) * ratio).toSize(), QLocale());
        cache_.setDevicePixelRatio(ratio);
    }
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), cache_);
    if (hasFocus()) {
        QStyleOptionFocusRect frame;
        frame.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
    }
}

ChartWindow::ChartWindow(std::vector<std::pair<QString, ChartPicture>> pictures, QString baseName,
                         ChartWindowActions actions, const ChartDrawing& drawing, QWidget* parent)
    : QWidget(parent, Qt::Window),
      pictures_(std::move(pictures)),
      baseName_(std::move(baseName)),
      actions_(std::move(actions)),
      drawing_(drawing) {
    setObjectName(QStringLiteral("fGrafikoni"));
    setWindowTitle(QStringLiteral("Grafikoni"));
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Grafikon:"), this);
    chooser_ = new QComboBox(this);
    chooser_->setObjectName(QStringLiteral("cbGrafikon"));
    label->setBuddy(chooser_);
    for (const auto& [name, picture] : pictures_) {
        chooser_->addItem(name);
    }
    auto* save = new QPushButton(QStringLiteral("&Spremi sliku…"), this);
    save->setObjectName(QStringLiteral("bSpremiSliku"));
    auto* print = new QPushButton(QStringLiteral("&Ispis"), this);
    print->setObjectName(QStringLiteral("bIspisGrafikona"));
    auto* close = new QPushButton(QStringLiteral("&Zatvori"), this);
    bar->addWidget(label);
    bar->addWidget(chooser_, 1);
    bar->addWidget(save);
    bar->addWidget(print);
    bar->addWidget(close);
    layout->addLayout(bar);
    canvas_ = new ChartCanvas(drawing_, this);
    layout->addWidget(canvas_, 1);
    // The outcome of saving and printing, here where the command was given.
    auto* line = new QHBoxLayout;
    icon_ = new QLabel(this);
    icon_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(16, 16));
    icon_->hide();
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("lPoruka"));
    message_->setWordWrap(true);
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Shown with a message only: an empty line is nothing for the keyboard or a screen reader.
    message_->hide();
    line->addWidget(icon_);
    line->addWidget(message_, 1);
    layout->addLayout(line);
    resize(1100, 680);
    // Escape closes the window as it closes a dialog (Alt+Z stays the button's key).
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    connect(chooser_, &QComboBox::currentIndexChanged, this, [this](int i) { Choose(i); });
    connect(save, &QPushButton::clicked, this, [this] { SaveClick(); });
    connect(print, &QPushButton::clicked, this, [this] { PrintClick(); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    Choose(0);
}

const ChartPicture& ChartWindow::Current() const {
    return canvas_->picture();
}

void ChartWindow::Choose(int index) {
    if (index < 0 || index >= int(pictures_.size())) {
        return;
    }
    if (chooser_->currentIndex() != index) {
        chooser_->setCurrentIndex(index);  // comes back here through the signal
        return;
    }
    canvas_->SetPicture(pictures_[std::size_t(index)].second);
}

void ChartWindow::SaveClick() {
    if (!actions_.chooseSaveFile) {
        return;
    }
    const std::optional<QString> path = actions_.chooseSaveFile(baseName_ + QStringLiteral(".png"));
    if (!path) {
        return;
    }
    const Result saved = drawing_.save(Current(), QFile::encodeName(*path).toStdString(),
                                       QSize(kChartWidth, kChartHeight), QLocale());
    if (saved) {
        ShowOutcome(QStringLiteral("Grafikon je spremljen u „%1”.").arg(*path), false);
    } else {
        ShowOutcome(QString::fromStdString(saved.message()), true);
    }
}

void ChartWindow::PrintClick() {
    if (actions_.print) {
        ShowOutcome(QStringLiteral("Grafikon se šalje na pisač…"), false);
        actions_.print(drawing_.pdf(Current(), QLocale()), QString::fromStdString(Current().title),
                       this, [this](const QString& text, bool error) { ShowOutcome(text, error); });
    }
}

void ChartWindow::ShowOutcome(const QString& text, bool error) {
    icon_->setVisible(error);
    message_->setText(text);
    message_->setVisible(!text.isEmpty());
}

QString ChartWindow::message() const {
    return message_->text();
}

}  // namespace movik
