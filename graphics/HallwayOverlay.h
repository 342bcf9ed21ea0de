#pragma once

// What the level preview draws over the rooms of a hallway: the checkpoint labels and the
// enemy markers with their id labels. Labels are black-outlined text in a fixed-pitch bold
// face: the text in black at the nine offsets (0..2, 0..2), then in its colour at (1, 1).

#include "DisplayLayer.h"
#include "gamedata/LevelRecord.h"

#include <QFont>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace korvane {

inline constexpr std::uint32_t kCheckpointLabelGdi = 0x33FFCC; // red 0xCC, green 0xFF, blue 0x33
inline constexpr std::uint32_t kEnemyLabelGdi = 0xFFFFFF;
inline constexpr std::uint32_t kOutlineGdi = 0x000000;
inline constexpr std::uint32_t kEnemyCentreSurface = 0x00FFFF; // cyan, a surface colour value
// The face the labels ask for first.
inline constexpr const char* kLabelFontFace = "Letter Gothic MT";

// The rooms of one hallway as the preview shows them.
struct HallwayView {
    int start = 0;    // first room position of the hallway in roomOrder
    int lastRoom = 0; // rooms in the hallway - 1
    int scroll = 0;   // horizontal scroll position in cells
    // Width in pixels of the part of the surface that shows cells.
    int drawnWidth = 0;

    // The pixel column of room position q's left edge, or nothing when q is not one of the
    // hallway's rooms (or lies beyond roomOrder).
    std::optional<int> RoomLeft(int roomPosition) const;
};

class HallwayOverlay {
public:
    // Everything the preview draws over the cells, into the locked surface, in this order: the
    // checkpoint labels, then each enemy's five marker pixels and its id label. Marker pixels
    // outside the drawn part of the surface, and label pixels outside the surface, are skipped.
    void Draw(const SurfaceLock& lock, const LevelRecord& level, const HallwayView& view,
              bool checkpoints, bool enemies);
    // "Letter Gothic MT" bold, 16 pixels high, or where that face is missing another
    // fixed-pitch bold face; made once.
    const QFont& LabelFont();

private:
    // One outlined label as drawn by the painter: its pixels as surface colour values, with
    // kNoInk where the background shows through. (left, top) is the offset of its top-left
    // pixel from the text position.
    struct LabelPixels {
        // A horizontal run of inked pixels: label row, first column, length, and the index of
        // its first pixel in colours.
        struct Run {
            int row = 0;
            int column = 0;
            int length = 0;
            std::size_t first = 0;
        };
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        std::vector<std::uint32_t> colours;
        std::vector<std::uint16_t> colours565; // the same pixels as 5-6-5 words
        std::vector<Run> runs;
    };
    static constexpr std::uint32_t kNoInk = 0xFFFFFFFFU;

    // The label's pixels, drawn once per text and colour with the painter and kept: labels
    // repeat on every 100 ms tick, and the same few texts come back each time.
    const LabelPixels& Label(const QString& text, std::uint32_t gdiColour);
    static void PutLabel(const SurfaceLock& lock, int x, int y, const LabelPixels& label);
    static void PlotMarker(const SurfaceLock& lock, int x, int y, int drawnWidth);

    std::optional<QFont> font_;
    std::map<std::pair<QString, std::uint32_t>, LabelPixels> labels_;
};

} // namespace korvane
