#pragma once

#include <QComboBox>

// An editable list of unit labels whose text reaches the calculation exactly
// as picked or typed. The mouse wheel turns it only while it has the keyboard
// focus: a notch that merely passes over it must not change a unit by up to
// 10^12 unnoticed.
class UnitList : public QComboBox {
    Q_OBJECT
public:
    explicit UnitList(QWidget *parent);

protected:
    void wheelEvent(QWheelEvent *event) override;
};
