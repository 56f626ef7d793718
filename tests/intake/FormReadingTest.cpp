// The official form as accountants' files really come: the printed layout around the positions,
// formulas without results, the form's cross-rules, texts in amount cells, hostile formulas, and
// the whole mapping as one property over forms whose every position holds its own amount.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "intake/FormReading.h"
#include "intake/OfficialForm.h"
#include "tests/intake/FormBuilder.h"

namespace movik {
namespace {

using test::FormPlan;
using Layout = FormPlan::ColumnNumbers;

std::string TempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() /
            ("movik-reading-" + std::to_string(::getpid()) + "-" + name))
        .string();
}

// A company's form: previous year 10 x code, current year 100 x code (and a quarter of a cent
// unit for euro forms), every cross-rule kept.
FormPlan Company(bool version3, int year) {
    FormPlan plan;
    plan.version3 = version3;
    plan.year = year;
    plan.periodFrom = "01.01." + std::to_string(year);
    plan.periodTo = "31.12." + std::to_string(year);
    for (const test::BuiltRow& r : test::FormRowsOf(version3)) {
        if (r.formula.empty()) {
            plan.leaves[r.code] = {10.0 * r.code, 100.0 * r.code + (year >= 2023 ? 0.25 : 0)};
        }
    }
    plan.leaves[version3 ? 87 : 90] = {0, 0};
    return plan;
}

WorkbookData Book(const FormPlan& plan, const std::string& name) {
    const std::string path = TempPath(name + ".xlsx");
    test::WriteForm(path, plan);
    WorkbookRead read = ReadWorkbookFile(path, FormSheets());
    std::filesystem::remove(path);
    EXPECT_TRUE(read.ok) << read.error;
    return std::move(read.book);
}

// The book as FreeXL gives an .xls: formula cells empty, no formula results known.
WorkbookData AsXls(WorkbookData book) {
    for (SheetData& sheet : book.sheets) {
        sheet.formulaResultsKnown = false;
        std::erase_if(sheet.cells, [](const auto& cell) {
            return cell.second.kind == SheetCell::Kind::FormulaNoValue;
        });
    }
    return book;
}

OfficialForm Import(const FormPlan& plan, const std::string& name) {
    return ReadOfficialForm(Book(plan, name), 2026);
}

void ExpectSameAmounts(const TDokument& a, const TDokument& b, const std::string& what) {
    for (int r = 1; r <= kBilancaRows; ++r) {
        EXPECT_EQ(a.Bilanca.row(r).IznosPrethodna, b.Bilanca.row(r).IznosPrethodna) << what << r;
        EXPECT_EQ(a.Bilanca.row(r).IznosTekuca, b.Bilanca.row(r).IznosTekuca) << what << r;
    }
    for (int r = 1; r <= kRacunRows; ++r) {
        EXPECT_EQ(a.Racun.row(r).Iznos, b.Racun.row(r).Iznos) << what << " racun " << r;
    }
}

// The printed form's headings, its row of column numbers (as numbers and as texts) and the
// same repeated at page breaks with a page number and a note: read as the bare form is.
TEST(FormLayout, PrintedHeadingsColumnNumbersAndPageBreaksArePassedOver) {
    for (const bool v3 : {false, true}) {
        const FormPlan bare = Company(v3, v3 ? 2019 : 2023);
        const OfficialForm expected = Import(bare, "bare");
        ASSERT_TRUE(expected.ok) << expected.error;
        for (const Layout layout : {Layout::Numbers, Layout::Texts}) {
            for (const bool pageBreaks : {false, true}) {
                FormPlan plan = bare;
                plan.columnNumbers = layout;
                plan.pageBreaks = pageBreaks;
                const std::string what = std::string(v3 ? "3" : "4") +
                                         (layout == Layout::Texts ? " texts" : " numbers") +
                                         (pageBreaks ? " pages " : " ");
                const OfficialForm form = Import(plan, "printed");
                ASSERT_TRUE(form.ok) << what << form.error;
                EXPECT_TRUE(form.differences.empty()) << what;
                ExpectSameAmounts(form.document, expected.document, what);
            }
        }
    }
}

// Formulas written without a result, or with an empty one, the balance sheet's profit a
// reference to the income statement (=RDG!J…): computed, in .xlsx and as FreeXL gives an .xls.
TEST(FormFormulas, MissingResultsAreComputedFromPartsAndReferences) {
    for (const bool v3 : {false, true}) {
        FormPlan cached = Company(v3, v3 ? 2018 : 2024);
        cached.profitAsReference = true;
        const OfficialForm expected = Import(cached, "cached");
        ASSERT_TRUE(expected.ok) << expected.error;
        ASSERT_TRUE(expected.differences.empty());
        ASSERT_NE(expected.document.Bilanca.row(64).IznosTekuca +
                      expected.document.Bilanca.row(65).IznosTekuca,
                  0);
        for (const char* empty : {"", "<v></v>", "<v/>", "<v>  </v>"}) {
            FormPlan plan = cached;
            plan.cachedResults = false;
            plan.emptyResult = empty;
            const std::string what = std::string(v3 ? "3 " : "4 ") + empty;
            const OfficialForm form = Import(plan, "uncached");
            ASSERT_TRUE(form.ok) << what << form.error;
            EXPECT_TRUE(form.differences.empty()) << what;
            ExpectSameAmounts(form.document, expected.document, what);
        }
        FormPlan uncached = cached;
        uncached.cachedResults = false;
        const OfficialForm xls = ReadOfficialForm(AsXls(Book(uncached, "xls")), 2026);
        ASSERT_TRUE(xls.ok) << xls.error;
        EXPECT_TRUE(xls.differences.empty());
        ExpectSameAmounts(xls.document, expected.document, "xls");
    }
}

// A formula that is neither stated by its label nor a plain reference is a named difference.
TEST(FormFormulas, UncomputableFormulaIsANamedDifference) {
    FormPlan plan = Company(false, 2023);
    plan.profitAsReference = true;
    plan.cachedResults = false;
    WorkbookData book = Book(plan, "sum");
    SheetData& bilanca = const_cast<SheetData&>(*book.Find("Bilanca"));
    int changed = 0;
    for (auto& [key, cell] : bilanca.cells) {
        if (cell.kind == SheetCell::Kind::FormulaNoValue && cell.text.rfind("RDG!J", 0) == 0) {
            cell.text = "SUM(RDG!J60:J68)";
            ++changed;
        }
    }
    ASSERT_EQ(changed, 2);  // profit and loss of the year
    const OfficialForm form = ReadOfficialForm(book, 2026);
    ASSERT_TRUE(form.ok) << form.error;
    ASSERT_FALSE(form.differences.empty());
    EXPECT_EQ(form.differences[0].code, 88);
    EXPECT_NE(DifferenceText(form.differences[0], {}).find("=SUM(RDG!J60:J68) bez spremljenog"),
              std::string::npos)
        << DifferenceText(form.differences[0], {});
}

bool HasDifference(const OfficialForm& form, int code, bool previousYear, bool rule) {
    return std::any_of(form.differences.begin(), form.differences.end(), [&](const auto& d) {
        return d.code == code && d.previousYear == previousYear && (!rule || !d.rule.empty());
    });
}

// Each cross-rule broken in each year is a difference of its row (a rule the label states is
// checked as the label's formula; with the income statement's labels bare, by the rule).
TEST(FormCrossRules, EachBrokenRuleIsANamedDifferenceInBothYears) {
    for (const bool v3 : {false, true}) {
        for (const bool bare : {false, true}) {
            FormPlan base = Company(v3, 2022);
            base.bareRdgLabels = bare;
            const auto values = test::FormValues(test::FormRowsOf(v3), base);
            for (const form::CrossRule& rule :
                 form::CrossRules(v3 ? FormVersion::V3 : FormVersion::V4)) {
                FormPlan plan = base;
                plan.stated[rule.code] = {values.at(rule.code)[0] + 500,
                                          values.at(rule.code)[1] + 1000};
                const OfficialForm form = Import(plan, "rule");
                ASSERT_TRUE(form.ok) << form.error;
                // The profit and loss of the year state no formula, nor do bare labels; a
                // stated total assets breaks its own label (the builder balances it).
                const bool onRdg = rule.code >= (v3 ? 125 : 128);
                const bool byRule = onRdg ? bare : rule.code != 65;
                for (const bool previous : {true, false}) {
                    EXPECT_TRUE(HasDifference(form, rule.code, previous, byRule))
                        << rule.text << (bare ? " bare" : "") << (previous ? " previous" : "");
                }
            }
        }
    }
}

// An income statement with its codes but no amounts beside a balance sheet with a profit does
// not pass, read from an .xlsx or as FreeXL gives an .xls.
TEST(FormCrossRules, IncomeStatementWithoutAmountsDoesNotPass) {
    FormPlan plan = Company(false, 2023);
    plan.cachedResults = false;
    WorkbookData book = Book(plan, "empty-rdg");
    SheetData& rdg = const_cast<SheetData&>(*book.Find("RDG"));
    std::erase_if(rdg.cells, [](const auto& cell) { return (cell.first & 0xFFFFFFFF) >= 8; });
    for (const bool xls : {false, true}) {
        const OfficialForm form = ReadOfficialForm(xls ? AsXls(book) : book, 2026);
        ASSERT_TRUE(form.ok) << form.error;
        EXPECT_FALSE(form.differences.empty()) << (xls ? "xls" : "xlsx");
        EXPECT_EQ(form.document.Racun.row(45).Iznos, 0);
    }
}

struct TextCase {
    const char* text;
    std::optional<double> amount;  // none: refused
};

// A text in an amount cell is taken only as a plain number without grouping.
TEST(FormAmounts, TextIsTakenOnlyAsAPlainNumber) {
    const std::vector<TextCase> cases = {
        {"1234,56", 1234.56}, {"1234.56", 1234.56}, {" -12,5 ", -12.5}, {"700", 700},
        {"1.234", {}},        {"1.234,56", {}},     {"1 234", {}},      {"12 kn", {}},
        {"1e3", {}},          {"1,2345", {}},       {"+5", {}},         {"1234,", {}},
    };
    for (const TextCase& c : cases) {
        FormPlan plan = Company(false, 2023);
        plan.leaves[63] = {630, c.amount.value_or(0)};
        plan.texts[63] = {"", c.text};
        const OfficialForm form = Import(plan, "text");
        EXPECT_EQ(form.ok, c.amount.has_value()) << c.text << ": " << form.error;
        if (c.amount) {
            EXPECT_TRUE(form.differences.empty()) << c.text;
            EXPECT_DOUBLE_EQ(form.document.Bilanca.row(52).IznosTekuca, *c.amount) << c.text;
        } else {
            EXPECT_NE(form.error.find("ćelija J"), std::string::npos) << form.error;
            EXPECT_NE(form.error.find("1234,56 ili 1234.56"), std::string::npos) << form.error;
        }
    }
}

// Labels whose formulas expand without bound are refused before they grow: one label of
// thousands of terms, and a thousand labels that each stay under the bound of one.
TEST(FormFormulas, ExpansionOfLabelsIsBounded) {
    std::string huge;
    while (huge.size() < 32000) {
        huge += (huge.empty() ? "" : "+") + std::string("001 do 200");
    }
    const std::vector<std::pair<std::string, const char*>> cases = {
        {"Zbroj (" + huge + ")", "formula u opisu retka"},
        {"Zbroj (AOP 001 do 150)", "formule u opisima redaka imaju zajedno"},
    };
    for (const auto& [label, refusal] : cases) {
        WorkbookData book;
        for (const char* name : {"RefStr", "Bilanca", "RDG"}) {
            SheetData sheet;
            sheet.name = name;
            book.sheets.push_back(std::move(sheet));
        }
        SheetData& bilanca = book.sheets[1];
        for (int code = 1; code <= 999; ++code) {
            bilanca.cells[(static_cast<std::uint64_t>(code) << 32) | 0] = {SheetCell::Kind::Text, 0,
                                                                           label};
            bilanca.cells[(static_cast<std::uint64_t>(code) << 32) | 6] = {
                SheetCell::Kind::Number, static_cast<double>(code), ""};
        }
        bilanca.rows = 1000;
        const OfficialForm form = ReadOfficialForm(book, 2026);
        EXPECT_FALSE(form.ok);
        EXPECT_NE(form.error.find(refusal), std::string::npos) << label.substr(0, 30) << form.error;
    }
}

// The independent reading of a mapping entry: "054+055+057+058", "-135", "004 do 009".
std::vector<std::pair<int, int>> MappingTerms(std::string_view codes) {
    std::vector<std::pair<int, int>> terms;
    int sign = 1;
    for (std::size_t i = 0; i < codes.size();) {
        if (codes[i] == '+' || codes[i] == '-') {
            sign = codes[i++] == '-' ? -1 : 1;
            continue;
        }
        const int first = std::stoi(std::string(codes.substr(i, 3)));
        i += 3;
        int last = first;
        if (codes.substr(i, 4) == " do ") {
            last = std::stoi(std::string(codes.substr(i + 4, 3)));
            i += 7;
        }
        for (int c = first; c <= last; ++c) {
            terms.push_back({c, sign});
        }
    }
    return terms;
}

// On a form whose every position holds an amount of its own, every row of the mapping table is
// the signed sum of its codes, in both years, in both versions: a position read from a
// neighbour's row shows at once.
TEST(FormMappingProperty, EveryMappedRowIsTheSignedSumOfItsCodes) {
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> cents(-50000000, 100000000);
    for (const bool v3 : {false, true}) {
        FormPlan plan = Company(v3, 2024);
        plan.crossRulesKept = false;
        std::map<int, std::array<double, 2>> amount;
        for (const test::BuiltRow& r : test::FormRowsOf(v3)) {
            amount[r.code] = {cents(random) / 100.0, cents(random) / 100.0};
            plan.stated[r.code] = amount[r.code];
        }
        const OfficialForm form = Import(plan, "distinct");
        ASSERT_TRUE(form.ok) << form.error;
        for (const FormMappingRow& m : FormMapping()) {
            const std::string_view codes = CodesOf(m, v3 ? FormVersion::V3 : FormVersion::V4);
            for (std::size_t y = m.statement == Statement::Bilanca ? 0 : 1; y < 2; ++y) {
                double sum = 0;
                for (const auto& [code, sign] : MappingTerms(codes)) {
                    sum += sign * amount.at(code)[y];
                }
                if (m.part != FormPart::Whole) {
                    sum = std::max(sum, 0.0);
                }
                const double got = m.statement == Statement::Racun
                                       ? form.document.Racun.row(m.row).Iznos
                                   : y == 0 ? form.document.Bilanca.row(m.row).IznosPrethodna
                                            : form.document.Bilanca.row(m.row).IznosTekuca;
                EXPECT_NEAR(got, sum, 0.005) << (v3 ? "3: " : "4: ") << codes << " year " << y;
            }
        }
    }
}

// A business year that contradicts the period: the period rules, with a warning.
TEST(FormGeneralData, PeriodRulesOverABusinessYearThatContradictsIt) {
    FormPlan plan = Company(false, 2023);
    plan.year = 2022;
    const OfficialForm form = Import(plan, "year");
    ASSERT_TRUE(form.ok) << form.error;
    EXPECT_EQ(form.businessYear, 2023);
    EXPECT_FALSE(form.kunas);
    ASSERT_FALSE(form.notes.empty());
    EXPECT_EQ(form.notes[0].rfind("Upozorenje: poslovna godina u listu RefStr (F12) je 2022", 0),
              0u)
        << form.notes[0];
}

}  // namespace
}  // namespace movik
