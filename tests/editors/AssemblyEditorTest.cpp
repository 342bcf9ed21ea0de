// The assembly editor: the scrolled Assemblies canvas, painting blocks, the dropper, copy and
// paste, palette sets.
#include "EditorTestSupport.h"
#include "editors/CAssemblyEditorDlg.h"
#include "graphics/NesColours.h"

namespace korvane {
namespace {

using test::Canvas;
using test::ClickItem;

// Screen pixels of one item: assemblies on the Assemblies canvas (4 cells at scale 1), blocks
// on the edit canvas (2 cells at scale 2) and on the Blocks canvas (2 cells at scale 1).
constexpr int kAssemblyPixels = 32;
constexpr int kQuarterPixels = 32;
constexpr int kBlockPixels = 16;

class AssemblyEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        level_ = test::DemoLevel(2);
        // Assembly a holds blocks a, a+1, a+2, a+3.
        for (int a = 0; a < kAssemblyCount; ++a) {
            for (int j = 0; j < 4; ++j) {
                level_->assemblies[static_cast<std::size_t>(a)]
                    .blocks[static_cast<std::size_t>(j)] = static_cast<std::uint8_t>(a + j);
            }
        }
        original_ = std::make_unique<LevelRecord>(*level_);
        dialog_ = std::make_unique<CAssemblyEditorDlg>(display_.context, *level_);
        dialog_->show();
    }
    CCanvasControl& assemblies() { return Canvas(*dialog_, 1006); }
    CCanvasControl& edit() { return Canvas(*dialog_, 1049); }
    CCanvasControl& blocks() { return Canvas(*dialog_, 1007); }
    const Assembly& Working(int a) {
        return dialog_->workingCopy().assemblies[static_cast<std::size_t>(a)];
    }

    test::EditorDisplay display_;
    std::unique_ptr<LevelRecord> level_;
    std::unique_ptr<LevelRecord> original_;
    std::unique_ptr<CAssemblyEditorDlg> dialog_;
};

TEST_F(AssemblyEditorTest, Assembly255IsPickedFromTheScrolledCanvas) {
    EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("Assembly Editor"));
    // 8 of the 32 assembly columns show; the bar takes 16 pixels below.
    EXPECT_EQ(assemblies().size(), QSize(256, 272));
    test::ScrollToEnd(assemblies());
    EXPECT_EQ(assemblies().scrollPosition(), 96);
    // Column 31, row 7 is the last window column of assemblies.
    ClickItem(assemblies(), 7, 7, kAssemblyPixels);
    EXPECT_EQ(dialog_->selectedItem(), 255);
    EXPECT_EQ(edit().renderer().currentAssembly(), 255);
    // Selecting is not a change and does not scroll back.
    EXPECT_EQ(assemblies().scrollPosition(), 96);
    EXPECT_EQ(dialog_->undoStack().count(), 0);
}

TEST_F(AssemblyEditorTest, Block10IntoQuarter1OfAssembly40ScrollsTheCanvasBackToItsStart) {
    // Assembly 40 is column 8, row 1: one page (8 columns) to the right.
    assemblies().scrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    ASSERT_EQ(assemblies().scrollPosition(), 32);
    ClickItem(assemblies(), 0, 1, kAssemblyPixels);
    ASSERT_EQ(dialog_->selectedItem(), 40);
    ClickItem(blocks(), 0x10 % 16, 0x10 / 16, kBlockPixels);
    ClickItem(edit(), 1, 0, kQuarterPixels);
    EXPECT_EQ(Working(40).blocks[1], 0x10);
    LevelRecord expected = *original_;
    expected.assemblies[40].blocks[1] = 0x10;
    EXPECT_EQ(dialog_->workingCopy(), expected);
    EXPECT_EQ(assemblies().scrollPosition(), 0);
    EXPECT_EQ(assemblies().scrollBar()->value(), 0);

    // The new block's top-left tile in the edit canvas (quarter 1: cells 2-3 by 0-1) and in the
    // Assemblies canvas at assembly column 8, row 1 (quarter 1: cells 34-35 by 4-5).
    const Block& block10 = level_->blocks[0x10];
    const auto pattern = test::TilePattern(*level_, block10.tiles[0]);
    EXPECT_EQ(edit().renderer().cell(2, 0).pattern, pattern);
    EXPECT_EQ(assemblies().renderer().cell(34, 4).pattern, pattern);
    EXPECT_EQ(assemblies().renderer().cell(35, 5).pattern,
              test::TilePattern(*level_, block10.tiles[3]));
}

TEST_F(AssemblyEditorTest, TheDropperFramesBlock33AtColumn3Row3) {
    level_->assemblies[9].blocks[2] = 0x33;
    dialog_ = std::make_unique<CAssemblyEditorDlg>(display_.context, *level_);
    dialog_->show();
    // Assembly 9 is column 9: one page (8 columns) to the right.
    assemblies().scrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    ClickItem(assemblies(), 1, 0, kAssemblyPixels);
    ASSERT_EQ(dialog_->selectedItem(), 9);
    test::ClickButton(*dialog_, 1035);
    ClickItem(edit(), 0, 1, kQuarterPixels);
    EXPECT_EQ(dialog_->selectedPart(), 0x33);
    // Block 0x33 is column 3, row 3 of 16 x 16 blocks: cells 6, 6.
    EXPECT_EQ(blocks().renderer().frame().x, 6);
    EXPECT_EQ(blocks().renderer().frame().y, 6);
    EXPECT_EQ(dialog_->undoStack().count(), 0);
}

TEST_F(AssemblyEditorTest, CopyAssembly7PasteIntoAssembly8) {
    ClickItem(assemblies(), 7, 0, kAssemblyPixels);
    test::ClickButton(*dialog_, 1032);
    EXPECT_EQ(dialog_->clipboard(), (std::vector<std::uint8_t>{7, 8, 9, 10}));
    assemblies().scrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    ClickItem(assemblies(), 0, 0, kAssemblyPixels);
    ASSERT_EQ(dialog_->selectedItem(), 8);
    test::ClickButton(*dialog_, 1033);
    EXPECT_EQ(Working(8), original_->assemblies[7]);
    EXPECT_EQ(dialog_->undoStack().undoText(), QStringLiteral("Paste into assembly 8"));
}

TEST_F(AssemblyEditorTest, AnotherPaletteSetRedrawsAllThreeCanvasesAndChangesNoAssembly) {
    test::ClickRow(test::Find<CColourListControl>(*dialog_, 1029), 4, 64);
    EXPECT_EQ(dialog_->paletteSet(), 4);
    for (CCanvasControl* canvas : {&assemblies(), &edit(), &blocks()}) {
        EXPECT_EQ(canvas->renderer().palettePage(), 4);
        // The colour table follows set 4: palette 0, colour 1.
        EXPECT_EQ(canvas->renderer().SurfaceColour(0, 0, 1),
                  NesToSurfaceColour(original_->paletteSets[4].colour(0, 1)));
    }
    // A reload after an edit gives the canvases the chosen set back.
    ClickItem(edit(), 0, 0, kQuarterPixels);
    for (CCanvasControl* canvas : {&assemblies(), &edit()}) {
        EXPECT_EQ(canvas->renderer().palettePage(), 4);
    }
    // Highlights reach all three canvases here.
    test::Choose(test::Find<QComboBox>(*dialog_, 1021), 3);
    for (CCanvasControl* canvas : {&assemblies(), &edit(), &blocks()}) {
        EXPECT_EQ(canvas->renderer().highlight(), 3);
    }
}

} // namespace
} // namespace korvane
