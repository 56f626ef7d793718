#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ModelTestSupport.h"
#include "model/Templates.h"

namespace movik {
namespace {

std::set<int> RowsWhere(Statement s, bool (*pred)(const TPozicija&)) {
    std::set<int> rows;
    for (int n = 1; n <= RowCount(s); ++n) {
        if (pred(TemplateRow(s, n))) {
            rows.insert(n);
        }
    }
    return rows;
}

bool IsComputed(const TPozicija& p) {
    return p.Izracunata;
}
bool IsBold(const TPozicija& p) {
    return p.Vrsta == "b";
}

std::set<int> Range(int from, int to) {
    std::set<int> rows;
    for (int n = from; n <= to; ++n) {
        rows.insert(n);
    }
    return rows;
}

TEST(TemplatesTest, RowCounts) {
    EXPECT_EQ(RowCount(Statement::Bilanca), 88);
    EXPECT_EQ(RowCount(Statement::Racun), 45);
    EXPECT_EQ(RowCount(Statement::CFInd), 31);
    EXPECT_EQ(RowCount(Statement::CFFree), 28);
    EXPECT_EQ(RowCount(Statement::Pok), 19);
    // The value tables are parallel to the templates.
    EXPECT_EQ(BilancaTable::kRows, RowCount(Statement::Bilanca));
    EXPECT_EQ(RacunTable::kRows, RowCount(Statement::Racun));
    EXPECT_EQ(CFIndTable::kRows, RowCount(Statement::CFInd));
    EXPECT_EQ(CFFreeTable::kRows, RowCount(Statement::CFFree));
    EXPECT_EQ(PokTable::kRows, RowCount(Statement::Pok));
}

struct TextCase {
    Statement statement;
    int row;
    std::string_view text;  // spelled with byte escapes where the letters are Croatian
};

class TemplateTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(TemplateTextTest, ExactBytes) {
    const TextCase& c = GetParam();
    EXPECT_EQ(TemplateRow(c.statement, c.row).Tekst, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    SpotChecks, TemplateTextTest,
    ::testing::Values(
        TextCase{Statement::Bilanca, 1,
                 "A.Potra\xC5\xBEivanja za upisani a neupla\xC4\x87"
                 "eni kapital"},
        TextCase{Statement::Bilanca, 6,
                 "      3.Patenti,licencije,koncesije,za\xC5\xA1t. znaci ..."},
        TextCase{Statement::Bilanca, 32, "   I.  Zalihe"},
        TextCase{Statement::Bilanca, 38, "   II. Potra\xC5\xBEivanja"},
        TextCase{Statement::Bilanca, 52, "   IV.Novac na ra\xC4\x8Dunu i u blagajni"},
        TextCase{Statement::Bilanca, 55, "F.UKUPNA AKTIVA"},
        TextCase{Statement::Bilanca, 56, "G.Izvanbilan\xC4\x8Dni zapisi"},
        TextCase{Statement::Bilanca, 58, "   I.   Upisani kapital"},
        TextCase{Statement::Bilanca, 62,
                 "   V.a)  Zadr\xC5\xBE"
                 "ana dobit"},
        TextCase{Statement::Bilanca, 64,
                 "   VI.a) Dobit teku\xC4\x87"
                 "e godine"},
        TextCase{Statement::Bilanca, 72, "   5.Obveze prema dobavlja\xC4\x8Dima...."},
        TextCase{Statement::Bilanca, 85, "   10.Ostale kratkoro\xC4\x8Dne obveze"},
        TextCase{Statement::Bilanca, 87, "F.UKUPNA PASIVA"},
        TextCase{Statement::Bilanca, 88, "G.Izvanbilan\xC4\x8Dni zapisi"},
        TextCase{Statement::Racun, 1, "A. Poslovni prihodi"},
        TextCase{Statement::Racun, 8,
                 "   I.a)Pove\xC4\x87"
                 "anje vrij. zaliha ..."},
        TextCase{Statement::Racun, 19, "         3.1. Amortizacija dugotrajne imovine"},
        TextCase{Statement::Racun, 20, "            a) Nematerijalna imovina"},
        TextCase{Statement::Racun, 22,
                 "         3.2. Vrijednosno uska\xC4\x91ivanje dugotrajne imovine"},
        TextCase{Statement::Racun, 23,
                 "      4.Vrijednosno uskla\xC4\x91ivanje kratkotrajne imovine"},
        TextCase{Statement::Racun, 44,
                 "Ostali porezi koji se nisu iskazani u prethodnim pozicijama"},
        TextCase{Statement::Racun, 45, "REZULTAT POSLIJE POREZA"},
        TextCase{Statement::CFInd, 1, "      Neto dobit (gubitak)"},
        TextCase{Statement::CFInd, 12,
                 "   Smanjenje (pove\xC4\x87"
                 "anja) materijalne dugotrajne imovine"},
        TextCase{Statement::CFInd, 14,
                 "   Smanjanje (pove\xC4\x87"
                 "anje) dugoro\xC4\x8Dnih potra\xC5\xBEivanja"},
        TextCase{Statement::CFInd, 28,
                 "UKUPNI NOV\xC4\x8C"
                 "ANI TOK (10+16+27)"},
        TextCase{Statement::CFInd, 31,
                 "PROMJENA STANJA NOV\xC4\x8C"
                 "ANIH SREDSTAVA (30-29)"},
        TextCase{Statement::CFFree, 10,
                 "   Aktivna vremenska ograni\xC4\x8D"
                 "enja"},
        TextCase{Statement::CFFree, 17, "B.3. Promjene dugoro\xC4\x8Dnih rezerviranja "},
        TextCase{Statement::CFFree, 28,
                 "NOV\xC4\x8C"
                 "ANI TOK OD FINANCIRANJA (22+...+27)"},
        TextCase{Statement::Pok, 11, "   1. Profina stopa poslovnih prihoda"},
        TextCase{Statement::Pok, 12, "   2. Stopa povrata od ukupne imovine "},
        TextCase{Statement::Pok, 15,
                 "D. ZADU\xC5\xBD"
                 "ENOST I POKRI\xC4\x86"
                 "E"},
        TextCase{Statement::Pok, 19, "   4. Knjigovodstvena vrijednost 1 dionice (u KN)"}));

TEST(TemplatesTest, OnlyTwoTextsEndWithABlank) {
    std::vector<std::pair<Statement, int>> found;
    for (Statement s : kAllStatements) {
        for (int n = 1; n <= RowCount(s); ++n) {
            const std::string_view text = TemplateRow(s, n).Tekst;
            ASSERT_FALSE(text.empty());
            if (text.back() == ' ') {
                found.emplace_back(s, n);
            }
        }
    }
    const std::vector<std::pair<Statement, int>> expected = {{Statement::CFFree, 17},
                                                             {Statement::Pok, 12}};
    EXPECT_EQ(found, expected);
}

TEST(TemplatesTest, IndentsAreOutlineLevels) {
    for (Statement s : kAllStatements) {
        for (int n = 1; n <= RowCount(s); ++n) {
            const std::string_view text = TemplateRow(s, n).Tekst;
            const auto indent = text.find_first_not_of(' ');
            EXPECT_TRUE(indent == 0 || indent == 3 || indent == 6 || indent == 9 || indent == 12)
                << "statement " << static_cast<int>(s) << " row " << n;
            // Fits a short string of 255 characters (UTF-8 is never shorter than Windows-1250).
            EXPECT_LE(text.size(), 255u);
        }
    }
}

TEST(TemplatesTest, RowNumbersArePositionsExceptFiveRacunRows) {
    for (Statement s : kAllStatements) {
        for (int n = 1; n <= RowCount(s); ++n) {
            if (s == Statement::Racun && n >= 19 && n <= 23) {
                continue;
            }
            EXPECT_EQ(TemplateRow(s, n).Rbr, n) << "statement " << static_cast<int>(s);
        }
    }
    const std::vector<int> stored = {
        TemplateRow(Statement::Racun, 19).Rbr, TemplateRow(Statement::Racun, 20).Rbr,
        TemplateRow(Statement::Racun, 21).Rbr, TemplateRow(Statement::Racun, 22).Rbr,
        TemplateRow(Statement::Racun, 23).Rbr};
    EXPECT_EQ(stored, (std::vector<int>{20, 21, 22, 23, 19}));
}

TEST(TemplatesTest, BilancaComputedRows) {
    const std::set<int> computed = {2, 3, 9, 18, 27, 31, 32, 38, 45, 55, 57, 67, 75, 87};
    EXPECT_EQ(RowsWhere(Statement::Bilanca, IsComputed), computed);
    EXPECT_EQ(test::InputRows(Statement::Bilanca).size(), 74u);
}

TEST(TemplatesTest, RacunComputedRows) {
    const std::set<int> computed = {1, 7, 10, 11, 15, 18, 19, 26, 33, 36, 37, 40, 41, 42, 45};
    EXPECT_EQ(RowsWhere(Statement::Racun, IsComputed), computed);
    EXPECT_EQ(test::InputRows(Statement::Racun).size(), 30u);
}

TEST(TemplatesTest, DerivedStatementsAreComputedThroughout) {
    EXPECT_EQ(RowsWhere(Statement::CFInd, IsComputed), Range(1, 31));
    EXPECT_EQ(RowsWhere(Statement::CFFree, IsComputed), Range(1, 28));
    EXPECT_EQ(RowsWhere(Statement::Pok, IsComputed), Range(1, 19));
}

TEST(TemplatesTest, BoldRows) {
    EXPECT_EQ(RowsWhere(Statement::Bilanca, IsBold),
              (std::set<int>{1, 2, 31, 53, 54, 55, 56, 57, 66, 67, 75, 86, 87, 88}));
    EXPECT_EQ(RowsWhere(Statement::Racun, IsBold),
              (std::set<int>{1, 7, 26, 33, 36, 37, 38, 39, 40, 41, 42, 45}));
    EXPECT_EQ(RowsWhere(Statement::CFInd, IsBold), (std::set<int>{10, 16, 27, 28, 31}));
    EXPECT_EQ(RowsWhere(Statement::CFFree, IsBold),
              (std::set<int>{4, 5, 14, 17, 18, 19, 20, 21, 28}));
    EXPECT_EQ(RowsWhere(Statement::Pok, IsBold), (std::set<int>{1, 5, 10, 15}));
    // The only style codes in use are "b" and the empty one.
    for (Statement s : kAllStatements) {
        for (int n = 1; n <= RowCount(s); ++n) {
            const std::string_view style = TemplateRow(s, n).Vrsta;
            EXPECT_TRUE(style.empty() || style == "b");
        }
    }
}

TEST(TemplatesTest, Formats) {
    for (Statement s :
         {Statement::Bilanca, Statement::Racun, Statement::CFInd, Statement::CFFree}) {
        for (int n = 1; n <= RowCount(s); ++n) {
            EXPECT_EQ(TemplateRow(s, n).Format, "#,##0.00");
        }
    }
    const std::vector<std::string_view> pok = {
        "#.##",  "#,##0.00",  "#,##0.00",  "#,##0",     "#.##",      "#,##0",     "#,##0",
        "#,##0", "#,##0;",    "#.##",      "#,##0.00%", "#,##0.00%", "#,##0.00%", "#,###.##",
        "#.##",  "#,##0.00%", "#,##0.00%", "#,##0.00",  "#,###.##"};
    ASSERT_EQ(pok.size(), 19u);
    for (int n = 1; n <= 19; ++n) {
        EXPECT_EQ(TemplateRow(Statement::Pok, n).Format, pok[static_cast<std::size_t>(n - 1)])
            << "Pok row " << n;
    }
}

TEST(TemplatesDeathTest, RowOutsideTheTableStops) {
    EXPECT_DEATH(TemplateRow(Statement::Pok, 20), "");
    EXPECT_DEATH(TemplateRow(Statement::Bilanca, 0), "");
}

}  // namespace
}  // namespace movik
