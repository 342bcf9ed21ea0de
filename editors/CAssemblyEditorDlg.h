#pragma once

// The assembly editor: the 256 assemblies of a level (2 x 2 blocks), painted block by block.
// Everything but its canvases is the shared editor workflow.

#include "CEditorDialog.h"

namespace korvane {

class CAssemblyEditorDlg : public CEditorDialog {
    Q_OBJECT
public:
    CAssemblyEditorDlg(DisplayContext& display, LevelRecord& level, QWidget* parent = nullptr);
};

} // namespace korvane
