#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

class QLabel;

class QWidget;

namespace dielektra::style {

// The layout is fixed in pixels at 96 dpi; the fonts are fixed in pixels too,
// or the texts would outgrow their controls on a screen with another dpi.
// Chooses the face, size and stretch of the fonts below, for windows built
// afterwards: the design's face where the system has it, else a face without
// serifs; narrowed just enough that each of texts fits the width at the
// regular size, but neither so narrow that the letters touch nor so that the
// controls' texts (controlTexts) come out grey. A face that cannot fit so is
// taken a pixel or two smaller, or the next face is.
void fitTexts(const QStringList &texts, int width, const QStringList &controlTexts);

QFont regularFont();   // the window's font, 11 px (8.25 pt at 96 dpi)
QFont boldFont();      // formula panels and the About title, 13 px bold (9.75 pt)
QFont smallBoldFont(); // the web address, 11 px bold

// White text on dark grey (64, 64, 64), opaque and centred.
void makeBanner(QLabel *label);
// White text drawn straight on whatever lies behind the label.
void makeTransparentWhite(QLabel *label);

} // namespace dielektra::style
