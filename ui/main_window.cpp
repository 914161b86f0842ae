#include "ui/main_window.h"

#include "core/numbers.h"
#include "core/units.h"
#include "platform/platform.h"
#include "ui/about_page.h"
#include "ui/accessibility.h"
#include "ui/page_designs.h"
#include "ui/style.h"
#include "ui/widgets/command_button.h"
#include "ui/widgets/notification_label.h"
#include "ui/widgets/numeric_field_filter.h"
#include "ui/widgets/numeric_field_validator.h"
#include "ui/widgets/tab_page.h"
#include "ui/widgets/unit_list.h"

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

#include <algorithm>
#include <optional>
#include <span>
#include <utility>

using dielektra::CalcPage;
using dielektra::CalcPages;
using dielektra::PageIndex;
using namespace dielektra::design;

namespace {

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

// A click that reaches a control while a box is open does nothing: modality
// stops the mouse and the keys, but not a press over AT-SPI or a click in
// code, and each would open a box in the box. Checked when the click is
// handled; a press that arrived while a box was open is dropped where it
// arrives (the button, the label's accessible press).
template <typename Handler> auto unlessBoxOpen(Handler handler)
{
    return [handler] {
        if (QApplication::activeModalWidget() == nullptr)
            handler();
    };
}

void installCzechQtTranslation()
{
    // Qt's own texts (context menus, standard buttons) in Czech, once per
    // application: built in where the system has no Qt translations (Windows),
    // else the system's.
    QCoreApplication *app = QCoreApplication::instance();
    if (app == nullptr || app->property("dielektra.qtbase_cs").toBool())
        return;
    auto *translator = new QTranslator(app);
    if (translator->load(QStringLiteral("qtbase_cs"), QStringLiteral(":/i18n")) ||
        translator->load(QStringLiteral("qtbase_cs"),
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
    boxClosed_.setSingleShot(true);
    boxClosed_.setInterval(0);
    connect(&boxClosed_, &QTimer::timeout, this, &Form1::showWaitingBox);
    installCzechQtTranslation();
    dielektra::accessibility::install();
    // The banners are the longest texts: in Liberation Sans the longest needs
    // 529 of its 533 px.
    QStringList banners;
    for (const PageDesign &design : pageDesigns)
        banners += QString::fromUtf8(design.banner.text);
    // What the fields, unit lists and buttons show: numbers, units, the button.
    QStringList controlTexts{QStringLiteral("Spočítat"), QStringLiteral("0123456789.E-")};
    for (const dielektra::UnitFamily *family :
         {&dielektra::VoltageUnits, &dielektra::ChargeUnits, &dielektra::CapacityUnits,
          &dielektra::ResistanceUnits})
        for (const dielektra::UnitLabel &unit : family->labels)
            controlTexts += qs(unit.text);
    dielektra::style::fitTexts(banners, 529, controlTexts);
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
    dielektra::platform::keepFixedSize(this);

    SSTab1->setGeometry(0, 0, 553, 161);
    SSTab1->setUsesScrollButtons(false);
    auto *fieldFilter = new NumericFieldFilter(this);

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
            // Qt's 32,767 characters: room for any number a person types or
            // pastes, while a paste of megabytes is refused rather than laid
            // out and kept character by character in the undo history.
            field->setMaxLength(32767);
            caption->setBuddy(field);
            page->place(field, row.fieldAt);

            auto *unitList = named<UnitList>(page, row.calcField.unitList);
            unitList->setEditText(QString::fromUtf8(row.unit));
            unitList->setAccessibleName(quantity + QStringLiteral(" – jednotka"));
            page->place(unitList, row.unitAt);
            field->setValidator(new NumericFieldValidator(field, unitList, *row.calcField.family));
        }

        auto *button = named<CommandButton>(page, calc.button);
        button->setText(QStringLiteral("Spočítat"));
        button->setAccessibleDescription(QString::fromUtf8(design.tab));
        page->place(button, buttonRect);
        connect(button, &CommandButton::triggered, this,
                unlessBoxOpen([this, &design] { Command_Click(design.calc); }));

        auto *panel = named<QFrame>(page, design.panel);
        panel->setFrameStyle(QFrame::Box | QFrame::Sunken);
        page->place(panel, panelRect);
        for (const PanelLabel &item : design.panelLabels) {
            auto *text = label(panel, {item.name, item.text});
            text->setFont(dielektra::style::boldFont());
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
    connect(about, &AboutPage::editionClicked, this, unlessBoxOpen([this] { Label23_Click(); }));
    connect(about, &AboutPage::addressClicked, this, unlessBoxOpen([this] { Label32_Click(); }));
    SSTab1->addTab(about, QStringLiteral("O programu"));
    SSTab1->setCurrentIndex(0);
    // Digits typed right after start go into the first field, not the tab bar.
    findChild<QWidget *>(QStringLiteral("Text1"))->setFocus();

    Form_Load();
}

Form1::~Form1() = default;

void Form1::Form_Load()
{
    // Each list gets its family's labels at the index of their position and
    // goes on showing the text it was designed with, its label current.
    for (const CalcPage &calc : CalcPages) {
        for (const auto *side : {&calc.a, &calc.b}) {
            auto *unitList = findChild<UnitList *>(qs(side->unitList));
            const QString shown = unitList->currentText();
            for (const auto &unit : side->family->labels)
                unitList->insertItem(unit.position, qs(unit.text));
            unitList->setEditText(shown);
            unitList->followText();
        }
    }
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
    // Rather than leave the click unanswered when no browser opens.
    dielektra::platform::openAddress(QString::fromLatin1(AboutPage::MakerAddress), this, [this] {
        MsgBoxWhenFree(QStringLiteral("Webovou stránku se nepodařilo otevřít: ") +
                           QString::fromLatin1(AboutPage::MakerAddress),
                       dielektra::MsgStyle::Information);
    });
}

void Form1::MsgBox(const QString &prompt, dielektra::MsgStyle style, const QString &title)
{
    QMessageBox box(
        style == dielektra::MsgStyle::Critical ? QMessageBox::Critical : QMessageBox::Information,
        title.isEmpty() ? QStringLiteral("Dielektra") : title, prompt, QMessageBox::Ok, this);
    const std::optional<Box> under = std::exchange(open_, Box{prompt, style, title});
    box.exec();
    open_ = under;
    // Later, so that whoever asked for this box goes on first.
    if (!waiting_.empty())
        boxClosed_.start();
}

void Form1::MsgBoxWhenFree(const QString &prompt, dielektra::MsgStyle style)
{
    const Box box{prompt, style, {}};
    if (box == open_ || std::find(waiting_.begin(), waiting_.end(), box) != waiting_.end())
        return;
    waiting_.push_back(box);
    showWaitingBox();
}

void Form1::showWaitingBox()
{
    // Every box of the window opens through MsgBox, which calls again for
    // the next one when it has closed.
    if (waiting_.empty() || QApplication::activeModalWidget() != nullptr)
        return;
    const Box box = waiting_.front();
    waiting_.pop_front();
    MsgBox(box.prompt, box.style, box.title);
}
