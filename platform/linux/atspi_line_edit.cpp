#include "platform/linux/atspi_line_edit.h"

#include "platform/linux/atspi_text_answers.h"
#include "platform/linux/split_ligature.h"
#include "platform/workarounds.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QGlyphRun>
#include <QLineEdit>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Boundary = QAccessible::TextBoundaryType;

// Offsets count UTF-16 units, as in Qt's accessibility and its AT-SPI bridge,
// which passes them on unchanged, and as in the caret events of a line edit.
// A character is a grapheme, though: an emoji's two units, or a letter with
// its combining marks, are read, boxed, selected and deleted whole.
class Characters {
public:
    explicit Characters(const QString &text)
        : length(int(text.size())), graphemes(QTextBoundaryFinder::Grapheme, text)
    {
    }

    // The start of the character at place (0 to the length).
    int startAt(int place)
    {
        if (place <= 0 || place >= length) // an empty text has no boundaries at all
            return std::clamp(place, 0, length);
        graphemes.setPosition(place);
        if (!graphemes.isAtBoundary())
            graphemes.toPreviousBoundary();
        return int(graphemes.position());
    }
    // The end of the character at place, or place at the end of the text.
    int endAt(int place)
    {
        if (place >= length)
            return length;
        graphemes.setPosition(std::max(place, 0));
        return int(graphemes.toNextBoundary());
    }
    // The start of the character before the one at place (0 < place).
    int before(int place) { return startAt(startAt(place) - 1); }
    // A range with its ends moved out to whole characters; empty where end
    // is not after start.
    std::pair<int, int> whole(int start, int end)
    {
        const int from = startAt(start);
        return {from, end > start ? endAt(end - 1) : from};
    }

    const int length;

private:
    QTextBoundaryFinder graphemes;
};

// The stretch of a one-line text that a screen reader asks for at a place
// (step 0), or the one before (-1) or after it (1): a character; a word, which
// is a run of non-blank characters with the blank ones after it; or the whole
// text for a line, sentence or paragraph. At the end of the text the
// character is empty and the word is the last one; nothing comes before the
// first or after the last.
std::pair<int, int> stretch(const QString &text, int at, Boundary type, int step)
{
    Characters chars(text);
    const int length = chars.length;
    const auto blank = [&](int i) { return text[i].isSpace(); };
    const auto starts = [&](int i) {
        return i == 0 || type == QAccessible::CharBoundary ||
               (type == QAccessible::WordBoundary && !blank(i) && blank(chars.before(i)));
    };
    if (type != QAccessible::CharBoundary)
        at = std::max(std::min(at, length - 1), 0);
    int start = chars.startAt(at);
    int end = chars.endAt(start);
    while (start > 0 && !starts(start))
        start = chars.before(start);
    while (end < length && !starts(end))
        end = chars.endAt(end);
    if (step < 0)
        return start == 0 ? std::pair(0, 0) : stretch(text, start - 1, type, 0);
    if (step > 0)
        return end == length ? std::pair(length, length) : stretch(text, end, type, 0);
    return {start, end};
}

// The text as the line edit draws it: laid out again in one line with the same
// text and font, in the direction of its first letter as the line edit takes
// it, whatever the widget's own, and placed by the caret, whose rectangle the
// line edit centres on the cursor position however far it has scrolled and
// wherever it aligns the text. Laid out once for each question, so that a
// range costs no more than one character.
class DrawnText {
    Q_DISABLE_COPY_MOVE(DrawnText) // its line refers to its layout

public:
    explicit DrawnText(const QLineEdit *edit)
    {
        // The line edit scrolls its text as it paints it: a paint still due
        // is made first.
        QCoreApplication::sendPostedEvents(edit->window(), QEvent::UpdateRequest);
        layout.setText(edit->displayText());
        layout.setFont(edit->font());
        QTextOption option;
        option.setTextDirection(Qt::LayoutDirectionAuto);
        option.setFlags(QTextOption::IncludeTrailingSpaces);
        layout.setTextOption(option);
        layout.beginLayout();
        line = layout.createLine();
        layout.endLayout();
        const QRect caret = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        left = caret.x() + caret.width() / 2 - qRound(line.cursorToX(edit->cursorPosition()));
        top = caret.y();
        height = caret.height();
    }

    // Where the characters from start to end are drawn, in the line edit's
    // coordinates: from the leftmost to the rightmost of them, as parts of a
    // right-to-left run may lie apart.
    QRect box(int start, int end) const
    {
        const Spans parts = spans(start, end);
        // A tab or a character without a glyph: between its edges.
        auto [from, to] = parts.empty() ? std::minmax({line.cursorToX(start), line.cursorToX(end)})
                                        : parts.front();
        for (const auto &[partFrom, partTo] : parts) {
            from = std::min(from, partFrom);
            to = std::max(to, partTo);
        }
        return {left + qRound(from), top, qRound(to) - qRound(from), height};
    }
    // The character drawn at a point, or -1: Qt's own answer where it holds,
    // which it does not always under explicit direction overrides, and else
    // found by halves of the text, each drawn in parts that hold the point or
    // not.
    int at(QPoint point, Characters &chars) const
    {
        if (chars.length == 0 || point.y() < top || point.y() >= top + height)
            return -1;
        const qreal x = qreal(point.x()) + 0.5 - left; // the pixel's middle
        int start = chars.startAt(
            std::clamp(line.xToCursor(x, QTextLine::CursorOnCharacter), 0, chars.length));
        if (start < chars.length && box(start, chars.endAt(start)).contains(point))
            return start;
        const auto holds = [&](int from, int to) {
            const Spans parts = spans(from, to);
            return std::any_of(parts.begin(), parts.end(), [x](const auto &part) {
                return part.first <= x && x < part.second;
            });
        };
        int end = chars.length;
        start = 0;
        if (!holds(start, end))
            return -1;
        while (chars.endAt(start) < end) {
            const int middle =
                std::max(chars.startAt(start + (end - start) / 2), chars.endAt(start));
            std::tie(start, end) =
                holds(start, middle) ? std::pair(start, middle) : std::pair(middle, end);
        }
        return start;
    }

private:
    using Spans = std::vector<std::pair<qreal, qreal>>;

    // Where the characters from start to end are drawn: a part for each run
    // of glyphs, which covers those of the characters that one script item
    // holds, or a share of a ligature.
    Spans spans(int start, int end) const
    {
        Spans parts;
        const QList<QGlyphRun> runs = line.glyphRuns(start, end - start);
        if (std::none_of(runs.begin(), runs.end(), [](const QGlyphRun &run) {
                return dielektra::atspi::misplacesSplitLigature(int(run.flags()));
            })) {
            for (const QGlyphRun &run : runs)
                parts.emplace_back(run.boundingRect().left(), run.boundingRect().right());
            return parts;
        }
        // Ligatures split at either end get their share; the characters
        // between split none.
        if (const auto first = dielektra::atspi::ligatureAt(layout, line, start);
            first && (first->start < start || first->end > end)) {
            parts.push_back(
                dielektra::atspi::share(layout, *first, start, std::min(first->end, end)));
            start = std::min(first->end, end);
        }
        const int last = layout.previousCursorPosition(end, QTextLayout::SkipCharacters);
        if (const auto ligature =
                start < end ? dielektra::atspi::ligatureAt(layout, line, last) : std::nullopt;
            ligature && ligature->end > end) {
            parts.push_back(
                dielektra::atspi::share(layout, *ligature, std::max(ligature->start, start), end));
            end = std::max(ligature->start, start);
        }
        if (start < end)
            for (const QGlyphRun &run : line.glyphRuns(start, end - start))
                parts.emplace_back(run.boundingRect().left(), run.boundingRect().right());
        return parts;
    }

    QTextLayout layout;
    QTextLine line;
    int left = 0, top = 0, height = 0;
};

// Qt's own interface for a line edit loops for ever when asked for the word at
// the end of the text, as a screen reader does on Ctrl+Right, and gives each
// character an empty text-attribute run, so that a screen reader reads a value
// without its last character. This one walks the text itself, in one run,
// and takes any offset: -1 is the end of the text to AT-SPI, -2 the caret
// to Qt, and others are held within the text.
class LineEditInterface : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface,
                          public dielektra::atspi::TextAnswers {
public:
    LineEditInterface(QLineEdit *edit, dielektra::atspi::TextInsertion insert)
        : QAccessibleWidget(edit, QAccessible::EditableText), insert_(std::move(insert))
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
        const QString text = edit()->text();
        std::tie(start, end) = Characters(text).whole(place(start), place(end));
        return text.mid(start, end - start);
    }
    int characterCount() const override { return int(edit()->text().size()); }
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override
    {
        edit()->setCursorPosition(Characters(edit()->text()).startAt(place(position)));
    }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void selection(int index, int *start, int *end) const override
    {
        const bool any = index == 0 && edit()->hasSelectedText();
        *start = any ? edit()->selectionStart() : cursorPosition();
        *end = any ? edit()->selectionEnd() : cursorPosition();
    }
    // From start to end, the caret at end: backwards where end comes first.
    void setSelection(int index, int start, int end) override
    {
        if (index != 0)
            return;
        Characters chars(edit()->text());
        const bool backwards = place(end) < place(start);
        const auto [from, to] =
            chars.whole(std::min(place(start), place(end)), std::max(place(start), place(end)));
        edit()->setSelection(backwards ? to : from, backwards ? from - to : to - from);
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
    QRect characterRect(int offset) const override
    {
        Characters chars(edit()->text());
        if (offset < 0 || offset >= chars.length)
            return {};
        const int start = chars.startAt(offset);
        return screenBox(start, chars.endAt(start));
    }
    // Whole characters, measured at once; Qt's bridge would ask characterRect
    // for each.
    QRect rangeBox(int start, int end) const override
    {
        std::tie(start, end) = Characters(edit()->text()).whole(place(start), place(end));
        return start < end ? screenBox(start, end) : QRect();
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        Characters chars(edit()->text());
        return DrawnText(edit()).at(edit()->mapFromGlobal(point), chars);
    }
    // The caret decides what a line edit shows; moving it unasked would
    // surprise the user.
    void scrollToSubstring(int /*start*/, int /*end*/) override {}

    // As the line edit takes an inserted text (a numeric field the number
    // that the text holds).
    void replaceText(int start, int end, const QString &text) override
    {
        std::tie(start, end) = Characters(edit()->text()).whole(place(start), place(end));
        taken_ = !edit()->isReadOnly();
        if (!taken_ || (start == end && text.isEmpty()))
            return;
        edit()->setSelection(start, end - start);
        if (text.isEmpty())
            edit()->del();
        else
            taken_ = insert_(edit(), text);
    }
    bool lastEditTaken() const override { return taken_; }
    void insertText(int offset, const QString &text) override { replaceText(offset, offset, text); }
    void deleteText(int start, int end) override { replaceText(start, end, {}); }

private:
    QLineEdit *edit() const { return static_cast<QLineEdit *>(widget()); }

    dielektra::atspi::TextInsertion insert_;
    bool taken_ = true;

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
    QRect screenBox(int start, int end) const
    {
        const QRect box = DrawnText(edit()).box(start, end);
        return {edit()->mapToGlobal(box.topLeft()), box.size()};
    }
};

} // namespace

QAccessibleInterface *dielektra::atspi::lineEditInterface(QLineEdit *edit, TextInsertion insert)
{
    if (!platform::workaroundOn("atspi_line_edit"))
        return nullptr;
    return new LineEditInterface(edit, std::move(insert));
}
