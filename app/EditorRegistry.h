#pragma once

// Where the editor dialogs plug into the main view: one factory per toolbar command. A factory
// runs its modal editor on the working copies it is given and says whether it ended with OK;
// the view copies the working copies in beforehand and back afterwards.

#include "gamedata/EnemyGraphics.h"
#include "gamedata/LevelRecord.h"

#include <QObject>

#include <functional>
#include <map>

namespace korvane {

class DisplayContext;

struct EditorSession {
    DisplayContext& display;
    LevelRecord& level;           // the working copy of the current level
    EnemyGraphics* enemyGraphics; // working copy of the enemy tables (enemy editor only)
    int levelNumber;
    int hallway; // the view's current hallway
};

using EditorFactory = std::function<bool(EditorSession& session)>;

class EditorRegistry : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Replaces any factory registered for the command before.
    void Register(int commandId, EditorFactory factory);
    void Unregister(int commandId);
    bool has(int commandId) const;
    // Runs the editor of the command; false when none is registered or it was cancelled.
    bool Run(int commandId, EditorSession& session) const;

signals:
    void changed(int commandId);

private:
    std::map<int, EditorFactory> factories_;
};

// After the hallway editor: each checkpoint's hallway is the last hallway whose rooms hold the
// checkpoint's room position, or hallwayCount when none does.
void RecomputeCheckpointHallways(LevelRecord& level);

} // namespace korvane
