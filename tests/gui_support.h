#pragma once

#include "ui/form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

// Closes every modal box that opens while it lives and records what it showed,
// so that a test never hangs in a box's nested event loop.
class BoxCloser : public QObject {
public:
    struct Box {
        QString text;
        QString title;
        QMessageBox::Icon icon;
        qsizetype buttons;
    };

    BoxCloser()
    {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, &BoxCloser::closeOpenBox);
        timer_.start();
    }

    std::vector<Box> boxes;

private:
    void closeOpenBox()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return;
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            boxes.push_back({box->text(), box->windowTitle(), box->icon(), box->buttons().size()});
            if (QAbstractButton *ok = box->button(QMessageBox::Ok))
                ok->click();
            else
                box->reject();
        } else {
            boxes.push_back({QStringLiteral("<not a message box>"), modal->windowTitle(),
                             QMessageBox::NoIcon, 0});
            modal->close();
        }
    }

    QTimer timer_;
};

// A shown main window with a box closer, and lookup of controls by name.
class WindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void TearDown() override
    {
        window.close();
        for (QWidget *widget : QApplication::topLevelWidgets())
            EXPECT_FALSE(widget->isVisible())
                << "left open: " << widget->objectName().toStdString();
    }

    template <typename Widget> Widget *child(const char *name)
    {
        auto *widget = window.findChild<Widget *>(QString::fromLatin1(name));
        if (widget == nullptr)
            ADD_FAILURE() << "no control named " << name;
        return widget;
    }

    Form1 window;
    BoxCloser closer;
};
