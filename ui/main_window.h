#pragma once

#include "core/calculate.h"
#include "core/pages.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <deque>
#include <memory>
#include <optional>

class QTabWidget;

// The program's only window: five calculation pages and the About page.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    // Runs one page's calculation, as a click on its "Spočítat" button does.
    dielektra::Outcome Command_Click(dielektra::PageIndex page);

    void Label23_Click();
    void Label32_Click();

    // Modal; a box given no title is titled "Dielektra".
    void MsgBox(const QString &prompt, dielektra::MsgStyle style, const QString &title = {});

private:
    class Page;
    struct Box {
        QString prompt;
        dielektra::MsgStyle style;
        QString title;
        bool operator==(const Box &) const = default;
    };

    void Form_Load();
    // For news that comes back later, unasked (the browser that did not
    // start): shown at once, or once the box that is open has closed, never
    // over it; dropped where the same box is already open or waiting.
    void MsgBoxWhenFree(const QString &prompt, dielektra::MsgStyle style);
    void showWaitingBox();

    QTabWidget *SSTab1 = nullptr;
    std::array<dielektra::CalcQuantities, 5> quantities_{};
    std::unique_ptr<Page> pageOps_;
    std::optional<Box> open_; // the box that MsgBox shows now
    std::deque<Box> waiting_; // for MsgBoxWhenFree, first come first shown
    QTimer boxClosed_;        // shows the next waiting box after the open one closed
};
