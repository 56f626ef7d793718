#include "analysis/EuroConversion.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "model/Calculations.h"
#include "model/DecimalRounding.h"
#include "model/StatementRows.h"
#include "model/Templates.h"

namespace movik {

namespace {

__extension__ typedef __int128 Int128;  // exact to beyond 10^21

// The rate as an exact fraction: 7.53450 = 75345 / 10^4.
constexpr std::int64_t kRateNumerator = 75345;
constexpr int kRateDecimals = 4;

Int128 Pow10(int n) {
    Int128 p = 1;
    for (int i = 0; i < n; ++i) {
        p *= 10;
    }
    return p;
}

// The quotient amount / rate in cents as an exact fraction numerator / denominator (both
// non-negative) with the sign apart; false when the amount is outside the exact range.
struct Quotient {
    Int128 numerator = 0;
    Int128 denominator = 1;
    bool negative = false;
};

bool ExactQuotient(double amount, Quotient& q) {
    const double magnitude = std::fabs(amount);
    std::uint64_t digits = 0;
    int exp10 = 0;
    if (!(magnitude >= 1e-3 && magnitude < 1e15) || !numfmt::Fast15(magnitude, digits, exp10)) {
        return false;
    }
    // magnitude = digits x 10^(exp10 - 14); cents = magnitude x 100 x 10^4 / 75345.
    const int scale = exp10 - 14 + 2 + kRateDecimals;
    q.numerator = static_cast<Int128>(digits);
    q.denominator = kRateNumerator;
    if (scale >= 0) {
        q.numerator *= Pow10(scale);
    } else {
        q.denominator *= Pow10(-scale);
    }
    q.negative = amount < 0;
    return true;
}

// Within the amount limit cents < 2^53: the integer is exact and the division by 100 gives the
// double nearest to the decimal.
double FromCents(std::int64_t cents) {
    return static_cast<double>(cents) / 100.0;
}

// One typed amount of the document.
struct Input {
    bool racun;
    int row;
    bool current;  // Bilanca: the current year; Racun has one amount
};

double& AmountOf(TDokument& doc, const Input& in) {
    if (in.racun) {
        return doc.Racun.row(in.row).Iznos;
    }
    TStavkaBilanca& row = doc.Bilanca.row(in.row);
    return in.current ? row.IznosTekuca : row.IznosPrethodna;
}

std::vector<Input> Inputs() {
    std::vector<Input> inputs;
    for (int r = 1; r <= kBilancaRows; ++r) {
        if (!TemplateRow(Statement::Bilanca, r).Izracunata) {
            inputs.push_back({false, r, false});
            inputs.push_back({false, r, true});
        }
    }
    for (int r = 1; r <= kRacunRows; ++r) {
        if (!TemplateRow(Statement::Racun, r).Izracunata) {
            inputs.push_back({true, r, true});
        }
    }
    return inputs;
}

// The totals the consistency checks compare.
constexpr int kTotals = 5;
std::array<double, kTotals> TotalsOf(const TDokument& doc) {
    const TStavkaBilanca& assets = doc.Bilanca.row(BilancaRow::TotalAssets);
    const TStavkaBilanca& liabilities = doc.Bilanca.row(BilancaRow::TotalEquityAndLiabilities);
    return {assets.IznosPrethodna, liabilities.IznosPrethodna, assets.IznosTekuca,
            liabilities.IznosTekuca, doc.Racun.row(RacunRow::NetResult).Iznos};
}

// How each input enters each total (+1, -1 or 0), learnt once from the calculations themselves
// by running them on one input at a time.
struct Term {
    std::size_t input;
    int sign;
    bool adjustable;  // may take a cent for its total
};

const std::array<std::vector<Term>, kTotals>& TermsOfTotals() {
    static const std::array<std::vector<Term>, kTotals> terms = [] {
        std::array<std::vector<Term>, kTotals> t;
        const std::vector<Input> inputs = Inputs();
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            // The profit and loss rows stay as converted: the net-result check compares them.
            const bool adjustable = inputs[i].racun || (inputs[i].row != BilancaRow::ProfitOfYear &&
                                                        inputs[i].row != BilancaRow::LossOfYear);
            TDokument probe;
            AmountOf(probe, inputs[i]) = 1;
            RecalculateAll(probe);
            const std::array<double, kTotals> totals = TotalsOf(probe);
            for (int k = 0; k < kTotals; ++k) {
                if (totals[std::size_t(k)] != 0) {
                    t[std::size_t(k)].push_back(
                        {i, totals[std::size_t(k)] > 0 ? 1 : -1, adjustable});
                }
            }
        }
        return t;
    }();
    return terms;
}

struct Converted {
    bool exact = false;
    Quotient quotient;
    std::int64_t cents = 0;  // rounded, signed
};

Converted Convert(double amount) {
    Converted c;
    c.exact = amount != 0 && std::isfinite(amount) && ExactQuotient(amount, c.quotient);
    if (c.exact) {
        c.cents = static_cast<std::int64_t>(std::llround(KunaToEuro(amount) * 100));
    }
    return c;
}

// How far rounding moved c from its exact value towards `direction` (+1 up, -1 down), as a
// fraction of a cent: the remainder the next cent in `direction` would give back.
double Remainder(const Converted& c, int direction) {
    const Quotient& q = c.quotient;
    const long double exact = static_cast<long double>(q.numerator) /
                              static_cast<long double>(q.denominator) * (q.negative ? -1 : 1);
    return static_cast<double>((exact - static_cast<long double>(c.cents)) * direction);
}

}  // namespace

double KunaToEuro(double amount) {
    if (!std::isfinite(amount)) {
        return amount;
    }
    if (std::fabs(amount) < 1e-3) {
        return 0.0;  // below a tenth of a lipa nothing reaches half a cent
    }
    Quotient q;
    if (!ExactQuotient(amount, q)) {
        // Far beyond any amount the fields take: cents are past a double's precision anyway.
        return std::round(amount / kKunaPerEuro * 100.0) / 100.0;
    }
    Int128 cents = q.numerator / q.denominator;
    if (2 * (q.numerator % q.denominator) >= q.denominator) {
        ++cents;  // half away from zero (on the magnitude)
    }
    const double euros = FromCents(static_cast<std::int64_t>(cents));
    return q.negative ? -euros : euros;
}

void ConvertInputsToEuro(TDokument& doc) {
    const std::vector<Input> inputs = Inputs();
    std::vector<Converted> converted;
    converted.reserve(inputs.size());
    for (const Input& in : inputs) {
        converted.push_back(Convert(AmountOf(doc, in)));
    }
    const std::array<double, kTotals> kunaTotals = TotalsOf(doc);
    const auto& termsOfTotals = TermsOfTotals();
    for (int k = 0; k < kTotals; ++k) {
        const std::vector<Term>& terms = termsOfTotals[std::size_t(k)];
        // The kuna total as the document's inputs give it, converted.
        long double kuna = 0;
        std::int64_t sum = 0;
        bool exact = true;
        for (const Term& t : terms) {
            const double amount = AmountOf(doc, inputs[t.input]);
            kuna += static_cast<long double>(amount) * t.sign;
            exact = exact && (amount == 0 || converted[t.input].exact);
            sum += converted[t.input].cents * t.sign;
        }
        if (!exact || std::fabs(static_cast<double>(kuna) - kunaTotals[std::size_t(k)]) >= 0.005) {
            continue;  // amounts beyond the exact range, or a stored total that no longer adds up
        }
        std::int64_t missing = std::llround(KunaToEuro(static_cast<double>(kuna)) * 100) - sum;
        while (missing != 0) {
            const int want = missing > 0 ? 1 : -1;
            // The non-empty amount whose rounding went furthest against the missing cent.
            const Term* best = nullptr;
            double bestRemainder = 0;
            for (const Term& t : terms) {
                const Converted& c = converted[t.input];
                if (!c.exact || !t.adjustable) {
                    continue;
                }
                const double remainder = Remainder(c, want * t.sign);
                if (best == nullptr || remainder > bestRemainder) {
                    best = &t;
                    bestRemainder = remainder;
                }
            }
            if (best == nullptr) {
                break;
            }
            converted[best->input].cents += want * best->sign;
            missing -= want;
        }
    }
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (converted[i].exact) {
            AmountOf(doc, inputs[i]) = FromCents(converted[i].cents);
        } else {
            AmountOf(doc, inputs[i]) = KunaToEuro(AmountOf(doc, inputs[i]));
        }
    }
}

bool ConvertToEuro(Workspace& ws) {
    if (ws.currency() == Valuta::Eur) {
        return false;
    }
    // Every accepted edit has already gone through the refresh cycle into the document, whose
    // amounts may hold more decimals than the grids show: those are converted.
    ws.ChangeInputAmounts([](TDokument& doc) {
        ConvertInputsToEuro(doc);
        SetDocumentCurrency(doc, Valuta::Eur);
    });
    return true;
}

}  // namespace movik
