#pragma once
// The help window: the topics of the help file in a text browser with contents, back and
// forward, find in the page and printing of the topic shown. QtHelpViewer opens it for the
// program's help requests.

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>

#include "about/HelpViewer.h"

class QAccessibleInterface;
class QAction;
class QLabel;
class QToolBar;
class QLineEdit;
class QTextBrowser;

namespace movik {

class HelpFile;
class HelpLinkFocus;

// Prints a topic: its pages as PDF bytes, sent as the print job jobName. The program hands the
// help its own checked print path, whose outcome (a note, or an error when error is true) comes
// later, to shown while window (the help window) is open.
using TopicPrinter =
    std::function<void(const QByteArray& pdf, const QString& jobName, QWidget* window,
                       std::function<void(const QString& text, bool error)> shown)>;

class HelpWindow : public QMainWindow {
    Q_OBJECT
  public:
    // candidates: where the help file may be (HelpFileCandidates).
    explicit HelpWindow(const QStringList& candidates, QWidget* parent = nullptr);
    ~HelpWindow() override;

    // Shows the contents page, or the topic of a help context. When the help file cannot be
    // used, the window shows why instead.
    void ShowContents();
    void ShowContext(int context);
    void ShowTopic(const QString& file);

    // Finds text in the topic shown, from the cursor on (backward: towards the start), wrapping
    // around once; selects it and returns true when found.
    bool FindInPage(const QString& text, bool backward = false);
    // Sends the topic shown to the topic printer (printing is off without one).
    void SetTopicPrinter(TopicPrinter printer);
    void PrintTopic();
    // The topic shown as PDF pages (A4), empty without a topic.
    QByteArray TopicPdf() const;

    QTextBrowser* browser() const { return browser_; }
    // The link of the text the keyboard is on (Tab), as a screen reader gets it, or nullptr.
    QAccessibleInterface* focusedLink() const;
    // The help file's problem shown in place of a topic, empty when a topic is shown.
    QString message() const { return message_; }
    // The outcome of printing, in the window's status bar (an error stays until the next).
    void ShowOutcome(const QString& text, bool error);
    QString outcome() const;

  private:
    // The window built in steps: the tool bar, its contents, back, forward and print actions,
    // its find field (and Ctrl+F to reach it), Escape closing the window, the status bar.
    QToolBar* MakeToolBar();
    void AddNavigation(QToolBar* bar);
    void AddFind(QToolBar* bar);
    void AddWindowKeys();
    void MakeStatusBar();
    // Opens the help file if it is not open yet; false (with the message shown) when it cannot.
    bool EnsureFile();
    void ShowMessage(const QString& text);
    void UpdateActions();
    void FindFromField(bool backward);

    QStringList candidates_;
    TopicPrinter printer_;
    std::unique_ptr<HelpFile> file_;
    QString message_;
    QTextBrowser* browser_;
    HelpLinkFocus* links_;
    QLineEdit* findField_;
    QLabel* findResult_;
    QLabel* outcome_;
    QAction* contents_;
    QAction* back_;
    QAction* forward_;
    QAction* print_;
    QAction* findPrevious_;
    QAction* findNext_;
};

// The help as the program shows it: one help window, made on first use and brought to the front.
class QtHelpViewer : public HelpViewer {
  public:
    explicit QtHelpViewer(QStringList candidates);
    ~QtHelpViewer() override;
    void ShowContents() override;
    void ShowContext(int context) override;
    // How its window prints a topic.
    void SetTopicPrinter(TopicPrinter printer);
    // Places the window when it is made, before it shows (the program keeps it on the screen).
    std::function<void(QWidget* window)> placeWindow;
    // The window, once the help has been asked for.
    HelpWindow* window() const { return window_.get(); }

  private:
    HelpWindow& Window();

    QStringList candidates_;
    TopicPrinter printer_;
    std::unique_ptr<HelpWindow> window_;
};

}  // namespace movik
