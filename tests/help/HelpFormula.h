#pragma once
// Reads the machine-readable formulas of the help topics and evaluates them on a document.

#include <cctype>
#include <cmath>
#include <random>
#include <stdexcept>
#include <string>

#include "model/Calculations.h"
#include "model/Document.h"
#include "model/Templates.h"

namespace movik::test {

// Evaluates "(B31.prev + B31.cur) / 2 * D", "-B32.chg + R19", "I3 + I4" ...: B n.prev and B n.cur
// are balance sheet amounts and B n.chg their change (current - previous year), R n income
// statement amounts, I n and F n the rows of the indirect and the free cash flow statement, D the
// period in days, S the number of shares.
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
        if (Take('-')) {
            return -Factor();
        }
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
        if (c == 'I') {
            return doc_.CFInd.row(Number()).Iznos;
        }
        if (c == 'F') {
            return doc_.CFFree.row(Number()).Iznos;
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
            if (text_.compare(pos_, 4, ".chg") == 0) {
                pos_ += 4;
                return static_cast<long double>(row.IznosTekuca) - row.IznosPrethodna;
            }
        }
        Fail();
    }

    std::string text_;
    const TDokument& doc_;
    std::size_t pos_ = 0;
};

// A document with random amounts in every input row of both statements.
inline TDokument RandomDocument(unsigned seed, double shares, double from, double to) {
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

}  // namespace movik::test
