// The help file as built: every help context has its topic, every topic in help/ is packed, and
// every link between topics (including #anchors) lands on something that exists.

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>

#include "HelpFile.h"

namespace {

using movik::test::HelpFileLoaded;
using movik::test::PackedTopics;
using movik::test::ReadTopic;

struct ContextTopic {
    int context;
    const char* file;
};

// The topics the program opens: the contents page (context 0 here) and each help context.
constexpr ContextTopic kContextTopics[] = {
    {0, "sadrzaj.html"},
    {1, "rad-s-programom.html"},
    {4, "indirektni-novcani-tok.html"},
    {5, "slobodni-novcani-tok.html"},
    {6, "likvidnost.html"},
    {7, "aktivnost.html"},
    {8, "profitabilnost.html"},
    {9, "zaduzenost-i-pokrice.html"},
    {10, "izbornici.html"},
};

void PrintTo(const ContextTopic& c, std::ostream* os) {
    *os << c.file;
}

class HelpContextTest : public ::testing::TestWithParam<ContextTopic> {};

TEST_P(HelpContextTest, ContextHasATopicWithATitle) {
    ASSERT_TRUE(HelpFileLoaded()) << MOVIK_HELP_FILE;
    const QString text = ReadTopic(QString::fromLatin1(GetParam().file));
    ASSERT_FALSE(text.isNull()) << "context " << GetParam().context << " has no topic";
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("<h1>[^<]+</h1>"))));
    EXPECT_TRUE(text.contains(QStringLiteral("charset=utf-8")));
}

INSTANTIATE_TEST_SUITE_P(Contexts, HelpContextTest, ::testing::ValuesIn(kContextTopics),
                         [](const auto& info) {
                             return "Context" + std::to_string(info.param.context);
                         });

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
