#include "analysis/StandingFormats.h"

#include "analysis/SummaryFormats.h"
#include "model/NumberFormat.h"
#include "model/Utf8.h"

namespace movik {

namespace {

std::string Json(double value, int decimals) {
    return JsonNumber(RoundedAsShown(value, decimals));
}

std::string DocumentLine(const StandingTable& t, std::size_t e) {
    const StandingEntry& entry = t.entries()[e];
    const std::optional<std::size_t> g = t.standing().GroupOf(e);
    std::string j = "{\"file\":" + JsonString(entry.file) +
                    ",\"company\":" + JsonString(entry.company) + ",\"group\":";
    if (!g) {
        return j + "null,\"currency\":null,\"standing\":null,\"note\":" + JsonString(kNoGroupNote) +
               "}\n";
    }
    const StandingGroup& group = t.standing().groups()[*g];
    j += JsonString(group.Label()) + ",\"currency\":" + JsonString(CurrencyCode(group.currency));
    if (!group.ranked()) {
        return j + ",\"standing\":null,\"note\":" + JsonString(SmallGroupNote(group)) + "}\n";
    }
    j += ",\"standing\":{";
    for (std::size_t m = 0; m < t.measures().size(); ++m) {
        j += (m ? ",\"" : "\"") + t.measures()[m].id + "\":";
        const std::optional<Rank> r = t.standing().RankOf(e, m);
        if (!r) {
            j += "null";
            continue;
        }
        j += "{\"percentile\":" + Json(r->percentile, 2) +
             ",\"quarter\":" + (r->quarter ? std::to_string(*r->quarter) : "null") + "}";
    }
    return j + "},\"note\":null}\n";
}

std::string GroupLine(const StandingTable& t, const StandingGroup& g) {
    std::string j = "{\"group\":" + JsonString(g.Label()) +
                    ",\"currency\":" + JsonString(CurrencyCode(g.currency)) +
                    ",\"n\":" + std::to_string(g.members.size()) + ",\"quartiles\":";
    if (!g.ranked()) {
        return j + "null,\"note\":" + JsonString(SmallGroupNote(g)) + "}\n";
    }
    j += "{";
    for (std::size_t m = 0; m < t.measures().size(); ++m) {
        const int decimals = t.measures()[m].decimals + 2;
        j += (m ? ",\"" : "\"") + t.measures()[m].id + "\":";
        const std::optional<Quartiles>& q = g.quartiles[m];
        j += q ? "[" + Json(q->q1, decimals) + "," + Json(q->median, decimals) + "," +
                     Json(q->q3, decimals) + "]"
               : "null";
    }
    return j + "},\"note\":null}\n";
}

constexpr std::size_t kNameWidth = 54;
constexpr std::size_t kQuartileWidth = 16;
constexpr std::size_t kCompanyWidth = 28;
constexpr std::size_t kCellWidth = 11;

// The group's quartiles, a measure a line, each named by its id and caption.
std::string QuartileLines(const StandingTable& t, int firstRow) {
    std::string out = "  " + Column("Pokazatelj", kNameWidth, false);
    for (const char* name : {"Q1", "Medijan", "Q3"}) {
        out += Column(name, kQuartileWidth, true);
    }
    out += "\n";
    for (std::size_t m = 0; m < t.measures().size(); ++m) {
        const int c = static_cast<int>(m) + 2;
        out += "  " + Column(t.measures()[m].label + " " + t.Caption(c), kNameWidth, false);
        for (int k = 0; k < 3; ++k) {
            out += Column(t.Text(firstRow + k, c), kQuartileWidth, true);
        }
        out += "\n";
    }
    return out;
}

std::string DocumentHeader(const StandingTable& t) {
    std::string out = "  " + Column("Poduzeće", kCompanyWidth, false);
    for (const StandingMeasure& m : t.measures()) {
        out += Column(m.label, kCellWidth, true);
    }
    return out + "\n";
}

std::string DocumentLineTxt(const StandingTable& t, int r) {
    std::string out = "  " + Column(t.Text(r, 0), kCompanyWidth, false);
    for (std::size_t m = 0; m < t.measures().size(); ++m) {
        out += Column(t.Text(r, static_cast<int>(m) + 2), kCellWidth, true);
    }
    return out + "  " + t.Text(r, t.columnCount() - 1) + "\n";
}

}  // namespace

void StandingJsonl(const StandingTable& t, const StandingSink& sink) {
    for (std::size_t e = 0; e < t.entries().size(); ++e) {
        sink(DocumentLine(t, e));
    }
    for (const StandingGroup& g : t.standing().groups()) {
        sink(GroupLine(t, g));
    }
}

void StandingTxt(const StandingTable& t, const StandingSink& sink) {
    std::optional<std::size_t> shownGroup;
    bool outsideShown = false;
    for (int r = 0; r < t.rowCount(); ++r) {
        std::string out;
        const StandingTable::Row& row = t.row(r);
        const bool outside =
            !t.standing().GroupOf(row.entry) && row.kind == StandingTable::RowKind::Document;
        if (outside && !outsideShown) {
            out += "\nBez skupine: " + std::string(kNoGroupNote) + "\n" + DocumentHeader(t);
            outsideShown = true;
        } else if (!outside && shownGroup != row.group) {
            out += (r ? "\n" : "") + t.GroupLabel(row.group) + "\n" + DocumentHeader(t);
            shownGroup = row.group;
        }
        switch (row.kind) {
            case StandingTable::RowKind::Document:
                out += DocumentLineTxt(t, r);
                break;
            case StandingTable::RowKind::Q1:
                out += "\n" + QuartileLines(t, r);
                break;
            case StandingTable::RowKind::Note:
                out += "  " + t.Description(r, 0) + "\n";
                break;
            default:
                break;
        }
        sink(out);
    }
}

}  // namespace movik
