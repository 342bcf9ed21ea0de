#pragma once

// The enemy placement editor ("Hallway Enemies Editor"): the enemy placements of one hallway at
// a time, listed and shown on the hallway picture, where they are picked and dragged in steps
// of the X and Y snap values; placements inserted, deleted and edited one by one in the Enemy
// editor; and the hallway's enemy graphics bank, with the bank's two sprite tile pages and two
// palettes shown as they would be drawn.
//
// It works on a copy of the level and of the shared enemy graphics tables; OK writes both
// back, Cancel neither. Every change is one undo step.

#include "CEditorDialog.h"
#include "gamedata/EnemyGraphics.h"

#include <array>
#include <memory>

class QComboBox;
class QPushButton;

namespace korvane {

class CNumberField;

class CCanvasControl;
class CColourListControl;

class CEnemyPlacementDlg : public CEditorDialog {
    Q_OBJECT
public:
    static constexpr int kSnapItems = 6; // "1" to "32"
    static constexpr int kOpeningSnapItem = 3;
    static constexpr int kNewEnemyX = 8;
    static constexpr int kNewEnemyY = 8;

    CEnemyPlacementDlg(DisplayContext& display, LevelRecord& level, EnemyGraphics& enemyGraphics,
                       QWidget* parent = nullptr);
    ~CEnemyPlacementDlg() override;

    // OK: the enemy graphics tables and the working copy go back.
    void accept() override;

    int currentHallway() const { return hallway_; }
    // The index in enemies of the current hallway's first placement, and the list's rows.
    int firstPlacement() const { return first_; }
    int placementRows() const { return rows_; }
    // The "Palettes used" row the tile canvases draw with (0 or 1).
    int paletteRow() const { return paletteRow_; }
    // The index in enemies of the selected placement, or -1. The selection follows the
    // placement through re-sorts, drags, edits, undo and redo; it is dropped when the placement
    // is deleted or leaves the hallway.
    int selectedPlacement() const { return selected_; }
    const EnemyGraphics& enemyGraphics() const { return *graphics_; }

protected:
    void RefreshFromWorkingCopy() override;
    void OnCanvasNotification(const CanvasNotification& notification) override;

private:
    bool HasHallways() const { return workingCopy().hallwayCount > 0; }
    QWidget* BuildPlacementSide();
    QWidget* BuildBankSide();
    CCanvasControl* CreateTileCanvas(int controlId);

    void HallwayNumberChanged(int number);
    void BankChanged(int bank);
    void SnapChanged();
    void ListClicked();
    void PaletteRowClicked();
    void SelectPlacement(int index);
    // The list row of the selected placement, or -1.
    int SelectedRow() const;
    // Where the selection went through the change of the placements since the last refresh;
    // returns the index of the placement the change brought in or altered, or -1.
    int FollowSelection();
    // Scrolls the picture to the room of the hallway's placement index when it is out of view.
    void ShowPlacement(int index);
    // The selection frame on the selected placement, or out of sight without one.
    void FrameSelection();
    void InsertPlacement();
    void DeletePlacement();
    void TakeDraggedPlacements(const CanvasNotification& notification);
    void OpenEnemyEditor(int row);

    // The placements of the current hallway into the list, the selected row kept.
    void RefillList();
    // The bank's tiles and palettes into the tile canvases and "Palettes used" (again only when
    // the bank or the palette row changed, or force).
    void ShowBank(bool force);
    void ShowBankNumber();

    EnemyGraphics& graphicsTarget_;
    std::unique_ptr<EnemyGraphics> graphics_;
    // What the tile canvases draw from: their made-up palette set (set 0) and tiles.
    std::unique_ptr<LevelRecord> spriteLevel_;

    int hallway_ = 0;
    int first_ = 0;
    int rows_ = -1;
    int selected_ = -1;
    // The placements as the last refresh showed them.
    std::array<EnemyPlacement, kEnemySlots> listed_{};
    int listedCount_ = 0;
    int paletteRow_ = 0;
    int shownBank_ = -1;
    int shownPaletteRow_ = -1;
    bool opened_ = false;

    CCanvasControl* canvas_ = nullptr;
    CCanvasControl* tilesA_ = nullptr;
    CCanvasControl* tilesB_ = nullptr;
    CColourListControl* list_ = nullptr;
    CColourListControl* palettes_ = nullptr;
    CNumberField* hallwayField_ = nullptr;
    CNumberField* bankField_ = nullptr;
    QComboBox* snapX_ = nullptr;
    QComboBox* snapY_ = nullptr;
    QPushButton* insertButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
};

} // namespace korvane
