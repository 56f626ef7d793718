// Printing on a system whose print scheduler does not answer: as a system without printers.

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <QByteArray>
#include <QTemporaryDir>

#include "reports/SystemPrinter.h"

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

}  // namespace
}  // namespace movik
