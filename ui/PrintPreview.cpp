#include "ui/PrintPreview.h"

#include <QAction>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "reports/ReportPaint.h"
#include "ui/WindowPlace.h"

namespace movik {

namespace {

constexpr double kPageWidthMm = 210.0;
constexpr double kPageHeightMm = 297.0;
constexpr double kMinZoom = 0.25;
constexpr double kMaxZoom = 4.0;
constexpr double kZoomStep = 1.25;

}  // namespace

// One page on white paper, at the window's zoom.
class PreviewPage : public QWidget {
  public:
    explicit PreviewPage(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("PreviewPage"));
    }

    void Show(const LaidOutPage* page, double zoom) {
        page_ = page;
        zoom_ = zoom;
        const double dotsPerMm = logicalDpiX() / 25.4 * zoom_;
        setFixedSize(qRound(kPageWidthMm * dotsPerMm), qRound(kPageHeightMm * dotsPerMm));
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        if (page_ == nullptr) {
            return;
        }
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        // Fonts are sized in points for this device: zoom scales the painter, not the items.
        painter.scale(zoom_, zoom_);
        PaintPage(*page_, painter, logicalDpiX() / 25.4);
    }

  private:
    const LaidOutPage* page_ = nullptr;
    double zoom_ = 1.0;
};

PrintPreviewWindow::PrintPreviewWindow(
    const QString& title, const std::vector<PrintJob>& jobs,
    std::function<void(QWidget*, std::function<void(const QString&, bool)>)> print, QWidget* parent)
    : QDialog(parent), print_(std::move(print)), title_(title) {
    setObjectName(QStringLiteral("PregledIspisa"));
    setWindowTitle(QStringLiteral("Pregled ispisa (") + title + u')');
    for (const PrintJob& job : jobs) {
        if (!job.refused) {
            pages_.insert(pages_.end(), job.pages.begin(), job.pages.end());
        }
    }

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("PregledAlati"));
    bar->setAccessibleName(QStringLiteral("Alati pregleda ispisa"));
    // Every button can take the keyboard (Tab) and shows its key in its tooltip.
    auto add = [this, bar](const char* name, const QString& caption, const QKeySequence& key,
                           void (PrintPreviewWindow::*slot)()) {
        QAction* action = bar->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        action->setToolTip(
            QStringLiteral("%1 (%2)").arg(QString(caption).remove(u'◀').remove(u'▶').trimmed(),
                                          key.toString(QKeySequence::NativeText)));
        bar->widgetForAction(action)->setFocusPolicy(Qt::StrongFocus);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add("PregledIspis", QStringLiteral("Ispis"), QKeySequence::Print, &PrintPreviewWindow::Print);
    bar->addSeparator();
    previous_ = add("PregledPrethodna", QStringLiteral("◀ Prethodna"), QKeySequence(Qt::Key_PageUp),
                    &PrintPreviewWindow::PreviousPage);
    next_ = add("PregledSljedeca", QStringLiteral("Sljedeća ▶"), QKeySequence(Qt::Key_PageDown),
                &PrintPreviewWindow::NextPage);
    pageLabel_ = new QLabel(bar);
    pageLabel_->setObjectName(QStringLiteral("PregledStranica"));
    pageLabel_->setContentsMargins(8, 0, 8, 0);
    bar->addWidget(pageLabel_);
    bar->addSeparator();
    add("PregledSmanji", QStringLiteral("Smanji"), QKeySequence::ZoomOut,
        &PrintPreviewWindow::ZoomOut);
    add("PregledPovecaj", QStringLiteral("Povećaj"), QKeySequence::ZoomIn,
        &PrintPreviewWindow::ZoomIn);
    add("PregledSirina", QStringLiteral("Cijela širina"), QKeySequence(Qt::Key_W),
        &PrintPreviewWindow::FitWidth);

    scroll_ = new QScrollArea(this);
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->verticalScrollBar()->setAccessibleName(QStringLiteral("Okomito pomicanje stranice"));
    scroll_->horizontalScrollBar()->setAccessibleName(
        QStringLiteral("Vodoravno pomicanje stranice"));
    view_ = new PreviewPage(scroll_);
    scroll_->setWidget(view_);
    // The keyboard starts on the page (arrows and Page Up/Down scroll it); a screen reader reads
    // which report and which page it is.
    scroll_->setFocusPolicy(Qt::StrongFocus);
    scroll_->setFocus(Qt::OtherFocusReason);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(scroll_);
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("PregledPoruka"));
    message_->setContentsMargins(8, 4, 8, 4);
    message_->setWordWrap(true);
    layout->addWidget(message_);

    // Tall enough for a whole A4 page at a readable size, as far as the screen allows.
    QSize size(900, 1100);
    if (const QScreen* screen = parent != nullptr ? parent->screen() : this->screen()) {
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    }
    resize(size);
    PlaceWindow(this, parent);
    Update();
}

void PrintPreviewWindow::ShowPage(int number) {
    current_ = std::clamp(number - 1, 0, std::max(0, pageCount() - 1));
    Update();
    scroll_->verticalScrollBar()->setValue(0);
}

void PrintPreviewWindow::NextPage() {
    ShowPage(currentPage() + 1);
}

void PrintPreviewWindow::PreviousPage() {
    ShowPage(currentPage() - 1);
}

void PrintPreviewWindow::SetZoom(double zoom) {
    zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
    Update();
}

void PrintPreviewWindow::ZoomIn() {
    SetZoom(zoom_ * kZoomStep);
}

void PrintPreviewWindow::ZoomOut() {
    SetZoom(zoom_ / kZoomStep);
}

void PrintPreviewWindow::FitWidth() {
    const int room = scroll_->viewport()->width() - 2 * scroll_->frameWidth() - 16;
    SetZoom(room / (kPageWidthMm * logicalDpiX() / 25.4));
}

void PrintPreviewWindow::Print() {
    if (pages_.empty()) {
        return;
    }
    // The preview stays open: the outcome shows here when it comes.
    ShowOutcome(QStringLiteral("Šalje se na pisač…"), false);
    print_(this, [this](const QString& text, bool error) { ShowOutcome(text, error); });
}

void PrintPreviewWindow::ShowOutcome(const QString& text, bool error) {
    message_->setText(error ? QStringLiteral("Pogreška: ") + text : text);
}

QString PrintPreviewWindow::message() const {
    return message_->text();
}

void PrintPreviewWindow::Update() {
    view_->Show(pages_.empty() ? nullptr : &pages_[static_cast<std::size_t>(current_)], zoom_);
    pageLabel_->setText(QStringLiteral("Stranica %1 od %2").arg(currentPage()).arg(pageCount()));
    scroll_->setAccessibleName(
        QStringLiteral("%1, stranica %2 od %3").arg(title_).arg(currentPage()).arg(pageCount()));
    previous_->setEnabled(current_ > 0);
    next_->setEnabled(current_ + 1 < pageCount());
}

}  // namespace movik
