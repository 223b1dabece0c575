// SPDX-License-Identifier: GPL-3.0-or-later
// The skin engine's frame slicing and 9-slice drawing, pixel by pixel on plain images.
#include "skins/engine/SkinTheme.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

// Each source pixel tells where it came from: red the frame, green x within the frame, blue y.
QImage coded(int frameWidth, int height, int frames) {
    QImage img(frameWidth * frames, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb(x / frameWidth * 40 + 10, x % frameWidth * 10, y * 10));
    return img;
}

constexpr QRgb kBackground = 0xFF123456;

QImage canvas(QSize size) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(kBackground);
    return img;
}

QImage drawn(const QImage &src, int frames, int index, QSize size, const QMargins &edges, bool tile,
             bool centre = true) {
    QImage out = canvas(size);
    QPainter p(&out);
    drawNineSlice(&p, QRect(QPoint(), size), src, frames, index, edges, tile, centre);
    return out;
}

// The source coordinate a tiled target coordinate shows: the fixed ends copied, the middle repeated.
int tiledSource(int d, int targetLen, int srcLen, int head, int tail) {
    if (d < head)
        return d;
    if (d >= targetLen - tail)
        return srcLen - (targetLen - d);
    return head + (d - head) % (srcLen - head - tail);
}

} // namespace

TEST(SkinTheme, FrameRectSplitsTheImageAndClampsTheIndex) {
    QImage img = coded(5, 7, 3);
    img = img.copy(0, 0, 16, 7); // a width that is no multiple of the frame count: the rest is unused
    EXPECT_EQ(frameRect(img, 3, 0), QRect(0, 0, 5, 7));
    EXPECT_EQ(frameRect(img, 3, 2), QRect(10, 0, 5, 7));
    EXPECT_EQ(frameRect(img, 3, 3), QRect(10, 0, 5, 7));
    EXPECT_EQ(frameRect(img, 3, -1), QRect(0, 0, 5, 7));
    EXPECT_EQ(frameRect(img, 0, 1), QRect(0, 0, 16, 7)); // no frame count: the whole image
}

// Edges and corners keep their size and pixels, the middle repeats from its first column and row, and only
// the chosen frame is read.
TEST(SkinTheme, TiledNineSliceCopiesEdgesAndRepeatsTheMiddle) {
    const QImage src = coded(7, 6, 3); // frame 7 x 6: edges 2 left, 2 right, 1 top, 2 bottom
    const QSize size(19, 14);          // middles 15 and 11 long: the last tiles are cut
    const QImage out = drawn(src, 3, 1, size, QMargins(2, 1, 2, 2), true);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            QPoint s(7 + tiledSource(x, size.width(), 7, 2, 2), tiledSource(y, size.height(), 6, 1, 2));
            ASSERT_EQ(out.pixel(x, y), src.pixel(s)) << x << "," << y;
        }
}

TEST(SkinTheme, StretchedNineSliceKeepsEdgeBoundariesAndCanLeaveTheCentre) {
    const QImage src = coded(6, 6, 1);
    const QSize size(30, 20);
    const QImage out = drawn(src, 1, 0, size, QMargins(2, 2, 2, 2), false, false);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            int sx = x < 2 ? x : x >= 28 ? x - 24 : -1, sy = y < 2 ? y : y >= 18 ? y - 14 : -1;
            QRgb got = out.pixel(x, y);
            if (sx >= 0 && sy >= 0)
                ASSERT_EQ(got, src.pixel(sx, sy)) << x << "," << y; // corners copied
            else if (sx < 0 && sy < 0)
                ASSERT_EQ(got, kBackground) << x << "," << y; // centre left alone
            else if (sx >= 0)
                ASSERT_EQ(qGreen(got), qGreen(src.pixel(sx, 2))) << x << "," << y; // left/right edge column
            else
                ASSERT_EQ(qBlue(got), qBlue(src.pixel(2, sy))) << x << "," << y; // top/bottom edge row
        }
}

// A target narrower than both edges shares its width between them in their proportion; edges wider than
// the frame are cut to it.
TEST(SkinTheme, EdgesShrinkEvenlyInSmallTargets) {
    const QImage src = coded(8, 4, 1);
    QImage out = drawn(src, 1, 0, QSize(5, 4), QMargins(2, 0, 4, 0), false);
    EXPECT_LT(qGreen(out.pixel(0, 0)), 2 * 10); // left edge: one column (5 * 2 / 6), from its own two
    for (int x = 1; x < 5; ++x)
        EXPECT_EQ(out.pixel(x, 0), src.pixel(x + 3, 0)) << x; // right edge: the other four, unscaled

    const QImage two = coded(8, 4, 2);
    out = drawn(two, 2, 0, QSize(20, 4), QMargins(12, 0, 5, 0), false);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(out.pixel(x, 1), two.pixel(x, 1)) << x; // the left edge is the whole frame
    for (int x = 8; x < 20; ++x)
        EXPECT_NE(qRed(out.pixel(x, 1)), qRed(two.pixel(8, 1))) << x; // and nothing of the next frame
}

TEST(SkinTheme, HorizontalFrameSideUsesItsLengthsLeftAndRight) {
    SkinFrameSide side;
    side.image.image = side.image.masked = coded(6, 3, 2);
    side.frames = 2;
    side.topHeight = 1;
    side.botHeight = 2;
    side.stretch = 0; // tiled
    side.trans = 0;
    QImage out = canvas(QSize(11, 3));
    {
        QPainter p(&out);
        drawFrameSide(&p, out.rect(), side, 1, false);
    }
    for (int x = 0; x < 11; ++x)
        ASSERT_EQ(out.pixel(x, 2), side.image.image.pixel(6 + tiledSource(x, 11, 6, 1, 2), 2)) << x;
}

TEST(SkinTheme, AScaledPainterTakesTheDoubleSizeBitmap) {
    SkinFrameSide side;
    side.image.image = side.image.masked = coded(6, 3, 2);
    // Twice the size, each pixel told apart by its place in its 2x2 block.
    QImage big = side.image.image.scaled(24, 6);
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x)
            big.setPixel(x, y, (big.pixel(x, y) & 0xFFFFFF00) | (200 + x % 2 * 10 + y % 2 * 20));
    side.image.image2x = side.image.masked2x = big;
    side.frames = 2;
    side.topHeight = 1;
    side.botHeight = 2;
    side.stretch = 0;
    side.trans = 0;
    for (qreal ratio : {1.0, 2.0}) {
        QImage out = canvas(QSize(22, 6) * ratio / 2);
        out.setDevicePixelRatio(ratio);
        {
            QPainter p(&out);
            drawFrameSide(&p, QRect(0, 0, 11, 3), side, 1, false);
        }
        for (int x = 0; x < out.width(); ++x) {
            int from = 6 + tiledSource(int(x / ratio), 11, 6, 1, 2);
            QRgb want = ratio > 1 ? big.pixel(2 * from + x % 2, 5) : side.image.image.pixel(from, 2);
            ASSERT_EQ(out.pixel(x, out.height() - 1), want) << ratio << " " << x;
        }
    }
}

TEST(SkinTheme, FrameMarginsAreTheSideWidthsAndTheBarHeights) {
    ParsedSkin skin;
    skin.personality.left.image.image = coded(4, 10, 2);
    skin.personality.left.frames = 2;
    skin.personality.right.image.image = coded(3, 10, 1);
    skin.personality.top.image.image = coded(20, 25, 1);
    EXPECT_EQ(SkinTheme(skin).frameMargins(), QMargins(4, 25, 3, 0)); // no bottom image: no bottom side
}
