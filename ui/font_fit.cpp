#include "ui/font_fit.h"

#include "platform/platform.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace dielektra {

namespace {

// The least share of its own width that a text keeps when squeezed. Windows
// narrows a face in whole pixels of its average character width, so at 11 px
// a stretch of 99 % draws 87 % to 94 % of the width, and the next step is
// near 80 % (Tahoma: 94 %, then 79 %, where its letters touch).
constexpr int minimumKept = 80;

// The darkest pixel that every text of a field, unit list or button must
// have, black on white, of 255: strokes of a whole pixel reach 0. Under Wine,
// the faces it draws smoothed (C059, Nimbus Sans, DejaVu Sans Condensed) went
// grey, 79 to 105, once squeezed to 63 % to 71 % (C059) or at 10 px; a "V" in
// DejaVu Sans narrowed by a pixel, 105. A picture is drawn smoothed in grey
// alone, never in ClearType's colours: it measures how much of each pixel
// the strokes cover.
constexpr int darkestAllowed = 40;

// Faces measured at most, beyond the first that keeps enough of the width:
// each costs a font of its own at three sizes.
constexpr int facesToTry = 12;

// A face at a size and stretch, and the share of the texts' own width that
// they keep there, in per cent.
struct Candidate {
    FontFit fit;
    int kept = 100;
};

QFont fontOf(const FontFit &chosen, int pixelSize, bool bold)
{
    QFont font(chosen.family);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize - chosen.smaller);
    font.setStretch(chosen.stretch);
    font.setBold(bold);
    return font;
}

// The face alone, with no other face filling in for what it lacks.
QFont faceAlone(const QString &family, int pixelSize)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

// The regular size in the face alone, unnarrowed, with no other face filling
// in for what it lacks: what a face is judged in, and what its texts' own
// width is measured in.
QFont unnarrowed(const QString &family, int smaller)
{
    QFont font = fontOf({family, smaller, 100}, 11, false);
    font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::NoFontMerging));
    return font;
}

// A scalable face of the system, upright and not light (whose thin strokes
// are drawn grey), that has every letter of Czech.
bool usable(const QString &family)
{
    // Looked up in Qt's list of the system's faces, where a face that the
    // system does not have is not scalable either.
    if (family.isEmpty() || !QFontDatabase::isSmoothlyScalable(family))
        return false;
    const QFont font = unnarrowed(family, 0);
    const QFontInfo face(font);
    if (face.weight() <= QFont::Light || face.italic())
        return false;
    const QFontMetrics metrics(font);
    const QString czech = QStringLiteral("áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ");
    return std::all_of(czech.begin(), czech.end(),
                       [&](QChar letter) { return metrics.inFont(letter); });
}

// Whether a face has serifs, told from its "H" drawn 64 px high. Qt knows no
// face's class (a style hint is only a wish), and lists of names know only
// the faces their authors knew; the glyph shows it in any face. At both ends
// of a serif face's stem the serifs reach out on either side, well over half
// as wide again as the stem; a sans-serif stem keeps its width to its ends.
bool hasSerifs(const QString &family)
{
    QImage image(128, 128, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(faceAlone(family, 64));
        painter.setPen(Qt::black);
        painter.drawText(32, 100, QStringLiteral("H"));
    }
    // Row by row, from the top of the letter down, the width of its first
    // dark run: the left stem, and across the bar, the bar.
    std::vector<int> stem;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        const auto *end = row + image.width();
        const auto dark = [](QRgb pixel) { return qGray(pixel) < 128; };
        const auto *first = std::find_if(row, end, dark);
        const auto width = static_cast<int>(std::find_if_not(first, end, dark) - first);
        if (width > 0)
            stem.push_back(width);
    }
    if (stem.size() < 20)
        return false; // no letter to judge
    const auto tenth = static_cast<std::ptrdiff_t>(stem.size() / 10);
    const int middle = stem[stem.size() / 4]; // between the top and the bar
    const int top = *std::max_element(stem.begin(), stem.begin() + tenth);
    const int bottom = *std::max_element(stem.end() - tenth, stem.end());
    return 2 * std::min(top, bottom) > 3 * middle;
}

// Whether each text, drawn black on white in the font, has a pixel no
// lighter than darkestAllowed: one text a band of rows.
bool drawsDark(const QFont &font, const QStringList &texts)
{
    const QFontMetrics metrics(font);
    const int band = metrics.height() + 2;
    // Room for the longest text at the widest character and a pixel more
    // each, rather than each text laid out once more to measure it.
    qsizetype longest = 1;
    for (const QString &text : texts)
        longest = std::max(longest, text.size());
    const auto width = static_cast<int>(longest) * (metrics.maxWidth() + 1) + 4;
    QImage image(width, band * static_cast<int>(texts.size()), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        for (int i = 0; i < texts.size(); ++i)
            painter.drawText(2, i * band + 1 + metrics.ascent(), texts[i]);
    }
    // A text's band is looked at until one pixel is dark enough.
    std::vector<int> darkest(static_cast<std::size_t>(texts.size()), 255);
    const auto darkEnough = [](int grey) { return grey <= darkestAllowed; };
    for (int y = 0; y < image.height(); ++y) {
        int &text = darkest[static_cast<std::size_t>(y / band)];
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (const QRgb *pixel = row; pixel != row + width && !darkEnough(text); ++pixel)
            text = std::min(text, qGray(*pixel));
    }
    return std::all_of(darkest.begin(), darkest.end(), darkEnough);
}

// Calls take with each usable face, the most wanted first, until it returns
// true: the faces the layout was drawn for, then the system's own face for
// its interface, then any other sans-serif face (proportional ones first).
void forEachFace(const std::function<bool(const QString &)> &take)
{
    const QStringList designed = platform::fontFaces();
    for (const QString &family : designed)
        if (usable(family) && take(family))
            return;
    const QString system =
        QFontInfo(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).family();
    if (!designed.contains(system) && usable(system) && !hasSerifs(system) && take(system))
        return;
    // Each face asked about costs a query of the system (under Wine, some
    // milliseconds): the list does not ask them all in advance.
    const QStringList others = QFontDatabase::families();
    for (const bool fixedPitch : {false, true})
        for (const QString &family : others)
            if (QFontDatabase::isFixedPitch(family) == fixedPitch && family != system &&
                !designed.contains(family) && usable(family) && !hasSerifs(family) && take(family))
                return;
}

// The widest stretch, from 50 % up to 100 %, at which each text fits the
// width, and the share of their width that the texts keep there.
Candidate widestFitting(const QString &family, int smaller, const QStringList &texts, int width)
{
    // Each stretch measured costs a font of its own, several milliseconds on
    // Windows: none is measured twice.
    std::map<int, int> measured;
    const auto widest = [&](int percent) {
        const auto [at, added] = measured.try_emplace(percent, 0);
        if (added) {
            const QFontMetrics metrics(percent == 100
                                           ? unnarrowed(family, smaller)
                                           : fontOf({family, smaller, percent}, 11, false));
            for (const QString &text : texts)
                at->second = std::max(at->second, metrics.horizontalAdvance(text));
        }
        return at->second;
    };
    const int full = std::max(1, widest(100));
    const auto fit = [&](int stretch) {
        return Candidate{{family, smaller, stretch}, 100 * widest(stretch) / full};
    };
    // Widths scale with the stretch only roughly (glyphs snap to whole
    // pixels), so the estimate is checked, and if need be the widest stretch
    // from 50 up to it that fits is searched by halves.
    const int estimate = std::min(100, 100 * width / full);
    if (estimate <= 50 || widest(estimate) <= width)
        return fit(std::max(estimate, 50));
    int fits = 50;
    int fails = estimate; // widest(fails) > width
    while (fails - fits > 1) {
        const int middle = (fits + fails) / 2;
        (widest(middle) <= width ? fits : fails) = middle;
    }
    return fit(fits);
}

} // namespace

FontFit fitFonts(const QStringList &texts, int width, const QStringList &controlTexts)
{
    // The widest text decides; the same text twice is measured once.
    QStringList distinct = texts;
    distinct.removeDuplicates();
    // A face squeezed too far, or drawn grey, reads worse than the same face a
    // pixel or two smaller, or than the next face. Where none is both, the
    // first that keeps enough of the width; where none does, the least
    // squeezed. Where the system has no usable face at all, the design's
    // face as it fits in Liberation Sans: squeezed by 1 %, the longest banner
    // fits its 533 px.
    std::optional<Candidate> keeps;
    std::optional<Candidate> best;
    int tried = 0;
    forEachFace([&](const QString &family) {
        for (const int smaller : {0, 1, 2}) {
            const Candidate candidate = widestFitting(family, smaller, distinct, width);
            if (!best || candidate.kept > best->kept)
                best = candidate;
            if (candidate.kept < minimumKept)
                continue;
            if (!keeps)
                keeps = candidate;
            if (drawsDark(fontOf(candidate.fit, 11, false), controlTexts)) {
                keeps = candidate;
                return true;
            }
        }
        return keeps && ++tried >= facesToTry;
    });
    if (keeps)
        return keeps->fit;
    if (best)
        return best->fit;
    return {platform::fontFaces().value(0), 0, 99};
}

QFont FontFit::regular() const
{
    return fontOf(*this, 11, false);
}

QFont FontFit::bold() const
{
    return fontOf(*this, 13, true);
}

QFont FontFit::smallBold() const
{
    return fontOf(*this, 11, true);
}

} // namespace dielektra
