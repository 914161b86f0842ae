#pragma once

#include <QComboBox>

// An editable list of unit labels whose text reaches the calculation exactly
// as picked or typed. Down, Up and the wheel step from the unit shown: from
// the label that the text equals, or, where it equals none, as from no item
// (Down to the first, Up nowhere), and the list opens with that label
// highlighted, or none. The item current in Qt's sense follows the text only
// to labels: no item current would make the box set its line edit's text, and
// so clear its undo history, whenever an edit turns the text into no label.
// A label is a step of its own in that history, however it got there (typed,
// pasted into the field beside it, set by a screen reader, picked), so that
// Ctrl+Z after a character typed behind it brings it back.
// The mouse wheel turns it only while it has the keyboard focus: a notch that
// merely passes over it must not change a unit by up to 10^12 unnoticed.
class UnitList : public QComboBox {
    Q_OBJECT
public:
    explicit UnitList(QWidget *parent);

    // The item whose label equals the text becomes current, and the label a
    // step of its own; none changes nothing.
    void followText();

    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    // The index of the label that the text equals, or -1.
    int labelShown() const;
    // A step from a text that is no label: down to the first item, up nowhere.
    void stepFromNoLabel(int step);
};
