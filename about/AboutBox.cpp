#include "about/AboutBox.h"
#include "movik/Version.h"

#include <QApplication>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <future>
#include <optional>

namespace movik {

namespace {

constexpr int kWidth = 500;
constexpr int kHeight = 250;

}  // namespace

QPixmap LoadPng(const QString& path) {
    return QPixmap::fromImage(DecodePng(path));
}

namespace {

// The artwork is stored as uncompressed bitmaps: reading one is little more than a copy, while
// decoding the same picture as a PNG took the start-up screen's wait about 15 million
// instructions.
QString ArtworkPath(bool dense) {
    return dense ? QStringLiteral(":/about/about@2x.bmp") : QStringLiteral(":/about/about.bmp");
}

QImage DecodeArtwork(const QString& path) {
    QImageReader reader(path, "bmp");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

// The artwork being decoded on another thread, for the density it was started for.
struct ArtworkPreload {
    bool dense = false;
    std::future<QImage> image;
};

std::optional<ArtworkPreload>& Preload() {
    static std::optional<ArtworkPreload> preload;
    return preload;
}

}  // namespace

QImage DecodePng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

void PreloadAboutArtwork(qreal devicePixelRatio) {
    const bool dense = devicePixelRatio > 1.0;
    Preload() = ArtworkPreload{dense, std::async(std::launch::async, [dense] {
                                   return DecodeArtwork(ArtworkPath(dense));
                               })};
}

QPixmap AboutArtwork(qreal devicePixelRatio) {
    const bool dense = devicePixelRatio > 1.0;
    QImage image;
    if (Preload() && Preload()->dense == dense) {
        image = Preload()->image.get();
    } else {
        image = DecodeArtwork(ArtworkPath(dense));
    }
    Preload().reset();
    QPixmap picture = QPixmap::fromImage(std::move(image));
    picture.setDevicePixelRatio(dense ? 2.0 : 1.0);
    return picture;
}

// Made as a start-up screen (the windowing system places it and lists it nowhere); "O programu"
// turns it into a dialog.
TfAbout::TfAbout(QWidget* parent) : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("fAbout"));
    setWindowTitle(QStringLiteral("O programu"));
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    setFont(font);
    setFixedSize(kWidth, kHeight);

    ProgramIcon = new QLabel(this);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setGeometry(0, 0, kWidth, kHeight);
    ProgramIcon->setScaledContents(true);
    // The picture carries the program's name and version; a screen reader reads them.
    ProgramIcon->setAccessibleName(QString::fromUtf8(kProgramTitle));

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(416, 216, 75, 25);
    OKButton->setDefault(true);
    OKButton->hide();
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    ShowArtwork();
    CentreOnScreen();
}

void TfAbout::ShowArtwork() {
    const qreal ratio = devicePixelRatioF() > 1.0 ? 2.0 : 1.0;
    if (ratio != artworkRatio_) {
        artworkRatio_ = ratio;
        ProgramIcon->setPixmap(AboutArtwork(ratio));
    }
}

void TfAbout::CentreOnScreen() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void TfAbout::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    ProgramIcon->setGeometry(rect());
}

void TfAbout::ShowSplash() {
    setModal(false);
    CentreOnScreen();
    show();
    raise();
    // Not waiting here for the windowing system to map the window: the main window is built
    // meanwhile, and CloseSplash paints the box before it goes.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfAbout::CloseSplash() {
    // Painted before it goes: wait (briefly; by now it is mostly mapped already) until the
    // windowing system has mapped the window, then paint it. The wait sleeps between events;
    // the timer ends it after 100 ms at the latest.
    QTimer limit;
    limit.setSingleShot(true);
    limit.start(100);
    while (windowHandle() != nullptr && !windowHandle()->isExposed() && limit.isActive()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents |
                                    QEventLoop::ExcludeUserInputEvents);
    }
    ShowArtwork();  // the screen it is on may be a dense one
    repaint();
    hide();
}

int TfAbout::ShowAbout(QWidget* owner) {
    if (windowType() != Qt::Dialog) {
        hide();
        setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    }
    if (owner != nullptr && owner->window()->windowHandle() != nullptr) {
        winId();  // the native window, to be kept above the owner's
        windowHandle()->setTransientParent(owner->window()->windowHandle());
    }
    OKButton->show();
    OKButton->setFocus(Qt::OtherFocusReason);
    setModal(true);
    CentreOnScreen();
    ShowArtwork();
    return RunModal();
}

int TfAbout::RunModal() {
    return exec();
}

}  // namespace movik
