#pragma once
// The numeric cell editor of the amount columns. It takes digits, "." and "," (one of them the
// locale's decimal separator, at most once; the other groups thousands), blanks between digit
// groups and a leading "-"; any other character is refused, whether typed or pasted. Whether
// the text is an amount (separators at their group positions) is judged when the edit ends.
// The numeric keypad's decimal key types the locale's decimal separator. A refused character
// or paste beeps and raises inputRefused().

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
    // characters there, keeps to the editor's rule (checked character by character as if typed),
    // decimal being the locale's decimal separator.
    static bool AcceptsInsert(const QString& text, int position, int selectionLength,
                              const QString& inserted, QChar decimal);

    // Pastes the clipboard text if the editor's rule allows it as a whole; otherwise nothing
    // changes. Surrounding blanks are dropped first; the text is pasted as it stands, so that
    // typing and pasting an amount read the same. Returns whether anything was pasted.
    bool pasteAmount(QClipboard::Mode mode = QClipboard::Clipboard);

  signals:
    // Typed or pasted text was not taken (with a beep), so the user knows the amount lacks it.
    void inputRefused(const QString& text);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool acceptsAtCursor(const QString& inserted) const;
    void refuse(const QString& text);
};

}  // namespace movik
