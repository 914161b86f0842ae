#include "gui_support.h"

#include <QLabel>

namespace {

using HighDpi = WindowTest;

// Only an SVG icon can be drawn at any size: the PNG fallback stops at 32 px.
TEST_F(HighDpi, WindowIconScalesFromItsSvg)
{
    EXPECT_EQ(window.windowIcon().actualSize(QSize(256, 256)), QSize(256, 256));
}

// Run with QT_SCALE_FACTOR=2 by ctest; at 100 % there is nothing to check.
TEST_F(HighDpi, BannerUsesTheDoubleSizeArtwork)
{
    if (window.devicePixelRatio() < 2.0)
        GTEST_SKIP() << "needs a 200 % screen";
    const QPixmap banner = child<QLabel>("Image1")->pixmap();
    EXPECT_EQ(banner.devicePixelRatio(), 2.0);
    EXPECT_EQ(banner.size(), QSize(1066, 202));
    EXPECT_EQ(child<QLabel>("Image1")->size(), QSize(533, 101));
}

} // namespace
