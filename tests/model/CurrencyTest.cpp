// The currency of a document: the changeover date, the mark, the captions in the currency.

#include <gtest/gtest.h>

#include <limits>

#include "model/Currency.h"
#include "model/Dates.h"
#include "model/Document.h"

namespace movik {
namespace {

struct PeriodCase {
    int year, month, day;
    Valuta expected;
};

class PeriodCurrencyCase : public ::testing::TestWithParam<PeriodCase> {};

TEST_P(PeriodCurrencyCase, EurosFromTheFirstOfJanuary2023) {
    const PeriodCase& c = GetParam();
    EXPECT_EQ(PeriodCurrency(DayNumber(c.year, c.month, c.day)), c.expected)
        << c.year << "-" << c.month << "-" << c.day;
}

INSTANTIATE_TEST_SUITE_P(Boundary, PeriodCurrencyCase,
                         ::testing::Values(PeriodCase{2021, 12, 31, Valuta::Hrk},
                                           PeriodCase{2022, 12, 31, Valuta::Hrk},
                                           PeriodCase{2023, 1, 1, Valuta::Eur},
                                           PeriodCase{2023, 6, 30, Valuta::Eur},
                                           PeriodCase{2025, 12, 31, Valuta::Eur},
                                           PeriodCase{1899, 12, 30, Valuta::Hrk}));

TEST(PeriodCurrency, AnEmptyOrInvalidEndDateIsBeforeTheChangeover) {
    EXPECT_EQ(PeriodCurrency(0), Valuta::Hrk);
    EXPECT_EQ(PeriodCurrency(std::numeric_limits<double>::quiet_NaN()), Valuta::Hrk);
    EXPECT_EQ(PeriodCurrency(DayNumber(2022, 12, 31) + 0.999), Valuta::Hrk);
}

TEST(DocumentCurrency, TheMarkIsKeptOnlyWhereItDiffersFromThePeriod) {
    TDokument doc;
    doc.DatumDo = DayNumber(2022, 12, 31);
    EXPECT_EQ(DocumentCurrency(doc), Valuta::Hrk);
    SetDocumentCurrency(doc, Valuta::Eur);
    EXPECT_EQ(doc.OznakaValute, Valuta::Eur);
    EXPECT_EQ(DocumentCurrency(doc), Valuta::Eur);
    SetDocumentCurrency(doc, Valuta::Hrk);  // back to the period's: no mark
    EXPECT_EQ(doc.OznakaValute, std::nullopt);
    doc.DatumDo = DayNumber(2024, 12, 31);
    EXPECT_EQ(DocumentCurrency(doc), Valuta::Eur);
    NewDocument(doc, 2021);
    SetDocumentCurrency(doc, Valuta::Eur);
    NewDocument(doc, 2021);  // a new document has its period's currency
    EXPECT_EQ(DocumentCurrency(doc), Valuta::Hrk);
}

struct RowTextCase {
    const char* stored;
    Valuta currency;
    const char* shown;
};

class RowTextInCase : public ::testing::TestWithParam<RowTextCase> {};

TEST_P(RowTextInCase, ATrailingUnitFollowsTheCurrency) {
    EXPECT_EQ(RowTextIn(GetParam().stored, GetParam().currency), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RowTextInCase,
    ::testing::Values(RowTextCase{"   4. Zarada po dionici (u KN)", Valuta::Eur,
                                  "   4. Zarada po dionici (u EUR)"},
                      RowTextCase{"   4. Zarada po dionici (u KN)", Valuta::Hrk,
                                  "   4. Zarada po dionici (u KN)"},
                      RowTextCase{"Vrijednost (u EUR)  ", Valuta::Hrk, "Vrijednost (u KN)  "},
                      RowTextCase{"Vrijednost (u EUR)", Valuta::Eur, "Vrijednost (u EUR)"},
                      RowTextCase{"(u KN)", Valuta::Eur, "(u EUR)"},
                      RowTextCase{"   1. Tekući odnos", Valuta::Eur, "   1. Tekući odnos"},
                      RowTextCase{"Iznos (u KN) i dalje", Valuta::Eur, "Iznos (u KN) i dalje"},
                      RowTextCase{"", Valuta::Eur, ""}));

}  // namespace
}  // namespace movik
