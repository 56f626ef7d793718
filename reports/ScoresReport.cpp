#include "reports/ScoresReport.h"

#include <QString>

#include "analysis/ScoreSheet.h"
#include "reports/ReportPaint.h"
#include "reports/TableReport.h"

namespace movik {

namespace {

// A line's caption indented by its level: sections flush left, items under them, terms below.
std::string Indented(const ScoreLine& line) {
    switch (line.kind) {
        case ScoreLineKind::Section:
            return line.caption;
        case ScoreLineKind::Item:
            return "   " + line.caption;
        case ScoreLineKind::Detail:
            return "         " + line.caption;
    }
    return line.caption;
}

std::string Subtitle(const TDokument& doc, const RegionalSettings& rs) {
    std::string who = doc.Poduzece;
    if (!doc.Sjediste.empty()) {
        who += (who.empty() ? "" : ", ") + doc.Sjediste;
    }
    const std::string period = PeriodLine(doc, rs);
    return who.empty() ? period : who + " – " + period;
}

}  // namespace

PrintJob LayOutScoresReport(const TDokument& doc, const RegionalSettings& rs,
                            const std::string& warning) {
    TableReportData d;
    d.portrait = true;
    d.jobName = std::string(kScoresReportName);
    d.title = std::string(kScoresReportName);
    d.subtitle = Subtitle(doc, rs);
    d.columns = {
        {"Pokazatelj", 98, false}, {"Vrijednost", 28, true}, {"Ocjena / napomena", 64, false}};
    for (const ScoreLine& line : ScoreSheet(doc, rs)) {
        if (line.kind == ScoreLineKind::Section && !d.rows.empty()) {
            d.rows.push_back({});  // a blank line before every section but the first
            d.boldRows.push_back(false);
        }
        d.rows.push_back({Indented(line), line.value, line.note});
        d.boldRows.push_back(line.kind == ScoreLineKind::Section);
    }
    if (!warning.empty()) {
        d.notes.push_back(WarningLine(warning));
    }
    d.notes.emplace_back(kScoresCaveat);
    d.notes.emplace_back(
        "Izvori: Altman (1983; 1995), Springate (1978), Kralicek (1991); DuPont: pokazatelj 13 "
        "kao umnožak triju čimbenika. Formule i granice: pomoć, tema „Ocjena boniteta”.");
    return LayOutTableReport(d);
}

std::string ScoresPdfTitle(const TDokument& doc) {
    const std::string what(kScoresReportName);
    return doc.Poduzece.empty() ? what : doc.Poduzece + " – " + what;
}

Result ExportScoresPdf(const Workspace& ws, const std::string& path) {
    const PrintJob job = LayOutScoresReport(ws.document(), ws.settings(), ws.warning());
    return SavePdf({job}, QString::fromStdString(ScoresPdfTitle(ws.document())), path);
}

}  // namespace movik
