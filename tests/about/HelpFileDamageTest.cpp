// A damaged help file is refused with a message before Qt maps it, whatever byte is damaged or
// wherever the file is cut; a sound one, compressed or not, opens with its topics.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include "HelpFileMaker.h"
#include "about/HelpFile.h"
#include "about/ResourceFileCheck.h"

namespace movik {
namespace {

using test::MakeHelpFile;
using test::Topic;

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

bool Sound(const QByteArray& bytes) {
    return IsSoundResourceFile(std::string_view(bytes.constData(), bytes.size()));
}

// rcc compresses the long, repetitive topic and stores the short one as it is.
QString MakeFile(const QTemporaryDir& tmp) {
    return MakeHelpFile(
        tmp.path(),
        {{"sadrzaj.html", Topic("sadrzaj.html")},
         {"likvidnost.html", Topic("likvidnost.html", QString("Likvidnost. ").repeated(200))}});
}

TEST(HelpFileDamage, SoundFileOpensWithItsTopics) {
    QTemporaryDir tmp;
    const QString path = MakeFile(tmp);
    EXPECT_TRUE(Sound(ReadAll(path)));
    const HelpFile help({path});
    ASSERT_TRUE(help.isOpen()) << help.error().toStdString();
    EXPECT_TRUE(help.HasTopic("likvidnost.html"));
    QFile topic(help.TopicUrl("likvidnost.html").toString().mid(3));
    ASSERT_TRUE(topic.open(QIODevice::ReadOnly));
    EXPECT_TRUE(topic.readAll().contains("Likvidnost. Likvidnost."));
}

// Every cut and every byte set to 0xFF: the file opens or is refused with the message; what
// opens still answers for its topics.
TEST(HelpFileDamage, EveryCutAndEveryDamagedByteIsSafe) {
    QTemporaryDir tmp;
    const QByteArray sound = ReadAll(MakeFile(tmp));
    const QString damaged = tmp.filePath("osteceno.hlp");
    int refused = 0;
    for (qsizetype i = 0; i < 2 * sound.size(); ++i) {
        QByteArray bytes = sound;
        if (i < sound.size()) {
            bytes.truncate(i);
        } else {
            bytes[i - sound.size()] = static_cast<char>(0xFF);
        }
        Write(damaged, bytes);
        const HelpFile help({damaged});
        if (!help.isOpen()) {
            ++refused;
            EXPECT_EQ(help.error(),
                      "Datoteka pomoći " + damaged + " ne može se pročitati ili je oštećena.");
            continue;
        }
        (void)help.HasTopic("sadrzaj.html");
        QFile topic(help.TopicUrl("likvidnost.html").toString().mid(3));
        if (topic.open(QIODevice::ReadOnly)) {
            (void)topic.readAll();
        }
    }
    EXPECT_GE(refused, sound.size());  // at least every cut
}

TEST(HelpFileDamage, LoopsAndHugeEntriesAreRefused) {
    QTemporaryDir tmp;
    const QByteArray sound = ReadAll(MakeFile(tmp));
    const auto big = [](const QByteArray& b, int at) {
        return (quint32(quint8(b[at])) << 24) | (quint32(quint8(b[at + 1])) << 16) |
               (quint32(quint8(b[at + 2])) << 8) | quint32(quint8(b[at + 3]));
    };
    const quint32 tree = big(sound, 8);
    // The root folder's first child pointing back at the root.
    QByteArray loop = sound;
    for (int i = 0; i < 4; ++i) {
        loop[tree + 10 + i] = 0;
    }
    EXPECT_FALSE(Sound(loop));
    // The root folder claiming more children than the file holds.
    QByteArray many = sound;
    many[tree + 6] = static_cast<char>(0x7F);
    EXPECT_FALSE(Sound(many));
    EXPECT_FALSE(Sound(QByteArray("qres\0\0\0\3", 8)));
    EXPECT_FALSE(Sound(QByteArray()));
}

}  // namespace
}  // namespace movik
