#include "PictureExportChoice.h"

namespace korvane {

PictureOptions ExportOptions(const PictureExportChoice& choice) {
    PictureOptions options;
    options.zoomIn = choice.zoom;
    options.checkpoints = choice.checkpoints;
    options.enemies = choice.enemies;
    options.paletteSet = choice.paletteSet;
    options.palette = choice.palette;
    return options;
}

PictureResult MakeExportPicture(PictureExporter& exporter, const LevelRecord& level, int hallway,
                                const PictureExportChoice& choice) {
    const PictureOptions options = ExportOptions(choice);
    switch (choice.subject) {
    case PictureSubject::Hallway:
        return exporter.Hallway(level, hallway, options);
    case PictureSubject::LevelMap:
        return exporter.LevelMap(level, options);
    case PictureSubject::Layer:
        break;
    }
    return exporter.Layer(level, choice.layer, options);
}

} // namespace korvane
