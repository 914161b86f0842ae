#include "ui/main_window.h"

#include "core/units.h"
#include "platform/platform.h"
#include "ui/about_page.h"
#include "ui/accessibility.h"
#include "ui/message_boxes.h"
#include "ui/page_designs.h"
#include "ui/style.h"
#include "ui/widgets/box_guard.h"
#include "ui/widgets/command_button.h"
#include "ui/widgets/notification_label.h"
#include "ui/widgets/numeric_field_filter.h"
#include "ui/widgets/numeric_field_validator.h"
#include "ui/widgets/tab_page.h"
#include "ui/widgets/unit_list.h"

#include <QAccessible>
#include <QEvent>
#include <QFrame>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTabWidget>

using dielektra::CalcPage;
using dielektra::CalcPages;
using dielektra::PageIndex;
using dielektra::Row;
using namespace dielektra::design;

namespace {

template <typename Widget> Widget *named(QWidget *parent, const char *name)
{
    auto *widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

template <typename Label = QLabel> Label *label(QWidget *parent, const Text &text)
{
    auto *result = named<Label>(parent, text.name);
    result->setText(QString::fromUtf8(text.text));
    return result;
}

QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
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

// Each list gets its family's labels at the index of their position and goes
// on showing the text it was designed with, its label current.
void fillUnitList(UnitList *list, const dielektra::UnitFamily &family)
{
    const QString shown = list->currentText();
    for (const dielektra::UnitLabel &unit : family.labels)
        list->insertItem(unit.position, qs(unit.text));
    list->setEditText(shown);
    list->followText();
}

// A press that arrives while a box is open does nothing.
template <typename Handler> auto unlessBoxOpen(Handler handler)
{
    return [handler] {
        if (!dielektra::boxIsOpen())
            handler();
    };
}

// The banners are the longest texts: in Liberation Sans the longest needs
// 529 of its 533 px. The fields, unit lists and buttons show numbers, units
// and the button's text.
dielektra::FontFit fitWindowFonts()
{
    QStringList banners;
    for (const PageDesign &design : pageDesigns)
        banners += QString::fromUtf8(design.banner.text);
    QStringList controlTexts{QStringLiteral("Spočítat"), QStringLiteral("0123456789.E-")};
    for (const dielektra::UnitFamily *family :
         {&dielektra::VoltageUnits, &dielektra::ChargeUnits, &dielektra::CapacityUnits,
          &dielektra::ResistanceUnits})
        for (const dielektra::UnitLabel &unit : family->labels)
            controlTexts += qs(unit.text);
    return dielektra::fitFonts(banners, 529, controlTexts);
}

std::size_t rowIndex(Row row)
{
    return row == Row::Upper ? 0 : 1;
}

} // namespace

// A calculation page's controls, as the core asks for them.
class MainWindow::BoundPage : public dielektra::PageControls {
public:
    explicit BoundPage(MessageBoxes &boxes) : boxes_(boxes) {}

    std::string fieldText(Row row) const override
    {
        return fields.at(rowIndex(row))->text().toStdString();
    }
    void setFieldText(Row row, const std::string &text) override
    {
        fields.at(rowIndex(row))->setText(QString::fromStdString(text));
    }
    std::string unitText(Row row) const override
    {
        return unitLists.at(rowIndex(row))->currentText().toStdString();
    }
    void focusUnitList(Row row) override
    {
        unitLists.at(rowIndex(row))->setFocus(Qt::OtherFocusReason);
    }
    void showResult(const std::string &sentence) override
    {
        result->setText(QString::fromStdString(sentence));
        result->announce();
    }
    void showNote(bool shown) override
    {
        if (note != nullptr)
            note->setVisible(shown);
    }
    void showMessage(std::string_view prompt, dielektra::MessageIcon icon,
                     std::string_view title) override
    {
        boxes_.show(qs(prompt), icon, qs(title));
    }

    std::array<QLineEdit *, 2> fields{};
    std::array<UnitList *, 2> unitLists{};
    NotificationLabel *result = nullptr;
    QLabel *note = nullptr;

private:
    MessageBoxes &boxes_;
};

// Builds the window's pages when a screen reader starts, before it can ask
// for them: Qt tells observers before its bridge announces the program.
class MainWindow::ScreenReaderWatch : public QAccessible::ActivationObserver {
public:
    explicit ScreenReaderWatch(MainWindow &window) : window_(window)
    {
        QAccessible::installActivationObserver(this);
    }
    ~ScreenReaderWatch() override { QAccessible::removeActivationObserver(this); }
    ScreenReaderWatch(const ScreenReaderWatch &) = delete;
    ScreenReaderWatch &operator=(const ScreenReaderWatch &) = delete;

    void accessibilityActiveChanged(bool active) override
    {
        if (active)
            window_.buildPages();
    }

private:
    MainWindow &window_;
};

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      fonts_(fitWindowFonts()), boxes_(new MessageBoxes(this))
{
    dielektra::accessibility::install();
    // Before any child exists, so that no control is first set up with the
    // desktop's font.
    setFont(fonts_.regular());
    tabs_ = named<QTabWidget>(this, "SSTab1");
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
    dielektra::platform::keepFixedSize(this);

    tabs_->setGeometry(0, 0, 553, 161);
    tabs_->setUsesScrollButtons(false);
    // All six tabs at once; the first page's controls at once too.
    for (const PageDesign &design : pageDesigns)
        tabs_->addTab(new TabPage(tabs_), QString::fromUtf8(design.tab));
    about_ = new AboutPage(tabs_);
    connect(about_, &AboutPage::editionClicked, this, unlessBoxOpen([this] { showDescription(); }));
    connect(about_, &AboutPage::addressClicked, this, unlessBoxOpen([this] { openWebAddress(); }));
    tabs_->addTab(about_, QStringLiteral("O programu"));
    tabs_->setCurrentIndex(0);
    buildCalculationPage(static_cast<TabPage *>(tabs_->widget(0)), pageDesigns[0]);
    // Digits typed right after start go into the first field, not the tab bar.
    pages_.at(dielektra::Capacity)->fields[0]->setFocus();

    if (QAccessible::isActive()) {
        buildPages();
        return;
    }
    screenReaderWatch_ = std::make_unique<ScreenReaderWatch>(*this);
    buildLater_.setSingleShot(true);
    buildLater_.setInterval(0);
    connect(&buildLater_, &QTimer::timeout, this, &MainWindow::buildPages);
    tabs_->installEventFilter(this);
    for (int i = 1; i < tabs_->count(); ++i)
        tabs_->widget(i)->installEventFilter(this);
}

MainWindow::~MainWindow() = default;

void MainWindow::changeEvent(QEvent *event)
{
    // What is typed goes to the active window: by then it is whole.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        buildPages();
    QWidget::changeEvent(event);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (allBuilt_)
        return false;
    if (watched == tabs_ && event->type() == QEvent::Paint && !buildLater_.isActive()) {
        // Later, so that the first frame is drawn and shown first.
        buildLater_.start();
    } else if (watched != tabs_ && event->type() == QEvent::Show) {
        // A page about to be shown: its controls come first. Controls added to
        // a visible page are shown one by one.
        buildPages();
        for (QObject *child : watched->children())
            if (auto *control = qobject_cast<QWidget *>(child);
                control != nullptr && !control->testAttribute(Qt::WA_WState_ExplicitShowHide))
                control->show();
    }
    return false;
}

void MainWindow::buildPages()
{
    if (allBuilt_)
        return;
    allBuilt_ = true;
    tabs_->removeEventFilter(this);
    for (std::size_t i = 1; i < std::size(pageDesigns); ++i) {
        auto *page = static_cast<TabPage *>(tabs_->widget(static_cast<int>(i)));
        page->removeEventFilter(this);
        buildCalculationPage(page, pageDesigns[i]);
    }
    about_->removeEventFilter(this);
    about_->addControls(fonts_);
}

void MainWindow::buildCalculationPage(TabPage *page, const PageDesign &design)
{
    const CalcPage &calc = CalcPages.at(design.calc);
    auto &bound = pages_.at(design.calc);
    bound = std::make_unique<BoundPage>(*boxes_);

    auto *banner = label(page, design.banner);
    dielektra::style::makeBanner(banner);
    page->place(banner, bannerRect);

    const struct {
        const InputRow &design;
        const dielektra::UnitFamily &family;
        QPoint captionAt;
        QRect fieldAt, unitAt;
    } rows[] = {{design.upper, *calc.upper, captionA, fieldA, unitA},
                {design.lower, *calc.lower, captionB, fieldB, unitB}};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const auto &row = rows[i];
        auto *caption = label(page, row.design.caption);
        page->place(caption, {row.captionAt, QSize(caption->sizeHint().width(), lineHeight)});
        const QString quantity = caption->text().section(u':', 0, 0).trimmed();

        auto *field = label<QLineEdit>(page, row.design.field);
        field->setAccessibleName(quantity);
        // A typed key passes the field's filter; all else, its validator.
        field->installEventFilter(new NumericFieldFilter(field));
        // Qt's 32,767 characters: room for any number a person types or
        // pastes, while a paste of megabytes is refused rather than laid out
        // and kept character by character in the undo history.
        field->setMaxLength(32767);
        caption->setBuddy(field);
        page->place(field, row.fieldAt);

        auto *unitList = named<UnitList>(page, row.design.unitList.name);
        unitList->setEditText(QString::fromUtf8(row.design.unitList.text));
        unitList->setAccessibleName(quantity + QStringLiteral(" – jednotka"));
        page->place(unitList, row.unitAt);
        field->setValidator(new NumericFieldValidator(field, unitList, row.family));
        fillUnitList(unitList, row.family);

        bound->fields.at(i) = field;
        bound->unitLists.at(i) = unitList;
    }

    auto *button = named<CommandButton>(page, design.button);
    button->setText(QStringLiteral("Spočítat"));
    button->setAccessibleDescription(QString::fromUtf8(design.tab));
    page->place(button, buttonRect);
    connect(button, &CommandButton::triggered, this,
            unlessBoxOpen([this, &design] { calculate(design.calc); }));

    auto *panel = named<QFrame>(page, design.panel);
    panel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    page->place(panel, panelRect);
    for (const PanelLabel &item : design.panelLabels) {
        auto *text = label(panel, {item.name, item.text});
        text->setFont(fonts_.bold());
        text->setGeometry({{item.x, item.y}, text->sizeHint()});
    }
    if (const FractionBar *line = design.bar) {
        auto *bar = named<QFrame>(panel, line->name);
        bar->setFrameStyle(QFrame::HLine | QFrame::Plain);
        bar->setGeometry(line->x1, line->y, line->x2 - line->x1 + 1, 1);
        // Labels draw no background: the bar shows between the letters.
        bar->lower();
    }

    for (const Note &note : design.notes) {
        auto *text = label(page, {note.name, note.text});
        dielektra::style::makeBanner(text);
        page->place(text, {noteX, note.y, noteWidth, lineHeight});
        text->setVisible(note.visibleAtStart);
        if (&note == design.resultNote)
            bound->note = text;
    }

    auto *result = label<NotificationLabel>(page, design.result);
    result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    dielektra::style::makeBanner(result);
    page->place(result, resultRect);
    bound->result = result;

    const auto &[fields, units] = std::pair(bound->fields, bound->unitLists);
    const std::array<QWidget *, 5> order =
        design.focusOrder == FocusOrder::Down
            ? std::array<QWidget *, 5>{fields[0], units[0], fields[1], units[1], button}
            : std::array<QWidget *, 5>{button, units[1], fields[1], units[0], fields[0]};
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order.at(i), order.at(i + 1));
}

void MainWindow::calculate(PageIndex page)
{
    buildPages();
    dielektra::calculate(CalcPages.at(page), *pages_.at(page),
                         QLocale().decimalPoint().toStdString());
}

void MainWindow::showDescription()
{
    boxes_->show(
        QStringLiteral("Výpočet kapacity, náboje, napětí, časové konstanty a energie kondenzátoru"),
        dielektra::MessageIcon::Information);
}

void MainWindow::openWebAddress()
{
    // Rather than leave the click unanswered when no browser opens.
    dielektra::platform::openAddress(QString::fromLatin1(AboutPage::MakerAddress), this, [this] {
        boxes_->showWhenFree(QStringLiteral("Webovou stránku se nepodařilo otevřít: ") +
                                 QString::fromLatin1(AboutPage::MakerAddress),
                             dielektra::MessageIcon::Information);
    });
}
