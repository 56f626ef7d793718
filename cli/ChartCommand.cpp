#include "cli/ChartCommand.h"

#include <QApplication>
#include <QLocale>
#include <cstdio>
#include <stdexcept>

#include "charts/ChartRender.h"
#include "cli/CommandOptions.h"

namespace movik::cli {

namespace {

// A size in pixels: a whole number from 100 to 10000.
int ReadSize(const std::string* text, int fallback, const char* option) {
    if (text == nullptr) {
        return fallback;
    }
    if (text->empty() || text->size() > 5 ||
        text->find_first_not_of("0123456789") != std::string::npos || std::stoi(*text) < 100 ||
        std::stoi(*text) > 10000) {
        throw std::runtime_error(std::string("Neispravna vrijednost opcije ") + option + " '" +
                                 *text + "' (cijeli broj od 100 do 10000)");
    }
    return std::stoi(*text);
}

}  // namespace

int ChartCommand(const std::vector<std::string>& args) {
    const CommandOptions options =
        ReadOptions("chart", args, {"--kind", "-o", "--width", "--height"}, {}, 1);
    const std::string* kind = options.value("--kind");
    if (kind == nullptr || (*kind != "structure" && *kind != "income")) {
        throw std::runtime_error("Naredbi 'chart' treba --kind structure ili --kind income");
    }
    const std::string* out = options.value("-o");
    if (out == nullptr || out->empty()) {
        throw std::runtime_error("Naredbi 'chart' nedostaje -o OUT.png ili OUT.svg");
    }
    const QSize size(ReadSize(options.value("--width"), kChartWidth, "--width"),
                     ReadSize(options.value("--height"), kChartHeight, "--height"));
    const RegionalSettings rs = SettingsFor(options);
    const auto ws = OpenWorkspace(options.positional[0], rs);

    // Charts are widgets of a scene: they need an application, the offscreen platform needs no
    // display ("-platform" wins over QT_QPA_PLATFORM). Qt's notes stay off standard error.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) {
            std::fprintf(stderr, "movik-cli: %s\n", qPrintable(text));
        }
    });
    int argc = 3;
    char name[] = "movik-cli";
    char platformOption[] = "-platform";
    char platform[] = "offscreen";
    char* argv[] = {name, platformOption, platform, nullptr};
    QApplication app(argc, argv);

    const QLocale locale(QString::fromStdString(LocaleNameFor(options)).section('.', 0, 0));
    const ChartPicture picture =
        *kind == "structure" ? StructureChart(ws->document(), rs) : IncomeChart(ws->document(), rs);
    if (const Result saved = SaveChart(picture, *out, size, locale); !saved) {
        throw std::runtime_error(saved.message());
    }
    return 0;
}

}  // namespace movik::cli
