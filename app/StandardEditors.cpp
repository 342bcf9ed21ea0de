#include "StandardEditors.h"

#include "CommandIds.h"
#include "editors/CAssemblyEditorDlg.h"
#include "editors/CBlockEditorDlg.h"
#include "editors/CEnemyPlacementDlg.h"
#include "editors/CHallwayEditorDlg.h"
#include "editors/CPaletteEditorDlg.h"
#include "editors/CRoomEditorDlg.h"
#include "editors/CTileEditorDlg.h"

namespace korvane {

void RegisterStandardEditors(EditorRegistry& registry) {
    // These edit the level alone: the preview takes the new level data.
    registry.Register(cmd::kBlockEditor, &RunEditorDialog<CBlockEditorDlg>);
    registry.Register(cmd::kAssemblyEditor, &RunEditorDialog<CAssemblyEditorDlg>);
    registry.Register(cmd::kRoomEditor, &RunEditorDialog<CRoomEditorDlg>);
    registry.Register(cmd::kPaletteEditor, &RunEditorDialog<CPaletteEditorDlg>);

    // The tile editor tells who shares the level's tile pages; after OK every copy of a changed
    // page takes the edit, so that the save keeps it whichever copy is written last. The
    // preview takes the new tiles.
    EditorDescriptor tiles;
    tiles.run = [](EditorSession& session) {
        CTileEditorDlg dialog(session.display, session.level, session.parent);
        if (session.gameData != nullptr) {
            dialog.ShowTileSharing(*session.gameData, session.levelNumber);
        }
        return dialog.exec() == QDialog::Accepted;
    };
    tiles.preview = PreviewUpdate::NewTiles;
    tiles.afterOk = [](GameData& gameData, int levelNumber, const LevelRecord& levelBefore) {
        gameData.CarryTileEdits(levelNumber, levelBefore.tiles);
    };
    registry.Register(cmd::kTileEditor, std::move(tiles));

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
