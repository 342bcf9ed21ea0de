#include "StandardEditors.h"

#include "CommandIds.h"
#include "editors/CAssemblyEditorDlg.h"
#include "editors/CBlockEditorDlg.h"
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
}

} // namespace korvane
