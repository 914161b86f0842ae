#include "gui_support.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QClipboard>
#include <QDir>
#include <QInputMethodEvent>
#include <QLibraryInfo>
#include <QMenu>
#include <QMimeData>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QVersionNumber>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace {

using Window = WindowTest;

// A screen reader's press.
void press(QWidget *control)
{
    QAccessible::queryAccessibleInterface(control)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
}

// Waits until every process that the test started has ended and been
// reported: QProcess waits for a child (and so removes it from /proc) as it
// reports its end, and the end's queued signals are then sent here.
bool openersEndedAndReported()
{
    const QByteArray self = QByteArray::number(QCoreApplication::applicationPid());
    const bool ended = QTest::qWaitFor(
        [&self] {
            const QStringList all = QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
            return std::none_of(all.begin(), all.end(), [&self](const QString &process) {
                QFile stat("/proc/" + process + "/stat"); // "pid (name) state ppid …"
                return stat.open(QIODevice::ReadOnly) &&
                       stat.readAll().split(')').constLast().split(' ').value(2) == self;
            });
        },
        30000);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    return ended;
}

// A press of each page's button, by a click or by Enter or the keypad's Enter
// on the focused button, on a fresh window: the texts it leaves, its box (an
// input error), whether the time-constant note shows, and where the focus
// lands after the box. No press while a box is open opens another, and a
// held key presses once.
TEST_F(Window, PressesWriteTheirPagesSentenceOrShowABox)
{
    constexpr auto click = Qt::Key_unknown; // else Key_Return, or the keypad's Key_Enter
    constexpr auto heldReturn = Qt::Key_Launch0;
    // A click, then while its box is open every button and clickable label
    // pressed over AT-SPI and every button clicked in code; the presses' own
    // events (a label's queued click, a button's animated one) run while the
    // box is open, or (late) after it has closed.
    constexpr auto clickThenPressAll = Qt::Key_Any;
    constexpr auto clickThenPressAllLate = Qt::Key_Cancel;
    // The same late presses, and once the box has closed the button pressed
    // over AT-SPI again.
    constexpr auto clickThenPressAfter = Qt::Key_Execute;
    const struct {
        int page;
        Qt::Key key;
        const char *set, *after, *box = "", *focus = "";
        bool note = false;
        int boxes = 1; // how often the box shows
    } rows[] = {
        {0, Qt::Key_Enter, "Text1=5|Combo1=mV.|Text2=2abc|Combo2=mC.",
         "Label4=Kondenzátor má kapacitu 0,4 F"},
        {1, Qt::Key_Return, "Text3=1.1|Text4=1|Combo4=F",
         "Label12=V kondenzátoru je náboj 1,10000002384186 C"},
        {2, click, "Text5=1|Combo5=uC|Text6=3|Combo6=nF",
         "Label20=Kondenzátor má napětí 333,333333333333 V"},
        {0, Qt::Key_Enter, "Text1=1.4E-45|Combo1=pV|Text2=3.4028235E38|Combo2=TC",
         "Label4=Kondenzátor má kapacitu 2,42833597054205E+107 F"},
        {1, click, "Text3=-123456789|Text4=1|Combo4=pF",
         "Text3=1.234568E+08|Label12=V kondenzátoru je náboj 0,0001234568 C"},
        {1, click, "Text3=3.4028235677973366E38", "", "Zadaná hodnota je příliš velká"},
        {4, Qt::Key_Return, "Text10=-2", "Text10=2|Label37=V kondenzátoru je energie 0,0002 J"},
        {3, click, "Text7=0", "Label26=Časová konstanta kondenzátoru je 0 sec.", "", "", true},
        {3, click, "Text7=-0", "Label26=Časová konstanta kondenzátoru je 0 sec.", "", "", true},
        {3, Qt::Key_Return, "Text8=", "Text8=1", "Kondenzátor nemůže mít nulovou kapacitu"},
        {0, Qt::Key_Return, "Combo1=kV", "Label4=Kondenzátor má kapacitu 100 F",
         "Zadaná jednotka není platná. Platné jednotky: TV, MV, KV, V, mV., uV, nV, pV", "Combo1"},
        {1, click, "Combo4=mF", "",
         "Zadaná jednotka není platná. Platné jednotky: TF, MF, KF, F, mF., uF, nF, pF", "Combo4"},
        {1, clickThenPressAll, "Text3=0", "", "Zadaná hodnota nemůže být 0"},
        {2, heldReturn, "Text5=0", "", "Zadaná hodnota nemůže být 0"},
        {1, clickThenPressAllLate, "Text3=0", "", "Zadaná hodnota nemůže být 0"},
        {1, clickThenPressAfter, "Text3=0", "", "Zadaná hodnota nemůže být 0", "", false, 2}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.set);
        reopen();
        showPage(row.page);
        set(row.set);
        QWidget *button = child(QStringLiteral("Command%1").arg(row.page + 1));
        button->setFocus();
        // Qt clicks a button pressed over AT-SPI 100 ms later; a label's press
        // is queued. A click is counted once its box has closed.
        int clicks = 0;
        for (int page = 1; page <= 5; ++page)
            QObject::connect(child<QAbstractButton>(QStringLiteral("Command%1").arg(page)),
                             &QAbstractButton::clicked, window.get(), [&clicks] { ++clicks; });
        const auto pressesHandled = [&clicks](int due) {
            const bool clicked = QTest::qWaitFor([&] { return clicks == due; });
            QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
            return clicked;
        };
        const bool pressAll = row.key == clickThenPressAll || row.key == clickThenPressAllLate ||
                              row.key == clickThenPressAfter;
        if (pressAll) // each button twice: in code and over AT-SPI
            closer.whileOpen = [&, late = row.key != clickThenPressAll] {
                for (const char *name : {"Command1", "Command2", "Command3", "Command4", "Command5",
                                         "Label23", "Label32"}) {
                    if (auto *pressed = child<QAbstractButton>(name))
                        pressed->click();
                    press(child(name));
                }
                EXPECT_TRUE(late || pressesHandled(10));
            };
        if (row.key == heldReturn)
            holdKey(button, Qt::Key_Return);
        else if (row.key == Qt::Key_Return || row.key == Qt::Key_Enter)
            QTest::keyClick(button, row.key,
                            row.key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        else
            QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(pressesHandled(pressAll ? 11 : 1));
        if (row.key == clickThenPressAfter) {
            press(button);
            EXPECT_TRUE(pressesHandled(12));
        }
        const QString box = QStringLiteral("Chyba zadání | %1 | Critical | 1").arg(row.box);
        EXPECT_EQ(closer.take(), *row.box != 0 ? QStringList(row.boxes, box) : QStringList());
        expectTexts(row.after);
        EXPECT_EQ(child("Label35")->isVisibleTo(window.get()), row.note);
        // The window takes the focus back when the box has closed; offscreen it is only remembered.
        EXPECT_TRUE(*row.focus == 0 || child(row.focus)->isAncestorOf(window->focusWidget()));
    }
}

// Digits of any script pass as ASCII digits, periods pass, a comma (or the
// Arabic decimal mark) enters a period, every other typed character is
// cancelled.
TEST_F(Window, TypingLeavesDigitsAndPeriodsInEveryField)
{
    const char *const rows[][2] = {{"1,5", "1.5"},
                                   {"1.5", "1.5"},
                                   {"-+3", "3"},
                                   {"2e5", "25"},
                                   {"4 7 0", "470"},
                                   {"1,2,3", "1.2.3"},
                                   {"mF.", "."},
                                   {"čšžý", ""},
                                   {"1;2'3/4\t", "1234"},
                                   // Digits of other scripts, as their keyboards type them.
                                   {"\u0663\u066b\u0665", "3.5"},
                                   {"\uff15\uff0c\uff10", "5.0"},
                                   {"\u00b2\u00bd", ""}};
    for (int i = 1; i <= 10; ++i) {
        auto *field = child<QLineEdit>(QStringLiteral("Text%1").arg(i));
        for (const auto &[typed, left] : rows) {
            field->clear();
            for (const QChar c : QString::fromUtf8(typed)) // one key event a character
                QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, c, Qt::NoModifier);
            // Then the same characters as a keyboard through an input method commits them.
            for (const QChar c : QString::fromUtf8(typed)) {
                QInputMethodEvent key;
                key.setCommitString(c);
                QApplication::sendEvent(field, &key);
            }
            EXPECT_EQ(field->text(), QString(left) + left) << "Text" << i << " typed " << typed;
        }
    }
}

// Editing keys work as usual in a field and start nothing.
TEST_F(Window, EditingKeysWorkAsUsual)
{
    const char *const rows[][3] = {{"1234", "Backspace Left Left Del Home 9", "913"},
                                   {"12", "Return Enter Esc Ctrl+B", "12"},
                                   {"123", "Ctrl+A 7", "7"},
                                   {"12", "Ctrl+A Ctrl+C End Ctrl+V", "1212"},
                                   {"12", "Ctrl+A Ctrl+X Ctrl+Z", "12"},
                                   {"12", "Ctrl+A Ctrl+X Ctrl+Z Ctrl+Shift+Z Tab", ""}};
    auto *field = child<QLineEdit>("Text1");
    for (const auto &[before, keys, after] : rows) {
        field->setText(before);
        for (const QString &key : QString(keys).split(u' ')) {
            if (key == "Del") // with the character DEL, as X11 delivers it
                QTest::sendKeyEvent(QTest::Click, field, Qt::Key_Delete, QChar(0x7f), {});
            else
                QTest::keySequence(field, QKeySequence(key));
        }
        EXPECT_EQ(field->text(), after) << keys;
    }
    EXPECT_TRUE(closer.boxes.empty());
    expectTexts("Label4=Kondenzátor má kapacitu 100 F");
    EXPECT_TRUE(child("Combo1")->isAncestorOf(window->focusWidget())); // Tab left the field
}

// Every way in but typing puts into the field the number that a person means,
// by the rule of numberInText, at the caret, as one undo step, and the unit
// written after it into the list beside it, where that list has it; Ctrl+Z
// takes both back, Ctrl+Shift+Z brings both again. A text that holds no such
// number, or whose number would leave the field showing another number than
// it uses, changes nothing. With Text1 at 10 V and Combo2 at KC the sentence
// shows the value that Text2 then holds. The field starts as the row's start
// text, its last character typed (a step of its own), all of it selected
// (emptied for a drop, which goes where it is dropped; or the caret at a
// place, nothing selected).
TEST_F(Window, PasteGivesTheFieldItsNumber)
{
    const QString fits = QString(32766, u'0') + "5"; // 32,767 characters: the field's room
    const struct {
        const char *name;
        // Keys, "menu" (the context menu's Vložit), "drop", "input method" (a
        // phrase committed at once; "input method over N" replaces the N
        // characters before the caret), "setText" (a text set whole, as by
        // code) or "insert" (an edit that no known way makes).
        const char *how;
        QString pasted, left;
        // The capacity, the text after Ctrl+Z (where nothing was pasted, the
        // typed last character goes), Combo2 after the paste.
        const char *capacity, *undone, *unit = "KC";
        int caret = -1;
        QString start = "12";
    } rows[] = {
        {"decimal comma", "Ctrl+V", "1,5", "1.5", "150", "12"},
        {"blank groups thousands", "Shift+Ins", "1 000,5", "1000.5", "100050", "12"},
        {"exponent", "menu", "4,69999980926514E-05", "4.69999980926514E-05", "0,00469999977212865",
         "12"},
        {"narrow blanks group, line ends", "drop", "\u00a01\u202f000\t\n", "1000", "100000", ""},
        {"negative", "menu", "-5", "-5", "500", "12"},
        {"milli", "Ctrl+V", "5 mC", "5", "0,0005", "12", "mC."},
        {"micro sign", "Ctrl+V", "3\u00a0\u00b5C.", "3", "3E-07", "12", "uC"},
        {"another quantity's unit", "Ctrl+V", "5 kV", "5", "500", "12"},
        {"no unit", "Ctrl+V", "5 mCx", "5", "500", "12"},
        {"dropped with a unit", "drop", "2 MC", "2", "200000", "", "MC"},
        {"input method's phrase", "input method", "1,000.5 mC", "1000.5", "0,10005", "12", "mC."},
        {"set whole", "setText", "12e1 mC", "12e1", "0,012", "12e1", "mC."},
        {"set whole, no number", "setText", "abc", "12", "1200", "1"},
        {"set whole, longer than the room", "setText", "1" + fits, "12", "1200", "1"},
        {"unknown insertion", "insert", "1,000.5", "1000.5", "100050", "12"},
        {"unknown insertion, no number", "insert", "abc", "12", "1200", "1"},
        {"comma groups", "Shift+Ins", "1,000.5", "1000.5", "100050", "12"},
        {"sentence's full stop", "Ctrl+V", "0,5.", "0.5", "50", "12"},
        {"list after a comma", "Ctrl+V", "1.5, 2.5", "1.5", "150", "12"},
        {"list after a blank", "input method", "1,5 2,5", "1.5", "150", "12"},
        {"list without blanks", "Ctrl+V", "4.7,10", "12", "1200", "1"},
        {"apostrophe groups", "Ctrl+V", "1'000 C", "1000", "100", "12", "C"},
        {"power of ten", "Ctrl+V", "5\u00d710\u00b3 kC", "12", "1200", "1"},
        {"into the middle", "Ctrl+V", "3", "132", "13200", "12", "KC", 1},
        {"sign into the middle", "Ctrl+V", "-3", "12", "1200", "1", "KC", 1},
        {"sign at the start", "Ctrl+V", "-3", "-312", "31200", "12", "KC", 0},
        {"second decimal mark", "Ctrl+V", "3.5", "1.2", "120,000004768372", "1.", "KC", 1, "1.2"},
        {"decimal mark into digits", "menu", "3,5", "13.52", "1352,00004577637", "12", "KC", 1},
        {"exponent at the end", "Ctrl+V", "5e3", "125e3", "12500000", "12", "KC", 2},
        {"at the end of a typed 1.2.3", "Ctrl+V", "4", "1.2.3", "120,000004768372", "1.2.", "KC", 5,
         "1.2.3"},
        {"phrase into the middle", "input method", "-3", "12", "1200", "1", "KC", 1},
        {"phrase without a number over two", "input method over 2", "ab", "12345", "1234500",
         "1234", "KC", 5, "12345"},
        {"phrase over two", "input method over 2", "6 kC", "1236", "123600", "12345", "KC", 5,
         "12345"},
        {"phrase over four, a typed 1.2.3 made whole", "input method over 4", "5 kC", "15", "1500",
         "1.2.3", "KC", 5, "1.2.3"},
        {"unknown insertion into the middle", "insert", "-3", "12", "1200", "1", "KC", 1},
        {"fills the room", "Ctrl+V", fits, fits, "500", "12"},
        {"longer than the room", "Ctrl+V", "0" + fits, "12", "1200", "1"},
        {"longer than the room left", "Ctrl+V", fits.mid(1), "12", "1200", "1", "KC", 1},
        {"as long as the room left", "Ctrl+V", fits.mid(2), fits.mid(2) + "12", "51200", "12", "KC",
         0},
        {"letters", "Ctrl+V", "abc", "12", "1200", "1"},
        {"unit before the number", "drop", "kV 5", "", "", "12"},
        {"blank cells", "Ctrl+V", "\t\n", "12", "1200", "1"}};
    auto *field = child<QLineEdit>("Text2");
    auto *unitList = child<QComboBox>("Combo2");
    for (const auto &row : rows) {
        const QString how(row.how);
        SCOPED_TRACE(row.name);
        unitList->setCurrentText("KC");
        field->clear();
        QTest::keyClicks(field, row.start.chopped(1));
        field->home(false); // the last character is a step of its own
        field->end(false);
        QTest::keyClicks(field, row.start.right(1));
        field->selectAll();
        if (row.caret >= 0)
            field->setCursorPosition(row.caret);
        const QString before = how == "drop" ? "" : row.start;
        QGuiApplication::clipboard()->setText(row.pasted);
        QMimeData dragged;
        dragged.setText(row.pasted);
        // A drag that offers a move, and proposes it (Shift)
        QDragEnterEvent enter({5, 5}, Qt::CopyAction | Qt::MoveAction, &dragged, Qt::LeftButton,
                              Qt::ShiftModifier);
        QDropEvent drop({5, 5}, Qt::CopyAction | Qt::MoveAction, &dragged, Qt::LeftButton,
                        Qt::ShiftModifier);
        QInputMethodEvent phrase;
        const int replaced = how.startsWith("input method over ") ? how.back().digitValue() : 0;
        phrase.setCommitString(row.pasted, -replaced, replaced);
        if (how == "menu") {
            bool chosen = false;
            QTimer::singleShot(0, [field, &chosen, caret = row.caret] {
                // Offscreen, the first popup takes the selection away.
                if (caret < 0)
                    field->selectAll();
                auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
                for (QAction *action : menu->actions())
                    if (action->text().startsWith("&Vložit")) // Qt's Czech texts
                        action->trigger();
                menu->close();
                chosen = true;
            });
            QContextMenuEvent menuAt(QContextMenuEvent::Mouse, {5, 5},
                                     field->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(field, &menuAt); // the menu pops up and returns
            EXPECT_TRUE(QTest::qWaitFor([&chosen] { return chosen; }, 30000));
        } else if (how == "drop") {
            field->clear();
            QApplication::sendEvent(field, &enter);
            QApplication::sendEvent(field, &drop);
            // Refused while it hovers unless it holds a number; a copy, never a move.
            EXPECT_EQ(enter.isAccepted(), !row.left.isEmpty());
            const auto action = [](const QDropEvent &event) {
                return event.isAccepted() ? event.dropAction() : Qt::CopyAction;
            };
            EXPECT_EQ(action(enter), Qt::CopyAction);
            EXPECT_EQ(action(drop), Qt::CopyAction);
        } else if (how.startsWith("input method"))
            QApplication::sendEvent(field, &phrase);
        else if (how == "setText")
            field->setText(row.pasted);
        else if (how == "insert")
            field->insert(row.pasted);
        else
            QTest::keySequence(field, QKeySequence(how));
        EXPECT_EQ(field->text(), row.left);
        EXPECT_EQ(unitList->currentText(), row.unit);
        if (row.left != before) {
            EXPECT_EQ(field->cursorPosition(), row.caret < 0
                                                   ? row.left.size()
                                                   : row.caret + row.left.size() - before.size());
        }
        QTest::keySequence(field, QKeySequence::Undo);
        EXPECT_EQ(field->text(), row.undone);
        EXPECT_EQ(unitList->currentText(), field->text() == row.left ? row.unit : "KC");
        if (row.undone == before && row.left != before) { // the caret and selection come back
            EXPECT_EQ(field->selectedText(), row.caret < 0 ? before : "");
            EXPECT_EQ(field->cursorPosition(), row.caret < 0 ? before.size() : row.caret);
        }
        QTest::keySequence(field, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
        EXPECT_EQ(field->text(), row.left);
        EXPECT_EQ(unitList->currentText(), row.unit);
        if (row.left.isEmpty())
            continue;
        QTest::mouseClick(child("Command1"), Qt::LeftButton);
        expectTexts(QStringLiteral("Label4=Kondenzátor má kapacitu %1 F").arg(row.capacity));
    }
    EXPECT_TRUE(closer.boxes.empty());
}

// Ctrl+Z in a field brings back, step by step, the number and the unit shown
// together before each step, and Ctrl+Shift+Z goes forward again; a unit that
// the user chose in the list since a step stays. A step is a paste, an input
// method's phrase, or a run of typed characters or of deletions with nothing
// between. Text1 starts at the row's start text, Combo1 at "V", the caret at
// the end.
TEST_F(Window, UndoWalksBackNumberAndUnitTogether)
{
    using Actions = std::vector<std::pair<const char *, QString>>;
    // "type": keys; "paste": Ctrl+V over the whole text, "paste here": at
    // the caret; "commit": an input method's phrase at the caret, "key over":
    // its key in place of the character before the caret;
    // "Backspace", "Left", "Up in the list" (the user's choice of unit):
    // pressed as often as the text is long; "undo": Ctrl+Z; "set": a text set
    // whole by code.
    const auto alternating = [](int times) {
        Actions commits;
        for (int i = 0; i < times; ++i)
            commits.emplace_back("commit", i % 2 == 0 ? "5 kV" : "3 mV");
        return commits;
    };
    const struct {
        const char *name;
        QString start;
        Actions actions;
        QString now;
        QStringList undone, redone;
    } rows[] = {
        {"two pastes, each with its unit",
         "7",
         {{"paste", "5 kV"}, {"paste", "3 mV"}},
         "3|mV.",
         {"5|KV", "7|V", "7|V"},
         {"5|KV", "3|mV.", "3|mV."}},
        {"a paste right after typing",
         "",
         {{"type", "12"}, {"paste here", "3"}},
         "123|V",
         {"12|V", "|V"},
         {"12|V", "123|V"}},
        {"typing right after a paste",
         "7",
         {{"paste", "5 kV"}, {"type", "1"}},
         "51|KV",
         {"5|KV", "7|V"},
         {"5|KV"}},
        {"a unit chosen after a paste stays",
         "7",
         {{"paste", "5 kV"}, {"Up in the list", "x"}},
         "5|MV",
         {"7|MV"},
         {"5|MV"}},
        {"a unit chosen between two pastes",
         "7",
         {{"paste", "5 kV"}, {"Up in the list", "x"}, {"paste", "3 mV"}},
         "3|mV.",
         {"5|MV", "7|MV"},
         {"5|MV", "3|mV."}},
        {"typing after a unit chosen",
         "7",
         {{"paste", "5 kV"}, {"Up in the list", "x"}, {"type", "2"}},
         "52|MV",
         {"5|MV", "7|MV"},
         {}},
        {"deletions in a run",
         "",
         {{"type", "123"}, {"Backspace", "xx"}},
         "1|V",
         {"123|V", "|V"},
         {"123|V", "1|V"}},
        {"a caret move parts typing",
         "",
         {{"type", "12"}, {"Left", "x"}, {"type", "3"}},
         "132|V",
         {"12|V", "|V"},
         {}},
        {"a refused paste is no step",
         "",
         {{"type", "12"}, {"paste here", "abc"}},
         "12|V",
         {"|V"},
         {}},
        {"an input method's key over the last character",
         "",
         {{"type", "12"}, {"key over", "5"}},
         "15|V",
         {"12|V", "|V"},
         {}},
        {"typing after an undo is a step of its own",
         "",
         {{"type", "1"}, {"Left", "x"}, {"type", "2"}, {"undo", "x"}, {"type", "3"}},
         "31|V",
         {"1|V", "|V"},
         {}},
        {"an edit after an undo drops the steps undone",
         "1",
         {{"paste", "5 kV"}, {"undo", "x"}, {"type", "2"}},
         "2|V",
         {"1|V"},
         {"2|V", "2|V"}},
        {"a text set whole starts anew",
         "7",
         {{"paste", "5 kV"}, {"set", "8"}},
         "8|KV",
         {"8|KV"},
         {}},
        {"a paste that changes only the unit", "5", {{"paste", "5 kV"}}, "5|KV", {"5|V"}, {"5|KV"}},
        {"input method's phrases one after another",
         "",
         alternating(40),
         "53535353535353535353535353535353535353535353535353535353535353535353535353535353|mV.",
         QStringList(40, "") << "|V",
         {}},
    };
    auto *field = child<QLineEdit>("Text1");
    auto *unitList = child<QComboBox>("Combo1");
    const auto shown = [&] { return field->text() + '|' + unitList->currentText(); };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        unitList->setCurrentText("V");
        field->setText(row.start);
        for (const auto &[action, text] : row.actions) {
            const QString what(action);
            if (what == "type") {
                QTest::keyClicks(field, text);
            } else if (what.startsWith("paste")) {
                if (what == "paste")
                    field->selectAll();
                QGuiApplication::clipboard()->setText(text);
                QTest::keySequence(field, QKeySequence::Paste);
            } else if (what == "commit" || what == "key over") {
                QInputMethodEvent commit;
                commit.setCommitString(text, what == "key over" ? -1 : 0,
                                       what == "key over" ? 1 : 0);
                QApplication::sendEvent(field, &commit);
            } else if (what == "set") {
                field->setText(text);
            } else if (what == "undo") {
                QTest::keySequence(field, QKeySequence::Undo);
            } else {
                for (qsizetype i = 0; i < text.size(); ++i) {
                    if (what == "Up in the list")
                        QTest::keyClick(unitList, Qt::Key_Up);
                    else
                        QTest::keyClick(field, what == "Left" ? Qt::Key_Left : Qt::Key_Backspace);
                }
            }
        }
        if (row.now.endsWith("|mV.") && row.now.size() > 20) // the phrases, inserted at the end
            EXPECT_EQ(field->text().size(), 40);
        else
            EXPECT_EQ(shown(), row.now);
        QStringList undone;
        for (qsizetype i = 0; i < row.undone.size(); ++i) {
            QTest::keySequence(field, QKeySequence::Undo);
            undone += shown();
        }
        if (row.undone.size() == 41)
            EXPECT_EQ(undone.constLast(), row.undone.constLast());
        else
            EXPECT_EQ(undone, row.undone);
        QStringList redone;
        for (qsizetype i = 0; i < row.redone.size(); ++i) {
            QTest::keySequence(field, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
            redone += shown();
        }
        EXPECT_EQ(redone, row.redone);
    }
}

// In a unit list, Ctrl+Z after a character typed behind a label brings the
// label back, however the label got there and however the list was reached.
TEST_F(Window, UnitListUndoBringsBackTheLabel)
{
    const struct {
        const char *name;
        // "paste" (into Text1 beside it), "typed", "screen reader", "Up"
        const char *label;
        const char *reached; // "click", "Tab"
    } rows[] = {
        {"pasted, reached by a click", "paste", "click"},
        {"typed, reached by a click", "typed", "click"},
        {"set by a screen reader, reached by a click", "screen reader", "click"},
        {"pasted, reached by Tab", "paste", "Tab"},
        {"chosen by Up, reached by a click", "Up", "click"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        reopen();
        auto *field = child<QLineEdit>("Text1");
        auto *unitList = child<QComboBox>("Combo1");
        QLineEdit *edit = unitList->lineEdit();
        const QString how(row.label);
        if (how == "paste") {
            QGuiApplication::clipboard()->setText("5 kV");
            field->selectAll();
            QTest::keySequence(field, QKeySequence::Paste);
        } else if (how == "typed") {
            unitList->setFocus();
            edit->selectAll();
            QTest::keyClicks(edit, "KV");
            field->setFocus();
        } else if (how == "screen reader") {
            QAccessible::queryAccessibleInterface(edit)->editableTextInterface()->replaceText(
                0, int(edit->text().size()), "KV");
        } else {
            QTest::keyClick(unitList, Qt::Key_Up);
        }
        ASSERT_EQ(unitList->currentText(), "KV");
        if (QString(row.reached) == "Tab") {
            field->setFocus();
            QTest::keyClick(field, Qt::Key_Tab);
        } else {
            // Right of the text: the caret stays at its end.
            QTest::mouseClick(edit, Qt::LeftButton, {}, {edit->width() - 2, edit->height() / 2});
        }
        ASSERT_TRUE(unitList->isAncestorOf(QApplication::focusWidget()));
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClicks(edit, "x");
        EXPECT_EQ(unitList->currentText(), "KVx");
        QTest::keySequence(edit, QKeySequence::Undo);
        EXPECT_EQ(unitList->currentText(), "KV");
    }
}

// A unit list opens at the label that its text equals, or at none; Down, Up
// and the wheel step from it, and the wheel turns only a list that has the
// keyboard focus. An edit from a label to no label and back keeps the list's
// undo history.
TEST_F(Window, UnitListsStepFromTheUnitShown)
{
    const struct {
        const char *list, *typed, *step, *current, *after;
    } rows[] = {
        // typed: "" keeps the start text, "+…" types after it; step: keys,
        // "wheel" or "wheel elsewhere".
        {"Combo1", "", "Down", "V", "mV."},
        {"Combo8", "", "Up", "uF", "mF."},
        {"Combo8", "", "Down", "uF", "nF"},
        {"Combo4", "", "wheel", "mF.", "uF"},
        {"Combo1", "", "wheel elsewhere", "V", "V"},
        {"Combo1", "nV", "Down", "nV", "pV"},
        {"Combo2", "MC", "Up", "MC", "TC"},
        {"Combo1", "kV", "Down", "", "TV"},
        {"Combo1", "mV", "Down", "", "TV"},
        {"Combo1", "mV", "Up", "", "mV"},
        {"Combo1", "kV", "wheel", "", "TV"},
        {"Combo2", "+x", "Ctrl+Z", "", "KC"},
        {"Combo2", "+x\b", "Ctrl+Z, Ctrl+Z", "KC", "KC"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.list) + ' ' + row.typed + ' ' + row.step);
        reopen();
        auto *list = child<QComboBox>(row.list);
        showPage(child<QTabWidget>("SSTab1")->indexOf(list->parentWidget()));
        list->setFocus();
        const QString typed(row.typed);
        if (typed.startsWith(u'+')) {
            list->lineEdit()->end(false);
            QTest::keyClicks(list, typed.mid(1));
        } else if (!typed.isEmpty()) {
            list->lineEdit()->selectAll();
            QTest::keyClicks(list, typed);
            EXPECT_EQ(list->currentText(), typed); // typed text is kept, matched or not
        }
        list->showPopup();
        EXPECT_EQ(list->view()->currentIndex().data().toString(), row.current);
        list->hidePopup();
        if (QString(row.step).startsWith("wheel")) {
            if (QString(row.step) != "wheel")
                child("Text1")->setFocus();
            QWheelEvent notch({9, 9}, list->mapToGlobal(QPointF(9, 9)), {}, {0, -120}, Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(list, &notch);
        } else
            QTest::keySequence(list, QKeySequence(row.step));
        EXPECT_EQ(list->currentText(), row.after);
    }
}

TEST_F(Window, AboutLabelsShowTheDescriptionAndOpenTheSite)
{
    if (QSysInfo::kernelType() == u"winnt")
        GTEST_SKIP() << "offscreen Qt has no fonts on Windows, and the shell would hand the "
                        "address to Wine's browser";
    showPage(5);
    // The page's first control has the focus and shows it: a dotted frame in its text's colour.
    const QImage framed = child("Label32")->grab().toImage(); // its top and its right side
    EXPECT_EQ(framed.pixelColor(1, 0).name() + framed.pixelColor(framed.width() - 1, 3).name(),
              "#ffffff#ffffff");
    child("Label32")->clearFocus();
    EXPECT_NE(child("Label32")->grab().toImage().pixelColor(1, 0), QColor(Qt::white));
    // A click, Space, Return, the keypad's Enter, and Return held down each open one box.
    QTest::mouseClick(child("Label23"), Qt::LeftButton);
    QTest::keyClick(child("Label23"), Qt::Key_Space);
    QTest::keyClick(child("Label23"), Qt::Key_Return);
    QTest::keyClick(child("Label23"), Qt::Key_Enter, Qt::KeypadModifier);
    holdKey(child("Label23"), Qt::Key_Return);
    EXPECT_EQ(closer.take(), QStringList(5, "Dielektra | Výpočet kapacity, náboje, napětí, časové "
                                            "konstanty a energie kondenzátoru | Information | 1"));
    // The address is handed to xdg-open, here a script that waits until the
    // test has seen the clicks return (30 s at most), then a while, as a
    // browser starts, records the address and ends as the row says; the
    // address is clicked, then pressed with Space, and so on. A failure shows
    // one box, never over another: one that comes back while a box is open
    // waits until it has closed, and one that is open or waiting already is
    // dropped. The first box stays open until every opener has ended and been
    // reported.
    const QString failed = "Dielektra | Webovou stránku se nepodařilo otevřít: "
                           "https://www.ferrolux.example | Information | 1";
    const QString zero = "Chyba zadání | Zadaná hodnota nemůže být 0 | Critical | 1";
    const struct {
        const char *opener, *end, *seconds;
        int presses; // the address clicked, then pressed with Space, in turn
        int then;    // 1: Spočítat clicked with a zero while they run; 2: the window then closed
        QStringList boxes;
    } rows[] = {{"opens", "exit 0", "0.5", 2, 0, {}},
                {"finds no browser", "exit 3", "0.5", 2, 0, {failed}},
                {"crashes", "kill -KILL $$", "0.5", 2, 0, {failed}},
                {"is missing", nullptr, "0.5", 2, 0, {failed}},
                {"fails after 2 s, an input error open", "exit 3", "2", 3, 1, {zero, failed}},
                {"fails after 2 s, the window closed before", "exit 3", "2", 3, 2, {zero}}};
    const QByteArray path = qgetenv("PATH");
    for (const auto &row : rows) {
        SCOPED_TRACE(row.opener);
        QTemporaryDir bin;
        QFile script(bin.filePath("xdg-open"));
        if (row.end != nullptr && script.open(QIODevice::WriteOnly)) {
            script.write(QByteArray("#!/bin/sh\n/usr/bin/timeout 30 /bin/sh -c "
                                    "'until [ -e \"$0\" ]; do /bin/sleep 0.01; done' "
                                    "\"$0.started\"\n/bin/sleep ") +
                         row.seconds + "\nprintf '%s\\n' \"$1\" >>\"$0.urls\"\n" + row.end + '\n');
            script.setPermissions(script.permissions() | QFile::ExeUser);
            script.close();
        }
        qputenv("PATH", bin.path().toLocal8Bit());
        showPage(5);
        closer.whileOpen = [] { EXPECT_TRUE(openersEndedAndReported()); };
        closer.mostOpenAtOnce = 0;
        for (const char *name : {"Image1", "Label24", "Label30", "Label31"})
            QTest::mouseClick(child(name), Qt::LeftButton);
        for (int press = 0; press < row.presses; ++press) {
            if (press % 2 == 0)
                QTest::mouseClick(child("Label32"), Qt::LeftButton);
            else
                QTest::keyClick(child("Label32"), Qt::Key_Space);
        }
        QTest::mouseClick(child("Label32"), Qt::RightButton); // only the left button clicks
        // The window never waits for the browser: no opener has gone on yet.
        EXPECT_FALSE(QFile::exists(script.fileName() + ".urls"));
        QFile(script.fileName() + ".started").open(QIODevice::WriteOnly);
        if (row.then > 0) {
            set("Text1=0");
            showPage(0);
            QTest::mouseClick(child("Command1"), Qt::LeftButton);
            if (row.then == 2)
                reopen();
        }
        EXPECT_TRUE(openersEndedAndReported());
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return closer.boxes.size() >= row.boxes.size() &&
                       !QApplication::activeModalWidget();
            },
            30000));
        QCoreApplication::processEvents(); // a box still due opens now
        EXPECT_EQ(closer.take(), row.boxes);
        EXPECT_EQ(closer.mostOpenAtOnce, row.boxes.empty() ? 0 : 1);
        QFile urls(script.fileName() + ".urls");
        EXPECT_EQ(urls.open(QIODevice::ReadOnly) ? urls.readAll() : "",
                  row.end == nullptr
                      ? ""
                      : QByteArray("https://www.ferrolux.example\n").repeated(row.presses));
        closer.whileOpen = {};
    }
    qputenv("PATH", path);
}

// What Qt has heard from the compositor: the states it last configured,
// whether the window has been drawn since its size last changed (the widgets
// are drawn as Qt handles an expose or an update request, after this filter),
// and whether a maximised or full-screen state has been asked for since the
// last configuration.
class ConfigureWatch : public QObject {
public:
    Qt::WindowStates configured;
    bool drawn = true;
    bool largeAsked = false;

    explicit ConfigureWatch(QWindow *window) : QObject(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = static_cast<QWindow *>(watched);
        if (event->type() == QEvent::WindowStateChange && event->spontaneous()) {
            configured = window->windowStates();
            largeAsked = false;
        }
        if (event->type() == QEvent::Resize || event->type() == QEvent::Hide)
            drawn = false;
        else if (event->type() == QEvent::Expose || event->type() == QEvent::UpdateRequest)
            drawn = window->isExposed();
        return false;
    }
};

// On Wayland no run of window states, asked for as Qt's own title bar asks
// them, ends the program or loses what was typed: the window settles in the
// states that the compositor configured last, the last asked for unless asked
// in a burst, drawn at its configured size; its content keeps 553 x 161 at the
// top left, and it is 553 x 161 itself, within limits of 553 x 161, when
// neither maximised nor full-screen. Among the WAYLAND_DEBUG lines, "wayland
// row: NAME" starts each row and "wayland row end: STATES W x H" gives the
// window's settled states and frame, for tests/wayland-window to compare with
// the compositor's last configuration and the last buffer committed.
TEST_F(Window, OnWaylandNoStateEndsTheWindow)
{
    if (QGuiApplication::platformName() != "wayland")
        GTEST_SKIP() << "needs QT_QPA_PLATFORM=wayland";
    // After a step the window's answer is awaited, then a person's pause of
    // this many ms before the next click; 0: the next click the moment the
    // window has drawn the answer. A burst has only the events already waiting
    // between steps, and Qt leaves out a request that matches the states it
    // last acknowledged, though another may be on its way: the last can be lost.
    constexpr int burst = -1;
    const struct {
        const char *name;
        int ms;
        // M maximised, F full-screen, B both at once, N neither; H hides the
        // window, S shows it
        const char *steps;
        // The first step the moment the window is whole, its paints still due
        bool atOnce = false;
    } rows[] = {{"maximised the moment the window is whole", 0, "M", true},
                {"two maximises 200 ms apart", 200, "MM"},
                {"maximise and restore every 200 ms", 200, "MNMNMN"},
                {"20 in a burst", burst, "MNMNMNMNMNMNMNMNMNMN"},
                {"shown full-screen, maximised, restored, full screen", 200, "HFSMNF"},
                {"the title bar's maximise button clicked twice", 100, "MN"},
                {"shown maximised, as by a kiosk, and maximised again", 200, "HMSNMNM"},
                {"both, then full screen 200 ms later", 200, "BF"},
                {"every change of state every 200 ms", 200, "MNFNBMFMBFBN"},
                {"every change of state as soon as drawn", 0, "MNFNBMFMBFBN"},
                {"every change of state in a burst", burst, "MNFNBMFMBFBN"},
                {"maximise as soon as restored", 0, "MNMNMNMNMN"},
                {"full screen and maximised as soon as drawn", 0, "FMFMFNFM"}};
    const QMap<QChar, Qt::WindowStates> states{{u'M', Qt::WindowMaximized},
                                               {u'F', Qt::WindowFullScreen},
                                               {u'B', Qt::WindowMaximized | Qt::WindowFullScreen},
                                               {u'N', Qt::WindowNoState}};
    // Qt 6.8 with weston 14 (Debian 13): weston leaves unset_maximized
    // unanswered while the window stays full-screen, and Qt then leaves out
    // the next set_maximized as the states it last acknowledged, so the
    // states asked are never configured. Neither disconnects the window nor
    // loses a value there, but no row can settle as asked: the rows of both
    // states run with older Qts.
    const bool bothAnswered = QLibraryInfo::version() < QVersionNumber(6, 8);
    for (const auto &row : rows) {
        if (!bothAnswered && std::strchr(row.steps, 'B') != nullptr) {
            std::fprintf(stderr, "wayland row left out with Qt %s: %s\n", qVersion(), row.name);
            continue;
        }
        SCOPED_TRACE(row.name);
        std::fprintf(stderr, "wayland row: %s\n", row.name);
        if (row.atOnce) {
            window = std::make_unique<MainWindow>();
            window->show();
            ASSERT_TRUE(QTest::qWaitFor([this] { return whole(*window); }));
        } else
            reopen();
        QWindow *handle = window->windowHandle();
        auto *watch = new ConfigureWatch(handle);
        set("Text1=4.7|Text10=220"); // keys crash Qt's input context where weston has no seat
        showPage(4);
        Qt::WindowStates asked;
        bool shown = true;
        // Hidden as asked, or shown, configured as Qt asked last and drawn
        // since; 30 s: only a fault takes that long, however busy the machine.
        const auto settle = [&] {
            return QTest::qWaitFor(
                [&] {
                    return window->isVisible() == shown &&
                           (!shown || (handle->isExposed() && watch->drawn &&
                                       watch->configured == handle->windowStates()));
                },
                30000);
        };
        for (const QChar step : QString(row.steps)) {
            if (states.contains(step)) {
                handle->setWindowStates(asked = states[step]);
                watch->largeAsked |= asked != Qt::WindowNoState;
            } else
                window->setVisible(shown = step == u'S');
            if (row.ms == burst) {
                QCoreApplication::processEvents();
            } else {
                EXPECT_TRUE(settle()) << "after " << step.toLatin1();
                if (row.ms > 0)
                    QTest::qWait(row.ms); // the pause, not a wait for the window
            }
        }
        EXPECT_TRUE(settle()) << "configured " << watch->configured << ", asked "
                              << handle->windowStates();
        const Qt::WindowStates now = handle->windowStates();
        const QSize frame = handle->frameGeometry().size();
        std::fprintf(stderr, "wayland row end: %s %d x %d\n",
                     QMetaEnum::fromType<Qt::WindowStates>()
                         .valueToKeys(static_cast<int>(now.toInt()))
                         .constData(),
                     frame.width(), frame.height());
        expectTexts("Text1=4.7|Text10=220");
        EXPECT_TRUE(now == asked || row.ms == burst) << now;
        EXPECT_EQ(child("SSTab1")->geometry(), QRect(0, 0, 553, 161));
        // Otherwise the window has the configured size; a desktop reads its
        // limits, which may be let go once a larger state is asked for.
        const QSize size = window->size();
        const bool fixed =
            handle->minimumSize() == QSize(553, 161) && handle->maximumSize() == QSize(553, 161);
        EXPECT_TRUE(now == Qt::WindowNoState
                        ? size == QSize(553, 161) && (fixed || watch->largeAsked)
                        : size != QSize(553, 161))
            << size.width() << " x " << size.height() << (fixed ? ", fixed" : "");
    }
}

} // namespace
