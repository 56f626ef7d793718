#include "ui/AnalysisCommands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "analysis/EuroConversion.h"
#include "model/Currency.h"
#include "regional/Regional.h"
#include "reports/DocumentWorkbook.h"
#include "ui/WindowPlace.h"

namespace movik {

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The document's path without its extension, or fallback for an untitled document.
QString BaseName(const Workspace& ws, const QString& fallback) {
    const std::string& path = ws.document().ImeDatoteke;
    if (path.empty()) {
        return fallback;
    }
    const QFileInfo info(QFile::decodeName(QByteArray::fromStdString(path)));
    return info.dir().filePath(info.completeBaseName());
}

// The chart drawing functions, loaded on first use; an error message when they cannot be.
const ChartDrawing* DrawingOrError(Dialogs& dialogs) {
    QString error;
    const ChartDrawing* drawing = CurrentChartDrawing(&error);
    if (drawing == nullptr) {
        dialogs.ShowError(error);
    }
    return drawing;
}

}  // namespace

ChartWindowActions ChartActionsFor(Dialogs& dialogs, ChartPrinter print) {
    ChartWindowActions actions;
    actions.chooseSaveFile = [&dialogs](const QString& proposedName) {
        const FileDialogSetup setup{
            QStringLiteral("ChartSave"),
            QStringLiteral("Spremi grafikon"),
            {{QStringLiteral("Slika PNG (*.png)"), QStringLiteral("*.png")},
             {QStringLiteral("Crtež SVG (*.svg)"), QStringLiteral("*.svg")}},
            proposedName,
            QStringLiteral("png")};
        return dialogs.ChooseSaveFile(setup);
    };
    actions.print = std::move(print);
    return actions;
}

ChartWindow* OpenDocumentCharts(const Workspace& ws, Dialogs& dialogs, ChartPrinter print,
                                QWidget* parent) {
    const ChartDrawing* drawing = DrawingOrError(dialogs);
    if (drawing == nullptr) {
        return nullptr;
    }
    const TDokument& doc = ws.document();
    std::vector<std::pair<QString, ChartPicture>> pictures = {
        {QStringLiteral("Struktura bilance"), StructureChart(doc, ws.settings())},
        {QStringLiteral("Račun dobiti i gubitka"), IncomeChart(doc, ws.settings())}};
    for (auto& [name, picture] : pictures) {
        SetAmountUnit(picture, ws.unitText());  // the unit the window shows its amounts in
    }
    auto* window = new ChartWindow(std::move(pictures), BaseName(ws, QStringLiteral("grafikon")),
                                   ChartActionsFor(dialogs, std::move(print)), *drawing, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    PlaceWindow(window, parent);
    window->show();
    return window;
}

ChartWindow* OpenFigureCharts(const std::vector<FigureAcrossDocuments>& figures,
                              const QString& baseName, Dialogs& dialogs, ChartPrinter print,
                              QWidget* parent) {
    std::vector<std::pair<QString, ChartPicture>> pictures;
    for (const FigureAcrossDocuments& figure : figures) {
        pictures.emplace_back(FromUtf8(figure.name), FigureChart(figure));
    }
    return OpenChartPictures(std::move(pictures), baseName, dialogs, std::move(print), parent);
}

ChartWindow* OpenChartPictures(std::vector<std::pair<QString, ChartPicture>> pictures,
                               const QString& baseName, Dialogs& dialogs, ChartPrinter print,
                               QWidget* parent) {
    const ChartDrawing* drawing = DrawingOrError(dialogs);
    if (drawing == nullptr) {
        return nullptr;
    }
    auto* window = new ChartWindow(std::move(pictures), baseName,
                                   ChartActionsFor(dialogs, std::move(print)), *drawing, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    PlaceWindow(window, parent);
    window->show();
    return window;
}

QString EuroConversionQuestion() {
    return QStringLiteral(
               "Preračunati dokument iz kuna u eure po fiksnom tečaju konverzije %1 kn "
               "za 1 euro?\nPreračun mijenja svaki iznos bilance i računa dobiti i "
               "gubitka (zaokruženo na cente); dokument postaje dokument u eurima, a jedinica "
               "iznosa „%2”.")
        .arg(FromUtf8(std::string(kKunaPerEuroText)),
             FromUtf8(std::string(AmountUnitText(Valuta::Eur))));
}

bool ConvertToEuroAsked(Workspace& ws, Dialogs& dialogs) {
    if (ws.currency() == Valuta::Eur) {
        // A second division by the rate would be wrong; say why nothing happens.
        dialogs.Inform(FromUtf8(std::string(kAlreadyInEuro)), kEuroHelpContext);
        return false;
    }
    if (dialogs.Ask(EuroConversionQuestion()) != Answer::Yes) {
        return false;
    }
    return ConvertToEuro(ws);
}

void ExportWorkbook(const Workspace& ws, Dialogs& dialogs, const std::string& unit,
                    FileWriter& writer, const OutcomeShown& shown) {
    SaveWorkbookAs(DocumentWorkbook(ws, unit),
                   BaseName(ws, QStringLiteral("izvjesca")) + QStringLiteral(".xlsx"), dialogs,
                   writer, shown);
}

void ShowWritten(const QString& path, const Result& written, const OutcomeShown& shown) {
    shown(written ? QStringLiteral("Spremljeno u „%1”.").arg(path) : FromUtf8(written.message()),
          !written);
}

void SaveWorkbookAs(const Workbook& book, const QString& proposedName, Dialogs& dialogs,
                    FileWriter& writer, const OutcomeShown& shown) {
    const FileDialogSetup setup{
        QStringLiteral("XlsxSave"),
        QStringLiteral("Izvoz u Excel"),
        {{QStringLiteral("Radna knjiga Excel (*.xlsx)"), QStringLiteral("*.xlsx")},
         {QStringLiteral("Sve datoteke (*.*)"), QStringLiteral("*")}},
        proposedName,
        QStringLiteral("xlsx")};
    const std::optional<QString> path = dialogs.ChooseSaveFile(setup);
    if (!path) {
        return;
    }
    const Result written = WriteXlsx(book, QFile::encodeName(*path).toStdString(), &writer);
    if (shown) {
        ShowWritten(*path, written, shown);
    } else if (!written) {
        dialogs.ShowError(FromUtf8(written.message()));
    }
}

}  // namespace movik
