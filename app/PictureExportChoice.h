#pragma once

// What File > Export Picture draws: the choices of its dialog, and the picture they give.

#include "graphics/PictureExporter.h"

namespace korvane {

enum class PictureSubject {
    Hallway,  // the view's current hallway, all its rooms
    LevelMap, // every hallway of the level, one labelled row each
    Layer,    // the tiles, blocks, assemblies or rooms in a palette set
};

inline constexpr int kMaxExportZoom = 4;

struct PictureExportChoice {
    PictureSubject subject = PictureSubject::Hallway;
    // The hallway and the level map.
    bool checkpoints = true;
    bool enemies = true;
    // A layer.
    PictureLayer layer = PictureLayer::Tiles;
    int paletteSet = 0; // 0 to 4
    int palette = 0;    // 0 to 3, for the tiles
    int zoom = 1;       // 1 to kMaxExportZoom
    bool operator==(const PictureExportChoice&) const = default;
};

// The exporter's options for the choice.
PictureOptions ExportOptions(const PictureExportChoice& choice);
// The picture of the choice for the level, its hallway being the view's current one.
PictureResult MakeExportPicture(PictureExporter& exporter, const LevelRecord& level, int hallway,
                                const PictureExportChoice& choice);

} // namespace korvane
