#include "gui_support.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <ostream>

namespace {

const char *const allFields[] = {"Text1", "Text2", "Text3", "Text4", "Text5",
                                 "Text6", "Text7", "Text8", "Text9", "Text10"};

// Types like a keyboard: one key event per character, also for characters
// that have no key of their own in Qt's test keyboard.
void type(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, static_cast<char>(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

struct TypingCase {
    const char *name;
    friend std::ostream &operator<<(std::ostream &out, const TypingCase &row)
    {
        return out << row.name;
    }
    QString typed;
    QString left; // the field's text, typed into an empty field
};

class Typing : public WindowTest, public testing::WithParamInterface<TypingCase> {};

TEST_P(Typing, LeavesOnlyDigitsAndPeriodsInEveryField)
{
    const auto &row = GetParam();
    auto *tabs = child<QTabWidget>("SSTab1");
    for (const char *name : allFields) {
        auto *field = child<QLineEdit>(name);
        tabs->setCurrentWidget(field->parentWidget());
        field->clear();
        type(field, row.typed);
        EXPECT_EQ(field->text(), row.left) << name;
    }
    EXPECT_TRUE(closer.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Fields, Typing,
    testing::Values(
        TypingCase{"CommaEntersPeriod", QStringLiteral("1,5"), QStringLiteral("1.5")},
        TypingCase{"PeriodPassesUnchanged", QStringLiteral("1.5"), QStringLiteral("1.5")},
        TypingCase{"MinusIsCancelled", QStringLiteral("-3"), QStringLiteral("3")},
        TypingCase{"PlusIsCancelled", QStringLiteral("+3"), QStringLiteral("3")},
        TypingCase{"ExponentLetterIsCancelled", QStringLiteral("2e5"), QStringLiteral("25")},
        TypingCase{"BlanksAreCancelled", QStringLiteral("4 7 0"), QStringLiteral("470")},
        TypingCase{"SeveralCommas", QStringLiteral("1,2,3"), QStringLiteral("1.2.3")},
        TypingCase{"UnitLabelLeavesItsPeriod", QStringLiteral("mF."), QStringLiteral(".")},
        TypingCase{"CzechLettersAreCancelled", QStringLiteral("čšžý"), QString()},
        TypingCase{"OtherPunctuationIsCancelled", QStringLiteral("1;2'3/4"),
                   QStringLiteral("1234")}),
    [](const auto &info) { return std::string(info.param.name); });

struct KeyCase {
    const char *name;
    friend std::ostream &operator<<(std::ostream &out, const KeyCase &row)
    {
        return out << row.name;
    }
    QString before;
    QList<QKeyCombination> keys;
    QString after;
};

class EditingKeys : public WindowTest, public testing::WithParamInterface<KeyCase> {};

TEST_P(EditingKeys, WorkAsUsualAndStartNothing)
{
    const auto &row = GetParam();
    auto *field = child<QLineEdit>("Text1");
    field->setText(row.before);
    field->setFocus();
    for (const QKeyCombination key : row.keys)
        QTest::keyClick(field, key.key(), key.keyboardModifiers());
    EXPECT_EQ(field->text(), row.after);
    EXPECT_TRUE(closer.boxes.empty());
    EXPECT_EQ(child<QLabel>("Label4")->text(), QStringLiteral("Kondenzátor má kapacitu 100 F"));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, EditingKeys,
    testing::Values(
        KeyCase{"BackspaceDeletesBeforeCaret",
                QStringLiteral("123"),
                {Qt::Key_Backspace},
                QStringLiteral("12")},
        KeyCase{"ArrowsAndDelete",
                QStringLiteral("123"),
                {Qt::Key_Left, Qt::Key_Left, Qt::Key_Delete},
                QStringLiteral("13")},
        KeyCase{"HomeThenDigit",
                QStringLiteral("123"),
                {Qt::Key_Home, Qt::Key_9},
                QStringLiteral("9123")},
        KeyCase{"EnterIsCancelled",
                QStringLiteral("12"),
                {Qt::Key_Return, Qt::Key_Enter},
                QStringLiteral("12")},
        KeyCase{"EscapeIsCancelled", QStringLiteral("12"), {Qt::Key_Escape}, QStringLiteral("12")},
        KeyCase{"SelectAllThenType",
                QStringLiteral("123"),
                {Qt::ControlModifier | Qt::Key_A, Qt::Key_7},
                QStringLiteral("7")},
        KeyCase{"CopyAndPaste",
                QStringLiteral("12"),
                {Qt::ControlModifier | Qt::Key_A, Qt::ControlModifier | Qt::Key_C, Qt::Key_End,
                 Qt::ControlModifier | Qt::Key_V},
                QStringLiteral("1212")},
        KeyCase{"CutAndUndo",
                QStringLiteral("12"),
                {Qt::ControlModifier | Qt::Key_A, Qt::ControlModifier | Qt::Key_X,
                 Qt::ControlModifier | Qt::Key_Z},
                QStringLiteral("12")},
        KeyCase{"OtherControlKeysAreCancelled",
                QStringLiteral("12"),
                {Qt::ControlModifier | Qt::Key_B},
                QStringLiteral("12")}),
    [](const auto &info) { return std::string(info.param.name); });

using Pasting = WindowTest;

TEST_F(Pasting, PutsTextInUnfilteredAndTheClickRewritesIt)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("-5"));
    auto *field = child<QLineEdit>("Text1");
    field->clear();
    field->paste();
    EXPECT_EQ(field->text(), QStringLiteral("-5"));

    QTest::mouseClick(child<QPushButton>("Command1"), Qt::LeftButton);
    EXPECT_EQ(field->text(), QStringLiteral("5"));
    EXPECT_EQ(child<QLabel>("Label4")->text(), QStringLiteral("Kondenzátor má kapacitu 200 F"));
}

using InputMethod = WindowTest;

TEST_F(InputMethod, CommittedTextPassesTheSameFilter)
{
    auto *field = child<QLineEdit>("Text3");
    child<QTabWidget>("SSTab1")->setCurrentIndex(1);
    field->clear();
    field->setFocus();
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("1,5 kV"));
    QApplication::sendEvent(field, &commit);
    EXPECT_EQ(field->text(), QStringLiteral("1.5"));
}

} // namespace
