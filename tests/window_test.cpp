#include "gui_support.h"
#include "table_rows.h"
#include "ui/widgets/caret.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QClipboard>
#include <QDir>
#include <QInputMethodEvent>
#include <QLibraryInfo>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QVersionNumber>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

using Window = WindowTest;

// The processes that the window starts, as it starts them: every QProcess
// that an event of the application reaches (it gets a child when it starts).
class ProcessWatch : public QObject {
public:
    ProcessWatch() { QCoreApplication::instance()->installEventFilter(this); }

    // Whether the end of every process seen has been reported: QProcess
    // leaves its running states as it reports the end (finished or
    // errorOccurred), and so posts what is queued to that report.
    bool allReported() const
    {
        return std::all_of(seen_.begin(), seen_.end(), [](const QPointer<QProcess> &process) {
            return process.isNull() || process->state() == QProcess::NotRunning;
        });
    }

protected:
    bool eventFilter(QObject *watched, QEvent * /*event*/) override
    {
        if (auto *process = qobject_cast<QProcess *>(watched);
            process != nullptr && !seen_.contains(process))
            seen_.append(process);
        return false;
    }

private:
    QList<QPointer<QProcess>> seen_;
};

// Waits until every process that the test started has ended and its end has
// been reported, then sends what was queued to those reports. A process
// gone from /proc is not yet reported: where Qt's SIGCHLD handler reaps it,
// the report follows when the event loop next reads its notifier.
bool openersEndedAndReported(const ProcessWatch &watch)
{
    const QByteArray self = QByteArray::number(QCoreApplication::applicationPid());
    const bool ended = QTest::qWaitFor(
        [&self, &watch] {
            const QStringList all = QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
            return watch.allReported() &&
                   std::none_of(all.begin(), all.end(), [&self](const QString &process) {
                       QFile stat("/proc/" + process + "/stat"); // "pid (name) state ppid …"
                       return stat.open(QIODevice::ReadOnly) &&
                              stat.readAll().split(')').constLast().split(' ').value(2) == self;
                   });
        },
        30000);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    return ended;
}

// How a test presses a page's button, on the button that has the focus: in
// the tables "click", "Return", "keypad Enter", "Return held", "click, then
// all pressed" and "click, then all pressed late".
enum class Press {
    Click,
    Return,
    KeypadEnter,
    HeldReturn, // its press, three repeated presses and its release
    // A click, then while its box is open every button and clickable label
    // pressed over AT-SPI and every button clicked in code; the presses' own
    // events (a label's queued click, a button's animated one) run while the
    // box is open, or (late) after it has closed, and late the button is then
    // pressed over AT-SPI once more.
    ClickThenPressAll,
    ClickThenPressAllLate,
};

// A press of a page's button on a fresh window, as the rows of "presses" in
// tests/window_rows.tsv say. No press while a box is open opens another, and
// a held key presses once.
TEST_F(Window, PressesWriteTheirPagesSentenceOrShowABox)
{
    const auto press = [](QWidget *control) { // as a screen reader presses
        QAccessible::queryAccessibleInterface(control)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
    };
    for (const QStringList &row : windowRows("presses")) {
        SCOPED_TRACE(row.join(u' ').toStdString());
        const Page page = named<Page>(row.value(0), pageNames);
        const auto mode =
            named<Press>(row.value(1), {"click", "Return", "keypad Enter", "Return held",
                                        "click, then all pressed", "click, then all pressed late"});
        reopen();
        showPage(page);
        set(page, row.value(2));
        QAbstractButton *pressed = button(page);
        pressed->setFocus();
        // Qt clicks a button pressed over AT-SPI 100 ms later; a label's press
        // is queued. A click is counted once its box has closed.
        int clicks = 0;
        for (const Page each : allPages)
            QObject::connect(button(each), &QAbstractButton::clicked, window.get(),
                             [&clicks] { ++clicks; });
        const auto pressesHandled = [&clicks](int due) {
            const bool clicked = QTest::qWaitFor([&] { return clicks == due; });
            QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
            return clicked;
        };
        const bool pressAll = mode >= Press::ClickThenPressAll; // the last two
        if (pressAll) // each button twice: in code and over AT-SPI
            closer.whileOpen = [&, late = mode != Press::ClickThenPressAll] {
                for (const Page each : allPages) {
                    button(each)->click();
                    press(button(each));
                }
                press(about()->edition());
                press(about()->address());
                EXPECT_TRUE(late || pressesHandled(10));
            };
        if (mode == Press::HeldReturn)
            holdKey(pressed, Qt::Key_Return);
        else if (mode == Press::Return)
            QTest::keyClick(pressed, Qt::Key_Return);
        else if (mode == Press::KeypadEnter)
            QTest::keyClick(pressed, Qt::Key_Enter, Qt::KeypadModifier);
        else
            QTest::mouseClick(pressed, Qt::LeftButton);
        EXPECT_TRUE(pressesHandled(pressAll ? 11 : 1));
        if (mode == Press::ClickThenPressAllLate) {
            press(pressed);
            EXPECT_TRUE(pressesHandled(12));
        }
        const QString box = QStringLiteral("Chyba zadání | %1 | Critical | 1").arg(row.value(4));
        const int boxes = row.value(4).isEmpty() ? 0 : mode == Press::ClickThenPressAllLate ? 2 : 1;
        EXPECT_EQ(closer.take(), QStringList(boxes, box));
        expectTexts(page, row.value(3));
        EXPECT_EQ(resultNote()->isVisibleTo(window.get()), row.value(6) == u"shown");
        // The window takes the focus back when the box has closed; offscreen it is only remembered.
        EXPECT_TRUE(row.value(5).isEmpty() ||
                    unitList(page, named<Row>(row.value(5), {"upper", "lower"}))
                        ->isAncestorOf(window->focusWidget()));
    }
}

// Does steps, "; " between them, to a field and the unit list beside it, as
// tests/window_rows.tsv describes them.
void edit(QLineEdit *field, QComboBox *unitList, const QString &steps)
{
    QLineEdit *listEdit = unitList->lineEdit();
    for (const QString &step : steps.split(QStringLiteral("; "))) {
        const QString verb = step.section(u' ', 0, 0);
        const QString text = step.section(u' ', 1);
        if (verb == "type") {
            QTest::keyClicks(field, text);
        } else if (verb == "menu") {
            QGuiApplication::clipboard()->setText(text);
            const Caret caret(*field);
            QContextMenuEvent menuAt(QContextMenuEvent::Mouse, {5, 5},
                                     field->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(field, &menuAt); // the menu pops up and returns
            caret.restore(*field); // offscreen, the first popup takes the selection away
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            for (QAction *action : menu->actions())
                if (action->text().startsWith("&Vložit")) // Qt's Czech texts
                    action->trigger();
            menu->close();
        } else if (verb == "drop") {
            QMimeData dragged;
            dragged.setText(text);
            QDragEnterEvent enter({5, 5}, Qt::CopyAction | Qt::MoveAction, &dragged, Qt::LeftButton,
                                  Qt::ShiftModifier);
            QDropEvent drop({5, 5}, Qt::CopyAction | Qt::MoveAction, &dragged, Qt::LeftButton,
                            Qt::ShiftModifier);
            field->clear();
            QApplication::sendEvent(field, &enter);
            QApplication::sendEvent(field, &drop);
            EXPECT_EQ(enter.isAccepted(), !field->text().isEmpty());
            EXPECT_TRUE(!enter.isAccepted() || enter.dropAction() == Qt::CopyAction);
            EXPECT_TRUE(!drop.isAccepted() || drop.dropAction() == Qt::CopyAction);
        } else if (verb == "commit") {
            const int replaced = text.startsWith("over ") ? text.section(u' ', 1, 1).toInt() : 0;
            QInputMethodEvent phrase;
            phrase.setCommitString(replaced > 0 ? text.section(u' ', 2) : text, -replaced,
                                   replaced);
            QApplication::sendEvent(field, &phrase);
        } else if (verb == "caret") {
            field->setCursorPosition(text.toInt());
        } else if (verb == "set") {
            field->setText(text);
        } else if (verb == "insert") {
            field->insert(text);
        } else if (verb == "list" && text.startsWith("type ")) {
            unitList->setFocus();
            listEdit->selectAll();
            QTest::keyClicks(listEdit, text.mid(5));
            field->setFocus();
        } else if (verb == "list") {
            QTest::keySequence(unitList, QKeySequence(text));
        } else if (verb == "reader") {
            QAccessible::queryAccessibleInterface(listEdit)->editableTextInterface()->replaceText(
                0, int(listEdit->text().size()), text);
        } else if (step == "click list") {
            QTest::mouseClick(listEdit, Qt::LeftButton, {},
                              {listEdit->width() - 2, listEdit->height() / 2});
        } else {
            if (!text.isEmpty())
                QGuiApplication::clipboard()->setText(text);
            if (verb == "Tab")
                field->setFocus();
            if (verb == "paste")
                field->selectAll();
            if (verb == "Del")
                QTest::sendKeyEvent(QTest::Click, field, Qt::Key_Delete, QChar(0x7f), {});
            else
                QTest::keySequence(field, QKeySequence(verb == "paste" ? "Ctrl+V" : verb));
        }
    }
}

// Digits of any script pass as ASCII digits, periods pass, a comma (or the
// Arabic decimal mark) enters a period, every other typed character is
// cancelled: in every field, as a key a character and as an input method's
// key a character.
TEST_F(Window, TypingLeavesDigitsAndPeriodsInEveryField)
{
    const auto rows = windowRows("typing");
    for (const Page page : allPages)
        for (const Row row : {Row::Upper, Row::Lower}) {
            QLineEdit *typedInto = field(page, row);
            for (const QStringList &typedAndLeft : rows) {
                typedInto->clear();
                for (const QChar c : typedAndLeft.value(0))
                    QTest::sendKeyEvent(QTest::Click, typedInto, Qt::Key_unknown, c, {});
                for (const QChar c : typedAndLeft.value(0)) // as an input method's keys
                    edit(typedInto, unitList(page, row), "commit " + QString(c));
                EXPECT_EQ(typedInto->text(), typedAndLeft.value(1).repeated(2))
                    << typedInto->objectName().toStdString() << " typed "
                    << typedAndLeft.value(0).toStdString();
            }
        }
}

// A field's text with "[" and "]" around its selection and "^" at its caret,
// which is at one end of the selection.
QString marked(const QLineEdit *field)
{
    const QString text = field->text();
    const int at = field->cursorPosition();
    if (!field->hasSelectedText())
        return text.left(at) + u'^' + text.mid(at);
    const int start = field->selectionStart();
    const QString selection = u'[' + field->selectedText() + u']';
    return text.left(start) + (at == start ? u'^' + selection : selection + u'^') +
           text.mid(start + field->selectedText().size());
}

// Does the steps of each row of a section of tests/window_rows.tsv to a field
// and its unit list, from an empty field and the list's start text, and
// compares the states after them, after each Ctrl+Z and each Ctrl+Shift+Z.
void runEdits(QLineEdit *field, QComboBox *unitList, const QString &section)
{
    const QString startUnit = unitList->currentText();
    const auto expanded = [](QString text) {
        return text.replace("{zeros}", QString(32764, u'0'));
    };
    const auto walk = [&](const QKeySequence &keys, const QString &states) {
        for (const QString &state : states.split(u' ', Qt::SkipEmptyParts)) {
            if (!keys.isEmpty())
                QTest::keySequence(field, keys);
            const QString text = state.contains(u'^') ? marked(field) : field->text();
            EXPECT_EQ(text + u'|' + unitList->currentText(), expanded(state));
        }
    };
    for (const QStringList &row : windowRows(section)) {
        SCOPED_TRACE(row.value(0).toStdString());
        unitList->setCurrentText(startUnit);
        field->setText(QString());
        edit(field, unitList, expanded(row.value(1)));
        walk({}, row.value(2));
        walk(QKeySequence::Undo, row.value(3));
        walk(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), row.value(4));
    }
}

// The rows of "paste" in tests/window_rows.tsv.
TEST_F(Window, PasteGivesTheFieldItsNumber)
{
    runEdits(field(Page::Capacity, Row::Lower), unitList(Page::Capacity, Row::Lower), "paste");
}

// The rows of "undo" in tests/window_rows.tsv; the editing keys among them
// start nothing, and the last row's Tab leaves the field.
TEST_F(Window, UndoWalksBackNumberAndUnitTogether)
{
    QLineEdit *voltage = field(Page::Capacity, Row::Upper);
    QComboBox *voltageUnit = unitList(Page::Capacity, Row::Upper);
    // Forty phrases one after another are forty steps.
    voltage->setText("");
    edit(voltage, voltageUnit, QStringList(20, "commit 5 kV; commit 3 mV").join("; "));
    EXPECT_EQ(voltage->text().size(), 40);
    edit(voltage, voltageUnit, QStringList(41, "Ctrl+Z").join("; "));
    EXPECT_EQ(voltage->text() + '|' + voltageUnit->currentText(), "|V");
    runEdits(voltage, voltageUnit, "undo");
    EXPECT_TRUE(closer.boxes.empty());
    expectTexts(Page::Capacity, "result=Kondenzátor má kapacitu 100 F");
    EXPECT_TRUE(voltageUnit->isAncestorOf(window->focusWidget()));
}

// The rows of "unit lists" in tests/window_rows.tsv.
TEST_F(Window, UnitListsStepFromTheUnitShown)
{
    for (const QStringList &row : windowRows("unit lists")) {
        SCOPED_TRACE(row.join(u' ').toStdString());
        reopen();
        const Page page = named<Page>(row.value(0), pageNames);
        const auto upperOrLower = named<Row>(row.value(1), {"upper", "lower"});
        QComboBox *list = unitList(page, upperOrLower);
        showPage(page);
        if (!row.value(2).isEmpty())
            edit(field(page, upperOrLower), list, row.value(2));
        list->setFocus();
        const QString typed = row.value(3);
        if (typed.startsWith(u'+')) {
            list->lineEdit()->end(false);
            QTest::keyClicks(list, typed.mid(1));
        } else if (!typed.isEmpty()) {
            list->lineEdit()->selectAll();
            QTest::keyClicks(list, typed);
            EXPECT_EQ(list->currentText(), typed); // typed text is kept, matched or not
        }
        list->showPopup();
        EXPECT_EQ(list->view()->currentIndex().data().toString(), row.value(4));
        list->hidePopup();
        if (row.value(5).startsWith("wheel")) {
            if (row.value(5) != "wheel")
                field(Page::Capacity, Row::Upper)->setFocus();
            QWheelEvent notch({9, 9}, list->mapToGlobal(QPointF(9, 9)), {}, {0, -120}, Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(list, &notch);
        } else
            QTest::keySequence(list, QKeySequence(row.value(5)));
        EXPECT_EQ(list->currentText(), row.value(6));
    }
}

TEST_F(Window, AboutLabelsShowTheDescriptionAndOpenTheSite)
{
    if (QSysInfo::kernelType() == u"winnt")
        GTEST_SKIP() << "offscreen Qt has no fonts on Windows, and the shell would hand the "
                        "address to Wine's browser";
    tabs()->setCurrentWidget(about());
    QLabel *address = about()->address();
    QLabel *edition = about()->edition();
    // The page's first control has the focus and shows it: a dotted frame in its text's colour.
    const QImage framed = address->grab().toImage(); // its top and its right side
    EXPECT_EQ(framed.pixelColor(1, 0).name() + framed.pixelColor(framed.width() - 1, 3).name(),
              "#ffffff#ffffff");
    address->clearFocus();
    EXPECT_NE(address->grab().toImage().pixelColor(1, 0), QColor(Qt::white));
    // A click, Space, Return, the keypad's Enter, and Return held down each open one box.
    QTest::mouseClick(edition, Qt::LeftButton);
    QTest::keyClick(edition, Qt::Key_Space);
    QTest::keyClick(edition, Qt::Key_Return);
    QTest::keyClick(edition, Qt::Key_Enter, Qt::KeypadModifier);
    holdKey(edition, Qt::Key_Return);
    EXPECT_EQ(closer.take(), QStringList(5, "Dielektra | Výpočet kapacity, náboje, napětí, časové "
                                            "konstanty a energie kondenzátoru | Information | 1"));
    // The address is handed to xdg-open, here a script that waits until the
    // test has seen the clicks return (30 s at most), then a while, as a
    // browser starts, records the address and ends as the "openers" rows of
    // tests/window_rows.tsv say. A failure shows one box, never over another:
    // one that comes back while a box is open waits until it has closed, and
    // one that is open or waiting already is dropped. The first box stays open
    // until every opener has ended and been reported.
    const QByteArray path = qgetenv("PATH");
    for (const QStringList &row : windowRows("openers")) {
        SCOPED_TRACE(row.value(0).toStdString());
        const QByteArray end = row.value(1).toUtf8();
        const int presses = row.value(3).toInt();
        const QStringList boxes = row.value(5).split(QStringLiteral("; "), Qt::SkipEmptyParts);
        QTemporaryDir bin;
        QFile script(bin.filePath("xdg-open"));
        if (!end.isEmpty() && script.open(QIODevice::WriteOnly)) {
            script.write(QByteArray("#!/bin/sh\n/usr/bin/timeout 30 /bin/sh -c "
                                    "'until [ -e \"$0\" ]; do /bin/sleep 0.01; done' "
                                    "\"$0.started\"\n/bin/sleep ") +
                         row.value(2).toUtf8() + "\nprintf '%s\\n' \"$1\" >>\"$0.urls\"\n" + end +
                         '\n');
            script.setPermissions(script.permissions() | QFile::ExeUser);
            script.close();
        }
        qputenv("PATH", bin.path().toLocal8Bit());
        tabs()->setCurrentWidget(about());
        const ProcessWatch openers;
        closer.whileOpen = [&openers] { EXPECT_TRUE(openersEndedAndReported(openers)); };
        closer.mostOpenAtOnce = 0;
        address = about()->address();
        for (QLabel *label : about()->findChildren<QLabel *>()) // the picture and the texts
            if (label != address && label != about()->edition())
                QTest::mouseClick(label, Qt::LeftButton);
        for (int press = 0; press < presses; ++press) {
            if (press % 2 == 0)
                QTest::mouseClick(address, Qt::LeftButton);
            else
                QTest::keyClick(address, Qt::Key_Space);
        }
        QTest::mouseClick(address, Qt::RightButton); // only the left button clicks
        // The window never waits for the browser: no opener has gone on yet.
        EXPECT_FALSE(QFile::exists(script.fileName() + ".urls"));
        QFile(script.fileName() + ".started").open(QIODevice::WriteOnly);
        if (row.value(4) != "0") {
            set(Page::Capacity, "upper=0");
            showPage(Page::Capacity);
            QTest::mouseClick(button(Page::Capacity), Qt::LeftButton);
            if (row.value(4) == "2")
                reopen();
        }
        EXPECT_TRUE(openersEndedAndReported(openers));
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return closer.boxes.size() >= boxes.size() && !QApplication::activeModalWidget();
            },
            30000));
        QCoreApplication::processEvents(); // a box still due opens now
        EXPECT_EQ(closer.take(), boxes);
        EXPECT_EQ(closer.mostOpenAtOnce, boxes.empty() ? 0 : 1);
        QFile urls(script.fileName() + ".urls");
        EXPECT_EQ(
            urls.open(QIODevice::ReadOnly) ? urls.readAll() : "",
            QByteArray(end.isEmpty() ? "" : "https://www.ferrolux.example\n").repeated(presses));
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
        // Keys crash Qt's input context where weston has no seat.
        set(Page::Capacity, "upper=4.7");
        set(Page::Energy, "upper=220");
        showPage(Page::Energy);
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
        expectTexts(Page::Capacity, "upper=4.7");
        expectTexts(Page::Energy, "upper=220");
        EXPECT_TRUE(now == asked || row.ms == burst) << now;
        EXPECT_EQ(tabs()->geometry(), QRect(0, 0, 553, 161));
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
