// Movik: start-up. The main window with a new document, then the document named on the command
// line (a missing file is ignored), then the message loop.

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "ui/MainWindow.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Movik"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setApplicationDisplayName(QStringLiteral("Movik 1.0"));

    // Qt's own buttons and dialogs speak Croatian like the rest of the program.
    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_hr"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTranslator);
    }

    movik::TForm1 window;
    // The document named first on the command line, before the window shows (a missing file
    // is ignored and the new document stays).
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1 && !arguments.at(1).isEmpty()) {
        window.OpenDocument(arguments.at(1));
    }
    window.show();
    return QApplication::exec();
}
