// The help window over a help file made by the test: topics by context, the contents, history,
// find in page, where the file is looked for, and a missing or damaged file.

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include "about/HelpContext.h"
#include "about/HelpFile.h"
#include "about/HelpWindow.h"
#include "movik/Version.h"
#include "tests/about/HelpFileMaker.h"

namespace movik {
namespace {

using test::MakeHelpFile;
using test::Topic;

const std::vector<std::pair<int, QString>> kContextTopics = {{1, "rad-s-programom.html"},
                                                             {4, "indirektni-novcani-tok.html"},
                                                             {5, "slobodni-novcani-tok.html"},
                                                             {6, "likvidnost.html"},
                                                             {7, "aktivnost.html"},
                                                             {8, "profitabilnost.html"},
                                                             {9, "zaduzenost-i-pokrice.html"},
                                                             {10, "izbornici.html"}};

std::map<QString, QString> AllTopics() {
    std::map<QString, QString> topics{{"sadrzaj.html", Topic("sadrzaj.html")}};
    for (const auto& [context, file] : kContextTopics) {
        topics[file] = Topic(file);
    }
    return topics;
}

QString Shown(const HelpWindow& w) {
    return w.browser()->source().fileName();
}

// The topics lie at the help file's root or in its folder "help": both open.
class HelpWindowTopics : public ::testing::TestWithParam<bool> {};

TEST_P(HelpWindowTopics, EachContextOpensItsTopicAndHistoryGoesBack) {
    QTemporaryDir tmp;
    HelpWindow w({MakeHelpFile(tmp.path(), AllTopics(), GetParam())});
    w.ShowContents();
    EXPECT_EQ(Shown(w), "sadrzaj.html");
    EXPECT_EQ(w.browser()->documentTitle(), "sadrzaj.html");
    for (const auto& [context, file] : kContextTopics) {
        w.ShowContext(context);
        EXPECT_TRUE(w.message().isEmpty()) << w.message().toStdString();
        EXPECT_EQ(Shown(w), file) << "context " << context;
        EXPECT_EQ(w.browser()->documentTitle(), file) << "context " << context;
        EXPECT_EQ(w.browser()->accessibleName(), file) << "context " << context;
    }
    w.findChild<QAction*>("HelpBack")->trigger();
    EXPECT_EQ(Shown(w), "zaduzenost-i-pokrice.html");
    w.findChild<QAction*>("HelpForward")->trigger();
    EXPECT_EQ(Shown(w), "izbornici.html");
    w.findChild<QAction*>("HelpContents")->trigger();
    EXPECT_EQ(Shown(w), "sadrzaj.html");
}

INSTANTIATE_TEST_SUITE_P(Layouts, HelpWindowTopics, ::testing::Bool());

TEST(HelpWindow, UnusableHelpIsReportedInTheWindow) {
    QTemporaryDir tmp;
    const QString damaged = tmp.filePath("damaged/help.hlp");
    QDir().mkpath(tmp.filePath("damaged"));
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("qres\0\0\0\x03 this is no resource file", 32);
    file.close();
    const QString partial = MakeHelpFile(tmp.filePath("partial"), {{"sadrzaj.html", Topic("x")}});

    struct Case {
        QStringList candidates;
        int context;  // 0: the contents
        QString expected;
    } const cases[] = {
        {{tmp.filePath("none/help.hlp")}, 0, "nije pronađena"},
        {{tmp.path()}, 0, "nije pronađena"},  // a folder is no help file
        {{damaged}, 8, "ne može se pročitati"},
        {{partial}, 8, "nema teme profitabilnost.html"},
        {{partial}, 2, "nema teme"},
    };
    for (const Case& c : cases) {
        HelpWindow w(c.candidates);
        if (c.context == 0) {
            w.ShowContents();
        } else {
            w.ShowContext(c.context);
        }
        EXPECT_TRUE(w.message().contains(c.expected)) << w.message().toStdString();
        EXPECT_TRUE(w.browser()->toPlainText().contains(c.expected));
        // Nothing to search in the message.
        for (const char* name : {"HelpFindPrevious", "HelpFindNext"}) {
            EXPECT_FALSE(w.findChild<QAction*>(name)->isEnabled()) << name;
        }
    }
}

TEST(HelpFile, FoundBesideTheProgramElseInTheInstalledDataFolder) {
    EXPECT_EQ(HelpFileCandidates("/opt/movik/bin"),
              QStringList({"/opt/movik/bin/help.hlp", "/opt/movik/share/movik/help.hlp"}));

    QTemporaryDir tmp;
    QDir().mkpath(tmp.filePath("bin"));
    MakeHelpFile(tmp.filePath("share/movik"), AllTopics());
    HelpWindow installed(HelpFileCandidates(tmp.filePath("bin")));
    installed.ShowContext(6);
    EXPECT_EQ(Shown(installed), "likvidnost.html");
}

TEST(HelpWindow, FindInPageWrapsAroundAndReportsAMiss) {
    QTemporaryDir tmp;
    auto topics = AllTopics();
    topics["likvidnost.html"] =
        Topic("likvidnost.html",
              "<p>Koeficijent tekuće likvidnosti.</p><p>Koeficijent ubrzane "
              "likvidnosti.</p>");
    HelpWindow w({MakeHelpFile(tmp.path(), topics)});
    w.ShowContext(6);
    std::vector<int> found;
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(w.FindInPage("koeficijent"));
        found.push_back(w.browser()->textCursor().selectionStart());
    }
    EXPECT_LT(found[0], found[1]);
    EXPECT_EQ(found[2], found[0]);  // wrapped around to the first
    EXPECT_EQ(found[3], found[1]);
    EXPECT_TRUE(w.FindInPage("koeficijent", true));
    EXPECT_EQ(w.browser()->textCursor().selectionStart(), found[0]);
    EXPECT_FALSE(w.FindInPage("amortizacija"));
    EXPECT_EQ(w.browser()->textCursor().selectionStart(), found[0]);  // a miss keeps the place
}

TEST(HelpWindow, TheFindFieldDescribesWhatItFound) {
    QTemporaryDir tmp;
    auto topics = AllTopics();
    topics["likvidnost.html"] = Topic("likvidnost.html",
                                      "<p>Uvod.</p><p>Koeficijent tekuće "
                                      "likvidnosti.</p>");
    HelpWindow w({MakeHelpFile(tmp.path(), topics)});
    w.ShowContext(6);
    auto* field = w.findChild<QLineEdit*>(QStringLiteral("HelpFind"));
    ASSERT_NE(field, nullptr);
    const std::vector<std::pair<QString, QString>> cases = {
        {QStringLiteral("tekuće"), QStringLiteral("Koeficijent tekuće likvidnosti.")},
        {QStringLiteral("amortizacija"),
         QStringLiteral("„amortizacija“ nije pronađeno u ovoj temi.")}};
    for (const auto& [typed, description] : cases) {
        field->setText(typed);
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_EQ(field->accessibleDescription(), description);
    }
}

// Printing hands the topic as PDF pages, named after it, to the program's print path; without
// one, there is no printing.
TEST(HelpWindow, PrintHandsTheTopicToThePrintPath) {
    QTemporaryDir tmp;
    HelpWindow w({MakeHelpFile(tmp.path(), AllTopics())});
    w.ShowContext(6);
    QAction* print = w.findChild<QAction*>("HelpPrint");
    EXPECT_FALSE(print->isEnabled());

    QList<std::pair<QByteArray, QString>> printed;
    w.SetTopicPrinter([&](const QByteArray& pdf, const QString& name, QWidget* window,
                          std::function<void(const QString&, bool)> shown) {
        printed.append({pdf, name});
        EXPECT_EQ(window, &w);
        shown(QStringLiteral("pisač ne odgovara"), true);
    });
    ASSERT_TRUE(print->isEnabled());
    print->trigger();
    ASSERT_EQ(printed.size(), 1);
    EXPECT_EQ(w.outcome(), QStringLiteral("Pogreška: pisač ne odgovara"));  // in the help
    EXPECT_TRUE(printed[0].first.startsWith("%PDF-"));
    EXPECT_EQ(printed[0].second,
              QString::fromUtf8(kProgramTitle) + QStringLiteral(" – likvidnost.html"));
}

}  // namespace
}  // namespace movik
