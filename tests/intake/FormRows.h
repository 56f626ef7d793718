#pragma once
// The codes and labels of the annual form, versions 4.x and 6.x, as the form's public
// descriptions give them; the tests build forms of every version from them.

#include <string_view>

namespace movik::test {

inline constexpr std::string_view kFormRows4 = R"(
001|A) POTRAŽIVANJA ZA UPISANI A NEUPLAĆENI KAPITAL
002|B) DUGOTRAJNA IMOVINA (AOP 003+010+020+031+036)
003|I. NEMATERIJALNA IMOVINA (AOP 004 do 009)
004|1. Izdaci za razvoj
005|2. Koncesije, patenti, licencije, robne i uslužne marke, softver i ostala prava
006|3. Goodwill
007|4. Predujmovi za nabavu nematerijalne imovine
008|5. Nematerijalna imovina u pripremi
009|6. Ostala nematerijalna imovina
010|II. MATERIJALNA IMOVINA (AOP 011 do 019)
011|1. Zemljište
012|2. Građevinski objekti
013|3. Postrojenja i oprema
014|4. Alati, pogonski inventar i transportna imovina
015|5. Biološka imovina
016|6. Predujmovi za materijalnu imovinu
017|7. Materijalna imovina u pripremi
018|8. Ostala materijalna imovina
019|9. Ulaganje u nekretnine
020|III. DUGOTRAJNA FINANCIJSKA IMOVINA (AOP 021 do 030)
021|1. Ulaganja u udjele (dionice) poduzetnika unutar grupe
022|2. Ulaganja u ostale vrijednosne papire poduzetnika unutar grupe
023|3. Dani zajmovi, depoziti i slično poduzetnicima unutar grupe
024|4. Ulaganja u udjele (dionice) društava povezanih sudjelujućim interesom
025|5. Ulaganja u ostale vrijednosne papire društava povezanih sudj. interesom .
026|6. Dani zajmovi, depoziti i slično društvima povezanim sudj. interesom
027|7. Ulaganja u vrijednosne papire
028|8. Dani zajmovi, depoziti i slično
029|9. Ostala ulaganja koja se obračunavaju metodom udjela
030|10. Ostala dugotrajna financijska imovina
031|IV. POTRAŽIVANJA (AOP 032 do 035)
032|1. Potraživanja od poduzetnika unutar grupe
033|2. Potraživanja od društava povezanih sudjelujućim interesom
034|3. Potraživanja od kupaca
035|4. Ostala potraživanja
036|V. ODGOĐENA POREZNA IMOVINA
037|C) KRATKOTRAJNA IMOVINA (AOP 038+046+053+063)
038|I. ZALIHE (AOP 039 do 045)
039|1. Sirovine i materijal
040|2. Proizvodnja u tijeku
041|3. Gotovi proizvodi
042|4. Trgovačka roba
043|5. Predujmovi za zalihe
044|6. Dugotrajna imovina namijenjena prodaji
045|7. Biološka imovina
046|II. POTRAŽIVANJA (AOP 047 do 052)
047|1. Potraživanja od poduzetnika unutar grupe
048|2. Potraživanja od društava povezanih sudjelujućim interesom
049|3. Potraživanja od kupaca
050|4. Potraživanja od zaposlenika i članova poduzetnika
051|5. Potraživanja od države i drugih institucija
052|6. Ostala potraživanja
053|III. KRATKOTRAJNA FINANCIJSKA IMOVINA (AOP 054 do 062)
054|1. Ulaganja u udjele (dionice) poduzetnika unutar grupe
055|2. Ulaganja u ostale vrijednosne papire poduzetnika unutar grupe
056|3. Dani zajmovi, depoziti i slično poduzetnicima unutar grupe
057|4. Ulaganja u udjele (dionice) društava povezanih sudjelujućim interesom
058|5. Ulaganja u ostale vrijednosne papire društava povezanih sudj. interesom .
059|6. Dani zajmovi, depoziti i slično društvima povezanim sudj. interesom
060|7. Ulaganja u vrijednosne papire
061|8. Dani zajmovi, depoziti i slično
062|9. Ostala financijska imovina
063|IV. NOVAC U BANCI I BLAGAJNI
064|D) PLAĆENI TROŠKOVI BUDUĆEG RAZDOBLJA I OBRAČUNATI PRIHODI
065|E) UKUPNO AKTIVA (AOP 001+002+037+064)
066|F) IZVANBILANČNI ZAPISI
067|A) KAPITAL I REZERVE (AOP 068 do 070+076+077+084+087+090)
068|I. TEMELJNI (UPISANI) KAPITAL
069|II. KAPITALNE REZERVE
070|III. REZERVE IZ DOBITI (AOP 071+072-073+074+075)
071|1. Zakonske rezerve
072|2. Rezerve za vlastite dionice
073|3. Vlastite dionice i udjeli (odbitna stavka)
074|4. Statutarne rezerve
075|5. Ostale rezerve
076|IV. REVALORIZACIJSKE REZERVE
077|V. REZERVE FER VRIJEDNOSTI (I OSTALE) (AOP 078 do 083)
078|1. Fer vrijednost financijske imovine kroz ostalu sveobuhvatnu dobit
079|2. Učinkoviti dio zaštite novčanih tokova
080|3. Učinkoviti dio zaštite neto ulaganja u inozemstvu
081|4. Ostale rezerve fer vrijednosti
082|5. Tečajne razlike od preračuna inozemnog poslovanja (konsolidacija)
083|6. ??? (sixth row - not identified)
084|VI. ZADRŽANA DOBIT ILI PRENESENI GUBITAK (AOP 085-086)
085|1. Zadržana dobit
086|2. Preneseni gubitak
087|VII. DOBIT ILI GUBITAK POSLOVNE GODINE (AOP 088-089)
088|1. Dobit poslovne godine
089|2. Gubitak poslovne godine
090|VIII. MANJINSKI (NEKONTROLIRAJUĆI) INTERES
091|B) REZERVIRANJA (AOP 092 do 097)
092|1. Rezerviranja za mirovine, otpremnine i slične obveze
093|2. Rezerviranja za porezne obveze
094|3. Rezerviranja za započete sudske sporove
095|4. Rezerviranja za troškove obnavljanja prirodnih bogatstava
096|5. Rezerviranja za troškove u jamstvenim rokovima
097|6. Druga rezerviranja
098|C) DUGOROČNE OBVEZE (AOP 099 do 109)
099|1. Obveze prema poduzetnicima unutar grupe
100|2. Obveze za zajmove, depozite i slično poduzetnika unutar grupe
101|3. Obveze prema društvima povezanim sudjelujućim interesom
102|4. Obveze za zajmove, depozite i slično društava povezanih sudj. interesom .
103|5. Obveze za zajmove, depozite i slično
104|6. Obveze prema bankama i drugim financijskim institucijama
105|7. Obveze za predujmove
106|8. Obveze prema dobavljačima
107|9. Obveze po vrijednosnim papirima
108|10. Ostale dugoročne obveze
109|11. Odgođena porezna obveza
110|D) KRATKOROČNE OBVEZE (AOP 111 do 124)
111|1. Obveze prema poduzetnicima unutar grupe
112|2. Obveze za zajmove, depozite i slično poduzetnika unutar grupe
113|3. Obveze prema društvima povezanim sudjelujućim interesom
114|4. Obveze za zajmove, depozite i slično društava povezanih sudj. interesom .
115|5. Obveze za zajmove, depozite i slično
116|6. Obveze prema bankama i drugim financijskim institucijama
117|7. Obveze za predujmove
118|8. Obveze prema dobavljačima
119|9. Obveze po vrijednosnim papirima
120|10. Obveze prema zaposlenicima
121|11. Obveze za poreze, doprinose i slična davanja
122|12. Obveze s osnove udjela u rezultatu
123|13. Obveze po osnovi dugotrajne imovine namijenjene prodaji
124|14. Ostale kratkoročne obveze
125|E) ODGOĐENO PLAĆANJE TROŠKOVA I PRIHOD BUDUĆEGA RAZDOBLJA
126|F) UKUPNO - PASIVA (AOP 067+091+098+110+125)
127|G) IZVANBILANČNI ZAPISI
128|I. POSLOVNI PRIHODI (AOP 129 do 133)
129|1. Prihodi od prodaje s poduzetnicima unutar grupe
130|2. Prihodi od prodaje (izvan grupe)
131|3. Prihodi na temelju upotrebe vlastitih proizvoda, robe i usluga
132|4. Ostali poslovni prihodi s poduzetnicima unutar grupe
133|5. Ostali poslovni prihodi (izvan grupe)
134|II. POSLOVNI RASHODI (AOP 135+136+140+144+145+146+149+156)
135|1. Promjene vrijednosti zaliha proizvodnje u tijeku i gotovih proizvoda
136|2. Materijalni troškovi (AOP 137 do 139)
137|a) Troškovi sirovina i materijala
138|b) Troškovi prodane robe
139|c) Ostali vanjski troškovi
140|3. Troškovi osoblja (AOP 141 do 143)
141|a) Neto plaće i nadnice
142|b) Troškovi poreza i doprinosa iz plaća
143|c) Doprinosi na plaće
144|4. Amortizacija
145|5. Ostali troškovi
146|6. Vrijednosna usklađenja (AOP 147+148)
147|a) dugotrajne imovine osim financijske imovine
148|b) kratkotrajne imovine osim financijske imovine
149|7. Rezerviranja (AOP 150 do 155)
150|a) Rezerviranja za mirovine, otpremnine i slične obveze
151|b) Rezerviranja za porezne obveze
152|c) Rezerviranja za započete sudske sporove
153|d) Rezerviranja za troškove obnavljanja prirodnih bogatstava
154|e) Rezerviranja za troškove u jamstvenim rokovima
155|f) Druga rezerviranja
156|8. Ostali poslovni rashodi
157|III. FINANCIJSKI PRIHODI (AOP 158 do 167)
158|1. Prihodi od ulaganja u udjele (dionice) poduzetnika unutar grupe
159|2. Prihodi od ulaganja u udjele (dionice) društava povezanih sudj. interesom
160|3. Prihodi od ostalih dugotrajnih fin. ulaganja i zajmova poduzetnicima u grupi
161|4. Ostali prihodi s osnove kamata iz odnosa s poduzetnicima unutar grupe
162|5. Tečajne razlike i ostali financijski prihodi iz odnosa s poduz. unutar grupe
163|6. Prihodi od ostalih dugotrajnih financijskih ulaganja i zajmova
164|7. Ostali prihodi s osnove kamata
165|8. Tečajne razlike i ostali financijski prihodi
166|9. Nerealizirani dobici (prihodi) od financijske imovine
167|10. Ostali financijski prihodi
168|IV. FINANCIJSKI RASHODI (AOP 169 do 175)
169|1. Rashodi s osnove kamata i slični rashodi s poduzetnicima unutar grupe
170|2. Tečajne razlike i drugi rashodi s poduzetnicima unutar grupe
171|3. Rashodi s osnove kamata i slični rashodi
172|4. Tečajne razlike i drugi rashodi
173|5. Nerealizirani gubici (rashodi) od financijske imovine
174|6. Vrijednosna usklađenja financijske imovine (neto)
175|7. Ostali financijski rashodi
176|V. UDIO U DOBITI OD DRUŠTAVA POVEZANIH SUDJELUJUĆIM INTERESOM
177|VI. UDIO U DOBITI OD ZAJEDNIČKIH POTHVATA
178|VII. UDIO U GUBITKU OD DRUŠTAVA POVEZANIH SUDJELUJUĆIM INTERESOM
179|VIII. UDIO U GUBITKU OD ZAJEDNIČKIH POTHVATA
180|IX. UKUPNI PRIHODI (AOP 128+157+176+177)
181|X. UKUPNI RASHODI (AOP 134+168+178+179)
182|XI. DOBIT ILI GUBITAK PRIJE OPOREZIVANJA (AOP 180-181)
183|1. Dobit prije oporezivanja (AOP 180-181)
184|2. Gubitak prije oporezivanja (AOP 181-180)
185|XII. POREZ NA DOBIT
186|XIII. DOBIT ILI GUBITAK RAZDOBLJA (AOP 182-185)
187|1. Dobit razdoblja (AOP 182-185)
188|2. Gubitak razdoblja (AOP 185-182)
)";

}  // namespace movik::test
