// The two cash flow topics give every row's value as a formula a program reads (data-value) and
// state how each statement reconciles (data-left = data-right). Both must hold on random,
// unbalanced documents exactly as the program computes them.

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <map>

#include "HelpFile.h"
#include "HelpFormula.h"

namespace {

using movik::TDokument;
using movik::test::Formula;

struct CashFlowTopic {
    const char* file;
    int rows;
    double (*value)(const TDokument&, int);  // the program's value of a row
};

const CashFlowTopic kTopics[] = {
    {"indirektni-novcani-tok.html", movik::kCFIndRows,
     [](const TDokument& d, int n) { return d.CFInd.row(n).Iznos; }},
    {"slobodni-novcani-tok.html", movik::kCFFreeRows,
     [](const TDokument& d, int n) { return d.CFFree.row(n).Iznos; }},
};

void PrintTo(const CashFlowTopic& t, std::ostream* os) {
    *os << t.file;
}

// The values of the data-NAME attributes of every tag that has the first one.
std::vector<std::map<QString, QString>> Tagged(const QString& text, const QString& first) {
    std::vector<std::map<QString, QString>> tags;
    const QRegularExpression tag(QStringLiteral("<[a-z]+ ([^>]*data-%1=[^>]*)>").arg(first));
    const QRegularExpression attribute(QStringLiteral("data-([a-z]+)=\"([^\"]*)\""));
    for (const auto& t : tag.globalMatch(text)) {
        std::map<QString, QString> data;
        for (const auto& a : attribute.globalMatch(t.captured(1))) {
            data[a.captured(1)] = a.captured(2);
        }
        tags.push_back(data);
    }
    return tags;
}

class CashFlowFormulaTest : public ::testing::TestWithParam<CashFlowTopic> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(movik::test::HelpFileLoaded());
        text_ = movik::test::ReadTopic(QString::fromLatin1(GetParam().file));
        ASSERT_FALSE(text_.isNull());
    }
    QString text_;
};

TEST_P(CashFlowFormulaTest, EveryRowsDocumentedValueIsTheComputedOne) {
    std::map<int, std::string> formulas;
    for (auto& tag : Tagged(text_, QStringLiteral("value"))) {
        const int row = tag[QStringLiteral("row")].toInt();
        EXPECT_EQ(formulas.count(row), 0U) << "row " << row << " documented twice";
        formulas[row] = tag[QStringLiteral("value")].toStdString();
    }
    ASSERT_EQ(formulas.size(), static_cast<std::size_t>(GetParam().rows));
    for (unsigned seed : {11U, 12U, 13U}) {
        const TDokument doc = movik::test::RandomDocument(seed, 1000, 45658, 46022);
        for (const auto& [row, formula] : formulas) {
            ASSERT_GE(row, 1);
            ASSERT_LE(row, GetParam().rows);
            EXPECT_NEAR(GetParam().value(doc, row),
                        static_cast<double>(Formula(formula, doc).Value()), 1e-6)
                << "row " << row << ": " << formula;
        }
    }
}

TEST_P(CashFlowFormulaTest, DocumentedReconciliationHolds) {
    const auto identities = Tagged(text_, QStringLiteral("left"));
    ASSERT_EQ(identities.size(), 1U);
    auto identity = identities.front();
    const std::string left = identity[QStringLiteral("left")].toStdString();
    const std::string right = identity[QStringLiteral("right")].toStdString();
    for (unsigned seed : {21U, 22U, 23U}) {
        const TDokument doc = movik::test::RandomDocument(seed, 0, 45658, 46022);
        const long double difference = Formula(right, doc).Value();
        EXPECT_GT(std::fabs(difference), 1.0) << "the random document should not balance";
        EXPECT_NEAR(static_cast<double>(Formula(left, doc).Value()),
                    static_cast<double>(difference), 1e-6)
            << left << " = " << right;
    }
}

INSTANTIATE_TEST_SUITE_P(Topics, CashFlowFormulaTest, ::testing::ValuesIn(kTopics));

}  // namespace
