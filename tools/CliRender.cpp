#include "CliRender.h"

#include "CliHelp.h"

#include "CliCommon.h"
#include "gamedata/CKorvaneDoc.h"
#include "gamedata/UserReporter.h"
#include "graphics/PictureExporter.h"
#include "graphics/PngFile.h"

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
constexpr int kMaxZoom = kMaxPictureZoom;
constexpr int kMaxTick = 1000000;

struct RenderOptions {
    std::string rom;
    std::string output;
    int level = -1;
    int hallway = 0;
    bool hallwayGiven = false;
    bool levelMap = false;
    int depth = 32;
    std::optional<PictureLayer> layer; // nothing: the hallway
    bool layerGiven = false;
    PictureOptions picture;
};

struct UsageError {
    std::string reason;
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
            options.hallwayGiven = true;
        } else if (word == "--level-map") {
            options.levelMap = true;
        } else if (word == "-o" || word == "--output") {
            const std::optional<std::string> text = value();
            if (!text || text->empty()) {
                return UsageError{word + " needs a file name"};
            }
            options.output = *text;
        } else if (word == "--highlight") {
            error = number(kHighlightUnused, kHighlightShadeAll, options.picture.highlight);
        } else if (word == "--depth") {
            error = number(16, 32, options.depth);
            if (!error && options.depth != 16 && options.depth != 24 && options.depth != 32) {
                return UsageError{"--depth takes 16, 24 or 32"};
            }
        } else if (word == "--zoom-in") {
            error = number(1, kMaxZoom, options.picture.zoomIn);
        } else if (word == "--zoom-out") {
            error = number(1, kMaxZoom, options.picture.zoomOut);
        } else if (word == "--grid") {
            options.picture.grid = true;
        } else if (word == "--grid-spacing") {
            error = number(1, 4096, options.picture.gridSpacing);
        } else if (word == "--tick") {
            error = number(0, kMaxTick, options.picture.tick);
        } else if (word == "--no-checkpoints") {
            options.picture.checkpoints = false;
        } else if (word == "--no-enemies") {
            options.picture.enemies = false;
        } else if (word == "--layer") {
            const std::optional<std::string> text = value();
            if (!text) {
                return UsageError{"--layer needs a value"};
            }
            options.layerGiven = true;
            if (*text == "tiles") {
                options.layer = PictureLayer::Tiles;
            } else if (*text == "blocks") {
                options.layer = PictureLayer::Blocks;
            } else if (*text == "assemblies") {
                options.layer = PictureLayer::Assemblies;
            } else if (*text == "rooms") {
                options.layer = PictureLayer::Rooms;
            } else if (*text == "hallway") {
                options.layer.reset();
            } else {
                return UsageError{"unknown layer \"" + *text + "\""};
            }
        } else if (word == "--palette-set") {
            error = number(0, kPaletteSetCount - 1, options.picture.paletteSet);
        } else if (word == "--palette") {
            error = number(0, 3, options.picture.palette);
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
    if (options.levelMap && (options.hallwayGiven || options.layerGiven)) {
        return UsageError{"--level-map draws every hallway: leave out --hallway and --layer"};
    }
    return std::nullopt;
}

int Fail(const std::string& reason) {
    std::cerr << "korvane-cli render: " << reason << "\n";
    return kExitFailure;
}

} // namespace

int RunRenderCommand(const std::vector<std::string>& args) {
    RenderOptions options;
    if (const std::optional<UsageError> error = ParseOptions(args, options)) {
        std::cerr << "korvane-cli render: " << error->reason << "\n"
                  << cli::CommandHelpText(*cli::FindCommandHelp("render"));
        return kExitUsage;
    }

    if (cli::OutputIsAnInput(options.output, {options.rom})) {
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

    PictureExporter exporter(options.depth);
    const PictureResult result = options.levelMap ? exporter.LevelMap(level, options.picture)
                                 : options.layer
                                     ? exporter.Layer(level, *options.layer, options.picture)
                                     : exporter.Hallway(level, options.hallway, options.picture);
    if (!result.ok()) {
        return Fail(result.message);
    }
    // Written as the document saves: a failure leaves any earlier file as it was.
    if (const std::optional<std::string> error = SavePngFile(result.image, options.output)) {
        return Fail(*error);
    }
    return kExitOk;
}

} // namespace korvane
