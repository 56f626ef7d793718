#pragma once
// Makes a small help file for the tests, as the build makes help.hlp: HTML topics listed in a
// .qrc file, compiled by rcc into a binary resource file.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <map>

namespace movik::test {

// Writes the topics (file name -> HTML) into folder/src and compiles them into folder/help.hlp,
// the topics at the file's root (or in its folder "help" when inHelpFolder). Returns the path.
inline QString MakeHelpFile(const QString& folder, const std::map<QString, QString>& topics,
                            bool inHelpFolder = false) {
    const QDir dir(folder);
    dir.mkpath(QStringLiteral("src"));
    QString qrc = QStringLiteral("<RCC><qresource prefix=\"%1\">\n")
                      .arg(inHelpFolder ? QStringLiteral("/help") : QStringLiteral("/"));
    for (const auto& [name, html] : topics) {
        QFile topic(dir.filePath(QStringLiteral("src/") + name));
        EXPECT_TRUE(topic.open(QIODevice::WriteOnly));
        topic.write(html.toUtf8());
        qrc += QStringLiteral("<file>%1</file>\n").arg(name);
    }
    qrc += QStringLiteral("</qresource></RCC>\n");
    QFile qrcFile(dir.filePath(QStringLiteral("src/help.qrc")));
    EXPECT_TRUE(qrcFile.open(QIODevice::WriteOnly));
    qrcFile.write(qrc.toUtf8());
    qrcFile.close();

    const QString out = dir.filePath(QStringLiteral("help.hlp"));
    const int code = QProcess::execute(
        QStringLiteral(MOVIK_RCC),
        {QStringLiteral("--binary"), qrcFile.fileName(), QStringLiteral("-o"), out});
    EXPECT_EQ(code, 0) << "rcc failed";
    return out;
}

// A topic whose title is its own file name, with the given body.
inline QString Topic(const QString& name, const QString& body = {}) {
    return QStringLiteral("<html><head><title>%1</title></head><body><h1>%1</h1>%2</body></html>")
        .arg(name, body);
}

}  // namespace movik::test
