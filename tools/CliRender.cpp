#include "CliRender.h"

#include "CliCommon.h"
#include "gamedata/CKorvaneDoc.h"
#include "gamedata/UserReporter.h"
#include "graphics/CRenderer.h"
#include "graphics/DisplayLayer.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

namespace korvane {

namespace {

using cli::kExitFailure;
using cli::kExitOk;
using cli::kExitUsage;
constexpr int kMaxZoom = 8;
constexpr int kMaxTick = 1000000;

constexpr const char* kUsage =
    "usage: korvane-cli render ROM --level L [--hallway H] -o OUT.png [options]\n"
    "  Draws hallway H of level L (0-15) as the level preview shows it, all rooms side by\n"
    "  side, and writes it as a PNG.\n"
    "options:\n"
    "  --highlight S      highlight selector: 0-15 a block type, 16 shade all, -1 none\n"
    "                     (the default), -2 what the level does not use\n"
    "  --depth D          screen depth the surfaces use: 16, 24 or 32 (the default)\n"
    "  --zoom-in N        draw each pixel N x N (1-8)\n"
    "  --zoom-out N       shrink by N (1-8)\n"
    "  --grid             draw the grid\n"
    "  --grid-spacing N   grid spacing in content pixels (default: one line per assembly,\n"
    "                     or per tile, block, assembly or room for the other layers)\n"
    "  --tick T           show animation tick T: the palette effects applied T times\n"
    "  --no-checkpoints   leave out the checkpoint labels\n"
    "  --no-enemies       leave out the enemy markers\n"
    "  --layer L          tiles (16 x 16 tiles), blocks (16 x 16 blocks), assemblies\n"
    "                     (16 x 16 assemblies) or rooms (32 rooms, 8 per row) instead of\n"
    "                     the hallway\n"
    "  --palette-set P    palette set (0-4) of the other layers (default 0)\n"
    "  --palette N        palette (0-3) of the tile layer (default 0)\n";

enum class RenderLayer { Hallway, Tiles, Blocks, Assemblies, Rooms };

struct RenderOptions {
    std::string rom;
    std::string output;
    int level = -1;
    int hallway = 0;
    int highlight = kHighlightNone;
    int depth = 32;
    int zoomIn = 1;
    int zoomOut = 1;
    bool grid = false;
    int gridSpacing = 0;
    int tick = 0;
    bool checkpoints = true;
    bool enemies = true;
    RenderLayer layer = RenderLayer::Hallway;
    int paletteSet = 0;
    int palette = 0;
};

struct UsageError {
    std::string reason;
};

// The grid of cells each layer is drawn on, and the grid spacing that fits its items.
struct LayerGeometry {
    int columns;
    int rows;
    int gridSpacing;
};

std::optional<int> ParseInt(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty()) {
        return std::nullopt;
    }
    return value;
}

// Parses the words after "render"; on a mistake returns the reason.
std::optional<UsageError> ParseOptions(const std::vector<std::string>& args,
                                       RenderOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        const auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size()) {
                return std::nullopt;
            }
            return args[++i];
        };
        const auto number = [&](int low, int high, int& target) -> std::optional<UsageError> {
            const std::optional<std::string> text = value();
            if (!text) {
                return UsageError{word + " needs a value"};
            }
            const std::optional<int> parsed = ParseInt(*text);
            if (!parsed || *parsed < low || *parsed > high) {
                return UsageError{word + " takes a number from " + std::to_string(low) + " to " +
                                  std::to_string(high) + ", not \"" + *text + "\""};
            }
            target = *parsed;
            return std::nullopt;
        };
        std::optional<UsageError> error;
        if (word == "--level") {
            error = number(0, kLevelCount - 1, options.level);
        } else if (word == "--hallway") {
            error = number(0, 255, options.hallway);
        } else if (word == "-o" || word == "--output") {
            const std::optional<std::string> text = value();
            if (!text || text->empty()) {
                return UsageError{word + " needs a file name"};
            }
            options.output = *text;
        } else if (word == "--highlight") {
            error = number(kHighlightUnused, kHighlightShadeAll, options.highlight);
        } else if (word == "--depth") {
            error = number(16, 32, options.depth);
            if (!error && options.depth != 16 && options.depth != 24 && options.depth != 32) {
                return UsageError{"--depth takes 16, 24 or 32"};
            }
        } else if (word == "--zoom-in") {
            error = number(1, kMaxZoom, options.zoomIn);
        } else if (word == "--zoom-out") {
            error = number(1, kMaxZoom, options.zoomOut);
        } else if (word == "--grid") {
            options.grid = true;
        } else if (word == "--grid-spacing") {
            error = number(1, 4096, options.gridSpacing);
        } else if (word == "--tick") {
            error = number(0, kMaxTick, options.tick);
        } else if (word == "--no-checkpoints") {
            options.checkpoints = false;
        } else if (word == "--no-enemies") {
            options.enemies = false;
        } else if (word == "--layer") {
            const std::optional<std::string> text = value();
            if (!text) {
                return UsageError{"--layer needs a value"};
            }
            if (*text == "tiles") {
                options.layer = RenderLayer::Tiles;
            } else if (*text == "blocks") {
                options.layer = RenderLayer::Blocks;
            } else if (*text == "assemblies") {
                options.layer = RenderLayer::Assemblies;
            } else if (*text == "rooms") {
                options.layer = RenderLayer::Rooms;
            } else if (*text == "hallway") {
                options.layer = RenderLayer::Hallway;
            } else {
                return UsageError{"unknown layer \"" + *text + "\""};
            }
        } else if (word == "--palette-set") {
            error = number(0, kPaletteSetCount - 1, options.paletteSet);
        } else if (word == "--palette") {
            error = number(0, 3, options.palette);
        } else if (!word.empty() && word[0] == '-') {
            return UsageError{"unknown option \"" + word + "\""};
        } else if (options.rom.empty()) {
            options.rom = word;
        } else {
            return UsageError{"more than one ROM given (\"" + word + "\")"};
        }
        if (error) {
            return error;
        }
    }
    if (options.rom.empty()) {
        return UsageError{"no ROM given"};
    }
    if (options.level < 0) {
        return UsageError{"no level given (--level L)"};
    }
    if (options.output.empty()) {
        return UsageError{"no output file given (-o OUT.png)"};
    }
    return std::nullopt;
}

LayerGeometry GeometryFor(RenderLayer layer, const CRenderer& renderer) {
    switch (layer) {
    case RenderLayer::Tiles:
        return {16, 16, 8};
    case RenderLayer::Blocks:
        return {32, 32, 16};
    case RenderLayer::Assemblies:
        return {64, 64, 32};
    case RenderLayer::Rooms:
        return {8 * 32, 4 * 32, 256};
    case RenderLayer::Hallway:
        break;
    }
    return {renderer.gridWidth(), renderer.gridHeight(), 32};
}

// Fills the renderer's grid for the chosen layer.
void DrawLayer(const RenderOptions& options, const LevelRecord& level, CRenderer& renderer) {
    renderer.SetHighlight(options.highlight);
    if (options.layer == RenderLayer::Hallway) {
        renderer.SetHallway(options.hallway, &level, level.tiles.data());
        renderer.hallway().showCheckpoints = options.checkpoints;
        renderer.hallway().showEnemies = options.enemies;
        if (options.tick == 0) {
            renderer.DrawHallway();
        }
        for (int t = 0; t < options.tick; ++t) {
            renderer.AnimationTick();
        }
        return;
    }
    renderer.SetLevelData(level);
    renderer.SetTilePatterns(level.tiles);
    const LayerGeometry geometry = GeometryFor(options.layer, renderer);
    renderer.SetGridSize(geometry.columns, geometry.rows);
    renderer.SetPalettePage(options.paletteSet);
    renderer.SetTilePalette(options.palette);
    switch (options.layer) {
    case RenderLayer::Tiles:
        renderer.DrawAllTiles();
        break;
    case RenderLayer::Blocks:
        renderer.DrawAllBlocks();
        break;
    case RenderLayer::Assemblies:
        renderer.DrawAllAssemblies();
        break;
    case RenderLayer::Rooms:
        renderer.DrawAllRooms();
        break;
    case RenderLayer::Hallway:
        break;
    }
}

int Fail(const std::string& reason) {
    std::cerr << "korvane-cli render: " << reason << "\n";
    return kExitFailure;
}

int PrintedReports(const RecordingReporter& reporter) {
    for (const RecordingReporter::Message& message : reporter.messages) {
        std::cerr << "korvane-cli render: " << message.title << ": " << message.text << "\n";
    }
    return kExitFailure;
}

} // namespace

int RunRenderCommand(const std::vector<std::string>& args) {
    RenderOptions options;
    if (const std::optional<UsageError> error = ParseOptions(args, options)) {
        std::cerr << "korvane-cli render: " << error->reason << "\n" << kUsage;
        return kExitUsage;
    }

    // Fonts need a GUI application; without a screen it runs on the offscreen platform.
    std::unique_ptr<QGuiApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        static int argc = 1;
        static char name[] = "korvane-cli";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QGuiApplication>(argc, argv);
    }

    // The cartridge is read through the document, which refuses what is not a cartridge file
    // (a folder, a device, a named pipe) without blocking on it.
    CKorvaneDoc document;
    if (!cli::OpenCartridge(document, options.rom)) {
        return kExitFailure;
    }
    const LevelRecord& level = document.level(options.level);

    RecordingReporter reporter;
    DisplayContext context(options.depth, &reporter);
    DisplaySurface surface;
    DisplayClipper clipper;
    // The canvas's first surface, as when a dialog takes over its drawing control.
    if (surface.Create(context, 256, 32, callid::kCreateFirstSurface) != kDisplayOk ||
        context.CreateClipper(clipper, callid::kCreateClipper) != kDisplayOk ||
        surface.SetClipper(&clipper, callid::kAttachFirstClipper) != kDisplayOk) {
        return Fail("the display surfaces cannot be made");
    }

    auto renderer = std::make_unique<CRenderer>();
    DrawLayer(options, level, *renderer);
    const LayerGeometry geometry = GeometryFor(options.layer, *renderer);

    // The view of a canvas whose window shows the whole content: no scrolling, no frame.
    CanvasViewState& view = renderer->view();
    view.zoomIn = options.zoomIn;
    view.zoomOut = options.zoomOut;
    view.visibleWidth = geometry.columns * options.zoomIn / options.zoomOut;
    view.visibleHeight = geometry.rows * options.zoomIn / options.zoomOut;
    view.scroll = 0;
    SelectionFrameState& frame = renderer->frame();
    frame = SelectionFrameState{};
    frame.shown = false;
    frame.x = -1;
    frame.y = -1;
    GridState& grid = renderer->grid();
    grid.shown = options.grid;
    grid.spacing = (options.gridSpacing > 0 ? options.gridSpacing : geometry.gridSpacing) *
                   options.zoomIn / options.zoomOut;

    const int width = options.zoomIn * geometry.columns * 8 / options.zoomOut;
    const int height = options.zoomIn * geometry.rows * 8 / options.zoomOut;
    if (width <= 0 || height <= 0) {
        return Fail("the picture would be empty at this zoom");
    }
    QImage target(width, height, context.screenImageFormat());
    target.fill(Qt::black);
    const int window = 0; // stands for the canvas's window
    renderer->RenderFrame(context, surface, clipper, &window, width, height, target,
                          {0, 0, width, height});
    if (!reporter.messages.empty()) {
        return PrintedReports(reporter);
    }
    const QImage picture = target.convertToFormat(QImage::Format_RGB32);
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG")) {
        return Fail("the picture cannot be encoded as PNG");
    }
    // Written as the document saves: a failure leaves any earlier file as it was.
    if (const std::optional<std::string> error = cli::WriteFileReplacing(
            options.output, std::span(reinterpret_cast<const std::uint8_t*>(png.constData()),
                                      static_cast<std::size_t>(png.size())))) {
        return Fail(*error);
    }
    return kExitOk;
}

} // namespace korvane
