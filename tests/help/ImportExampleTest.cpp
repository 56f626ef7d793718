// The help's example lines of an import file are the lines Export writes for the example
// document under Croatian settings, so a user who copies them writes what the import reads.

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "HelpFile.h"
#include "document/Cp1250.h"
#include "document/Workspace.h"
#include "model/StatementFacts.h"

namespace {

TEST(HelpImportExample, ExampleLinesAreTheExportOfTheExampleDocument) {
    ASSERT_TRUE(movik::test::HelpFileLoaded());
    movik::Workspace ws(movik::RegionalSettings{".", ",", "d. M. yyyy."}, 2024);
    const movik::OpenOutcome opened = ws.OpenDocument(MOVIK_EXAMPLE);
    ASSERT_TRUE(opened.ok()) << opened;
    const QString topic = movik::test::ReadTopic(QStringLiteral("rad-s-programom.html"));
    const QRegularExpression example(
        QStringLiteral("<pre data-example=\"([a-z]+)\">([^<]*)</pre>"));
    int examples = 0;
    for (const auto& m : example.globalMatch(topic)) {
        ++examples;
        const movik::StatementFacts* facts = nullptr;
        for (const movik::StatementFacts& f : movik::kStatementFacts) {
            if (m.captured(1).toStdString() == f.key) {
                facts = &f;
            }
        }
        ASSERT_NE(facts, nullptr) << m.captured(1).toStdString();
        const QStringList exported =
            QString::fromStdString(movik::Cp1250ToUtf8(ws.ExportCsv(facts->statement)))
                .split(QStringLiteral("\r\n"));
        const QStringList lines = m.captured(2).split(QLatin1Char('\n'));
        EXPECT_EQ(lines.size(), 2);
        for (const QString& line : lines) {
            const int row = line.section(QLatin1Char(';'), 0, 0).toInt();
            ASSERT_GE(row, 1) << line.toStdString();
            ASSERT_LT(row, exported.size());
            EXPECT_EQ(line.toStdString(), exported[row].toStdString());
        }
    }
    EXPECT_EQ(examples, 2);
}

}  // namespace
