// The preview's overlays: enemy markers and labels, checkpoint labels, at the surface's edges.

#include "RenderTestSupport.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <gtest/gtest.h>

namespace korvane {
namespace {

using namespace rendertest;

constexpr std::uint32_t kCheckpointSurface = 0xCCFF33; // GDI 0x33FFCC

class HallwayOverlays : public ::testing::Test {
protected:
    void SetUp() override {
        level = MakeTestLevel();
        // Hallway 0 is rooms 3, 1, 2 at positions 0-2; hallway 1 is room 0 at position 3.
    }
    QImage Render(int hallway, bool checkpoints, bool enemies, int scroll = 0) {
        renderer = std::make_unique<CRenderer>();
        renderer->SetHallway(hallway, level.get(), level->tiles.data());
        renderer->DrawHallway();
        renderer->hallway().showCheckpoints = checkpoints;
        renderer->hallway().showEnemies = enemies;
        renderer->frame().shown = false;
        renderer->grid().shown = false;
        window = SetTestView(*renderer, 32 * 3, 32);
        renderer->view().scroll = scroll;
        return RenderTestFrame(*renderer, display, window);
    }
    void AddEnemy(std::uint8_t x, std::uint8_t y, std::uint8_t position, std::uint8_t id) {
        level->enemies[static_cast<std::size_t>(level->enemyCount)] = {x, y, position, id};
        ++level->enemyCount;
    }
    // Bounding box of the pixels that differ between two images.
    static QRect Changed(const QImage& a, const QImage& b, QRect area = {}) {
        if (area.isNull()) {
            area = a.rect();
        }
        area &= a.rect();
        QRect box;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (a.pixel(x, y) != b.pixel(x, y)) {
                    box |= QRect(x, y, 1, 1);
                }
            }
        }
        return box;
    }
    static bool Contains(const QImage& image, const QRect& area, std::uint32_t colour) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (ColourAt(image, x, y) == colour) {
                    return true;
                }
            }
        }
        return false;
    }

    std::unique_ptr<LevelRecord> level;
    std::unique_ptr<CRenderer> renderer;
    TestDisplay display;
    QSize window;
};

TEST(HallwayOverlayFont, AsksForLetterGothicFirstThenAFixedPitchBoldFace) {
    HallwayOverlay overlay;
    const QFont& font = overlay.LabelFont();
    ASSERT_GE(font.families().size(), 2);
    EXPECT_EQ(font.families().first(), QStringLiteral("Letter Gothic MT"));
    EXPECT_EQ(font.pixelSize(), 16);
    EXPECT_EQ(font.weight(), QFont::Bold);
    const QFontInfo used(font);
    EXPECT_TRUE(used.fixedPitch()) << used.family().toStdString();
    EXPECT_TRUE(used.bold());
    if (QFontDatabase::families().contains(QStringLiteral("Letter Gothic MT"))) {
        EXPECT_EQ(used.family(), QStringLiteral("Letter Gothic MT"));
    } else {
        EXPECT_TRUE(font.families().mid(1).contains(used.family())) << used.family().toStdString();
    }
}

TEST_F(HallwayOverlays, EnemyMarkerIsFivePixelsAndALabel) {
    const QImage bare = Render(0, false, false);
    AddEnemy(100, 60, 1, 0x2A); // second room
    const QImage marked = Render(0, false, true);
    const int x = 256 + 100;
    EXPECT_EQ(ColourAt(marked, x, 60), 0x00FFFFU);
    EXPECT_EQ(ColourAt(marked, x - 1, 60), 0U);
    EXPECT_EQ(ColourAt(marked, x + 1, 60), 0U);
    EXPECT_EQ(ColourAt(marked, x, 59), 0U);
    EXPECT_EQ(ColourAt(marked, x, 61), 0U);
    EXPECT_EQ(ColourAt(marked, x - 1, 59), ColourAt(bare, x - 1, 59)); // corners untouched
    // The "$2A" label: outlined white text from (x + 4, y + 4).
    const QRect label = Changed(bare, marked, QRect(x + 2, 62, 80, 40));
    ASSERT_FALSE(label.isEmpty());
    EXPECT_GE(label.left(), x + 4);
    EXPECT_GE(label.top(), 64);
    EXPECT_LE(label.bottom(), 64 + 22);
    EXPECT_TRUE(Contains(marked, label, 0xFFFFFF));
    EXPECT_TRUE(Contains(marked, label, 0x000000));
}

TEST_F(HallwayOverlays, MarkersAtTheEdgesDrawNothingOutsideTheSurface) {
    const QImage bare = Render(0, false, false);
    AddEnemy(0, 0, 0, 1);    // top-left corner of the first room
    AddEnemy(0, 100, 0, 2);  // left edge
    AddEnemy(255, 40, 2, 3); // right edge of the last room
    AddEnemy(10, 255, 2, 4); // bottom row
    const QImage marked = Render(0, false, true);
    EXPECT_EQ(ColourAt(marked, 0, 100), 0x00FFFFU);
    EXPECT_EQ(ColourAt(marked, 1, 100), 0U);
    EXPECT_EQ(ColourAt(marked, 0, 99), 0U);
    // A pixel left of the surface would land at the end of the row above.
    EXPECT_EQ(ColourAt(marked, window.width() - 1, 99), ColourAt(bare, window.width() - 1, 99));
    // One right of the surface would land at the start of the next row.
    EXPECT_EQ(ColourAt(marked, 767, 40), 0x00FFFFU);
    EXPECT_EQ(ColourAt(marked, 0, 41), ColourAt(bare, 0, 41));
    EXPECT_EQ(ColourAt(marked, 512 + 10, 255), 0x00FFFFU);
    EXPECT_EQ(ColourAt(marked, 512 + 10, 254), 0U);
    EXPECT_TRUE(display.reporter.messages.empty());
}

TEST_F(HallwayOverlays, EnemiesOutsideTheHallwayOrBeyondTheRoomOrderAreNotDrawn) {
    const QImage bare = Render(0, false, false);
    AddEnemy(50, 50, 3, 5);    // hallway 1's room
    AddEnemy(50, 50, 0xFF, 6); // detached
    AddEnemy(50, 50, 40, 7);   // no such room position
    const QImage marked = Render(0, true, true);
    EXPECT_TRUE(Changed(bare, marked).isEmpty());
}

TEST_F(HallwayOverlays, CheckpointLabelsSitInTheMiddleOfTheirRoom) {
    level->checkpointRooms = {kNoCheckpoint, 1}; // checkpoint 2 in the second room
    const QImage bare = Render(0, false, false, 8);
    const QImage labelled = Render(0, true, false, 8);
    const QRect label = Changed(bare, labelled);
    ASSERT_FALSE(label.isEmpty());
    // x = (32 - 8) * 8 + 128 = 320, y = 128 + 10.
    EXPECT_GE(label.left(), 320);
    EXPECT_LE(label.left(), 324);
    EXPECT_GE(label.top(), 138);
    EXPECT_LE(label.top(), 146);
    EXPECT_LE(label.bottom(), 138 + 22);
    EXPECT_GT(label.width(), 100); // "* Checkpoint #2" is 15 characters wide
    EXPECT_TRUE(Contains(labelled, label, kCheckpointSurface));

    // Checkpoint 1 in the same room sits 10 pixels higher; 0xFF and other hallways show none.
    level->checkpointRooms = {1, kNoCheckpoint};
    const QRect first = Changed(bare, Render(0, true, false, 8));
    EXPECT_EQ(first.top(), label.top() - 10);
    level->checkpointRooms = {3, kNoCheckpoint};
    EXPECT_TRUE(Changed(bare, Render(0, true, false, 8)).isEmpty());
}

TEST_F(HallwayOverlays, EnemyDragModeNeverTintsTheSelection) {
    renderer = std::make_unique<CRenderer>();
    renderer->SetHallway(1, level.get(), level->tiles.data());
    renderer->DrawHallway();
    renderer->hallway().showCheckpoints = false;
    renderer->hallway().showEnemies = true;
    renderer->hallway().enemyDragMode = true;
    renderer->grid().shown = false;
    renderer->frame().shown = true;
    renderer->frame().x = 40; // in pixels; its cell square lies far right of cell 0
    renderer->frame().y = 40;
    renderer->frame().unit = 8;
    renderer->frame().firstColumn = 0;
    renderer->frame().lastColumn = 3;
    renderer->frame().firstRow = 0;
    renderer->frame().lastRow = 3;
    const QSize size = SetTestView(*renderer, 32, 32);
    const QImage image = RenderTestFrame(*renderer, display, size);
    EXPECT_EQ(ColourAt(image, 3, 3),
              renderer->SurfaceColour(0, renderer->cell(0, 0).palette,
                                      TestTilePixel(0, 3, 3) /* room 0 starts with tile 0 */));
}

} // namespace
} // namespace korvane
