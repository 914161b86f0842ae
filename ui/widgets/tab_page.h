#pragma once

#include <QRect>
#include <QWidget>

#include <utility>
#include <vector>

// A tab page whose controls are placed in coordinates relative to the tab
// control's top-left corner, whatever the height of the tab strip.
class TabPage : public QWidget {
    Q_OBJECT
public:
    explicit TabPage(QWidget *tabControl);

    void place(QWidget *control, QRect relativeToTabControl);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void relayout();

    QWidget *tabControl_;
    std::vector<std::pair<QWidget *, QRect>> placed_;
};
