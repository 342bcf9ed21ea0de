#include "HallwayTestLevels.h"

#include "editors/CEnemyEditorDlg.h"

#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace korvane::test {

LevelRecord MakeHallwayLevel(const std::vector<int>& roomsPerHallway,
                             const std::vector<Placement>& placements) {
    LevelRecord level;
    for (int p = 0; p < kRoomOrderSize; ++p) {
        level.roomOrder[static_cast<std::size_t>(p)] = static_cast<std::uint8_t>(p);
    }
    for (std::size_t h = 0; h < roomsPerHallway.size(); ++h) {
        Hallway& hallway = level.hallways[h];
        hallway.enemyBank = static_cast<std::uint8_t>(10 + h);
        hallway.paletteSet = static_cast<std::uint8_t>(h % kPaletteSetCount);
        hallway.transition = 2;
        hallway.lastRoom = static_cast<std::uint8_t>(roomsPerHallway[h] - 1);
    }
    // Room r is made of assembly r, of block r, of tile r.
    for (std::size_t r = 0; r < kRoomCount; ++r) {
        level.rooms[r].cells.fill(static_cast<std::uint8_t>(r));
    }
    for (std::size_t a = 0; a < kAssemblyCount; ++a) {
        level.assemblies[a].blocks.fill(static_cast<std::uint8_t>(a));
    }
    for (std::size_t b = 0; b < kBlockCount; ++b) {
        level.blocks[b].tiles.fill(static_cast<std::uint8_t>(b));
    }
    for (std::size_t i = 0; i < level.tiles.size(); ++i) {
        level.tiles[i] = static_cast<std::uint8_t>(i / 16);
    }
    for (std::size_t s = 0; s < kPaletteSetCount; ++s) {
        for (std::size_t c = 0; c < 16; ++c) {
            level.paletteSets[s].bytes[c] = static_cast<std::uint8_t>((s * 16 + c) % 0x3F);
        }
    }
    level.checkpointRooms = {kNoCheckpoint, kNoCheckpoint};
    level.checkpointHallways = {static_cast<std::uint8_t>(roomsPerHallway.size()),
                                static_cast<std::uint8_t>(roomsPerHallway.size())};
    level.enemies.fill(EnemyPlacement::FromPacked(kEnemyTerminator));
    for (std::size_t i = 0; i < placements.size(); ++i) {
        const Placement& p = placements[i];
        level.enemies[i] = {static_cast<std::uint8_t>(p.x), static_cast<std::uint8_t>(p.y),
                            static_cast<std::uint8_t>(p.roomPosition),
                            static_cast<std::uint8_t>(p.enemyId)};
    }
    level.CountHallways();
    level.CountEnemies();
    level.RecountUsage();
    return level;
}

std::vector<int> PlacementPositions(const LevelRecord& level) {
    std::vector<int> positions;
    for (int i = 0; i < level.enemyCount; ++i) {
        positions.push_back(level.enemies[static_cast<std::size_t>(i)].roomPosition);
    }
    return positions;
}

void Type(QSpinBox& field, const QString& text) {
    QLineEdit* edit = field.findChild<QLineEdit*>();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

std::unique_ptr<EnemyGraphics> MakeEnemyGraphics() {
    auto graphics = std::make_unique<EnemyGraphics>();
    for (std::size_t b = 0; b < kEnemyBankCount; ++b) {
        EnemyBank& bank = graphics->enemyBanks[b];
        bank.pageA = static_cast<std::uint8_t>(b);
        bank.pageB = static_cast<std::uint8_t>(b + 30);
        bank.paletteA[0] = bank.paletteB[0] = 0x0F;
        for (std::size_t k = 1; k < 4; ++k) {
            bank.paletteA[k] = static_cast<std::uint8_t>((b + k) % 0x40);
            bank.paletteB[k] = static_cast<std::uint8_t>((b + 0x10 + k) % 0x40);
        }
    }
    for (std::size_t i = 0; i < graphics->spriteTiles.size(); ++i) {
        const std::size_t tile = i / 16;
        graphics->spriteTiles[i] = static_cast<std::uint8_t>(i % 16 < 8 ? tile : tile >> 8);
    }
    for (std::size_t id = 0; id < graphics->enemyIdTable.size(); ++id) {
        graphics->enemyIdTable[id] = static_cast<std::uint8_t>(255 - id);
    }
    return graphics;
}

std::array<std::uint8_t, 16> SpriteTilePattern(int tile) {
    std::array<std::uint8_t, 16> pattern{};
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        pattern[i] = static_cast<std::uint8_t>(i < 8 ? tile : tile >> 8);
    }
    return pattern;
}

namespace {

// Looks for the Enemy editor every 10 ms, for a few seconds at most.
void LookForEnemyEditor(QWidget* owner, std::shared_ptr<std::function<void(CEnemyEditorDlg&)>> act,
                        int triesLeft) {
    auto* editor = owner->findChild<CEnemyEditorDlg*>();
    if (editor != nullptr && editor->isVisible()) {
        (*act)(*editor);
        return;
    }
    if (triesLeft > 0) {
        QTimer::singleShot(
            10, owner, [owner, act, triesLeft] { LookForEnemyEditor(owner, act, triesLeft - 1); });
    }
}

} // namespace

void WhenEnemyEditorOpens(QWidget& owner, std::function<void(CEnemyEditorDlg&)> act) {
    auto shared = std::make_shared<std::function<void(CEnemyEditorDlg&)>>(std::move(act));
    QWidget* where = &owner;
    QTimer::singleShot(0, where, [where, shared] { LookForEnemyEditor(where, shared, 300); });
}

} // namespace korvane::test
