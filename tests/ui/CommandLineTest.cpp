// The program's command line: the document to open, or the usage.

#include <gtest/gtest.h>

#include "ui/CommandLine.h"

namespace movik::test {
namespace {

struct ArgsCase {
    const char* name;
    QStringList arguments;
    bool help;
    const char* document;
};

void PrintTo(const ArgsCase& c, std::ostream* os) {
    *os << c.name;
}

class CommandLineTest : public ::testing::TestWithParam<ArgsCase> {};

TEST_P(CommandLineTest, FirstArgumentIsTheDocumentOrHelp) {
    const ArgsCase& c = GetParam();
    const CommandLine line = ParseCommandLine(c.arguments);
    EXPECT_EQ(line.help, c.help);
    EXPECT_EQ(line.documentPath, QString::fromUtf8(c.document));
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineTest,
    ::testing::Values(ArgsCase{"none", {"movik"}, false, ""},
                      ArgsCase{"document", {"movik", "/tmp/firma.mvk"}, false, "/tmp/firma.mvk"},
                      ArgsCase{"onlyTheFirst", {"movik", "a.mvk", "b.mvk"}, false, "a.mvk"},
                      ArgsCase{"empty", {"movik", ""}, false, ""},
                      ArgsCase{"longHelp", {"movik", "--help"}, true, ""},
                      ArgsCase{"shortHelp", {"movik", "-h", "a.mvk"}, true, ""},
                      ArgsCase{"dashedName", {"movik", "--", "--help"}, false, "--help"},
                      ArgsCase{"dashesAlone", {"movik", "--"}, false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLine, UsageNamesTheDocumentAndTheHelpOption) {
    const QString usage = UsageText();
    EXPECT_TRUE(usage.startsWith("Uporaba: movik [DOKUMENT.mvk]"));
    EXPECT_TRUE(usage.contains("--help"));
    EXPECT_TRUE(usage.endsWith('\n'));
}

}  // namespace
}  // namespace movik::test
