// From an accepted cell edit to every view updated: the validation handler of the balance sheet
// grid (amount read, refresh cycle over all five statements, every grid told, the warning shown)
// and the repaint of the showing page, on Qt's offscreen platform.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLocale>
#include <QTabWidget>
#include <memory>
#include <string>

#include "tests/support/WorkspaceTestAccess.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"

namespace {

// Nothing is asked during the benchmark; any dialog would be a fault.
class SilentDialogs : public movik::Dialogs {
  public:
    movik::Answer Ask(const QString&) override { return movik::Answer::Cancel; }
    void Inform(const QString&, int) override {}
    void ShowError(const QString&) override {}
    std::optional<QString> ChooseOpenFile(const movik::FileDialogSetup&) override {
        return std::nullopt;
    }
    std::optional<QString> ChooseSaveFile(const movik::FileDialogSetup&) override {
        return std::nullopt;
    }
};

struct ShownWindow {
    ShownWindow() : window(std::make_unique<SilentDialogs>()) {
        window.resize(900, 700);
        window.show();
        window.findChild<QTabWidget*>(QStringLiteral("PageControl"))->setCurrentIndex(1);
        QApplication::processEvents();
    }
    ~ShownWindow() { movik::WorkspaceTestAccess::Document(window.workspace()).Izmijenjen = false; }
    movik::TForm1 window;
};

void BM_CellEditToEveryViewUpdated(benchmark::State& state) {
    ShownWindow shown;
    int i = 0;
    for (auto _ : state) {
        // Alternating amounts, so every edit really changes the totals.
        const auto stored =
            shown.window.agBilancaCellValidate(5, 4, std::to_string(1000 + (i++ % 2)) + ",50");
        QApplication::processEvents();  // the showing grid repaints
        benchmark::DoNotOptimize(stored);
    }
}
BENCHMARK(BM_CellEditToEveryViewUpdated)->Unit(benchmark::kMicrosecond);

void BM_CellEditWithoutRepaint(benchmark::State& state) {
    ShownWindow shown;
    int i = 0;
    for (auto _ : state) {
        const auto stored =
            shown.window.agBilancaCellValidate(5, 4, std::to_string(1000 + (i++ % 2)) + ",50");
        benchmark::DoNotOptimize(stored);
    }
    QApplication::processEvents();
}
BENCHMARK(BM_CellEditWithoutRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QStringLiteral("hr_HR")));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
