#include "ui/form1.h"

#include "core/numbers.h"
#include "ui/about_page.h"
#include "ui/accessibility.h"
#include "ui/command_button.h"
#include "ui/numeric_field_filter.h"
#include "ui/style.h"
#include "ui/tab_page.h"
#include "ui/unit_list.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTranslator>
#include <QWindow>
#include <QWindowStateChangeEvent>

#include <limits>
#include <optional>
#include <span>

using dielektra::CalcPage;
using dielektra::CalcPages;
using dielektra::PageIndex;

namespace {

struct Text {
    const char *name; // objectName
    const char *text;
};

// Formula panel contents, in pixels relative to the panel.
struct PanelLabel {
    const char *name;
    const char *text;
    int x, y;
};

struct FractionBar {
    const char *name;
    int x1, x2, y;
};

// The time-constant page's notes, in the banner look at x = 128, 412 wide.
struct Note {
    const char *name;
    const char *text;
    int y;
    bool visibleAtStart;
};

struct PageDesign {
    const char *tab;
    PageIndex calc; // fields, unit lists, button and result label
    Text banner;
    Text captionA, captionB; // A is the upper row
    const char *startA, *unitA, *startB, *unitB;
    const char *resultAtStart;
    const char *panel;
    std::span<const PanelLabel> panelLabels;
    std::optional<FractionBar> bar;
    std::span<const Note> notes;
    std::array<const char *, 5> focusOrder;
};

const char *const capacityBanner =
    "Kondenzátor má kapacitu 1F (farad), nabije-li se napětím 1V na náboj 1C = 1A * s";

constexpr PanelLabel capacityFormula[] = {{"Label8", "C=", 24, 24},
                                          {"Label7", "Q", 51, 16},
                                          {"Label6", "U", 51, 32},
                                          {"Label5", "[F; C; V]", 80, 24}};
constexpr PanelLabel chargeFormula[] = {{"Label13", "Q=C*U  [C; F; V]", 24, 24}};
constexpr PanelLabel voltageFormula[] = {{"Label21", "U=", 24, 24},
                                         {"Label16", "Q", 51, 16},
                                         {"Label15", "C", 51, 32},
                                         {"Label14", "[V; C; F]", 80, 24}};
constexpr PanelLabel timeConstantFormula[] = {{"Label25", "t = R*C [s; Ohm; F]", 24, 24}};
constexpr PanelLabel energyFormula[] = {{"Label36", "W=0.5*C*U^2   [J; C; F; V]", 24, 24}};

constexpr Note timeConstantNotes[] = {
    {"Label35", "Zdroj dodává nekonečně velký proud (tato situace nikdy nenastane).", 104, false},
    {"Label41", "Místo Omegy (značky Ohmu) je písmeno \"O\"...", 120, true}};

const PageDesign pageDesigns[] = {
    {"Kapacita",
     dielektra::Capacity,
     {"Label1", capacityBanner},
     {"Label2", "Napětí : "},
     {"Label3", "Náboj : "},
     "10",
     "V",
     "1",
     "KC",
     "Kondenzátor má kapacitu 100 F",
     "Frame1",
     capacityFormula,
     FractionBar{"Line1", 43, 67, 32},
     {},
     {"Text1", "Combo1", "Text2", "Combo2", "Command1"}},
    {"Náboj",
     dielektra::Charge,
     {"Label9", capacityBanner},
     {"Label10", "Napětí : "},
     {"Label11", "Kapacita : "},
     "10",
     "V",
     "470",
     "mF.",
     "V kondenzátoru je náboj 4,7 C",
     "Frame2",
     chargeFormula,
     std::nullopt,
     {},
     {"Text3", "Combo3", "Text4", "Combo4", "Command2"}},
    {"Napětí",
     dielektra::Voltage,
     {"Label17", capacityBanner},
     {"Label18", "Náboj : "},
     {"Label19", "Kapacita : "},
     "10",
     "C",
     "1",
     "F",
     "Kondenzátor má napětí 10 V",
     "Frame3",
     voltageFormula,
     FractionBar{"Line2", 43, 67, 32},
     {},
     {"Text5", "Combo5", "Text6", "Combo6", "Command3"}},
    {"Čas konstanta",
     dielektra::TimeConstant,
     {"Label29", "Měřítkem pro nabíjecí čas je časová konstanta (t) za časovou konstantu t je "
                 "kondenzátor nabit na zhruba 63%"},
     {"Label28", "Kapacita : "},
     {"Label27", "Odpor : "},
     "10",
     "uF",
     "1",
     "MO",
     "Časová konstanta kondenzátoru je 10 sec.",
     "Frame4",
     timeConstantFormula,
     std::nullopt,
     timeConstantNotes,
     {"Command4", "Combo7", "Text7", "Combo8", "Text8"}},
    {"Energie",
     dielektra::Energy,
     {"Label40", "Kondenzátor může uchovávat elektrickou energii W [J]"},
     {"Label39", "Napětí : "},
     {"Label38", "Kapacita : "},
     "100",
     "V",
     "100",
     "uF",
     "V kondenzátoru je energie 0,5 J",
     "Frame5",
     energyFormula,
     std::nullopt,
     {},
     {"Command5", "Combo9", "Text9", "Combo10", "Text10"}},
};

// The geometry that all five calculation pages share, relative to the tab control.
constexpr QRect bannerRect(8, 32, 533, 13);
constexpr QPoint captionA(16, 58), captionB(16, 83);
constexpr QRect fieldA(72, 56, 105, 19), fieldB(72, 80, 105, 19);
constexpr QRect unitA(184, 56, 49, 21), unitB(184, 80, 49, 21);
constexpr QRect buttonRect(16, 104, 105, 25);
constexpr QRect panelRect(240, 48, 297, 57);
constexpr QRect resultRect(8, 136, 532, 13);
constexpr int noteX = 128, noteWidth = 412, lineHeight = 13;

QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

template <typename Widget> Widget *named(QWidget *parent, std::string_view name)
{
    auto *widget = new Widget(parent);
    widget->setObjectName(qs(name));
    return widget;
}

// A misspelt name in the tables stops a debug build at once.
template <typename Widget> Widget *existing(const QWidget &parent, std::string_view name)
{
    auto *widget = parent.findChild<Widget *>(qs(name));
    Q_ASSERT(widget != nullptr);
    return widget;
}

QLabel *label(QWidget *parent, const Text &text)
{
    auto *result = named<QLabel>(parent, text.name);
    result->setText(QString::fromUtf8(text.text));
    return result;
}

QSize textSize(QLabel *label, int height)
{
    return {label->sizeHint().width(), height};
}

// Read as PNG outright: left to find the format, Qt loads every image plugin
// (the SVG one with all of Qt's SVG module) to ask each, which costs more at
// start-up than decoding all the icon's sizes.
QPixmap readPng(const QString &path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

void installCzechQtTranslation()
{
    // Qt's own texts (context menus, standard buttons) in Czech, once per application.
    QCoreApplication *app = QCoreApplication::instance();
    if (app == nullptr || app->property("dielektra.qtbase_cs").toBool())
        return;
    auto *translator = new QTranslator(app);
    if (translator->load(QStringLiteral("qtbase_cs"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    app->setProperty("dielektra.qtbase_cs", true);
}

} // namespace

class Form1::Page : public dielektra::PageOps {
public:
    explicit Page(Form1 &form) : form_(form) {}

    std::string text(std::string_view field) const override
    {
        return child<QLineEdit>(field)->text().toStdString();
    }
    void setText(std::string_view field, const std::string &text) override
    {
        child<QLineEdit>(field)->setText(QString::fromStdString(text));
    }
    std::string unitText(std::string_view unitList) const override
    {
        return child<QComboBox>(unitList)->currentText().toStdString();
    }
    void setCaption(std::string_view label, const std::string &caption) override
    {
        auto *target = child<NotificationLabel>(label);
        target->setText(QString::fromStdString(caption));
        target->announce();
    }
    void setVisible(std::string_view label, bool visible) override
    {
        child<QLabel>(label)->setVisible(visible);
    }
    void setFocus(std::string_view control) override
    {
        child<QWidget>(control)->setFocus(Qt::OtherFocusReason);
    }
    void msgBox(std::string_view prompt, dielektra::MsgStyle style, std::string_view title) override
    {
        form_.MsgBox(qs(prompt), style, qs(title));
    }

private:
    template <typename Widget> Widget *child(std::string_view name) const
    {
        return existing<Widget>(form_, name);
    }

    Form1 &form_;
};

Form1::Form1(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      pageOps_(std::make_unique<Page>(*this))
{
    installCzechQtTranslation();
    dielektra::accessibility::install();
    // The banners are the longest texts: in Liberation Sans the longest needs
    // 529 of its 533 px.
    QStringList banners;
    for (const PageDesign &design : pageDesigns)
        banners += QString::fromUtf8(design.banner.text);
    dielektra::style::fitTexts(banners, 529);
    // Before any child exists, so that no control is first set up with the
    // desktop's font.
    setFont(dielektra::style::regularFont());
    SSTab1 = named<QTabWidget>(this, "SSTab1");
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Ferrolux Edition - Dielektra"));
    // Rendered from icon.svg at the sizes a window manager asks for, up to a
    // 64 px title-bar icon at 200 %.
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128})
        icon.addPixmap(readPng(
            QStringLiteral(":/dielektra/icons/hicolor/%1x%1/apps/example.ferrolux.Dielektra.png")
                .arg(size)));
    setWindowIcon(icon);
    setFixedSize(553, 161);
    // Shows the window anew once Qt is done with a maximised state it reported (see eventFilter).
    reshow_.setSingleShot(true);
    connect(&reshow_, &QTimer::timeout, this, &Form1::showAnew);

    SSTab1->setGeometry(0, 0, 553, 161);
    SSTab1->setUsesScrollButtons(false);
    auto *fieldFilter = new NumericFieldFilter(this);
    auto *pasteCleaner = new PastedNumberCleaner(this);

    for (const PageDesign &design : pageDesigns) {
        const CalcPage &calc = CalcPages[design.calc];
        auto *page = new TabPage(SSTab1);

        auto *banner = label(page, design.banner);
        dielektra::style::makeBanner(banner);
        page->place(banner, bannerRect);

        const struct {
            const Text &caption;
            QPoint captionAt;
            const dielektra::CalcField &calcField;
            const char *start, *unit;
            QRect fieldAt, unitAt;
        } rows[] = {
            {design.captionA, captionA, calc.a, design.startA, design.unitA, fieldA, unitA},
            {design.captionB, captionB, calc.b, design.startB, design.unitB, fieldB, unitB}};
        for (const auto &row : rows) {
            auto *caption = label(page, row.caption);
            page->place(caption, {row.captionAt, textSize(caption, lineHeight)});
            const QString quantity = caption->text().section(u':', 0, 0).trimmed();

            auto *field = named<QLineEdit>(page, row.calcField.field);
            field->setText(QString::fromUtf8(row.start));
            field->setAccessibleName(quantity);
            field->installEventFilter(fieldFilter);
            field->setValidator(pasteCleaner);
            field->setMaxLength(std::numeric_limits<int>::max());
            caption->setBuddy(field);
            page->place(field, row.fieldAt);

            auto *unitList = named<UnitList>(page, row.calcField.unitList);
            unitList->setEditText(QString::fromUtf8(row.unit));
            unitList->setAccessibleName(quantity + QStringLiteral(" – jednotka"));
            page->place(unitList, row.unitAt);
        }

        auto *button = named<CommandButton>(page, calc.button);
        button->setText(QStringLiteral("Spočítat"));
        button->setAccessibleDescription(QString::fromUtf8(design.tab));
        page->place(button, buttonRect);
        connect(button, &QPushButton::clicked, this,
                [this, &design] { Command_Click(design.calc); });

        auto *panel = named<QFrame>(page, design.panel);
        panel->setFrameStyle(QFrame::Box | QFrame::Sunken);
        page->place(panel, panelRect);
        for (const PanelLabel &item : design.panelLabels) {
            auto *text = label(panel, {item.name, item.text});
            text->setFont(dielektra::style::boldFont());
            text->setGeometry({{item.x, item.y}, text->sizeHint()});
        }
        if (design.bar) {
            auto *bar = named<QFrame>(panel, design.bar->name);
            bar->setFrameStyle(QFrame::HLine | QFrame::Plain);
            bar->setGeometry(design.bar->x1, design.bar->y, design.bar->x2 - design.bar->x1 + 1, 1);
            // Labels draw no background: the bar shows between the letters.
            bar->lower();
        }

        for (const Note &note : design.notes) {
            auto *text = label(page, {note.name, note.text});
            dielektra::style::makeBanner(text);
            page->place(text, {noteX, note.y, noteWidth, lineHeight});
            text->setVisible(note.visibleAtStart);
        }

        auto *result = named<NotificationLabel>(page, calc.resultLabel);
        result->setText(QString::fromUtf8(design.resultAtStart));
        result->setTextInteractionFlags(Qt::TextSelectableByMouse);
        dielektra::style::makeBanner(result);
        page->place(result, resultRect);

        const auto &order = design.focusOrder;
        for (std::size_t i = 0; i + 1 < order.size(); ++i)
            setTabOrder(existing<QWidget>(*page, order[i]), existing<QWidget>(*page, order[i + 1]));

        SSTab1->addTab(page, QString::fromUtf8(design.tab));
    }

    auto *about = new AboutPage(SSTab1);
    connect(about, &AboutPage::editionClicked, this, &Form1::Label23_Click);
    connect(about, &AboutPage::addressClicked, this, &Form1::Label32_Click);
    SSTab1->addTab(about, QStringLiteral("O programu"));
    SSTab1->setCurrentIndex(0);
    // Digits typed right after start go into the first field, not the tab bar.
    findChild<QWidget *>(QStringLiteral("Text1"))->setFocus();

    Form_Load();
}

Form1::~Form1() = default;

void Form1::Form_Load()
{
    // Each list gets its family's labels at the index of their position, none
    // selected, and goes on showing the text it was designed with.
    for (const CalcPage &calc : CalcPages) {
        for (const auto *side : {&calc.a, &calc.b}) {
            auto *unitList = findChild<QComboBox *>(qs(side->unitList));
            const QString shown = unitList->currentText();
            for (const auto &unit : side->family->labels)
                unitList->insertItem(unit.position, qs(unit.text));
            unitList->setCurrentIndex(-1);
            unitList->setEditText(shown);
        }
    }
}

void Form1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Each state that the window system reports, with the one before it,
    // reaches the QWindow; this widget hears only of changes to its own.
    windowHandle()->installEventFilter(this);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    // The window has one size, yet on Wayland the title bar that Qt draws
    // itself offers to maximise it, and a desktop may maximise it as well.
    // Once Qt has acknowledged the maximised state, weston disconnects the
    // program at its next frame, which is not of the maximised size; asking
    // for the state back is not enough either, as weston does not answer for
    // a state that no frame has shown. So nothing is drawn, and the window is
    // shown anew: a new Wayland window starts unmaximised, and the widgets
    // keep everything typed.
    QWindow *window = windowHandle();
    if (watched == window && event->type() == QEvent::WindowStateChange && event->spontaneous() &&
        QGuiApplication::platformName().startsWith(u"wayland")) {
        const bool maximised = window->windowStates().testFlag(Qt::WindowMaximized);
        const bool wasMaximised =
            static_cast<QWindowStateChangeEvent *>(event)->oldState().testFlag(Qt::WindowMaximized);
        // A desktop that maximises the new window too (a kiosk) insists: it keeps the state.
        const bool insists = sinceReshown_.isValid() && !sinceReshown_.hasExpired(1000);
        if (maximised && !wasMaximised && !insists) {
            setUpdatesEnabled(false);
            reshow_.start(0);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::showAnew()
{
    hide();
    showNormal();
    sinceReshown_.start();
    setUpdatesEnabled(true);
}

dielektra::Outcome Form1::Command_Click(PageIndex page)
{
    return dielektra::CalculatePage(CalcPages[page], quantities_[page], *pageOps_,
                                    QLocale().decimalPoint().toStdString());
}

void Form1::Label23_Click()
{
    MsgBox(
        QStringLiteral("Výpočet kapacity, náboje, napětí, časové konstanty a energie kondenzátoru"),
        dielektra::MsgStyle::Information);
}

void Form1::Label32_Click()
{
    // Without a browser or xdg-open the request fails at once; say so rather
    // than leave the click unanswered.
    if (!AboutPage::openMakerAddress())
        MsgBox(QStringLiteral("Webovou stránku se nepodařilo otevřít: ") +
                   QString::fromLatin1(AboutPage::MakerAddress),
               dielektra::MsgStyle::Information);
}

void Form1::MsgBox(const QString &prompt, dielektra::MsgStyle style, const QString &title)
{
    const auto icon =
        style == dielektra::MsgStyle::Critical ? QMessageBox::Critical : QMessageBox::Information;
    QMessageBox box(icon, title.isEmpty() ? QStringLiteral("Dielektra") : title, prompt,
                    QMessageBox::Ok, this);
    box.exec();
}
