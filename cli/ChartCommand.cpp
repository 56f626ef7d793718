// movik-cli chart DOKUMENT.mvk --kind structure|income -o IZLAZ.png|IZLAZ.svg [--width PX]
// [--height PX]: the charts of the window, drawn without a display.

#include <QApplication>
#include <QLocale>

#include "charts/ChartRender.h"
#include "cli/Command.h"
#include "model/Currency.h"
#include "regional/Regional.h"

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
        Fail(std::string("Neispravna vrijednost opcije ") + option + " '" + *text +
             "' (cijeli broj od 100 do 10000)");
    }
    return std::stoi(*text);
}

}  // namespace

int RunChart(const Arguments& args, Workspace& ws) {
    RequireCount(args, 2);
    const std::string* kind = args.option("--kind");
    if (kind == nullptr || (*kind != "structure" && *kind != "income")) {
        Fail("Naredbi 'chart' treba --kind structure ili --kind income");
    }
    const std::string* out = args.option("-o");
    if (out == nullptr || out->empty()) {
        Fail("Naredbi 'chart' nedostaje -o IZLAZ.png ili IZLAZ.svg");
    }
    const QSize size(ReadSize(args.option("--width"), kChartWidth, "--width"),
                     ReadSize(args.option("--height"), kChartHeight, "--height"));
    OpenAsWindow(ws, args.positional[1]);
    const RegionalSettings& rs = ws.settings();

    // Charts are widgets of a scene: they need an application, on a platform that needs no
    // display.
    OffscreenArguments offscreen;
    QApplication app(offscreen.argc, offscreen.argv);

    // The axes' separators: those of --locale, else the ones the window would use.
    QLocale locale = ProgramLocale();
    if (args.locale) {
        locale = IsPlainLocaleName(*args.locale)
                     ? QLocale(kProgramLocaleName)
                     : QLocale(QString::fromStdString(*args.locale).section('.', 0, 0));
    }
    ChartPicture picture =
        *kind == "structure" ? StructureChart(ws.document(), rs) : IncomeChart(ws.document(), rs);
    // The amount axis names the unit, as the window's charts and the printed reports do.
    const std::string* unit = args.option("--unit");
    SetAmountUnit(picture, unit != nullptr ? *unit : std::string(AmountUnitText(ws.currency())));
    if (const Result saved = SaveChart(picture, *out, size, locale); !saved) {
        Fail(saved.message());
    }
    return 0;
}

}  // namespace movik::cli
