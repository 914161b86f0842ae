#pragma once

#include "core/calculate.h"
#include "core/pages.h"

#include <QWidget>

#include <array>
#include <memory>

class MessageBoxes;
class QTabWidget;
namespace dielektra::design {
struct PageDesign;
} // namespace dielektra::design

// The program's only window, Form1 by its object name: five calculation pages and
// the About page in a tab control.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // One page's calculation, as a press of its "Spočítat" button runs it.
    void calculate(dielektra::PageIndex page);

    // The About page's edition label: a box with the program's description.
    void showDescription();
    // The About page's address: the maker's web site in the browser.
    void openWebAddress();

private:
    class BoundPage;

    void buildCalculationPage(QTabWidget *tabs, const dielektra::design::PageDesign &design);

    MessageBoxes *boxes_;
    std::array<std::unique_ptr<BoundPage>, 5> pages_;
};
