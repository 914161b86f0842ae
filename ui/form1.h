#pragma once

#include "core/calculate.h"
#include "core/pages.h"

#include <QWidget>

#include <array>
#include <memory>

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
    void Form_Load();

    QTabWidget *SSTab1 = nullptr;
    std::array<dielektra::CalcQuantities, 5> quantities_{};
    std::unique_ptr<Page> pageOps_;
};
