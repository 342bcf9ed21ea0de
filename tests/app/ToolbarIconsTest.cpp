// The main toolbar's pictures: magenta transparent, and drawn at twice their size for a screen of
// device pixel ratio 2 with every pixel a 2 x 2 block, not smoothed.
#include "app/CKorvaneView.h"
#include "app/ResourceImages.h"

#include <QImage>

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(ToolbarIconsTest, EachPictureIsTheStripCellAtItsSizeAndDoubledPixelForPixel) {
    const QImage strip =
        QImage(BitmapResourcePath(kToolbarBitmapFull)).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(strip.isNull());
    const QList<QIcon> icons = LoadToolbarIcons(kToolbarBitmapFull);
    ASSERT_EQ(icons.size(), strip.width() / 32);
    int transparent = 0;
    for (int n = 0; n < icons.size(); ++n) {
        const QPixmap normal = icons[n].pixmap(QSize(32, 32), 1.0);
        const QPixmap sharp = icons[n].pixmap(QSize(32, 32), 2.0);
        ASSERT_EQ(normal.size(), QSize(32, 32)) << n;
        ASSERT_EQ(sharp.size(), QSize(64, 64)) << n;
        const QImage one = normal.toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage two = sharp.toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                const QRgb source = strip.pixel(n * 32 + x / 2, y / 2);
                const bool magenta =
                    qRed(source) == 255 && qGreen(source) == 0 && qBlue(source) == 255;
                ASSERT_EQ(two.pixel(x, y), one.pixel(x / 2, y / 2)) << n << ": " << x << "," << y;
                if (magenta) {
                    ASSERT_EQ(qAlpha(two.pixel(x, y)), 0) << n << ": " << x << "," << y;
                    ++transparent;
                } else {
                    ASSERT_EQ(two.pixel(x, y), source | 0xFF000000u) << n << ": " << x << "," << y;
                }
            }
        }
    }
    EXPECT_GT(transparent, 0);
}

} // namespace
} // namespace korvane
