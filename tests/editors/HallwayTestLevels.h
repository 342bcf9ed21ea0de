#pragma once

// Levels built in code for the hallway and enemy placement editor tests, and the little
// driving those editors need beyond the shared helpers.

#include "gamedata/EnemyGraphics.h"
#include "gamedata/LevelRecord.h"

#include <QSpinBox>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace korvane {
class CEnemyEditorDlg;
}

namespace korvane::test {

struct Placement {
    int roomPosition;
    int x;
    int y;
    int enemyId;
};

// Hallways of the given room counts, one after the other from position 0; position p shows
// room p. Every hallway has transition 2 (so that a one-room hallway does not end the list),
// enemy bank 10 + h and palette set h mod 5. The entry after the last one ends the list. No
// checkpoints. The placements are stored as given (give them sorted). Rooms, assemblies,
// blocks and tiles are made so that a cell of room r shows tile r, whose 16 bytes are all r;
// the palette sets have distinct colours. Hallway counts, enemy count and usage are counted
// as decoding does.
LevelRecord MakeHallwayLevel(const std::vector<int>& roomsPerHallway,
                             const std::vector<Placement>& placements = {});

// The positions of the first enemyCount placements, in list order.
std::vector<int> PlacementPositions(const LevelRecord& level);

// Types a number into a field and presses Enter, as the user does.
void Type(QSpinBox& field, const QString& text);
inline void Type(QSpinBox& field, int value) {
    Type(field, QString::number(value));
}

// Enemy graphics tables where bank b has pages b and b + 30, palette A {0x0F, b + 1, b + 2,
// b + 3} and palette B {0x0F, b + 0x11, b + 0x12, b + 0x13} (colours taken mod 0x40), and
// sprite tile T (0 to 4095) has bytes 0-7 equal to T's low byte and 8-15 to its high byte.
std::unique_ptr<EnemyGraphics> MakeEnemyGraphics();
std::array<std::uint8_t, 16> SpriteTilePattern(int tile);

// Runs act on the Enemy editor once the placement editor has opened it (its modal run is
// then waiting for act to end it).
void WhenEnemyEditorOpens(QWidget& owner, std::function<void(CEnemyEditorDlg&)> act);

} // namespace korvane::test
