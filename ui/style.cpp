#include "ui/style.h"

#include "ui/platform.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPalette>
#include <QStringList>

#include <algorithm>

namespace dielektra::style {

namespace {

// In Liberation Sans, squeezed by 1 %, the longest banner fits its 533 px;
// fitTexts narrows whatever face stands in for it.
int stretch = 99;

QFont pinnedFont(int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies(platform::fontFaces());
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setStretch(stretch);
    font.setBold(bold);
    return font;
}

} // namespace

void fitTexts(const QStringList &texts, int width)
{
    QFont font = pinnedFont(11, false);
    const auto widest = [&](int percent) {
        font.setStretch(percent);
        const QFontMetrics metrics(font);
        int needs = 0;
        for (const QString &text : texts)
            needs = std::max(needs, metrics.horizontalAdvance(text));
        return needs;
    };
    // Widths scale with the stretch only roughly (glyphs snap to whole
    // pixels), so the estimate is checked, and if need be the widest stretch
    // from 50 up to it that fits is searched by halves: each stretch measured
    // costs a font of its own, several milliseconds on Windows.
    const int estimate = std::min(99, 100 * width / widest(100));
    if (estimate <= 50 || widest(estimate) <= width) {
        stretch = std::max(estimate, 50);
        return;
    }
    int fits = 50;
    int fails = estimate; // widest(fails) > width
    while (fails - fits > 1) {
        const int middle = (fits + fails) / 2;
        (widest(middle) <= width ? fits : fails) = middle;
    }
    stretch = fits;
}

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
