#pragma once

#include <QtGlobal>

#include <optional>
#include <utility>

class QTextLayout;
class QTextLine;

// Qt 6.4 and 6.8 (measured on Debian 12 and 13) give a glyph run that splits
// a ligature in right-to-left text (QTextLine::glyphRuns for part of the
// characters that one glyph draws, as the lam and alef of "سلام") a box
// beside the characters' share of the glyph: "ل" is boxed over the "س" before
// it, and in "abc لا 12" beside the whole ligature. Left-to-right runs ("fi")
// get their share. Here the share is taken from where the glyph itself is
// drawn, only for such runs, and not where the switch leaves it out
// (platform/workarounds.h). The test qt_fault_split_ligature (ctest -L
// qt-faults) asks a program without it for the box of "ل" in "سلام" (DejaVu
// Sans), and fails where the running Qt no longer boxes it over the "س": then
// this can go.
namespace dielektra::atspi {

// Characters of a line that one glyph draws, from start to end, and the
// glyph's left and right edge.
struct Ligature {
    int start = 0, end = 0;
    qreal left = 0, right = 0;
};

// Whether Qt's box of a glyph run is wrong: it splits a ligature right to left.
bool misplacesSplitLigature(int runFlags);

// The ligature that draws the character from place, where its glyph draws
// others too.
std::optional<Ligature> ligatureAt(const QTextLayout &layout, const QTextLine &line, int place);

// Where the characters from start to end of a right-to-left ligature are
// drawn: an even share of its glyph for each, the first at its right, from
// the left edge to the right.
std::pair<qreal, qreal> share(const QTextLayout &layout, const Ligature &ligature, int start,
                              int end);

} // namespace dielektra::atspi
