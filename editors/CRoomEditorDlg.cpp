#include "CRoomEditorDlg.h"

#include "CCanvasControl.h"
#include "EditorControlIds.h"

namespace korvane {

namespace {

static_assert(sizeof(Room) == 64, "a room is its 64 assembly numbers");

// 4 x 8 rooms at a quarter of their size, 2 columns of them visible: the canvas scrolls.
constexpr CanvasLayout kRoomsLayout{64, 256, 1, 4, 128, 256, 32, 64};
// The selected room at full size, framed assembly by assembly.
constexpr CanvasLayout kEditLayout{32, 32, 1, 1, 32, 32, 4, 32};
// 16 x 16 assemblies, all visible.
constexpr CanvasLayout kAssembliesLayout{64, 64, 1, 1, 64, 64, 4, 32};

} // namespace

CRoomEditorDlg::CRoomEditorDlg(DisplayContext& display, LevelRecord& level, QWidget* parent)
    : CEditorDialog(display, level, parent) {
    setWindowTitle(tr("Room Editor"));
    SetItemUnit({[](LevelRecord& record, int item) -> std::span<std::uint8_t> {
                     return ObjectBytes(record.rooms[static_cast<std::size_t>(item)]);
                 },
                 kRoomCount, tr("room"), tr("assembly"), tr("cell"), tr("cells")});
    const CanvasRoles all = CanvasRole::Highlight | CanvasRole::PaletteSet | CanvasRole::Grid;
    BuildStandardLayout(
        {ids::kRoomsCanvas, tr("Rooms that can be edited"), kRoomsLayout, CanvasRole::Items | all,
         &CCanvasControl::DrawAllRooms},
        {ids::kRoomEditCanvas, tr("Room edition"), kEditLayout, CanvasRole::Edit | all,
         [this](CCanvasControl& canvas) {
             canvas.SetCurrentRoom(selectedItem());
             canvas.DrawRoom();
         }},
        {ids::kAssembliesCanvas, tr("Assemblies that can be used to make an room"),
         kAssembliesLayout, CanvasRole::Parts | all, &CCanvasControl::DrawAllAssemblies});
    FinishOpening();
}

} // namespace korvane
