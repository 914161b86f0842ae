// Qt 6.4.2's Windows font engine cuts pieces off the glyphs that a face keeps
// as embedded bitmaps, as Wine 8 hands them over (Wine's Tahoma has them at 8
// to 16 px): at 9, 10 and 12 px, "K" lost its stem and "i" its dot, while
// Windows' own text calls drew the same bitmaps whole. Asked for smoothed
// text, Windows draws such a face from its outlines, which Qt draws whole.
// Only faces with embedded bitmaps (an EBLC table) are asked.
// To tell whether a later Qt still needs it: without this, look at the window
// in Wine's Tahoma at 10 px (under Wine with fonts-wine's Tahoma in the
// prefix, the face the window then takes): whole letters mean it can go.
#include "platform/platform.h"

#include <QFont>
#include <QRawFont>

namespace dielektra::platform {

void keepGlyphsWhole(QFont &font)
{
    if (!QRawFont::fromFont(font).fontTable("EBLC").isEmpty())
        font.setStyleStrategy(QFont::PreferAntialias);
}

} // namespace dielektra::platform
