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

// A report form bound to a feed key: need-data, label-text, before-band and the
// before/after-report handlers (ReportReady) all go through the feed.
class StatementReport : public Report {
  public:
    StatementReport(ReportFeed& feed, std::string key);
    const std::string& key() const { return key_; }

  protected:
    // Which detail labels take the row's font style (the others stay plain).
    void SetStyledDetailLabels(std::vector<std::string> names) { styled_ = std::move(names); }

  private:
    ReportFeed& feed_;
    std::string key_;
    std::vector<std::string> styled_;
};

class TqrAktiva : public StatementReport {
  public:
    explicit TqrAktiva(ReportFeed& feed);
};
class TqrPasiva : public StatementReport {
  public:
    explicit TqrPasiva(ReportFeed& feed);
};
class TqrRacun : public StatementReport {
  public:
    explicit TqrRacun(ReportFeed& feed);
};
class TqrCFInd : public StatementReport {
  public:
    explicit TqrCFInd(ReportFeed& feed);
};
class TqrCFFree : public StatementReport {
  public:
    explicit TqrCFFree(ReportFeed& feed);
};
class TqrPok : public StatementReport {
  public:
    explicit TqrPok(ReportFeed& feed);
};

}  // namespace movik
