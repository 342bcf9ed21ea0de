#include "CPixelImage.h"

#include "DisplayLayer.h"
#include "NesColours.h"

#include <QString>

#include <algorithm>
#include <cstring>

namespace korvane {

namespace {

int screenDepthBits = 32;

int RoundUpTo4(int n) {
    return n <= 0 ? 0 : (n + 3) / 4 * 4;
}

} // namespace

void CPixelImage::SetScreenDepth(int bitsPerPixel) {
    screenDepthBits = bitsPerPixel;
}

int CPixelImage::ScreenDepth() {
    return screenDepthBits;
}

void CPixelImage::Allocate(int width, int height) {
    bytesPerPixel_ = std::max(screenDepthBits / 8, 0);
    width_ = width;
    height_ = height;
    pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                       static_cast<std::size_t>(bytesPerPixel_),
                   0);
}

int CPixelImage::SetSize(int width, int height) {
    Allocate(RoundUpTo4(width), RoundUpTo4(height));
    return width_ * height_;
}

std::uint8_t* CPixelImage::At(int x, int y) {
    return pixels_.data() + (static_cast<std::size_t>(width_) * static_cast<std::size_t>(y) +
                             static_cast<std::size_t>(x)) *
                                static_cast<std::size_t>(bytesPerPixel_);
}

const std::uint8_t* CPixelImage::At(int x, int y) const {
    return const_cast<CPixelImage*>(this)->At(x, y);
}

void CPixelImage::CopyFrom(const CPixelImage& other) {
    if (&other == this) {
        return;
    }
    SetSize(other.width_, other.height_);
    if (other.bytesPerPixel_ == bytesPerPixel_ && other.width_ == width_ &&
        other.height_ == height_) {
        pixels_ = other.pixels_;
        return;
    }
    // A loaded image keeps its own size, and an image may come from another depth: copy
    // pixel by pixel so that nothing is read outside the other buffer.
    for (int y = 0; y < other.height_; ++y) {
        for (int x = 0; x < other.width_; ++x) {
            const std::uint32_t colour = other.GetPixel(x, y);
            if (colour != 0xFFFFFFFFU) {
                SetPixel(colour, x, y);
            }
        }
    }
}

const QImage& CPixelImage::CreatePlatformBitmap() {
    const QImage::Format format = DisplayContext::ScreenImageFormat(bytesPerPixel_ * 8);
    QImage image(width_, height_, format);
    if (!image.isNull()) {
        const int storedBpp = (bytesPerPixel_ >= 2 && bytesPerPixel_ <= 4) ? bytesPerPixel_ : 1;
        const auto rowBytes = static_cast<std::size_t>(width_ * storedBpp);
        for (int y = 0; y < height_; ++y) {
            std::uint8_t* out = image.scanLine(y);
            if (storedBpp == bytesPerPixel_) {
                std::memcpy(out, At(0, y), rowBytes);
            } else {
                std::memset(out, 0, rowBytes); // one byte per pixel: a black picture
            }
            if (bytesPerPixel_ == 4) {
                for (int x = 0; x < width_; ++x) {
                    out[x * 4 + 3] = 0xFF;
                }
            }
        }
    }
    bitmap_ = image;
    return bitmap_;
}

std::uint32_t CPixelImage::Encode(std::uint32_t colour) const {
    const std::uint32_t surfaceColour = GdiToSurfaceColour(colour);
    return bytesPerPixel_ == 2 ? std::uint32_t{SurfaceColourTo565(surfaceColour)} : surfaceColour;
}

void CPixelImage::SetPixel(std::uint32_t colour, int x, int y) {
    if (!Inside(x, y)) {
        return;
    }
    std::uint8_t* p = At(x, y);
    const std::uint32_t stored = Encode(colour);
    switch (bytesPerPixel_) {
    case 4:
    case 3:
        p[0] = static_cast<std::uint8_t>(stored);
        p[1] = static_cast<std::uint8_t>(stored >> 8);
        p[2] = static_cast<std::uint8_t>(stored >> 16);
        break;
    case 2:
        p[0] = static_cast<std::uint8_t>(stored);
        p[1] = static_cast<std::uint8_t>(stored >> 8);
        break;
    default:
        break;
    }
}

std::uint32_t CPixelImage::GetPixel(int x, int y) const {
    if (!Inside(x, y)) {
        return 0xFFFFFFFFU;
    }
    const std::uint8_t* p = At(x, y);
    switch (bytesPerPixel_) {
    case 4:
    case 3:
        return (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
    case 2:
        return SurfaceToGdiColour(
            Widen565(static_cast<std::uint16_t>(p[0] | (static_cast<unsigned>(p[1]) << 8))));
    default:
        return 0xFFFFFFFFU;
    }
}

void CPixelImage::DrawFrame(int left, int top, int right, int bottom, std::uint32_t colour,
                            int thickness) {
    const int firstY = std::max(top, 0);
    const int endY = std::min(bottom, height_);
    const int firstX = std::max(left, 0);
    const int endX = std::min(right, width_);
    for (int y = firstY; y < endY; ++y) {
        const bool horizontalEdge = y < top + thickness || y >= bottom - thickness;
        for (int x = firstX; x < endX; ++x) {
            if (horizontalEdge || x < left + thickness || x >= right - thickness) {
                SetPixel(colour, x, y);
            }
        }
    }
}

void CPixelImage::ReplaceColour(std::uint32_t from, std::uint32_t to) {
    if (bytesPerPixel_ < 2 || bytesPerPixel_ > 4) {
        return;
    }
    // Compared in the stored form: at 2 bytes per pixel a pixel written with from matches even
    // though it reads back as its nearest 5-6-5 colour.
    CPixelImage probe;
    probe.bytesPerPixel_ = bytesPerPixel_;
    probe.width_ = 1;
    probe.height_ = 1;
    probe.pixels_.assign(static_cast<std::size_t>(bytesPerPixel_), 0);
    probe.SetPixel(from, 0, 0);
    const std::uint32_t wanted = probe.GetPixel(0, 0);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (GetPixel(x, y) == wanted) {
                SetPixel(to, x, y);
            }
        }
    }
}

void CPixelImage::Fill(std::uint32_t colour) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            SetPixel(colour, x, y);
        }
    }
}

bool CPixelImage::LoadFromResource(int resourceId) {
    QImage loaded(QStringLiteral(":/korvane/bitmaps/%1.png").arg(resourceId));
    if (loaded.isNull()) {
        return false;
    }
    loaded = loaded.convertToFormat(QImage::Format_RGB32);
    Allocate(loaded.width(), loaded.height());
    for (int y = 0; y < height_; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(loaded.constScanLine(y));
        for (int x = 0; x < width_; ++x) {
            const QRgb c = row[x];
            SetPixel(static_cast<std::uint32_t>(qRed(c)) |
                         (static_cast<std::uint32_t>(qGreen(c)) << 8) |
                         (static_cast<std::uint32_t>(qBlue(c)) << 16),
                     x, y);
        }
    }
    return true;
}

} // namespace korvane
