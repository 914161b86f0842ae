#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace dielektra {

// The face, size and stretch of the window's fonts. The layout is fixed in
// pixels at 96 dpi; the fonts are fixed in pixels too, or the texts would
// outgrow their controls on a screen with another dpi.
struct FontFit {
    QString family;
    int smaller = 0;   // pixels taken off every size
    int stretch = 100; // per cent of the face's own width

    QFont regular() const;   // the window's font, 11 px (8.25 pt at 96 dpi)
    QFont bold() const;      // formula panels and the About title, 13 px bold (9.75 pt)
    QFont smallBold() const; // the web address, 11 px bold
};

// The design's face where the system has it, else a face without serifs;
// narrowed just enough that each of texts fits the width at the regular size,
// but neither so narrow that the letters touch nor so that the controls'
// texts (controlTexts) come out grey. A face that cannot fit so is taken a
// pixel or two smaller, or the next face is.
FontFit fitFonts(const QStringList &texts, int width, const QStringList &controlTexts);

} // namespace dielektra
