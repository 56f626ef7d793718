#include "ui/AmountEditor.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>

namespace movik {

namespace {

bool IsDecimalMark(QChar c) {
    return c == u'.' || c == u',';
}

// A blank, a no-break space or a narrow no-break space: they may group digits.
bool IsGroupBlank(QChar c) {
    return c == u' ' || c == QChar(0x00A0) || c == QChar(0x202F);
}

QChar LocaleDecimal() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 ? point.at(0) : QChar(u'.');
}

}  // namespace

bool IsPrintableText(const QString& text) {
    if (text.isEmpty()) {
        return false;
    }
    for (const QChar c : text) {
        if (!c.isPrint()) {
            return false;
        }
    }
    return true;
}

AmountEditor::AmountEditor(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("AmountEditor"));
    // Text enters only through the checked paths below.
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setInputMethodHints(Qt::ImhFormattedNumbersOnly);
}

bool AmountEditor::AcceptsInsert(const QString& text, int position, int selectionLength,
                                 const QString& inserted, QChar decimal) {
    if (position < 0 || position > text.size()) {
        return false;
    }
    QString rest = text;
    rest.remove(position, selectionLength);
    int at = position;
    for (const QChar c : inserted) {
        if (c >= u'0' && c <= u'9') {
            // accepted anywhere but in front of the sign
        } else if (c == decimal) {
            if (rest.contains(decimal)) {
                return false;
            }
        } else if (IsGroupBlank(c)) {
            // a blank between digit groups, never in front
            if (at == 0) {
                return false;
            }
        } else if (IsDecimalMark(c)) {
            // a group separator; its position is judged when the edit ends
        } else if (c == u'-') {
            if (at != 0 || rest.contains(u'-')) {
                return false;
            }
        } else {
            return false;
        }
        // The sign stays the first character.
        if (at < rest.size() && rest.at(at) == u'-') {
            return false;
        }
        rest.insert(at, c);
        ++at;
    }
    return true;
}

bool AmountEditor::acceptsAtCursor(const QString& inserted) const {
    const int position = hasSelectedText() ? selectionStart() : cursorPosition();
    const int length = hasSelectedText() ? static_cast<int>(selectedText().size()) : 0;
    return AcceptsInsert(text(), position, length, inserted, LocaleDecimal());
}

bool AmountEditor::pasteAmount(QClipboard::Mode mode) {
    if (isReadOnly()) {
        return false;
    }
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) {
        return false;
    }
    const QString pasted = clipboard->text(mode).trimmed();
    if (pasted.isEmpty()) {
        return false;
    }
    if (!acceptsAtCursor(pasted)) {
        refuse(pasted);
        return false;
    }
    insert(pasted);
    return true;
}

void AmountEditor::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        pasteAmount();
        event->accept();
        return;
    }
    // The keypad's decimal key types the locale's decimal separator, whatever its key text.
    if ((event->modifiers() & Qt::KeypadModifier) &&
        (event->key() == Qt::Key_Period || event->key() == Qt::Key_Comma)) {
        const QString decimal(LocaleDecimal());
        if (!isReadOnly()) {
            if (acceptsAtCursor(decimal)) {
                insert(decimal);
            } else {
                refuse(decimal);
            }
        }
        event->accept();
        return;
    }
    // Characters go through the rule; editing and movement keys (Backspace, Delete, arrows,
    // selection, undo) carry no printable text and pass unchanged.
    if (IsPrintableText(event->text()) && !acceptsAtCursor(event->text())) {
        refuse(event->text());
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void AmountEditor::refuse(const QString& text) {
    QApplication::beep();
    emit inputRefused(text);
}

void AmountEditor::contextMenuEvent(QContextMenuEvent* event) {
    // The usual editing menu, with Paste going through the rule.
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const bool editable = !isReadOnly();
    const auto add = [menu](const QString& text, const char* name, bool enabled, auto slot) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        action->setEnabled(enabled);
        QObject::connect(action, &QAction::triggered, slot);
        return action;
    };
    add(QStringLiteral("&Poništi"), "edit-undo", editable && isUndoAvailable(), [this] { undo(); });
    add(QStringLiteral("&Ponovi"), "edit-redo", editable && isRedoAvailable(), [this] { redo(); });
    menu->addSeparator();
    add(QStringLiteral("&Izreži"), "edit-cut", editable && hasSelectedText(), [this] { cut(); });
    add(QStringLiteral("&Kopiraj"), "edit-copy", hasSelectedText(), [this] { copy(); });
    add(QStringLiteral("&Zalijepi"), "edit-paste",
        editable && !QGuiApplication::clipboard()->text().isEmpty(), [this] { pasteAmount(); });
    add(QStringLiteral("Iz&briši"), "edit-delete", editable && hasSelectedText(),
        [this] { del(); });
    menu->addSeparator();
    add(QStringLiteral("&Označi sve"), "select-all", !text().isEmpty(), [this] { selectAll(); });
    menu->popup(event->globalPos());
}

void AmountEditor::mouseReleaseEvent(QMouseEvent* event) {
    // The X11 selection paste of the middle button goes through the rule as well.
    if (event->button() == Qt::MiddleButton) {
        if (QGuiApplication::clipboard()->supportsSelection()) {
            deselect();
            pasteAmount(QClipboard::Selection);
        }
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

}  // namespace movik
