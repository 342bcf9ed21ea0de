#include "StandardEditors.h"

#include "CommandIds.h"
#include "editors/CAssemblyEditorDlg.h"
#include "editors/CBlockEditorDlg.h"
#include "editors/CRoomEditorDlg.h"

namespace korvane {

void RegisterStandardEditors(EditorRegistry& registry) {
    // These three edit the level alone: the preview takes the new level data.
    registry.Register(cmd::kBlockEditor, &RunEditorDialog<CBlockEditorDlg>);
    registry.Register(cmd::kAssemblyEditor, &RunEditorDialog<CAssemblyEditorDlg>);
    registry.Register(cmd::kRoomEditor, &RunEditorDialog<CRoomEditorDlg>);
}

} // namespace korvane
