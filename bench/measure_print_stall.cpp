// How long the window stops handling events while it prints to a print server that accepts
// and never answers. A 1 ms timer ticks in the window's event loop from the moment Ispis is
// pressed until the error is shown; the longest gap between two ticks is the longest time the
// window did not respond. See scripts/measure-print-stall.sh.
//
//   measure_print_stall [--runs N] [--job-ms MS] DOCUMENT

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/StalledServer.h"
#include "ui/MainWindow.h"
#include "ui/PrintCommands.h"

namespace {

// Records the errors; nothing else is expected of the window here.
class RecordingDialogs : public movik::Dialogs {
  public:
    QStringList errors;
    movik::Answer Ask(const QString&) override { return movik::Answer::Cancel; }
    void Inform(const QString&, int) override {}
    void ShowError(const QString& text) override { errors << text; }
    std::optional<QString> ChooseOpenFile(const movik::FileDialogSetup&) override { return {}; }
    std::optional<QString> ChooseSaveFile(const movik::FileDialogSetup&) override { return {}; }
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    int runs = 3;
    int jobMs = movik::PrintLimits{}.jobMs;
    QString document;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--runs") && i + 1 < args.size()) {
            runs = std::max(1, args[++i].toInt());
        } else if (args[i] == QStringLiteral("--job-ms") && i + 1 < args.size()) {
            jobMs = std::max(1, args[++i].toInt());
        } else {
            document = args[i];
        }
    }
    if (document.isEmpty()) {
        std::fprintf(stderr, "usage: measure_print_stall [--runs N] [--job-ms MS] DOCUMENT\n");
        return 2;
    }
    movik::test::StalledServer server;
    if (server.socket().empty()) {
        std::fprintf(stderr, "no socket for the stalled server\n");
        return 1;
    }
    ::setenv("CUPS_SERVER", server.socket().c_str(), 1);

    auto dialogs = std::make_unique<RecordingDialogs>();
    RecordingDialogs* recorded = dialogs.get();
    movik::TForm1 window(std::move(dialogs));
    window.printing().worker().SetLimits(movik::PrintLimits{}.connectMs, jobMs);
    window.OpenDocument(document);
    window.show();
    auto* pages = window.findChild<QTabWidget*>(QStringLiteral("PageControl"));
    pages->setCurrentWidget(pages->findChild<QWidget*>(QStringLiteral("tsBilanca")));
    auto* print = window.findChild<QAction*>(QStringLiteral("Ispii1"));

    double worstGap = 0;
    for (int run = 1; run <= runs; ++run) {
        recorded->errors.clear();
        QElapsedTimer clock;
        qint64 lastTick = 0;
        double gap = 0;
        double gapAt = 0;  // when the longest gap ended, from the press
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            if ((now - lastTick) / 1e6 > gap) {
                gap = (now - lastTick) / 1e6;
                gapAt = now / 1e6;
            }
            lastTick = now;
        });
        clock.start();
        ticker.start(1);
        print->trigger();
        const double pressMs = clock.nsecsElapsed() / 1e6;
        while (recorded->errors.isEmpty() && clock.elapsed() < jobMs + 30000) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        const double errorMs = clock.nsecsElapsed() / 1e6;
        ticker.stop();
        gap = std::max(gap, pressMs);
        worstGap = std::max(worstGap, gap);
        std::printf(
            "run %d: Ispis returned after %.1f ms, error after %.0f ms, longest gap %.1f ms "
            "(ending %.0f ms after the press)\n",
            run, pressMs, errorMs, gap, gapAt);
        if (recorded->errors.isEmpty()) {
            std::fprintf(stderr, "run %d: no error was shown\n", run);
            return 1;
        }
        if (run == 1) {
            std::printf("error: %s\n", recorded->errors.front().toUtf8().constData());
        }
    }
    std::printf("longest time without handling events: %.1f ms (%d runs, limit %d ms per job)\n",
                worstGap, runs, jobMs);
    return 0;
}
