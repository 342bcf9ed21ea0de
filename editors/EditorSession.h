#pragma once

// What an editor dialog is given by the window that opens it: the display every canvas draws
// through, the working copies it edits and where the user is in the level.

#include "gamedata/EnemyGraphics.h"
#include "gamedata/LevelRecord.h"

class QWidget;

namespace korvane {

class DisplayContext;
class GameData;

struct EditorSession {
    DisplayContext& display;
    LevelRecord& level;           // working copy of the current level: the dialog edits this
    EnemyGraphics* enemyGraphics; // working copy of the enemy tables when the editor edits them
    int levelNumber;
    int hallway;     // the opener's current hallway
    QWidget* parent; // the window the dialog belongs to, or null
    // The whole model, to read only (the tile editor tells who shares the level's tile pages).
    const GameData* gameData = nullptr;
};

} // namespace korvane
