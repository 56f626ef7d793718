#pragma once
// What a screen reader is told of the help's links: Tab takes the keyboard from link to link in
// the help text, and each link it lands on is reported as a focused link object (its text, its
// target) on the text's accessible object. Qt's text browser selects the link but tells nobody.

#include <QObject>
#include <QString>

class QAccessibleInterface;
class QTextBrowser;

namespace movik {

class HelpLinkFocus : public QObject {
  public:
    // Follows browser's keyboard moves between links for as long as both live.
    explicit HelpLinkFocus(QTextBrowser* browser);
    ~HelpLinkFocus() override;

    // The link the keyboard is on, as a screen reader gets it; nullptr when on none.
    QAccessibleInterface* focusedLink() const;

    // After the keyboard moved in the text (Tab, Shift+Tab): the link it landed on, if any, is
    // reported as focused.
    void KeyboardMoved();

  private:
    void Forget();

    QTextBrowser* browser_;
    unsigned id_ = 0;  // the registered link object, 0 for none
};

}  // namespace movik
