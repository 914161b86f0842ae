#include "ui/numeric_field_filter.h"

#include "ui/caret.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

#include <array>

namespace {

bool passesUnfiltered(const QKeyEvent *key)
{
    static constexpr std::array shortcuts{QKeySequence::Copy,  QKeySequence::Cut,
                                          QKeySequence::Paste, QKeySequence::Undo,
                                          QKeySequence::Redo,  QKeySequence::SelectAll};
    for (const auto shortcut : shortcuts)
        if (key->matches(shortcut))
            return true;
    return key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab || key->text().isEmpty();
}

bool endsCell(char32_t c)
{
    return c == U'\t' || c == U'\n' || c == U'\r' || c == U'\v' || c == U'\f' || c == U'\u0085' ||
           c == U'\u2028' || c == U'\u2029';
}

bool isDropped(char32_t c)
{
    return QChar::isSpace(c) || QChar::category(c) == QChar::Other_Format;
}

// U+2212 as "-" and any decimal digit as its ASCII digit; the rest as it is.
char32_t asAscii(char32_t c)
{
    if (c == U'\u2212')
        return U'-';
    if (QChar::category(c) == QChar::Number_DecimalDigit)
        return U'0' + char32_t(QChar::digitValue(c));
    return c;
}

// The characters of a paste as a number sees them: ASCII digits for any
// decimal digit, "-" for U+2212, blanks and format characters skipped, and
// the end at a tab or line break once a character was seen (before it,
// empty cells and lines are passed over).
class PastedCharacters {
public:
    explicit PastedCharacters(QStringView text) : text_(text) {}

    // 0 at the end; a non-ASCII character other than those above is 0x7f.
    char peek()
    {
        if (!ready_)
            advance();
        return current_;
    }
    void take() { ready_ = false; }

private:
    void advance()
    {
        ready_ = true;
        current_ = 0;
        while (at_ < text_.size()) {
            char32_t c = text_[at_++].unicode();
            if (c == U' ')
                continue; // the commonest blank, before any lookup
            if (QChar::isHighSurrogate(c) && at_ < text_.size() && text_[at_].isLowSurrogate())
                c = QChar::surrogateToUcs4(char16_t(c), text_[at_++].unicode());
            if (endsCell(c)) {
                if (seen_)
                    return;
                continue;
            }
            if (c >= 0x80 && isDropped(c))
                continue;
            seen_ = true;
            if (c >= 0x80)
                c = asAscii(c);
            current_ = c < 0x80 ? char(c) : char(0x7f);
            return;
        }
    }

    QStringView text_;
    qsizetype at_ = 0;
    bool seen_ = false;
    bool ready_ = false;
    char current_ = 0;
};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Grouping separators go; the decimal one becomes ".".
void resolveSeparators(std::string &mantissa)
{
    const auto commas = std::count(mantissa.begin(), mantissa.end(), ',');
    const auto periods = std::count(mantissa.begin(), mantissa.end(), '.');
    std::string::size_type decimal = std::string::npos;
    if (commas > 0 && periods > 0)
        decimal = mantissa.find_last_of(",.");
    else if (commas + periods == 1)
        decimal = mantissa.find_first_of(",.");
    std::string kept;
    kept.reserve(mantissa.size());
    for (std::string::size_type i = 0; i < mantissa.size(); ++i) {
        if (i == decimal)
            kept += '.';
        else if (isDigit(mantissa[i]))
            kept += mantissa[i];
    }
    mantissa = std::move(kept);
}

// Qt keeps an undo step apart from the one before only when the caret moves;
// so it is moved away and back, and the selection restored.
void separateUndoStep(QLineEdit *field)
{
    const Caret caret(*field);
    const int away = caret.at > 0 ? caret.at - 1 : caret.at + 1;
    if (away > field->text().size())
        return; // an empty field: nothing before to keep apart
    field->setCursorPosition(away);
    caret.restore(*field);
}

void pasteFromClipboard(QLineEdit *field, QClipboard::Mode mode)
{
    PasteNumber(field, QGuiApplication::clipboard()->text(mode));
}

// The field's own menu, its Paste through PasteNumber.
void showContextMenu(QLineEdit *field, const QPoint &globalPos)
{
    QMenu *menu = field->createStandardContextMenu();
    const QString paste = QLineEdit::tr("&Paste");
    for (QAction *action : menu->actions()) {
        if (action->text().startsWith(paste)) {
            QObject::disconnect(action, nullptr, field, nullptr);
            QObject::connect(action, &QAction::triggered, field,
                             [field] { pasteFromClipboard(field, QClipboard::Clipboard); });
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

// A drop of text that is not just its number is dropped again with the number.
bool dropNumber(QLineEdit *field, QDropEvent *drop)
{
    const QString text = drop->mimeData()->text();
    if (text.isNull() || field->isReadOnly())
        return false;
    const auto number = PastedNumber(text, field->maxLength() - field->text().size());
    if (number && *number == text)
        return false;
    if (!number) {
        drop->ignore();
        return true;
    }
    QMimeData cleaned;
    cleaned.setText(*number);
    QDropEvent again(drop->position(), drop->possibleActions(), &cleaned, drop->buttons(),
                     drop->modifiers());
    again.setDropAction(drop->dropAction());
    QCoreApplication::sendEvent(field, &again);
    drop->setDropAction(again.dropAction());
    drop->setAccepted(again.isAccepted());
    return true;
}

} // namespace

QString NumericFieldFilter::filtered(const QString &typed)
{
    QString kept;
    kept.reserve(typed.size());
    for (const QChar c : typed) {
        if (c == u',')
            kept += u'.';
        // A typed period passes as it is: cancelling it would turn 1.5 into 15.
        else if ((c >= u'0' && c <= u'9') || c == u'.' || c == u'\b')
            kept += c;
    }
    return kept;
}

bool NumericFieldFilter::eventFilter(QObject *watched, QEvent *event)
{
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (field == nullptr)
        return false;

    switch (event->type()) {
    case QEvent::ContextMenu:
        showContextMenu(field, static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    case QEvent::MouseButtonRelease:
        // A middle click pastes the selection where the press put the caret.
        if (static_cast<QMouseEvent *>(event)->button() == Qt::MiddleButton &&
            QGuiApplication::clipboard()->supportsSelection()) {
            field->deselect();
            pasteFromClipboard(field, QClipboard::Selection);
            return true;
        }
        return false;
    case QEvent::Drop:
        return dropNumber(field, static_cast<QDropEvent *>(event));
    default:
        break;
    }

    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Paste)) {
            pasteFromClipboard(field, QClipboard::Clipboard);
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
            key->key() == Qt::Key_Escape)
            return true;
        if (passesUnfiltered(key))
            return false;
        const QString kept = filtered(key->text());
        if (kept == key->text())
            return false;
        if (!kept.isEmpty())
            field->insert(kept);
        return true;
    }

    if (event->type() == QEvent::InputMethod) {
        const auto *input = static_cast<QInputMethodEvent *>(event);
        const QString kept = filtered(input->commitString());
        if (kept == input->commitString())
            return false;
        QInputMethodEvent replacement(input->preeditString(), input->attributes());
        replacement.setCommitString(kept, input->replacementStart(), input->replacementLength());
        // The replacement passes this filter again unchanged.
        QCoreApplication::sendEvent(field, &replacement);
        return true;
    }
    return false;
}

std::optional<QString> PastedNumber(QStringView text, qsizetype maxLength)
{
    PastedCharacters in(text);
    std::string number;
    const auto full = [&] { return qsizetype(number.size()) > maxLength; };
    if (in.peek() == '+' || in.peek() == '-') {
        number += in.peek();
        in.take();
    }
    std::string mantissa;
    bool digits = false;
    for (char c = in.peek(); isDigit(c) || c == ',' || c == '.'; c = in.peek()) {
        digits = digits || isDigit(c);
        mantissa += c;
        in.take();
        // Grouping separators may make it shorter, but not by more than half.
        if (qsizetype(mantissa.size()) > 2 * maxLength + 1)
            return std::nullopt;
    }
    if (!digits)
        return std::nullopt;
    resolveSeparators(mantissa);
    number += mantissa;
    if (in.peek() == 'E' || in.peek() == 'e') {
        std::string exponent(1, in.peek());
        in.take();
        if (in.peek() == '+' || in.peek() == '-') {
            exponent += in.peek();
            in.take();
        }
        for (char c = in.peek(); isDigit(c); c = in.peek()) {
            exponent += c;
            in.take();
            if (qsizetype(exponent.size()) > maxLength)
                return std::nullopt;
        }
        if (isDigit(exponent.back()))
            number += exponent;
    }
    if (full())
        return std::nullopt;
    return QString::fromLatin1(number.data(), qsizetype(number.size()));
}

void PasteNumber(QLineEdit *field, QStringView text)
{
    if (field->isReadOnly())
        return;
    const qsizetype room =
        field->maxLength() - (field->text().size() - field->selectedText().size());
    const auto number = PastedNumber(text, room);
    if (!number)
        return;
    separateUndoStep(field);
    field->insert(*number);
    separateUndoStep(field);
}

QString PastedNumberCleaner::cleaned(const QString &text)
{
    QString kept;
    kept.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        if (c == U',')
            kept += u'.';
        else if (!isDropped(c)) {
            const char32_t ascii = asAscii(c);
            kept += QString::fromUcs4(&ascii, 1);
        }
    }
    return kept;
}

QValidator::State PastedNumberCleaner::validate(QString &input, int &pos) const
{
    // The caret stays behind the same character it followed.
    const qsizetype before = cleaned(input.left(pos)).size();
    input = cleaned(input);
    pos = static_cast<int>(before);
    return Acceptable;
}
