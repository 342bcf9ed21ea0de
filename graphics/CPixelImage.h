#pragma once

// A small picture stored in the screen's own pixel format (2, 3 or 4 bytes per pixel), painted
// pixel by pixel by the editors' controls and handed to the toolkit as an image: tool-button
// images, the tile editor's pixel grid, the colour lists. Colours are GDI colour values (red in
// bits 0-7, green 8-15, blue 16-23).

#include <QImage>

#include <cstdint>
#include <vector>

namespace korvane {

class CPixelImage {
public:
    CPixelImage() = default;

    // The screen depth in bits per pixel that every image takes its bytes per pixel from when
    // it (re)allocates its buffer. The application sets it from the display context at
    // start-up; it is 32 until then.
    static void SetScreenDepth(int bitsPerPixel);
    static int ScreenDepth();

    // Allocates a zero-filled buffer for the size rounded up to multiples of 4 (5 becomes 8)
    // and returns the new pixel count. Negative sizes count as 0.
    int SetSize(int width, int height);
    // Takes the other image's size and pixels (converted when it was made at another depth).
    void CopyFrom(const CPixelImage& other);
    // Builds the image the toolkit draws from the buffer, holds it and returns it.
    const QImage& CreatePlatformBitmap();
    const QImage& platformBitmap() const { return bitmap_; }

    // Writes one pixel; writes outside the image are ignored.
    void SetPixel(std::uint32_t colour, int x, int y);
    // Reads one pixel back: the value written at 3 and 4 bytes per pixel, the nearest 5-6-5
    // colour at 2; 0xFFFFFFFF at other depths or outside the image.
    std::uint32_t GetPixel(int x, int y) const;
    // A frame of the given thickness along the inside of (left, top)-(right, bottom), right and
    // bottom exclusive, clipped to the image.
    void DrawFrame(int left, int top, int right, int bottom, std::uint32_t colour, int thickness);
    // Sets every pixel that holds from (as stored at this depth) to to.
    void ReplaceColour(std::uint32_t from, std::uint32_t to);
    void Fill(std::uint32_t colour);
    // Loads ":/korvane/bitmaps/<id>.png" from the program's resources at its own size. Returns
    // false and changes nothing when there is no such image.
    bool LoadFromResource(int resourceId);

    int width() const { return width_; }
    int height() const { return height_; }
    int bytesPerPixel() const { return bytesPerPixel_; }
    const std::vector<std::uint8_t>& pixels() const { return pixels_; }

private:
    void Allocate(int width, int height);
    std::uint32_t Encode(std::uint32_t colour) const; // the stored form of a GDI colour
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    std::uint8_t* At(int x, int y);
    const std::uint8_t* At(int x, int y) const;

    QImage bitmap_;
    std::vector<std::uint8_t> pixels_;
    int width_ = 0;
    int height_ = 0;
    int bytesPerPixel_ = 3;
};

} // namespace korvane
