// movik-cli form and summary over official annual forms, run as a user runs them.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/intake/FormBuilder.h"

#include "CliOutcome.h"

namespace fs = std::filesystem;

namespace {

using movik::test::Lines;
using movik::test::Outcome;
using movik::test::Read;

class FormCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("movik-form-cli-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "obrasci");
        fs::create_directories(dir_ / "izlaz");
        fs::copy_file(MOVIK_EXAMPLES "/gfi-pod-2023.xlsx", dir_ / "obrasci" / "a-2023.xlsx");
        fs::copy_file(MOVIK_EXAMPLES "/gfi-pod-2019.xls", dir_ / "obrasci" / "c-2019.xls");
        const std::string good = Read(MOVIK_EXAMPLES "/gfi-pod-2023.xlsx");
        std::ofstream(dir_ / "obrasci" / "b-osteceni.xlsx", std::ios::binary)
            << good.substr(0, good.size() / 2);
    }
    void TearDown() override { fs::remove_all(dir_); }

    Outcome Cli(const std::string& arguments, const std::string& prefix = "") {
        const std::string command = "cd '" + dir_.string() + "' && " + prefix +
                                    "'" MOVIK_CLI "' --locale hr_HR " + arguments + " >out 2>err";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Read(dir_ / "out"),
                Read(dir_ / "err")};
    }

    fs::path dir_;
};

TEST_F(FormCommand, ManyFormsIntoAFolderGoOnPastAFailedOne) {
    const Outcome r =
        Cli("form obrasci/a-2023.xlsx obrasci/b-osteceni.xlsx obrasci/c-2019.xls "
            "--dir izlaz");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(fs::exists(dir_ / "izlaz" / "Metalprerada d.o.o. 2023.mvk"));
    EXPECT_TRUE(fs::exists(dir_ / "izlaz" / "Metalprerada d.o.o. 2019.mvk"));
    const std::vector<std::string> errors = Lines(r.err);
    ASSERT_EQ(errors.size(), 1u) << r.err;
    EXPECT_EQ(errors[0], "obrasci/b-osteceni.xlsx: Radna knjiga je oštećena ili nepotpuna");
    // Each imported form's reconciliation is printed; both agree to the cent.
    EXPECT_EQ(r.out.find("RAZLIKA"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Ukupna aktiva, tekuća godina (AOP 065): 1.014.000,00 / 1.014.000,00 "
                         "/ 0,00"),
              std::string::npos)
        << r.out;
}

TEST_F(FormCommand, ExistingDocumentIsReplacedOnlyWithForce) {
    ASSERT_EQ(Cli("form obrasci/a-2023.xlsx -o d.mvk").exitCode, 0);
    const Outcome again = Cli("form obrasci/a-2023.xlsx -o d.mvk");
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_NE(again.err.find("d.mvk već postoji (--force je zamjenjuje)"), std::string::npos);
    EXPECT_EQ(Cli("form obrasci/a-2023.xlsx -o d.mvk --force").exitCode, 0);
}

TEST_F(FormCommand, FormDisagreeingWithItselfIsWrittenOnlyWhenAccepted) {
    movik::test::FormPlan plan;
    for (const movik::test::BuiltRow& row : movik::test::FormRowsOf(false)) {
        if (row.formula.empty()) {
            plan.leaves[row.code] = {1.0 * row.code, 2.0 * row.code};
        }
    }
    plan.stated[2] = {1, 2};
    movik::test::WriteForm((dir_ / "krivi.xlsx").string(), plan);
    const Outcome refused = Cli("form krivi.xlsx -o k.mvk");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_FALSE(fs::exists(dir_ / "k.mvk"));
    EXPECT_NE(refused.out.find("list Bilanca, AOP 002 \"B) DUGOTRAJNA IMOVINA"), std::string::npos)
        << refused.out;
    EXPECT_NE(refused.err.find("--accept-differences"), std::string::npos);
    EXPECT_EQ(Cli("form krivi.xlsx -o k.mvk --accept-differences").exitCode, 0);
    EXPECT_TRUE(fs::exists(dir_ / "k.mvk"));
}

TEST_F(FormCommand, UsageErrorsGiveTwo) {
    EXPECT_EQ(Cli("form obrasci/a-2023.xlsx").exitCode, 2);
    EXPECT_EQ(Cli("form obrasci/a-2023.xlsx obrasci/c-2019.xls -o x.mvk").exitCode, 2);
    EXPECT_EQ(Cli("form obrasci/a-2023.xlsx --dir nema").exitCode, 2);
}

TEST_F(FormCommand, SummaryTakesFormsBesideDocuments) {
    fs::copy_file(MOVIK_EXAMPLE, dir_ / "obrasci" / "d.mvk");
    const Outcome r = Cli("summary obrasci --format csv -j 2");
    EXPECT_EQ(r.exitCode, 1);
    const std::vector<std::string> rows = Lines(r.out);
    ASSERT_EQ(rows.size(), 5u) << r.out;  // the header and four files in name order
    // The rows are in Windows-1250, as every CSV the program writes.
    EXPECT_EQ(rows[1].rfind("obrasci/a-2023.xlsx;da;;Metalprerada d.o.o.;Vara\x9E"
                            "din;",
                            0),
              0u)
        << rows[1];
    EXPECT_NE(rows[1].find("1.014.000,00"), std::string::npos) << rows[1];
    EXPECT_EQ(rows[2].rfind("obrasci/b-osteceni.xlsx;ne;", 0), 0u) << rows[2];
    EXPECT_NE(rows[2].find("Radna knjiga je o\x9Ate\xE6"
                           "ena"),
              std::string::npos)
        << rows[2];
    EXPECT_EQ(rows[3].rfind("obrasci/c-2019.xls;da;;Metalprerada d.o.o.;", 0), 0u) << rows[3];
    EXPECT_EQ(rows[4].rfind("obrasci/d.mvk;da;", 0), 0u) << rows[4];
}

// The printed form's layout (headings, the row of column numbers as numbers or texts, page
// breaks) reads in form and summary alike, a document named by its period's year; a form whose
// label formulas would expand without bound is refused with its reason, under a memory limit.
TEST_F(FormCommand, PrintedFormsReadAndLabelBombsAreRefused) {
    using Layout = movik::test::FormPlan::ColumnNumbers;
    fs::create_directories(dir_ / "tiskani");
    for (const Layout layout : {Layout::Numbers, Layout::Texts}) {
        movik::test::FormPlan plan;
        plan.company = layout == Layout::Texts ? "Tekstovi d.o.o." : "Brojevi d.o.o.";
        plan.year = 2022;  // the period is 2023's
        plan.columnNumbers = layout;
        plan.pageBreaks = layout == Layout::Texts;
        plan.leaves = {{63, {100, 200}}, {68, {100, 200}}};
        const char* file = layout == Layout::Texts ? "tekstovi.xlsx" : "brojevi.xlsx";
        movik::test::WriteForm((dir_ / "tiskani" / file).string(), plan);
    }
    const Outcome imported = Cli("form tiskani/brojevi.xlsx tiskani/tekstovi.xlsx --dir izlaz");
    EXPECT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_TRUE(fs::exists(dir_ / "izlaz" / "Brojevi d.o.o. 2023.mvk"));
    EXPECT_TRUE(fs::exists(dir_ / "izlaz" / "Tekstovi d.o.o. 2023.mvk"));
    EXPECT_NE(imported.out.find("Upozorenje: poslovna godina"), std::string::npos);
    EXPECT_EQ(Cli("summary tiskani --format csv").exitCode, 0);

    const std::string bomb = (dir_ / "bomba.xlsx").string();
    lxw_workbook* wb = workbook_new(bomb.c_str());
    workbook_add_worksheet(wb, "RefStr");
    lxw_worksheet* bilanca = workbook_add_worksheet(wb, "Bilanca");
    workbook_add_worksheet(wb, "RDG");
    std::string label = "Zbroj (001 do 200";
    while (label.size() < 32000) {
        label += "+001 do 200";
    }
    label += ")";
    for (int code = 1; code <= 999; ++code) {
        worksheet_write_string(bilanca, static_cast<lxw_row_t>(code), 0, label.c_str(), nullptr);
        worksheet_write_number(bilanca, static_cast<lxw_row_t>(code), 6, code, nullptr);
    }
    workbook_close(wb);
#ifdef __SANITIZE_ADDRESS__
    const std::string limit;  // AddressSanitizer's shadow memory cannot live under ulimit -v
#else
    const std::string limit = "ulimit -v 2000000 && timeout 60 ";
#endif
    const Outcome refused = Cli("form bomba.xlsx -o b.mvk", limit);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("ima više od 200 pribrojnika"), std::string::npos) << refused.err;
    EXPECT_EQ(refused.err.find("alloc"), std::string::npos) << refused.err;
}

}  // namespace
