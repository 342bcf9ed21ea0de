#pragma once

// The room editor: the 32 rooms of a level (8 x 8 assemblies), painted assembly by assembly.
// Everything but its canvases is the shared editor workflow.

#include "CEditorDialog.h"

namespace korvane {

class CRoomEditorDlg : public CEditorDialog {
    Q_OBJECT
public:
    CRoomEditorDlg(DisplayContext& display, LevelRecord& level, QWidget* parent = nullptr);
};

} // namespace korvane
