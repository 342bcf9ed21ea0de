#include "HallwayOverlay.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstring>

namespace korvane {

namespace {

constexpr int kRoomCells = 32;
constexpr int kCellPixels = 8;

std::uint16_t To565(std::uint32_t surfaceColour) {
    return static_cast<std::uint16_t>(((surfaceColour >> 8) & 0xF800) |
                                      ((surfaceColour >> 5) & 0x07E0) |
                                      ((surfaceColour >> 3) & 0x001F));
}

void PutSurfacePixel(const SurfaceLock& lock, int x, int y, int drawnWidth,
                     std::uint32_t surfaceColour) {
    if (x < 0 || x >= drawnWidth || x >= lock.width || y < 0 || y >= lock.height ||
        lock.bits == nullptr) {
        return;
    }
    std::uint8_t* row = lock.bits + static_cast<std::ptrdiff_t>(y) * lock.pitch;
    switch (lock.bitsPerPixel) {
    case 32:
        std::memcpy(row + static_cast<std::ptrdiff_t>(x) * 4, &surfaceColour, 4);
        break;
    case 24: {
        std::uint8_t* out = row + static_cast<std::ptrdiff_t>(x) * 3;
        out[0] = static_cast<std::uint8_t>(surfaceColour);
        out[1] = static_cast<std::uint8_t>(surfaceColour >> 8);
        out[2] = static_cast<std::uint8_t>(surfaceColour >> 16);
        break;
    }
    case 16: {
        const std::uint16_t word = To565(surfaceColour);
        std::memcpy(row + static_cast<std::ptrdiff_t>(x) * 2, &word, 2);
        break;
    }
    default:
        break;
    }
}

} // namespace

std::optional<int> HallwayView::RoomLeft(int roomPosition) const {
    if (roomPosition >= kRoomOrderSize) {
        return std::nullopt;
    }
    const int offset = roomPosition - start;
    if (offset < 0 || offset > lastRoom) {
        return std::nullopt;
    }
    return (offset * kRoomCells - scroll) * kCellPixels;
}

void HallwayOverlay::PlotMarker(const SurfaceLock& lock, int x, int y, int drawnWidth) {
    PutSurfacePixel(lock, x - 1, y, drawnWidth, 0);
    PutSurfacePixel(lock, x + 1, y, drawnWidth, 0);
    PutSurfacePixel(lock, x, y - 1, drawnWidth, 0);
    PutSurfacePixel(lock, x, y + 1, drawnWidth, 0);
    PutSurfacePixel(lock, x, y, drawnWidth, kEnemyCentreSurface);
}

void HallwayOverlay::Draw(const SurfaceLock& lock, const LevelRecord& level,
                          const HallwayView& view, bool checkpoints, bool enemies) {
    // Text needs the application's fonts; without them only the markers are drawn.
    const bool text = QGuiApplication::instance() != nullptr;
    if (checkpoints && text) {
        for (int k = 0; k < 2; ++k) {
            const std::uint8_t q = level.checkpointRooms[static_cast<std::size_t>(k)];
            if (q == kNoCheckpoint) {
                continue;
            }
            if (const std::optional<int> left = view.RoomLeft(q)) {
                PutLabel(lock, *left + 128, 128 + 10 * k,
                         Label(QString::asprintf("* Checkpoint #%d", k + 1), kCheckpointLabelGdi));
            }
        }
    }
    if (!enemies) {
        return;
    }
    const int count = std::clamp(level.enemyCount, 0, kEnemySlots);
    for (int i = 0; i < count; ++i) {
        const EnemyPlacement& enemy = level.enemies[static_cast<std::size_t>(i)];
        const std::optional<int> left = view.RoomLeft(enemy.roomPosition);
        if (!left) {
            continue;
        }
        const int x = enemy.x + *left;
        const int y = enemy.y;
        PlotMarker(lock, x, y, view.drawnWidth);
        if (text) {
            PutLabel(lock, x + 4, y + 4,
                     Label(QString::asprintf("$%02X", static_cast<unsigned>(enemy.enemyId)),
                           kEnemyLabelGdi));
        }
    }
}

const QFont& HallwayOverlay::LabelFont() {
    if (!font_) {
        // "Letter Gothic MT" where it is installed, else the fixed-pitch bold faces the setup
        // script installs.
        QFont font;
        font.setFamilies(QStringList{QString::fromLatin1(kLabelFontFace),
                                     QStringLiteral("DejaVu Sans Mono"),
                                     QStringLiteral("Liberation Mono")});
        font.setStyleHint(QFont::Monospace);
        font.setFixedPitch(true);
        font.setPixelSize(16);
        font.setWeight(QFont::Bold);
        // Crisp glyphs as on the original screen, and the same pixels at every depth.
        font.setStyleStrategy(QFont::NoAntialias);
        font_ = font;
    }
    return *font_;
}

const HallwayOverlay::LabelPixels& HallwayOverlay::Label(const QString& text,
                                                         std::uint32_t gdiColour) {
    const auto key = std::make_pair(text, gdiColour);
    if (const auto found = labels_.find(key); found != labels_.end()) {
        return found->second;
    }
    const QFont& font = LabelFont();
    const QFontMetrics metrics(font);
    // Room for glyphs that reach past their advance, and for the outline's two extra pixels.
    constexpr int kMargin = 4;
    const QRect ink = metrics.boundingRect(text).united(
        QRect(0, -metrics.ascent(), metrics.horizontalAdvance(text), metrics.height()));
    LabelPixels label;
    label.left = ink.left() - kMargin;
    label.top = metrics.ascent() + ink.top() - kMargin;
    label.width = ink.width() + 2 * kMargin + 2;
    label.height = ink.height() + 2 * kMargin + 2;
    QImage canvas(label.width, label.height, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setFont(font);
        // Text position (0, 0) is canvas (-left, -top); the baseline is ascent lower.
        const int baseX = -label.left;
        const int baseY = -label.top + metrics.ascent();
        painter.setPen(QColor(0, 0, 0));
        for (int dy = 0; dy <= 2; ++dy) {
            for (int dx = 0; dx <= 2; ++dx) {
                painter.drawText(baseX + dx, baseY + dy, text);
            }
        }
        painter.setPen(QColor(static_cast<int>(gdiColour & 0xFF),
                              static_cast<int>((gdiColour >> 8) & 0xFF),
                              static_cast<int>((gdiColour >> 16) & 0xFF)));
        painter.drawText(baseX + 1, baseY + 1, text);
    }
    const std::size_t pixels =
        static_cast<std::size_t>(label.width) * static_cast<std::size_t>(label.height);
    label.colours.assign(pixels, kNoInk);
    label.colours565.assign(pixels, 0);
    for (int y = 0; y < label.height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        for (int x = 0; x < label.width; ++x) {
            const QRgb pixel = line[x];
            const auto index = static_cast<std::size_t>(y * label.width + x);
            const bool inked = qAlpha(pixel) != 0;
            label.colours[index] = inked ? (pixel & 0xFFFFFFU) : kNoInk;
            label.colours565[index] = To565(pixel & 0xFFFFFFU);
            if (!inked) {
                continue;
            }
            if (!label.runs.empty() && label.runs.back().row == y &&
                label.runs.back().column + label.runs.back().length == x) {
                ++label.runs.back().length;
            } else {
                label.runs.push_back({y, x, 1, index});
            }
        }
    }
    return labels_.emplace(key, std::move(label)).first->second;
}

void HallwayOverlay::PutLabel(const SurfaceLock& lock, int x, int y, const LabelPixels& label) {
    if (lock.bits == nullptr) {
        return;
    }
    const int bytesPerPixel = lock.bitsPerPixel / 8;
    if (lock.bitsPerPixel != 16 && lock.bitsPerPixel != 24 && lock.bitsPerPixel != 32) {
        return;
    }
    // Each run is clipped to the surface and written in one go.
    for (const LabelPixels::Run& run : label.runs) {
        const int py = y + label.top + run.row;
        if (py < 0 || py >= lock.height) {
            continue;
        }
        const int start = x + label.left + run.column;
        const int from = std::max(start, 0);
        const int end = std::min(start + run.length, lock.width);
        if (from >= end) {
            continue;
        }
        const std::size_t first = run.first + static_cast<std::size_t>(from - start);
        const auto count = static_cast<std::size_t>(end - from);
        std::uint8_t* out = lock.bits + static_cast<std::ptrdiff_t>(py) * lock.pitch +
                            static_cast<std::ptrdiff_t>(from) * bytesPerPixel;
        switch (lock.bitsPerPixel) {
        case 32:
            std::memcpy(out, &label.colours[first], count * 4);
            break;
        case 16:
            std::memcpy(out, &label.colours565[first], count * 2);
            break;
        default:
            for (std::size_t i = 0; i < count; ++i, out += 3) {
                const std::uint32_t colour = label.colours[first + i];
                out[0] = static_cast<std::uint8_t>(colour);
                out[1] = static_cast<std::uint8_t>(colour >> 8);
                out[2] = static_cast<std::uint8_t>(colour >> 16);
            }
            break;
        }
    }
}

} // namespace korvane
