#pragma once
// The numeric cell editor of the amount columns. It takes digits, one decimal mark ("." or ",",
// and only while the text holds neither) and a leading "-"; any other character is refused,
// whether typed or pasted.

#include <QClipboard>
#include <QLineEdit>

namespace movik {

// True for a non-empty key text made only of printable characters (a typed character, not a
// control key).
bool IsPrintableText(const QString& text);

class AmountEditor : public QLineEdit {
    Q_OBJECT
  public:
    explicit AmountEditor(QWidget* parent = nullptr);

    // True when inserting `inserted` into `text` at `position`, replacing `selectionLength`
    // characters there, keeps to the editor's rule (checked character by character as if typed).
    static bool AcceptsInsert(const QString& text, int position, int selectionLength,
                              const QString& inserted);

    // Pastes the clipboard text if the editor's rule allows it as a whole; otherwise nothing
    // changes. Surrounding blanks and the locale's thousands separators are dropped first (they
    // do not change the amount). Returns whether anything was pasted.
    bool pasteAmount(QClipboard::Mode mode = QClipboard::Clipboard);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool acceptsAtCursor(const QString& inserted) const;
};

}  // namespace movik
