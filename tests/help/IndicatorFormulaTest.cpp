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
#include "model/Calculations.h"
#include "model/Document.h"
#include "model/Templates.h"

namespace {

using movik::TDokument;

// Evaluates "(B31.prev + B31.cur) / 2 * D", "R7 - R24", "S" ...: B n.prev / B n.cur are balance
// sheet amounts, R n income statement amounts, D the period in days, S the number of shares.
class Formula {
  public:
    Formula(const std::string& text, const TDokument& doc) : text_(text), doc_(doc) {}

    long double Value() {
        const long double v = Sum();
        Skip();
        if (pos_ != text_.size()) {
            Fail();
        }
        return v;
    }

  private:
    void Skip() {
        while (pos_ < text_.size() && text_[pos_] == ' ') {
            ++pos_;
        }
    }
    bool Take(char c) {
        Skip();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    [[noreturn]] void Fail() const {
        throw std::runtime_error("cannot read formula '" + text_ + "' at " + std::to_string(pos_));
    }
    int Number() {
        std::size_t used = 0;
        const int n = std::stoi(text_.substr(pos_), &used);
        pos_ += used;
        return n;
    }
    long double Sum() {
        long double v = Product();
        for (;;) {
            if (Take('+')) {
                v += Product();
            } else if (Take('-')) {
                v -= Product();
            } else {
                return v;
            }
        }
    }
    long double Product() {
        long double v = Factor();
        for (;;) {
            if (Take('*')) {
                v *= Factor();
            } else if (Take('/')) {
                v /= Factor();
            } else {
                return v;
            }
        }
    }
    long double Factor() {
        if (Take('(')) {
            const long double v = Sum();
            if (!Take(')')) {
                Fail();
            }
            return v;
        }
        Skip();
        if (pos_ >= text_.size()) {
            Fail();
        }
        const char c = text_[pos_];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            std::size_t used = 0;
            const long double v = std::stold(text_.substr(pos_), &used);
            pos_ += used;
            return v;
        }
        ++pos_;
        if (c == 'D') {
            return static_cast<long double>(doc_.DatumDo) - doc_.DatumOd + 1;
        }
        if (c == 'S') {
            return doc_.BrojDionica;
        }
        if (c == 'R') {
            return doc_.Racun.row(Number()).Iznos;
        }
        if (c == 'B') {
            const auto& row = doc_.Bilanca.row(Number());
            if (text_.compare(pos_, 5, ".prev") == 0) {
                pos_ += 5;
                return row.IznosPrethodna;
            }
            if (text_.compare(pos_, 4, ".cur") == 0) {
                pos_ += 4;
                return row.IznosTekuca;
            }
        }
        Fail();
    }

    std::string text_;
    const TDokument& doc_;
    std::size_t pos_ = 0;
};

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

// A document with random amounts in every input row of both statements.
TDokument RandomDocument(unsigned seed, double shares, double from, double to) {
    TDokument doc;
    movik::NewDocument(doc, 2025);
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> amount(-20000.0, 500000.0);
    for (int n = 1; n <= movik::kBilancaRows; ++n) {
        if (!movik::TemplateRow(movik::Statement::Bilanca, n).Izracunata) {
            doc.Bilanca.row(n).IznosPrethodna = std::round(amount(rng) * 100) / 100;
            doc.Bilanca.row(n).IznosTekuca = std::round(amount(rng) * 100) / 100;
        }
    }
    for (int n = 1; n <= movik::kRacunRows; ++n) {
        if (!movik::TemplateRow(movik::Statement::Racun, n).Izracunata) {
            doc.Racun.row(n).Iznos = std::round(amount(rng) * 100) / 100;
        }
    }
    doc.BrojDionica = shares;
    doc.DatumOd = from;
    doc.DatumDo = to;
    movik::RecalculateAll(doc);
    return doc;
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
