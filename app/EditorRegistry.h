#pragma once

// Where the editor dialogs plug into the main view: one descriptor per toolbar command. The
// view opens every editor the same way (working copies in, modal run, copies back on OK,
// preview refreshed); a descriptor says what differs for its editor instead of the view
// knowing the editors by command.

#include "editors/EditorSession.h"
#include "gamedata/GameData.h"

#include <QObject>

#include <functional>
#include <map>

namespace korvane {

// Runs the modal editor on the session's working copies; true when it ended with OK.
using EditorFactory = std::function<bool(EditorSession& session)>;

// What the preview takes from the level after OK.
enum class PreviewUpdate {
    NewLevelData, // the level's data, keeping the tiles it has
    NewTiles,     // the level's tiles only, keeping the data it has
};

// Runs after OK, once the working copies are back in the model: the whole model, the number of
// the level edited and that level as it was before the editor ran. The tile editor carries
// changed character pages to the levels that share them here; the hallway editor recomputes the
// checkpoints' hallways.
using AfterEditorOk =
    std::function<void(GameData& gameData, int levelNumber, const LevelRecord& levelBefore)>;

struct EditorDescriptor {
    EditorFactory run;
    // The enemy tables are copied into the session, and back on OK.
    bool editsEnemyGraphics = false;
    PreviewUpdate preview = PreviewUpdate::NewLevelData;
    AfterEditorOk afterOk;
};

class EditorRegistry : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Replaces any editor registered for the command before.
    void Register(int commandId, EditorDescriptor descriptor);
    // An editor that needs nothing but the level.
    void Register(int commandId, EditorFactory run);
    void Unregister(int commandId);
    bool has(int commandId) const;
    // The command's editor, or null when none is registered.
    const EditorDescriptor* Find(int commandId) const;

signals:
    void changed(int commandId);

private:
    std::map<int, EditorDescriptor> editors_;
};

} // namespace korvane
