// The main view opens the real tile and palette editors: a tile painted on a character page that
// another level and the sprite tiles show reaches every copy, so that it survives Save and a
// fresh open of the file; a palette edit reaches the level and the preview.
#include "AppTestSupport.h"
#include "ModalAnswer.h"

#include "app/CKorvaneView.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "editors/CCanvasControl.h"
#include "editors/CColourListControl.h"
#include "editors/CPixelEditorControl.h"
#include "gamedata/CKorvaneDoc.h"
#include "tests/canvas/CanvasTestSupport.h"

#include <QFile>
#include <QLabel>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace korvane::test {
namespace {

using Tile = std::array<std::uint8_t, 16>;

constexpr int kEditedLevel = 3;
constexpr int kSharingLevel = 7;
constexpr std::uint8_t kSpritePage = 0x10; // pages 16 and 17: sprite tiles 1,024 to 1,151
constexpr int kTile = 5;

Tile TileOf(const std::array<std::uint8_t, kTileBytes>& tiles, int tile) {
    Tile bytes{};
    std::copy_n(tiles.begin() + static_cast<std::ptrdiff_t>(tile) * 16, 16, bytes.begin());
    return bytes;
}

class PixelEditorCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = fixture_.WriteCartridge(QStringLiteral("demo.nes"));
        // Level 3's first half and level 7's second half both show pages 16-17, which are
        // sprite pages too: three copies of the same 2 KB in the model.
        QFile file(path_);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        bytes[static_cast<qsizetype>(LevelCatalogue[kEditedLevel].bankOffset + bank::kTileBanks)] =
            static_cast<char>(kSpritePage);
        bytes[static_cast<qsizetype>(LevelCatalogue[kSharingLevel].bankOffset + bank::kTileBanks +
                                     1)] = static_cast<char>(kSpritePage);
        ASSERT_TRUE(file.seek(0));
        ASSERT_EQ(file.write(bytes), bytes.size());
        file.close();
        ASSERT_TRUE(fixture_.Start({QStringLiteral("-nosplash"), path_}));
    }
    CMainFrame& frame() { return *fixture_.app().mainFrame(); }
    CKorvaneDoc& document() { return fixture_.app().document(); }
    Tile SpriteTile(const GameData& gameData, int tile) {
        Tile bytes{};
        const std::size_t at =
            kSpritePage * kCharacterPageSize + static_cast<std::size_t>(tile) * 16;
        std::copy_n(gameData.enemyGraphics.spriteTiles.begin() + static_cast<std::ptrdiff_t>(at),
                    16, bytes.begin());
        return bytes;
    }

    AppFixture fixture_;
    QString path_;
};

TEST_F(PixelEditorCommandsTest, ATileEditOnASharedPageReachesEveryCopyAndSurvivesSaveAndOpen) {
    frame().view().levelField().setValue(kEditedLevel);
    const GameData before = document().gameData();
    const Tile old = TileOf(before.levels[kEditedLevel].tiles, kTile);
    ASSERT_EQ(TileOf(before.levels[kSharingLevel].tiles, 128 + kTile), old);
    ASSERT_EQ(SpriteTile(before, kTile), old);
    // Pixel (0, 0) becomes 1 (the left colour), or 0 (the right colour) where it is 1 already.
    const bool wasOne = (old[0] & 0x80) != 0 && (old[8] & 0x80) == 0;
    Tile edited = old;
    edited[8] &= 0x7F;
    edited[0] = static_cast<std::uint8_t>(wasOne ? (old[0] & 0x7F) : (old[0] | 0x80));

    QString sharing;
    ModalAnswer answer(
        [&](CEditorDialog& dialog) {
            auto* overview = dialog.findChild<CCanvasControl*>(QStringLiteral("id1017"));
            const QPoint tile(kTile * 16 + 8, 8);
            Move(*overview, tile);
            Press(*overview, tile);
            Release(*overview, tile);
            auto* pixels = dialog.findChild<CPixelEditorControl*>(QStringLiteral("id1103"));
            const QPoint pixel = pixels->CellRect(0, 0).center();
            const Qt::MouseButton button = wasOne ? Qt::RightButton : Qt::LeftButton;
            SendMouse(*pixels, QEvent::MouseButtonPress, pixel, button);
            SendMouse(*pixels, QEvent::MouseButtonRelease, pixel, button);
            sharing = dialog.findChild<QLabel*>(QStringLiteral("tileSharing"))->text();
        },
        1);
    ASSERT_TRUE(frame().view().OpenEditor(cmd::kTileEditor));
    ASSERT_TRUE(answer.answered);
    EXPECT_EQ(answer.title, QStringLiteral("Tile Editor"));
    EXPECT_EQ(sharing, QStringLiteral("Tiles 0-127 are shared with level 7 and with the sprite "
                                      "tiles"));

    // Every copy of the page agrees; nothing else changed.
    GameData expected = before;
    std::copy(edited.begin(), edited.end(),
              expected.levels[kEditedLevel].tiles.begin() + kTile * 16);
    std::copy(edited.begin(), edited.end(),
              expected.levels[kSharingLevel].tiles.begin() + (128 + kTile) * 16);
    std::copy(edited.begin(), edited.end(),
              expected.enemyGraphics.spriteTiles.begin() +
                  static_cast<std::ptrdiff_t>(kSpritePage * kCharacterPageSize + kTile * 16));
    EXPECT_TRUE(document().gameData() == expected);
    EXPECT_TRUE(document().IsModified());
    // The preview shows the new tiles.
    EXPECT_EQ(TileOf(frame().view().preview().renderer().tilePatterns(), kTile), edited);

    ASSERT_TRUE(frame().FileSave());
    EXPECT_FALSE(document().IsModified());
    CKorvaneDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(path_.toStdString()));
    EXPECT_EQ(TileOf(reopened.level(kEditedLevel).tiles, kTile), edited);
    EXPECT_EQ(TileOf(reopened.level(kSharingLevel).tiles, 128 + kTile), edited);
    EXPECT_EQ(SpriteTile(reopened.gameData(), kTile), edited);
}

TEST_F(PixelEditorCommandsTest, APaletteEditReachesTheLevelAndThePreview) {
    frame().view().levelField().setValue(2);
    const LevelRecord before = document().level(2);
    // Row 0's colour 3 painted with the left colour, NES colour 1.
    const std::uint8_t colour = before.paletteSets[0].bytes[3] == 1 ? 2 : 1;
    ModalAnswer answer(
        [&](CEditorDialog& dialog) {
            if (colour == 2) {
                QTest::mouseClick(dialog.findChild<QWidget*>(QStringLiteral("id1105")),
                                  Qt::LeftButton, {}, QPoint(31 + 2 * 16 + 8, 8));
            }
            auto* strip = dialog.findChild<CPixelEditorControl*>(QStringLiteral("id1103"));
            const QPoint cell = strip->CellRect(3, 0).center();
            SendMouse(*strip, QEvent::MouseButtonPress, cell);
            SendMouse(*strip, QEvent::MouseButtonRelease, cell);
        },
        1);
    ASSERT_TRUE(frame().view().OpenEditor(cmd::kPaletteEditor));
    ASSERT_TRUE(answer.answered);
    LevelRecord expected = before;
    expected.paletteSets[0].bytes[3] = colour;
    EXPECT_EQ(document().level(2), expected);
    EXPECT_TRUE(document().IsModified());
    EXPECT_EQ(frame().view().preview().renderer().levelData().paletteSets[0].bytes[3], colour);
}

} // namespace
} // namespace korvane::test
