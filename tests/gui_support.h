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

// A box with one OK button.
inline void expectBox(const BoxCloser::Box &box, const char *text, const char *title,
                      QMessageBox::Icon icon)
{
    EXPECT_EQ(box.text, QString::fromUtf8(text));
    EXPECT_EQ(box.title, QString::fromUtf8(title));
    EXPECT_EQ(box.icon, icon);
    EXPECT_EQ(box.buttons, 1);
}

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
    template <typename Widget = QWidget> Widget *child(const char *name)
    {
        return child<Widget>(QString::fromLatin1(name));
    }

    // Writes "Text1=0|Combo1=kV" into fields and unit lists.
    void set(const char *texts)
    {
        for (const QString &item : QString::fromUtf8(texts).split(u'|', Qt::SkipEmptyParts)) {
            const QString name = item.section(u'=', 0, 0);
            if (auto *list = qobject_cast<QComboBox *>(child(name)))
                list->setEditText(item.section(u'=', 1));
            else
                child<QLineEdit>(name)->setText(item.section(u'=', 1));
        }
    }

    // Every field or label of "Text2=3|Label4=…" shows that text.
    void expectTexts(const QString &texts)
    {
        for (const QString &item : texts.split(u'|', Qt::SkipEmptyParts)) {
            auto *label = qobject_cast<QLabel *>(child(item.section(u'=', 0, 0)));
            EXPECT_EQ(label != nullptr ? label->text()
                                       : child<QLineEdit>(item.section(u'=', 0, 0))->text(),
                      item.section(u'=', 1));
        }
    }
    void expectTexts(const char *texts) { expectTexts(QString::fromUtf8(texts)); }

    Form1 window;
    BoxCloser closer;
};
