#pragma once
// The six statement report forms, each a Report with the bands, labels, positions, heights and
// fonts of its statement, wired to the data feed under its key:
//   TqrAktiva "AKTIVA", TqrPasiva "PASIVA", TqrRacun "RACUN", TqrCFInd "CFIND",
//   TqrCFFree "CFFREE", TqrPok "POK".
// Settable labels (captions set by the print command, see PrintJobs.h): lPoduzece, lSjediste,
// lIznosi (not in TqrPok), lNaslov and lTipBilance, lPrethodna, lTekuca, lUpozorenje (balance
// sheet halves), lRacRazd, lIndRazd, lFreeRazd, lPokRazd (period lines).
// Detail labels carry their grid column as tag (1 row number, 2 row text, 3.. values).
// Fonts are named as the forms name them ("Arial CE", "Arial"); painting resolves them.

#include <string>

#include "reports/ReportEngine.h"
#include "reports/ReportFeed.h"

namespace movik {

// A report form bound to a feed key. Its handlers go through the feed under the report's own
// key: need data (ReportNextRow), detail label text (ReportCellText by the label's tag), detail
// band before print (the row's font style on the styled labels), report before print (requires
// and clears ReportReady; refuses when it is clear) and after print (sets ReportReady).
class StatementReport : public Report {
  public:
    // Bound to the feed under the report's key, with its print job's name.
    StatementReport(ReportFeed& feed, const ReportFacts& facts);
    const std::string& key() const { return key_; }

  protected:
    // Which detail labels take the row's font style (the others stay plain).
    void SetStyledDetailLabels(std::vector<std::string> names) { styled_ = std::move(names); }

    bool NeedData() { return feed_.ReportNextRow(key_); }
    std::string LabelText(const ReportLabel& l) { return feed_.ReportCellText(key_, l.tag); }
    bool DetailBeforePrint(ReportBand& band);
    bool ReportBeforePrint();
    void ReportAfterPrint() { feed_.SetReportReady(key_, true); }

  private:
    ReportFeed& feed_;
    std::string key_;
    std::vector<std::string> styled_;
};

class TqrAktiva : public StatementReport {
  public:
    explicit TqrAktiva(ReportFeed& feed);
    bool qrBilancaNeedData() { return NeedData(); }
    std::string lTkPrint(const ReportLabel& l) { return LabelText(l); }
    bool QRBand1BeforePrint(ReportBand& band) { return DetailBeforePrint(band); }
    bool qrAktivaBeforePrint() { return ReportBeforePrint(); }
    void qrAktivaAfterPrint() { ReportAfterPrint(); }
};

class TqrPasiva : public StatementReport {
  public:
    explicit TqrPasiva(ReportFeed& feed);
    bool qrBilancaNeedData() { return NeedData(); }
    std::string lTkPrint(const ReportLabel& l) { return LabelText(l); }
    bool QRBand1BeforePrint(ReportBand& band) { return DetailBeforePrint(band); }
    bool qrPasivaBeforePrint() { return ReportBeforePrint(); }
    void qrPasivaAfterPrint() { ReportAfterPrint(); }
};

class TqrRacun : public StatementReport {
  public:
    explicit TqrRacun(ReportFeed& feed);
    bool qrRacunNeedData() { return NeedData(); }
    std::string lRbrPrint(const ReportLabel& l) { return LabelText(l); }
    bool QRBand2BeforePrint(ReportBand& band) { return DetailBeforePrint(band); }
    bool qrRacunBeforePrint() { return ReportBeforePrint(); }
    void qrRacunAfterPrint() { ReportAfterPrint(); }
};

class TqrCFInd : public StatementReport {
  public:
    explicit TqrCFInd(ReportFeed& feed);
    bool qrCFIndNeedData() { return NeedData(); }
    std::string lRbrPrint(const ReportLabel& l) { return LabelText(l); }
    bool QRBand2BeforePrint(ReportBand& band) { return DetailBeforePrint(band); }
    bool qrCFIndBeforePrint() { return ReportBeforePrint(); }
    void qrCFIndAfterPrint() { ReportAfterPrint(); }
};

class TqrCFFree : public StatementReport {
  public:
    explicit TqrCFFree(ReportFeed& feed);
    bool qrCFFreeNeedData() { return NeedData(); }
    std::string lRbrPrint(const ReportLabel& l) { return LabelText(l); }
    bool QRBand2BeforePrint(ReportBand& band) { return DetailBeforePrint(band); }
    bool qrCFFreeBeforePrint() { return ReportBeforePrint(); }
    void qrCFFreeAfterPrint() { ReportAfterPrint(); }
};

class TqrPok : public StatementReport {
  public:
    explicit TqrPok(ReportFeed& feed);
    bool qrCFFreeNeedData() { return NeedData(); }
    std::string lRbrPrint(const ReportLabel& l) { return LabelText(l); }
    bool QRBand2BeforePrint(ReportBand& band) { return DetailBeforePrint(band); }
    bool qrPokBeforePrint() { return ReportBeforePrint(); }
    void qrPokAfterPrint() { ReportAfterPrint(); }
};

}  // namespace movik
