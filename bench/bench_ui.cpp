// From an accepted cell edit to every view updated: the validation handler of the balance sheet
// grid (amount read, refresh cycle over all five statements, every grid told, the warning shown)
// and the repaint of the showing page, on Qt's offscreen platform; with an empty undo history and
// after 10,000 edits. The counters say how long the history is and what it holds per step.

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

// Edits made before the measurement, so the undo history is that long (or as long as its bound
// allows) while the edits are timed.
void FillHistory(movik::TForm1& window, int edits) {
    for (int i = 0; i < edits; ++i) {
        window.agBilancaCellValidate(5, 6, std::to_string(i + 1) + ",25");
    }
}

// What the undo history holds per step, reported with each edit benchmark.
void ReportHistory(benchmark::State& state, const movik::Workspace& ws) {
    const auto& history = ws.history();
    state.counters["history_steps"] = static_cast<double>(history.StepCount());
    state.counters["history_bytes_per_step"] =
        static_cast<double>(history.Bytes()) / static_cast<double>(history.StepCount());
}

void BM_CellEditToEveryViewUpdated(benchmark::State& state) {
    ShownWindow shown;
    FillHistory(shown.window, static_cast<int>(state.range(0)));
    int i = 0;
    for (auto _ : state) {
        // Alternating amounts, so every edit really changes the totals.
        const auto stored =
            shown.window.agBilancaCellValidate(5, 4, std::to_string(1000 + (i++ % 2)) + ",50");
        QApplication::processEvents();  // the showing grid repaints
        benchmark::DoNotOptimize(stored);
    }
    ReportHistory(state, shown.window.workspace());
}
BENCHMARK(BM_CellEditToEveryViewUpdated)->Arg(0)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_CellEditWithoutRepaint(benchmark::State& state) {
    ShownWindow shown;
    FillHistory(shown.window, static_cast<int>(state.range(0)));
    int i = 0;
    for (auto _ : state) {
        const auto stored =
            shown.window.agBilancaCellValidate(5, 4, std::to_string(1000 + (i++ % 2)) + ",50");
        benchmark::DoNotOptimize(stored);
    }
    QApplication::processEvents();
    ReportHistory(state, shown.window.workspace());
}
BENCHMARK(BM_CellEditWithoutRepaint)->Arg(0)->Arg(10000)->Unit(benchmark::kMicrosecond);

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
