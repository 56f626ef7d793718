#include "intake/FormMapping.h"

#include <cctype>
#include <charconv>

#include "model/StatementRows.h"

namespace movik {

namespace {

constexpr Statement B = Statement::Bilanca;
constexpr Statement R = Statement::Racun;
constexpr FormPart W = FormPart::Whole;

}  // namespace

// Version 3 has the codes of 4.x up to AOP 077 (with three fair-value rows under it instead of
// six) and every later code 3 lower. The fair-value reserves are taken from their parent row.
const std::vector<FormMappingRow>& FormMapping() {
    static const std::vector<FormMappingRow> table = {
        // Bilanca, assets
        {B, 1, "001", "001", W, ""},
        {B, 5, "004", "004", W, ""},
        {B, 6, "005+009", "005+009", W, "009 Ostala nematerijalna imovina"},
        {B, 7, "006", "006", W, ""},
        {B, 8, "007+008", "007+008", W, "008 Nematerijalna imovina u pripremi"},
        {B, 10, "011", "011", W, ""},
        {B, 11, "012", "012", W, ""},
        {B, 12, "013", "013", W, ""},
        {B, 13, "014", "014", W, ""},
        {B, 14, "016", "016", W, ""},
        {B, 15, "017", "017", W, ""},
        {B, 17, "015+018+019", "015+018+019", W, "015 Biološka imovina, 019 Ulaganje u nekretnine"},
        {B, 19, "021+022", "021+022", W, ""},
        {B, 20, "023", "023", W, ""},
        {B, 21, "024+025+026+029", "024+025+026+029", W,
         "026 zajmovi društvima povezanim sudjelujućim interesom, 029 ulaganja metodom udjela"},
        {B, 22, "027", "027", W, ""},
        {B, 23, "028", "028", W, ""},
        {B, 26, "030", "030", W, ""},
        {B, 28, "032+033", "032+033", W, ""},
        {B, 29, "034", "034", W, ""},
        {B, 30, "035+036", "035+036", W, "036 Odgođena porezna imovina"},
        {B, 33, "039", "039", W, ""},
        {B, 34, "040", "040", W, ""},
        {B, 35, "042+044", "042+044", W, "044 Dugotrajna imovina namijenjena prodaji"},
        {B, 36, "041+045", "041+045", W, "045 Biološka imovina"},
        {B, 37, "043", "043", W, ""},
        {B, 39, "047+048", "047+048", W, ""},
        {B, 40, "049", "049", W, ""},
        {B, 42, "050", "050", W, ""},
        {B, 43, "051", "051", W, ""},
        {B, 44, "052", "052", W, ""},
        {B, 46, "054+055+057+058", "054+055+057+058", W, ""},
        {B, 47, "056+059", "056+059", W, ""},
        {B, 48, "060", "060", W, ""},
        {B, 49, "061", "061", W, ""},
        {B, 51, "062", "062", W, ""},
        {B, 52, "063", "063", W, ""},
        {B, 53, "064", "064", W, ""},
        {B, 56, "066", "066", W, ""},
        // Bilanca, equity and liabilities
        {B, 58, "068", "068", W, ""},
        {B, 59, "069", "069", W, ""},
        {B, 60, "076+077", "076+077", W, "077 Rezerve fer vrijednosti"},
        {B, 61, "070", "070", W, ""},
        {B, 62, "085", "082", W, ""},
        {B, 63, "086", "083", W, ""},
        {B, 64, "088", "085", W, ""},
        {B, 65, "089", "086", W, ""},
        {B, 66, "091", "088", W, ""},
        {B, 68, "099+100+101+102", "096+097+098+099", W, ""},
        {B, 69, "103", "100", W, ""},
        {B, 70, "104", "101", W, ""},
        {B, 71, "105", "102", W, ""},
        {B, 72, "106", "103", W, ""},
        {B, 73, "107", "104", W, ""},
        {B, 74, "108+109", "105+106", W, "Odgođena porezna obveza"},
        {B, 76, "111+112+113+114", "108+109+110+111", W, ""},
        {B, 77, "115", "112", W, ""},
        {B, 78, "116", "113", W, ""},
        {B, 79, "117", "114", W, ""},
        {B, 80, "118", "115", W, ""},
        {B, 81, "119", "116", W, ""},
        {B, 82, "120", "117", W, ""},
        {B, 83, "121", "118", W, ""},
        {B, 84, "122", "119", W, ""},
        {B, 85, "123+124", "120+121", W, "Obveze po osnovi dugotrajne imovine namijenjene prodaji"},
        {B, 86, "125", "122", W, ""},
        {B, 88, "127", "124", W, ""},
        // Racun dobiti i gubitka, the current year
        {R, 2, "129+130", "126+127", W, "sva prodaja (obrazac ne dijeli zemlju i inozemstvo)"},
        {R, 5, "131", "128", W, ""},
        {R, 6, "132+133", "129+130", W, ""},
        {R, 8, "-135", "-132", FormPart::Negative, "kad je promjena zaliha negativna"},
        {R, 9, "135", "132", FormPart::Positive, "kad je promjena zaliha pozitivna"},
        {R, 12, "137", "134", W, ""},
        {R, 13, "138", "135", W, ""},
        {R, 14, "139", "136", W, ""},
        {R, 16, "141", "138", W, ""},
        {R, 17, "142+143", "139+140", W, ""},
        {R, 21, "144", "141", W, "sva amortizacija (obrazac je ne dijeli po vrsti imovine)"},
        {R, 22, "147", "144", W, ""},
        {R, 23, "148", "145", W, ""},
        {R, 24, "149", "146", W, ""},
        {R, 25, "145+156", "142+153", W, "Ostali troškovi"},
        {R, 27, "158", "155", W, ""},
        {R, 28, "159", "156", W, ""},
        {R, 29, "160", "157", W, ""},
        {R, 30, "163", "160", W, ""},
        {R, 31, "161+162", "158+159", W, ""},
        {R, 32, "164+165+166+167", "161+162+163+164", W, ""},
        {R, 34, "169+170", "166+167", W, ""},
        {R, 35, "171+172+173+174+175", "168+169+170+171+172", W, ""},
        {R, 38, "176+177", "173+174", W,
         "udio u dobiti pridruženih društava i zajedničkih pothvata"},
        {R, 39, "178+179", "175+176", W,
         "udio u gubitku pridruženih društava i zajedničkih pothvata"},
        {R, 43, "185", "182", W, ""},
    };
    return table;
}

const std::vector<FormNotCarriedRow>& FormNotCarried() {
    static const std::vector<FormNotCarriedRow> table = {
        {"090",
         "087",
         "Manjinski (nekontrolirajući) interes: u Movikovoj bilanci nema mjesta",
         {false, true, true, false, false, false, false}},
    };
    return table;
}

const std::array<FormTotalRow, 7>& FormTotals() {
    static const std::array<FormTotalRow, 7> table = {{
        {FormTotal::TotalAssets, "Ukupna aktiva", true, B, BilancaRow::TotalAssets, "065", "065"},
        {FormTotal::TotalLiabilities, "Ukupna pasiva", true, B,
         BilancaRow::TotalEquityAndLiabilities, "126", "123"},
        {FormTotal::Equity, "Kapital i rezerve", true, B, BilancaRow::Equity, "067", "067"},
        {FormTotal::Revenue, "Ukupni prihodi", false, R, RacunRow::TotalRevenue, "180", "177"},
        {FormTotal::Expenses, "Ukupni rashodi", false, R, RacunRow::TotalExpenses, "181", "178"},
        {FormTotal::ResultBeforeTax, "Rezultat prije poreza", false, R, RacunRow::ResultBeforeTax,
         "182", "179"},
        {FormTotal::NetResult, "Rezultat razdoblja", false, R, RacunRow::NetResult, "186", "183"},
    }};
    return table;
}

std::vector<FormTerm> ParseFormFormula(std::string_view text, std::size_t maxTerms, bool* tooLong) {
    std::vector<FormTerm> terms;
    const auto add = [&](int c, int s) {
        if (terms.size() >= maxTerms) {
            if (tooLong != nullptr) {
                *tooLong = true;
            }
            return false;
        }
        terms.push_back({c, s});
        return true;
    };
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        for (;;) {
            if (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
                ++i;
            } else if (text.substr(i, 2) == "\xC2\xA0") {
                i += 2;  // a no-break space (the texts are UTF-8)
            } else {
                break;
            }
        }
    };
    const auto code = [&](int& out) {
        skipBlanks();
        const std::size_t start = i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0) {
            ++i;
        }
        if (i == start || i - start > 3) {
            return false;
        }
        std::from_chars(text.data() + start, text.data() + i, out);
        return out >= 1;
    };
    skipBlanks();
    if (text.substr(i, 3) == "AOP") {
        i += 3;
    }
    int sign = +1;
    skipBlanks();
    if (i < text.size() && text[i] == '-') {
        sign = -1;
        ++i;
    }
    for (;;) {
        int first = 0;
        if (!code(first)) {
            return {};
        }
        skipBlanks();
        if (text.substr(i, 2) == "do") {
            i += 2;
            int last = 0;
            if (!code(last) || last <= first || last - first > 200) {
                return {};
            }
            for (int c = first; c <= last; ++c) {
                if (!add(c, sign)) {
                    return {};
                }
            }
        } else if (!add(first, sign)) {
            return {};
        }
        skipBlanks();
        if (i == text.size()) {
            return terms;
        }
        if (text[i] == '+') {
            sign = +1;
        } else if (text[i] == '-') {
            sign = -1;
        } else {
            return {};
        }
        ++i;
    }
}

}  // namespace movik
