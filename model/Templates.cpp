// The five statement templates: the fixed chart of positions of every statement.
// Texts are UTF-8 and carry their leading (and, in two rows, trailing) blanks.

#include "model/Templates.h"

#include <array>
#include <cstdlib>

namespace movik {

namespace {

constexpr std::array<TPozicija, kBilancaRows> kBilancaTemplate = {{
    {1, "b", false, "A.Potraživanja za upisani a neuplaćeni kapital", "#,##0.00"},
    {2, "b", true, "B.Dugotrajna imovina", "#,##0.00"},
    {3, "", true, "   I.Nematerijalna imovina", "#,##0.00"},
    {4, "", false, "      1.Osnivački izdaci", "#,##0.00"},
    {5, "", false, "      2.Izdaci za istraživanje i razvoj", "#,##0.00"},
    {6, "", false, "      3.Patenti,licencije,koncesije,zašt. znaci ...", "#,##0.00"},
    {7, "", false, "      4.Goodwill", "#,##0.00"},
    {8, "", false, "      5.Predujmovi za nemater.sredstva", "#,##0.00"},
    {9, "", true, "   II.Materijalna imovina", "#,##0.00"},
    {10, "", false, "      1.Zemljište i šume", "#,##0.00"},
    {11, "", false, "      2.Građevinski objekti", "#,##0.00"},
    {12, "", false, "      3.Postrojenja i oprema(strojevi)", "#,##0.00"},
    {13, "", false, "      4.Alati,pogonski i uredski inventar namještaj ...", "#,##0.00"},
    {14, "", false, "      5.Predujmovi za materijalna sredstva", "#,##0.00"},
    {15, "", false, "      6.Materijalna sredstva u pripremi", "#,##0.00"},
    {16, "", false, "      7.Stambene zgrade i stanovi", "#,##0.00"},
    {17, "", false, "      8.Ostala materijalna sredstva", "#,##0.00"},
    {18, "", true, "   III.Financijska imovina", "#,##0.00"},
    {19, "", false, "      1.Udjeli(dionice) u povezanim poduzećima", "#,##0.00"},
    {20, "", false, "      2.Zajmovi povezanim poduzećima", "#,##0.00"},
    {21, "", false, "      3.Sudjelujući interesi (participacije)", "#,##0.00"},
    {22, "", false, "      4.Ulaganja u vrijednosne papire", "#,##0.00"},
    {23, "", false, "      5.Dani krediti, depoziti i kaucije", "#,##0.00"},
    {24, "", false, "      6.Obvezna dugoročna ulaganja", "#,##0.00"},
    {25, "", false, "      7.Otkup vlastitih dionica", "#,##0.00"},
    {26, "", false, "      8.Ostala dugoročna ulaganja", "#,##0.00"},
    {27, "", true, "   IV.Potraživanja", "#,##0.00"},
    {28, "", false, "      1.Potraživanja od povezanih poduzeća", "#,##0.00"},
    {29, "", false, "      2.Potraživanja po osnovi prodaje na kredit", "#,##0.00"},
    {30, "", false, "      3.Ostala potraživanja", "#,##0.00"},
    {31, "b", true, "C.Kratkotrajna imovina (obrtna sredstva)", "#,##0.00"},
    {32, "", true, "   I.  Zalihe", "#,##0.00"},
    {33, "", false, "      1.Sirovine i materijali", "#,##0.00"},
    {34, "", false, "      2.Proizvodnja u tijeku (nedov. proiz. i polupr.)", "#,##0.00"},
    {35, "", false, "      3.Trgovačka roba", "#,##0.00"},
    {36, "", false, "      4.Gotovi proizvodi", "#,##0.00"},
    {37, "", false, "      5.Predujmovi", "#,##0.00"},
    {38, "", true, "   II. Potraživanja", "#,##0.00"},
    {39, "", false, "      1.Potraživanja od povezanih poduzeća", "#,##0.00"},
    {40, "", false, "      2.Potraživanja od kupaca", "#,##0.00"},
    {41, "", false, "      3.Potraž. od više plać. svote po osnovi dobiti", "#,##0.00"},
    {42, "", false, "      4.Potraživanja od zaposlenih", "#,##0.00"},
    {43, "", false, "      5.Potraživanja od države i drugih institucija", "#,##0.00"},
    {44, "", false, "      6.Ostala potraživanja", "#,##0.00"},
    {45, "", true, "   III.Financijska imovina", "#,##0.00"},
    {46, "", false, "      1.Udjeli (dionice) u povezanim poduzećima", "#,##0.00"},
    {47, "", false, "      2.Zajmovi povezanim poduzećima", "#,##0.00"},
    {48, "", false, "      3.Vrijednosni papiri", "#,##0.00"},
    {49, "", false, "      4.Dani krediti, depoziti i kaucije", "#,##0.00"},
    {50, "", false, "      5.Otkup vlastitih dionica", "#,##0.00"},
    {51, "", false, "      6.Ostala kratkoročna ulaganja", "#,##0.00"},
    {52, "", false, "   IV.Novac na računu i u blagajni", "#,##0.00"},
    {53, "b", false, "D.Aktivna vremenska razgraničenja", "#,##0.00"},
    {54, "b", false, "E.Gubitak iznad visine kapitala", "#,##0.00"},
    {55, "b", true, "F.UKUPNA AKTIVA", "#,##0.00"},
    {56, "b", false, "G.Izvanbilančni zapisi", "#,##0.00"},
    {57, "b", true, "A.Kapital i rezerve", "#,##0.00"},
    {58, "", false, "   I.   Upisani kapital", "#,##0.00"},
    {59, "", false, "   II.  Premije na emitirane dionice", "#,##0.00"},
    {60, "", false, "   III. Revalorizacijske rezerve", "#,##0.00"},
    {61, "", false, "   IV.Rezerve", "#,##0.00"},
    {62, "", false, "   V.a)  Zadržana dobit", "#,##0.00"},
    {63, "", false, "   V.b)  Preneseni gubitak", "#,##0.00"},
    {64, "", false, "   VI.a) Dobit tekuće godine", "#,##0.00"},
    {65, "", false, "   VI.b) Gubitak tekuće godine", "#,##0.00"},
    {66, "b", false, "B.Dugoročna rezerv. za rizike i trošk.", "#,##0.00"},
    {67, "b", true, "C.Dugoročne obveze", "#,##0.00"},
    {68, "", false, "   1.Obveze prema povezanim poduzećima", "#,##0.00"},
    {69, "", false, "   2.Obveze po osnovi zajmova", "#,##0.00"},
    {70, "", false, "   3.Obveze prema kreditnim institucijama", "#,##0.00"},
    {71, "", false, "   4.Obveze za predujmove", "#,##0.00"},
    {72, "", false, "   5.Obveze prema dobavljačima....", "#,##0.00"},
    {73, "", false, "   6.Obveze po vrijednosnim papirima", "#,##0.00"},
    {74, "", false, "   7.Ostale dug.obveze uklj. porez i soc. osig.", "#,##0.00"},
    {75, "b", true, "D.Kratkoročne obveze", "#,##0.00"},
    {76, "", false, "   1.Obveze prema povezanim poduzećima", "#,##0.00"},
    {77, "", false, "   2.Obveze po osnovi zajmova", "#,##0.00"},
    {78, "", false, "   3.Obveze prema kreditnim institucijama", "#,##0.00"},
    {79, "", false, "   4.Obveze za predujmove, depozite i jamstva", "#,##0.00"},
    {80, "", false, "   5.Obveze prema dobavljačima", "#,##0.00"},
    {81, "", false, "   6.Obveze prema mjenicama i čekovima", "#,##0.00"},
    {82, "", false, "   7.Obveze prema zaposlenima", "#,##0.00"},
    {83, "", false, "   8.Obveze za poreze, dopr. i druge pristojbe", "#,##0.00"},
    {84, "", false, "   9.Obveze po osnovi udjela u rezultatu", "#,##0.00"},
    {85, "", false, "   10.Ostale kratkoročne obveze", "#,##0.00"},
    {86, "b", false, "E.Pasivna vremenska razgraničenja", "#,##0.00"},
    {87, "b", true, "F.UKUPNA PASIVA", "#,##0.00"},
    {88, "b", false, "G.Izvanbilančni zapisi", "#,##0.00"},
}};

constexpr std::array<TPozicija, kRacunRows> kRacunTemplate = {{
    {1, "b", true, "A. Poslovni prihodi", "#,##0.00"},
    {2, "", false, "   1.Prihodi od prodaje u zemlji", "#,##0.00"},
    {3, "", false, "   2.Prihodi od prodaje u inozemstvu", "#,##0.00"},
    {4, "", false, "   3.Prihodi od kompenzacija, subvencija, dotacija", "#,##0.00"},
    {5, "", false, "   4.Prihodi na temelju uporabe vlastitih proizvoda ...", "#,##0.00"},
    {6, "", false, "   5.Ostali poslovni prihodi", "#,##0.00"},
    {7, "b", true, "B. Poslovni rashodi", "#,##0.00"},
    {8, "", false, "   I.a)Povećanje vrij. zaliha ...", "#,##0.00"},
    {9, "", false, "   I.b)Smanjenje vrij. zaliha ...", "#,##0.00"},
    {10, "", true, "   II.Rashodi razdoblja", "#,##0.00"},
    {11, "", true, "      1.Materijalni troškovi", "#,##0.00"},
    {12, "", false, "         a) troškovi sirovina i materijala", "#,##0.00"},
    {13, "", false, "         b) troškovi prodane robe", "#,##0.00"},
    {14, "", false, "         c) ostali vanjski troškovi", "#,##0.00"},
    {15, "", true, "      2.Troškovi osoblja", "#,##0.00"},
    {16, "", false, "         a) nadnice i plaće (neto)", "#,##0.00"},
    {17, "", false, "         b) troškovi poreza, soc. i mirov.osiguranja i dr.", "#,##0.00"},
    {18, "", true, "      3.Amortizacija i vrijed. usklađivanje dugotr. imovine", "#,##0.00"},
    {20, "", true, "         3.1. Amortizacija dugotrajne imovine", "#,##0.00"},
    {21, "", false, "            a) Nematerijalna imovina", "#,##0.00"},
    {22, "", false, "            b) Materijalna imovina", "#,##0.00"},
    {23, "", false, "         3.2. Vrijednosno uskađivanje dugotrajne imovine", "#,##0.00"},
    {19, "", false, "      4.Vrijednosno usklađivanje kratkotrajne imovine", "#,##0.00"},
    {24, "", false, "      5.Rezerviranje troškova i rizika", "#,##0.00"},
    {25, "", false, "      6.Ostali troškovi poslovanja", "#,##0.00"},
    {26, "b", true, "C. Financijski prihodi", "#,##0.00"},
    {27, "", false, "   1.Prih. od sudjel. interesa s povez. pod.", "#,##0.00"},
    {28, "", false, "   2.Prih. od sudjel. interesa s nepovez. pod.", "#,##0.00"},
    {29, "", false, "   3.Prih. od ostalih ulag. s povez. pod.", "#,##0.00"},
    {30, "", false, "   4.Prih. od ostalih ulag. s nepovez. pod.", "#,##0.00"},
    {31, "", false, "   5.Prih. od ostalih interesa s povez. pod.", "#,##0.00"},
    {32, "", false, "   6.Prih. od ostalih interesa s nepovez. pod.", "#,##0.00"},
    {33, "b", true, "D. Financijski rashodi", "#,##0.00"},
    {34, "", false, "   1.Kamate,teč.razlike ... iz odnosa s povez. pod.", "#,##0.00"},
    {35, "", false, "   2.Kamate,teč.razlike ... iz odnosa s nepovez. pod.", "#,##0.00"},
    {36, "b", true, "Ukupni prihodi iz redovnog poslovanja", "#,##0.00"},
    {37, "b", true, "Ukupni rashodi iz redovnog poslovanja", "#,##0.00"},
    {38, "b", false, "E. Izvanredni prihodi", "#,##0.00"},
    {39, "b", false, "F. Izvanredni rashodi", "#,##0.00"},
    {40, "b", true, "Ukupni prihodi", "#,##0.00"},
    {41, "b", true, "Ukupni rashodi", "#,##0.00"},
    {42, "b", true, "Rezultat prije poreza", "#,##0.00"},
    {43, "", false, "Porez na dobit", "#,##0.00"},
    {44, "", false, "Ostali porezi koji se nisu iskazani u prethodnim pozicijama", "#,##0.00"},
    {45, "b", true, "REZULTAT POSLIJE POREZA", "#,##0.00"},
}};

constexpr std::array<TPozicija, kCFIndRows> kCFIndTemplate = {{
    {1, "", true, "      Neto dobit (gubitak)", "#,##0.00"},
    {2, "", true, "      Amortizacija", "#,##0.00"},
    {3, "", true, "   Novčani tok iz rezultata (1+2)", "#,##0.00"},
    {4, "", true, "   Smanjenje (povećanje) vrijednosti zaliha", "#,##0.00"},
    {5, "", true, "   Smanjenje (povećanje) kratkoročnih potraživanja", "#,##0.00"},
    {6, "", true, "   Smanjenje (povećanje) aktivnih vremenskih razgraničenja", "#,##0.00"},
    {7, "", true, "   Povećanje (smanjenje) kratkoročnih obveza", "#,##0.00"},
    {8, "", true, "   Povećanje (smanjenje) pasivnih vremenskih razgraničenja", "#,##0.00"},
    {9, "", true, "   Povećanje (smanjenje) dugoročnih rezerviranja", "#,##0.00"},
    {10, "b", true, "A. Novčani tok od poslovnih aktivnosti (3+...+9)", "#,##0.00"},
    {11, "", true, "   Smanjenje (povećanje) nematerijalne dugotrajne imovine", "#,##0.00"},
    {12, "", true, "   Smanjenje (povećanja) materijalne dugotrajne imovine", "#,##0.00"},
    {13, "", true, "   Smanjenje (povećanje) financijske dugotrajne imovine", "#,##0.00"},
    {14, "", true, "   Smanjanje (povećanje) dugoročnih potraživanja", "#,##0.00"},
    {15, "", true, "   Smanjenje (povećanje) kratkotrajne financijske imovine", "#,##0.00"},
    {16, "b", true, "B. Novčani tok od investicijskih aktivnosti (11+...+15)", "#,##0.00"},
    {17, "", true, "   Smanjenje (povećanje) vlastitih dionica", "#,##0.00"},
    {18, "", true, "   Povećanje (smanjenje) vlastitog kapitala", "#,##0.00"},
    {19, "", true, "   Povećanje (smanjenje) dugoročnih obveza prema povez.pod.", "#,##0.00"},
    {20, "", true, "   Povećanje (smanjenje) dugoročnih obveza s osnove zajmova", "#,##0.00"},
    {21, "", true, "   Povećanje (smanjenje) dugoročnih obveza prema kreditorima", "#,##0.00"},
    {22, "", true, "   Povećanje (smanjenje) ostalih dugoročnih obveza", "#,##0.00"},
    {23, "", true, "   Povećanje (smanjenje) kratkoroč.obveza prema povez.pod.", "#,##0.00"},
    {24, "", true, "   Povećanje (smanjenje) kratkoroč.obveza s osnova zajmova", "#,##0.00"},
    {25, "", true, "   Povećanje (smanjenje) kratkoroč.obveza prema kredit. instit.", "#,##0.00"},
    {26, "", true, "   Povećanje (smanjenje) kratkoroč.obveza s osnove udjela rezult.", "#,##0.00"},
    {27, "b", true, "C. Novčani tok od financijskih aktivnosti (17+...+26)", "#,##0.00"},
    {28, "b", true, "UKUPNI NOVČANI TOK (10+16+27)", "#,##0.00"},
    {29, "", true, "   Početno stanje novčanih sredstava", "#,##0.00"},
    {30, "", true, "   Završno stanje novčanih sredstava", "#,##0.00"},
    {31, "b", true, "PROMJENA STANJA NOVČANIH SREDSTAVA (30-29)", "#,##0.00"},
}};

constexpr std::array<TPozicija, kCFFreeRows> kCFFreeTemplate = {{
    {1, "", true, "Dobit (gubitak) prije poreza i kamata", "#,##0.00"},
    {2, "", true, "Porez na dobit", "#,##0.00"},
    {3, "", true, "Amortizacija", "#,##0.00"},
    {4, "b", true, "A. Bruto novčani tok (1-2+3)", "#,##0.00"},
    {5, "b", true, "B.1. Promjene na pozicijama obrtnog kapitala (6+...+13)", "#,##0.00"},
    {6, "", true, "   Novčana sredstva", "#,##0.00"},
    {7, "", true, "   Potraživanja od kupaca", "#,##0.00"},
    {8, "", true, "   Zalihe", "#,##0.00"},
    {9, "", true, "   Ostala kratkotrajna imovina", "#,##0.00"},
    {10, "", true, "   Aktivna vremenska ograničenja", "#,##0.00"},
    {11, "", true, "   Obveze prema dobavljačima", "#,##0.00"},
    {12, "", true, "   Ostale kratkoročne obveze", "#,##0.00"},
    {13, "", true, "   Pasivna vremenska razgraničenja", "#,##0.00"},
    {14, "b", true, "B.2. Kapitalni izdaci i primici (15+16)", "#,##0.00"},
    {15, "", true, "   Promjene dugotrajne imovine", "#,##0.00"},
    {16, "", true, "   Amortizacija", "#,##0.00"},
    {17, "b", true, "B.3. Promjene dugoročnih rezerviranja ", "#,##0.00"},
    {18, "b", true, "B. Bruto ulaganja (5+14-17)", "#,##0.00"},
    {19, "b", true, "Slobodni novčani tok iz poslovanja (4-18)", "#,##0.00"},
    {20, "b", true, "Neposlovni novčani tok", "#,##0.00"},
    {21, "b", true, "SLOBODNI NOVČANI TOK (19+20)", "#,##0.00"},
    {22, "", true, "   Rashod od kamata", "#,##0.00"},
    {23, "", true, "   Porast (smanjenje) zadržane dobiti", "#,##0.00"},
    {24, "", true, "   Porast (smanjenje) dugoročnih obveza", "#,##0.00"},
    {25, "", true, "   Porast (smanjenje) kratkoroč. obveza prema povez.pod.", "#,##0.00"},
    {26, "", true, "   Porast (smanjenje) kratkoroč. kredita i zajmova", "#,##0.00"},
    {27, "", true, "   Porast (smanjenje) kratkoroč. obveza iz udjela u rezultatu", "#,##0.00"},
    {28, "b", true, "NOVČANI TOK OD FINANCIRANJA (22+...+27)", "#,##0.00"},
}};

constexpr std::array<TPozicija, kPokRows> kPokTemplate = {{
    {1, "b", true, "A. LIKVIDNOST", "#.##"},
    {2, "", true, "   1. Kratkoročna likvidnost", "#,##0.00"},
    {3, "", true, "   2. Trenutna likvidnost", "#,##0.00"},
    {4, "", true, "   3. Dostatna likvidnost u danima", "#,##0"},
    {5, "b", true, "B. AKTIVNOST", "#.##"},
    {6, "", true, "   1. Dani naplate potraživanja od kupaca", "#,##0"},
    {7, "", true, "   2. Dani plaćanja dobavljačima", "#,##0"},
    {8, "", true, "   3. Dani vezivanja kratkotrajne imovine", "#,##0"},
    {9, "", true, "   4. Dani vezivanja ukupne imovine", "#,##0;"},
    {10, "b", true, "C. PROFITABILNOST", "#.##"},
    {11, "", true, "   1. Profina stopa poslovnih prihoda", "#,##0.00%"},
    {12, "", true, "   2. Stopa povrata od ukupne imovine ", "#,##0.00%"},
    {13, "", true, "   3. Stopa povrata od vlastitog kapitala", "#,##0.00%"},
    {14, "", true, "   4. Zarada po dionici (u KN)", "#,###.##"},
    {15, "b", true, "D. ZADUŽENOST I POKRIĆE", "#.##"},
    {16, "", true, "   1. Omjer dugoročnih obveza i ukupne imovine", "#,##0.00%"},
    {17, "", true, "   2. Omjer vlastitog kapitala i ukupne imovine", "#,##0.00%"},
    {18, "", true, "   3. Koeficijent pokrića kamata", "#,##0.00"},
    {19, "", true, "   4. Knjigovodstvena vrijednost 1 dionice (u KN)", "#,###.##"},
}};

template <std::size_t N>
const TPozicija& RowOf(const std::array<TPozicija, N>& table, int n) {
    if (n < 1 || static_cast<std::size_t>(n) > N) {
        // A row outside the table is a programming error; stop rather than read past the array.
        std::abort();
    }
    return table[static_cast<std::size_t>(n - 1)];
}

}  // namespace

const TPozicija& TemplateRow(Statement s, int n) {
    switch (s) {
        case Statement::Bilanca:
            return RowOf(kBilancaTemplate, n);
        case Statement::Racun:
            return RowOf(kRacunTemplate, n);
        case Statement::CFInd:
            return RowOf(kCFIndTemplate, n);
        case Statement::CFFree:
            return RowOf(kCFFreeTemplate, n);
        case Statement::Pok:
            return RowOf(kPokTemplate, n);
    }
    std::abort();
}

}  // namespace movik
