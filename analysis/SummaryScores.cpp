#include "analysis/SummaryScores.h"

#include "analysis/SummaryFormats.h"
#include "model/NumberFormat.h"

namespace movik {

namespace {

std::string Json4(const ScoreValue& v) {
    return v.value ? JsonNumber(RoundedAsShown(*v.value, 4)) : "null";
}

std::string JsonGrade(const std::optional<int>& grade) {
    return grade ? std::to_string(*grade) : "null";
}

}  // namespace

NamedScores NamedScoresOf(const Scores& s) {
    const std::array<const ScoreValue*, kNamedScoreCount> values = {&s.of(ScoreModel::AltmanZpp),
                                                                    &s.of(ScoreModel::AltmanZp),
                                                                    &s.of(ScoreModel::Springate),
                                                                    &s.of(ScoreModel::KralicekDf),
                                                                    &s.quick.stability,
                                                                    &s.quick.earnings,
                                                                    &s.quick.overall,
                                                                    &s.dupont.margin,
                                                                    &s.dupont.turnover,
                                                                    &s.dupont.multiplier};
    NamedScores named;
    for (std::size_t i = 0; i < named.size(); ++i) {
        named[i] = {kNamedScores[i].key, kNamedScores[i].caption, values[i]->value,
                    kNamedScores[i].higherIsBetter};
    }
    return named;
}

std::string_view NamedScoreBand(int index, std::optional<double> value) {
    const std::optional<ScoreModel> model = kNamedScores[static_cast<std::size_t>(index)].model;
    return model && value ? BandOf(*model, *value).words : std::string_view();
}

std::string ScoresJson(const Scores& s) {
    std::string j = "{";
    for (const ScoreModelFacts& m : kScoreModels) {
        j += "\"" + std::string(m.key) + "\":" + Json4(s.of(m.model)) + ",";
    }
    j += "\"quicktest\":{";
    for (const QuickPartFacts& p : kQuickParts) {
        j += "\"" + std::string(p.key) +
             "\":" + JsonGrade(s.quick.grades[static_cast<std::size_t>(p.part)]) + ",";
    }
    j += "\"stability\":" + Json4(s.quick.stability) + ",\"earnings\":" + Json4(s.quick.earnings) +
         ",\"overall\":" + Json4(s.quick.overall) + "}";
    j += ",\"dupont\":{\"margin\":" + Json4(s.dupont.margin) +
         ",\"turnover\":" + Json4(s.dupont.turnover) +
         ",\"multiplier\":" + Json4(s.dupont.multiplier) + "}";
    return j + "}";
}

std::string ScoreText(std::optional<double> value, const RegionalSettings& rs) {
    return value ? FormatNumber(*value, kScoreFormat, rs) : std::string();
}

}  // namespace movik
