#include "reports/StatementReports.h"
#include "movik/Version.h"

#include <algorithm>
#include <utility>

namespace movik {

namespace {

const char* const kArialCE = "Arial CE";
const char* const kArial = "Arial";
constexpr double kBandWidth = 190;  // A4 less two 10 mm margins

LabelFont Font(const char* family, double size, bool bold = false, bool italic = false) {
    return LabelFont{family, size, bold, italic};
}

// A left-justified label whose width grows with its text.
ReportLabel AutoLabel(std::string name, double left, double top, LabelFont font,
                      std::string caption = {}) {
    ReportLabel l;
    l.name = std::move(name);
    l.left = left;
    l.top = top;
    l.autoWidth = true;
    l.font = std::move(font);
    l.caption = std::move(caption);
    return l;
}

// A label justified in the span from left to right (mm from the band's left edge).
ReportLabel SpanLabel(std::string name, double left, double right, double top, Justify justify,
                      LabelFont font, std::string caption = {}) {
    ReportLabel l;
    l.name = std::move(name);
    l.left = left;
    l.top = top;
    l.width = right - left;
    l.justify = justify;
    l.font = std::move(font);
    l.caption = std::move(caption);
    return l;
}

ReportLabel CentredOnBand(std::string name, double top, LabelFont font, std::string caption = {}) {
    return SpanLabel(std::move(name), 0, kBandWidth, top, Justify::Center, std::move(font),
                     std::move(caption));
}

ReportLabel FromFeed(ReportLabel l, int tag) {
    l.tag = tag;
    l.fromFeed = true;
    return l;
}

ReportBand PageHeader(double height, double seatTop, const char* family) {
    ReportBand b;
    b.kind = BandKind::PageHeader;
    b.height = height;
    b.frameBottom = true;
    b.labels.push_back(AutoLabel("lPoduzece", 0, 0, Font(family, 10, true)));
    b.labels.push_back(AutoLabel("lSjediste", 0, seatTop, Font(family, 8)));
    return b;
}

ReportBand PageFooter(double height, double labelTop) {
    ReportBand b;
    b.kind = BandKind::PageFooter;
    b.height = height;
    b.frameTop = true;
    b.labels.push_back(AutoLabel("lVerzija", 0, labelTop, Font(kArialCE, 6), kProgramTitle));
    return b;
}

ReportBand Title(double height, std::vector<ReportLabel> labels) {
    ReportBand b;
    b.kind = BandKind::Title;
    b.height = height;
    b.labels = std::move(labels);
    return b;
}

// A caption of the column header: left-justified at left, or right-justified in left..right.
struct Caption {
    std::string name;
    double left;
    double right;  // 0: left-justified with automatic width
    std::string text;
};

// Italic captions, vertically centred on a rectangle with top and bottom lines from rectLeft to
// rectRight.
ReportBand ColumnHeader(double height, double size, double rectLeft, double rectRight,
                        const std::vector<Caption>& captions) {
    ReportBand b;
    b.kind = BandKind::ColumnHeader;
    b.height = height;
    b.shapes.push_back(
        {ReportShape::Kind::RectTopBottom, rectLeft, 0, rectRight - rectLeft, height});
    const LabelFont font = Font(kArialCE, size, false, true);
    const double top = std::max(0.0, (height - LineHeightMm(font)) / 2);
    for (const Caption& c : captions) {
        b.labels.push_back(
            c.right == 0 ? AutoLabel(c.name, c.left, top, font, c.text)
                         : SpanLabel(c.name, c.left, c.right, top, Justify::Right, font, c.text));
    }
    return b;
}

// A detail band: every label reads its text from the feed by its tag.
ReportBand Detail(double height, std::vector<ReportLabel> labels) {
    ReportBand b;
    b.kind = BandKind::Detail;
    b.height = height;
    b.labels = std::move(labels);
    return b;
}

ReportBand Summary(double height, double lineLeft, double lineRight) {
    ReportBand b;
    b.kind = BandKind::Summary;
    b.height = height;
    b.shapes.push_back({ReportShape::Kind::HorizontalLine, lineLeft, 0, lineRight - lineLeft, 0});
    return b;
}

// The detail band of both balance sheet halves; only the position label differs.
ReportBand BilancaDetail(double height, double textLeft) {
    const LabelFont f = Font(kArialCE, 8);
    return Detail(height, {FromFeed(AutoLabel("lRbr", 9.9, 0, f), 1),
                           FromFeed(AutoLabel("lPozicija", textLeft, 0, f), 2),
                           FromFeed(SpanLabel("lPr", 81.4, 118.4, 0, Justify::Right, f), 3),
                           FromFeed(SpanLabel("lUdioPr", 119.1, 132.3, 0, Justify::Right, f), 4),
                           FromFeed(SpanLabel("lTk", 133.6, 165.4, 0, Justify::Right, f), 5),
                           FromFeed(SpanLabel("lUdioTk", 166.0, 179.2, 0, Justify::Right, f), 6)});
}

ReportBand BilancaColumnHeader(double textLeft) {
    return ColumnHeader(4.6, 8, 7.9, 181.5,
                        {{"lHRbr", 9.9, 0, "Rbr"},
                         {"lHPozicija", textLeft, 0, "P  o  z  i  c  i  j  a"},
                         {"lPrethodna", 81.4, 118.4, "Prethodna godina"},
                         {"lHUdioPr", 119.1, 132.3, "Udio (%)"},
                         {"lTekuca", 133.6, 165.4, "Tekuća godina"},
                         {"lHUdioTk", 166.0, 179.2, "Udio (%)"}});
}

// The detail band of the three one-amount reports.
ReportBand AmountDetail(double labelTop, double rbrLeft, double textLeft, double valueLeft,
                        double valueRight) {
    const LabelFont f = Font(kArialCE, 10);
    return Detail(
        5.6,
        {FromFeed(AutoLabel("lRbr", rbrLeft, labelTop, f), 1),
         FromFeed(AutoLabel("lPozicija", textLeft, labelTop, f), 2),
         FromFeed(SpanLabel("lIznos", valueLeft, valueRight, labelTop, Justify::Right, f), 3)});
}

}  // namespace

StatementReport::StatementReport(ReportFeed& feed, const ReportFacts& facts)
    : feed_(feed), key_(facts.key) {
    jobName = std::string(facts.jobName);
}

bool StatementReport::DetailBeforePrint(ReportBand& band) {
    if (band.kind != BandKind::Detail)
        return true;
    const bool bold = feed_.ReportRowStyle(key_) == FontStyle::Bold;
    for (const std::string& name : styled_) {
        if (ReportLabel* l = band.label(name))
            l->font.bold = bold;
    }
    return true;
}

bool StatementReport::ReportBeforePrint() {
    if (!feed_.ReportReady(key_))
        return false;
    feed_.SetReportReady(key_, false);
    return true;
}

TqrAktiva::TqrAktiva(ReportFeed& feed)
    : StatementReport(feed, FactsOf(Statement::Bilanca).reports[0]) {
    needData = [this] { return qrBilancaNeedData(); };
    labelText = [this](const ReportLabel& l) { return lTkPrint(l); };
    beforeBand = [this](ReportBand& band) { return QRBand1BeforePrint(band); };
    beforeReport = [this] { return qrAktivaBeforePrint(); };
    afterReport = [this] { qrAktivaAfterPrint(); };
    bands.push_back(PageHeader(8.6, 4.6, kArialCE));
    bands.push_back(
        Title(14.6, {CentredOnBand("lNaslov", 4.3, Font(kArialCE, 12, true), "Bilanca"),
                     AutoLabel("lTipBilance", 7.9, 9.9, Font(kArialCE, 10, true), "Aktiva"),
                     SpanLabel("lIznosi", 129.3, 179.2, 9.9, Justify::Right, Font(kArial, 8))}));
    bands.push_back(BilancaColumnHeader(17.9));
    bands.push_back(BilancaDetail(4.0, 17.9));
    ReportBand summary = Summary(10.6, 7.9, 181.5);
    summary.labels.push_back(SpanLabel("lUpozorenje", 7.9, 7.9 + 181.2, 3.6, Justify::Left,
                                       Font(kArial, 8, true, true)));
    bands.push_back(std::move(summary));
    bands.push_back(PageFooter(9.9, 2.0));
    SetStyledDetailLabels({"lRbr", "lPozicija", "lPr", "lTk"});
}

TqrPasiva::TqrPasiva(ReportFeed& feed)
    : StatementReport(feed, FactsOf(Statement::Bilanca).reports[1]) {
    needData = [this] { return qrBilancaNeedData(); };
    labelText = [this](const ReportLabel& l) { return lTkPrint(l); };
    beforeBand = [this](ReportBand& band) { return QRBand1BeforePrint(band); };
    beforeReport = [this] { return qrPasivaBeforePrint(); };
    afterReport = [this] { qrPasivaAfterPrint(); };
    bands.push_back(PageHeader(8.6, 4.6, kArialCE));
    bands.push_back(
        Title(13.6, {CentredOnBand("lNaslov", 2.0, Font(kArialCE, 12, true), "Bilanca"),
                     AutoLabel("lTipBilance", 7.9, 8.6, Font(kArialCE, 10, true), "Pasiva"),
                     SpanLabel("lIznosi", 119.1, 179.3, 9.6, Justify::Right, Font(kArial, 8))}));
    bands.push_back(BilancaColumnHeader(16.5));
    bands.push_back(BilancaDetail(4.3, 16.5));
    ReportBand summary = Summary(7.6, 7.9, 181.5);
    summary.labels.push_back(AutoLabel("lUpozorenje", 7.9, 3.6, Font(kArial, 8, true, true)));
    bands.push_back(std::move(summary));
    bands.push_back(PageFooter(9.9, 2.0));
    SetStyledDetailLabels({"lRbr", "lPozicija", "lPr", "lTk"});
}

TqrRacun::TqrRacun(ReportFeed& feed) : StatementReport(feed, FactsOf(Statement::Racun).reports[0]) {
    needData = [this] { return qrRacunNeedData(); };
    labelText = [this](const ReportLabel& l) { return lRbrPrint(l); };
    beforeBand = [this](ReportBand& band) { return QRBand2BeforePrint(band); };
    beforeReport = [this] { return qrRacunBeforePrint(); };
    afterReport = [this] { qrRacunAfterPrint(); };
    bands.push_back(PageHeader(8.6, 4.6, kArialCE));
    bands.push_back(Title(
        25.5, {CentredOnBand("lNaslov", 7.9, Font(kArialCE, 12, true), "Račun dobiti i gubitka"),
               CentredOnBand("lRacRazd", 13.6, Font(kArialCE, 10, true)),
               SpanLabel("lIznosi", 107.5, 179.3, 21.2, Justify::Right, Font(kArialCE, 8))}));
    bands.push_back(ColumnHeader(5.6, 10, 7.9, 181.5,
                                 {{"lHRbr", 9.9, 0, "Rbr"},
                                  {"lHPozicija", 19.2, 0, "P o z i c i j a"},
                                  {"lHIznos", 126.7, 159.8, "Iznos"},
                                  {"lHUdio", 165.7, 0, "Udio (%)"}}));
    const LabelFont f = Font(kArialCE, 10);
    bands.push_back(
        Detail(4.6, {FromFeed(SpanLabel("lRbr", 9.9, 9.9 + 6.6, 0, Justify::Left, f), 1),
                     FromFeed(AutoLabel("lPozicija", 19.2, 0, f), 2),
                     FromFeed(SpanLabel("lPr", 126.7, 159.8, 0, Justify::Right, f), 3),
                     FromFeed(SpanLabel("lTk", 165.7, 178.9, 0, Justify::Right, f), 4)}));
    bands.push_back(Summary(3.3, 7.9, 181.5));
    bands.push_back(PageFooter(9.9, 2.0));
    SetStyledDetailLabels({"lRbr", "lPozicija", "lPr", "lTk"});
}

TqrCFInd::TqrCFInd(ReportFeed& feed) : StatementReport(feed, FactsOf(Statement::CFInd).reports[0]) {
    needData = [this] { return qrCFIndNeedData(); };
    labelText = [this](const ReportLabel& l) { return lRbrPrint(l); };
    beforeBand = [this](ReportBand& band) { return QRBand2BeforePrint(band); };
    beforeReport = [this] { return qrCFIndBeforePrint(); };
    afterReport = [this] { qrCFIndAfterPrint(); };
    bands.push_back(PageHeader(8.6, 4.6, kArial));
    bands.push_back(Title(
        29.4, {SpanLabel("lNaslov", 52.9, 137.6, 11.9, Justify::Center, Font(kArialCE, 12, true),
                         "Indirektna metoda novčanog toka"),
               SpanLabel("lIndRazd", 52.9, 137.6, 17.7, Justify::Center, Font(kArialCE, 10, true)),
               SpanLabel("lIznosi", 104.8, 171.6, 25.8, Justify::Right, Font(kArialCE, 8))}));
    bands.push_back(ColumnHeader(5.3, 10, 19.8, 175.4,
                                 {{"lHRbr", 22.8, 0, "Rbr"},
                                  {"lHPozicija", 32.1, 0, "P o z i c i j a"},
                                  {"lHIznos", 138.9, 172.0, "I z n o s"}}));
    bands.push_back(AmountDetail(0.7, 22.8, 31.8, 138.9, 172.0));
    bands.push_back(Summary(4.6, 19.8, 175.4));
    bands.push_back(PageFooter(9.9, 2.0));
    SetStyledDetailLabels({"lRbr", "lPozicija", "lIznos"});
}

TqrCFFree::TqrCFFree(ReportFeed& feed)
    : StatementReport(feed, FactsOf(Statement::CFFree).reports[0]) {
    needData = [this] { return qrCFFreeNeedData(); };
    labelText = [this](const ReportLabel& l) { return lRbrPrint(l); };
    beforeBand = [this](ReportBand& band) { return QRBand2BeforePrint(band); };
    beforeReport = [this] { return qrCFFreeBeforePrint(); };
    afterReport = [this] { qrCFFreeAfterPrint(); };
    bands.push_back(PageHeader(8.6, 4.6, kArial));
    bands.push_back(Title(
        30.4, {SpanLabel("lNaslov", 47.0, 152.8, 12.6, Justify::Center, Font(kArialCE, 12, true),
                         "Metoda slobodnog novčanog toka"),
               SpanLabel("lFreeRazd", 47.0, 152.8, 17.9, Justify::Center, Font(kArialCE, 12, true)),
               SpanLabel("lIznosi", 109.5, 172.0, 26.1, Justify::Right, Font(kArialCE, 8))}));
    bands.push_back(ColumnHeader(5.3, 10, 19.8, 175.2,
                                 {{"lHRbr", 23.2, 0, "Rbr"},
                                  {"lHPozicija", 33.1, 0, "P o z i c i j a"},
                                  {"lHIznos", 132.3, 172.0, "I z n o s"}}));
    bands.push_back(AmountDetail(0.7, 23.2, 33.1, 132.3, 172.0));
    bands.push_back(Summary(4.6, 19.8, 175.2));
    bands.push_back(PageFooter(9.9, 2.0));
    SetStyledDetailLabels({"lRbr", "lPozicija", "lIznos"});
}

TqrPok::TqrPok(ReportFeed& feed) : StatementReport(feed, FactsOf(Statement::Pok).reports[0]) {
    needData = [this] { return qrCFFreeNeedData(); };
    labelText = [this](const ReportLabel& l) { return lRbrPrint(l); };
    beforeBand = [this](ReportBand& band) { return QRBand2BeforePrint(band); };
    beforeReport = [this] { return qrPokBeforePrint(); };
    afterReport = [this] { qrPokAfterPrint(); };
    bands.push_back(PageHeader(8.9, 4.3, kArialCE));
    bands.push_back(Title(
        30.4, {CentredOnBand("lNaslov", 12.2, Font(kArialCE, 12, true), "Financijski pokazatelji"),
               SpanLabel("lPokRazd", 58.6, 131.4, 18.1, Justify::Center, Font(kArialCE, 10))}));
    bands.push_back(ColumnHeader(5.3, 10, 28.1, 163.4,
                                 {{"lHRbr", 33.4, 0, "Rbr"},
                                  {"lHPozicija", 42.7, 0, "P o z i c i j a"},
                                  {"lHIznos", 117.7, 157.4, "I z n o s"}}));
    bands.push_back(AmountDetail(0.3, 33.4, 42.7, 117.7, 157.4));
    bands.push_back(Summary(4.3, 28.1, 163.4));
    bands.push_back(PageFooter(9.6, 1.7));
    SetStyledDetailLabels({"lRbr", "lPozicija", "lIznos"});
}

}  // namespace movik
