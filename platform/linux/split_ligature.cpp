#include "platform/linux/split_ligature.h"

#include "platform/workarounds.h"

#include <QGlyphRun>
#include <QTextLayout>

#include <algorithm>
#include <vector>

namespace {

// A glyph as drawn: its font, its index there, and its left and right edge.
struct Glyph {
    QRawFont font;
    quint32 index = 0;
    qreal left = 0, right = 0;

    bool operator==(const Glyph &other) const
    {
        return index == other.index && qFuzzyCompare(left + 1, other.left + 1) &&
               font == other.font;
    }
};

// The glyphs of the runs that split a ligature right to left, among those
// that draw the characters from start to end.
std::vector<Glyph> splitGlyphs(const QTextLine &line, int start, int end)
{
    std::vector<Glyph> glyphs;
    for (const QGlyphRun &run : line.glyphRuns(start, end - start)) {
        if (!dielektra::atspi::misplacesSplitLigature(int(run.flags())))
            continue;
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> advances = run.rawFont().advancesForGlyphIndexes(indexes);
        for (qsizetype i = 0; i < indexes.size(); ++i) {
            const qreal left = run.positions().at(i).x();
            glyphs.push_back({run.rawFont(), indexes.at(i), left, left + advances.at(i).x()});
        }
    }
    return glyphs;
}

int next(const QTextLayout &layout, int place)
{
    return layout.nextCursorPosition(place, QTextLayout::SkipCharacters);
}

int previous(const QTextLayout &layout, int place)
{
    return layout.previousCursorPosition(place, QTextLayout::SkipCharacters);
}

} // namespace

bool dielektra::atspi::misplacesSplitLigature(int runFlags)
{
    static const bool on = dielektra::platform::workaroundOn("split_ligature");
    const int both = QGlyphRun::SplitLigature | QGlyphRun::RightToLeft;
    return on && (runFlags & both) == both;
}

std::optional<dielektra::atspi::Ligature>
dielektra::atspi::ligatureAt(const QTextLayout &layout, const QTextLine &line, int place)
{
    const std::vector<Glyph> own = splitGlyphs(line, place, next(layout, place));
    // The glyph that the character shares with its neighbours on either side.
    std::optional<Glyph> shared;
    const auto shares = [&](int start, int end) {
        for (const Glyph &glyph : splitGlyphs(line, start, end))
            if (std::find(own.begin(), own.end(), glyph) != own.end()) {
                shared = glyph;
                return true;
            }
        return false;
    };
    if (own.empty())
        return std::nullopt;
    const int length = int(layout.text().size());
    Ligature ligature{place, next(layout, place)};
    while (ligature.start > 0 && shares(previous(layout, ligature.start), ligature.start))
        ligature.start = previous(layout, ligature.start);
    while (ligature.end < length && shares(ligature.end, next(layout, ligature.end)))
        ligature.end = next(layout, ligature.end);
    if (!shared)
        return std::nullopt;
    ligature.left = shared->left;
    ligature.right = shared->right;
    return ligature;
}

std::pair<qreal, qreal> dielektra::atspi::share(const QTextLayout &layout, const Ligature &ligature,
                                                int start, int end)
{
    int characters = 0;
    int before = 0; // characters before start
    int upTo = 0;   // characters before end
    for (int place = ligature.start; place < ligature.end; place = next(layout, place)) {
        before += place < start ? 1 : 0;
        upTo += place < end ? 1 : 0;
        ++characters;
    }
    const qreal width = (ligature.right - ligature.left) / characters;
    return {ligature.right - upTo * width, ligature.right - before * width};
}
