#include "ui/numeric_field_filter.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

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

    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
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

QString PastedNumberCleaner::cleaned(const QString &text)
{
    QString kept;
    kept.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        if (c == U',')
            kept += u'.';
        else if (c == U'\u2212')
            kept += u'-';
        else if (QChar::category(c) == QChar::Number_DecimalDigit)
            kept += QChar(u'0' + QChar::digitValue(c));
        else if (!QChar::isSpace(c) && QChar::category(c) != QChar::Other_Format)
            kept += QString::fromUcs4(&c, 1);
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
