#include "graphics/CPixelImage.h"
#include "graphics/NesColours.h"

#include <gtest/gtest.h>

using namespace korvane;

namespace {

// Sets the process-wide screen depth for one test and puts it back afterwards.
class ScreenDepth {
public:
    explicit ScreenDepth(int bits) : saved_(CPixelImage::ScreenDepth()) {
        CPixelImage::SetScreenDepth(bits);
    }
    ~ScreenDepth() { CPixelImage::SetScreenDepth(saved_); }
    ScreenDepth(const ScreenDepth&) = delete;
    ScreenDepth& operator=(const ScreenDepth&) = delete;

private:
    int saved_;
};

// The nearest colour a 16-bit screen shows for a GDI colour value.
std::uint32_t Nearest565(std::uint32_t gdi) {
    const std::uint32_t r = gdi & 0xF8U;
    const std::uint32_t g = (gdi >> 8) & 0xFCU;
    const std::uint32_t b = (gdi >> 16) & 0xF8U;
    return (r | (r >> 5)) | ((g | (g >> 6)) << 8) | ((b | (b >> 5)) << 16);
}

int CountPixels(const CPixelImage& image, std::uint32_t colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.GetPixel(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

} // namespace

TEST(CPixelImageSize, RoundsUpToMultiplesOfFourAndZeroFills) {
    ScreenDepth depth(24);
    CPixelImage image;
    EXPECT_EQ(image.bytesPerPixel(), 3);
    EXPECT_EQ(image.SetSize(5, 3), 32);
    EXPECT_EQ(image.width(), 8);
    EXPECT_EQ(image.height(), 4);
    EXPECT_EQ(image.pixels().size(), 96U);
    EXPECT_EQ(CountPixels(image, 0), 32);
    EXPECT_EQ(image.SetSize(16, 16), 256);
    EXPECT_EQ(image.width(), 16);
    EXPECT_EQ(image.SetSize(0, 0), 0);
    EXPECT_EQ(image.SetSize(-3, 4), 0);
}

TEST(CPixelImageSize, BytesPerPixelFollowTheScreenDepth) {
    for (const int bits : {16, 24, 32, 8}) {
        ScreenDepth depth(bits);
        CPixelImage image;
        image.SetSize(4, 4);
        EXPECT_EQ(image.bytesPerPixel(), bits / 8);
        EXPECT_EQ(image.pixels().size(), static_cast<std::size_t>(16 * bits / 8));
    }
}

TEST(CPixelImagePixels, SixteenBitsReadBackTheNearestColour) {
    ScreenDepth depth(16);
    CPixelImage image;
    image.SetSize(4, 4);
    image.SetPixel(0x00FF80, 1, 2);
    EXPECT_EQ(image.GetPixel(1, 2), 0x00FF84U);
    // Stored little-endian as red 10000, green 111111, blue 00000.
    const std::size_t at = (4 * 2 + 1) * 2;
    EXPECT_EQ(image.pixels()[at], 0xE0);
    EXPECT_EQ(image.pixels()[at + 1], 0x87);
    EXPECT_EQ(image.GetPixel(0, 0), 0U);
}

TEST(CPixelImagePixels, EveryNesColourAtEveryDepth) {
    for (const int bits : {16, 24, 32}) {
        ScreenDepth depth(bits);
        CPixelImage image;
        image.SetSize(64, 4);
        for (int i = 0; i < 64; ++i) {
            image.SetPixel(NesToGdiColour(static_cast<std::uint8_t>(i)), i, 3);
        }
        for (int i = 0; i < 64; ++i) {
            const std::uint32_t gdi = NesToGdiColour(static_cast<std::uint8_t>(i));
            const std::uint32_t expected = bits == 16 ? Nearest565(gdi) : gdi;
            ASSERT_EQ(image.GetPixel(i, 3), expected) << "bits " << bits << " colour " << i;
            ASSERT_EQ(image.GetPixel(i, 2), 0U);
        }
    }
}

TEST(CPixelImagePixels, ThirtyTwoBitsKeepTheFourthByteAndAnyValue) {
    ScreenDepth depth(32);
    CPixelImage image;
    image.SetSize(4, 4);
    for (const std::uint32_t colour : {0x123456U, 0xFFFFFFU, 0x010203U}) {
        image.SetPixel(colour, 3, 3);
        EXPECT_EQ(image.GetPixel(3, 3), colour);
        EXPECT_EQ(image.pixels()[(4 * 3 + 3) * 4 + 3], 0);
    }
}

TEST(CPixelImagePixels, EightBitsIgnoreWritesAndOutsideReadsFail) {
    ScreenDepth depth(8);
    CPixelImage image;
    image.SetSize(4, 4);
    image.SetPixel(0xFFFFFF, 0, 0);
    EXPECT_EQ(image.GetPixel(0, 0), 0xFFFFFFFFU);
    EXPECT_EQ(image.pixels()[0], 0);

    ScreenDepth depth24(24);
    CPixelImage other;
    other.SetSize(4, 4);
    other.SetPixel(0xFFFFFF, 4, 0);  // outside: ignored
    other.SetPixel(0xFFFFFF, -1, 0); // outside: ignored
    EXPECT_EQ(other.GetPixel(4, 0), 0xFFFFFFFFU);
    EXPECT_EQ(CountPixels(other, 0), 16);
}

TEST(CPixelImageDrawing, ReplaceColourTouchesExactlyThatGrey) {
    ScreenDepth depth(24);
    CPixelImage image;
    image.SetSize(4, 4);
    image.SetPixel(0xC0C0C0, 0, 0);
    image.SetPixel(0xC0C0C1, 1, 0);
    image.SetPixel(0xC1C0C0, 2, 0);
    image.SetPixel(0xC0C0C0, 3, 3);
    image.ReplaceColour(0xC0C0C0, 0x00FF00);
    EXPECT_EQ(image.GetPixel(0, 0), 0x00FF00U);
    EXPECT_EQ(image.GetPixel(3, 3), 0x00FF00U);
    EXPECT_EQ(image.GetPixel(1, 0), 0xC0C0C1U);
    EXPECT_EQ(image.GetPixel(2, 0), 0xC1C0C0U);
    EXPECT_EQ(CountPixels(image, 0), 12);
}

TEST(CPixelImageDrawing, ReplaceColourAtSixteenBitsFindsTheWrittenGrey) {
    ScreenDepth depth(16);
    CPixelImage image;
    image.SetSize(4, 4);
    image.Fill(0xC0C0C0);
    image.SetPixel(0x808080, 2, 2);
    image.ReplaceColour(0xC0C0C0, 0xFFFFFF);
    EXPECT_EQ(CountPixels(image, 0xFFFFFF), 15);
    EXPECT_EQ(image.GetPixel(2, 2), Nearest565(0x808080));
}

TEST(CPixelImageDrawing, FrameInsideTheImage) {
    ScreenDepth depth(24);
    CPixelImage image;
    image.SetSize(8, 8);
    image.DrawFrame(2, 2, 6, 6, 0x0000FF, 1);
    EXPECT_EQ(CountPixels(image, 0x0000FF), 12);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool onBorder =
                x >= 2 && x <= 5 && y >= 2 && y <= 5 && (x == 2 || x == 5 || y == 2 || y == 5);
            ASSERT_EQ(image.GetPixel(x, y), onBorder ? 0x0000FFU : 0U) << x << "," << y;
        }
    }
}

TEST(CPixelImageDrawing, FrameHangingOverTheEdge) {
    ScreenDepth depth(32);
    CPixelImage image;
    image.SetSize(8, 8);
    image.DrawFrame(-2, -2, 3, 3, 0xFF0000, 1);
    // Only the right edge (x = 2) and bottom edge (y = 2) reach into the image.
    EXPECT_EQ(CountPixels(image, 0xFF0000), 5);
    for (int i = 0; i <= 2; ++i) {
        EXPECT_EQ(image.GetPixel(2, i), 0xFF0000U);
        EXPECT_EQ(image.GetPixel(i, 2), 0xFF0000U);
    }
    EXPECT_EQ(image.GetPixel(0, 0), 0U);
    EXPECT_EQ(image.GetPixel(1, 1), 0U);
}

TEST(CPixelImageDrawing, ThickFrameAndFarOffCoordinates) {
    ScreenDepth depth(24);
    CPixelImage image;
    image.SetSize(8, 8);
    image.DrawFrame(0, 0, 8, 8, 0x111111, 2);
    EXPECT_EQ(CountPixels(image, 0x111111), 64 - 16);
    EXPECT_EQ(image.GetPixel(3, 3), 0U);
    image.DrawFrame(-1000000, -1000000, 1000000, 1000000, 0x222222, 1);
    EXPECT_EQ(CountPixels(image, 0x222222), 0);
}

TEST(CPixelImageCopy, CopiesPixelsAndConvertsDepth) {
    ScreenDepth depth(24);
    CPixelImage source;
    source.SetSize(5, 5);
    source.SetPixel(0x123456, 7, 7);
    CPixelImage copy;
    copy.CopyFrom(source);
    EXPECT_EQ(copy.width(), 8);
    EXPECT_EQ(copy.GetPixel(7, 7), 0x123456U);

    ScreenDepth depth16(16);
    CPixelImage narrow;
    narrow.CopyFrom(source);
    EXPECT_EQ(narrow.bytesPerPixel(), 2);
    EXPECT_EQ(narrow.GetPixel(7, 7), Nearest565(0x123456));
}

TEST(CPixelImageResource, LoadsAtItsOwnSizeAndCopiesSafely) {
    ScreenDepth depth(24);
    CPixelImage image;
    ASSERT_TRUE(image.LoadFromResource(900));
    EXPECT_EQ(image.width(), 5);
    EXPECT_EQ(image.height(), 3);
    EXPECT_EQ(image.pixels().size(), 45U);
    EXPECT_EQ(image.GetPixel(1, 0), 0x0000FFU); // red
    EXPECT_EQ(image.GetPixel(3, 0), 0xFF0000U); // blue
    EXPECT_EQ(image.GetPixel(2, 1), 0x563412U);
    image.ReplaceColour(0xC0C0C0, 0xF0F0F0);
    EXPECT_EQ(CountPixels(image, 0xF0F0F0), 7);
    EXPECT_EQ(image.GetPixel(3, 2), 0xC1C1C1U);

    // A loaded image is not a multiple of 4 wide: a copy is enlarged and keeps the pixels.
    CPixelImage copy;
    copy.CopyFrom(image);
    EXPECT_EQ(copy.width(), 8);
    EXPECT_EQ(copy.height(), 4);
    EXPECT_EQ(copy.GetPixel(2, 1), 0x563412U);
    EXPECT_EQ(copy.GetPixel(4, 1), 0x808080U);
    EXPECT_EQ(copy.GetPixel(5, 1), 0U);
}

TEST(CPixelImageResource, MissingResourceChangesNothing) {
    ScreenDepth depth(24);
    CPixelImage image;
    image.SetSize(4, 4);
    image.SetPixel(0x0A0B0C, 1, 1);
    EXPECT_FALSE(image.LoadFromResource(12345));
    EXPECT_EQ(image.width(), 4);
    EXPECT_EQ(image.GetPixel(1, 1), 0x0A0B0CU);
}

TEST(CPixelImageBitmap, PlatformImageShowsTheBufferAtEveryDepth) {
    for (const int bits : {16, 24, 32}) {
        ScreenDepth depth(bits);
        CPixelImage image;
        image.SetSize(4, 4);
        image.Fill(0xFE00FE);
        image.SetPixel(0x00FF00, 2, 1);
        const QImage& bitmap = image.CreatePlatformBitmap();
        ASSERT_EQ(bitmap.width(), 4);
        ASSERT_EQ(bitmap.depth(), bits);
        EXPECT_EQ(bitmap.pixel(2, 1), 0xFF00FF00U) << bits;
        const QRgb magenta = bitmap.pixel(0, 3);
        EXPECT_EQ(qRed(magenta), bits == 16 ? 0xFF : 0xFE) << bits;
        EXPECT_EQ(qGreen(magenta), 0);
        EXPECT_EQ(&bitmap, &image.platformBitmap());
    }
}
