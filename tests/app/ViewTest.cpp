// The main view: fields, hex dump, highlights and the editor-opening procedure.
#include "AppTestSupport.h"

#include "app/CKorvaneView.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/EditorRegistry.h"
#include "app/LevelText.h"
#include "editors/CCanvasControl.h"
#include "gamedata/CKorvaneDoc.h"
#include "gamedata/RomImage.h"

#include <QComboBox>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace korvane::test {
namespace {

TEST(HexDumpTest, ShowsEachRawByteUnderItsOffset) {
    LevelRecord level{};
    for (std::size_t i = 0; i < level.undecodedBytes.size(); ++i) {
        level.undecodedBytes[i] = static_cast<std::uint8_t>(0xA0 + i);
    }
    // Bytes 0-31 are bank 0A20-0A3F, 32-47 0A50-0A5F, 48-63 0A70-0A7F, 64-89 0AE6-0AFF.
    const std::string expected = "0A20: A0 A1 A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD AE AF \n"
                                 "0A30: B0 B1 B2 B3 B4 B5 B6 B7 B8 B9 BA BB BC BD BE BF \n"
                                 "\n"
                                 "0A50: C0 C1 C2 C3 C4 C5 C6 C7 C8 C9 CA CB CC CD CE CF \n"
                                 "\n"
                                 "0A70: D0 D1 D2 D3 D4 D5 D6 D7 D8 D9 DA DB DC DD DE DF \n"
                                 "\n"
                                 "0AE0: .. .. .. .. .. .. E0 E1 E2 E3 E4 E5 E6 E7 E8 E9 \n"
                                 "0AF0: .. .. EC ED EE EF F0 F1 .. .. F4 F5 F6 F7 F8 F9 ";
    EXPECT_EQ(UndecodedBytesText(level), expected);
}

TEST(HighlightTest, ItemsMapToTheirSelectors) {
    for (int item = 0; item < 16; ++item) {
        EXPECT_EQ(HighlightSelectorForItem(item), item);
    }
    EXPECT_EQ(HighlightSelectorForItem(16), 16);
    EXPECT_EQ(HighlightSelectorForItem(17), -1);
    EXPECT_EQ(HighlightSelectorForItem(18), -2);
    EXPECT_EQ(HighlightSelectorForItem(40), -2);
}

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = fixture_.WriteCartridge(QStringLiteral("demo.nes"));
        ASSERT_TRUE(fixture_.Start({QStringLiteral("-nosplash"), path_}));
    }
    CKorvaneView& view() { return fixture_.app().mainFrame()->view(); }
    CKorvaneDoc& document() { return fixture_.app().document(); }
    // The first level with at least `count` hallways, or -1.
    int LevelWithHallways(int count) {
        for (int n = 0; n < kLevelCount; ++n) {
            if (document().level(n).hallwayCount >= count) {
                return n;
            }
        }
        return -1;
    }

    AppFixture fixture_;
    QString path_;
};

TEST_F(ViewTest, HexDumpShowsTheBytesOfTheFile) {
    QFile file(path_);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const int levelNumber = 3;
    const auto bank = static_cast<qsizetype>(LevelCatalogue[levelNumber].bankOffset);
    view().levelField().setValue(levelNumber);
    auto byte = [&](int offset) {
        return QStringLiteral("%1 ")
            .arg(static_cast<std::uint8_t>(bytes.at(bank + offset)), 2, 16, QLatin1Char('0'))
            .toUpper();
    };
    QStringList lines;
    for (int line : {0x0A20, 0x0A30, -1, 0x0A50, -1, 0x0A70, -1, 0x0AE0, 0x0AF0}) {
        if (line < 0) {
            lines.append(QString());
            continue;
        }
        QString text = QStringLiteral("%1: ").arg(line, 4, 16, QLatin1Char('0')).toUpper();
        for (int offset = line; offset < line + 16; ++offset) {
            const bool decodedElsewhere = (offset >= 0x0AE0 && offset < 0x0AE6) ||
                                          offset == 0x0AF0 || offset == 0x0AF1 ||
                                          offset == 0x0AF8 || offset == 0x0AF9;
            text += decodedElsewhere ? QStringLiteral(".. ") : byte(offset);
        }
        lines.append(text);
    }
    EXPECT_EQ(view().undecodedText(), lines.join(QLatin1Char('\n')));
    EXPECT_EQ(view().undecodedBytes().text(), view().undecodedText());
    EXPECT_TRUE(QFontInfo(view().undecodedBytes().font()).fixedPitch());
    EXPECT_EQ(view().undecodedBytes().font().pixelSize(), 11);
    EXPECT_TRUE(view().undecodedBytes().font().bold());
}

TEST_F(ViewTest, LevelFieldOffersTheSixteenLevelsWithTheirNames) {
    EXPECT_EQ(view().levelField().minimum(), 0);
    EXPECT_EQ(view().levelField().maximum(), 15);
    EXPECT_EQ(view().levelName().text(), QStringLiteral("Spindle Keep"));
    view().levelField().setValue(14);
    EXPECT_EQ(view().level(), 14);
    EXPECT_EQ(view().levelName().text(), QStringLiteral("Keeper Showdown"));
    view().levelField().setValue(18); // refused by the range
    EXPECT_EQ(view().level(), 15);
    EXPECT_EQ(view().levelName().text(), QStringLiteral("Final Vantor"));
}

TEST_F(ViewTest, LevelChangesResetTheHallway) {
    const int levelNumber = LevelWithHallways(2);
    ASSERT_GE(levelNumber, 0);
    view().levelField().setValue(levelNumber);
    const int count = document().level(levelNumber).hallwayCount;
    EXPECT_EQ(view().hallwayField().maximum(), count - 1);
    view().hallwayField().setValue(1);
    EXPECT_EQ(view().hallway(), 1);
    EXPECT_EQ(view().preview().renderer().currentHallway(), 1);

    // The same level entered again resets the hallway too.
    view().LevelChanged();
    EXPECT_EQ(view().hallway(), 0);
    EXPECT_EQ(view().hallwayField().value(), 0);
    EXPECT_EQ(view().preview().renderer().currentHallway(), 0);

    view().hallwayField().setValue(1);
    view().levelField().setValue(levelNumber == 0 ? 1 : 0);
    EXPECT_EQ(view().hallway(), 0);
    EXPECT_EQ(view().hallwayField().text(), QStringLiteral("0"));
}

TEST_F(ViewTest, TypingTheSameLevelAgainResetsTheHallway) {
    const int levelNumber = LevelWithHallways(2);
    ASSERT_GE(levelNumber, 0);
    QSpinBox& field = view().levelField();
    field.setValue(levelNumber);
    const QString number = QString::number(levelNumber);

    // The field's text selected and the same number typed over it.
    view().hallwayField().setValue(1);
    ASSERT_EQ(view().preview().renderer().currentHallway(), 1);
    field.selectAll();
    QTest::keyClicks(&field, number);
    EXPECT_EQ(field.value(), levelNumber);
    EXPECT_EQ(view().hallway(), 0);
    EXPECT_EQ(view().hallwayField().value(), 0);
    EXPECT_EQ(view().preview().renderer().currentHallway(), 0);

    // The text deleted and the number typed again: nothing happens until it is whole.
    view().hallwayField().setValue(1);
    field.selectAll();
    QTest::keyClick(&field, Qt::Key_Backspace);
    EXPECT_EQ(view().hallway(), 1);
    QTest::keyClicks(&field, number);
    EXPECT_EQ(view().hallway(), 0);
    EXPECT_EQ(view().hallwayField().value(), 0);
    EXPECT_EQ(view().preview().renderer().currentHallway(), 0);
}

TEST_F(ViewTest, TheFrameShrinksToTheFormAndNeverGrowsForIt) {
    CMainFrame& frame = *fixture_.app().mainFrame();
    const QSize enlarged = frame.size() + QSize(300, 200);
    frame.resize(enlarged);
    ASSERT_EQ(frame.size(), enlarged);
    view().InitialUpdate(); // as after File Open
    const QSize fitted = frame.size();
    EXPECT_LT(fitted.width(), enlarged.width());
    EXPECT_LT(fitted.height(), enlarged.height());

    // Wider only: the width shrinks back, the height stays.
    frame.resize(fitted.width() + 120, fitted.height());
    fixture_.prompt.openAnswers = {path_};
    ASSERT_TRUE(frame.FileOpen());
    EXPECT_EQ(frame.size(), fitted);

    // Made smaller than the form (as a small screen's window manager may do; the form itself
    // asks for its whole size): it is not enlarged again.
    frame.setMinimumSize(200, 150);
    const QSize small = fitted - QSize(100, 60);
    frame.resize(small);
    ASSERT_EQ(frame.size(), small);
    view().InitialUpdate();
    EXPECT_EQ(frame.size(), small);
    frame.resize(small.width(), fitted.height() + 50);
    view().InitialUpdate();
    EXPECT_EQ(frame.size(), QSize(small.width(), fitted.height()));
}

TEST_F(ViewTest, AMaximisedFrameKeepsItsSizeWhenAFileIsOpened) {
    CMainFrame& frame = *fixture_.app().mainFrame();
    frame.showMaximized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(frame.isMaximized());
    const QSize maximised = frame.size();
    fixture_.prompt.openAnswers = {path_};
    ASSERT_TRUE(frame.FileOpen());
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame.isMaximized());
    EXPECT_EQ(frame.size(), maximised);
    // The preview has the room: at least as wide as the frame less its margins.
    EXPECT_GT(view().preview().width(), 768);
}

TEST(ShrinkOnlyFitTest, EachSideShrinksToTheFormAndNeverGrows) {
    EXPECT_EQ(ShrinkOnlyFit({1000, 700}, {800, 500}), QSize(800, 500));
    EXPECT_EQ(ShrinkOnlyFit({700, 700}, {800, 500}), QSize(700, 500));
    EXPECT_EQ(ShrinkOnlyFit({900, 400}, {800, 500}), QSize(800, 400));
    EXPECT_EQ(ShrinkOnlyFit({700, 400}, {800, 500}), QSize(700, 400));
}

TEST_F(ViewTest, ALevelWithoutHallwaysKeepsHallwayAtZero) {
    document().level(2).hallwayCount = 0;
    view().levelField().setValue(2);
    EXPECT_EQ(view().hallwayField().minimum(), 0);
    EXPECT_EQ(view().hallwayField().maximum(), 0);
    QTest::keyClick(&view().hallwayField(), Qt::Key_Up);
    EXPECT_EQ(view().hallwayField().value(), 0);
    EXPECT_EQ(view().hallway(), 0);
}

TEST_F(ViewTest, HighlightsListGivesThePreviewItsSelector) {
    QComboBox& highlights = view().highlights();
    ASSERT_EQ(highlights.count(), 18);
    EXPECT_EQ(highlights.itemText(0), QStringLiteral("0: background, through"));
    EXPECT_EQ(highlights.itemText(2), QStringLiteral("2: lader, through"));
    EXPECT_EQ(highlights.itemText(16), QStringLiteral("Shade all"));
    EXPECT_EQ(highlights.itemText(17), QStringLiteral("No shading"));
    for (const auto& [item, selector] :
         std::vector<std::pair<int, int>>{{5, 5}, {16, 16}, {17, -1}}) {
        highlights.setCurrentIndex(item);
        emit highlights.activated(item);
        EXPECT_EQ(view().preview().renderer().highlight(), selector) << item;
    }
}

TEST_F(ViewTest, EditorOkCopiesBackAndRefreshesThePreview) {
    const LevelRecord before = document().level(0);
    fixture_.app().editors().Register(cmd::kRoomEditor, [](EditorSession& session) {
        EXPECT_EQ(session.enemyGraphics, nullptr);
        session.level.rooms[0].cells[0] =
            static_cast<std::uint8_t>(session.level.rooms[0].cells[0] + 1);
        return true;
    });
    ASSERT_TRUE(view().OpenEditor(cmd::kRoomEditor));
    EXPECT_EQ(document().level(0).rooms[0].cells[0],
              static_cast<std::uint8_t>(before.rooms[0].cells[0] + 1));
    EXPECT_EQ(view().preview().renderer().levelData(), document().level(0));
    EXPECT_TRUE(document().IsModified());
    EXPECT_TRUE(fixture_.app().mainFrame()->isWindowModified());
}

TEST_F(ViewTest, EditorCancelChangesNothing) {
    const LevelRecord before = document().level(0);
    fixture_.app().editors().Register(cmd::kRoomEditor, [](EditorSession& session) {
        session.level.rooms[0].cells[0] =
            static_cast<std::uint8_t>(session.level.rooms[0].cells[0] + 1);
        return false;
    });
    EXPECT_FALSE(view().OpenEditor(cmd::kRoomEditor));
    EXPECT_EQ(document().level(0), before);
    EXPECT_EQ(view().preview().renderer().levelData(), before);
    EXPECT_FALSE(document().IsModified());
}

TEST_F(ViewTest, AnEditorThatTakesNewTilesHandsThePreviewOnlyTheNewTiles) {
    const LevelRecord before = document().level(0);
    EditorDescriptor tileEditor;
    tileEditor.run = [](EditorSession& session) {
        session.level.tiles[0] = static_cast<std::uint8_t>(~session.level.tiles[0]);
        session.level.rooms[0].cells[0] =
            static_cast<std::uint8_t>(session.level.rooms[0].cells[0] + 1);
        return true;
    };
    tileEditor.preview = PreviewUpdate::NewTiles;
    fixture_.app().editors().Register(cmd::kTileEditor, tileEditor);
    ASSERT_TRUE(view().OpenEditor(cmd::kTileEditor));
    EXPECT_EQ(view().preview().renderer().tilePatterns()[0],
              static_cast<std::uint8_t>(~before.tiles[0]));
    EXPECT_EQ(view().preview().renderer().levelData().rooms[0], before.rooms[0]);
}

TEST_F(ViewTest, TheFixUpAfterOkSeesTheModelAndTheLevelBeforeTheEdit) {
    const int levelNumber = LevelWithHallways(1);
    ASSERT_GE(levelNumber, 0);
    view().levelField().setValue(levelNumber);
    const LevelRecord before = document().level(levelNumber);
    EditorDescriptor hallwayEditor;
    hallwayEditor.run = [](EditorSession& session) {
        session.level.checkpointHallways = {0x55, 0x66}; // stale values the fix-up replaces
        session.level.checkpointRooms = {0, 0};
        return true;
    };
    int calls = 0;
    hallwayEditor.afterOk = [&](GameData& gameData, int number, const LevelRecord& levelBefore) {
        ++calls;
        EXPECT_EQ(&gameData, &document().gameData());
        EXPECT_EQ(number, levelNumber);
        EXPECT_EQ(levelBefore, before);
        gameData.levels[static_cast<std::size_t>(number)].RecomputeCheckpointHallways();
    };
    fixture_.app().editors().Register(cmd::kHallwayEditor, hallwayEditor);
    ASSERT_TRUE(view().OpenEditor(cmd::kHallwayEditor));
    EXPECT_EQ(calls, 1);
    const LevelRecord& level = document().level(levelNumber);
    EXPECT_EQ(level.checkpointHallways[0], 0);
    EXPECT_EQ(level.checkpointHallways[1], 0);
}

TEST_F(ViewTest, AnEditorOfTheEnemyTablesWorksOnACopyOfThem) {
    const std::uint8_t before = document().gameData().enemyGraphics.enemyIdTable[5];
    EditorDescriptor enemyEditor;
    enemyEditor.editsEnemyGraphics = true;
    enemyEditor.run = [before](EditorSession& session) {
        EXPECT_NE(session.enemyGraphics, nullptr);
        session.enemyGraphics->enemyIdTable[5] = static_cast<std::uint8_t>(before + 1);
        return true;
    };
    fixture_.app().editors().Register(cmd::kEnemyEditor, enemyEditor);
    ASSERT_TRUE(view().OpenEditor(cmd::kEnemyEditor));
    EXPECT_EQ(document().gameData().enemyGraphics.enemyIdTable[5],
              static_cast<std::uint8_t>(before + 1));
    // Only the enemy tables changed: that is a change of the document too.
    EXPECT_TRUE(document().IsModified());
}

TEST_F(ViewTest, OkWithoutAChangeLeavesTheDocumentUnmodified) {
    fixture_.app().editors().Register(cmd::kRoomEditor, [](EditorSession& session) {
        EXPECT_EQ(session.enemyGraphics, nullptr);
        return true;
    });
    ASSERT_TRUE(view().OpenEditor(cmd::kRoomEditor));
    EXPECT_FALSE(document().IsModified());
    EXPECT_FALSE(fixture_.app().mainFrame()->isWindowModified());
}

} // namespace
} // namespace korvane::test
