#pragma once

#include "ui/form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

// Failures show texts as text.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

// Closes every modal box that opens while it lives and records what it showed,
// so that a test never hangs in a box's nested event loop.
class BoxCloser : public QObject {
public:
    struct Box {
        QString text, title;
        QMessageBox::Icon icon;
        qsizetype buttons;
    };
    std::vector<Box> boxes;

    BoxCloser()
    {
        connect(&timer_, &QTimer::timeout, this, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                boxes.push_back(
                    {box->text(), box->windowTitle(), box->icon(), box->buttons().size()});
                box->button(QMessageBox::Ok)->click();
            }
        });
        timer_.start(5);
    }

private:
    QTimer timer_;
};

// A shown, active main window with a box closer; controls by name.
class WindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    template <typename Widget = QWidget> Widget *child(const QString &name)
    {
        auto *widget = window.findChild<Widget *>(name);
        if (widget == nullptr)
            ADD_FAILURE() << "no control named " << name.toStdString();
        return widget;
    }

    // Texts written "Text1=0|Combo1=kV" into fields and unit lists.
    void set(const QString &texts)
    {
        for (const QString &item : texts.split(u'|', Qt::SkipEmptyParts)) {
            const QString name = item.section(u'=', 0, 0), value = item.section(u'=', 1);
            if (auto *list = qobject_cast<QComboBox *>(child(name)))
                list->setEditText(value);
            else
                child<QLineEdit>(name)->setText(value);
        }
    }

    // The text a field or label shows.
    QString text(const QString &name)
    {
        auto *label = qobject_cast<QLabel *>(child(name));
        return label ? label->text() : child<QLineEdit>(name)->text();
    }

    // Every "Name=text" of texts, as set() writes them, is shown.
    void expectTexts(const QString &texts)
    {
        for (const QString &item : texts.split(u'|', Qt::SkipEmptyParts))
            EXPECT_EQ(text(item.section(u'=', 0, 0)), item.section(u'=', 1));
    }

    void click(const QString &name) { QTest::mouseClick(child(name), Qt::LeftButton); }

    Form1 window;
    BoxCloser closer;
};
