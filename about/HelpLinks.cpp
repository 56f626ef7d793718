#include "about/HelpLinks.h"

#include <QAccessible>
#include <QPointer>
#include <QTextBrowser>
#include <QTextCursor>

namespace movik {

namespace {

// One link of the help text: its text, its target and where it lies in the text.
class HelpLinkAccessible : public QAccessibleInterface, public QAccessibleHyperlinkInterface {
  public:
    HelpLinkAccessible(QTextBrowser* browser, const QTextCursor& link)
        : browser_(browser),
          text_(link.selectedText()),
          target_(link.charFormat().anchorHref()),
          start_(link.selectionStart()),
          end_(link.selectionEnd()) {}

    bool isValid() const override { return !browser_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        QAccessibleInterface* p = parent();
        return p != nullptr ? p->window() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return browser_.isNull() ? nullptr : QAccessible::queryAccessibleInterface(browser_.data());
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? text_ : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (browser_.isNull()) {
            return {};
        }
        QTextCursor from(browser_->document());
        from.setPosition(start_);
        QTextCursor to(browser_->document());
        to.setPosition(end_);
        const QRect r = browser_->cursorRect(from).united(browser_->cursorRect(to));
        return r.translated(browser_->viewport()->mapToGlobal(QPoint(0, 0)));
    }
    QAccessible::Role role() const override { return QAccessible::Link; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.invalid = browser_.isNull();
        s.focusable = true;
        s.linked = true;
        s.focused = !browser_.isNull() && browser_->hasFocus();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::HyperlinkInterface
                   ? static_cast<QAccessibleHyperlinkInterface*>(this)
                   : nullptr;
    }

    // QAccessibleHyperlinkInterface
    QString anchor() const override { return text_; }
    QString anchorTarget() const override { return target_; }
    int startIndex() const override { return start_; }
    int endIndex() const override { return end_; }

    bool Same(const QTextCursor& link) const {
        return link.selectionStart() == start_ && link.selectionEnd() == end_;
    }

  private:
    QPointer<QTextBrowser> browser_;
    QString text_;
    QString target_;
    int start_;
    int end_;
};

}  // namespace

HelpLinkFocus::HelpLinkFocus(QTextBrowser* browser) : QObject(browser), browser_(browser) {
    // A click or a selection of text leaves the link; a new topic has other links.
    connect(browser, &QTextEdit::selectionChanged, this, &HelpLinkFocus::KeyboardMoved);
    connect(browser, &QTextBrowser::sourceChanged, this, &HelpLinkFocus::Forget);
}

HelpLinkFocus::~HelpLinkFocus() {
    Forget();
}

QAccessibleInterface* HelpLinkFocus::focusedLink() const {
    return id_ != 0 ? QAccessible::accessibleInterface(id_) : nullptr;
}

void HelpLinkFocus::KeyboardMoved() {
    // The keyboard's link is the text's selection, covering one anchor.
    const QTextCursor cursor = browser_->textCursor();
    if (!browser_->hasFocus() || !cursor.hasSelection() || !cursor.charFormat().isAnchor()) {
        Forget();
        return;
    }
    if (auto* current = static_cast<HelpLinkAccessible*>(focusedLink());
        current != nullptr && current->Same(cursor)) {
        return;
    }
    Forget();
    auto* link = new HelpLinkAccessible(browser_, cursor);
    id_ = QAccessible::registerAccessibleInterface(link);
    QAccessibleEvent focus(link, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

void HelpLinkFocus::Forget() {
    if (id_ != 0) {
        QAccessible::deleteAccessibleInterface(id_);
        id_ = 0;
    }
}

}  // namespace movik
