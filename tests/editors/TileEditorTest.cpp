// The tile editor: its opening state, painting strokes, the bucket and the dropper, the tile
// commands with their exact bytes, copy and paste, the palette rows, the unused-tile shading,
// imports of either half through "Tiles import" (answered without a window), the pages shared
// with other copies, OK and Cancel, and undo and redo of every kind of step.
#include "EditorTestSupport.h"
#include "editors/CColourSelectorControl.h"
#include "editors/CPixelEditorControl.h"
#include "editors/CTileEditorDlg.h"
#include "editors/CTileImportDlg.h"
#include "gamedata/GameData.h"
#include "tools/DemoCartridge.h"

#include <QHeaderView>
#include <QLabel>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>

namespace korvane {
namespace {

using test::Canvas;
using test::ClickItem;
using test::Find;
using Tile = std::array<std::uint8_t, 16>;

constexpr int kTilePixels = 16; // a tile of the overview: one cell at scale 2
constexpr int kPaletteRowHeight = 16;

// Tile 5: pixel (0, 0) = 1, (1, 0) = 2, (0, 2) = 3, every other pixel 0.
constexpr Tile kAsymmetric{0x80, 0, 0x80, 0, 0, 0, 0, 0, 0x40, 0, 0x80, 0, 0, 0, 0, 0};
// The same picture turned and mirrored, worked out pixel by pixel.
// Clockwise, (x, y) -> (7 - y, x): 1 at (7, 0), 2 at (7, 1), 3 at (5, 0).
constexpr Tile kClockwise{0x05, 0, 0, 0, 0, 0, 0, 0, 0x04, 0x01, 0, 0, 0, 0, 0, 0};
// Counter-clockwise, (x, y) -> (y, 7 - x): 1 at (0, 7), 2 at (0, 6), 3 at (2, 7).
constexpr Tile kCounterClockwise{0, 0, 0, 0, 0, 0, 0, 0xA0, 0, 0, 0, 0, 0, 0, 0x80, 0x20};
// Left-right: 1 at (7, 0), 2 at (6, 0), 3 at (7, 2).
constexpr Tile kMirroredLeftRight{0x01, 0, 0x01, 0, 0, 0, 0, 0, 0x02, 0, 0x01, 0, 0, 0, 0, 0};
// Top-bottom: 1 at (0, 7), 2 at (1, 7), 3 at (0, 5).
constexpr Tile kMirroredTopBottom{0, 0, 0, 0, 0, 0x80, 0, 0x80, 0, 0, 0, 0, 0, 0x80, 0, 0x40};
// One column left, column 0 wrapping to 7: 1 at (7, 0), 2 at (0, 0), 3 at (7, 2).
constexpr Tile kShiftedLeft{0x01, 0, 0x01, 0, 0, 0, 0, 0, 0x80, 0, 0x01, 0, 0, 0, 0, 0};
// One row up, row 0 wrapping to 7: 1 at (0, 7), 2 at (1, 7), 3 at (0, 1).
constexpr Tile kShiftedUp{0, 0x80, 0, 0, 0, 0, 0, 0x80, 0, 0x80, 0, 0, 0, 0, 0, 0x40};
// One column right: 1 at (1, 0), 2 at (2, 0), 3 at (1, 2). Plane 0 (bit 7 is x 0): row 0 has
// x 1 (0x40), row 2 x 1 (0x40); plane 1: row 0 x 2 (0x20), row 2 x 1 (0x40).
constexpr Tile kShiftedRight{0x40, 0, 0x40, 0, 0, 0, 0, 0, 0x20, 0, 0x40, 0, 0, 0, 0, 0};
// One row down: 1 at (0, 1), 2 at (1, 1), 3 at (0, 3). Plane 0: rows 1 and 3 x 0 (0x80);
// plane 1: row 1 x 1 (0x40), row 3 x 0 (0x80).
constexpr Tile kShiftedDown{0, 0x80, 0, 0x80, 0, 0, 0, 0, 0, 0x40, 0, 0x80, 0, 0, 0, 0};
// Every pixel colour 1, or colour 2.
constexpr Tile kAllOne{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr Tile kAllTwo{0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

// A tile whose 16 bytes all differ from those of the other tiles around it.
Tile Distinct(int tile) {
    Tile bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(tile * 31 + static_cast<int>(i) * 7 + 1);
    }
    return bytes;
}

class TileEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        level_ = test::DemoLevel(1);
        for (int t = 0; t < 256; ++t) {
            SetTile(*level_, t, Distinct(t));
            // Tiles 0, 3, 6, ... are used somewhere in the level; the others are not.
            level_->tileUse[static_cast<std::size_t>(t)] = t % 3 == 0 ? 2 : 0;
        }
        SetTile(*level_, 5, kAsymmetric);
        // Palette row 7 (set 2, palette 4) has colours that differ from row 0's.
        level_->paletteSets[1].bytes[12] = 0x0F;
        level_->paletteSets[1].bytes[13] = 0x21;
        level_->paletteSets[1].bytes[14] = 0x16;
        level_->paletteSets[1].bytes[15] = 0x30;
        level_->paletteSets[0].bytes[0] = 0x0D;
        level_->paletteSets[0].bytes[1] = 0x11;
        level_->paletteSets[0].bytes[2] = 0x2A;
        level_->paletteSets[0].bytes[3] = 0x38;
        original_ = std::make_unique<LevelRecord>(*level_);
    }
    static void SetTile(LevelRecord& level, int tile, const Tile& bytes) {
        std::copy(bytes.begin(), bytes.end(),
                  level.tiles.begin() + static_cast<std::ptrdiff_t>(tile) * 16);
    }
    CTileEditorDlg& Open() {
        dialog_ = std::make_unique<CTileEditorDlg>(display_.context, *level_);
        dialog_->show();
        return *dialog_;
    }
    CCanvasControl& overview() { return Canvas(*dialog_, 1017); }
    CPixelEditorControl& pixels() { return Find<CPixelEditorControl>(*dialog_, 1103); }
    CColourSelectorControl& selector() { return Find<CColourSelectorControl>(*dialog_, 1105); }
    CColourListControl& paletteList() { return Find<CColourListControl>(*dialog_, 1018); }
    QComboBox& highlights() { return Find<QComboBox>(*dialog_, 1084); }
    QPushButton& button(int id) { return Find<QPushButton>(*dialog_, id); }
    void Click(int id) { test::ClickButton(*dialog_, id); }
    void SelectTile(int tile) { ClickItem(overview(), tile % 16, tile / 16, kTilePixels); }
    void PickRow(int row) { test::ClickRow(paletteList(), row, kPaletteRowHeight); }
    Tile Working(int tile) { return test::TilePattern(dialog_->workingCopy(), tile); }
    Tile Shown(int tile) { return overview().renderer().cell(tile % 16, tile / 16).pattern; }
    int Steps() { return dialog_->undoStack().count(); }
    void Undo() { test::ClickNamedButton(*dialog_, "undo"); }
    void Redo() { test::ClickNamedButton(*dialog_, "redo"); }
    // The overview, the pixel editor and the working copy agree on every tile.
    void ExpectShownAsWorking() {
        for (int t = 0; t < 256; ++t) {
            ASSERT_EQ(Shown(t), Working(t)) << "tile " << t;
        }
        EXPECT_EQ(pixels().ReadTile(), Working(dialog_->selectedTile()));
    }
    // The overview draws in the set and palette of palette row row.
    void ExpectOverviewInRow(int row) {
        EXPECT_EQ(overview().renderer().palettePage(), row / 4);
        EXPECT_EQ(overview().renderer().tilePalette(), row % 4);
        EXPECT_EQ(overview().renderer().cell(9, 3).palette, row % 4);
    }

    test::EditorDisplay display_;
    std::unique_ptr<LevelRecord> level_;
    std::unique_ptr<LevelRecord> original_;
    std::unique_ptr<CTileEditorDlg> dialog_;
};

TEST_F(TileEditorTest, OpensOnTile0Row0PaintLeft1Right0NoShadingGridShown) {
    CTileEditorDlg& dialog = Open();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tile Editor"));
    EXPECT_EQ(dialog.selectedTile(), 0);
    EXPECT_EQ(dialog.selectedPaletteRow(), 0);
    EXPECT_EQ(dialog.pixelTool(), PixelTool::Paint);
    EXPECT_TRUE(button(1031).isChecked());
    EXPECT_FALSE(button(1035).isChecked());
    EXPECT_FALSE(button(1036).isChecked());
    EXPECT_EQ(pixels().tool(), PixelTool::Paint);
    EXPECT_EQ(pixels().leftColour(), 1);
    EXPECT_EQ(pixels().rightColour(), 0);
    EXPECT_EQ(pixels().dataMode(), PixelDataMode::Tile);
    EXPECT_EQ(pixels().size(), QSize(132, 132));
    EXPECT_EQ(pixels().ReadTile(), Distinct(0));
    EXPECT_EQ(pixels().colourTable(),
              (std::vector<QRgb>{test::NesColour(0x0D), test::NesColour(0x11),
                                 test::NesColour(0x2A), test::NesColour(0x38)}));
    EXPECT_EQ(selector().rows(), 2);
    EXPECT_EQ(selector().cellCount(), 4);
    EXPECT_EQ(selector().GetLeftSelection(), 1);
    EXPECT_EQ(selector().GetRightSelection(), 0);

    // The overview: 16 x 16 tiles at scale 2, tile 16y + x in cell (x, y), one grid line per
    // tile, a one-cell frame, unshaded, in set 0 and palette 0.
    EXPECT_EQ(overview().size(), QSize(256, 256));
    EXPECT_EQ(overview().renderer().grid().spacing, 16);
    EXPECT_TRUE(overview().renderer().grid().shown);
    EXPECT_EQ(overview().renderer().frame().size, 1);
    EXPECT_EQ(Shown(0x37), Distinct(0x37));
    EXPECT_EQ(Shown(5), kAsymmetric);
    ExpectOverviewInRow(0);
    EXPECT_EQ(dialog.highlightSelector(), -1);
    EXPECT_EQ(button(1060).property("bitmap").toInt(), 142);

    ASSERT_EQ(highlights().count(), 2);
    EXPECT_EQ(highlights().itemText(0), QStringLiteral("No shading"));
    EXPECT_EQ(highlights().itemText(1), QStringLiteral("Unused stuff in this level"));
    EXPECT_EQ(highlights().currentIndex(), 0);

    // The palette list: 20 rows "Set #s, Pal #p", their effect codes, three columns.
    ASSERT_EQ(paletteList().rowCount(), 20);
    EXPECT_EQ(paletteList().cellText(0, 0), QStringLiteral("Set #1, Pal #1"));
    EXPECT_EQ(paletteList().cellText(0, 7), QStringLiteral("Set #2, Pal #4"));
    EXPECT_EQ(paletteList().cellText(0, 19), QStringLiteral("Set #5, Pal #4"));
    const int fx = level_->paletteSets[2].bytes[18];
    EXPECT_EQ(paletteList().cellText(2, 10),
              QStringLiteral("%1").arg(fx, 2, 16, QLatin1Char('0')).toUpper());
    EXPECT_EQ(paletteList().header()->model()->headerData(0, Qt::Horizontal).toString(),
              QStringLiteral("Index"));
    EXPECT_EQ(paletteList().header()->model()->headerData(1, Qt::Horizontal).toString(),
              QStringLiteral("Palette"));
    EXPECT_EQ(paletteList().header()->model()->headerData(2, Qt::Horizontal).toString(),
              QStringLiteral("Fx"));
    EXPECT_EQ(paletteList().columnWidth(1), 64);
    EXPECT_EQ(paletteList().columnWidth(2), 24);
    EXPECT_EQ(paletteList().columnWidth(0), paletteList().clientWidth() - 88);
    EXPECT_EQ(paletteList().SelectedRow(20), 0);

    // The sixteen tool pictures.
    const std::pair<int, int> pictures[] = {{1032, 139}, {1033, 146}, {1048, 141}, {1031, 145},
                                            {1035, 140}, {1036, 138}, {1037, 150}, {1038, 152},
                                            {1039, 149}, {1040, 151}, {1041, 143}, {1042, 144},
                                            {1043, 147}, {1044, 148}, {1060, 142}};
    for (const auto& [id, bitmap] : pictures) {
        EXPECT_EQ(button(id).property("bitmap").toInt(), bitmap) << id;
        EXPECT_FALSE(button(id).icon().isNull()) << id;
    }
    EXPECT_FALSE(button(1033).isEnabled());
    EXPECT_EQ(button(1113).text(), QStringLiteral("Import first half of tiles from another game"));
    EXPECT_EQ(button(1046).text(), QStringLiteral("Import second half of tiles from another game"));
    EXPECT_EQ(Steps(), 0);
    EXPECT_EQ(dialog.workingCopy(), *original_);
}

TEST_F(TileEditorTest, AStrokeOverManyPixelsIsOneStepAndShowsAtOnce) {
    Open();
    SelectTile(9);
    EXPECT_EQ(pixels().ReadTile(), Distinct(9));
    // Left colour 2 from the selector, then a stroke along row 3 and down column 7.
    test::ClickColourCell(selector(), selector().CellRect(2));
    EXPECT_EQ(pixels().leftColour(), 2);
    test::PressPixel(pixels(), 0, 3);
    for (int x = 1; x < 8; ++x) {
        test::DragToPixel(pixels(), x, 3);
    }
    for (int y = 4; y < 8; ++y) {
        test::DragToPixel(pixels(), 7, y);
    }
    // Every pixel painted shows at once in the overview.
    Tile expected = Distinct(9);
    expected[3] = 0x00;
    expected[11] = 0xFF;
    for (int y = 4; y < 8; ++y) {
        expected[static_cast<std::size_t>(y)] &= 0xFE;
        expected[static_cast<std::size_t>(8 + y)] |= 0x01;
    }
    EXPECT_EQ(Shown(9), expected);
    EXPECT_EQ(Steps(), 0);
    test::ReleasePixel(pixels(), 7, 7);
    EXPECT_EQ(Working(9), expected);
    ASSERT_EQ(Steps(), 1);
    EXPECT_EQ(dialog_->undoStack().undoText(), QStringLiteral("Paint tile $09"));
    ExpectShownAsWorking();

    Undo();
    EXPECT_EQ(Working(9), Distinct(9));
    ExpectShownAsWorking();
    Redo();
    EXPECT_EQ(Working(9), expected);
    ExpectShownAsWorking();

    test::ClickButton(*dialog_, 1);
    EXPECT_EQ(test::TilePattern(*level_, 9), expected);
}

TEST_F(TileEditorTest, APressThatChangesNothingMakesNoStep) {
    Open();
    SelectTile(5); // pixel (0, 0) is 1, the left colour
    test::ClickPixel(pixels(), 0, 0);
    EXPECT_EQ(Steps(), 0);
    // A bucket press on colour 1 with colour 1, and a dropper press.
    Click(1036);
    test::ClickPixel(pixels(), 0, 0);
    Click(1035);
    test::ClickPixel(pixels(), 1, 0);
    EXPECT_EQ(Steps(), 0);
    EXPECT_EQ(dialog_->workingCopy(), *original_);
}

TEST_F(TileEditorTest, TheBucketFillsTheAreaAsOneStep) {
    Open();
    SelectTile(5);
    Click(1036);
    EXPECT_EQ(dialog_->pixelTool(), PixelTool::Bucket);
    EXPECT_TRUE(button(1036).isChecked());
    EXPECT_FALSE(button(1031).isChecked());
    EXPECT_EQ(pixels().tool(), PixelTool::Bucket);
    // The 0-area of tile 5 (everything but the three coloured pixels) becomes 1: only (1, 0) = 2
    // and (0, 2) = 3 stay.
    test::ClickPixel(pixels(), 4, 4);
    const Tile filled{0xBF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x40, 0, 0x80, 0, 0, 0, 0, 0};
    EXPECT_EQ(Working(5), filled);
    ASSERT_EQ(Steps(), 1);
    EXPECT_EQ(dialog_->undoStack().undoText(), QStringLiteral("Fill tile $05"));
    Undo();
    EXPECT_EQ(Working(5), kAsymmetric);
    ExpectShownAsWorking();
}

TEST_F(TileEditorTest, EachCommandGivesTheExactBytesAndTheRepeatsRestoreTheTile) {
    Open();
    SelectTile(5);
    const struct {
        int id;
        Tile once;
        int repeats; // presses that bring the tile back
        const char* text;
    } commands[] = {
        {1043, kCounterClockwise, 4, "Rotate tile $05 counter-clockwise"},
        {1044, kClockwise, 4, "Rotate tile $05 clockwise"},
        {1041, kMirroredLeftRight, 2, "Mirror tile $05 left-right"},
        {1042, kMirroredTopBottom, 2, "Mirror tile $05 top-bottom"},
        {1037, kShiftedLeft, 8, "Shift tile $05 left"},
        {1038, kShiftedUp, 8, "Shift tile $05 up"},
        {1040, kShiftedRight, 8, "Shift tile $05 right"},
        {1039, kShiftedDown, 8, "Shift tile $05 down"},
    };
    for (const auto& command : commands) {
        const int before = Steps();
        Click(command.id);
        EXPECT_EQ(Working(5), command.once) << command.text;
        EXPECT_EQ(Shown(5), command.once) << command.text;
        EXPECT_EQ(pixels().ReadTile(), command.once) << command.text;
        EXPECT_EQ(Steps(), before + 1);
        EXPECT_EQ(dialog_->undoStack().undoText(), QString::fromLatin1(command.text));
        for (int i = 1; i < command.repeats; ++i) {
            Click(command.id);
        }
        EXPECT_EQ(Working(5), kAsymmetric) << command.text;
    }
    // One clockwise and one counter-clockwise turn restore it too.
    Click(1044);
    Click(1043);
    EXPECT_EQ(Working(5), kAsymmetric);
    EXPECT_EQ(dialog_->workingCopy(), *original_);
}

TEST_F(TileEditorTest, FEraseAfterARightButtonChoiceFillsWithTheLeftColour) {
    Open();
    SelectTile(5);
    test::ClickColourCell(selector(), selector().CellRect(3), Qt::RightButton);
    EXPECT_EQ(pixels().rightColour(), 3);
    EXPECT_EQ(selector().GetRightSelection(), 3);
    Click(1048);
    EXPECT_EQ(Working(5), kAllOne);
    EXPECT_EQ(dialog_->undoStack().undoText(), QStringLiteral("Erase tile $05 to colour 1"));
    test::ClickColourCell(selector(), selector().CellRect(2));
    Click(1048);
    EXPECT_EQ(Working(5), kAllTwo);
    EXPECT_EQ(Steps(), 2);
}

TEST_F(TileEditorTest, TheDropperSetsTheColourOfItsButton) {
    Open();
    SelectTile(5);
    Click(1035);
    EXPECT_EQ(pixels().tool(), PixelTool::Dropper);
    EXPECT_TRUE(button(1035).isChecked());
    test::ClickPixel(pixels(), 0, 2); // value 3, left button
    EXPECT_EQ(pixels().leftColour(), 3);
    EXPECT_EQ(selector().GetLeftSelection(), 3);
    test::ClickPixel(pixels(), 1, 0, Qt::RightButton); // value 2
    EXPECT_EQ(pixels().rightColour(), 2);
    EXPECT_EQ(selector().GetRightSelection(), 2);
    EXPECT_EQ(pixels().leftColour(), 3);
    // Dragging the dropper: the left colour follows the pixel under the pointer.
    test::PressPixel(pixels(), 0, 0);
    EXPECT_EQ(selector().GetLeftSelection(), 1);
    test::DragToPixel(pixels(), 1, 0);
    EXPECT_EQ(selector().GetLeftSelection(), 2);
    test::DragToPixel(pixels(), 5, 5);
    EXPECT_EQ(selector().GetLeftSelection(), 0);
    test::ReleasePixel(pixels(), 5, 5);
    EXPECT_EQ(Steps(), 0);
}

TEST_F(TileEditorTest, CopyTile5ThenPasteOntoTile9) {
    Open();
    Click(1033); // disabled: nothing
    EXPECT_EQ(Steps(), 0);
    SelectTile(5);
    Click(1032);
    EXPECT_TRUE(button(1033).isEnabled());
    SelectTile(9);
    EXPECT_EQ(dialog_->selectedTile(), 9);
    Click(1033);
    EXPECT_EQ(Working(9), kAsymmetric);
    EXPECT_EQ(Working(5), kAsymmetric);
    EXPECT_EQ(pixels().ReadTile(), kAsymmetric);
    EXPECT_EQ(Shown(9), kAsymmetric);
    EXPECT_EQ(dialog_->undoStack().undoText(), QStringLiteral("Paste onto tile $09"));
    Undo();
    EXPECT_EQ(Working(9), Distinct(9));
    ExpectShownAsWorking();
    // Paste stays enabled; pasting again onto the same bytes is no step.
    Redo();
    Click(1033);
    EXPECT_EQ(Steps(), 1);
}

TEST_F(TileEditorTest, APaletteRowIsWhatTheTilesAreShownWithAfterEveryChange) {
    Open();
    SelectTile(5);
    test::ClickColourCell(selector(), selector().CellRect(2));
    PickRow(7);
    EXPECT_EQ(dialog_->selectedPaletteRow(), 7);
    ExpectOverviewInRow(7);
    const std::vector<QRgb> row7{test::NesColour(0x0F), test::NesColour(0x21),
                                 test::NesColour(0x16), test::NesColour(0x30)};
    EXPECT_EQ(pixels().colourTable(), row7);
    EXPECT_EQ(selector().colours(), row7);
    // The tool's colours and the selector's selections stay.
    EXPECT_EQ(pixels().leftColour(), 2);
    EXPECT_EQ(selector().GetLeftSelection(), 2);
    EXPECT_EQ(pixels().ReadTile(), kAsymmetric);

    test::ClickPixel(pixels(), 3, 3);
    ExpectOverviewInRow(7);
    Click(1037);
    ExpectOverviewInRow(7);
    Click(1032);
    SelectTile(6);
    Click(1033);
    ExpectOverviewInRow(7);
    Undo();
    ExpectOverviewInRow(7);
    Redo();
    ExpectOverviewInRow(7);
    EXPECT_EQ(dialog_->workingCopy().paletteSets, original_->paletteSets);

    // The arrow keys move the list's focus only: nothing changes until a row is clicked.
    QTest::keyClick(&paletteList(), Qt::Key_Down);
    EXPECT_EQ(dialog_->selectedPaletteRow(), 7);
    ExpectOverviewInRow(7);
}

TEST_F(TileEditorTest, UnusedStuffLeavesExactlyTheUnusedTilesUnshaded) {
    Open();
    test::Choose(highlights(), 1);
    EXPECT_EQ(dialog_->highlightSelector(), -2);
    for (int t = 0; t < 256; ++t) {
        const bool used = t % 3 == 0;
        EXPECT_EQ(overview().renderer().cell(t % 16, t / 16).shaded != 0, used) << t;
    }
    // A change keeps the shading.
    SelectTile(4);
    test::ClickPixel(pixels(), 0, 0, Qt::RightButton);
    EXPECT_NE(overview().renderer().cell(3, 0).shaded, 0);
    EXPECT_EQ(overview().renderer().cell(4, 0).shaded, 0);
    test::Choose(highlights(), 0);
    EXPECT_EQ(dialog_->highlightSelector(), -1);
    for (int t = 0; t < 256; ++t) {
        EXPECT_EQ(overview().renderer().cell(t % 16, t / 16).shaded, 0) << t;
    }
}

TEST_F(TileEditorTest, TheGridButtonTogglesTheOverviewGrid) {
    Open();
    Click(1060);
    EXPECT_FALSE(overview().renderer().grid().shown);
    EXPECT_EQ(button(1060).property("bitmap").toInt(), 184);
    Click(1060);
    EXPECT_TRUE(overview().renderer().grid().shown);
    EXPECT_EQ(button(1060).property("bitmap").toInt(), 142);
    EXPECT_EQ(dialog_->gridFlag(), ~0);
}

TEST_F(TileEditorTest, OkWithoutChangesLeavesTheLevelByteForByteAndCancelDropsEdits) {
    const auto before = std::make_unique<LevelRecord>(*level_);
    Open();
    SelectTile(77);
    PickRow(13);
    test::Choose(highlights(), 1);
    Click(1060);
    test::ClickButton(*dialog_, 1);
    EXPECT_EQ(*level_, *before);

    Open();
    Click(1048);
    Click(1041);
    EXPECT_EQ(test::CancelAndDiscard(*dialog_), 1);
    EXPECT_EQ(*level_, *before);
}

TEST_F(TileEditorTest, OkDuringAStrokeKeepsTheStroke) {
    Open();
    SelectTile(8);
    test::PressPixel(pixels(), 2, 2, Qt::RightButton);
    dialog_->accept();
    Tile expected = Distinct(8);
    expected[2] = static_cast<std::uint8_t>(expected[2] & ~0x20);
    expected[10] = static_cast<std::uint8_t>(expected[10] & ~0x20);
    EXPECT_EQ(test::TilePattern(*level_, 8), expected);
}

TEST_F(TileEditorTest, TheSharingLabelNamesWhoElseShowsEachHalf) {
    auto gameData = std::make_unique<GameData>();
    gameData->Decode(*MakeDemoCartridge(1));
    // Level 0 shows pages 72-75, as level 8 does; put its first half on sprite pages 10-11.
    gameData->levels[0].tileBanks[0] = 10;
    Open();
    auto& label = test::FindNamed<QLabel>(*dialog_, "tileSharing");
    EXPECT_TRUE(label.isHidden());
    dialog_->ShowTileSharing(*gameData, 0);
    EXPECT_FALSE(label.isHidden());
    EXPECT_EQ(label.text(), QStringLiteral("Tiles 0-127 are shared with the sprite tiles\n"
                                           "Tiles 128-255 are shared with level 8"));
    gameData->levels[0].tileBanks = {110, 120}; // pages no other copy shows
    dialog_->ShowTileSharing(*gameData, 0);
    EXPECT_TRUE(label.isHidden());
    EXPECT_TRUE(label.text().isEmpty());
}

TEST_F(TileEditorTest, TheSharingLabelWarnsOfTilesPastCharacterMemory) {
    auto gameData = std::make_unique<GameData>();
    gameData->Decode(*MakeDemoCartridge(1));
    level_->tileBanks = {110, 127}; // the second half's second page would be page 128
    gameData->levels[0] = *level_;
    Open();
    dialog_->ShowTileSharing(*gameData, 0);
    auto& label = test::FindNamed<QLabel>(*dialog_, "tileSharing");
    EXPECT_FALSE(label.isHidden());
    EXPECT_EQ(label.text(), QStringLiteral("Tiles 192-255 lie beyond the cartridge's character "
                                           "memory: changes to them cannot be saved"));
}

// Imports: the demo cartridge of seed 2 is the other game.
class TileImportInEditorTest : public TileEditorTest {
protected:
    void SetUp() override {
        TileEditorTest::SetUp();
        ASSERT_TRUE(folder_.isValid());
        other_ = MakeDemoCartridge(2);
        path_ = folder_.filePath(QStringLiteral("other.nes"));
        std::ofstream out(path_.toStdString(), std::ios::binary);
        out.write(reinterpret_cast<const char*>(other_->data()),
                  static_cast<std::streamsize>(other_->size()));
    }
    // The import dialog is answered: the file loaded, Bank # set, then OK or Cancel.
    void AnswerImport(int bank, bool ok) {
        dialog_->SetImportRunner([this, bank, ok](CTileImportDlg& importer) {
            EXPECT_EQ(importer.windowTitle(), QStringLiteral("Tiles import"));
            ++asked_;
            if (!importer.LoadFile(path_)) {
                return false;
            }
            importer.findChild<QSpinBox*>(QStringLiteral("id1109"))->setValue(bank);
            if (ok) {
                importer.accept();
            } else {
                importer.reject();
            }
            return importer.result() == QDialog::Accepted;
        });
    }
    // Tile t of 2 KB slice bank of the other file, from the file's bytes.
    Tile OtherTile(int bank, int t) {
        Tile bytes{};
        const std::size_t at =
            16 + static_cast<std::size_t>(bank) * 0x800 + static_cast<std::size_t>(t) * 16;
        std::copy_n(other_->bytes.begin() + static_cast<std::ptrdiff_t>(at), 16, bytes.begin());
        return bytes;
    }

    QTemporaryDir folder_;
    std::unique_ptr<RomImage> other_;
    QString path_;
    int asked_ = 0;
};

TEST_F(TileImportInEditorTest, TheSecondHalfTakesTheChosenBankAndThePixelEditorFollows) {
    Open();
    SelectTile(130);
    PickRow(6);
    AnswerImport(131, true);
    Click(1046);
    EXPECT_EQ(asked_, 1);
    for (int t = 0; t < 128; ++t) {
        ASSERT_EQ(Working(t), test::TilePattern(*original_, t)) << t;
        ASSERT_EQ(Working(128 + t), OtherTile(131, t)) << t;
    }
    EXPECT_EQ(dialog_->undoStack().undoText(), QStringLiteral("Import tiles 128-255"));
    ExpectShownAsWorking();
    ExpectOverviewInRow(6);
    // The pixel editor shows the imported tile 130, so a pixel painted now keeps the rest of it.
    ASSERT_NE(OtherTile(131, 2), Distinct(130));
    EXPECT_EQ(pixels().ReadTile(), OtherTile(131, 2));
    test::ClickColourCell(selector(), selector().CellRect(3));
    test::ClickPixel(pixels(), 0, 0);
    Tile expected = OtherTile(131, 2);
    expected[0] |= 0x80;
    expected[8] |= 0x80;
    EXPECT_EQ(Working(130), expected);

    Undo();
    Undo();
    EXPECT_EQ(dialog_->workingCopy().tiles, original_->tiles);
    ExpectShownAsWorking();
    Redo();
    EXPECT_EQ(Working(200), OtherTile(131, 72));
    ExpectShownAsWorking();
}

TEST_F(TileImportInEditorTest, TheFirstHalfFromCharacterMemory) {
    Open();
    AnswerImport(128, true);
    Click(1113);
    for (int t = 0; t < 128; ++t) {
        ASSERT_EQ(Working(t), OtherTile(128, t)) << t;
        ASSERT_EQ(Working(128 + t), test::TilePattern(*original_, 128 + t)) << t;
    }
    EXPECT_EQ(dialog_->undoStack().undoText(), QStringLiteral("Import tiles 0-127"));
    // Bank 128 is the first 2 KB of the other file's character memory.
    EXPECT_EQ(Working(0), OtherTile(128, 0));
    EXPECT_TRUE(std::equal(dialog_->workingCopy().tiles.begin(),
                           dialog_->workingCopy().tiles.begin() + 0x800,
                           other_->bytes.begin() + 0x40010));
}

TEST_F(TileImportInEditorTest, ACancelledImportChangesNothingAndCancelAfterAnImportKeepsTheTiles) {
    Open();
    AnswerImport(128, false);
    Click(1113);
    EXPECT_EQ(asked_, 1);
    EXPECT_EQ(Steps(), 0);
    EXPECT_EQ(dialog_->workingCopy(), *original_);

    AnswerImport(129, true);
    Click(1113);
    EXPECT_EQ(Steps(), 1);
    EXPECT_EQ(test::CancelAndDiscard(*dialog_), 1);
    EXPECT_EQ(*level_, *original_);
}

TEST_F(TileEditorTest, UndoAndRedoWalkEveryKindOfStep) {
    Open();
    std::vector<LevelRecord> states{dialog_->workingCopy()};
    auto record = [&] { states.push_back(dialog_->workingCopy()); };
    SelectTile(5);
    test::PressPixel(pixels(), 0, 7);
    test::DragToPixel(pixels(), 1, 7);
    test::DragToPixel(pixels(), 2, 7);
    test::ReleasePixel(pixels(), 2, 7);
    record();
    Click(1036);
    test::ClickPixel(pixels(), 6, 1, Qt::RightButton); // fills with 0 where 0 is: nothing
    test::ClickColourCell(selector(), selector().CellRect(3), Qt::RightButton);
    test::ClickPixel(pixels(), 6, 1, Qt::RightButton);
    record();
    for (int id : {1037, 1038, 1039, 1040, 1041, 1042, 1043, 1044}) {
        Click(id);
        record();
    }
    SelectTile(6);
    Click(1048);
    record();
    Click(1032);
    SelectTile(40);
    Click(1033);
    record();
    const int steps = static_cast<int>(states.size()) - 1;
    ASSERT_EQ(Steps(), steps);
    for (int i = steps; i > 0; --i) {
        EXPECT_EQ(dialog_->workingCopy(), states[static_cast<std::size_t>(i)]) << i;
        Undo();
        ExpectShownAsWorking();
    }
    EXPECT_EQ(dialog_->workingCopy(), states[0]);
    EXPECT_FALSE(test::FindNamed<QPushButton>(*dialog_, "undo").isEnabled());
    for (int i = 1; i <= steps; ++i) {
        Redo();
        EXPECT_EQ(dialog_->workingCopy(), states[static_cast<std::size_t>(i)]) << i;
        ExpectShownAsWorking();
    }
    EXPECT_EQ(test::FindNamed<QPushButton>(*dialog_, "undo").toolTip(),
              QStringLiteral("Undo Paste onto tile $28"));
}

} // namespace
} // namespace korvane
