#pragma once

#include "ui/main_window.h"

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
#include <utility>

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
        QApplication::instance()->installEventFilter(this);
    }

    // The boxes shown since the last call.
    QStringList take() { return std::exchange(boxes, {}); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<QMessageBox *>(watched) != nullptr) {
            const QWidgetList windows = QApplication::topLevelWidgets();
            mostOpenAtOnce = std::max(
                mostOpenAtOnce, int(std::count_if(windows.begin(), windows.end(), [](QWidget *w) {
                    return qobject_cast<QMessageBox *>(w) != nullptr && w->isVisible();
                })));
        }
        return false;
    }

private:
    void close(QMessageBox *box)
    {
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
    return window.findChild<QWidget *>(QStringLiteral("Label23")) != nullptr;
}

// A shown, active main window with a box closer; controls by name.
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

    template <typename Widget = QWidget> Widget *child(const QString &name)
    {
        return window->findChild<Widget *>(name);
    }

    void showPage(int page) { child<QTabWidget>("SSTab1")->setCurrentIndex(page); }

    // Writes "Text1=0|Combo1=kV" into fields and unit lists.
    void set(const QString &texts)
    {
        for (const QString &item : texts.split(u'|', Qt::SkipEmptyParts)) {
            QWidget *control = child(item.section(u'=', 0, 0));
            control->setProperty(qobject_cast<QComboBox *>(control) != nullptr ? "currentText"
                                                                               : "text",
                                 item.section(u'=', 1));
        }
    }

    // Every field or label of "Text2=3|Label4=…" shows that text.
    void expectTexts(const QString &texts)
    {
        for (const QString &item : texts.split(u'|', Qt::SkipEmptyParts))
            EXPECT_EQ(child(item.section(u'=', 0, 0))->property("text").toString(),
                      item.section(u'=', 1));
    }

    std::unique_ptr<MainWindow> window;
    BoxCloser closer;
};
