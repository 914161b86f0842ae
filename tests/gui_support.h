#pragma once

#include "table_rows.h"
#include "ui/about_page.h"
#include "ui/main_window.h"
#include "ui/page_designs.h"
#include "ui/widgets/clickable_label.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMetaEnum>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>

using Page = dielektra::PageIndex;
using dielektra::Row;

inline constexpr Page allPages[] = {Page::Capacity, Page::Charge, Page::Voltage, Page::TimeConstant,
                                    Page::Energy};

// The index of a name in a list of them; any other name fails the test.
template <typename Index> Index named(const QString &name, const QStringList &names)
{
    if (!names.contains(name))
        throw std::invalid_argument("not one of " + names.join(u", ").toStdString() + ": " +
                                    name.toStdString());
    return Index(names.indexOf(name));
}
// The pages as the tables name them: by their calculations.
inline const QStringList pageNames{"capacity", "charge", "voltage", "time constant", "energy"};

// The rows of a section of tests/window_rows.tsv, the window's examples.
inline std::vector<QStringList> windowRows(const QString &section)
{
    std::vector<QStringList> rows;
    for (const auto &[rowSection, cells] : tableRows(QFINDTESTDATA("window_rows.tsv")))
        if (rowSection == section)
            rows.push_back(cells);
    EXPECT_GT(rows.size(), 4U) << "the rows of " << section.toStdString();
    return rows;
}

// Failures show texts as text, a long one shortened.
inline void PrintTo(const QString &text, std::ostream *out)
{
    if (text.size() > 80)
        *out << '"' << text.left(40).toStdString() << "…\" (" << text.size() << " characters)";
    else
        *out << '"' << text.toStdString() << '"';
}

// Closes every modal box that opens while it lives and records what it showed,
// so that a test never hangs in a box's nested event loop.
class BoxCloser : public QObject {
public:
    QStringList boxes;               // "title | text | icon | buttons"
    std::function<void()> whileOpen; // runs once while the next box is open, then closes it
    int mostOpenAtOnce = 0;          // the most boxes that were ever open together

    BoxCloser()
    {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (box == nullptr || box == held_)
                return;
            if (whileOpen) { // on a timer of its own: a box it opens is closed too
                held_ = box;
                QTimer::singleShot(0, this, [this, run = std::exchange(whileOpen, {})] {
                    run();
                    if (held_ != nullptr)
                        close(held_);
                    held_ = nullptr;
                });
                return;
            }
            close(box);
        });
        timer_.start(5);
    }

    // The boxes shown since the last call.
    QStringList take() { return std::exchange(boxes, {}); }

private:
    void close(QMessageBox *box)
    {
        const QWidgetList windows = QApplication::topLevelWidgets();
        mostOpenAtOnce = std::max(
            mostOpenAtOnce, int(std::count_if(windows.begin(), windows.end(), [](QWidget *w) {
                return qobject_cast<QMessageBox *>(w) != nullptr && w->isVisible();
            })));
        boxes += QStringLiteral("%1 | %2 | %3 | %4")
                     .arg(box->windowTitle(), box->text(),
                          QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(box->icon()))
                     .arg(box->buttons().size());
        box->button(QMessageBox::Ok)->click();
    }

    QTimer timer_;
    QPointer<QMessageBox> held_;
};

// A key held down: its press, three auto-repeated presses and its release.
inline void holdKey(QWidget *widget, Qt::Key key)
{
    for (const bool repeated : {false, true, true, true}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), repeated);
        QApplication::sendEvent(widget, &press);
    }
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

// Whether every page of the window has its controls: the pages behind the
// first are built after its first frame, the About page's edition label last.
inline bool whole(const MainWindow &window)
{
    return window.findChild<AboutPage *>()->edition() != nullptr;
}

// A shown, active main window with a box closer; its controls by page and row.
class WindowTest : public testing::Test {
protected:
    void SetUp() override { reopen(); }

    // A new window, as at start.
    void reopen()
    {
        window = std::make_unique<MainWindow>();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        // Where a window is exposed but not made active (Wayland), it is whole
        // right after its first frame: a test starts once it is, and once the
        // window has handled what came meanwhile.
        ASSERT_TRUE(QTest::qWaitFor([this] { return whole(*window); }));
        QCoreApplication::processEvents();
    }

    QTabWidget *tabs() { return window->findChild<QTabWidget *>(); }
    AboutPage *about() { return window->findChild<AboutPage *>(); }
    void showPage(Page page) { tabs()->setCurrentIndex(static_cast<int>(page)); }

    // A page's controls, by the names that the page table gives them.
    static const auto &design(Page page) { return dielektra::design::pageDesigns[page]; }
    static const auto &input(Page page, Row row)
    {
        return row == Row::Upper ? design(page).upper : design(page).lower;
    }
    QLineEdit *field(Page page, Row row) { return child<QLineEdit>(input(page, row).field.name); }
    QComboBox *unitList(Page page, Row row)
    {
        return child<QComboBox>(input(page, row).unitList.name);
    }
    QAbstractButton *button(Page page) { return child<QAbstractButton>(design(page).button); }
    QLabel *result(Page page) { return child<QLabel>(design(page).result.name); }
    // The time-constant page's note beside its result.
    QLabel *resultNote() { return child<QLabel>(design(Page::TimeConstant).resultNote->name); }

    // Writes "upper=0|lower unit=kV" into a page's fields and unit lists.
    void set(Page page, const QString &texts)
    {
        for (const QString &item : texts.split(u'|', Qt::SkipEmptyParts)) {
            const auto [control, property] = this->control(page, item.section(u'=', 0, 0));
            control->setProperty(property, item.section(u'=', 1));
        }
    }

    // Every field, unit list or result of "upper=3|result=…" shows that text.
    void expectTexts(Page page, const QString &texts)
    {
        for (const QString &item : texts.split(u'|', Qt::SkipEmptyParts)) {
            const auto [control, property] = this->control(page, item.section(u'=', 0, 0));
            EXPECT_EQ(control->property(property).toString(), item.section(u'=', 1));
        }
    }

    std::unique_ptr<MainWindow> window;
    BoxCloser closer;

private:
    // A page's "upper" or "lower" field, "upper unit" or "lower unit" list, or
    // "result", and the name of the property that holds its text.
    std::pair<QWidget *, const char *> control(Page page, const QString &key)
    {
        if (!QStringList{"upper", "upper unit", "lower", "lower unit", "result"}.contains(key))
            throw std::invalid_argument("a page has no control called " + key.toStdString());
        const Row row = key.startsWith(u"upper") ? Row::Upper : Row::Lower;
        if (key == u"result")
            return {result(page), "text"};
        if (key.endsWith(u"unit"))
            return {unitList(page, row), "currentText"};
        return {field(page, row), "text"};
    }

    // A name that the window does not have fails the test (GoogleTest
    // catches the exception) rather than hand out a null pointer.
    template <typename Widget> Widget *child(const char *name)
    {
        auto *found = window->findChild<Widget *>(QString::fromLatin1(name));
        if (found == nullptr)
            throw std::invalid_argument(std::string("the window has no ") +
                                        Widget::staticMetaObject.className() + " named " + name);
        return found;
    }
};
