// The room editor: the scrolled Rooms canvas at a quarter of the size, painting assemblies,
// the dropper, copy and paste.
#include "EditorTestSupport.h"
#include "editors/CRoomEditorDlg.h"

namespace korvane {
namespace {

using test::Canvas;
using test::ClickItem;

// Screen pixels of one item: rooms on the Rooms canvas (32 cells at scale 1/4), assemblies on
// the edit and Assemblies canvases (4 cells at scale 1).
constexpr int kRoomPixels = 64;
constexpr int kAssemblyPixels = 32;

class RoomEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        level_ = test::DemoLevel(3);
        // Room r, cell i holds assembly (r * 8 + i) mod 256.
        for (int r = 0; r < kRoomCount; ++r) {
            for (int i = 0; i < 64; ++i) {
                level_->rooms[static_cast<std::size_t>(r)].cells[static_cast<std::size_t>(i)] =
                    static_cast<std::uint8_t>(r * 8 + i);
            }
        }
        original_ = std::make_unique<LevelRecord>(*level_);
        dialog_ = std::make_unique<CRoomEditorDlg>(display_.context, *level_);
        dialog_->show();
    }
    CCanvasControl& rooms() { return Canvas(*dialog_, 1050); }
    CCanvasControl& edit() { return Canvas(*dialog_, 1051); }
    CCanvasControl& assemblies() { return Canvas(*dialog_, 1006); }
    void SelectAssembly(int a) { ClickItem(assemblies(), a % 16, a / 16, kAssemblyPixels); }

    test::EditorDisplay display_;
    std::unique_ptr<LevelRecord> level_;
    std::unique_ptr<LevelRecord> original_;
    std::unique_ptr<CRoomEditorDlg> dialog_;
};

TEST_F(RoomEditorTest, Room31IsPickedFromTheScrolledCanvas) {
    EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("Room Editor"));
    // Two of the four room columns, 128 x 512 pixels, and the bar below.
    EXPECT_EQ(rooms().size(), QSize(128, 528));
    EXPECT_EQ(edit().size(), QSize(256, 256));
    EXPECT_EQ(assemblies().size(), QSize(512, 512));
    EXPECT_EQ(rooms().renderer().grid().spacing, 64);
    test::ScrollToEnd(rooms());
    EXPECT_EQ(rooms().scrollPosition(), 64);
    ClickItem(rooms(), 1, 7, kRoomPixels); // room column 3, row 7
    EXPECT_EQ(dialog_->selectedItem(), 31);
    EXPECT_EQ(edit().renderer().currentRoom(), 31);
    EXPECT_EQ(rooms().scrollPosition(), 64);
}

TEST_F(RoomEditorTest, AssemblyA0IntoCell63OfRoom5) {
    ClickItem(rooms(), 1, 1, kRoomPixels);
    ASSERT_EQ(dialog_->selectedItem(), 5);
    SelectAssembly(0xA0);
    ClickItem(edit(), 7, 7, kAssemblyPixels);
    EXPECT_EQ(dialog_->lastCell(), 63);
    LevelRecord expected = *original_;
    expected.rooms[5].cells[63] = 0xA0;
    EXPECT_EQ(dialog_->workingCopy(), expected);
    EXPECT_EQ(dialog_->undoStack().undoText(),
              QStringLiteral("Paint assembly $A0 into room 5, cell 63"));

    // The bottom-right assembly of the edit canvas (cells 28-31) and of room 5 in the Rooms
    // canvas (room column 1, row 1: cells 60-63 by 60-63) show assembly 0xA0's first tile.
    const Block& first = level_->blocks[level_->assemblies[0xA0].blocks[0]];
    const auto pattern = test::TilePattern(*level_, first.tiles[0]);
    EXPECT_EQ(edit().renderer().cell(28, 28).pattern, pattern);
    EXPECT_EQ(rooms().renderer().cell(60, 60).pattern, pattern);
}

TEST_F(RoomEditorTest, TheDropperOnCell9FramesThatAssembly) {
    ClickItem(rooms(), 0, 1, kRoomPixels); // room 4
    ASSERT_EQ(dialog_->selectedItem(), 4);
    test::ClickButton(*dialog_, 1035);
    ClickItem(edit(), 1, 1, kAssemblyPixels); // cell 9
    const int picked = 4 * 8 + 9;             // what the set-up put there
    EXPECT_EQ(dialog_->selectedPart(), picked);
    EXPECT_EQ(assemblies().renderer().frame().x, (picked % 16) * 4);
    EXPECT_EQ(assemblies().renderer().frame().y, (picked / 16) * 4);
    EXPECT_EQ(dialog_->workingCopy(), *original_);
}

TEST_F(RoomEditorTest, CopyRoom0PasteIntoRoom17) {
    ClickItem(rooms(), 0, 0, kRoomPixels);
    test::ClickButton(*dialog_, 1032);
    ASSERT_EQ(dialog_->clipboard().size(), 64u);
    ClickItem(rooms(), 1, 4, kRoomPixels); // room 17
    ASSERT_EQ(dialog_->selectedItem(), 17);
    test::ClickButton(*dialog_, 1033);
    EXPECT_EQ(dialog_->workingCopy().rooms[17], original_->rooms[0]);
    LevelRecord expected = *original_;
    expected.rooms[17] = original_->rooms[0];
    EXPECT_EQ(dialog_->workingCopy(), expected);
}

} // namespace
} // namespace korvane
