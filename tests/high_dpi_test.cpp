#include "gui_support.h"

#include <QLabel>
#include <QTabWidget>

namespace {

using HighDpi = WindowTest;

// At 200 % a title bar's 32 px icon needs 64 px, a task switcher's 64 px 128.
TEST_F(HighDpi, WindowIconHasEverySizeUpToTwiceTheLargestSlot)
{
    for (const int size : {16, 32, 48, 64, 128}) {
        const QPixmap pixmap = window.windowIcon().pixmap(QSize(size, size), 1.0);
        EXPECT_EQ(pixmap.size(), QSize(size, size)) << size;
    }
}

// Run with QT_SCALE_FACTOR=2 by ctest; at 100 % there is nothing to check.
TEST_F(HighDpi, BannerUsesTheDoubleSizeArtwork)
{
    if (window.devicePixelRatio() < 2.0)
        GTEST_SKIP() << "needs a 200 % screen";
    child<QTabWidget>("SSTab1")->setCurrentIndex(5);
    const QPixmap banner = child<QLabel>("Image1")->pixmap();
    EXPECT_EQ(banner.devicePixelRatio(), 2.0);
    EXPECT_EQ(banner.size(), QSize(1066, 202));
    EXPECT_EQ(child<QLabel>("Image1")->size(), QSize(533, 101));
}

} // namespace
