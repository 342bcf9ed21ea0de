// Pictures for saving: the hallway is the renderer's own frame (the golden picture, and the
// preview's frame at every scroll position), the level map's size, row placement and labels,
// the zoom factors, the layers and the refusals.

#include "graphics/PictureExporter.h"
#include "DemoCartridge.h"
#include "RenderTestSupport.h"
#include "gamedata/GameData.h"
#include "tools/CliRender.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace korvane {
namespace {

using namespace rendertest;

constexpr QRgb kCheckpointLabel = 0xCCFF33;
constexpr QRgb kEnemyCentre = 0x00FFFF;

std::unique_ptr<GameData> DemoModel() {
    auto data = std::make_unique<GameData>();
    data->Decode(*MakeDemoCartridge(1));
    return data;
}

QImage Golden() {
    return QImage(QStringLiteral(KORVANE_GOLDEN_DIR "/demo_level1_hallway1.png"))
        .convertToFormat(QImage::Format_RGB32);
}

// Whether the w x h area of a at (ax, ay) shows what b shows at (bx, by).
bool SameArea(const QImage& a, int ax, int ay, const QImage& b, int bx, int by, int w, int h) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if ((a.pixel(ax + x, ay + y) & 0xFFFFFFU) != (b.pixel(bx + x, by + y) & 0xFFFFFFU)) {
                return false;
            }
        }
    }
    return true;
}

int CountColour(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += (image.pixel(x, y) & 0xFFFFFFU) == colour ? 1 : 0;
        }
    }
    return count;
}

class PictureExport : public ::testing::Test {
protected:
    void SetUp() override { model = DemoModel(); }
    const LevelRecord& Level(int n) const { return model->levels[static_cast<std::size_t>(n)]; }

    std::unique_ptr<GameData> model;
    PictureExporter exporter;
};

TEST_F(PictureExport, TheHallwayIsTheGoldenPicture) {
    const PictureResult picture = exporter.Hallway(Level(1), 1);
    ASSERT_TRUE(picture.ok()) << picture.message;
    EXPECT_EQ(picture.image.format(), QImage::Format_RGB32);
    EXPECT_EQ(picture.image, Golden());

    PictureExporter sixteen(16);
    const PictureResult at16 = sixteen.Hallway(Level(1), 1);
    ASSERT_TRUE(at16.ok());
    EXPECT_EQ(at16.image,
              Golden().convertToFormat(QImage::Format_RGB16).convertToFormat(QImage::Format_RGB32));
}

TEST_F(PictureExport, TheHallwayEqualsThePreviewsFramesAtEveryScrollPosition) {
    const LevelRecord& level = Level(1);
    const PictureResult picture = exporter.Hallway(level, 1);
    ASSERT_TRUE(picture.ok());
    // The main view's preview: 96 x 32 cells, no grid, no selection frame.
    CRenderer preview;
    preview.SetHallway(1, &level, level.tiles.data());
    preview.grid().shown = false;
    preview.frame().shown = false;
    preview.frame().x = preview.frame().y = -1;
    preview.DrawHallway();
    TestDisplay display;
    const QSize window = SetTestView(preview, 96, 32);
    const int widest = preview.gridWidth() - 96;
    ASSERT_GT(widest, 0);
    for (const int scroll : {0, 8, 32, widest}) {
        SCOPED_TRACE(scroll);
        preview.view().scroll = scroll;
        const QImage frame = RenderTestFrame(preview, display, window);
        // The window's 768 pixels are the picture's from the scroll position on.
        EXPECT_TRUE(SameArea(picture.image, 8 * scroll, 0, frame, 0, 0, 768, 256));
    }
    EXPECT_TRUE(display.reporter.messages.empty());
}

TEST_F(PictureExport, ZoomRepeatsEachPixel) {
    const PictureResult one = exporter.Hallway(Level(1), 1);
    ASSERT_TRUE(one.ok());
    for (int zoom = 2; zoom <= 4; ++zoom) {
        SCOPED_TRACE(zoom);
        PictureOptions options;
        options.zoomIn = zoom;
        const PictureResult zoomed = exporter.Hallway(Level(1), 1, options);
        ASSERT_TRUE(zoomed.ok()) << zoomed.message;
        ASSERT_EQ(zoomed.image.size(), one.image.size() * zoom);
        int differing = 0;
        for (int y = 0; y < zoomed.image.height(); y += 3) {
            for (int x = 0; x < zoomed.image.width(); x += 5) {
                differing += zoomed.image.pixel(x, y) != one.image.pixel(x / zoom, y / zoom);
            }
        }
        EXPECT_EQ(differing, 0);
    }
    PictureOptions options;
    options.zoomIn = 3;
    const PictureResult rooms = exporter.Layer(Level(1), PictureLayer::Rooms, options);
    ASSERT_TRUE(rooms.ok());
    EXPECT_EQ(rooms.image.size(), QSize(3 * 2048, 3 * 1024));
}

TEST_F(PictureExport, LabelsAndMarkersComeAndGoWithTheirOptions) {
    const PictureResult shown = exporter.Hallway(Level(1), 1);
    PictureOptions bare;
    bare.checkpoints = false;
    bare.enemies = false;
    const PictureResult hidden = exporter.Hallway(Level(1), 1, bare);
    ASSERT_TRUE(shown.ok() && hidden.ok());
    // Level 1 hallway 1 shows checkpoint 1 and enemies; NES colours have neither colour.
    EXPECT_GT(CountColour(shown.image, kCheckpointLabel), 20);
    EXPECT_GT(CountColour(shown.image, kEnemyCentre), 0);
    EXPECT_EQ(CountColour(hidden.image, kCheckpointLabel), 0);
    EXPECT_EQ(CountColour(hidden.image, kEnemyCentre), 0);
}

TEST_F(PictureExport, TheLevelMapHasOneLabelledRowPerHallway) {
    const LevelRecord& level = Level(1);
    ASSERT_GE(level.hallwayCount, 2);
    for (const int zoom : {1, 2}) {
        SCOPED_TRACE(zoom);
        PictureOptions options;
        options.zoomIn = zoom;
        const PictureResult map = exporter.LevelMap(level, options);
        ASSERT_TRUE(map.ok()) << map.message;
        std::vector<QImage> rows;
        int widest = 0;
        for (int h = 0; h < level.hallwayCount; ++h) {
            rows.push_back(exporter.Hallway(level, h, options).image);
            widest = std::max(widest, rows.back().width());
        }
        const int rowHeight = 256 * zoom;
        EXPECT_EQ(map.image.size(),
                  QSize(widest, level.hallwayCount * (kLevelMapLabelHeight + rowHeight)));
        int top = 0;
        QImage firstBand;
        for (int h = 0; h < level.hallwayCount; ++h) {
            SCOPED_TRACE(h);
            const QImage& row = rows[static_cast<std::size_t>(h)];
            // The label band: white text on black, starting a little right of the edge.
            const QImage band = map.image.copy(0, top, map.image.width(), kLevelMapLabelHeight);
            const int white = CountColour(band, 0xFFFFFF);
            EXPECT_GT(white, 30);
            EXPECT_EQ(white + CountColour(band, 0x000000), band.width() * band.height());
            EXPECT_EQ(CountColour(band.copy(0, 0, kLevelMapLabelLeft, band.height()), 0xFFFFFF), 0);
            if (h == 0) {
                firstBand = band;
            } else {
                EXPECT_NE(band, firstBand); // "Hallway 0", "Hallway 1", ...
            }
            top += kLevelMapLabelHeight;
            // The row, left-aligned, and black to its right.
            EXPECT_TRUE(SameArea(map.image, 0, top, row, 0, 0, row.width(), row.height()));
            if (row.width() < map.image.width()) {
                const QImage right =
                    map.image.copy(row.width(), top, map.image.width() - row.width(), rowHeight);
                EXPECT_EQ(CountColour(right, 0x000000), right.width() * right.height());
            }
            top += rowHeight;
        }
    }
}

TEST_F(PictureExport, LayersInTheirPaletteSet) {
    const auto level = MakeTestLevel();
    const auto colour = [](const std::uint8_t page[4][4], int palette, int value) {
        return NesToSurfaceColour(page[palette][value]);
    };
    PictureOptions options;
    options.paletteSet = 1;
    options.palette = 2;
    const PictureResult tiles = exporter.Layer(*level, PictureLayer::Tiles, options);
    ASSERT_TRUE(tiles.ok()) << tiles.message;
    ASSERT_EQ(tiles.image.size(), QSize(128, 128));
    for (int tile = 0; tile < 7; ++tile) {
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                ASSERT_EQ(ColourAt(tiles.image, 8 * tile + x, y),
                          colour(kPage1, 2, TestTilePixel(tile, x, y)))
                    << tile << " " << x << " " << y;
            }
        }
    }
    // Block b (row b / 16, column b % 16) has tiles b..b+3 (mod 7) in palette b % 4.
    const PictureResult blocks = exporter.Layer(*level, PictureLayer::Blocks, options);
    ASSERT_TRUE(blocks.ok());
    ASSERT_EQ(blocks.image.size(), QSize(256, 256));
    const int b = 16 * 3 + 5; // tiles 4, 5, 6, 0 (gradient, diagonal, halves, blank), palette 1
    const int left = 16 * 5;
    const int top = 16 * 3;
    EXPECT_EQ(ColourAt(blocks.image, left + 2, top + 1), colour(kPage1, b % 4, 2));     // gradient
    EXPECT_EQ(ColourAt(blocks.image, left + 8 + 3, top + 1), colour(kPage1, b % 4, 0)); // diagonal
    EXPECT_EQ(ColourAt(blocks.image, left + 1, top + 8), colour(kPage1, b % 4, 3));     // halves
    EXPECT_EQ(ColourAt(blocks.image, left + 9, top + 9), colour(kPage1, b % 4, 0));     // blank

    const PictureResult assemblies = exporter.Layer(*level, PictureLayer::Assemblies, options);
    ASSERT_TRUE(assemblies.ok());
    EXPECT_EQ(assemblies.image.size(), QSize(512, 512));
    // Assembly 0's top-left block is block 0: tile 0 (blank) in palette 0, then tile 1.
    EXPECT_EQ(ColourAt(assemblies.image, 0, 0), colour(kPage1, 0, 0));
    EXPECT_EQ(ColourAt(assemblies.image, 8, 0), colour(kPage1, 0, 1));
    const PictureResult rooms = exporter.Layer(*level, PictureLayer::Rooms, options);
    ASSERT_TRUE(rooms.ok());
    EXPECT_EQ(rooms.image.size(), QSize(2048, 1024));
}

TEST_F(PictureExport, WhatCannotBeDrawnIsRefusedWithAMessage) {
    PictureOptions options;
    options.zoomIn = 0;
    EXPECT_FALSE(exporter.Hallway(Level(1), 0, options).ok());
    options.zoomIn = kMaxPictureZoom + 1;
    const PictureResult tooClose = exporter.Layer(Level(1), PictureLayer::Tiles, options);
    EXPECT_FALSE(tooClose.ok());
    EXPECT_FALSE(tooClose.message.empty());
    options = {};
    options.paletteSet = 5;
    EXPECT_FALSE(exporter.Layer(Level(1), PictureLayer::Blocks, options).ok());

    LevelRecord empty = Level(1);
    empty.hallwayCount = 0;
    const PictureResult noMap = exporter.LevelMap(empty);
    EXPECT_FALSE(noMap.ok());
    EXPECT_EQ(noMap.message, "The level has no hallways to draw.");

    // A hallway of 32 rooms is 8,192 pixels wide: at 2x it fits, at 3x it is too wide.
    LevelRecord wide = Level(1);
    wide.hallways[0].lastRoom = 31;
    options = {};
    options.zoomIn = 2;
    const PictureResult twice = exporter.Hallway(wide, 0, options);
    ASSERT_TRUE(twice.ok()) << twice.message;
    EXPECT_EQ(twice.image.width(), 16384);
    options.zoomIn = 3;
    const PictureResult thrice = exporter.Hallway(wide, 0, options);
    EXPECT_FALSE(thrice.ok());
    EXPECT_NE(thrice.message.find("16384"), std::string::npos) << thrice.message;
}

TEST_F(PictureExport, TheToolsLevelMapIsTheLibrarys) {
    QTemporaryDir dir;
    const std::string rom = dir.filePath("demo.nes").toStdString();
    const std::string out = dir.filePath("map.png").toStdString();
    std::string error;
    ASSERT_TRUE(WriteDemoCartridge(rom, 1, error)) << error;
    ASSERT_EQ(RunRenderCommand({rom, "--level", "1", "--level-map", "--zoom-out", "2", "-o", out}),
              0);
    PictureOptions options;
    options.zoomOut = 2;
    const PictureResult map = exporter.LevelMap(Level(1), options);
    ASSERT_TRUE(map.ok());
    EXPECT_EQ(QImage(QString::fromStdString(out)).convertToFormat(QImage::Format_RGB32), map.image);
    // One picture at a time.
    EXPECT_EQ(RunRenderCommand({rom, "--level", "1", "--level-map", "--hallway", "1", "-o", out}),
              2);
    EXPECT_EQ(RunRenderCommand({rom, "--level", "1", "--level-map", "--layer", "tiles", "-o", out}),
              2);
}

} // namespace
} // namespace korvane
