// The help file as built: every help context has its topic, every topic in help/ is packed, and
// every link between topics (including #anchors) lands on something that exists.

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>

#include "HelpFile.h"
#include "about/HelpContext.h"
#include "analysis/Summary.h"
#include "model/Calculations.h"

namespace {

using movik::test::HelpFileLoaded;
using movik::test::PackedTopics;
using movik::test::ReadTopic;

// The help contexts that open a topic of their own; 0 stands for the contents page here
// (context 13 opens a section of the menus' topic).
constexpr int kContexts[] = {0, 1, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16};

// The topic the program opens for a context, from its own table.
QString ProgramTopic(int context) {
    return context == 0 ? movik::HelpContentsFile() : movik::HelpTopicFile(context);
}

class HelpContextTest : public ::testing::TestWithParam<int> {};

TEST_P(HelpContextTest, ContextHasATopicWithATitle) {
    ASSERT_TRUE(HelpFileLoaded()) << MOVIK_HELP_FILE;
    const QString file = ProgramTopic(GetParam());
    ASSERT_FALSE(file.isEmpty()) << "context " << GetParam() << " has no topic file";
    const QString text = ReadTopic(file);
    ASSERT_FALSE(text.isNull()) << "context " << GetParam() << ": " << file.toStdString()
                                << " is not in the help file";
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("<h1>[^<]+</h1>"))));
    EXPECT_TRUE(text.contains(QStringLiteral("charset=utf-8")));
}

INSTANTIATE_TEST_SUITE_P(Contexts, HelpContextTest, ::testing::ValuesIn(kContexts),
                         [](const auto& info) { return "Context" + std::to_string(info.param); });

// The information box that repeats a warning opens the menus' context: its topic explains every
// warning the checks can give, under the warning's own text.
TEST(HelpTopicsTest, TheInformationBoxsTopicExplainsEveryWarning) {
    ASSERT_TRUE(HelpFileLoaded());
    const QString text = ReadTopic(movik::HelpTopicFile(10));
    for (const std::string_view warning :
         {movik::kWarningBalance, movik::kWarningNetResult, movik::kWarningPeriod}) {
        EXPECT_TRUE(text.contains(QStringLiteral("<td class=\"upozorenje\">%1</td>")
                                      .arg(QString::fromUtf8(warning.data(), warning.size()))))
            << warning;
    }
}

// Every warning the help quotes (marked class="upozorenje") is a text the program gives, letter
// for letter, and every warning the program gives is quoted somewhere.
TEST(HelpTopicsTest, EveryQuotedWarningIsOneTheProgramGives) {
    ASSERT_TRUE(HelpFileLoaded());
    QStringList program;
    for (const std::string_view w : {movik::kWarningBalance, movik::kWarningNetResult,
                                     movik::kWarningPeriod, movik::kWarningStoredTotals}) {
        program << QString::fromUtf8(w.data(), static_cast<qsizetype>(w.size()));
    }
    const QRegularExpression quoted(
        QStringLiteral("<(td|span) class=\"upozorenje\">([^<]*)</\\1>"));
    QStringList found;
    for (const QString& file : PackedTopics()) {
        for (const auto& m : quoted.globalMatch(ReadTopic(file))) {
            const QString text = m.captured(2).simplified();
            EXPECT_TRUE(program.contains(text)) << file.toStdString() << ": " << text.toStdString();
            found << text;
        }
    }
    for (const QString& w : program) {
        EXPECT_TRUE(found.contains(w)) << w.toStdString();
    }
    // Every place that names a warning's opening words marks it, so none escapes the check.
    for (const QString& file : PackedTopics()) {
        const QString text = ReadTopic(file);
        for (const QString& start :
             {QStringLiteral("Neravnoteža"), QStringLiteral("Spremljeni zbrojevi"),
              QStringLiteral("Razdoblje završava")}) {
            EXPECT_EQ(text.count(start), text.count(QStringLiteral("upozorenje\">") + start))
                << file.toStdString() << ": " << start.toStdString();
        }
    }
}

TEST(HelpTopicsTest, EveryPackedTopicIsReachableFromTheProgram) {
    ASSERT_TRUE(HelpFileLoaded());
    QStringList opened;
    for (const int context : kContexts) {
        opened << ProgramTopic(context);
    }
    opened.sort();
    EXPECT_EQ(PackedTopics(), opened);
}

TEST(HelpTopicsTest, EveryTopicOfTheSourceFolderIsPacked) {
    ASSERT_TRUE(HelpFileLoaded());
    const QStringList sources = QDir(QStringLiteral(MOVIK_HELP_SOURCE))
                                    .entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    EXPECT_FALSE(sources.isEmpty());
    EXPECT_EQ(PackedTopics(), sources);
}

TEST(HelpTopicsTest, EveryLinkLandsOnAnExistingTopicAndAnchor) {
    ASSERT_TRUE(HelpFileLoaded());
    const QRegularExpression link(QStringLiteral("href=\"([^\"#]*)(?:#([^\"]*))?\""));
    int links = 0;
    for (const QString& file : PackedTopics()) {
        const QString text = ReadTopic(file);
        EXPECT_FALSE(text.contains(QStringLiteral("<script"), Qt::CaseInsensitive))
            << file.toStdString();
        for (const auto& match : link.globalMatch(text)) {
            ++links;
            const QString where = file + QStringLiteral(" -> ") + match.captured(0);
            const QString target = match.captured(1).isEmpty() ? file : match.captured(1);
            // Links stay inside the help: relative file names only.
            EXPECT_FALSE(target.contains(QLatin1Char(':')) || target.contains(QLatin1Char('/')))
                << where.toStdString();
            const QString targetText = ReadTopic(target);
            ASSERT_FALSE(targetText.isNull()) << where.toStdString();
            const QString anchor = match.captured(2);
            if (!anchor.isEmpty()) {
                const QString named = QStringLiteral("name=\"%1\"").arg(anchor);
                const QString id = QStringLiteral("id=\"%1\"").arg(anchor);
                EXPECT_TRUE(targetText.contains(named) || targetText.contains(id))
                    << where.toStdString();
            }
        }
    }
    EXPECT_GT(links, 0);
}

}  // namespace
