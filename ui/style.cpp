#include "ui/style.h"

#include <QLabel>
#include <QPalette>

namespace dielektra::style {

void makeBanner(QLabel *label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, QColor(64, 64, 64));
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
    label->setAlignment(Qt::AlignCenter);
}

void makeTransparentWhite(QLabel *label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    label->setAutoFillBackground(false);
}

} // namespace dielektra::style
