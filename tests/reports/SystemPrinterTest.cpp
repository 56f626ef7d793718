// Printing on a system without a print scheduler (as a system without printers) and with one
// that accepts connections and never answers (an error naming it, after a bounded wait).

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <QByteArray>
#include <QTemporaryDir>

#include "reports/SystemPrinter.h"
#include "tests/support/StalledServer.h"

namespace movik {
namespace {

TEST(SystemPrinter, NoSchedulerMeansNoPrinter) {
    QTemporaryDir dir;
    const QByteArray socket = dir.filePath(QStringLiteral("nobody.sock")).toLocal8Bit();
    cupsSetServer(socket.constData());
    const PrintOutcome outcome = PrintPdfOnDefaultPrinter(QByteArray("%PDF-1.4\n"), "Aktiva");
    cupsSetServer(nullptr);
    EXPECT_EQ(outcome.status, PrintStatus::NoPrinter);
    EXPECT_EQ(outcome.message, "");
}

// Points libcups at a server for the life of the object.
class ServerOverride {
  public:
    explicit ServerOverride(const std::string& server) { cupsSetServer(server.c_str()); }
    ~ServerOverride() { cupsSetServer(nullptr); }
};

TEST(SystemPrinter, SilentServerGivesAnErrorNamingItAfterTheLimit) {
    test::StalledServer stalled;
    ASSERT_FALSE(stalled.socket().empty());
    const ServerOverride server(stalled.socket());
    const PrintOutcome outcome =
        PrintPdfOnDefaultPrinter(QByteArray("%PDF-1.4\n"), "Aktiva", PrintLimits{1000, 300});
    EXPECT_EQ(stalled.connections(), 1);
    EXPECT_EQ(outcome.status, PrintStatus::Unreachable);
    EXPECT_EQ(outcome.message, "Izvješće „Aktiva” nije ispisano: poslužitelj za ispis „" +
                                   stalled.socket() + "” ne odgovara (čekano 1 s).");
}

TEST(SystemPrinter, CancelledJobStopsWaiting) {
    test::StalledServer stalled;
    ASSERT_FALSE(stalled.socket().empty());
    const ServerOverride server(stalled.socket());
    const std::atomic<bool> cancel{true};
    // Far beyond any test's patience: only the cancel flag can end this wait.
    const PrintOutcome outcome = PrintPdfOnDefaultPrinter(
        QByteArray("%PDF-1.4\n"), "Pasiva", PrintLimits{1000, 24 * 3600 * 1000, &cancel});
    EXPECT_EQ(outcome.status, PrintStatus::Unreachable);
    EXPECT_NE(outcome.message.find("prekinut"), std::string::npos) << outcome.message;
}

}  // namespace
}  // namespace movik
