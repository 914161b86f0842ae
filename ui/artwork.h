#pragma once

#include <QPixmap>
#include <QString>

namespace dielektra {

// One of the program's own images, read as the format named. Left to guess,
// QImageReader loads every image plugin (the SVG one with all of QtSvg) only
// to ask each whether it reads that format, which costs a few milliseconds and
// a few hundred kilobytes at start-up.
QPixmap readArtwork(const QString &path, const char *format);

} // namespace dielektra
