#pragma once
// The application's help file "help.hlp": a binary Qt resource file of HTML topics, looked for
// next to the program and in the installed data folder, and mapped under ":/help" while open.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace movik {

// Where the help file of a program in folder programDir may be: beside the program (the build
// tree), then ../share/movik/ (an installation).
QStringList HelpFileCandidates(const QString& programDir);

class HelpFile {
  public:
    // Opens the first of candidates that exists. Only one HelpFile may be open at a time.
    explicit HelpFile(const QStringList& candidates);
    ~HelpFile();
    HelpFile(const HelpFile&) = delete;
    HelpFile& operator=(const HelpFile&) = delete;

    bool isOpen() const { return open_; }
    // Why the file is not open, in Croatian; empty when it is.
    QString error() const { return error_; }
    // The file that was opened (or found but could not be read).
    QString path() const { return path_; }

    // Whether the file holds the topic file ("likvidnost.html").
    bool HasTopic(const QString& file) const;
    // The address of a topic file, for a text browser.
    QUrl TopicUrl(const QString& file) const;

  private:
    QString path_;
    QString error_;
    QByteArray data_;  // the mapped file's bytes
    QString folder_;   // resource folder of the topics, ":/help" or ":/help/help"
    bool open_ = false;
};

}  // namespace movik
