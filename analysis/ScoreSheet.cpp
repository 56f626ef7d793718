#include "analysis/ScoreSheet.h"

#include "analysis/SummaryScores.h"
#include "model/Calculations.h"
#include "model/NumberFormat.h"
#include "model/Templates.h"

namespace movik {

namespace {

constexpr std::string_view kPercentFormat = "#,##0.00%";
constexpr std::string_view kYearsFormat = "#,##0.00";
constexpr std::string_view kGradeMeanFormat = "#,##0.00";
constexpr std::string_view kTermFormat = "#,##0.000";

// The lines of one presentation, added in reading order.
class Sheet {
  public:
    explicit Sheet(const RegionalSettings& rs) : rs_(rs) {}

    void Section(std::string_view caption) {
        lines_.push_back({ScoreLineKind::Section, std::string(caption), {}, {}, {}, {}, {}});
    }
    // An item with v formatted by pattern; a value that is not computable shows its reason.
    ScoreLine& Item(std::string caption, const ScoreValue& v, std::string_view pattern) {
        ScoreLine line{ScoreLineKind::Item, std::move(caption), {}, v.value, pattern, v.reason, {}};
        if (v.value) {
            line.value = Format(*v.value, pattern);
        }
        lines_.push_back(std::move(line));
        return lines_.back();
    }
    void Detail(std::string caption, std::optional<double> number, std::string note) {
        lines_.push_back({ScoreLineKind::Detail,
                          std::move(caption),
                          number ? Format(*number, kTermFormat) : std::string(),
                          number,
                          kTermFormat,
                          std::move(note),
                          {}});
    }
    std::string Format(double value, std::string_view pattern) const {
        return FormatNumber(value, pattern, rs_);
    }
    std::vector<ScoreLine> Take() { return std::move(lines_); }

  private:
    const RegionalSettings& rs_;
    std::vector<ScoreLine> lines_;
};

void Models(Sheet& sheet, const Scores& s) {
    sheet.Section(kSectionModels);
    for (const ScoreModelFacts& m : kScoreModels) {
        const ScoreValue& v = s.of(m.model);
        // The name and the year of the source ("Springate (1978.)"); the help names the authors.
        const std::string_view year = m.source.substr(m.source.size() - 4);
        ScoreLine& line =
            sheet.Item(std::string(m.name) + " (" + std::string(year) + ".)", v, kScoreFormat);
        if (v.value) {
            const Band band = BandOf(m.model, *v.value);
            line.note = std::string(band.words);
            line.tone = band.tone;
        }
        for (const ScoreTerm& t : TermsOf(m.model, s.inputs)) {
            const std::optional<double> term =
                IsZeroMoney(t.denominator)
                    ? std::nullopt
                    : std::optional<double>(t.weight * t.numerator / t.denominator);
            sheet.Detail(sheet.Format(t.weight, "0.###") + " × " + std::string(t.ratio), term,
                         std::string(t.ratio) + " = " + sheet.Format(t.numerator, AmountFormat) +
                             " / " + sheet.Format(t.denominator, AmountFormat));
        }
    }
}

void QuickTestLines(Sheet& sheet, const QuickTest& q) {
    sheet.Section(kSectionQuickTest);
    constexpr std::string_view kFormulas[] = {"E / TA", "(TL – CASH) / CF", "CF / OR", "EBIT / TA"};
    for (const QuickPartFacts& p : kQuickParts) {
        const auto i = static_cast<std::size_t>(p.part);
        ScoreLine& line = sheet.Item(std::string(p.name) + " (" + std::string(kFormulas[i]) + ")",
                                     q.measures[i], p.unit == "%" ? kPercentFormat : kYearsFormat);
        if (const std::optional<int> grade = q.grades[i]) {
            const Band band = GradeBand(*grade);
            line.note = "ocjena " + std::to_string(*grade) + " – " + std::string(band.words) +
                        (q.measures[i].value ? "" : "; " + q.measures[i].reason);
            line.tone = band.tone;
        }
    }
    sheet.Item("Financijska stabilnost (prosjek prvih dviju ocjena)", q.stability,
               kGradeMeanFormat);
    sheet.Item("Uspješnost poslovanja (prosjek drugih dviju ocjena)", q.earnings, kGradeMeanFormat);
    sheet.Item("Ukupna ocjena (prosjek četiriju ocjena)", q.overall, kGradeMeanFormat);
}

void DuPontLines(Sheet& sheet, const DuPont& d, const TDokument& doc) {
    sheet.Section(kSectionDuPont);
    sheet.Item("Neto marža (NI / OR)", d.margin, kPercentFormat);
    sheet.Item("Obrtaj imovine (OR / Ø TA)", d.turnover, kTermFormat);
    sheet.Item("Multiplikator kapitala (Ø TA / Ø E)", d.multiplier, kTermFormat);
    sheet.Item("Povrat na kapital (umnožak triju čimbenika)", d.product, kPercentFormat);
    // Indicator 13 as CalcPok gives it, beside the product it equals.
    constexpr int kRoeRow = 13;
    ScoreValue roe;
    if (IndicatorsComputable(doc)[kRoeRow - 1]) {
        roe.value = doc.Pok.row(kRoeRow).Iznos;
    } else {
        roe.reason = "Nije izračunljivo: prosječni kapital i rezerve (Bilanca 57) su nula";
    }
    sheet.Item("Stopa povrata od vlastitog kapitala (pokazatelj 13)", roe,
               TemplateRow(Statement::Pok, kRoeRow).Format);
}

void InputLines(Sheet& sheet, const ScoreInputs& in) {
    sheet.Section(kSectionInputs);
    for (const ScoreInputFacts& f : kScoreInputs) {
        ScoreValue v;
        v.value = in.*f.field;
        sheet.Item(
            std::string(f.symbol) + " – " + std::string(f.name) + " (" + std::string(f.rows) + ")",
            v, AmountFormat);
    }
}

}  // namespace

std::vector<ScoreLine> ScoreSheet(const TDokument& doc, const RegionalSettings& rs) {
    const Scores s = ScoresOf(doc);
    Sheet sheet(rs);
    Models(sheet, s);
    QuickTestLines(sheet, s.quick);
    DuPontLines(sheet, s.dupont, doc);
    InputLines(sheet, s.inputs);
    return sheet.Take();
}

}  // namespace movik
