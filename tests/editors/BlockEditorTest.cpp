// The block editor: painting tiles, the block type and palette, copy and paste, the dropper,
// highlights and palette sets.
#include "EditorTestSupport.h"
#include "editors/CBlockEditorDlg.h"

namespace korvane {
namespace {

using test::Canvas;
using test::ClickItem;
using test::Find;

// Screen pixels of one item: blocks on the Blocks canvas (2 cells at scale 1), quarters on the
// edit canvas (1 cell at scale 4), tiles on the Tiles canvas (1 cell at scale 2).
constexpr int kBlockPixels = 16;
constexpr int kQuarterPixels = 32;
constexpr int kTilePixels = 16;
constexpr int kPageRowHeight = 64;
constexpr int kPaletteRowHeight = 16;

class BlockEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        level_ = test::DemoLevel(1);
        // Known blocks: block b has tiles b, b+1, b+2, b+3 and attribute b.
        for (int b = 0; b < kBlockCount; ++b) {
            Block& block = level_->blocks[static_cast<std::size_t>(b)];
            for (int k = 0; k < 4; ++k) {
                block.tiles[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(b + k);
            }
            block.attributes = static_cast<std::uint8_t>(b);
        }
        original_ = std::make_unique<LevelRecord>(*level_);
    }
    CBlockEditorDlg& Open() {
        dialog_ = std::make_unique<CBlockEditorDlg>(display_.context, *level_);
        dialog_->show();
        return *dialog_;
    }
    CCanvasControl& blocks() { return Canvas(*dialog_, 1007); }
    CCanvasControl& edit() { return Canvas(*dialog_, 1098); }
    CCanvasControl& tiles() { return Canvas(*dialog_, 1017); }
    CColourListControl& paletteList() { return Find<CColourListControl>(*dialog_, 1018); }
    CColourListControl& pageList() { return Find<CColourListControl>(*dialog_, 1029); }
    QComboBox& typeCombo() { return Find<QComboBox>(*dialog_, 1025); }
    void SelectBlock(int block) { ClickItem(blocks(), block % 16, block / 16, kBlockPixels); }
    void SelectTile(int tile) { ClickItem(tiles(), tile % 16, tile / 16, kTilePixels); }
    void ClickQuarter(int quarter) { ClickItem(edit(), quarter % 2, quarter / 2, kQuarterPixels); }
    const Block& WorkingBlock(int block) {
        return dialog_->workingCopy().blocks[static_cast<std::size_t>(block)];
    }

    test::EditorDisplay display_;
    std::unique_ptr<LevelRecord> level_;
    std::unique_ptr<LevelRecord> original_;
    std::unique_ptr<CBlockEditorDlg> dialog_;
};

TEST_F(BlockEditorTest, OpensWithItsTitleAndControls) {
    CBlockEditorDlg& dialog = Open();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Block Editor"));
    EXPECT_EQ(blocks().size(), QSize(256, 256));
    EXPECT_EQ(edit().size(), QSize(64, 64));
    EXPECT_EQ(tiles().size(), QSize(256, 256));
    EXPECT_EQ(typeCombo().count(), 16);
    EXPECT_EQ(typeCombo().itemText(5), QStringLiteral("5: spikes/lava"));
    EXPECT_EQ(typeCombo().itemText(15), QStringLiteral("F: ???"));
    EXPECT_EQ(typeCombo().currentIndex(), 0); // block 0's type
    ASSERT_EQ(paletteList().rowCount(), 4);
    EXPECT_EQ(paletteList().cellText(0, 2), QStringLiteral("Set #1, Pal #3"));
    EXPECT_EQ(paletteList().SelectedRow(4), 0); // block 0's palette
    EXPECT_EQ(paletteList().columnWidth(1), 64);
    EXPECT_EQ(paletteList().columnWidth(2), 24);
    EXPECT_EQ(paletteList().columnWidth(0), paletteList().clientWidth() - 64 - 24);
    EXPECT_EQ(paletteList().cellText(2, 0).size(), 2); // the effect code as two hex digits
    // Grid spacing in screen pixels: 16, 32 and 16.
    EXPECT_EQ(blocks().renderer().grid().spacing, 16);
    EXPECT_EQ(edit().renderer().grid().spacing, 32);
    EXPECT_EQ(tiles().renderer().grid().spacing, 16);
    EXPECT_EQ(blocks().renderer().frame().size, 2);
    EXPECT_EQ(edit().renderer().frame().size, 1);
    EXPECT_EQ(dialog.workingCopy(), *original_);
}

TEST_F(BlockEditorTest, PaintsTile7FIntoQuarter3OfBlock12) {
    Open();
    SelectBlock(12);
    EXPECT_EQ(edit().renderer().currentBlock(), 12);
    SelectTile(0x7F);
    EXPECT_EQ(dialog_->selectedPart(), 0x7F);
    ClickQuarter(3);
    EXPECT_EQ(dialog_->lastCell(), 3);
    EXPECT_EQ(WorkingBlock(12).tiles[3], 0x7F);
    LevelRecord expected = *original_;
    expected.blocks[12].tiles[3] = 0x7F;
    EXPECT_EQ(dialog_->workingCopy(), expected);
    EXPECT_EQ(*level_, *original_); // nothing reaches the level before OK

    // Block 12's bottom-right tile in the edit canvas and at column 12, row 0 of the Blocks
    // canvas (its cells 24-25 by 0-1).
    const auto pattern = test::TilePattern(*level_, 0x7F);
    ASSERT_NE(pattern, test::TilePattern(*level_, 12 + 3));
    EXPECT_EQ(edit().renderer().cell(1, 1).pattern, pattern);
    EXPECT_EQ(blocks().renderer().cell(25, 1).pattern, pattern);
    EXPECT_EQ(blocks().renderer().cell(24, 1).pattern, test::TilePattern(*level_, 12 + 2));

    test::ClickButton(*dialog_, 1);
    expected.blocks[12].tiles[3] = 0x7F;
    EXPECT_EQ(*level_, expected);
}

TEST_F(BlockEditorTest, TypeThenPaletteRowRewriteTheAttribute) {
    level_->blocks[12].attributes = 0x23;
    Open();
    SelectBlock(12);
    EXPECT_EQ(typeCombo().currentIndex(), 2);
    EXPECT_EQ(paletteList().SelectedRow(4), 3);
    test::Choose(typeCombo(), 5);
    EXPECT_EQ(WorkingBlock(12).attributes, 0x53);
    test::ClickRow(paletteList(), 1, kPaletteRowHeight);
    EXPECT_EQ(WorkingBlock(12).attributes, 0x51);
    EXPECT_EQ(paletteList().SelectedRow(4), 1);
    EXPECT_EQ(typeCombo().currentIndex(), 5);
    // The tiles now show in palette 1 of the set; the edit canvas draws block 12 in its palette.
    EXPECT_EQ(tiles().renderer().tilePalette(), 1);
    EXPECT_EQ(edit().renderer().cell(0, 0).palette, 1);
}

TEST_F(BlockEditorTest, ABlockWithBits2And3SetShowsNoPaletteRowUntilOneIsClicked) {
    level_->blocks[7].attributes = 0x2D; // type 2, palette bits 01, bits 2-3 set
    Open();
    SelectBlock(7);
    EXPECT_EQ(paletteList().SelectedRow(4), 4);
    for (int row = 0; row < 4; ++row) {
        EXPECT_FALSE(paletteList().isSelected(row)) << row;
    }
    // Choosing a type keeps the low nibble, bits 2-3 included.
    test::Choose(typeCombo(), 6);
    EXPECT_EQ(WorkingBlock(7).attributes, 0x6D);
    EXPECT_EQ(paletteList().SelectedRow(4), 4);
    // Clicking a row clears bits 2-3.
    test::ClickRow(paletteList(), 2, kPaletteRowHeight);
    EXPECT_EQ(WorkingBlock(7).attributes, 0x62);
    EXPECT_EQ(paletteList().SelectedRow(4), 2);
}

TEST_F(BlockEditorTest, CopyBlock3AndPasteItIntoBlock200) {
    Open();
    QPushButton& paste = Find<QPushButton>(*dialog_, 1033);
    EXPECT_FALSE(paste.isEnabled());
    test::ClickButton(*dialog_, 1033); // a disabled Paste does nothing
    EXPECT_EQ(dialog_->undoStack().count(), 0);
    SelectBlock(3);
    test::ClickButton(*dialog_, 1032);
    EXPECT_TRUE(paste.isEnabled());
    EXPECT_EQ(dialog_->clipboard(), (std::vector<std::uint8_t>{3, 4, 5, 6, 3}));
    SelectBlock(200);
    test::ClickButton(*dialog_, 1033);
    EXPECT_EQ(WorkingBlock(200), original_->blocks[3]);
    EXPECT_EQ(WorkingBlock(3), original_->blocks[3]);
    // The pasted attribute shows at once.
    EXPECT_EQ(typeCombo().currentIndex(), 0);
    EXPECT_EQ(paletteList().SelectedRow(4), 3);
    EXPECT_EQ(dialog_->undoStack().undoText(), QStringLiteral("Paste into block 200"));
}

TEST_F(BlockEditorTest, TheDropperPicksTile41AndFramesItAtColumn1Row4) {
    level_->blocks[0].tiles[0] = 0x41;
    Open();
    const SelectionFrameState before = tiles().renderer().frame();
    // Paint does not move the tiles canvas's frame.
    ClickQuarter(1);
    EXPECT_EQ(tiles().renderer().frame().x, before.x);
    EXPECT_EQ(tiles().renderer().frame().y, before.y);

    test::ClickButton(*dialog_, 1035);
    EXPECT_EQ(dialog_->tool(), EditorTool::Dropper);
    EXPECT_EQ(edit().pointerMode(), PointerMode::Dropper);
    const int steps = dialog_->undoStack().count();
    ClickQuarter(0);
    EXPECT_EQ(dialog_->selectedPart(), 0x41);
    EXPECT_EQ(tiles().renderer().frame().x, 1);
    EXPECT_EQ(tiles().renderer().frame().y, 4);
    EXPECT_EQ(dialog_->undoStack().count(), steps); // picking is not a change
    EXPECT_EQ(WorkingBlock(0).tiles[0], 0x41);
}

TEST_F(BlockEditorTest, ShadeAllShadesBlocksAndEditButNeverTheTiles) {
    Open();
    QComboBox& highlights = Find<QComboBox>(*dialog_, 1021);
    ASSERT_EQ(highlights.count(), 19);
    EXPECT_EQ(highlights.currentIndex(), 17);
    test::Choose(highlights, 16);
    auto allShaded = [](const CCanvasControl& canvas, bool shaded) {
        const CRenderer& r = canvas.renderer();
        for (int y = 0; y < r.gridHeight(); ++y) {
            for (int x = 0; x < r.gridWidth(); ++x) {
                if ((r.cell(x, y).shaded != 0) != shaded) {
                    return false;
                }
            }
        }
        return true;
    };
    EXPECT_TRUE(allShaded(blocks(), true));
    EXPECT_TRUE(allShaded(edit(), true));
    EXPECT_TRUE(allShaded(tiles(), false));
    EXPECT_EQ(tiles().renderer().highlight(), -1);
    test::Choose(highlights, 17);
    EXPECT_EQ(blocks().renderer().highlight(), -1);
    EXPECT_EQ(edit().renderer().highlight(), -1);
    EXPECT_TRUE(allShaded(blocks(), false));
}

TEST_F(BlockEditorTest, AnotherPaletteSetRefillsThePaletteListAndKeepsItsRow) {
    Open();
    SelectBlock(2); // palette row 2
    test::ClickRow(paletteList(), 2, kPaletteRowHeight);
    test::ClickRow(pageList(), 3, kPageRowHeight);
    EXPECT_EQ(dialog_->paletteSet(), 3);
    for (CCanvasControl* canvas : {&blocks(), &edit(), &tiles()}) {
        EXPECT_EQ(canvas->renderer().palettePage(), 3);
    }
    EXPECT_EQ(paletteList().cellText(0, 1), QStringLiteral("Set #4, Pal #2"));
    const PaletteSet& set = original_->paletteSets[3];
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(
            paletteList().cellText(2, row),
            QStringLiteral("%1")
                .arg(set.effectCodes()[static_cast<std::size_t>(row)], 2, 16, QLatin1Char('0'))
                .toUpper());
    }
    EXPECT_EQ(paletteList().SelectedRow(4), 2);
    EXPECT_EQ(tiles().renderer().tilePalette(), 2);
    // Selecting another block does not change the tiles' palette.
    SelectBlock(1);
    EXPECT_EQ(tiles().renderer().tilePalette(), 2);
    EXPECT_EQ(dialog_->workingCopy(), *original_);
}

} // namespace
} // namespace korvane
