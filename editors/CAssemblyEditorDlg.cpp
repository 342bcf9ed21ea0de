#include "CAssemblyEditorDlg.h"

#include "CCanvasControl.h"
#include "EditorControlIds.h"

namespace korvane {

namespace {

static_assert(sizeof(Assembly) == 4, "an assembly is its four block numbers");

// 32 x 8 assemblies, 8 columns of them visible: the canvas scrolls.
constexpr CanvasLayout kAssembliesLayout{32, 32, 1, 1, 128, 32, 4, 32};
// The selected assembly twice enlarged, framed block by block.
constexpr CanvasLayout kEditLayout{4, 4, 2, 1, 4, 4, 2, 32};
// 16 x 16 blocks.
constexpr CanvasLayout kBlocksLayout{32, 32, 1, 1, 32, 32, 2, 16};

} // namespace

CAssemblyEditorDlg::CAssemblyEditorDlg(DisplayContext& display, LevelRecord& level, QWidget* parent)
    : CEditorDialog(display, level, parent) {
    setWindowTitle(tr("Assembly Editor"));
    SetItemUnit({[](LevelRecord& record, int item) -> std::span<std::uint8_t> {
                     return ObjectBytes(record.assemblies[static_cast<std::size_t>(item)]);
                 },
                 kAssemblyCount, tr("assembly"), tr("block"), tr("quarter"), tr("quarters")});
    const CanvasRoles all = CanvasRole::Highlight | CanvasRole::PaletteSet | CanvasRole::Grid;
    BuildStandardLayout(
        {ids::kAssembliesCanvas, tr("Assemblies that can be edited"), kAssembliesLayout,
         CanvasRole::Items | all, &CCanvasControl::DrawAllAssemblies},
        {ids::kAssemblyEditCanvas, tr("Assembly edition"), kEditLayout, CanvasRole::Edit | all,
         [this](CCanvasControl& canvas) {
             canvas.SetCurrentAssembly(selectedItem());
             canvas.DrawAssembly();
         }},
        {ids::kBlocksCanvas, tr("Blocks that can be used to make an assembly"), kBlocksLayout,
         CanvasRole::Parts | all, &CCanvasControl::DrawAllBlocks});
    FinishOpening();
}

} // namespace korvane
