// The palette editor: its opening state, the 256 effect labels, painting a palette's colours
// from the NES colours, the dropper, the palette rows, effect codes written one byte at a time
// and kept when unknown, copy and paste, OK and Cancel, and undo and redo of every step.
#include "EditorTestSupport.h"
#include "editors/CColourSelectorControl.h"
#include "editors/CPaletteEditorDlg.h"
#include "editors/CPixelEditorControl.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QTest>

#include <map>

namespace korvane {
namespace {

using test::Find;
using Colours = std::array<std::uint8_t, 4>;

constexpr int kRowHeight = 16;

// The effect codes of the five sets, four each: palette p of set s has code kEffects[s][p].
constexpr std::array<Colours, 5> kEffects{{{0x00, 0x81, 0x8C, 0x80},
                                           {0x86, 0x10, 0xFF, 0x8D},
                                           {0x82, 0x83, 0x84, 0x85},
                                           {0x87, 0x88, 0x89, 0x8A},
                                           {0x8B, 0x7F, 0x01, 0x8E}}};

// Palette row r: colours 3r, 3r + 1, 3r + 2 and 0x0F, as NES colour numbers.
Colours RowColours(int row) {
    return {static_cast<std::uint8_t>(3 * row), static_cast<std::uint8_t>(3 * row + 1),
            static_cast<std::uint8_t>(3 * row + 2), 0x0F};
}

class PaletteEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        level_ = test::DemoLevel(2);
        for (int row = 0; row < 20; ++row) {
            PaletteSet& set = level_->paletteSets[static_cast<std::size_t>(row / 4)];
            const Colours colours = RowColours(row);
            for (int k = 0; k < 4; ++k) {
                set.colour(row % 4, k) = colours[static_cast<std::size_t>(k)];
            }
            set.effectCodes()[static_cast<std::size_t>(row % 4)] =
                kEffects[static_cast<std::size_t>(row / 4)][static_cast<std::size_t>(row % 4)];
        }
        original_ = std::make_unique<LevelRecord>(*level_);
    }
    CPaletteEditorDlg& Open() {
        dialog_ = std::make_unique<CPaletteEditorDlg>(display_.context, *level_);
        dialog_->show();
        return *dialog_;
    }
    CPixelEditorControl& strip() { return Find<CPixelEditorControl>(*dialog_, 1103); }
    CColourSelectorControl& selector() { return Find<CColourSelectorControl>(*dialog_, 1105); }
    CColourListControl& list() { return Find<CColourListControl>(*dialog_, 1018); }
    QComboBox& effects() { return Find<QComboBox>(*dialog_, 1061); }
    QPushButton& button(int id) { return Find<QPushButton>(*dialog_, id); }
    void Click(int id) { test::ClickButton(*dialog_, id); }
    void PickRow(int row) { test::ClickRow(list(), row, kRowHeight); }
    void ChooseColour(int nesColour, Qt::MouseButton button = Qt::LeftButton) {
        test::ClickColourCell(selector(), selector().CellRect(nesColour), button);
    }
    Colours Working(int row) {
        const PaletteSet& set =
            dialog_->workingCopy().paletteSets[static_cast<std::size_t>(row / 4)];
        return {set.colour(row % 4, 0), set.colour(row % 4, 1), set.colour(row % 4, 2),
                set.colour(row % 4, 3)};
    }
    int WorkingEffect(int row) {
        return dialog_->workingCopy()
            .paletteSets[static_cast<std::size_t>(row / 4)]
            .effectCodes()[static_cast<std::size_t>(row % 4)];
    }
    // The colour the list's swatch of row shows for colour k.
    QRgb SwatchColour(int row, int k) {
        const QImage shown = list().viewport()->grab().toImage();
        return shown.pixel(list().columnWidth(0) + 16 * k + 8, row * kRowHeight + 8) | 0xFF000000;
    }
    int Steps() { return dialog_->undoStack().count(); }
    void Undo() { test::ClickNamedButton(*dialog_, "undo"); }
    void Redo() { test::ClickNamedButton(*dialog_, "redo"); }
    // The strip, the combo and the list's effect column show the working copy.
    void ExpectShownAsWorking() {
        const int row = dialog_->selectedPaletteRow();
        const Colours colours = Working(row);
        EXPECT_EQ(strip().ReadStrip(), colours);
        EXPECT_EQ(effects().currentIndex(), WorkingEffect(row));
        for (int r = 0; r < 20; ++r) {
            EXPECT_EQ(list().cellText(2, r),
                      QStringLiteral("%1").arg(WorkingEffect(r), 2, 16, QLatin1Char('0')).toUpper())
                << r;
        }
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(SwatchColour(row, k), test::NesColour(colours[static_cast<std::size_t>(k)]))
                << k;
        }
    }

    test::EditorDisplay display_;
    std::unique_ptr<LevelRecord> level_;
    std::unique_ptr<LevelRecord> original_;
    std::unique_ptr<CPaletteEditorDlg> dialog_;
};

TEST_F(PaletteEditorTest, OpensOnRow0WithItsEffectLeft1Right0AndPaint) {
    CPaletteEditorDlg& dialog = Open();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Palette Editor"));
    EXPECT_EQ(dialog.selectedPaletteRow(), 0);
    EXPECT_EQ(effects().count(), 256);
    EXPECT_EQ(effects().currentIndex(), 0x00);
    EXPECT_EQ(effects().currentText(), QStringLiteral("0x00: no effects"));
    EXPECT_EQ(strip().dataMode(), PixelDataMode::Strip);
    EXPECT_EQ(strip().size(), QSize(68, 20));
    EXPECT_EQ(strip().ReadStrip(), RowColours(0));
    EXPECT_EQ(strip().colourTable().size(), 64u);
    EXPECT_EQ(strip().leftColour(), 1);
    EXPECT_EQ(strip().rightColour(), 0);
    EXPECT_EQ(strip().tool(), PixelTool::Paint);
    EXPECT_TRUE(button(1031).isChecked());
    EXPECT_FALSE(button(1035).isChecked());
    EXPECT_FALSE(button(1033).isEnabled());
    const std::pair<int, int> pictures[] = {{1031, 145}, {1035, 140}, {1032, 139}, {1033, 146}};
    for (const auto& [id, bitmap] : pictures) {
        EXPECT_EQ(button(id).property("bitmap").toInt(), bitmap) << id;
    }

    // 64 NES colours in 4 rows of 16; cell n is colour n.
    EXPECT_EQ(selector().rows(), 4);
    EXPECT_EQ(selector().height(), 64);
    ASSERT_EQ(selector().cellCount(), 64);
    EXPECT_EQ(selector().columns(), 16);
    EXPECT_EQ(selector().colours()[0x21], test::NesColour(0x21));
    EXPECT_EQ(selector().GetLeftSelection(), 1);
    EXPECT_EQ(selector().GetRightSelection(), 0);

    ASSERT_EQ(list().rowCount(), 20);
    EXPECT_EQ(list().cellText(0, 0), QStringLiteral("Set #1, Pal #1"));
    EXPECT_EQ(list().cellText(0, 6), QStringLiteral("Set #2, Pal #3"));
    EXPECT_EQ(list().cellText(0, 19), QStringLiteral("Set #5, Pal #4"));
    EXPECT_EQ(list().cellText(2, 1), QStringLiteral("81"));
    EXPECT_EQ(list().cellText(2, 6), QStringLiteral("FF"));
    EXPECT_EQ(list().cellText(2, 17), QStringLiteral("7F"));
    EXPECT_EQ(list().header()->model()->headerData(2, Qt::Horizontal).toString(),
              QStringLiteral("Fx"));
    EXPECT_EQ(list().columnWidth(0), list().clientWidth() - 88);
    EXPECT_EQ(list().columnWidth(1), 64);
    EXPECT_EQ(list().columnWidth(2), 24);
    EXPECT_EQ(list().SelectedRow(20), 0);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(SwatchColour(5, k), test::NesColour(RowColours(5)[static_cast<std::size_t>(k)]))
            << k;
    }
    EXPECT_EQ(dialog.workingCopy(), *original_);
}

TEST_F(PaletteEditorTest, TheEffectListHasTheLabelsOfAll256Codes) {
    Open();
    // The codes the preview animates, in words; every other code is unknown.
    const std::map<int, QString> known{
        {0x00, "no effects"},
        {0x80, "pal 3, colour #2 cycle between: 0x31 & 0x21"},
        {0x82, "pal 0, colour #1 = 0x10, 0x00; #2 = 0x00, 0x10; #3 = 0x27, 0x07, 0x27 & 0x36"},
        {0x83, "pal 1, colour #1 = 0x20, 0x36, 0x20 & 0x20; #2 = 0x36, 0x27, 0x36 & 0x20; "
               "#3 = 0x27, 0x07, 0x27 & 0x36"},
        {0x84, "pal 0, colour #2 cycle between: 0x11, 0x15 & 0x17"},
        {0x85, "pal 1, colour #2 cycle between: 0x15, 0x17 & 0x11; #3 = 0x17, 0x11 & 0x15"},
        {0x86, "pal 2, shift right colours #1, #2 & #3"},
        {0x87, "pal 1, colour #3 cycle between: 0x26 & 0x0F"},
        {0x88, "pal 2, colour #3 cycle between: 0x0F & 0x26"},
        {0x89, "pal 3, shift left colours #2 & #3"},
        {0x8A, "pal 1, shift left colours #1, #2 & #3"},
        {0x8B, "pal 3, colour #2 cycle between: 0x30, 0x31, 0x36 & 0x39"},
        {0x8D, "pal 1, shift right colours #1, #2, #3 & having a fourth hidden one set with 0x04"},
    };
    const char* digits = "0123456789ABCDEF";
    for (int code = 0; code < 256; ++code) {
        QString expected = QStringLiteral("0x");
        expected += QLatin1Char(digits[code / 16]);
        expected += QLatin1Char(digits[code % 16]);
        expected += QStringLiteral(": ");
        const auto found = known.find(code);
        expected += found == known.end() ? QStringLiteral("unknown") : found->second;
        EXPECT_EQ(effects().itemText(code), expected) << code;
    }
    EXPECT_EQ(effects().itemText(0x81), QStringLiteral("0x81: unknown"));
    EXPECT_EQ(effects().itemText(0x8C), QStringLiteral("0x8C: unknown"));
    EXPECT_EQ(effects().itemText(0xFF), QStringLiteral("0xFF: unknown"));
}

TEST_F(PaletteEditorTest, PaintingAStripCellSetsThatColourAndItsSwatchAtOnce) {
    Open();
    PickRow(5);
    ChooseColour(0x21);
    EXPECT_EQ(strip().leftColour(), 0x21);
    EXPECT_EQ(selector().GetLeftSelection(), 0x21);
    test::ClickPixel(strip(), 2, 0);
    Colours expected = RowColours(5);
    expected[2] = 0x21;
    EXPECT_EQ(Working(5), expected);
    EXPECT_EQ(dialog_->undoStack().undoText(),
              QStringLiteral("Palette Set #2, Pal #2: colour 2 = $21"));
    EXPECT_EQ(SwatchColour(5, 2), test::NesColour(0x21));
    // The right button paints the right colour.
    ChooseColour(0x30, Qt::RightButton);
    EXPECT_EQ(strip().rightColour(), 0x30);
    test::ClickPixel(strip(), 0, 0, Qt::RightButton);
    expected[0] = 0x30;
    EXPECT_EQ(Working(5), expected);
    EXPECT_EQ(SwatchColour(5, 0), test::NesColour(0x30));
    EXPECT_EQ(Steps(), 2);
    // Only those two bytes of the level changed.
    LevelRecord level = *original_;
    level.paletteSets[1].colour(1, 2) = 0x21;
    level.paletteSets[1].colour(1, 0) = 0x30;
    EXPECT_EQ(dialog_->workingCopy(), level);
    // A press on a cell that has the colour already is no step.
    test::ClickPixel(strip(), 0, 0, Qt::RightButton);
    EXPECT_EQ(Steps(), 2);

    test::ClickButton(*dialog_, 1);
    EXPECT_EQ(*level_, level);
}

TEST_F(PaletteEditorTest, APaintDragAlongTheStripPaintsEachColourAsItsOwnStep) {
    Open();
    PickRow(12);
    ChooseColour(0x2A);
    test::PressPixel(strip(), 0, 0);
    for (int k = 1; k < 4; ++k) {
        test::DragToPixel(strip(), k, 0);
    }
    test::ReleasePixel(strip(), 3, 0);
    EXPECT_EQ(Working(12), (Colours{0x2A, 0x2A, 0x2A, 0x2A}));
    EXPECT_EQ(Steps(), 4);
    EXPECT_EQ(dialog_->undoStack().undoText(),
              QStringLiteral("Palette Set #4, Pal #1: colour 3 = $2A"));
    Undo();
    EXPECT_EQ(Working(12), (Colours{0x2A, 0x2A, 0x2A, 0x0F}));
    ExpectShownAsWorking();
}

TEST_F(PaletteEditorTest, TheEffectFieldStaysNarrowAndItsListAndToolTipShowWholeLabels) {
    Open();
    const QString longest = effects().itemText(0x83); // about a hundred characters
    const int longestWidth = effects().fontMetrics().horizontalAdvance(longest);
    // The field is much narrower than its longest label, so the dialog stays compact...
    EXPECT_LT(effects().width(), longestWidth * 2 / 3);
    EXPECT_LT(dialog_->width(), 700);
    // ...while the list that drops down is wide enough for that label.
    EXPECT_GE(effects().view()->minimumWidth(), longestWidth);
    // The tool tip names the whole chosen label, whether shown on a row pick or chosen.
    EXPECT_EQ(effects().toolTip(), QStringLiteral("0x00: no effects"));
    PickRow(9);
    EXPECT_EQ(effects().toolTip(), longest);
    test::Choose(effects(), 0x8D);
    EXPECT_EQ(effects().toolTip(), effects().itemText(0x8D));
}

TEST_F(PaletteEditorTest, ARowPickShowsItsColoursAndEffectAndKeepsTheTool) {
    Open();
    Click(1035);
    ChooseColour(0x2C, Qt::RightButton);
    PickRow(5);
    EXPECT_EQ(dialog_->selectedPaletteRow(), 5);
    EXPECT_EQ(effects().currentIndex(), 0x10);
    EXPECT_EQ(effects().currentText(), QStringLiteral("0x10: unknown"));
    EXPECT_EQ(strip().ReadStrip(), RowColours(5));
    EXPECT_EQ(strip().tool(), PixelTool::Dropper);
    EXPECT_EQ(strip().rightColour(), 0x2C);
    EXPECT_EQ(Steps(), 0);
    // The arrow keys move only the list's focus: nothing changes until a row is clicked.
    QTest::keyClick(&list(), Qt::Key_Down);
    EXPECT_EQ(dialog_->selectedPaletteRow(), 5);
    EXPECT_EQ(strip().ReadStrip(), RowColours(5));
    // A click below the last row leaves no row chosen: the row stays.
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, QPoint(8, 20 * kRowHeight + 4));
    EXPECT_EQ(dialog_->selectedPaletteRow(), 5);
}

TEST_F(PaletteEditorTest, RowsWithUnknownCodes81And8CKeepThem) {
    Open();
    PickRow(1);
    EXPECT_EQ(effects().currentText(), QStringLiteral("0x81: unknown"));
    test::ClickPixel(strip(), 3, 0);
    PickRow(2);
    EXPECT_EQ(effects().currentText(), QStringLiteral("0x8C: unknown"));
    test::ClickPixel(strip(), 1, 0);
    EXPECT_EQ(Steps(), 2);
    test::ClickButton(*dialog_, 1);
    EXPECT_EQ(level_->paletteSets[0].effectCodes()[1], 0x81);
    EXPECT_EQ(level_->paletteSets[0].effectCodes()[2], 0x8C);
    EXPECT_EQ(level_->paletteSets[0].colour(1, 3), 1);
    EXPECT_EQ(level_->paletteSets[0].colour(2, 1), 1);
}

TEST_F(PaletteEditorTest, ChoosingAnEffectWritesOnlyTheByteOfTheSelectedRow) {
    Open();
    PickRow(6);
    test::Choose(effects(), 0x84);
    LevelRecord expected = *original_;
    expected.paletteSets[1].bytes[18] = 0x84;
    EXPECT_EQ(dialog_->workingCopy(), expected);
    EXPECT_EQ(list().cellText(2, 6), QStringLiteral("84"));
    EXPECT_EQ(dialog_->undoStack().undoText(), QStringLiteral("Set #2, Pal #3: effect $84"));
    // Choosing the code a row has already is no step.
    test::Choose(effects(), 0x84);
    EXPECT_EQ(Steps(), 1);
    test::ClickButton(*dialog_, 1);
    EXPECT_EQ(*level_, expected);
}

TEST_F(PaletteEditorTest, CopyAndPasteMoveColoursAndLeaveEffectCodesAlone) {
    Open();
    Click(1033); // disabled
    EXPECT_EQ(Steps(), 0);
    PickRow(3);
    Click(1032);
    EXPECT_TRUE(button(1033).isEnabled());
    EXPECT_EQ(dialog_->clipboard(), (std::vector<std::uint8_t>{9, 10, 11, 0x0F}));
    PickRow(9);
    Click(1033);
    EXPECT_EQ(Working(9), RowColours(3));
    EXPECT_EQ(strip().ReadStrip(), RowColours(3));
    EXPECT_EQ(WorkingEffect(9), 0x83);
    EXPECT_EQ(WorkingEffect(3), 0x80);
    EXPECT_EQ(dialog_->undoStack().undoText(), QStringLiteral("Paste onto Set #3, Pal #2"));
    LevelRecord expected = *original_;
    for (int k = 0; k < 4; ++k) {
        expected.paletteSets[2].colour(1, k) = RowColours(3)[static_cast<std::size_t>(k)];
    }
    EXPECT_EQ(dialog_->workingCopy(), expected);
    ExpectShownAsWorking();
}

TEST_F(PaletteEditorTest, DraggingTheDropperAlongTheStripMakesTheLeftSwatchFollow) {
    Open();
    PickRow(10);
    Click(1035);
    EXPECT_EQ(strip().tool(), PixelTool::Dropper);
    EXPECT_TRUE(button(1035).isChecked());
    EXPECT_FALSE(button(1031).isChecked());
    const Colours colours = RowColours(10);
    test::PressPixel(strip(), 0, 0);
    EXPECT_EQ(selector().GetLeftSelection(), colours[0]);
    for (int k = 1; k < 4; ++k) {
        test::DragToPixel(strip(), k, 0);
        EXPECT_EQ(selector().GetLeftSelection(), colours[static_cast<std::size_t>(k)]) << k;
        EXPECT_EQ(strip().leftColour(), colours[static_cast<std::size_t>(k)]) << k;
    }
    test::ReleasePixel(strip(), 3, 0);
    test::ClickPixel(strip(), 1, 0, Qt::RightButton);
    EXPECT_EQ(selector().GetRightSelection(), colours[1]);
    EXPECT_EQ(strip().rightColour(), colours[1]);
    EXPECT_EQ(Steps(), 0);
    // Back to Paint: the picked colour paints.
    Click(1031);
    EXPECT_EQ(strip().tool(), PixelTool::Paint);
    PickRow(0);
    test::ClickPixel(strip(), 0, 0);
    EXPECT_EQ(Working(0)[0], colours[3]);
}

TEST_F(PaletteEditorTest, UndoAndRedoWalkColoursEffectsAndPastes) {
    Open();
    std::vector<LevelRecord> states{dialog_->workingCopy()};
    PickRow(4);
    ChooseColour(0x16);
    test::ClickPixel(strip(), 1, 0);
    states.push_back(dialog_->workingCopy());
    test::Choose(effects(), 0x8B);
    states.push_back(dialog_->workingCopy());
    Click(1032);
    PickRow(13);
    Click(1033);
    states.push_back(dialog_->workingCopy());
    PickRow(17);
    test::Choose(effects(), 0x00);
    states.push_back(dialog_->workingCopy());
    ASSERT_EQ(Steps(), 4);
    EXPECT_EQ(test::FindNamed<QPushButton>(*dialog_, "undo").toolTip(),
              QStringLiteral("Undo Set #5, Pal #2: effect $00"));
    for (int i = 4; i > 0; --i) {
        Undo();
        EXPECT_EQ(dialog_->workingCopy(), states[static_cast<std::size_t>(i - 1)]) << i;
        ExpectShownAsWorking();
        // The other rows' swatches show the working copy too.
        for (int row : {4, 13}) {
            EXPECT_EQ(SwatchColour(row, 1), test::NesColour(Working(row)[1])) << row;
        }
    }
    for (int i = 1; i <= 4; ++i) {
        Redo();
        EXPECT_EQ(dialog_->workingCopy(), states[static_cast<std::size_t>(i)]) << i;
        ExpectShownAsWorking();
    }
}

TEST_F(PaletteEditorTest, CancelDropsEveryEditAndOkWithoutChangesKeepsEveryByte) {
    const auto before = std::make_unique<LevelRecord>(*level_);
    Open();
    PickRow(8);
    test::ClickPixel(strip(), 2, 0);
    test::Choose(effects(), 0x86);
    EXPECT_EQ(test::CancelAndDiscard(*dialog_), 1);
    EXPECT_EQ(*level_, *before);

    Open();
    PickRow(11);
    Click(1035);
    test::ClickPixel(strip(), 2, 0);
    Click(1032);
    test::ClickButton(*dialog_, 1);
    EXPECT_EQ(*level_, *before);
}

} // namespace
} // namespace korvane
