#include "DisplayLayer.h"

#include "NesColours.h"
#include "SurfacePixels.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace korvane {

DrawingContext::DrawingContext() = default;

DrawingContext::~DrawingContext() {
    End();
}

void DrawingContext::End() {
    image_.reset();
    if (surface_ != nullptr) {
        surface_->dc_ = nullptr;
        surface_ = nullptr;
    }
    bits_ = nullptr;
    pitch_ = 0;
    width_ = 0;
    height_ = 0;
    bitsPerPixel_ = 0;
}

void DrawingContext::SetFont(const QFont& font) {
    font_ = font;
    // Text pixels are either the text colour or left alone, as on a palette screen, so that
    // the same label looks the same at every depth.
    font_.setStyleStrategy(QFont::NoAntialias);
}

void DrawingContext::PutPixel(int x, int y, std::uint32_t rawValue) {
    const int bpp =
        pixels::IsDrawnDepth(bitsPerPixel_) ? pixels::StoredBytesPerPixel(bitsPerPixel_) : 0;
    if (bpp == 0 || x < 0 || y < 0 || x >= width_ || y >= height_) {
        return;
    }
    pixels::Write(bits_ + static_cast<std::ptrdiff_t>(y) * pitch_ + x * bpp, bpp, rawValue);
}

void DrawingContext::TextOut(int x, int y, const QString& text, std::uint32_t gdiColour) {
    // Fonts need the application object; without one there is nothing to draw with.
    const int bpp =
        pixels::IsDrawnDepth(bitsPerPixel_) ? pixels::StoredBytesPerPixel(bitsPerPixel_) : 0;
    if (!image_ || bpp == 0 || text.isEmpty() || QGuiApplication::instance() == nullptr) {
        return;
    }
    // The text is drawn into a transparent scratch image and its pixels are then written in
    // the text colour, so the surface gets exact values at every depth and the background is
    // left alone.
    const QFontMetrics metrics(font_);
    const QRect ink = metrics.boundingRect(text).united(
        QRect(0, -metrics.ascent(), metrics.horizontalAdvance(text), metrics.height()));
    const QRect box = ink.adjusted(-2, -2, 2, 2);
    QImage scratch(box.size(), QImage::Format_ARGB32);
    scratch.fill(Qt::transparent);
    {
        QPainter painter(&scratch);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setFont(font_);
        painter.setPen(Qt::black);
        painter.drawText(-box.left(), -box.top(), text);
    }
    const std::uint32_t surfaceColour = GdiToSurfaceColour(gdiColour);
    const std::uint32_t value =
        bpp == 2 ? std::uint32_t{SurfaceColourTo565(surfaceColour)} : surfaceColour;
    // Scratch pixel (0, 0) lies at surface (x + box.left, baseline + box.top).
    const int originX = x + box.left();
    const int originY = y + metrics.ascent() + box.top();
    for (int row = 0; row < scratch.height(); ++row) {
        const auto* line = reinterpret_cast<const QRgb*>(scratch.constScanLine(row));
        for (int col = 0; col < scratch.width(); ++col) {
            if (qAlpha(line[col]) >= 128) {
                PutPixel(originX + col, originY + row, value);
            }
        }
    }
}

void DrawingContext::Line(int x0, int y0, int x1, int y1, std::uint32_t gdiColour) {
    if (surface_ == nullptr) {
        return;
    }
    const std::uint32_t value = [&] {
        const std::uint32_t surfaceColour = GdiToSurfaceColour(gdiColour);
        return bitsPerPixel_ == 16 ? std::uint32_t{SurfaceColourTo565(surfaceColour)}
                                   : surfaceColour;
    }();
    // Bresenham's line, both end points included.
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int stepX = x0 < x1 ? 1 : -1;
    const int stepY = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    int x = x0;
    int y = y0;
    for (;;) {
        PutPixel(x, y, value);
        if (x == x1 && y == y1) {
            break;
        }
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y += stepY;
        }
    }
}

void DrawingContext::FocusRect(const DisplayRect& rect) {
    if (surface_ == nullptr) {
        return;
    }
    InvertFocusRect(SurfaceLock{bits_, pitch_, width_, height_, bitsPerPixel_}, rect);
}

void DrawingContext::InvertFocusRect(const SurfaceLock& pixelsOf, const DisplayRect& rect) {
    const int bitsPerPixel = pixelsOf.bitsPerPixel;
    const int bpp =
        pixels::IsDrawnDepth(bitsPerPixel) ? pixels::StoredBytesPerPixel(bitsPerPixel) : 0;
    if (pixelsOf.bits == nullptr || bpp == 0 || rect.empty()) {
        return;
    }
    const int width = pixelsOf.width;
    const int height = pixelsOf.height;
    // Only the colour bits are inverted: bits 24-31 of a 32-bit word stay as they are.
    const std::uint32_t invert = bpp == 2 ? 0xFFFFU : 0xFFFFFFU;
    const auto flip = [&](int x, int y) {
        if (((x - rect.left) + (y - rect.top)) % 2 != 0 || x < 0 || y < 0 || x >= width ||
            y >= height) {
            return;
        }
        std::uint8_t* p = pixelsOf.bits + static_cast<std::ptrdiff_t>(y) * pixelsOf.pitch + x * bpp;
        pixels::Write(p, std::min(bpp, 3), pixels::Read(p, std::min(bpp, 3)) ^ invert);
    };
    const int last = rect.bottom - 1;
    const int right = rect.right - 1;
    for (int x = std::max(rect.left, 0); x <= std::min(right, width - 1); ++x) {
        flip(x, rect.top);
        if (last != rect.top) {
            flip(x, last);
        }
    }
    for (int y = std::max(rect.top + 1, 0); y <= std::min(last - 1, height - 1); ++y) {
        flip(rect.left, y);
        if (right != rect.left) {
            flip(right, y);
        }
    }
}

} // namespace korvane
