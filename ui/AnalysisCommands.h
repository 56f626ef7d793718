#pragma once
// The window's commands beyond the statements themselves: the charts window, the conversion of
// a kuna document to euros, and the document as a spreadsheet workbook. Each asks through the
// dialogs interface; the main window only wires them to its menus.

#include <QString>
#include <functional>
#include <string>

#include "charts/ChartWindow.h"
#include "document/Workspace.h"
#include "reports/Workbook.h"
#include "ui/Dialogs.h"

class QWidget;

namespace movik {

// Sends a chart's one-page PDF to the default printer as the job jobName: the window's checked
// print path, which sends it from a worker and shows the outcome in the charts window.
using ChartPrinter = decltype(ChartWindowActions::print);

// Saving through the save dialog of dialogs (PNG or SVG) and printing through print; for any
// chart window, the comparison's too. Outcomes show in the charts window.
ChartWindowActions ChartActionsFor(Dialogs& dialogs, ChartPrinter print);

// The charts of the open document (balance-sheet structure, income statement) in a new window
// over parent, shown; it deletes itself when closed. Null, after an error message, when the chart
// library cannot be loaded.
ChartWindow* OpenDocumentCharts(const Workspace& ws, Dialogs& dialogs, ChartPrinter print,
                                QWidget* parent);

// Charts of figures across compared documents (one chooser entry per figure), in a new window
// over parent, shown; it deletes itself when closed. baseName: proposed file name, no extension.
// Null, after an error message, when the chart library cannot be loaded.
ChartWindow* OpenFigureCharts(const std::vector<FigureAcrossDocuments>& figures,
                              const QString& baseName, Dialogs& dialogs, ChartPrinter print,
                              QWidget* parent);

// Any pictures (name in the chooser, picture) in a new charts window over parent, as
// OpenFigureCharts opens its own.
ChartWindow* OpenChartPictures(std::vector<std::pair<QString, ChartPicture>> pictures,
                               const QString& baseName, Dialogs& dialogs, ChartPrinter print,
                               QWidget* parent);

// The help topic of the charts, the conversion to euros and workbooks.
inline constexpr int kEuroHelpContext = 11;

// The question asked before converting, naming the rate and what changes.
QString EuroConversionQuestion();

// Asks, then converts the document to euros; true when it was converted. A document already in
// euros is not converted again: the reason is shown and nothing changes.
bool ConvertToEuroAsked(Workspace& ws, Dialogs& dialogs);

// The outcome of writing the file at path, through shown: "Spremljeno u „path”." or, as an
// error, the failure's message.
void ShowWritten(const QString& path, const Result& written, const OutcomeShown& shown);

// Any workbook (the comparison table's too): the save dialog proposing proposedName, then the
// workbook written through writer; the failure's message shown by dialogs, or through shown
// (with a note of success) when the calling window shows its own outcomes.
void SaveWorkbookAs(const Workbook& book, const QString& proposedName, Dialogs& dialogs,
                    FileWriter& writer, const OutcomeShown& shown = nullptr);

// "Izvoz u Excel (.xlsx)…": the save dialog, then the workbook written through writer; the
// outcome through shown (the failure's message by dialogs when there is none).
void ExportWorkbook(const Workspace& ws, Dialogs& dialogs, const std::string& unit,
                    FileWriter& writer, const OutcomeShown& shown = nullptr);

}  // namespace movik
