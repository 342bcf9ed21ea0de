// The layer routines and the highlight rule: which tile, palette and shade flag every cell
// gets, checked against the level's geometry worked out independently.

#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace korvane {
namespace {

using namespace rendertest;

class RendererLayers : public ::testing::Test {
protected:
    void SetUp() override {
        level = MakeTestLevel();
        Reload();
    }
    void Reload() {
        renderer = std::make_unique<CRenderer>();
        renderer->SetLevelData(*level);
        renderer->SetTilePatterns(level->tiles);
        renderer->SetPalettePage(0);
    }
    int ShadedCells() const {
        int shaded = 0;
        for (int y = 0; y < renderer->gridHeight(); ++y) {
            for (int x = 0; x < renderer->gridWidth(); ++x) {
                shaded += renderer->cell(x, y).shaded;
            }
        }
        return shaded;
    }
    int CellCount() const { return renderer->gridWidth() * renderer->gridHeight(); }
    // The test tile whose pattern a cell holds (-1 when it is none of them).
    int TileOf(int x, int y) const {
        for (int tile = 0; tile < 7; ++tile) {
            if (std::equal(renderer->cell(x, y).pattern.begin(), renderer->cell(x, y).pattern.end(),
                           level->tiles.begin() + tile * 16)) {
                return tile;
            }
        }
        return -1;
    }

    std::unique_ptr<LevelRecord> level;
    std::unique_ptr<CRenderer> renderer;
};

TEST_F(RendererLayers, BlockAttribute53DrawsInPalette3AndShadesByType) {
    level->blocks[7].attributes = 0x53;
    level->blocks[7].tiles = {kTileGradient, kTileGradient, kTileGradient, kTileGradient};
    Reload();
    renderer->SetGridSize(2, 2);
    renderer->SetCurrentBlock(7);
    TestDisplay display;
    const QSize window = SetTestView(*renderer, 2, 2);
    renderer->frame().shown = false;
    renderer->grid().shown = false;

    renderer->SetHighlight(5);
    renderer->DrawBlock();
    EXPECT_EQ(renderer->cell(1, 1).palette, 3);
    EXPECT_EQ(ShadedCells(), 0);
    const QImage plain = RenderTestFrame(*renderer, display, window);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            ASSERT_EQ(ColourAt(plain, x, y), NesToSurfaceColour(kPage0[3][x % 4])) << x << "," << y;
        }
    }

    renderer->SetHighlight(1);
    renderer->DrawBlock();
    EXPECT_EQ(ShadedCells(), 4);
    const QImage shaded = RenderTestFrame(*renderer, display, window);
    // Colour 0x15 is FF2950: (0xFF + 0x29 + 0x50) / 3 = 0x7D, / 2 = 0x3E, + 0x80 = 0xBE.
    EXPECT_EQ(ColourAt(shaded, 1, 0), 0xBEBEBEU);
    EXPECT_EQ(ColourAt(shaded, 3, 5), 0xFFFFFFU); // 0x30 stays white
    EXPECT_TRUE(display.reporter.messages.empty());
}

TEST_F(RendererLayers, ShadeAllGreysEveryLayerButTiles) {
    const std::vector<std::pair<const char*, std::function<void()>>> layers = {
        {"block",
         [&] {
             renderer->SetGridSize(8, 8);
             renderer->DrawBlock();
         }},
        {"all blocks",
         [&] {
             renderer->SetGridSize(32, 32);
             renderer->DrawAllBlocks();
         }},
        {"assembly",
         [&] {
             renderer->SetGridSize(8, 8);
             renderer->DrawAssembly();
         }},
        {"all assemblies",
         [&] {
             renderer->SetGridSize(64, 64);
             renderer->DrawAllAssemblies();
         }},
        {"room",
         [&] {
             renderer->SetGridSize(32, 32);
             renderer->DrawRoom();
         }},
        {"all rooms",
         [&] {
             renderer->SetGridSize(64, 64);
             renderer->DrawAllRooms();
         }},
        {"hallway",
         [&] {
             renderer->SetHallway(0, nullptr, nullptr);
             renderer->DrawHallway();
         }},
    };
    for (const auto& [name, draw] : layers) {
        renderer->SetHighlight(kHighlightShadeAll);
        draw();
        EXPECT_EQ(ShadedCells(), CellCount()) << name;
        renderer->SetHighlight(kHighlightNone);
        draw();
        EXPECT_EQ(ShadedCells(), 0) << name;
    }
    renderer->SetGridSize(16, 16);
    renderer->SetHighlight(kHighlightShadeAll);
    renderer->DrawAllTiles();
    EXPECT_EQ(ShadedCells(), 0);
}

TEST_F(RendererLayers, SelectorTwelveShadesWholeBlockCanvasButNotTypeTwelveInAssemblies) {
    renderer->SetHighlight(12);
    renderer->SetGridSize(32, 32);
    renderer->DrawAllBlocks();
    EXPECT_EQ(ShadedCells(), CellCount()); // block 12 is type 12 and still grey

    renderer->SetGridSize(64, 64);
    renderer->DrawAllAssemblies();
    int unshaded = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const int assembly = (y / 4) * 16 + x / 4;
            const int block = (assembly + ((y / 2) % 2) * 2 + (x / 2) % 2) % 256;
            const bool typeTwelve = block % 16 == 12;
            ASSERT_EQ(renderer->cell(x, y).shaded, typeTwelve ? 0 : 1) << x << "," << y;
            unshaded += typeTwelve ? 1 : 0;
        }
    }
    EXPECT_EQ(unshaded, 64 * 64 / 16);

    // A selector of 8 or less still picks its type on a block canvas.
    renderer->SetHighlight(8);
    renderer->SetGridSize(32, 32);
    renderer->DrawAllBlocks();
    EXPECT_EQ(ShadedCells(), CellCount() - 16 * 4);
}

TEST_F(RendererLayers, UnusedSelectorColoursOnlyUnusedItems) {
    level->roomUse[1] = 2;
    level->roomUse[2] = 1;
    level->tileUse[5] = 3;
    level->blockUse[3] = 1;
    Reload();
    renderer->SetHighlight(kHighlightUnused);

    renderer->SetGridSize(64, 64); // rooms 0 1 / 2 3
    renderer->DrawAllRooms();
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const int room = (y / 32) * 2 + x / 32;
            ASSERT_EQ(renderer->cell(x, y).shaded, room == 1 || room == 2 ? 1 : 0) << x << "," << y;
        }
    }

    renderer->SetGridSize(16, 16);
    renderer->DrawAllTiles();
    EXPECT_EQ(ShadedCells(), 1);
    EXPECT_EQ(renderer->cell(5, 0).shaded, 1);

    renderer->SetGridSize(32, 32);
    renderer->DrawAllBlocks();
    EXPECT_EQ(ShadedCells(), 4);
    EXPECT_EQ(renderer->cell(6, 0).shaded, 1);

    renderer->SetHallway(0, nullptr, nullptr);
    renderer->DrawHallway();
    EXPECT_EQ(ShadedCells(), 0);
}

TEST_F(RendererLayers, ColourTableHoldsFourVariantsAndTheir565Forms) {
    EXPECT_EQ(ShadeVariant(0x306090, 0), 0x306090U);
    EXPECT_EQ(ShadeVariant(0x306090, 1), 0xB0B0B0U);
    EXPECT_EQ(ShadeVariant(0x306090, 2), 0xB0B030U);
    EXPECT_EQ(ShadeVariant(0x306090, 3), 0xB03030U);
    for (int variant = 0; variant < 4; ++variant) {
        for (int p = 0; p < 4; ++p) {
            for (int v = 0; v < 4; ++v) {
                const std::uint32_t expected =
                    ShadeVariant(NesToSurfaceColour(kPage0[p][v]), variant);
                EXPECT_EQ(renderer->SurfaceColour(variant, p, v), expected);
                EXPECT_EQ(renderer->Colour565(variant, p, v), SurfaceColourTo565(expected));
            }
        }
    }
}

TEST_F(RendererLayers, PalettePagesOutsideTheFiveSetsShowSetZero) {
    renderer->SetPalettePage(0x101); // only the low byte counts
    EXPECT_EQ(renderer->palettePage(), 1);
    EXPECT_EQ(renderer->SurfaceColour(0, 2, 1), NesToSurfaceColour(kPage1[2][1]));
    for (const int page : {5, 7, 255}) {
        renderer->SetPalettePage(page);
        EXPECT_EQ(renderer->palettePage(), 0) << page;
        EXPECT_EQ(renderer->SurfaceColour(0, 2, 1), NesToSurfaceColour(kPage0[2][1])) << page;
    }
    level->hallways[0].paletteSet = 5; // passes the model's hallway check, names no set
    renderer->SetHallway(0, level.get(), nullptr);
    renderer->DrawHallway();
    EXPECT_EQ(renderer->palettePage(), 0);
    level->hallways[0].paletteSet = 7;
    renderer->SetHallway(0, level.get(), nullptr);
    renderer->DrawHallway();
    EXPECT_EQ(renderer->palettePage(), 0);
}

TEST_F(RendererLayers, HallwayShowsItsRoomsSideBySideInRoomOrder) {
    renderer->SetHallway(0, nullptr, nullptr);
    ASSERT_EQ(renderer->gridWidth(), 96);
    ASSERT_EQ(renderer->gridHeight(), 32);
    renderer->DrawHallway();
    EXPECT_EQ(renderer->palettePage(), 1);

    CRenderer single;
    single.SetLevelData(*level);
    single.SetTilePatterns(level->tiles);
    single.SetGridSize(32, 32);
    for (int i = 0; i < 3; ++i) {
        single.SetCurrentRoom(level->roomOrder[static_cast<std::size_t>(i)]);
        single.DrawRoom();
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                ASSERT_EQ(renderer->cell(32 * i + x, y).pattern, single.cell(x, y).pattern);
                ASSERT_EQ(renderer->cell(32 * i + x, y).palette, single.cell(x, y).palette);
            }
        }
    }
    // Room 3's first assembly is 24; its first block 24 shows tiles 3, 4, 5, 6.
    EXPECT_EQ(TileOf(0, 0), 3);
    EXPECT_EQ(TileOf(1, 1), 6);

    renderer->SetHallway(9, nullptr, nullptr); // beyond the count: hallway 0
    EXPECT_EQ(renderer->currentHallway(), 0);
    EXPECT_EQ(renderer->gridWidth(), 96);
    renderer->SetHallway(1, nullptr, nullptr);
    EXPECT_EQ(renderer->gridWidth(), 32);
}

TEST_F(RendererLayers, RoomsBeyondTheThirtyTwoDrawNothing) {
    level->roomOrder[1] = 40;
    renderer->SetHallway(0, level.get(), nullptr);
    renderer->DrawHallway();
    const RendererCell empty{};
    for (int y = 0; y < 32; ++y) {
        for (int x = 32; x < 64; ++x) {
            ASSERT_EQ(renderer->cell(x, y).pattern, empty.pattern);
        }
    }
    EXPECT_NE(renderer->cell(64, 0).pattern, empty.pattern);

    // A hallway whose rooms start beyond the room order reads nothing and draws nothing.
    level->hallways[0].lastRoom = 15;
    level->hallways[1].lastRoom = 15;
    level->hallways[2] = Hallway{0, 0, 0, 3};
    level->hallwayCount = 3;
    renderer->SetHallway(2, level.get(), nullptr);
    renderer->DrawHallway();
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < renderer->gridWidth(); ++x) {
            ASSERT_EQ(renderer->cell(x, y).pattern, empty.pattern);
        }
    }
}

TEST_F(RendererLayers, TileLayerPutsTileNumbersRowByRowInTheTilePalette) {
    renderer->SetGridSize(16, 16);
    renderer->SetTilePalette(2);
    renderer->DrawAllTiles();
    EXPECT_EQ(TileOf(4, 0), 4);
    EXPECT_EQ(TileOf(6, 0), 6);
    EXPECT_EQ(TileOf(7, 0), 0); // tiles 7 and on are blank in the test level
    EXPECT_EQ(renderer->cell(15, 15).palette, 2);

    renderer->PutCell(-1, 0, 1, 1, true); // outside: left alone
    renderer->PutCell(16, 0, 1, 1, true);
    renderer->PutCell(3, 3, 5, -1, true); // palette -1 keeps the cell's palette
    EXPECT_EQ(TileOf(3, 3), 5);
    EXPECT_EQ(renderer->cell(3, 3).palette, 2);
    EXPECT_EQ(ShadedCells(), 1);
}

TEST_F(RendererLayers, SelectItemMovesTheFrameOverTheItem) {
    renderer->SetGridSize(16, 16);
    renderer->frame().size = 4;
    renderer->view().scroll = 4;
    int invalidated = 0;
    renderer->SetInvalidateCallback([&] { ++invalidated; });
    renderer->SelectItem(5); // items per row 4: column 1, row 1
    const SelectionFrameState& frame = renderer->frame();
    EXPECT_EQ(frame.x, 0);
    EXPECT_EQ(frame.y, 4);
    EXPECT_EQ(frame.firstColumn, 0);
    EXPECT_EQ(frame.lastColumn, 3);
    EXPECT_EQ(frame.firstRow, 4);
    EXPECT_EQ(frame.lastRow, 7);
    EXPECT_EQ(renderer->itemUnderFrame(), 5);
    EXPECT_EQ(invalidated, 1);
}

} // namespace
} // namespace korvane
