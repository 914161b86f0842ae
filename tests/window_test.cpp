#include "gui_support.h"

#include <QAccessible>
#include <QClipboard>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QWindow>

#include <algorithm>
#include <cstdio>

namespace {

using Window = WindowTest;

// A press of each page's button, by a click or by Enter or the keypad's Enter
// on the focused button, on a fresh window: the texts it leaves, its box (an
// input error), whether the time-constant note shows, and where the focus
// lands after the box. No press while a box is open opens another.
TEST_F(Window, PressesWriteTheirPagesSentenceOrShowABox)
{
    constexpr auto click = Qt::Key_unknown; // else Key_Return, or the keypad's Key_Enter
    // A click, then while its box is open every button and clickable label
    // pressed over AT-SPI and every button clicked in code.
    constexpr auto clickThenPressAll = Qt::Key_Any;
    const struct {
        int page;
        Qt::Key key;
        const char *set, *after, *box = "", *focus = "";
        bool note = false;
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
        {3, Qt::Key_Return, "Text8=", "Text8=1", "Kondenzátor nemůže mít nulovou kapacitu"},
        {0, Qt::Key_Return, "Combo1=kV", "Label4=Kondenzátor má kapacitu 100 F",
         "Zadaná jednotka není platná. Platné jednotky: TV, MV, KV, V, mV., uV, nV, pV", "Combo1"},
        {1, click, "Combo4=mF", "",
         "Zadaná jednotka není platná. Platné jednotky: TF, MF, KF, F, mF., uF, nF, pF", "Combo4"},
        {1, clickThenPressAll, "Text3=0", "", "Zadaná hodnota nemůže být 0"}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.set);
        reopen();
        showPage(row.page);
        set(row.set);
        QWidget *button = child(QStringLiteral("Command%1").arg(row.page + 1));
        button->setFocus();
        if (row.key == clickThenPressAll)
            closer.whileOpen = [this] {
                for (const char *name : {"Command1", "Command2", "Command3", "Command4", "Command5",
                                         "Label23", "Label32"}) {
                    QAccessible::queryAccessibleInterface(child(name))
                        ->actionInterface()
                        ->doAction(QAccessibleActionInterface::pressAction());
                    if (auto *pressed = child<QAbstractButton>(name))
                        pressed->click();
                }
                QApplication::processEvents(); // the labels' presses are queued
            };
        if (row.key == click || row.key == clickThenPressAll)
            QTest::mouseClick(button, Qt::LeftButton);
        else
            QTest::keyClick(button, row.key,
                            row.key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        EXPECT_EQ(closer.take().join(""),
                  *row.box != 0 ? QStringLiteral("Chyba zadání | %1 | Critical | 1").arg(row.box)
                                : "");
        expectTexts(row.after);
        EXPECT_EQ(child("Label35")->isVisibleTo(window.get()), row.note);
        // The window takes the focus back when the box has closed; offscreen it is only remembered.
        EXPECT_TRUE(*row.focus == 0 || child(row.focus)->isAncestorOf(window->focusWidget()));
    }
}

// Digits pass, a comma enters a period, every other typed character is cancelled.
TEST_F(Window, TypingLeavesDigitsAndPeriodsInEveryField)
{
    const char *const rows[][2] = {{"1,5", "1.5"}, {"1.5", "1.5"},   {"-+3", "3"},
                                   {"2e5", "25"},  {"4 7 0", "470"}, {"1,2,3", "1.2.3"},
                                   {"mF.", "."},   {"čšžý", ""},     {"1;2'3/4\t", "1234"}};
    for (int i = 1; i <= 10; ++i) {
        auto *field = child<QLineEdit>(QStringLiteral("Text%1").arg(i));
        for (const auto &[typed, left] : rows) {
            field->clear();
            for (const QChar c : QString::fromUtf8(typed)) // one key event a character
                QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, c, Qt::NoModifier);
            QInputMethodEvent composed; // then the same text as an input method commits it
            composed.setCommitString(QString::fromUtf8(typed));
            QApplication::sendEvent(field, &composed);
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
        for (const QString &key : QString(keys).split(u' '))
            QTest::keySequence(field, QKeySequence(key));
        EXPECT_EQ(field->text(), after) << keys;
    }
    EXPECT_TRUE(closer.boxes.empty());
    expectTexts("Label4=Kondenzátor má kapacitu 100 F");
    EXPECT_TRUE(child("Combo1")->isAncestorOf(window->focusWidget())); // Tab left the field
}

// A paste puts into the field the number that will be used, at the caret, as
// one undo step; with Text1 at 10 V and Combo2 at KC the sentence shows the
// value that Text2 then holds. The field starts as "12", all of it selected
// (emptied for a drop, which goes where it is dropped).
TEST_F(Window, PasteGivesTheFieldItsNumber)
{
    const char *const rows[][5] = {
        // How: keys, "menu" (the context menu's Vložit) or "drop"; pasted,
        // left in the field, the capacity, the text after Ctrl+Z (where
        // nothing was pasted, the typed "2" goes).
        {"Ctrl+V", "1,5", "1.5", "150", "12"},
        {"Shift+Ins", "1 000,5", "1000.5", "100050", "12"},
        {"menu", "4,69999980926514E-05", "4.69999980926514E-05", "0,00469999977212865", "12"},
        {"drop", "\u00a01\u202f000\t\n", "1000", "100000", ""},
        {"Ctrl+V", "\ufeff\u200f5\u200b", "5", "500", "12"},
        {"Ctrl+V", "\u2212\u0661\u0662", "-12", "1200", "12"},
        {"menu", "-5", "-5", "500", "12"},
        {"Ctrl+V", "2 kC", "2", "200", "12"},
        {"Ctrl+V", "10 \u00b5F", "10", "1000", "12"},
        {"Ctrl+V", "1.000,5", "1000.5", "100050", "12"},
        {"Shift+Ins", "1,000.5", "1000.5", "100050", "12"},
        {"Ctrl+V", "1,000,000", "1000000", "100000000", "12"},
        {"Ctrl+V", "1.5", "1.5", "150", "12"},
        {"Ctrl+V", "+2e1x", "+2e1", "2000", "12"},
        {"Ctrl+V", "3E", "3", "300", "12"},
        {"Ctrl+V", "1\t5", "1", "100", "12"},
        {"menu", "2\r\n3", "2", "200", "12"},
        {"drop", " \t\n\u200b\n 7 \n8", "7", "700", ""},
        {"Ctrl+V", "\u00bd", "12", "1200", "1"},
        {"Ctrl+V", "abc", "12", "1200", "1"},
        {"drop", "kV 5", "", "", "12"},
        {"Ctrl+V", "-", "12", "1200", "1"},
        {"Ctrl+V", "\t\n", "12", "1200", "1"}};
    auto *field = child<QLineEdit>("Text2");
    for (const auto &[how, pasted, left, capacity, undone] : rows) {
        field->setText("1");
        QTest::keyClick(field, Qt::Key_2); // a step of its own before the paste
        field->selectAll();
        QGuiApplication::clipboard()->setText(pasted);
        QMimeData dragged;
        dragged.setText(pasted);
        QDragEnterEvent enter({5, 5}, Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop({5, 5}, Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
        if (QString(how) == "menu") {
            bool chosen = false;
            QTimer::singleShot(0, [field, &chosen] {
                field->selectAll(); // offscreen, the first popup takes it away
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
        } else if (QString(how) != "drop")
            QTest::keySequence(field, QKeySequence(how));
        else {
            field->clear();
            QApplication::sendEvent(field, &enter);
            QApplication::sendEvent(field, &drop);
        }
        EXPECT_EQ(field->text(), left) << how << ' ' << pasted;
        if (QString(left) != "12") {
            EXPECT_EQ(field->cursorPosition(), field->text().size()) << pasted;
        }
        QTest::keySequence(field, QKeySequence::Undo);
        EXPECT_EQ(field->text(), undone) << pasted;
        QTest::keySequence(field, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
        EXPECT_EQ(field->text(), left) << pasted;
        if (QString(left).isEmpty())
            continue;
        QTest::mouseClick(child("Command1"), Qt::LeftButton);
        expectTexts(QStringLiteral("Label4=Kondenzátor má kapacitu %1 F").arg(capacity));
    }
    EXPECT_TRUE(closer.boxes.empty());
    // Typing before and after a paste at the caret makes steps of their own.
    field->clear();
    QTest::keyClicks(field, "12");
    QGuiApplication::clipboard()->setText("3");
    QTest::keySequence(field, QKeySequence::Paste);
    QTest::keyClicks(field, "4");
    QString steps;
    for (int undo = 0; undo < 3; ++undo) {
        QTest::keySequence(field, QKeySequence::Undo);
        steps += field->text() + u' ';
    }
    EXPECT_EQ(steps, "123 12  ");
}

// A unit list's current item is the label that its text equals, or none;
// Down, Up and the wheel step from it, and the wheel turns only a list that
// has the keyboard focus.
TEST_F(Window, UnitListsStepFromTheUnitShown)
{
    const struct {
        const char *list, *typed, *step, *current, *after;
    } rows[] = {
        // typed: "" keeps the start text; step: a key, "wheel" or "wheel elsewhere".
        {"Combo1", "", "Down", "V", "mV."},          {"Combo8", "", "Up", "uF", "mF."},
        {"Combo8", "", "Down", "uF", "nF"},          {"Combo4", "", "wheel", "mF.", "uF"},
        {"Combo1", "", "wheel elsewhere", "V", "V"}, {"Combo1", "nV", "Down", "nV", "pV"},
        {"Combo2", "MC", "Up", "MC", "TC"},          {"Combo1", "kV", "Down", "", "TV"},
        {"Combo1", "mV", "Down", "", "TV"},
    };
    for (const auto &row : rows) {
        reopen();
        auto *list = child<QComboBox>(row.list);
        showPage(child<QTabWidget>("SSTab1")->indexOf(list->parentWidget()));
        list->setFocus();
        if (*row.typed != '\0') {
            list->lineEdit()->selectAll();
            QTest::keyClicks(list, row.typed);
        }
        EXPECT_EQ(list->currentIndex() < 0 ? QString() : list->itemText(list->currentIndex()),
                  row.current)
            << row.list << ' ' << row.typed;
        if (*row.typed != '\0') {
            EXPECT_EQ(list->currentText(), row.typed); // typed text is kept, matched or not
        }
        if (QString(row.step).startsWith("wheel")) {
            if (QString(row.step) != "wheel")
                child("Text1")->setFocus();
            QWheelEvent notch({9, 9}, list->mapToGlobal(QPointF(9, 9)), {}, {0, -120}, Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(list, &notch);
        } else
            QTest::keySequence(list, QKeySequence(row.step));
        EXPECT_EQ(list->currentText(), row.after)
            << row.list << ' ' << row.typed << ' ' << row.step;
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
    QTest::mouseClick(child("Label23"), Qt::LeftButton);
    EXPECT_EQ(closer.take(), QStringList{"Dielektra | Výpočet kapacity, náboje, napětí, časové "
                                         "konstanty a energie kondenzátoru | Information | 1"});
    // The address is handed to xdg-open, here a script that records its
    // process id, waits as a browser starts until the test has seen the
    // clicks return (30 s at most), records the address and ends as the row
    // says.
    const struct {
        const char *opener, *end;
        bool fails;
    } rows[] = {{"opens", "exit 0", false},
                {"finds no browser", "exit 3", true},
                {"crashes", "kill -KILL $$", true},
                {"is missing", nullptr, true}};
    const QByteArray path = qgetenv("PATH");
    for (const auto &row : rows) {
        SCOPED_TRACE(row.opener);
        QTemporaryDir bin;
        QFile script(bin.filePath("xdg-open"));
        if (row.end != nullptr && script.open(QIODevice::WriteOnly)) {
            script.write(
                QByteArray("#!/bin/sh\necho $$ >>\"$0.pids\"\n/usr/bin/timeout 30 /bin/sh -c "
                           "'until [ -e \"$0\" ]; do /bin/sleep 0.01; done' \"$0.started\"\n"
                           "printf '%s\\n' \"$1\" >>\"$0.urls\"\n") +
                row.end + '\n');
            script.setPermissions(script.permissions() | QFile::ExeUser);
            script.close();
        }
        qputenv("PATH", bin.path().toLocal8Bit());
        const auto recorded = [&script](const char *what) {
            QFile file(script.fileName() + what);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : "";
        };
        for (const char *name : {"Image1", "Label24", "Label30", "Label31", "Label32"})
            QTest::mouseClick(child(name), Qt::LeftButton);
        QTest::keyClick(child("Label32"), Qt::Key_Space);
        QTest::mouseClick(child("Label32"), Qt::RightButton); // only the left button clicks
        EXPECT_EQ(recorded(".urls"), ""); // the window never waits for the browser
        QFile(script.fileName() + ".started").open(QIODevice::WriteOnly);
        // The program reaps an ended opener as it learns of its end (while
        // unreaped, its process id stays in /proc).
        const auto ended = [&recorded] {
            return std::ranges::none_of(recorded(".pids").split('\n'), [](const QByteArray &pid) {
                return !pid.isEmpty() && QFileInfo::exists(QString::fromLatin1("/proc/" + pid));
            });
        };
        const QByteArray opened = row.end == nullptr ? "" : "https://www.ferrolux.example\n";
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return closer.boxes.size() == (row.fails ? 2 : 0) &&
                       recorded(".urls") == opened + opened && ended();
            },
            30000));
        QCoreApplication::sendPostedEvents(); // the answers to the ends, where a box would come
        EXPECT_EQ(closer.take(), QStringList(row.fails ? 2 : 0,
                                             "Dielektra | Webovou stránku se nepodařilo otevřít: "
                                             "https://www.ferrolux.example | Information | 1"));
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
    const struct {
        const char *name;
        // After each step the window's answer is awaited, then a person's
        // pause of this many ms before the next click; 0: a burst, with only
        // the events already waiting between steps. In a burst Qt leaves out
        // a request that matches the states it last acknowledged, though
        // another may be on its way: the last can be lost.
        int ms;
        // M maximised, F full-screen, N neither; H hides the window, S shows it
        const char *steps;
    } rows[] = {{"two maximises 200 ms apart", 200, "MM"},
                {"maximise and restore every 200 ms", 200, "MNMNMN"},
                {"20 in a burst", 0, "MNMNMNMNMNMNMNMNMNMN"},
                {"shown full-screen, maximised, restored, full screen", 200, "HFSMNF"},
                {"the title bar's maximise button clicked twice", 100, "MN"},
                {"shown maximised, as by a kiosk, and maximised again", 200, "HMSNMNM"}};
    const QMap<QChar, Qt::WindowStates> states{
        {u'M', Qt::WindowMaximized}, {u'F', Qt::WindowFullScreen}, {u'N', Qt::WindowNoState}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        std::fprintf(stderr, "wayland row: %s\n", row.name);
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
            if (row.ms == 0) {
                QCoreApplication::processEvents();
            } else {
                EXPECT_TRUE(settle()) << "after " << step.toLatin1();
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
        EXPECT_TRUE(now == asked || row.ms == 0) << now;
        EXPECT_EQ(child("SSTab1")->geometry(), QRect(0, 0, 553, 161));
        // Otherwise the window has the configured size; a desktop reads its
        // limits, which are let go as soon as a larger state is asked for.
        const QSize size = window->size();
        const bool fixed =
            handle->minimumSize() == QSize(553, 161) && handle->maximumSize() == QSize(553, 161);
        EXPECT_TRUE(now == Qt::WindowNoState
                        ? size == QSize(553, 161) && (fixed || watch->largeAsked)
                        : size != QSize(553, 161) && !fixed)
            << size.width() << " x " << size.height() << (fixed ? ", fixed" : "");
    }
}

} // namespace
