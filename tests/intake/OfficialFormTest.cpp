// The official annual form: recognition, the form's check of itself, the amounts the mapping
// gives, and the reconciliation of totals, on forms built as the form's description says.

#include "intake/OfficialForm.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>

#include "model/Dates.h"
#include "tests/intake/FormBuilder.h"

namespace movik {
namespace {

using test::FormPlan;

std::string TempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() /
            ("movik-form-" + std::to_string(::getpid()) + "-" + name))
        .string();
}

// Every row without a formula: previous year 10 x code, current year 100 x code (plus half a
// cent unit for euro forms, so cents travel too).
FormPlan Numbered(bool version3, int year, bool cached = true) {
    FormPlan plan;
    plan.version3 = version3;
    plan.year = year;
    plan.periodFrom = "01.01." + std::to_string(year);
    plan.periodTo = "31.12." + std::to_string(year);
    plan.cachedResults = cached;
    for (const test::BuiltRow& r : test::FormRowsOf(version3)) {
        if (r.formula.empty()) {
            const double cents = year >= 2023 ? 0.25 : 0;
            plan.leaves[r.code] = {10.0 * r.code, 100.0 * r.code + cents};
        }
    }
    plan.leaves[version3 ? 87 : 90] = {0, 0};  // no minority interest in a single company
    return plan;
}

OfficialForm Import(const FormPlan& plan, const std::string& name) {
    const std::string path = TempPath(name + ".xlsx");
    test::WriteForm(path, plan);
    OfficialForm form = ReadOfficialFormFile(path, 2026);
    std::filesystem::remove(path);
    return form;
}

struct VersionCase {
    const char* name;
    bool version3;
    int year;
    bool cached;
    const char* versionName;
    // Worked examples (current year): Bilanca rows 6, 60, 62 and Racun row 9.
    double b6, b60, b62, r9;
};

class FormVersions : public ::testing::TestWithParam<VersionCase> {};

TEST_P(FormVersions, ImportsExactAmountsAndReconcilesToZero) {
    const VersionCase& c = GetParam();
    const OfficialForm form = Import(Numbered(c.version3, c.year, c.cached), c.name);
    ASSERT_TRUE(form.ok) << form.error;
    EXPECT_EQ(form.versionName, c.versionName);
    EXPECT_EQ(form.businessYear, c.year);
    EXPECT_EQ(form.kunas, c.year <= 2022);
    EXPECT_EQ(form.company, "Primjer d.o.o.");
    EXPECT_EQ(form.seat, "Zagreb");
    EXPECT_EQ(form.from, DayNumber(c.year, 1, 1));
    EXPECT_EQ(form.to, DayNumber(c.year, 12, 31));
    EXPECT_TRUE(form.differences.empty());
    const TDokument& d = form.document;
    EXPECT_DOUBLE_EQ(d.Bilanca.row(6).IznosTekuca, c.b6);
    EXPECT_DOUBLE_EQ(d.Bilanca.row(60).IznosTekuca, c.b60);
    EXPECT_DOUBLE_EQ(d.Bilanca.row(62).IznosTekuca, c.b62);
    EXPECT_DOUBLE_EQ(d.Racun.row(9).Iznos, c.r9);
    EXPECT_EQ(d.Racun.row(8).Iznos, 0);
    EXPECT_DOUBLE_EQ(d.Bilanca.row(6).IznosPrethodna, 140);  // 10 x (005 + 009)
    EXPECT_EQ(d.BrojDionica, 0);
    const auto lines = Reconcile(form, form.document);
    ASSERT_EQ(lines.size(), 10u);
    for (const ReconciliationLine& l : lines) {
        EXPECT_EQ(l.difference, 0) << l.caption;
        EXPECT_NE(l.form, 0) << l.caption;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, FormVersions,
    ::testing::Values(
        // 005+009; 076+(078..083); 085; 135 (4.x) and 076+(078..080); 082; 132 (3)
        VersionCase{"Euro2023", false, 2023, true, "4.x/6.x", 1400.5, 55901.75, 8500.25, 13500.25},
        VersionCase{"Kuna2021", false, 2021, true, "4.x/6.x", 1400, 55900, 8500, 13500},
        VersionCase{"Version3Kuna2019", true, 2019, true, "3", 1400, 31300, 8200, 13200},
        VersionCase{"EuroWithoutCachedResults", false, 2024, false, "4.x/6.x", 1400.5, 55901.75,
                    8500.25, 13500.25},
        VersionCase{"Version3WithoutCachedResults", true, 2018, false, "3", 1400, 31300, 8200,
                    13200}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OfficialForm, LossAndFallingInventoriesGoToTheirOwnRows) {
    FormPlan plan = Numbered(false, 2023);
    plan.leaves[135] = {0, -500};  // inventories rose: an expense lower
    plan.leaves[185] = {0, 0};     // no tax
    plan.leaves[129] = {0, 0};     // hardly any sales
    plan.leaves[130] = {0, 0};
    const OfficialForm form = Import(plan, "loss");
    ASSERT_TRUE(form.ok) << form.error;
    EXPECT_TRUE(form.differences.empty());  // 183/184 and 187/188 are parts by sign
    EXPECT_EQ(form.document.Racun.row(8).Iznos, 500);
    EXPECT_EQ(form.document.Racun.row(9).Iznos, 0);
    EXPECT_LT(form.document.Racun.row(45).Iznos, 0);
    for (const ReconciliationLine& l : Reconcile(form, form.document)) {
        EXPECT_EQ(l.difference, 0) << l.caption;
    }
}

TEST(OfficialForm, ParentRowDisagreeingWithItsPartsIsReported) {
    FormPlan plan = Numbered(false, 2023);
    const auto values = test::FormValues(test::FormRowsOf(false), plan);
    plan.stated[65] = {values.at(65)[0], values.at(65)[1] + 10};  // UKUPNO AKTIVA 10 too high
    plan.stated[134] = {values.at(134)[0] - 3, values.at(134)[1]};
    const OfficialForm form = Import(plan, "disagree");
    ASSERT_TRUE(form.ok) << form.error;
    ASSERT_EQ(form.differences.size(), 2u);
    EXPECT_EQ(form.differences[0].code, 65);
    EXPECT_FALSE(form.differences[0].previousYear);
    EXPECT_DOUBLE_EQ(form.differences[0].stated - form.differences[0].computed, 10);
    EXPECT_EQ(form.differences[1].code, 134);
    EXPECT_TRUE(form.differences[1].previousYear);
    EXPECT_NE(DifferenceText(form.differences[0], {}).find("E) UKUPNO AKTIVA"), std::string::npos);
    const auto lines = Reconcile(form, form.document);
    EXPECT_EQ(lines[1].caption, "Ukupna aktiva, tekuća godina");
    EXPECT_EQ(lines[1].difference, -10);
    EXPECT_TRUE(Differs(lines[1]));
    EXPECT_FALSE(Differs(lines[0]));
}

TEST(OfficialForm, ReportCountsTheDifferencesInCroatian) {
    FormPlan plan = Numbered(false, 2023);
    const auto values = test::FormValues(test::FormRowsOf(false), plan);
    // Three subtotals of the assets too high: each disagrees with its parts, and so does the
    // total above them (five differences in all).
    for (const int code : {3, 10, 20}) {
        plan.stated[code] = {values.at(code)[0], values.at(code)[1] + 10};
    }
    plan.stated[65] = {values.at(65)[0] + 1, values.at(65)[1]};
    const OfficialForm form = Import(plan, "five");
    ASSERT_TRUE(form.ok) << form.error;
    ASSERT_EQ(form.differences.size(), 5u);
    const std::string report = FormReport(form, Reconcile(form, form.document), {});
    EXPECT_NE(report.find("Provjera zbrojeva obrasca: 5 razlika\n"), std::string::npos) << report;
    EXPECT_EQ(DifferencesText(1), "1 razlika");
    EXPECT_EQ(DifferencesText(3), "3 razlike");
    EXPECT_EQ(DifferencesText(12), "12 razlika");
}

TEST(OfficialForm, WholeKunaFormsToleratesAKuna) {
    FormPlan plan = Numbered(false, 2022);
    const auto values = test::FormValues(test::FormRowsOf(false), plan);
    plan.stated[3] = {values.at(3)[0] + 1, values.at(3)[1] + 2};
    const OfficialForm form = Import(plan, "kuna-rounding");
    ASSERT_TRUE(form.ok) << form.error;
    ASSERT_EQ(form.differences.size(), 1u);  // the previous year's kuna passes, 2 do not
    EXPECT_FALSE(form.differences[0].previousYear);
}

TEST(OfficialForm, MinorityInterestIsListedAndExplainsTheDifference) {
    FormPlan plan = Numbered(false, 2023);
    plan.leaves[90] = {0, 700};
    const OfficialForm form = Import(plan, "minority");
    ASSERT_TRUE(form.ok) << form.error;
    ASSERT_EQ(form.notCarried.size(), 1u);
    EXPECT_EQ(form.notCarried[0].code, 90);
    EXPECT_EQ(form.notCarried[0].current, 700);
    int differing = 0;
    for (const ReconciliationLine& l : Reconcile(form, form.document)) {
        if (Differs(l)) {
            ++differing;
            EXPECT_EQ(l.difference, -700) << l.caption;
            EXPECT_EQ(l.explainedBy, "AOP 090");
        }
    }
    EXPECT_EQ(differing, 2);  // equity and total liabilities of the current year
}

TEST(OfficialForm, UnreadablePeriodFallsBackToTheBusinessYear) {
    FormPlan plan = Numbered(false, 2024);
    plan.periodFrom = "početak";
    const OfficialForm form = Import(plan, "period");
    ASSERT_TRUE(form.ok) << form.error;
    EXPECT_TRUE(form.periodFromYear);
    EXPECT_EQ(form.from, DayNumber(2024, 1, 1));
    EXPECT_EQ(form.to, DayNumber(2024, 12, 31));
}

// Identity cells typed as numbers: an OIB keeps its leading zero, a number no whole number can
// hold is kept in its general form.
TEST(OfficialForm, IdentityCellsTypedAsNumbersKeepTheirDigits) {
    FormPlan plan = Numbered(false, 2024);
    plan.oibNumber = 1234567890;
    plan.companyNumber = 1e20;
    const OfficialForm form = Import(plan, "numbers");
    ASSERT_TRUE(form.ok) << form.error;
    EXPECT_EQ(form.oib, "01234567890");
    EXPECT_EQ(form.company, "1e+20");
}

TEST(OfficialForm, QuarterlyFormIsRefused) {
    FormPlan plan = Numbered(false, 2023);
    plan.quarterly = true;
    const OfficialForm form = Import(plan, "quarterly");
    EXPECT_FALSE(form.ok);
    EXPECT_EQ(form.error,
              "Radna knjiga nije obrazac GFI-POD: list RDG počinje s AOP 001, to je tromjesečni "
              "obrazac uvrštenih društava (TFI-POD), ne godišnji");
}

TEST(OfficialForm, OtherWorkbookIsRefusedNamingItsSheets) {
    const std::string path = TempPath("other.xlsx");
    lxw_workbook* wb = workbook_new(path.c_str());
    worksheet_write_string(workbook_add_worksheet(wb, "Troškovi"), 0, 0, "x", nullptr);
    worksheet_write_string(workbook_add_worksheet(wb, "RDG"), 0, 0, "x", nullptr);
    workbook_close(wb);
    const OfficialForm form = ReadOfficialFormFile(path, 2026);
    std::filesystem::remove(path);
    EXPECT_FALSE(form.ok);
    EXPECT_EQ(form.error,
              "Radna knjiga nije obrazac GFI-POD: nema lista RefStr (listovi u knjizi: Troškovi, "
              "RDG)");
}

TEST(OfficialForm, TextInAnAmountCellIsRefusedWithItsCell) {
    const std::string path = TempPath("text.xlsx");
    lxw_workbook* wb = workbook_new(path.c_str());
    worksheet_write_string(workbook_add_worksheet(wb, "RefStr"), 11, 5, "2023", nullptr);
    lxw_worksheet* b = workbook_add_worksheet(wb, "Bilanca");
    lxw_worksheet* r = workbook_add_worksheet(wb, "RDG");
    worksheet_write_string(b, 7, 0, "A) POTRAŽIVANJA", nullptr);
    worksheet_write_number(b, 7, 6, 1, nullptr);
    worksheet_write_string(b, 7, 9, "tisuću", nullptr);
    worksheet_write_number(r, 7, 6, 128, nullptr);
    workbook_close(wb);
    const OfficialForm form = ReadOfficialFormFile(path, 2026);
    std::filesystem::remove(path);
    EXPECT_FALSE(form.ok);
    EXPECT_NE(form.error.find("ćelija J8 (AOP 001) sadrži \"tisuću\""), std::string::npos)
        << form.error;
}

TEST(FormMappingTable, EveryFormRowIsCarriedOnceOrListed) {
    for (const bool v3 : {false, true}) {
        const auto rows = test::FormRowsOf(v3);
        std::map<int, const test::BuiltRow*> byCode;
        for (const test::BuiltRow& r : rows) {
            byCode[r.code] = &r;
        }
        // A parent taken whole carries each of its leaves once.
        std::map<int, int> uses;
        std::function<void(int)> use = [&](int code) {
            const test::BuiltRow& r = *byCode.at(code);
            if (r.formula.empty()) {
                ++uses[code];
            }
            for (const auto& [part, sign] : r.formula) {
                use(part);
            }
        };
        for (const FormMappingRow& m : FormMapping()) {
            if (m.part != FormPart::Negative) {  // the inventory change's second half
                for (const FormTerm& t :
                     ParseFormFormula(CodesOf(m, v3 ? FormVersion::V3 : FormVersion::V4))) {
                    use(t.code);
                }
            }
        }
        for (const FormNotCarriedRow& n : FormNotCarried()) {
            for (const FormTerm& t : ParseFormFormula(v3 ? n.codes3 : n.codes4)) {
                use(t.code);
            }
        }
        for (const test::BuiltRow& r : rows) {
            if (r.formula.empty()) {
                EXPECT_EQ(uses[r.code], 1) << (v3 ? "3: " : "4: ") << r.code << " " << r.label;
            }
        }
    }
}

struct FormulaCase {
    const char* text;
    std::vector<std::pair<int, int>> terms;
};

TEST(FormFormula, ReadsTheFormsNotation) {
    const std::vector<FormulaCase> cases = {
        {"AOP 003+010+020", {{3, 1}, {10, 1}, {20, 1}}},
        {"004 do 006", {{4, 1}, {5, 1}, {6, 1}}},
        {"AOP 068 do 070+076", {{68, 1}, {69, 1}, {70, 1}, {76, 1}}},
        {"071+072-073", {{71, 1}, {72, 1}, {73, -1}}},
        {"AOP 180-181", {{180, 1}, {181, -1}}},
        {"-135", {{135, -1}}},
        {"AOP\xC2\xA0"
         "003\xC2\xA0"
         "do\xC2\xA0"
         "005",
         {{3, 1}, {4, 1}, {5, 1}}},  // no-break spaces
        {"sixth row - not identified", {}},
        {"AOP", {}},
        {"009 do 004", {}},
        {"1234", {}},
    };
    for (const FormulaCase& c : cases) {
        std::vector<std::pair<int, int>> got;
        for (const FormTerm& t : ParseFormFormula(c.text)) {
            got.push_back({t.code, t.sign});
        }
        EXPECT_EQ(got, c.terms) << c.text;
    }
}

}  // namespace
}  // namespace movik
