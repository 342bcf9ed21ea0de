#include "PictureExporter.h"

#include "HallwayOverlay.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QString>

#include <algorithm>

namespace korvane {

namespace {

constexpr int kHallwayGridSpacing = 32; // one line per assembly
constexpr int kRoomCells = 32;

PictureResult Failure(std::string message) {
    return {QImage(), std::move(message)};
}

std::string Text(const RecordingReporter& reporter) {
    std::string text;
    for (const RecordingReporter::Message& message : reporter.messages) {
        text += (text.empty() ? "" : " ") + message.text;
    }
    return text;
}

} // namespace

PictureExporter::PictureExporter(int depth) : context_(depth, &reporter_) {
    // The canvas's first surface, as when a dialog takes over its drawing control.
    if (surface_.Create(context_, 256, 32, callid::kCreateFirstSurface) != kDisplayOk ||
        context_.CreateClipper(clipper_, callid::kCreateClipper) != kDisplayOk ||
        surface_.SetClipper(&clipper_, callid::kAttachFirstClipper) != kDisplayOk) {
        setupError_ = "The display surfaces for the picture cannot be made.";
    }
}

PictureExporter::~PictureExporter() = default;

int PictureExporter::LayerColumns(PictureLayer layer) {
    switch (layer) {
    case PictureLayer::Tiles:
        return 16;
    case PictureLayer::Blocks:
        return 32;
    case PictureLayer::Assemblies:
        return 64;
    case PictureLayer::Rooms:
        return 8 * kRoomCells;
    }
    return 0;
}

int PictureExporter::LayerRows(PictureLayer layer) {
    return layer == PictureLayer::Rooms ? 4 * kRoomCells : LayerColumns(layer);
}

int PictureExporter::LayerGridSpacing(PictureLayer layer) {
    switch (layer) {
    case PictureLayer::Tiles:
        return 8;
    case PictureLayer::Blocks:
        return 16;
    case PictureLayer::Assemblies:
        return 32;
    case PictureLayer::Rooms:
        return 8 * kRoomCells;
    }
    return 8;
}

std::string PictureExporter::CheckOptions(const PictureOptions& options) {
    const auto outside = [](int value, int low, int high) { return value < low || value > high; };
    if (outside(options.zoomIn, 1, kMaxPictureZoom) ||
        outside(options.zoomOut, 1, kMaxPictureZoom)) {
        return "Pictures can be zoomed from 1 to " + std::to_string(kMaxPictureZoom) + " times.";
    }
    if (outside(options.highlight, kHighlightUnused, kHighlightShadeAll)) {
        return "The highlight must be from -2 to 16.";
    }
    if (outside(options.paletteSet, 0, kPaletteSetCount - 1) || outside(options.palette, 0, 3)) {
        return "The palette set must be from 0 to 4 and the palette from 0 to 3.";
    }
    if (options.tick < 0 || options.gridSpacing < 0) {
        return "The animation tick and the grid spacing cannot be negative.";
    }
    return {};
}

std::unique_ptr<CRenderer> PictureExporter::HallwayRenderer(const LevelRecord& level, int hallway,
                                                            const PictureOptions& options) const {
    auto renderer = std::make_unique<CRenderer>();
    renderer->SetHighlight(options.highlight);
    renderer->SetHallway(hallway, &level, level.tiles.data());
    renderer->hallway().showCheckpoints = options.checkpoints;
    renderer->hallway().showEnemies = options.enemies;
    if (options.tick == 0) {
        renderer->DrawHallway();
    }
    for (int t = 0; t < options.tick; ++t) {
        renderer->AnimationTick();
    }
    return renderer;
}

PictureResult PictureExporter::RenderWhole(CRenderer& renderer, int gridSpacing,
                                           const PictureOptions& options) {
    const int columns = renderer.gridWidth();
    const int rows = renderer.gridHeight();
    // The view of a canvas whose window shows the whole content.
    CanvasViewState& view = renderer.view();
    view.zoomIn = options.zoomIn;
    view.zoomOut = options.zoomOut;
    view.visibleWidth = columns * options.zoomIn / options.zoomOut;
    view.visibleHeight = rows * options.zoomIn / options.zoomOut;
    view.scroll = 0;
    SelectionFrameState& frame = renderer.frame();
    frame = SelectionFrameState{};
    frame.shown = false;
    frame.x = -1;
    frame.y = -1;
    GridState& grid = renderer.grid();
    grid.shown = options.grid;
    grid.spacing = (options.gridSpacing > 0 ? options.gridSpacing : gridSpacing) * options.zoomIn /
                   options.zoomOut;

    const int width = options.zoomIn * columns * 8 / options.zoomOut;
    const int height = options.zoomIn * rows * 8 / options.zoomOut;
    if (width <= 0 || height <= 0) {
        return Failure("The picture would be empty at this zoom.");
    }
    // The frame surface holds the picture (or, zoomed out, the picture before shrinking).
    const int surfaceWidth = options.zoomIn > 1 ? width : width * options.zoomOut;
    const int surfaceHeight = options.zoomIn > 1 ? height : height * options.zoomOut;
    if (surfaceWidth > kMaxSurfaceSide || surfaceHeight > kMaxSurfaceSide) {
        return Failure("The picture would be " + std::to_string(width) + " x " +
                       std::to_string(height) + " pixels; pictures can be drawn up to " +
                       std::to_string(kMaxSurfaceSide) + " pixels wide and high.");
    }
    QImage target(width, height, context_.screenImageFormat());
    target.fill(Qt::black);
    reporter_.Clear();
    const int window = 0; // stands for the canvas's window
    renderer.RenderFrame(context_, surface_, clipper_, &window, width, height, target,
                         {0, 0, width, height});
    if (!reporter_.messages.empty()) {
        return Failure(Text(reporter_));
    }
    return {target.convertToFormat(QImage::Format_RGB32), {}};
}

PictureResult PictureExporter::Hallway(const LevelRecord& level, int hallway,
                                       const PictureOptions& options) {
    if (!setupError_.empty()) {
        return Failure(setupError_);
    }
    if (std::string problem = CheckOptions(options); !problem.empty()) {
        return Failure(std::move(problem));
    }
    const auto renderer = HallwayRenderer(level, hallway, options);
    return RenderWhole(*renderer, kHallwayGridSpacing, options);
}

PictureResult PictureExporter::LevelMap(const LevelRecord& level, const PictureOptions& options) {
    const int count = std::clamp(level.hallwayCount, 0, kHallwaySlots);
    if (count == 0) {
        return Failure("The level has no hallways to draw.");
    }
    std::vector<QImage> rows;
    int width = 0;
    int height = 0;
    for (int h = 0; h < count; ++h) {
        PictureResult row = Hallway(level, h, options);
        if (!row.ok()) {
            return row;
        }
        width = std::max(width, row.image.width());
        height += kLevelMapLabelHeight + row.image.height();
        rows.push_back(std::move(row.image));
    }
    const bool text = QGuiApplication::instance() != nullptr;
    HallwayOverlay labels; // the preview's label face
    if (text) {
        const QFontMetrics metrics(labels.LabelFont());
        width = std::max(width, kLevelMapLabelLeft * 2 +
                                    metrics.horizontalAdvance(QStringLiteral("Hallway 15")));
    }
    QImage map(width, height, QImage::Format_RGB32);
    map.fill(kLevelMapBackground);
    QPainter painter(&map);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    if (text) {
        painter.setFont(labels.LabelFont());
    }
    painter.setPen(QColor::fromRgb(kLevelMapLabelColour));
    int top = 0;
    for (int h = 0; h < count; ++h) {
        if (text) {
            painter.drawText(
                QRect(kLevelMapLabelLeft, top, width - kLevelMapLabelLeft, kLevelMapLabelHeight),
                Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Hallway %1").arg(h));
        }
        top += kLevelMapLabelHeight;
        const QImage& row = rows[static_cast<std::size_t>(h)];
        painter.drawImage(0, top, row);
        top += row.height();
    }
    painter.end();
    return {map, {}};
}

PictureResult PictureExporter::Layer(const LevelRecord& level, PictureLayer layer,
                                     const PictureOptions& options) {
    if (!setupError_.empty()) {
        return Failure(setupError_);
    }
    if (std::string problem = CheckOptions(options); !problem.empty()) {
        return Failure(std::move(problem));
    }
    auto renderer = std::make_unique<CRenderer>();
    renderer->SetHighlight(options.highlight);
    renderer->SetLevelData(level);
    renderer->SetTilePatterns(level.tiles);
    renderer->SetGridSize(LayerColumns(layer), LayerRows(layer));
    renderer->SetPalettePage(options.paletteSet);
    renderer->SetTilePalette(options.palette);
    switch (layer) {
    case PictureLayer::Tiles:
        renderer->DrawAllTiles();
        break;
    case PictureLayer::Blocks:
        renderer->DrawAllBlocks();
        break;
    case PictureLayer::Assemblies:
        renderer->DrawAllAssemblies();
        break;
    case PictureLayer::Rooms:
        renderer->DrawAllRooms();
        break;
    }
    return RenderWhole(*renderer, LayerGridSpacing(layer), options);
}

} // namespace korvane
