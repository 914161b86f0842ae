#pragma once

#include <QComboBox>

// An editable list of unit labels whose text reaches the calculation exactly
// as picked or typed. Its current item follows the text: the label that
// equals it, or none, so that Down, Up and the wheel step from the unit
// shown. The mouse wheel turns it only while it has the keyboard focus: a
// notch that merely passes over it must not change a unit by up to 10^12
// unnoticed.
class UnitList : public QComboBox {
    Q_OBJECT
public:
    explicit UnitList(QWidget *parent);

    // The item whose label equals the text becomes current, or none.
    void followText();

protected:
    void wheelEvent(QWheelEvent *event) override;
};
