// Undo and redo over random sequences of the user's operations: every state on the way comes
// back whole (the document's bytes as the codec writes them, the grids, the fields, the unit and
// the warning), and an operation that changes nothing makes no step.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "analysis/EuroConversion.h"
#include "document/Csv.h"
#include "document/DocumentCodec.h"
#include "document/DocumentFile.h"
#include "model/Dates.h"
#include "model/NumberFormat.h"
#include "model/StatementFacts.h"
#include "model/Templates.h"

namespace movik {
namespace {

const RegionalSettings kComma{".", ",", "dd.MM.yyyy."};

struct Shown {
    std::vector<std::uint8_t> bytes;
    StatementGrids grids;
    GeneralData fields;
    std::string unit;
    std::string warning;
    bool operator==(const Shown&) const = default;
};

Shown ShownOf(const Workspace& ws) {
    Shown shown;
    EXPECT_TRUE(EncodeDocumentFile(ws.document(), shown.bytes).ok());
    shown.grids = ws.grids();
    shown.fields = ws.fields();
    shown.unit = ws.unitText();
    shown.warning = ws.warning();
    return shown;
}

int Pick(std::mt19937& rng, int below) {
    return std::uniform_int_distribution<int>(0, below - 1)(rng);
}

// An input row of s, chosen at random.
int InputRow(Statement s, std::mt19937& rng) {
    for (;;) {
        const int row = 1 + Pick(rng, RowCount(s));
        if (!TemplateRow(s, row).Izracunata) {
            return row;
        }
    }
}

std::string RandomAmount(std::mt19937& rng) {
    return FormatNumber(Pick(rng, 50'000'000) / 100.0, AmountFormat, kComma);
}

void EditCell(Workspace& ws, std::mt19937& rng) {
    const Statement s = Pick(rng, 2) == 0 ? Statement::Bilanca : Statement::Racun;
    const int col = s == Statement::Racun ? 3 : 3 + 2 * Pick(rng, 2);
    const int row = InputRow(s, rng);
    // One edit in four types what the cell already shows.
    const std::string text =
        Pick(rng, 4) == 0 ? ws.grids().of(s).cell(col, row) : RandomAmount(rng);
    ws.viewTexts(s).cell(col, row) = text;
    ASSERT_TRUE(ws.EditAmount(s, col, row, text));
}

void Import(Workspace& ws, std::mt19937& rng) {
    GridTexts grid = ws.grids().Racun;
    grid.cell(4, 0) = Pick(rng, 2) == 0 ? "Udio" : "Udio (%)";  // the file's own caption
    for (int i = 0; i < 5; ++i) {
        grid.cell(3, InputRow(Statement::Racun, rng)) = RandomAmount(rng);
    }
    ASSERT_TRUE(ws.ImportCsv(Statement::Racun, ExportCsv(Statement::Racun, grid)).ok());
}

void RandomOperation(Workspace& ws, std::mt19937& rng) {
    switch (Pick(rng, 7)) {
        case 0:
            EditCell(ws, rng);
            break;
        case 1:
            Import(ws, rng);
            break;
        case 2:
            ConvertToEuro(ws);  // nothing when already in euros
            break;
        case 3:
            ws.SetCurrency(Pick(rng, 2) == 0 ? Valuta::Eur : Valuta::Hrk);
            break;
        case 4: {
            const int year = 2020 + Pick(rng, 6);
            ws.SetPeriod(DayNumber(year, 1, 1), DayNumber(year, 12, 31));
            ws.ConfirmPeriod();
            break;
        }
        case 5:
            ws.SetShareCount(Pick(rng, 3) * 1000);
            break;
        default:
            ws.SetCompany(Pick(rng, 2) == 0 ? "Lipa d.d." : "Čvor i Đurđa d.o.o.");
            break;
    }
    ws.ConfirmCompanyAndSeat();  // the field is left: typing never merges across operations
}

// The example as stored, and a copy whose stored values the calculations would change: a total
// that does not add up, an amount with a tenth of a cent, a negative zero, a period starting at
// noon. Undo must bring those back too.
std::vector<std::uint8_t> StartBytes(bool stale) {
    TDokument doc;
    NewDocument(doc, 2024);  // the header the codec writes
    EXPECT_TRUE(OpenDocument(MOVIK_EXAMPLE, doc));
    if (stale) {
        doc.Bilanca.row(55).IznosTekuca += 1;
        doc.Bilanca.row(4).IznosTekuca += 0.001;
        doc.Racun.row(2).Iznos = -0.0;
        doc.DatumOd += 0.5;
        doc.BrojDionica = 0;  // as the fields show before: opening runs no refresh cycle
    }
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(EncodeDocumentFile(doc, bytes).ok());
    return bytes;
}

class UndoAcrossOperations : public ::testing::TestWithParam<bool> {};

TEST_P(UndoAcrossOperations, UndoAllGivesTheStartAndRedoAllTheEndStateByState) {
    const std::vector<std::uint8_t> start = StartBytes(GetParam());
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 rng(seed);
        Workspace ws(kComma, 2024);
        ASSERT_TRUE(ws.OpenDocumentBytes(
            "start.mvk",
            std::string_view(reinterpret_cast<const char*>(start.data()), start.size())));
        std::vector<Shown> states{ShownOf(ws)};
        ASSERT_TRUE(states[0].bytes == start);
        for (int i = 0; i < 30; ++i) {
            RandomOperation(ws, rng);
            if (!(ShownOf(ws) == states.back())) {
                states.push_back(ShownOf(ws));
            }
            // A step exactly for every operation that changed something.
            ASSERT_EQ(ws.history().StepCount(), states.size() - 1) << "seed " << seed << " #" << i;
        }
        for (std::size_t i = states.size() - 1; i > 0; --i) {
            ASSERT_TRUE(ws.Undo());
            ASSERT_TRUE(ShownOf(ws) == states[i - 1]) << "seed " << seed << " undo to " << i - 1;
        }
        EXPECT_FALSE(ws.Undo());
        EXPECT_FALSE(ws.IsChanged());
        for (std::size_t i = 1; i < states.size(); ++i) {
            ASSERT_TRUE(ws.Redo());
            ASSERT_TRUE(ShownOf(ws) == states[i]) << "seed " << seed << " redo to " << i;
        }
        EXPECT_FALSE(ws.Redo());
    }
}

INSTANTIATE_TEST_SUITE_P(Documents, UndoAcrossOperations, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Stale" : "AsStored"; });

// Typed in kunas, converted, then moved into 2023: each undo gives back a state whose period,
// currency, unit and captions agree with its amounts.
TEST(UndoState, APeriodAfterAConversionComesBackWithItsCurrency) {
    Workspace ws(kComma, 2022);
    ASSERT_TRUE(ws.EditAmount(Statement::Bilanca, 5, 4, "7.534,50"));
    ASSERT_TRUE(ConvertToEuro(ws));
    ws.SetPeriod(DayNumber(2023, 1, 1), DayNumber(2023, 12, 31));
    EXPECT_EQ(ws.ConfirmPeriod(), "");  // euros before and after: nothing to say

    ASSERT_TRUE(ws.Undo());
    EXPECT_EQ(ws.document().DatumDo, DayNumber(2022, 12, 31));
    EXPECT_EQ(ws.currency(), Valuta::Eur);
    EXPECT_EQ(ws.grids().Bilanca.cell(5, 4), "1.000,00");
    EXPECT_EQ(ws.unitText(), "eurima i centima");

    ASSERT_TRUE(ws.Undo());
    EXPECT_EQ(ws.currency(), Valuta::Hrk);
    EXPECT_EQ(ws.grids().Bilanca.cell(5, 4), "7.534,50");
    EXPECT_EQ(ws.unitText(), "kunama i lipama");
    EXPECT_EQ(ws.grids().Pok.cell(2, 14), "   4. Zarada po dionici (u KN)");
    EXPECT_TRUE(ConvertToEuro(ws));  // kunas again: the conversion is offered
}

}  // namespace
}  // namespace movik
