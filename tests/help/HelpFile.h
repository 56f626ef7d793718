#pragma once
// Access to the built help file (help.hlp, a binary Qt resource) for the help tests.

#include <QDir>
#include <QFile>
#include <QResource>
#include <QString>
#include <QStringList>

namespace movik::test {

// Registers help.hlp once; its topics are then readable at ":/help/<file>.html".
inline bool HelpFileLoaded() {
    static const bool loaded = QResource::registerResource(QStringLiteral(MOVIK_HELP_FILE));
    return loaded;
}

inline QString TopicPath(const QString& file) {
    return QStringLiteral(":/help/") + file;
}

// The topic's text, or a null string when the help file has no such topic.
inline QString ReadTopic(const QString& file) {
    QFile topic(TopicPath(file));
    if (!topic.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(topic.readAll());
}

inline QStringList PackedTopics() {
    return QDir(QStringLiteral(":/help"))
        .entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

}  // namespace movik::test
