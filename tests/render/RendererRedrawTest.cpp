// Drawing only what changed: after a change, the room layers and the next frame redraw only the
// cells that changed, and every pixel must be the one a renderer drawing everything afresh
// shows. Each case changes one thing between two frames of one renderer and compares the second
// frame with a new renderer set up the same way and drawn once.
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace korvane {
namespace {

// The test level with its use counts: hallways show rooms 3, 1, 2 and 0 once each.
std::unique_ptr<LevelRecord> MakeTestLevel() {
    std::unique_ptr<LevelRecord> level = rendertest::MakeTestLevel();
    level->RecountUsage();
    return level;
}
using rendertest::RenderTestFrame;
using rendertest::SetTestView;
using rendertest::TestDisplay;

// How a canvas is set up, as the room editor's two canvases are: the 32 rooms at a quarter of
// their size, two columns of rooms visible, grid every room, the selected room framed; or one
// room at full size, grid every assembly, the assembly under the pointer tinted.
struct CanvasSetUp {
    int gridWidth;
    int gridHeight;
    int columns;
    int rows;
    int zoomOut;
    int gridSpacing;
    int frameSize;
    std::function<void(CRenderer&)> draw;
};

const CanvasSetUp kAllRooms{128, 256, 64, 256, 4, 64, 32, &CRenderer::DrawAllRooms};
const CanvasSetUp kOneRoom{32, 32, 32, 32, 1, 32, 4, [](CRenderer& r) {
                               r.SetCurrentRoom(6);
                               r.DrawRoom();
                           }};

// What differs from one frame to the next besides the level: highlight, selection, scroll.
struct CanvasState {
    int highlight = kHighlightNone;
    int selectedItem = 5;
    int pointerColumn = -1; // the tinted square under the pointer (one-room canvas)
    int scroll = 0;
};

class RendererRedraw : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override { level = MakeTestLevel(); }

    // A renderer on the level in the state, drawn by its layer routine.
    void Prepare(CRenderer& renderer, const CanvasSetUp& canvas, const CanvasState& state) {
        renderer.SetLevelData(*level);
        renderer.SetTilePatterns(level->tiles);
        if (renderer.gridWidth() != canvas.gridWidth) {
            renderer.SetGridSize(canvas.gridWidth, canvas.gridHeight);
        }
        renderer.SetPalettePage(0);
        window = SetTestView(renderer, canvas.columns, canvas.rows, 1, canvas.zoomOut);
        renderer.grid().shown = true;
        renderer.grid().spacing = canvas.gridSpacing;
        renderer.frame().shown = true;
        renderer.frame().size = canvas.frameSize;
        renderer.SetHighlight(state.highlight);
        renderer.view().scroll = 0;
        renderer.SelectItem(state.selectedItem);
        if (state.pointerColumn >= 0) {
            SelectionFrameState& f = renderer.frame();
            f.firstColumn = 4 * state.pointerColumn;
            f.lastColumn = f.firstColumn + 3;
            f.firstRow = 8;
            f.lastRow = 11;
        }
        renderer.view().scroll = state.scroll;
        canvas.draw(renderer);
    }

    // The frame of a renderer drawn from nothing in that state.
    QImage Fresh(const CanvasSetUp& canvas, const CanvasState& state) {
        CRenderer renderer;
        Prepare(renderer, canvas, state);
        TestDisplay display(GetParam());
        return RenderTestFrame(renderer, display, window);
    }

    // The cells of a renderer drawn from nothing, against those of the one redrawn.
    void ExpectSameCells(const CRenderer& redrawn, const CanvasSetUp& canvas,
                         const CanvasState& state) {
        CRenderer renderer;
        Prepare(renderer, canvas, state);
        for (int y = 0; y < canvas.gridHeight; ++y) {
            for (int x = 0; x < canvas.gridWidth; ++x) {
                const RendererCell& a = redrawn.cell(x, y);
                const RendererCell& b = renderer.cell(x, y);
                ASSERT_TRUE(a.pattern == b.pattern && a.palette == b.palette &&
                            a.shaded == b.shaded)
                    << x << "," << y;
            }
        }
    }

    // Draws a first frame in before, changes the level with change, draws a second in after
    // and compares it with a fresh renderer's, pixel for pixel.
    void Check(const CanvasSetUp& canvas, const CanvasState& before,
               const std::function<void(LevelRecord&)>& change, const CanvasState& after) {
        CRenderer renderer;
        TestDisplay display(GetParam());
        Prepare(renderer, canvas, before);
        const QImage first = RenderTestFrame(renderer, display, window);
        ASSERT_EQ(first, Fresh(canvas, before));
        change(*level);
        Prepare(renderer, canvas, after);
        ExpectSameCells(renderer, canvas, after);
        const QImage second = RenderTestFrame(renderer, display, window);
        const QImage expected = Fresh(canvas, after);
        ASSERT_EQ(second.size(), expected.size());
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x) {
                ASSERT_EQ(second.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
            }
        }
        EXPECT_NE(first, second) << "the change shows";
        EXPECT_TRUE(display.reporter.messages.empty());
    }

    std::unique_ptr<LevelRecord> level;
    QSize window;
};

// Rooms 0 and 5 (shown; the selected room 5 is framed) and room 2 (scrolled out of view) each
// take another assembly in one cell.
void PaintTwoRooms(LevelRecord& painted) {
    painted.rooms[0].cells[9] = 200;
    painted.rooms[5].cells[63] = 201;
    painted.rooms[2].cells[0] = 17;
}

TEST_P(RendererRedraw, APaintedAssemblyInTheZoomedOutRooms) {
    Check(kAllRooms, {}, PaintTwoRooms, {});
    // Back again, as an undo gives it.
    Check(kAllRooms, {}, [](LevelRecord& painted) { painted = *MakeTestLevel(); }, {});
}

TEST_P(RendererRedraw, UndoAndRedoOfAPaintInTheRooms) {
    const std::unique_ptr<LevelRecord> original = MakeTestLevel();
    CRenderer renderer;
    TestDisplay display(GetParam());
    Prepare(renderer, kAllRooms, {});
    RenderTestFrame(renderer, display, window);
    for (int step = 0; step < 4; ++step) {
        // Paint, undo, redo, undo.
        *level = *original;
        if (step % 2 == 0) {
            PaintTwoRooms(*level);
        }
        Prepare(renderer, kAllRooms, {});
        const QImage shown = RenderTestFrame(renderer, display, window);
        ASSERT_EQ(shown, Fresh(kAllRooms, {})) << step;
    }
}

TEST_P(RendererRedraw, RoomsShadedByUseFollowTheirCounts) {
    CanvasState unused;
    unused.highlight = kHighlightUnused;
    // A hallway painted with room 4 instead of room 1: both rooms change their shading.
    ASSERT_EQ(level->roomUse[1], 1);
    ASSERT_EQ(level->roomUse[4], 0);
    Check(
        kAllRooms, unused,
        [](LevelRecord& used) {
            used.roomUse[1] = 0;
            used.roomUse[4] = 1;
        },
        unused);
    // The same counts under another selector change nothing, and a block-type selector
    // shades other cells.
    CanvasState byType = unused;
    byType.highlight = 3;
    Check(
        kAllRooms, unused, [](LevelRecord& changed) { changed.roomUse[9] = 2; }, byType);
}

TEST_P(RendererRedraw, ChangedAssembliesBlocksAndTilesRedrawEveryRoomThatShowsThem) {
    {
        SCOPED_TRACE("assembly");
        Check(kAllRooms, {}, [](LevelRecord& changed) { changed.assemblies[12].blocks[1] = 77; },
              {});
    }
    CanvasState byType;
    byType.highlight = 5;
    {
        SCOPED_TRACE("block");
        Check(
            kAllRooms, byType, [](LevelRecord& changed) { changed.blocks[13].attributes = 0x52; },
            byType);
    }
    {
        SCOPED_TRACE("tile");
        Check(kAllRooms, {}, [](LevelRecord& changed) { changed.tiles[16 * 3 + 4] = 0x5A; }, {});
    }
}

TEST_P(RendererRedraw, AnotherSelectedRoomAndAnotherScroll) {
    CanvasState next;
    next.selectedItem = 2;
    Check(kAllRooms, {}, PaintTwoRooms, next);
    CanvasState scrolled;
    scrolled.scroll = 32;
    Check(
        kAllRooms, {}, [](LevelRecord&) {}, scrolled);
}

TEST_P(RendererRedraw, OneRoomAtFullSizeUnderThePointer) {
    CanvasState pointer;
    pointer.selectedItem = 0;
    pointer.pointerColumn = 1;
    CanvasState moved = pointer;
    moved.pointerColumn = 5;
    Check(
        kOneRoom, pointer, [](LevelRecord& changed) { changed.rooms[6].cells[17] = 3; }, pointer);
    Check(
        kOneRoom, pointer, [](LevelRecord& changed) { changed.rooms[6].cells[18] = 4; }, moved);
    CanvasState unused = moved;
    unused.highlight = kHighlightUnused;
    ASSERT_EQ(level->roomUse[6], 0);
    Check(
        kOneRoom, moved, [](LevelRecord& used) { used.roomUse[6] = 2; }, unused);
}

TEST_P(RendererRedraw, WhatElseWritesIntoTheSurfaceIsDrawnOver) {
    CRenderer renderer;
    TestDisplay display(GetParam());
    Prepare(renderer, kAllRooms, {});
    RenderTestFrame(renderer, display, window);
    // Another renderer draws into the same surface, then a fill covers part of it.
    CRenderer other;
    Prepare(other, kOneRoom, {});
    RenderTestFrame(other, display, QSize(256, 256));
    Prepare(renderer, kAllRooms, {});
    ASSERT_EQ(RenderTestFrame(renderer, display, window), Fresh(kAllRooms, {}));
    ASSERT_EQ(display.surface.Fill({0, 0, 40, 40}, 0x00FF00, 0), kDisplayOk);
    PaintTwoRooms(*level);
    Prepare(renderer, kAllRooms, {});
    EXPECT_EQ(RenderTestFrame(renderer, display, window), Fresh(kAllRooms, {}));
}

INSTANTIATE_TEST_SUITE_P(Depths, RendererRedraw, ::testing::Values(32, 24, 16));

} // namespace
} // namespace korvane
