#pragma once

// Pictures of level graphics to save as PNG: one hallway with all its rooms, the whole level
// (every hallway one row) and the tile, block, assembly and room layers. Each picture is a
// frame of the renderer drawn through a display surface, as the preview and the editors draw
// theirs, so its pixels are theirs. No widgets: the window's Export Picture and the tool's
// `render` use the same code.
//
// Text (checkpoint, enemy and row labels) needs a QGuiApplication for its fonts; without one,
// pictures are drawn without text, as the preview's overlay does.

#include "CRenderer.h"
#include "DisplayLayer.h"
#include "gamedata/LevelRecord.h"
#include "gamedata/UserReporter.h"

#include <QImage>

#include <cstdint>
#include <memory>
#include <string>

namespace korvane {

enum class PictureLayer { Tiles, Blocks, Assemblies, Rooms };

inline constexpr int kMaxPictureZoom = 8;
// The level map: a band this high above each hallway's row holds its label ("Hallway N",
// white on the black background), so that the label covers none of the rooms.
inline constexpr int kLevelMapLabelHeight = 24;
inline constexpr int kLevelMapLabelLeft = 4;
inline constexpr QRgb kLevelMapBackground = 0xFF000000U;
inline constexpr QRgb kLevelMapLabelColour = 0xFFFFFFFFU;

struct PictureOptions {
    int zoomIn = 1;  // each pixel drawn zoomIn x zoomIn (1 to kMaxPictureZoom)
    int zoomOut = 1; // shrunk by zoomOut (1 to kMaxPictureZoom); zoomIn wins when both are set
    int highlight = kHighlightNone;
    bool grid = false;
    int gridSpacing = 0; // content pixels between grid lines; 0: one line per item of the
                         // layer (per assembly in hallways)
    // Hallways and the level map.
    bool checkpoints = true;
    bool enemies = true;
    int tick = 0; // animation tick: the palette effects applied this many times
    // Layers.
    int paletteSet = 0; // 0 to 4
    int palette = 0;    // the tile layer's palette, 0 to 3
};

// A picture, or why there is none.
struct PictureResult {
    QImage image;        // Format_RGB32; null on failure
    std::string message; // empty on success
    bool ok() const { return !image.isNull(); }
};

class PictureExporter {
public:
    // depth: the screen depth whose pixels the pictures show (16, 24 or 32).
    explicit PictureExporter(int depth = 32);
    ~PictureExporter();
    PictureExporter(const PictureExporter&) = delete;
    PictureExporter& operator=(const PictureExporter&) = delete;

    // Hallway `hallway` of the level, all its rooms side by side (32 x 32 cells each), as the
    // preview shows it; a hallway at or past hallwayCount shows hallway 0, as in the preview.
    PictureResult Hallway(const LevelRecord& level, int hallway,
                          const PictureOptions& options = {});
    // Every hallway, hallway 0 at the top, one row each, left-aligned on a black background;
    // each row is the Hallway picture below a label band of kLevelMapLabelHeight pixels that
    // says "Hallway N" (N as in the main view's Hallway #). Refused for a level without
    // hallways.
    PictureResult LevelMap(const LevelRecord& level, const PictureOptions& options = {});
    // A layer in a palette set: the 256 tiles (16 x 16, in options.palette), the 256 blocks
    // (16 x 16), the 256 assemblies (16 x 16) or the 32 rooms (8 per row, 4 rows).
    PictureResult Layer(const LevelRecord& level, PictureLayer layer,
                        const PictureOptions& options = {});

    // The cells a layer's picture has, and the grid spacing in pixels that fits its items.
    static int LayerColumns(PictureLayer layer);
    static int LayerRows(PictureLayer layer);
    static int LayerGridSpacing(PictureLayer layer);

private:
    std::unique_ptr<CRenderer> HallwayRenderer(const LevelRecord& level, int hallway,
                                               const PictureOptions& options) const;
    // One frame of the renderer's whole grid, no scrolling and no selection frame.
    PictureResult RenderWhole(CRenderer& renderer, int gridSpacing, const PictureOptions& options);
    // Why options cannot be drawn, or an empty text.
    static std::string CheckOptions(const PictureOptions& options);

    RecordingReporter reporter_;
    DisplayContext context_;
    DisplaySurface surface_;
    DisplayClipper clipper_;
    std::string setupError_;
};

} // namespace korvane
