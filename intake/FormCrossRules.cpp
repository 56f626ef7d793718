// The form's own cross-rules, checked in both years beside the formulas its labels state: the
// total assets equal the total equity and liabilities; the balance sheet's profit and loss of
// the year are the income statement's profit and loss of the period; the income statement's
// totals, its result before tax and its result of the period agree with their parts. A rule is
// written here once, independent of the labels, so a form whose labels are shortened or
// reworded is checked all the same.

#include <cmath>

#include "intake/FormReading.h"

namespace movik::form {

namespace {

struct RuleText {
    const char* code4;
    const char* terms4;
    const char* code3;
    const char* terms3;
    bool positivePart;
    const char* meaning;
};

constexpr RuleText kRules[] = {
    {"065", "126", "065", "123", false, "ukupna aktiva jednaka je ukupnoj pasivi"},
    {"088", "187", "085", "184", false,
     "dobit poslovne godine u bilanci jednaka je dobiti razdoblja u računu dobiti i gubitka"},
    {"089", "188", "086", "185", false,
     "gubitak poslovne godine u bilanci jednak je gubitku razdoblja u računu dobiti i gubitka"},
    {"180", "128+157+176+177", "177", "125+154+173+174", false, "ukupni prihodi"},
    {"181", "134+168+178+179", "178", "131+165+175+176", false, "ukupni rashodi"},
    {"182", "180-181", "179", "177-178", false, "dobit ili gubitak prije oporezivanja"},
    {"183", "180-181", "180", "177-178", true, "dobit prije oporezivanja"},
    {"184", "181-180", "181", "178-177", true, "gubitak prije oporezivanja"},
    {"186", "182-185", "183", "179-182", false, "dobit ili gubitak razdoblja"},
    {"187", "182-185", "184", "179-182", true, "dobit razdoblja"},
    {"188", "185-182", "185", "182-179", true, "gubitak razdoblja"},
};

std::vector<CrossRule> RulesOf(FormVersion version) {
    std::vector<CrossRule> rules;
    for (const RuleText& r : kRules) {
        const bool v3 = version == FormVersion::V3;
        CrossRule rule;
        rule.code = ParseFormFormula(v3 ? r.code3 : r.code4).front().code;
        rule.terms = ParseFormFormula(v3 ? r.terms3 : r.terms4);
        rule.positivePart = r.positivePart;
        rule.text = std::string("pravilo obrasca AOP ") + (v3 ? r.code3 : r.code4) + " = " +
                    (r.positivePart ? "pozitivni dio od " : "") + (v3 ? r.terms3 : r.terms4) +
                    " (" + r.meaning + ")";
        rules.push_back(std::move(rule));
    }
    return rules;
}

bool SameFormula(const FormLine& line, const CrossRule& rule) {
    if (line.positivePart != rule.positivePart || line.formula.size() != rule.terms.size()) {
        return false;
    }
    for (std::size_t i = 0; i < rule.terms.size(); ++i) {
        if (line.formula[i].code != rule.terms[i].code ||
            line.formula[i].sign != rule.terms[i].sign) {
            return false;
        }
    }
    return true;
}

}  // namespace

const std::vector<CrossRule>& CrossRules(FormVersion version) {
    static const std::vector<CrossRule> v3 = RulesOf(FormVersion::V3);
    static const std::vector<CrossRule> v4 = RulesOf(FormVersion::V4);
    return version == FormVersion::V3 ? v3 : v4;
}

void CheckCrossRules(const FormLines& form, FormAmounts& amounts, double tolerance,
                     std::vector<FormDifference>& differences) {
    for (const CrossRule& rule : CrossRules(form.version)) {
        const FormLine& line = form.lines.at(rule.code);
        if (SameFormula(line, rule)) {
            continue;  // the label states the rule: checked with the labels' formulas
        }
        for (std::size_t y = 0; y < 2; ++y) {
            const double stated = *amounts.Of(rule.code, y);
            if (amounts.SourceOf(rule.code, y) == FormAmounts::Source::Rule) {
                continue;  // taken by this rule, so it agrees with it
            }
            const double computed = amounts.Value(rule.terms, rule.positivePart, y);
            if (std::fabs(stated - computed) > tolerance + 1e-9) {
                FormDifference d;
                d.sheet = line.sheet;
                d.code = rule.code;
                d.label = line.label;
                d.previousYear = y == 0;
                d.stated = stated;
                d.computed = computed;
                d.rule = rule.text;
                differences.push_back(std::move(d));
            }
        }
    }
}

}  // namespace movik::form
