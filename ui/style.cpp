#include "ui/style.h"

#include <QLabel>
#include <QPalette>

namespace dielektra::style {

namespace {

// Liberation Sans (Debian fonts-liberation2) has the metrics the layout was
// drawn for; squeezed by 1 % the longest banner fits its 533 px.
QFont pinnedFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setStretch(99);
    font.setBold(bold);
    return font;
}

} // namespace

QFont regularFont()
{
    return pinnedFont(11, false);
}
QFont boldFont()
{
    return pinnedFont(13, true);
}
QFont smallBoldFont()
{
    return pinnedFont(11, true);
}

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
