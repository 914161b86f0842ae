#include "gui_support.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFontInfo>
#include <QMimeData>
#include <QTabBar>
#include <QTabWidget>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

// Each page's button, result label and the sentence it shows at start.
const QString pages[][3] = {
    {u"Command1"_s, u"Label4"_s, u"Kondenzátor má kapacitu 100 F"_s},
    {u"Command2"_s, u"Label12"_s, u"V kondenzátoru je náboj 4,7 C"_s},
    {u"Command3"_s, u"Label20"_s, u"Kondenzátor má napětí 10 V"_s},
    {u"Command4"_s, u"Label26"_s, u"Časová konstanta kondenzátoru je 10 sec."_s},
    {u"Command5"_s, u"Label37"_s, u"V kondenzátoru je energie 0,5 J"_s},
};

using Window = WindowTest;

// One press of a page's button (a click, or Enter or the keypad's Enter with
// the focus on it): the texts it leaves, its box, whether the time-constant
// note shows, and where the focus lands after the box.
struct ClickRow {
    const char *name;
    int page;
    Qt::Key how; // Key_unknown for a mouse click
    QString set, after, box = {};
    bool note = false;
    QString focus = {};
    friend void PrintTo(const ClickRow &row, std::ostream *out) { *out << row.name; }
};

class Clicks : public WindowTest, public testing::WithParamInterface<ClickRow> {};

TEST_P(Clicks, ShowTheirSentenceOrBox)
{
    const ClickRow &row = GetParam();
    child<QTabWidget>(u"SSTab1"_s)->setCurrentIndex(row.page);
    set(row.set);
    if (row.how == Qt::Key_unknown) {
        click(pages[row.page][0]);
    } else {
        child(pages[row.page][0])->setFocus();
        QTest::keyClick(child(pages[row.page][0]), row.how,
                        row.how == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    }
    ASSERT_EQ(closer.boxes.size(), row.box.isEmpty() ? 0U : 1U);
    if (!row.box.isEmpty()) {
        EXPECT_EQ(closer.boxes[0].text, row.box);
        EXPECT_EQ(closer.boxes[0].title, u"Chyba zadání"_s);
        EXPECT_EQ(closer.boxes[0].icon, QMessageBox::Critical);
        EXPECT_EQ(closer.boxes[0].buttons, 1);
    }
    expectTexts(row.after);
    EXPECT_EQ(child(u"Label35"_s)->isVisibleTo(&window), row.note);
    // The window takes the focus back when the box has closed; offscreen it is only remembered.
    if (!row.focus.isEmpty()) {
        EXPECT_TRUE(child(row.focus)->isAncestorOf(window.focusWidget()))
            << row.focus.toStdString();
    }
}

const QString zero = u"Zadaná hodnota nemůže být 0"_s;
const QString unitsPrompt = u"Zadaná jednotka není platná. Platné jednotky: "_s;

constexpr auto mouse = Qt::Key_unknown, enter = Qt::Key_Return, keypad = Qt::Key_Enter;

INSTANTIATE_TEST_SUITE_P(
    Window, Clicks,
    testing::Values(
        ClickRow{"Zero", 0, mouse, u"Text1=0|Text2=-3"_s, u"Text2=3|Label4="_s + pages[0][2], zero},
        ClickRow{"TypedUnitAsTyped", 0, enter, u"Combo1=kV"_s, u"Label4="_s + pages[0][2],
                 unitsPrompt + u"TV, MV, KV, V, mV., uV, nV, pV"_s, false, u"Combo1"_s},
        ClickRow{"LowerListRefused",
                 1,
                 keypad,
                 u"Combo4=mF"_s,
                 {},
                 unitsPrompt + u"TF, MF, KF, F, mF., uF, nF, pF"_s,
                 false,
                 u"Combo4"_s},
        ClickRow{"UpperListFirst",
                 3,
                 mouse,
                 u"Combo7=x|Combo8=y"_s,
                 {},
                 unitsPrompt + u"TF, MF, KF, F, mF., uF, nF, pF"_s,
                 false,
                 u"Combo8"_s},
        ClickRow{"ResistanceList",
                 3,
                 mouse,
                 u"Combo7=mO"_s,
                 {},
                 unitsPrompt + u"TO, MO, KO, O, mO., uO, nO, pO"_s,
                 false,
                 u"Combo7"_s},
        ClickRow{"ZeroResistanceNote",
                 3,
                 enter,
                 u"Text7=0"_s,
                 u"Label26=Časová konstanta kondenzátoru je 0 sec."_s,
                 {},
                 true},
        ClickRow{"ZeroCapacityWritesOne", 3, mouse, u"Text8="_s,
                 u"Text8=1|Label26="_s + pages[3][2], u"Kondenzátor nemůže mít nulovou kapacitu"_s},
        ClickRow{"TooLarge", 4, mouse, u"Text9=1E39|Text10=-1"_s, u"Text9=1E39|Text10=-1"_s,
                 u"Zadaná hodnota je příliš velká"_s},
        ClickRow{"Capacity", 0, keypad, u"Combo1=KV"_s, u"Label4=Kondenzátor má kapacitu 0,1 F"_s},
        ClickRow{"Charge", 1, enter, u"Text4=1|Combo4=F"_s,
                 u"Label12=V kondenzátoru je náboj 10 C"_s},
        ClickRow{"Voltage", 2, keypad, u"Text5=2.5|Combo6=uF"_s,
                 u"Label20=Kondenzátor má napětí 2500000 V"_s},
        ClickRow{"TimeConstant", 3, keypad, u"Combo8=nF"_s,
                 u"Label26=Časová konstanta kondenzátoru je 0,01 sec."_s},
        ClickRow{"Energy", 4, enter, u"Text10=2"_s,
                 u"Label37=V kondenzátoru je energie 0,0002 J"_s}),
    [](const auto &info) { return std::string(info.param.name); });

// Types like a keyboard: one key event a character.
void type(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, c, Qt::NoModifier);
}

// Digits pass, a comma enters a period, every other typed character is cancelled.
TEST_F(Window, TypingLeavesDigitsAndPeriodsInEveryField)
{
    const QString rows[][2] = {
        {u"1,5"_s, u"1.5"_s}, {u"1.5"_s, u"1.5"_s},   {u"-+3"_s, u"3"_s},
        {u"2e5"_s, u"25"_s},  {u"4 7 0"_s, u"470"_s}, {u"1,2,3"_s, u"1.2.3"_s},
        {u"mF."_s, u"."_s},   {u"čšžý"_s, {}},        {u"1;2'3/4\t"_s, u"1234"_s}};
    for (int i = 1; i <= 10; ++i) {
        auto *field = child<QLineEdit>(u"Text%1"_s.arg(i));
        for (const auto &[typed, left] : rows) {
            field->clear();
            type(field, typed);
            EXPECT_EQ(field->text(), left) << "Text" << i << " typed " << typed.toStdString();
        }
    }
}

// Editing keys work as usual in a field and start nothing.
TEST_F(Window, EditingKeysWorkAsUsual)
{
    constexpr auto ctrl = Qt::ControlModifier;
    const auto redo = QKeySequence(QKeySequence::Redo)[0];
    const struct {
        QString before;
        std::vector<QKeyCombination> keys;
        QString after;
    } rows[] = {
        {u"123"_s, {Qt::Key_Backspace}, u"12"_s},
        {u"123"_s, {Qt::Key_Left, Qt::Key_Left, Qt::Key_Delete}, u"13"_s},
        {u"123"_s, {Qt::Key_Home, Qt::Key_9}, u"9123"_s},
        {u"12"_s, {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, ctrl | Qt::Key_B}, u"12"_s},
        {u"123"_s, {ctrl | Qt::Key_A, Qt::Key_7}, u"7"_s},
        {u"12"_s, {ctrl | Qt::Key_A, ctrl | Qt::Key_C, Qt::Key_End, ctrl | Qt::Key_V}, u"1212"_s},
        {u"12"_s, {ctrl | Qt::Key_A, ctrl | Qt::Key_X, ctrl | Qt::Key_Z}, u"12"_s},
        {u"12"_s, {ctrl | Qt::Key_A, ctrl | Qt::Key_X, ctrl | Qt::Key_Z, redo}, {}},
    };
    auto *field = child<QLineEdit>(u"Text1"_s);
    for (const auto &row : rows) {
        field->setText(row.before);
        for (const QKeyCombination key : row.keys)
            QTest::keyClick(field, key.key(), key.keyboardModifiers());
        EXPECT_EQ(field->text(), row.after)
            << row.before.toStdString() << " then " << row.keys.size() << " keys";
    }
    EXPECT_TRUE(closer.boxes.empty());
    EXPECT_EQ(text(u"Label4"_s), pages[0][2]);
}

// Pasted or dropped text is cleaned as far as a number needs; with Text1 at
// 10 V and Combo2 at KC the sentence shows the value that Text2 then holds.
TEST_F(Window, PastedAndDroppedTextIsCleaned)
{
    enum How { CtrlV, ShiftInsert, Menu, Drop };
    const QString longNumber = QString(40000, u'0') + u'5';
    const struct {
        How how;
        QString pasted, left, capacity;
    } rows[] = {
        {CtrlV, u"1,5"_s, u"1.5"_s, u"150"_s},
        {ShiftInsert, u"1 000,5"_s, u"1000.5"_s, u"100050"_s},
        {Menu, u"4,69999980926514E-05"_s, u"4.69999980926514E-05"_s, u"0,00469999977212865"_s},
        {Drop, u"\u00a01\u202f000\t\n"_s, u"1000"_s, u"100000"_s},
        {CtrlV, u"\ufeff\u200f5\u200b"_s, u"5"_s, u"500"_s},
        {CtrlV, u"\u2212\u0661\u0662"_s, u"-12"_s, u"1200"_s},
        {Menu, u"-5"_s, u"-5"_s, u"500"_s},
        {CtrlV, u"2 kC"_s, u"2kC"_s, u"200"_s},
        {CtrlV, longNumber, longNumber, u"500"_s},
    };
    auto *field = child<QLineEdit>(u"Text2"_s);
    for (const auto &row : rows) {
        field->setText(u"12"_s);
        field->selectAll();
        QGuiApplication::clipboard()->setText(row.pasted);
        if (row.how == CtrlV)
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        else if (row.how == ShiftInsert)
            QTest::keyClick(field, Qt::Key_Insert, Qt::ShiftModifier);
        else if (row.how == Menu)
            field->paste(); // what the context menu's Vložit calls
        else {
            field->clear();
            QMimeData data;
            data.setText(row.pasted);
            QDragEnterEvent enter({5, 5}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QDropEvent drop({5, 5}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(field, &enter);
            QApplication::sendEvent(field, &drop);
        }
        EXPECT_EQ(field->text(), row.left);
        click(u"Command1"_s);
        EXPECT_EQ(text(u"Label4"_s), u"Kondenzátor má kapacitu %1 F"_s.arg(row.capacity));
    }
    EXPECT_TRUE(closer.boxes.empty());
}

// The wheel turns a unit list only while it has the keyboard focus.
TEST_F(Window, WheelTurnsOnlyTheFocusedUnitList)
{
    auto *list = child<QComboBox>(u"Combo1"_s);
    for (const bool focused : {false, true}) {
        child(focused ? u"Combo1"_s : u"Text2"_s)->setFocus();
        QWheelEvent notch({9, 9}, list->mapToGlobal(QPointF(9, 9)), {}, {0, -120}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(list, &notch);
        EXPECT_EQ(list->currentText() != u"V"_s, focused);
    }
}

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls.append(url); }
};

TEST_F(Window, AboutLabelsShowTheDescriptionAndOpenTheSite)
{
    child<QTabWidget>(u"SSTab1"_s)->setCurrentIndex(5);
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(u"https"_s, &catcher, "open");
    for (const QString &name : {u"Image1"_s, u"Label24"_s, u"Label30"_s, u"Label31"_s})
        click(name);
    EXPECT_TRUE(closer.boxes.empty());
    click(u"Label32"_s);
    child(u"Label32"_s)->setFocus();
    QTest::keyClick(child(u"Label32"_s), Qt::Key_Space);
    EXPECT_EQ(catcher.urls, QList<QUrl>(2, QUrl(u"https://www.ferrolux.example"_s)));
    QDesktopServices::unsetUrlHandler(u"https"_s);

    click(u"Label23"_s);
    click(u"Label32"_s); // offscreen, with no handler, the desktop cannot open it
    ASSERT_EQ(closer.boxes.size(), 2U);
    EXPECT_EQ(closer.boxes[0].text,
              u"Výpočet kapacity, náboje, napětí, časové konstanty a energie kondenzátoru"_s);
    EXPECT_EQ(closer.boxes[1].text,
              u"Webovou stránku se nepodařilo otevřít: https://www.ferrolux.example"_s);
    for (const auto &box : closer.boxes) {
        EXPECT_EQ(box.title, u"Dielektra"_s);
        EXPECT_EQ(box.icon, QMessageBox::Information);
        EXPECT_EQ(box.buttons, 1);
    }
}

// Drives each page to the longest sentence it can write, then checks that no
// text needs more room than its control has, in whatever face the system
// resolves (ctest also runs it with fontconfig offering one face at a time),
// and that the About texts stay on the black part of the picture (x < 346).
TEST_F(Window, EveryTextFitsItsControl)
{
    const QString longest[] = {u"Text1=1.4E-45|Combo1=pV|Text2=3.4E38|Combo2=TC"_s,
                               u"Text3=3.4E38|Combo3=TV|Text4=3.333333E38|Combo4=TF"_s,
                               u"Text5=3.333333E38|Combo5=TC|Text6=1.4E-45|Combo6=pF"_s,
                               u"Text8=3.333333E-39|Combo8=pF|Text7=3.333333E-39|Combo7=pO"_s,
                               u"Text10=3.333333E38|Combo10=TV|Text9=3.333333E38|Combo9=TF"_s};
    auto *tabs = child<QTabWidget>(u"SSTab1"_s);
    for (int i = 0; i < 5; ++i) {
        tabs->setCurrentIndex(i);
        set(longest[i]);
        click(pages[i][0]);
    }
    ASSERT_TRUE(closer.boxes.empty());
    child(u"Label35"_s)->show();
    if (const QString family = qEnvironmentVariable("DIELEKTRA_EXPECT_FONT"); !family.isEmpty()) {
        EXPECT_EQ(QFontInfo(window.font()).family(), family);
    }
    for (auto *label : window.findChildren<QLabel *>()) {
        const QRect at(label->mapTo(tabs, QPoint()), label->size());
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()),
                  label->contentsRect().width())
            << label->text().toStdString();
        EXPECT_GE(label->height(), label->fontMetrics().ascent()) << label->text().toStdString();
        EXPECT_LE(at.right(), tabs->width()) << label->text().toStdString();
        if (tabs->widget(5)->isAncestorOf(label) && !label->text().isEmpty() && at.top() < 133) {
            EXPECT_LT(at.right(), 346) << label->text().toStdString();
        }
    }
    const QTabBar *bar = tabs->tabBar();
    for (int i = 0; i < bar->count(); ++i) {
        EXPECT_LT(bar->fontMetrics().horizontalAdvance(bar->tabText(i)), bar->tabRect(i).width());
        EXPECT_EQ(bar->tabRect(i).top(), bar->tabRect(0).top()) << "tab " << i << " left the row";
    }
    EXPECT_LE(bar->tabRect(bar->count() - 1).right(), tabs->width());
}

} // namespace

#include "window_test.moc"
