// The topic "Ocjena boniteta" carries every score's formula in the statements' rows, in a form a
// program reads (data-score and data-value). Evaluated on random documents, each must give the
// program's value.

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "HelpFile.h"
#include "HelpFormula.h"
#include "model/Scores.h"

namespace {

using movik::Scores;
using movik::ScoreValue;

// Every documented score formula by its key in movik-cli summary's "scores".
std::map<std::string, std::string> DocumentedScores() {
    std::map<std::string, std::string> formulas;
    const QRegularExpression formula(
        QStringLiteral("<p class=\"formula\" data-score=\"([^\"]+)\"\\s+data-value=\"([^\"]+)\""));
    for (const auto& m :
         formula.globalMatch(movik::test::ReadTopic(QStringLiteral("ocjena-boniteta.html")))) {
        formulas[m.captured(1).toStdString()] = m.captured(2).toStdString();
    }
    return formulas;
}

using Pick = std::function<const ScoreValue&(const Scores&)>;

Pick Model(movik::ScoreModel m) {
    return [m](const Scores& s) -> const ScoreValue& { return s.of(m); };
}
Pick Quick(movik::QuickPart p) {
    return [p](const Scores& s) -> const ScoreValue& {
        return s.quick.measures[static_cast<std::size_t>(p)];
    };
}

const std::map<std::string, Pick>& ProgramScores() {
    using movik::QuickPart;
    using movik::ScoreModel;
    static const std::map<std::string, Pick> picks = {
        {"altman_z_pp", Model(ScoreModel::AltmanZpp)},
        {"altman_z_p", Model(ScoreModel::AltmanZp)},
        {"springate", Model(ScoreModel::Springate)},
        {"kralicek_df", Model(ScoreModel::KralicekDf)},
        {"quicktest.equity_ratio", Quick(QuickPart::EquityRatio)},
        {"quicktest.debt_years", Quick(QuickPart::DebtYears)},
        {"quicktest.cash_flow_margin", Quick(QuickPart::CashFlowMargin)},
        {"quicktest.roa", Quick(QuickPart::ReturnOnAssets)},
        {"dupont.margin", [](const Scores& s) -> const ScoreValue& { return s.dupont.margin; }},
        {"dupont.turnover", [](const Scores& s) -> const ScoreValue& { return s.dupont.turnover; }},
        {"dupont.multiplier",
         [](const Scores& s) -> const ScoreValue& { return s.dupont.multiplier; }},
    };
    return picks;
}

TEST(ScoreFormulaTest, EveryScoreIsDocumentedOnce) {
    ASSERT_TRUE(movik::test::HelpFileLoaded());
    const auto documented = DocumentedScores();
    ASSERT_EQ(documented.size(), ProgramScores().size());
    for (const auto& [key, pick] : ProgramScores()) {
        EXPECT_EQ(documented.count(key), 1U) << key;
    }
}

TEST(ScoreFormulaTest, DocumentedFormulaGivesTheProgramsScore) {
    ASSERT_TRUE(movik::test::HelpFileLoaded());
    int compared = 0;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        const movik::TDokument doc = movik::test::RandomDocument(seed, 1000, 45658, 46022);
        const Scores scores = movik::ScoresOf(doc);
        for (const auto& [key, text] : DocumentedScores()) {
            const ScoreValue& v = ProgramScores().at(key)(scores);
            // Without net debt the repayment takes no years (the topic's rule, not its ratio).
            if (!v.value || (key == "quicktest.debt_years" && *v.value == 0)) {
                continue;
            }
            const long double expected = movik::test::Formula(text, doc).Value();
            EXPECT_NEAR(*v.value, static_cast<double>(expected),
                        1e-9 * std::max(1.0L, std::fabs(expected)))
                << key << " on document " << seed;
            ++compared;
        }
    }
    EXPECT_GT(compared, 150);
}

}  // namespace
