// Movik: start-up. The About box as the start-up screen while the main window with a new document
// is built, then the document named on the command line (a missing file is ignored), then the
// message loop.

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>
#include <cstdio>
#include <exception>
#include <initializer_list>

#include "about/AboutBox.h"
#include "app/FontWarmUp.h"
#include "movik/Version.h"
#include "regional/Regional.h"
#include "ui/AccessibleColours.h"
#include "ui/CommandLine.h"
#include "ui/MainWindow.h"
#include "ui/StartUp.h"
#include "ui/StartupTrace.h"
#include "ui/ToolIcons.h"

namespace {

QIcon ProgramIcon(std::initializer_list<int> sizes) {
    QIcon icon;
    for (const int size : sizes) {
        icon.addPixmap(movik::LoadPng(QStringLiteral(":/icon/movik-%1.png").arg(size)));
    }
    return icon;
}

// The start-up and the message loop; main reports what escapes it.
int Run(int argc, char* argv[]) {
    // The usage needs no display: it is answered before the windowing system is opened.
    QStringList rawArguments;
    for (int i = 0; i < argc; ++i) {
        rawArguments << QString::fromLocal8Bit(argv[i]);
    }
    if (movik::ParseCommandLine(rawArguments).help) {
        std::fputs(movik::UsageText().toLocal8Bit().constData(), stdout);
        return 0;
    }

    movik::StartupMark("main");
    movik::FontWarmUp fonts;
    QApplication app(argc, argv);
    movik::StartupMark("application");
    const movik::FontWarmUp::Joined fontsJoined = fonts.ApplicationReady();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        movik::PreloadAboutArtwork(screen->devicePixelRatio());
    }
    // The window's own controls read numbers as the workspace does (Croatian where the
    // environment names no regional settings).
    QLocale::setDefault(movik::ProgramLocale());
    QApplication::setStyle(new movik::DrawnIconStyle);
    // Placeholders and links readable in the desktop's palette, light, dark or high-contrast.
    QPalette palette = QApplication::palette();
    movik::HoldTextContrast(palette);
    QApplication::setPalette(palette);
    QApplication::setApplicationName(QString::fromUtf8(movik::kProgramName));
    QApplication::setApplicationVersion(QString::fromUtf8(movik::kProgramVersion));
    QApplication::setApplicationDisplayName(QString::fromUtf8(movik::kProgramTitle));
    // The desktop entry (movik.desktop) and its icon: the task bar groups our windows under it.
    QGuiApplication::setDesktopFileName(QStringLiteral("movik"));
    // The window manager gets every size of the icon, decoded as a window maps: the small ones
    // at once, the large ones after the main window's first frame.
    QApplication::setWindowIcon(ProgramIcon({16, 24, 32, 48}));
    // The arguments without the ones Qt takes for itself (-platform and the like).
    const movik::CommandLine commandLine = movik::ParseCommandLine(QApplication::arguments());

    movik::StartupMark("style and icon");
    // Qt's own buttons and dialogs speak Croatian like the rest of the program.
    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_hr"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTranslator);
    }

    movik::StartupMark("translations");
    // One About box for the whole run: the start-up screen now, "O programu" later.
    movik::TfAbout fAbout;
    movik::StartupMark("about box");
    // The document named first on the command line opens before the window shows (a missing
    // file is ignored and the new document stays).
    const std::unique_ptr<movik::TForm1> window = movik::StartUp(fAbout, commandLine.documentPath);
    QObject::connect(window.get(), &movik::TForm1::firstFrameShown, [] {
        movik::StartupMark("first frame");
        QApplication::setWindowIcon(ProgramIcon({16, 22, 24, 32, 48, 64, 128, 256}));
    });
    fonts.Wait();
    window->show();
    movik::StartupMark("main window shown");
    return QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    // Caught here, an exception unwinds the start-up (the fonts' thread is joined, the windows
    // closed) before the program ends with a message instead of an abort.
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "movik: program je zaustavljen zbog pogreške: %s\n", e.what());
    } catch (...) {
        std::fputs("movik: program je zaustavljen zbog neočekivane pogreške\n", stderr);
    }
    return 1;
}
