#pragma once

#include "core/calculate.h"
#include "core/pages.h"
#include "ui/font_fit.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>

class AboutPage;
class MessageBoxes;
class QTabWidget;
class TabPage;
namespace dielektra::design {
struct PageDesign;
} // namespace dielektra::design

// The program's only window, Form1 by its object name: five calculation pages and
// the About page in a tab control. The first frame shows the first page alone,
// and the other pages' controls are built right after it is drawn, or as soon
// as anything could see them: when the window becomes active, when a page is
// shown, or when a screen reader starts.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class BoundPage;
    class ScreenReaderWatch;

    void buildCalculationPage(TabPage *page, const dielektra::design::PageDesign &design);
    // Builds the controls of every page not built yet.
    void buildPages();
    // One page's calculation, as a press of its "Spočítat" button runs it.
    void calculate(dielektra::PageIndex page);
    // The About page's edition label: a box with the program's description.
    void showDescription();
    // The About page's address: the maker's web site in the browser.
    void openWebAddress();

    const dielektra::FontFit fonts_;
    MessageBoxes *boxes_;
    QTabWidget *tabs_ = nullptr;
    AboutPage *about_ = nullptr;
    std::array<std::unique_ptr<BoundPage>, 5> pages_;
    bool allBuilt_ = false;
    QTimer buildLater_;
    std::unique_ptr<ScreenReaderWatch> screenReaderWatch_;
};
