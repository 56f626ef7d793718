#include "about/HelpFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QResource>
#include <string_view>

#include "about/ResourceFileCheck.h"

namespace movik {

namespace {

const QString kFileName = QStringLiteral("help.hlp");
const QString kMapRoot = QStringLiteral("/help");

}  // namespace

QStringList HelpFileCandidates(const QString& programDir) {
    const QDir dir(programDir);
    return {QDir::cleanPath(dir.filePath(kFileName)),
            QDir::cleanPath(dir.filePath(QStringLiteral("../share/movik/") + kFileName))};
}

HelpFile::HelpFile(const QStringList& candidates) {
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isFile()) {
            path_ = candidate;
            break;
        }
    }
    if (path_.isEmpty()) {
        QStringList shown;
        for (const QString& candidate : candidates) {
            shown << QDir::toNativeSeparators(candidate);
        }
        error_ = QStringLiteral("Datoteka pomoći %1 nije pronađena.\nTražena je ovdje:\n%2")
                     .arg(kFileName, shown.join(u'\n'));
        return;
    }
    // Qt trusts the offsets of a resource file; a damaged file is refused before Qt maps it,
    // and the mapped bytes are the checked ones (kept while the file is open).
    QFile file(path_);
    if (file.open(QIODevice::ReadOnly) && file.size() <= qint64{kMaxResourceEntrySize}) {
        data_ = file.readAll();
    }
    if (!IsSoundResourceFile(
            std::string_view(data_.constData(), static_cast<std::size_t>(data_.size()))) ||
        !QResource::registerResource(reinterpret_cast<const uchar*>(data_.constData()), kMapRoot)) {
        data_.clear();
        error_ = QStringLiteral("Datoteka pomoći %1 ne može se pročitati ili je oštećena.")
                     .arg(QDir::toNativeSeparators(path_));
        return;
    }
    open_ = true;
    // The topics lie at the file's root or in its folder "help".
    folder_ = QStringLiteral(":/help");
    if (!QFile::exists(folder_ + u'/' + QStringLiteral("sadrzaj.html")) &&
        QFile::exists(QStringLiteral(":/help/help/sadrzaj.html"))) {
        folder_ = QStringLiteral(":/help/help");
    }
}

HelpFile::~HelpFile() {
    if (open_) {
        QResource::unregisterResource(reinterpret_cast<const uchar*>(data_.constData()), kMapRoot);
    }
}

bool HelpFile::HasTopic(const QString& file) const {
    return open_ && !file.isEmpty() && QFileInfo(folder_ + u'/' + file).isFile();
}

QUrl HelpFile::TopicUrl(const QString& file) const {
    return QUrl(QStringLiteral("qrc") + folder_ + u'/' + file);
}

}  // namespace movik
