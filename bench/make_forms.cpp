// Writes official annual forms (GFI-POD, .xlsx) for the examples, the screenshots and the
// benchmarks, with the tests' form builder:
//   make_forms example-2023 OUT.xlsx   a consistent euro form, versions 4.x/6.x
//   make_forms example-2019 OUT.xlsx   the same company in kunas, version 3
//   make_forms disagree OUT.xlsx       the 2023 form whose total assets are 10 too high
//   make_forms many DIR N              N consistent forms of different companies
//   make_forms printed DIR N           the same with the printed form's headings and row of
//                                      column numbers (as numbers, as texts, with page breaks)
//   make_forms seeds DIR               the fuzzing seeds of forms as files really come: printed,
//                                      without results, a profit by reference, texts in amount
//                                      cells, an empty income statement, bombs of label formulas

#include <cstdio>
#include <string>

#include "tests/intake/FormBuilder.h"

namespace {

using movik::test::FormPlan;

// A small manufacturer: previous year, current year, by code of versions 4.x/6.x. The balance
// sheet balances and the income statement's result is the balance sheet's profit.
const std::map<int, std::array<double, 2>> kCompany = {
    {5, {12000, 15000}},     {11, {80000, 80000}},    {12, {400000, 390000}},
    {13, {250000, 230000}},  {39, {45000, 52000}},    {42, {30000, 28000}},
    {49, {120000, 135000}},  {51, {8000, 6500}},      {63, {60000, 75000}},
    {64, {3000, 2500}},      {68, {200000, 200000}},  {71, {10000, 10000}},
    {85, {300000, 370000}},  {88, {70000, 54000}},    {104, {280000, 250000}},
    {118, {100000, 90000}},  {120, {18000, 20000}},   {121, {20000, 15000}},
    {125, {10000, 5000}},    {130, {850000, 900000}}, {133, {10000, 12000}},
    {137, {330000, 350000}}, {138, {110000, 120000}}, {139, {75000, 80000}},
    {141, {140000, 150000}}, {142, {55000, 60000}},   {143, {23000, 25000}},
    {144, {47000, 45000}},   {145, {9000, 10000}},    {165, {22000, 1000}},
    {171, {18000, 15000}},   {185, {5000, 4000}},
};

FormPlan Company(bool version3, int year, double scale, const std::string& name) {
    FormPlan plan;
    plan.version3 = version3;
    plan.year = year;
    plan.company = name;
    plan.place = "Varaždin";
    plan.periodFrom = "01.01." + std::to_string(year);
    plan.periodTo = "31.12." + std::to_string(year);
    for (const auto& [code, amounts] : kCompany) {
        const int c = version3 && code >= 84 ? code - 3 : code;
        plan.leaves[c] = {amounts[0] * scale, amounts[1] * scale};
    }
    return plan;
}

// A workbook of the form's sheets whose balance sheet has 999 positions, every one labelled
// with the same formula (a shared text, so the file stays small).
void WriteLabelBomb(const std::string& path, const std::string& formula) {
    lxw_workbook* wb = workbook_new(path.c_str());
    workbook_add_worksheet(wb, "RefStr");
    lxw_worksheet* bilanca = workbook_add_worksheet(wb, "Bilanca");
    workbook_add_worksheet(wb, "RDG");
    const std::string label = "Zbroj (" + formula + ")";
    for (int code = 1; code <= 999; ++code) {
        worksheet_write_string(bilanca, static_cast<lxw_row_t>(code), 0, label.c_str(), nullptr);
        worksheet_write_number(bilanca, static_cast<lxw_row_t>(code), 6, code, nullptr);
    }
    workbook_close(wb);
}

void WriteSeeds(const std::string& dir) {
    using Layout = FormPlan::ColumnNumbers;
    const auto base = [] { return Company(false, 2023, 1, "Metalprerada d.o.o."); };
    FormPlan printed = base();
    printed.columnNumbers = Layout::Texts;
    printed.pageBreaks = true;
    movik::test::WriteForm(dir + "/printed-texts.xlsx", printed);
    FormPlan empty = base();
    empty.cachedResults = false;
    empty.emptyResult = "<v></v>";
    empty.profitAsReference = true;
    movik::test::WriteForm(dir + "/empty-results-reference.xlsx", empty);
    FormPlan grouped = base();
    grouped.texts[63] = {"", "1.234"};
    movik::test::WriteForm(dir + "/refused-grouped-text.xlsx", grouped);
    FormPlan noIncome = base();
    noIncome.crossRulesKept = false;  // the balance sheet keeps its profit
    for (int code = 128; code <= 188; ++code) {
        noIncome.stated[code] = {0, 0};
    }
    movik::test::WriteForm(dir + "/refused-empty-income-statement.xlsx", noIncome);
    std::string huge;
    while (huge.size() < 32000) {
        huge += (huge.empty() ? "" : "+") + std::string("001 do 200");
    }
    WriteLabelBomb(dir + "/refused-label-bomb.xlsx", huge);
    WriteLabelBomb(dir + "/refused-form-bomb.xlsx", "AOP 001 do 150");
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "example-2023" && argc == 3) {
        movik::test::WriteForm(argv[2], Company(false, 2023, 1, "Metalprerada d.o.o."));
    } else if (what == "example-2019" && argc == 3) {
        movik::test::WriteForm(argv[2], Company(true, 2019, 7, "Metalprerada d.o.o."));
    } else if (what == "disagree" && argc == 3) {
        FormPlan plan = Company(false, 2023, 1, "Metalprerada d.o.o.");
        const auto values = movik::test::FormValues(movik::test::FormRowsOf(false), plan);
        plan.stated[65] = {values.at(65)[0], values.at(65)[1] + 10};
        movik::test::WriteForm(argv[2], plan);
    } else if (what == "seeds" && argc == 3) {
        WriteSeeds(argv[2]);
    } else if ((what == "many" || what == "printed") && argc == 4) {
        const int n = std::stoi(argv[3]);
        for (int i = 0; i < n; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "%s/obrazac-%05d.xlsx", argv[2], i);
            FormPlan plan = Company(i % 3 == 0, 2019 + i % 6, 1 + (i % 7) / 10.0,
                                    "Poduzeće " + std::to_string(i) + " d.o.o.");
            if (what == "printed") {
                plan.columnNumbers =
                    i % 2 == 0 ? FormPlan::ColumnNumbers::Numbers : FormPlan::ColumnNumbers::Texts;
                plan.pageBreaks = i % 4 >= 2;
            }
            movik::test::WriteForm(name, plan);
        }
    } else {
        std::fprintf(stderr,
                     "usage: make_forms example-2023|example-2019|disagree OUT.xlsx\n"
                     "       make_forms many|printed DIR N\n"
                     "       make_forms seeds DIR\n");
        return 2;
    }
    return 0;
}
