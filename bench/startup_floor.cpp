// The floor of start-up time: the smallest Qt Widgets program that shows a titled window of the
// main window's size. scripts/measure-startup.sh times it alternately with movik.

#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Movik"));
    label.setWindowTitle(QStringLiteral("Prazni prozor"));
    label.resize(884, 680);
    label.show();
    return QApplication::exec();
}
