// Each indicator topic carries, beside the formula in words, the same formula in a form a program
// reads (data-numerator and data-denominator over balance sheet and income statement rows). The
// documented formulas are evaluated on random documents and must give the program's indicators.

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <cmath>
#include <map>
#include <random>
#include <stdexcept>
#include <string>

#include "HelpFile.h"
#include "HelpFormula.h"
#include "model/Calculations.h"
#include "model/Document.h"
#include "model/Templates.h"

namespace {

using movik::TDokument;
using movik::test::Formula;
using movik::test::RandomDocument;

struct DocumentedFormula {
    QString topic;
    std::string numerator;
    std::string denominator;
};

// Every documented formula by indicator row, read from the help file.
std::map<int, DocumentedFormula> DocumentedFormulas() {
    std::map<int, DocumentedFormula> formulas;
    const QRegularExpression formula(QStringLiteral("<p class=\"formula\"([^>]*)>"));
    const QRegularExpression attribute(QStringLiteral("data-([a-z]+)=\"([^\"]*)\""));
    for (const QString& file : movik::test::PackedTopics()) {
        for (const auto& p : formula.globalMatch(movik::test::ReadTopic(file))) {
            std::map<QString, QString> data;
            for (const auto& a : attribute.globalMatch(p.captured(1))) {
                data[a.captured(1)] = a.captured(2);
            }
            if (data.count(QStringLiteral("row")) == 0) {
                continue;  // a formula in words only
            }
            const int row = data[QStringLiteral("row")].toInt();
            EXPECT_EQ(formulas.count(row), 0U) << "indicator " << row << " documented twice";
            formulas[row] = {file, data[QStringLiteral("numerator")].toStdString(),
                             data[QStringLiteral("denominator")].toStdString()};
        }
    }
    return formulas;
}

// The topic of each indicator group and the indicator rows it documents.
struct Group {
    const char* topic;
    std::vector<int> rows;
};
const Group kGroups[] = {
    {"likvidnost.html", {2, 3, 4}},
    {"aktivnost.html", {6, 7, 8, 9}},
    {"profitabilnost.html", {11, 12, 13, 14}},
    {"zaduzenost-i-pokrice.html", {16, 17, 18, 19}},
};

TEST(IndicatorFormulaTest, EveryIndicatorIsDocumentedOnceInItsGroupsTopic) {
    ASSERT_TRUE(movik::test::HelpFileLoaded());
    const auto formulas = DocumentedFormulas();
    std::size_t documented = 0;
    for (const Group& g : kGroups) {
        for (int row : g.rows) {
            ASSERT_EQ(formulas.count(row), 1U) << "indicator " << row << " has no formula";
            EXPECT_EQ(formulas.at(row).topic, QString::fromLatin1(g.topic)) << "indicator " << row;
            ++documented;
        }
    }
    EXPECT_EQ(formulas.size(), documented);
}

struct Case {
    unsigned seed;
    double shares;
    double from;  // period as day numbers: 2025 has 365 days, 2024 has 366, a quarter 90
    double to;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << "seed " << c.seed << ", " << c.shares << " shares, days " << c.from << " to " << c.to;
}

class IndicatorFormulaCase : public ::testing::TestWithParam<Case> {};

TEST_P(IndicatorFormulaCase, DocumentedFormulaGivesTheComputedIndicator) {
    ASSERT_TRUE(movik::test::HelpFileLoaded());
    const Case c = GetParam();
    const TDokument doc = RandomDocument(c.seed, c.shares, c.from, c.to);
    for (const auto& [row, f] : DocumentedFormulas()) {
        const long double numerator = Formula(f.numerator, doc).Value();
        const long double denominator = Formula(f.denominator, doc).Value();
        // The documented rule: a zero denominator gives 0.
        const long double expected = denominator == 0 ? 0 : numerator / denominator;
        const double computed = doc.Pok.row(row).Iznos;
        EXPECT_NEAR(computed, static_cast<double>(expected),
                    1e-9 * std::max(1.0L, std::fabs(expected)))
            << "indicator " << row << ": " << f.numerator << " / " << f.denominator;
    }
}

INSTANTIATE_TEST_SUITE_P(RandomDocuments, IndicatorFormulaCase,
                         ::testing::Values(Case{1, 125000, 45658, 46022}, Case{2, 0, 45658, 46022},
                                           Case{3, 7, 45292, 45657}, Case{4, 1e9, 45658, 45747}));

}  // namespace
