#pragma once
// The early-warning scores and DuPont's factors of one document as a plain list of named
// values, each with the direction in which a sounder company moves it: what the comparison's
// columns, the charts across documents and a group's standing read. And the scores as the
// summary's written forms carry them.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "model/Regional.h"
#include "model/Scores.h"

namespace movik {

struct NamedScoreFacts {
    std::string_view key;      // as movik-cli summary names it ("quicktest.overall")
    std::string_view caption;  // Croatian column caption
    bool higherIsBetter;
    // The model whose band goes with the value; nullopt for the quick test and DuPont.
    std::optional<ScoreModel> model;
};

inline constexpr int kNamedScoreCount = 10;
inline constexpr std::array<NamedScoreFacts, kNamedScoreCount> kNamedScores = {{
    {"altman_z_pp", "Altman Z''", true, ScoreModel::AltmanZpp},
    {"altman_z_p", "Altman Z'", true, ScoreModel::AltmanZp},
    {"springate", "Springate", true, ScoreModel::Springate},
    {"kralicek_df", "Kralicek DF", true, ScoreModel::KralicekDf},
    // Grades: 1 is the best.
    {"quicktest.stability", "Quick test – financijska stabilnost", false, std::nullopt},
    {"quicktest.earnings", "Quick test – uspješnost", false, std::nullopt},
    {"quicktest.overall", "Quick test – ukupna ocjena", false, std::nullopt},
    {"dupont.margin", "DuPont – neto marža (%)", true, std::nullopt},
    {"dupont.turnover", "DuPont – obrtaj imovine", true, std::nullopt},
    // More assets per unit of equity is more debt: the lower, the sounder.
    {"dupont.multiplier", "DuPont – multiplikator kapitala", false, std::nullopt},
}};

// The display pattern of every score's value.
inline constexpr std::string_view kScoreFormat = "#,##0.000";

struct NamedScore {
    std::string_view key;
    std::string_view caption;
    std::optional<double> value;  // empty when not computable
    bool higherIsBetter = true;
};

using NamedScores = std::array<NamedScore, kNamedScoreCount>;

NamedScores NamedScoresOf(const Scores& scores);

// The words of a named score's band ("" for one without bands or without a value).
std::string_view NamedScoreBand(int index, std::optional<double> value);

// The "scores" object of a summary's JSON line: values rounded half away from zero to four
// decimals, grades as integers, null where not computable.
std::string ScoresJson(const Scores& scores);

// A value as the summary's texts show it ("" when not computable).
std::string ScoreText(std::optional<double> value, const RegionalSettings& rs);

}  // namespace movik
