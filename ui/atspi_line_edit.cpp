#include "ui/atspi_line_edit.h"

#include <QAccessibleWidget>
#include <QLineEdit>

#include <algorithm>
#include <tuple>
#include <utility>

namespace {

using Boundary = QAccessible::TextBoundaryType;

// The stretch of a one-line text that a screen reader asks for at a place
// (step 0), or the one before (-1) or after it (1): a character; a word, which
// is a run of non-blanks with the blanks after it; or the whole text for a
// line, sentence or paragraph. At the end of the text the character is empty
// and the word is the last one; nothing comes before the first or after the
// last.
std::pair<int, int> stretch(const QString &text, int at, Boundary type, int step)
{
    const int length = int(text.size());
    const auto starts = [&](int i) {
        return i == 0 || type == QAccessible::CharBoundary ||
               (type == QAccessible::WordBoundary && !text[i].isSpace() && text[i - 1].isSpace());
    };
    int start = type == QAccessible::CharBoundary ? at : std::max(std::min(at, length - 1), 0);
    int end = std::min(start + 1, length);
    while (start > 0 && !starts(start))
        --start;
    while (end < length && !starts(end))
        ++end;
    if (step < 0)
        return start == 0 ? std::pair(0, 0) : stretch(text, start - 1, type, 0);
    if (step > 0)
        return end == length ? std::pair(length, length) : stretch(text, end, type, 0);
    return {start, end};
}

// Qt's own interface for a line edit loops for ever when asked for the word at
// the end of the text, as a screen reader does on Ctrl+Right, and gives each
// character an empty text-attribute run, so that a screen reader reads a value
// without its last character. This one walks the short text itself, in one
// run.
class LineEditInterface : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
public:
    explicit LineEditInterface(QLineEdit *edit) : QAccessibleWidget(edit, QAccessible::EditableText)
    {
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (t == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = !edit()->isReadOnly();
        s.readOnly = edit()->isReadOnly();
        s.selectableText = true;
        return s;
    }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? edit()->text() : QAccessibleWidget::text(t);
    }

    QString text(int start, int end) const override
    {
        return edit()->text().mid(start, end - start);
    }
    int characterCount() const override { return int(edit()->text().size()); }
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(place(position)); }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void selection(int index, int *start, int *end) const override
    {
        const bool any = index == 0 && edit()->hasSelectedText();
        *start = any ? edit()->selectionStart() : cursorPosition();
        *end = any ? edit()->selectionEnd() : cursorPosition();
    }
    void setSelection(int index, int start, int end) override
    {
        if (index == 0)
            edit()->setSelection(place(start), place(end) - place(start));
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override
    {
        if (index == 0)
            edit()->deselect();
    }
    QString attributes(int /*offset*/, int *start, int *end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }
    QString textBeforeOffset(int offset, Boundary type, int *start, int *end) const override
    {
        return textNear(offset, type, -1, start, end);
    }
    QString textAtOffset(int offset, Boundary type, int *start, int *end) const override
    {
        return textNear(offset, type, 0, start, end);
    }
    QString textAfterOffset(int offset, Boundary type, int *start, int *end) const override
    {
        return textNear(offset, type, 1, start, end);
    }
    // Measured from the caret, whose middle is between two characters wherever
    // the line edit scrolled.
    QRect characterRect(int offset) const override
    {
        const QString text = edit()->text();
        if (offset < 0 || offset >= text.size())
            return {};
        const QFontMetrics metrics(edit()->font());
        const QRect caret = edit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int x = caret.x() + caret.width() / 2 + metrics.horizontalAdvance(text.left(offset)) -
                      metrics.horizontalAdvance(text.left(cursorPosition()));
        return {edit()->mapToGlobal(QPoint(x, caret.y())),
                QSize(metrics.horizontalAdvance(text.at(offset)), caret.height())};
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
    }
    // The caret decides what a line edit shows; moving it unasked would
    // surprise the user.
    void scrollToSubstring(int /*start*/, int /*end*/) override {}

    // Through the validator, as a paste: a field cleans what it is given.
    void replaceText(int start, int end, const QString &text) override
    {
        setSelection(0, start, end);
        edit()->insert(text);
    }
    void insertText(int offset, const QString &text) override { replaceText(offset, offset, text); }
    void deleteText(int start, int end) override { replaceText(start, end, {}); }

private:
    QLineEdit *edit() const { return static_cast<QLineEdit *>(widget()); }

    // An offset within the text: -1 is its end to AT-SPI, -2 the caret to Qt.
    int place(int offset) const
    {
        if (offset == -2)
            return cursorPosition();
        return offset == -1 ? characterCount() : std::clamp(offset, 0, characterCount());
    }
    QString textNear(int offset, Boundary type, int step, int *start, int *end) const
    {
        const QString text = edit()->text();
        std::tie(*start, *end) = stretch(text, place(offset), type, step);
        return text.mid(*start, *end - *start);
    }
};

} // namespace

QAccessibleInterface *dielektra::atspi::lineEditInterface(QLineEdit *edit)
{
    return new LineEditInterface(edit);
}
