#include "gui_support.h"

#include "core/pages.h"

#include <QAccessible>
#include <QComboBox>
#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include <array>

namespace {

struct StartText {
    const char *name;
    const char *text;
};

// What each page shows when the window opens.
constexpr StartText startTexts[] = {
    {"Label1", "Kondenzátor má kapacitu 1F (farad), nabije-li se napětím 1V na náboj 1C = 1A * s"},
    {"Label2", "Napětí : "},
    {"Text1", "10"},
    {"Combo1", "V"},
    {"Label3", "Náboj : "},
    {"Text2", "1"},
    {"Combo2", "KC"},
    {"Label4", "Kondenzátor má kapacitu 100 F"},
    {"Label9", "Kondenzátor má kapacitu 1F (farad), nabije-li se napětím 1V na náboj 1C = 1A * s"},
    {"Label10", "Napětí : "},
    {"Text3", "10"},
    {"Combo3", "V"},
    {"Label11", "Kapacita : "},
    {"Text4", "470"},
    {"Combo4", "mF."},
    {"Label12", "V kondenzátoru je náboj 4,7 C"},
    {"Label17", "Kondenzátor má kapacitu 1F (farad), nabije-li se napětím 1V na náboj 1C = 1A * s"},
    {"Label18", "Náboj : "},
    {"Text5", "10"},
    {"Combo5", "C"},
    {"Label19", "Kapacita : "},
    {"Text6", "1"},
    {"Combo6", "F"},
    {"Label20", "Kondenzátor má napětí 10 V"},
    {"Label29", "Měřítkem pro nabíjecí čas je časová konstanta (t) za časovou konstantu t je "
                "kondenzátor nabit na zhruba 63%"},
    {"Label28", "Kapacita : "},
    {"Text8", "10"},
    {"Combo8", "uF"},
    {"Label27", "Odpor : "},
    {"Text7", "1"},
    {"Combo7", "MO"},
    {"Label26", "Časová konstanta kondenzátoru je 10 sec."},
    {"Label35", "Zdroj dodává nekonečně velký proud (tato situace nikdy nenastane)."},
    {"Label41", "Místo Omegy (značky Ohmu) je písmeno \"O\"..."},
    {"Label40", "Kondenzátor může uchovávat elektrickou energii W [J]"},
    {"Label39", "Napětí : "},
    {"Text10", "100"},
    {"Combo10", "V"},
    {"Label38", "Kapacita : "},
    {"Text9", "100"},
    {"Combo9", "uF"},
    {"Label37", "V kondenzátoru je energie 0,5 J"},
    {"Label8", "C="},
    {"Label7", "Q"},
    {"Label6", "U"},
    {"Label5", "[F; C; V]"},
    {"Label13", "Q=C*U  [C; F; V]"},
    {"Label21", "U="},
    {"Label16", "Q"},
    {"Label15", "C"},
    {"Label14", "[V; C; F]"},
    {"Label25", "t = R*C [s; Ohm; F]"},
    {"Label36", "W=0.5*C*U^2   [J; C; F; V]"},
    {"Label24", "Dielektra v1.1."},
    {"Label32", "WWW.FERROLUX.EXAMPLE"},
    {"Label23", "Ferrolux edition 1 - 3"},
    {"Command1", "Spočítat"},
    {"Command2", "Spočítat"},
    {"Command3", "Spočítat"},
    {"Command4", "Spočítat"},
    {"Command5", "Spočítat"},
};

QString shownText(QWidget *widget)
{
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text();
    if (auto *field = qobject_cast<QLineEdit *>(widget))
        return field->text();
    if (auto *list = qobject_cast<QComboBox *>(widget))
        return list->currentText();
    if (auto *button = qobject_cast<QPushButton *>(widget))
        return button->text();
    return {};
}

using StartState = WindowTest;

TEST_F(StartState, EveryControlShowsItsStartText)
{
    for (const auto &[name, text] : startTexts)
        EXPECT_EQ(shownText(child<QWidget>(name)).toStdString(), text) << name;
}

TEST_F(StartState, UnitListsHoldTheirFamilyWithNoneSelected)
{
    for (const auto &page : dielektra::CalcPages) {
        for (const auto *side : {&page.a, &page.b}) {
            auto *list = child<QComboBox>(std::string(side->unitList).c_str());
            SCOPED_TRACE(side->unitList);
            ASSERT_EQ(list->count(), 8);
            for (const auto &unit : side->family->labels)
                EXPECT_EQ(list->itemText(unit.position).toStdString(), unit.text);
            EXPECT_EQ(list->currentIndex(), -1);
            EXPECT_TRUE(list->isEditable());
        }
    }
}

TEST_F(StartState, WindowIsFixedWithSixTabsAndCapacityInFront)
{
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Ferrolux Edition - Dielektra"));
    EXPECT_EQ(window.minimumSize(), QSize(553, 161));
    EXPECT_EQ(window.maximumSize(), QSize(553, 161));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(window.windowIcon().pixmap(32, 32).isNull());

    auto *tabs = child<QTabWidget>("SSTab1");
    const QStringList captions{QStringLiteral("Kapacita"), QStringLiteral("Náboj"),
                               QStringLiteral("Napětí"),   QStringLiteral("Čas konstanta"),
                               QStringLiteral("Energie"),  QStringLiteral("O programu")};
    ASSERT_EQ(tabs->count(), captions.size());
    for (int i = 0; i < tabs->count(); ++i) {
        EXPECT_EQ(tabs->tabText(i), captions[i]);
        EXPECT_EQ(tabs->tabBar()->tabRect(i).top(), tabs->tabBar()->tabRect(0).top())
            << "tab " << i << " left the first row";
    }
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_FALSE(child<QLabel>("Label35")->isVisibleTo(&window));
}

TEST_F(StartState, NoButtonIsDefault)
{
    for (auto *button : window.findChildren<QPushButton *>()) {
        if (button->window() != &window)
            continue;
        EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
        EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
    }
}

using FirstClick = WindowTest;

TEST_F(FirstClick, OfEachButtonReproducesItsStartCaption)
{
    const std::array<std::pair<const char *, const char *>, 5> pages{{{"Command1", "Label4"},
                                                                      {"Command2", "Label12"},
                                                                      {"Command3", "Label20"},
                                                                      {"Command4", "Label26"},
                                                                      {"Command5", "Label37"}}};
    auto *tabs = child<QTabWidget>("SSTab1");
    for (int page = 0; page < 5; ++page) {
        const auto [buttonName, labelName] = pages[static_cast<std::size_t>(page)];
        tabs->setCurrentIndex(page);
        auto *result = child<QLabel>(labelName);
        const QString atStart = result->text();
        result->setText(QString());
        QTest::mouseClick(child<QPushButton>(buttonName), Qt::LeftButton);
        EXPECT_EQ(result->text(), atStart) << buttonName;
    }
    EXPECT_TRUE(closer.boxes.empty());
    EXPECT_FALSE(child<QLabel>("Label35")->isVisibleTo(&window));
}

using Results = WindowTest;

TEST_F(Results, RefusalShowsOneCriticalBoxAndKeepsTheSentence)
{
    child<QLineEdit>("Text1")->setText(QStringLiteral("0"));
    child<QLineEdit>("Text2")->setText(QStringLiteral("-3"));
    QTest::mouseClick(child<QPushButton>("Command1"), Qt::LeftButton);

    ASSERT_EQ(closer.boxes.size(), 1U);
    EXPECT_EQ(closer.boxes[0].text, QStringLiteral("Zadaná hodnota nemůže být 0"));
    EXPECT_EQ(closer.boxes[0].title, QStringLiteral("Chyba zadání"));
    EXPECT_EQ(closer.boxes[0].icon, QMessageBox::Critical);
    EXPECT_EQ(closer.boxes[0].buttons, 1);
    EXPECT_EQ(child<QLineEdit>("Text2")->text(), QStringLiteral("3"));
    EXPECT_EQ(child<QLabel>("Label4")->text(), QStringLiteral("Kondenzátor má kapacitu 100 F"));
}

TEST_F(Results, TypedUnitTextReachesTheCalculationAsTyped)
{
    auto *tabs = child<QTabWidget>("SSTab1");
    tabs->setCurrentIndex(0);
    auto *unitList = child<QComboBox>("Combo1");
    unitList->lineEdit()->selectAll();
    QTest::keyClicks(unitList->lineEdit(), QStringLiteral("kv"));
    QTest::keyClick(unitList->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(unitList->currentText(), QStringLiteral("kv"));
    EXPECT_EQ(unitList->count(), 8);

    QTest::mouseClick(child<QPushButton>("Command1"), Qt::LeftButton);
    ASSERT_EQ(closer.boxes.size(), 1U);
    EXPECT_EQ(closer.boxes[0].text, QStringLiteral("Zadaná jednotka není platná"));

    unitList->setCurrentIndex(2);
    EXPECT_EQ(unitList->currentText(), QStringLiteral("KV"));
    QTest::mouseClick(child<QPushButton>("Command1"), Qt::LeftButton);
    EXPECT_EQ(closer.boxes.size(), 1U);
    EXPECT_EQ(child<QLabel>("Label4")->text(), QStringLiteral("Kondenzátor má kapacitu 0,1 F"));
}

TEST_F(Results, TimeConstantShowsTheNoteForZeroResistanceAndWritesOneAfterItsBox)
{
    child<QTabWidget>("SSTab1")->setCurrentIndex(3);
    child<QLineEdit>("Text7")->setText(QStringLiteral("0"));
    QTest::mouseClick(child<QPushButton>("Command4"), Qt::LeftButton);
    EXPECT_TRUE(child<QLabel>("Label35")->isVisible());
    EXPECT_EQ(child<QLabel>("Label26")->text(),
              QStringLiteral("Časová konstanta kondenzátoru je 0 sec."));

    child<QLineEdit>("Text8")->clear();
    QTest::mouseClick(child<QPushButton>("Command4"), Qt::LeftButton);
    ASSERT_EQ(closer.boxes.size(), 1U);
    EXPECT_EQ(closer.boxes[0].text, QStringLiteral("Kondenzátor nemůže mít nulovou kapacitu"));
    EXPECT_EQ(child<QLineEdit>("Text8")->text(), QStringLiteral("1"));
    EXPECT_TRUE(child<QLabel>("Label35")->isVisible());
}

TEST_F(Results, SwitchingPagesChangesNothing)
{
    child<QLineEdit>("Text1")->setText(QStringLiteral("-7"));
    auto *tabs = child<QTabWidget>("SSTab1");
    for (int page : {5, 3, 1, 0})
        tabs->setCurrentIndex(page);
    EXPECT_EQ(child<QLineEdit>("Text1")->text(), QStringLiteral("-7"));
    EXPECT_EQ(child<QLabel>("Label4")->text(), QStringLiteral("Kondenzátor má kapacitu 100 F"));
    EXPECT_TRUE(closer.boxes.empty());
}

// Geometry in pixels relative to the tab control, or to the formula panel for
// the panel's own controls; width or height -1 where the control sizes itself.
struct Place {
    const char *name;
    int x, y, width, height;
};

std::vector<Place> expectedPlaces()
{
    struct Names {
        const char *banner, *captionA, *fieldA, *unitA, *captionB, *fieldB, *unitB, *button, *panel,
            *result;
    };
    constexpr Names pages[] = {
        {"Label1", "Label2", "Text1", "Combo1", "Label3", "Text2", "Combo2", "Command1", "Frame1",
         "Label4"},
        {"Label9", "Label10", "Text3", "Combo3", "Label11", "Text4", "Combo4", "Command2", "Frame2",
         "Label12"},
        {"Label17", "Label18", "Text5", "Combo5", "Label19", "Text6", "Combo6", "Command3",
         "Frame3", "Label20"},
        {"Label29", "Label28", "Text8", "Combo8", "Label27", "Text7", "Combo7", "Command4",
         "Frame4", "Label26"},
        {"Label40", "Label39", "Text10", "Combo10", "Label38", "Text9", "Combo9", "Command5",
         "Frame5", "Label37"},
    };
    std::vector<Place> places;
    for (const Names &page : pages) {
        places.insert(places.end(), {{page.banner, 8, 32, 533, 13},
                                     {page.captionA, 16, 58, -1, 13},
                                     {page.fieldA, 72, 56, 105, 19},
                                     {page.unitA, 184, 56, 49, 21},
                                     {page.captionB, 16, 83, -1, 13},
                                     {page.fieldB, 72, 80, 105, 19},
                                     {page.unitB, 184, 80, 49, 21},
                                     {page.button, 16, 104, 105, 25},
                                     {page.panel, 240, 48, 297, 57},
                                     {page.result, 8, 136, 532, 13}});
    }
    places.insert(places.end(), {{"Label35", 128, 104, 412, 13},
                                 {"Label41", 128, 120, 412, 13},
                                 {"Image1", 8, 32, 533, 101},
                                 {"Label24", 16, 40, -1, 16},
                                 {"Label30", 16, 64, -1, 13},
                                 {"Label31", 16, 80, -1, 13},
                                 {"Label32", 16, 96, -1, 13},
                                 {"Label23", 440, 136, -1, 13}});
    return places;
}

constexpr Place panelPlaces[] = {
    {"Label8", 24, 24, -1, -1},  {"Label7", 51, 16, -1, -1},  {"Label6", 51, 32, -1, -1},
    {"Label5", 80, 24, -1, -1},  {"Line1", 43, 32, 25, 1},    {"Label13", 24, 24, -1, -1},
    {"Label21", 24, 24, -1, -1}, {"Label16", 51, 16, -1, -1}, {"Label15", 51, 32, -1, -1},
    {"Label14", 80, 24, -1, -1}, {"Line2", 43, 32, 25, 1},    {"Label25", 24, 24, -1, -1},
    {"Label36", 24, 24, -1, -1},
};

using Layout = WindowTest;

TEST_F(Layout, EveryControlStandsWhereItBelongs)
{
    auto *tabs = child<QTabWidget>("SSTab1");
    EXPECT_EQ(tabs->geometry(), QRect(0, 0, 553, 161));
    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        for (const Place &place : expectedPlaces()) {
            auto *control = child<QWidget>(place.name);
            if (!tabs->currentWidget()->isAncestorOf(control))
                continue;
            const QPoint at = control->mapTo(tabs, QPoint(0, 0));
            EXPECT_EQ(at, QPoint(place.x, place.y)) << place.name;
            // A control that sizes itself is as wide as its text in its own font.
            const int width = place.width >= 0 ? place.width : control->sizeHint().width();
            EXPECT_EQ(control->width(), width) << place.name;
            EXPECT_EQ(control->height(), place.height) << place.name;
        }
    }
    for (const Place &place : panelPlaces) {
        auto *control = child<QWidget>(place.name);
        EXPECT_EQ(control->pos(), QPoint(place.x, place.y)) << place.name;
        EXPECT_TRUE(qobject_cast<QFrame *>(control->parentWidget())) << place.name;
        if (place.width >= 0) {
            EXPECT_EQ(control->size(), QSize(place.width, place.height)) << place.name;
        }
    }
}

// Drives each page to the longest sentence it can write, then checks that no
// label, button or tab needs more width than it has.
TEST_F(Layout, EveryTextFitsItsControl)
{
    const struct {
        const char *fieldA, *unitA, *fieldB, *unitB, *button;
    } longest[] = {{"1.4E-45", "pV", "3.4E38", "TC", "Command1"},
                   {"3.4E38", "TV", "3.333333E38", "TF", "Command2"},
                   {"3.333333E38", "TC", "1.4E-45", "pF", "Command3"},
                   {"3.333333E-39", "pF", "3.333333E-39", "pO", "Command4"},
                   {"3.333333E38", "TV", "3.333333E38", "TF", "Command5"}};
    auto *tabs = child<QTabWidget>("SSTab1");
    for (int page = 0; page < 5; ++page) {
        const auto &in = longest[page];
        tabs->setCurrentIndex(page);
        QWidget *current = tabs->currentWidget();
        const auto fields =
            current->findChildren<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly);
        const auto lists =
            current->findChildren<QComboBox *>(QString(), Qt::FindDirectChildrenOnly);
        ASSERT_EQ(fields.size(), 2);
        ASSERT_EQ(lists.size(), 2);
        // Upper row first.
        const bool aFirst = fields[0]->y() < fields[1]->y();
        fields[aFirst ? 0 : 1]->setText(QString::fromLatin1(in.fieldA));
        fields[aFirst ? 1 : 0]->setText(QString::fromLatin1(in.fieldB));
        lists[lists[0]->y() < lists[1]->y() ? 0 : 1]->setEditText(QString::fromLatin1(in.unitA));
        lists[lists[0]->y() < lists[1]->y() ? 1 : 0]->setEditText(QString::fromLatin1(in.unitB));
        QTest::mouseClick(child<QPushButton>(in.button), Qt::LeftButton);
    }
    ASSERT_TRUE(closer.boxes.empty()) << closer.boxes[0].text.toStdString();
    child<QLabel>("Label35")->show();

    for (auto *label : window.findChildren<QLabel *>()) {
        if (label->text().isEmpty())
            continue;
        const int needs = label->fontMetrics().horizontalAdvance(label->text());
        EXPECT_LE(needs, label->contentsRect().width())
            << label->objectName().toStdString() << ": " << label->text().toStdString();
        EXPECT_GE(label->height(), label->fontMetrics().ascent())
            << label->objectName().toStdString();
    }
    for (auto *button : window.findChildren<QPushButton *>())
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 8, button->width());
    for (auto *list : window.findChildren<QComboBox *>())
        for (int i = 0; i < list->count(); ++i)
            EXPECT_LE(list->lineEdit()->fontMetrics().horizontalAdvance(list->itemText(i)),
                      list->lineEdit()->width() - 4)
                << list->objectName().toStdString() << ": " << list->itemText(i).toStdString();
    const QTabBar *bar = tabs->tabBar();
    for (int i = 0; i < bar->count(); ++i)
        EXPECT_LT(bar->fontMetrics().horizontalAdvance(bar->tabText(i)), bar->tabRect(i).width())
            << bar->tabText(i).toStdString();
    EXPECT_LE(bar->tabRect(bar->count() - 1).right(), tabs->width());
}

TEST_F(Layout, FontsArePinnedAndBoldLabelsStayBold)
{
    EXPECT_EQ(QFontInfo(window.font()).family(), QStringLiteral("Liberation Sans"));
    for (const char *bold :
         {"Label5", "Label7", "Label13", "Label25", "Label36", "Label24", "Label32"}) {
        QFontInfo info(child<QLabel>(bold)->font());
        EXPECT_TRUE(info.bold()) << bold;
        EXPECT_EQ(info.family(), QStringLiteral("Liberation Sans")) << bold;
    }
}

TEST_F(Layout, BannersAreWhiteOnDarkGreyAndAboutTextsOnThePicture)
{
    for (const char *name : {"Label1", "Label4", "Label29", "Label35", "Label41", "Label37"}) {
        auto *label = child<QLabel>(name);
        EXPECT_TRUE(label->autoFillBackground()) << name;
        EXPECT_EQ(label->palette().color(QPalette::Window), QColor(64, 64, 64)) << name;
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::white)) << name;
        EXPECT_EQ(label->alignment(), Qt::AlignCenter) << name;
    }
    for (const char *name : {"Label24", "Label30", "Label31", "Label32"}) {
        auto *label = child<QLabel>(name);
        EXPECT_FALSE(label->autoFillBackground()) << name;
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::white)) << name;
    }
    child<QTabWidget>("SSTab1")->setCurrentIndex(5);
    EXPECT_EQ(child<QLabel>("Image1")->pixmap().deviceIndependentSize().toSize(), QSize(533, 101));
}

using Keyboard = WindowTest;

TEST_F(Keyboard, TabWalksEachPageInItsOwnOrder)
{
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const std::array<std::array<const char *, 5>, 5> orders{{
        {"Text1", "Combo1", "Text2", "Combo2", "Command1"},
        {"Text3", "Combo3", "Text4", "Combo4", "Command2"},
        {"Text5", "Combo5", "Text6", "Combo6", "Command3"},
        {"Command4", "Combo7", "Text7", "Combo8", "Text8"},
        {"Command5", "Combo9", "Text9", "Combo10", "Text10"},
    }};
    auto *tabs = child<QTabWidget>("SSTab1");
    for (int page = 0; page < 5; ++page) {
        const auto &order = orders[static_cast<std::size_t>(page)];
        tabs->setCurrentIndex(page);
        child<QWidget>(order[0])->setFocus(Qt::TabFocusReason);
        for (std::size_t i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            ASSERT_NE(QApplication::focusWidget(), nullptr);
            QWidget *focused = QApplication::focusWidget();
            if (auto *list = qobject_cast<QComboBox *>(focused->parentWidget()))
                focused = list;
            EXPECT_EQ(focused->objectName().toStdString(), order[i]) << "page " << page;
        }
    }
}

TEST_F(Keyboard, FieldsAndUnitListsAreNamedForScreenReaders)
{
    const std::pair<const char *, const char *> names[] = {{"Text1", "Napětí"},
                                                           {"Combo1", "Napětí – jednotka"},
                                                           {"Text2", "Náboj"},
                                                           {"Combo2", "Náboj – jednotka"},
                                                           {"Text4", "Kapacita"},
                                                           {"Text7", "Odpor"},
                                                           {"Combo7", "Odpor – jednotka"},
                                                           {"Text10", "Napětí"},
                                                           {"Combo9", "Kapacita – jednotka"}};
    for (const auto &[name, accessible] : names)
        EXPECT_EQ(child<QWidget>(name)->accessibleName().toStdString(), accessible) << name;
}

// The window renames the label with each sentence; with a screen reader
// attached, Qt sends that rename as a name-change event.
TEST_F(Keyboard, ResultLabelAnnouncesItsNewSentence)
{
    child<QLineEdit>("Text1")->setText(QStringLiteral("4"));
    QTest::mouseClick(child<QPushButton>("Command1"), Qt::LeftButton);

    auto *result = child<QLabel>("Label4");
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(result);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Kondenzátor má kapacitu 250 F"));
    EXPECT_TRUE(result->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
}

TEST_F(Keyboard, QtsOwnTextsAreCzech)
{
    EXPECT_EQ(QLineEdit::tr("&Copy"), QStringLiteral("&Kopírovat"));
    EXPECT_EQ(QLineEdit::tr("&Paste"), QStringLiteral("&Vložit"));
}

} // namespace
