// What the three layer editors share: the working copy in and out, the tool buttons, Paste,
// the grid toggle, the Highlights list and the palette page list.
#include "EditorTestSupport.h"
#include "editors/CAssemblyEditorDlg.h"
#include "editors/CBlockEditorDlg.h"
#include "editors/CRoomEditorDlg.h"

#include <algorithm>
#include <functional>

namespace korvane {
namespace {

using test::ClickItem;
using test::Find;

// One editor and where its canvases are: ids, and the screen pixels of one item of each.
struct EditorCase {
    const char* name;
    std::function<std::unique_ptr<CEditorDialog>(DisplayContext&, LevelRecord&)> open;
    int itemsId;
    int itemPixels;
    int editId;
    int cellPixels;
    int partsId;
    int partPixels;
    int partsPerRow;
};

template <class Dialog>
std::unique_ptr<CEditorDialog> Make(DisplayContext& display, LevelRecord& level) {
    return std::make_unique<Dialog>(display, level);
}

const std::vector<EditorCase>& Editors() {
    static const std::vector<EditorCase> editors{
        {"block", &Make<CBlockEditorDlg>, 1007, 16, 1098, 32, 1017, 16, 16},
        {"assembly", &Make<CAssemblyEditorDlg>, 1006, 32, 1049, 32, 1007, 16, 16},
        {"room", &Make<CRoomEditorDlg>, 1050, 64, 1051, 32, 1006, 32, 16},
    };
    return editors;
}

class EditorWorkflowTest : public ::testing::TestWithParam<EditorCase> {
protected:
    void SetUp() override {
        level_ = test::DemoLevel(4);
        original_ = std::make_unique<LevelRecord>(*level_);
        Open();
    }
    void Open() {
        dialog_ = GetParam().open(display_.context, *level_);
        dialog_->show();
    }
    CCanvasControl& items() { return test::Canvas(*dialog_, GetParam().itemsId); }
    CCanvasControl& edit() { return test::Canvas(*dialog_, GetParam().editId); }
    CCanvasControl& parts() { return test::Canvas(*dialog_, GetParam().partsId); }
    void ClickPart(int part) {
        const int perRow = GetParam().partsPerRow;
        ClickItem(parts(), part % perRow, part / perRow, GetParam().partPixels);
    }
    void ClickCell(int column, int row) { ClickItem(edit(), column, row, GetParam().cellPixels); }
    // Paints cell (0, 0) of the selected item with a part it does not hold.
    void PaintSomething() {
        const std::uint8_t held = dialog_->SelectedUnit().front();
        ClickPart(held == 5 ? 6 : 5);
        ClickCell(0, 0);
    }

    test::EditorDisplay display_;
    std::unique_ptr<LevelRecord> level_;
    std::unique_ptr<LevelRecord> original_;
    std::unique_ptr<CEditorDialog> dialog_;
};

TEST_P(EditorWorkflowTest, OkWithoutChangesLeavesTheLevelAsItWas) {
    test::ClickButton(*dialog_, 1);
    EXPECT_EQ(dialog_->result(), QDialog::Accepted);
    EXPECT_EQ(*level_, *original_);
}

TEST_P(EditorWorkflowTest, CancelAfterEditsLeavesTheLevelAsItWas) {
    PaintSomething();
    ClickItem(items(), 1, 0, GetParam().itemPixels);
    test::ClickButton(*dialog_, 1032);
    ClickItem(items(), 0, 1, GetParam().itemPixels);
    test::ClickButton(*dialog_, 1033);
    ASSERT_NE(dialog_->workingCopy(), *original_);
    EXPECT_EQ(test::CancelAndDiscard(*dialog_), 1);
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    EXPECT_EQ(*level_, *original_);
}

TEST_P(EditorWorkflowTest, OkWritesTheWholeWorkingCopyBack) {
    PaintSomething();
    const LevelRecord edited = dialog_->workingCopy();
    ASSERT_NE(edited, *original_);
    test::ClickButton(*dialog_, 1);
    EXPECT_EQ(*level_, edited);
}

TEST_P(EditorWorkflowTest, PasteIsDisabledOnOpeningEvenAfterAnEarlierCopy) {
    test::ClickButton(*dialog_, 1032);
    EXPECT_TRUE(Find<QPushButton>(*dialog_, 1033).isEnabled());
    EXPECT_EQ(test::CancelAndDiscard(*dialog_), 0);
    Open();
    EXPECT_FALSE(Find<QPushButton>(*dialog_, 1033).isEnabled());
    EXPECT_FALSE(dialog_->hasClipboard());
}

TEST_P(EditorWorkflowTest, TheToolStartsAsPaintAndShowsWhichIsPushed) {
    QPushButton& paint = Find<QPushButton>(*dialog_, 1031);
    QPushButton& dropper = Find<QPushButton>(*dialog_, 1035);
    EXPECT_EQ(dialog_->tool(), EditorTool::Paint);
    EXPECT_TRUE(paint.isChecked());
    EXPECT_FALSE(dropper.isChecked());
    EXPECT_EQ(edit().pointerMode(), PointerMode::Paint);
    EXPECT_EQ(items().pointerMode(), PointerMode::None);
    test::ClickButton(*dialog_, 1035);
    EXPECT_TRUE(dropper.isChecked());
    EXPECT_FALSE(paint.isChecked());
    EXPECT_EQ(edit().pointerMode(), PointerMode::Dropper);
    // Pressing the pushed button again keeps it pushed.
    test::ClickButton(*dialog_, 1035);
    EXPECT_TRUE(dropper.isChecked());
    test::ClickButton(*dialog_, 1031);
    EXPECT_TRUE(paint.isChecked());
    EXPECT_FALSE(dropper.isChecked());
    // The six images are on their buttons.
    for (int id : {1031, 1035, 1032, 1033, 1060}) {
        EXPECT_FALSE(Find<QPushButton>(*dialog_, id).icon().isNull()) << id;
    }
    EXPECT_EQ(Find<QPushButton>(*dialog_, 1031).property("bitmap").toInt(), 145);
    EXPECT_EQ(Find<QPushButton>(*dialog_, 1035).property("bitmap").toInt(), 140);
}

TEST_P(EditorWorkflowTest, TogglingTheGridTwiceRestoresTheOpeningState) {
    QPushButton& grid = Find<QPushButton>(*dialog_, 1060);
    EXPECT_NE(dialog_->gridFlag(), 0);
    EXPECT_EQ(grid.property("bitmap").toInt(), 142);
    const qint64 shownImage = grid.icon().cacheKey();
    for (CCanvasControl* canvas : {&items(), &edit(), &parts()}) {
        EXPECT_TRUE(canvas->renderer().grid().shown);
    }
    test::ClickButton(*dialog_, 1060);
    EXPECT_EQ(dialog_->gridFlag(), 0);
    EXPECT_EQ(grid.property("bitmap").toInt(), 184);
    EXPECT_NE(grid.icon().cacheKey(), shownImage);
    for (CCanvasControl* canvas : {&items(), &edit(), &parts()}) {
        EXPECT_FALSE(canvas->renderer().grid().shown);
    }
    test::ClickButton(*dialog_, 1060);
    EXPECT_EQ(dialog_->gridFlag(), ~0);
    EXPECT_EQ(grid.property("bitmap").toInt(), 142);
    EXPECT_EQ(grid.icon().cacheKey(), shownImage);
    for (CCanvasControl* canvas : {&items(), &edit(), &parts()}) {
        EXPECT_TRUE(canvas->renderer().grid().shown);
    }
}

TEST_P(EditorWorkflowTest, HighlightsOffersNineteenItemsAndNoShadingGivesMinusOne) {
    QComboBox& highlights = Find<QComboBox>(*dialog_, 1021);
    ASSERT_EQ(highlights.count(), 19);
    EXPECT_EQ(highlights.itemText(0), QStringLiteral("0: background, through"));
    EXPECT_EQ(highlights.itemText(2), QStringLiteral("2: lader, through"));
    EXPECT_EQ(highlights.itemText(10), QStringLiteral("A: ???"));
    EXPECT_EQ(highlights.itemText(16), QStringLiteral("Shade all"));
    EXPECT_EQ(highlights.itemText(17), QStringLiteral("No shading"));
    EXPECT_EQ(highlights.itemText(18), QStringLiteral("Unused stuff in this level"));
    EXPECT_EQ(highlights.currentIndex(), 17);
    for (const auto& [item, selector] :
         std::vector<std::pair<int, int>>{{4, 4}, {15, 15}, {16, 16}, {18, -2}, {17, -1}}) {
        test::Choose(highlights, item);
        EXPECT_EQ(dialog_->highlightSelector(), selector) << item;
        EXPECT_EQ(items().renderer().highlight(), selector) << item;
        EXPECT_EQ(edit().renderer().highlight(), selector) << item;
    }
}

TEST_P(EditorWorkflowTest, ThePalettePageListShowsTheFiveSets) {
    auto& pages = Find<CColourListControl>(*dialog_, 1029);
    ASSERT_EQ(pages.rowCount(), 5);
    ASSERT_EQ(pages.columnCount(), 2);
    EXPECT_EQ(pages.rowHeight(), 64);
    EXPECT_EQ(pages.cellText(0, 0), QStringLiteral("Set #1"));
    EXPECT_EQ(pages.cellText(0, 4), QStringLiteral("Set #5"));
    // The set column is as wide as its swatches, or as its title when that needs more; the
    // index column takes the rest, less 16 pixels.
    auto* header = pages.findChild<QHeaderView*>();
    ASSERT_NE(header, nullptr);
    EXPECT_GE(pages.columnWidth(1),
              std::max(64, test::HeaderTitleWidth(*header, QStringLiteral("Palette Set"))));
    EXPECT_EQ(pages.columnWidth(0), pages.clientWidth() - pages.columnWidth(1) - 16);
    EXPECT_EQ(pages.SelectedRow(5), 0);
    test::ClickRow(pages, 2, 64);
    EXPECT_EQ(dialog_->paletteSet(), 2);
    // A click below the rows keeps the chosen set.
    pages.setFixedHeight(pages.height() + 64);
    test::ClickRow(pages, 5, 64);
    EXPECT_EQ(dialog_->paletteSet(), 2);
    EXPECT_EQ(items().renderer().palettePage(), 2);
}

TEST_P(EditorWorkflowTest, ADropperClickMovesThePartsFrameAndAPaintClickDoesNot) {
    ClickPart(3);
    const int x = parts().renderer().frame().x;
    const int y = parts().renderer().frame().y;
    ClickCell(1, 0);
    EXPECT_EQ(parts().renderer().frame().x, x);
    EXPECT_EQ(parts().renderer().frame().y, y);
    test::ClickButton(*dialog_, 1035);
    ClickCell(0, 1);
    const int picked = dialog_->selectedPart();
    const int perRow = GetParam().partsPerRow;
    const int unit = parts().renderer().frame().size;
    EXPECT_EQ(parts().renderer().frame().x, (picked % perRow) * unit);
    EXPECT_EQ(parts().renderer().frame().y, (picked / perRow) * unit);
}

INSTANTIATE_TEST_SUITE_P(LayerEditors, EditorWorkflowTest, ::testing::ValuesIn(Editors()),
                         [](const ::testing::TestParamInfo<EditorCase>& param) {
                             return std::string(param.param.name);
                         });

} // namespace
} // namespace korvane
