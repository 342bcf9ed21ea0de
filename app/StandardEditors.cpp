#include "StandardEditors.h"

#include "CommandIds.h"
#include "editors/CAssemblyEditorDlg.h"
#include "editors/CBlockEditorDlg.h"
#include "editors/CEnemyPlacementDlg.h"
#include "editors/CHallwayEditorDlg.h"
#include "editors/CRoomEditorDlg.h"

namespace korvane {

void RegisterStandardEditors(EditorRegistry& registry) {
    // These three edit the level alone: the preview takes the new level data.
    registry.Register(cmd::kBlockEditor, &RunEditorDialog<CBlockEditorDlg>);
    registry.Register(cmd::kAssemblyEditor, &RunEditorDialog<CAssemblyEditorDlg>);
    registry.Register(cmd::kRoomEditor, &RunEditorDialog<CRoomEditorDlg>);

    // The checkpoints name room positions; after the hallways changed, the hallways that hold
    // them are worked out again.
    EditorDescriptor hallways;
    hallways.run = &RunEditorDialog<CHallwayEditorDlg>;
    hallways.afterOk = [](GameData& gameData, int levelNumber, const LevelRecord&) {
        gameData.levels[static_cast<std::size_t>(levelNumber)].RecomputeCheckpointHallways();
    };
    registry.Register(cmd::kHallwayEditor, std::move(hallways));

    // The enemy editor also edits a copy of the shared enemy graphics tables.
    EditorDescriptor enemies;
    enemies.run = [](EditorSession& session) {
        CEnemyPlacementDlg dialog(session.display, session.level, *session.enemyGraphics,
                                  session.parent);
        return dialog.exec() == QDialog::Accepted;
    };
    enemies.editsEnemyGraphics = true;
    registry.Register(cmd::kEnemyEditor, std::move(enemies));
}

} // namespace korvane
