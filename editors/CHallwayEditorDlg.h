#pragma once

// The hallway editor: which rooms each hallway of the level shows and in what order, how many
// rooms it has, its transition and palette set, the two checkpoints, and whole hallways
// inserted and removed. When rooms come and go the level's enemy placements can move along
// with them (the "Shift or remove enemies" box), so that enemies stay in their rooms.
//
// The hallway canvas shows the current hallway's rooms side by side; a click paints the room
// chosen on the rooms canvas into one of them (and into every one a drag crosses), or picks it
// up with the dropper or the right button. Every change
// is one undo step; a change the level refuses (one that would end the game's hallway list,
// or that does not fit) changes nothing and the status line says why.

#include "CEditorDialog.h"

#include <array>
#include <span>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace korvane {

class CNumberField;

class CCanvasControl;

class CHallwayEditorDlg : public CEditorDialog {
    Q_OBJECT
public:
    // The transition combo's items: code n is item n.
    static const std::array<const char*, 16> kTransitionLabels;
    static constexpr int kMostRooms = 16; // lastRoom is kept in 4 bits
    static constexpr int kNewHallwayTransition = 2;
    static constexpr std::uint8_t kNewRoom = 31;

    CHallwayEditorDlg(DisplayContext& display, LevelRecord& level, QWidget* parent = nullptr);

    // OK: the checkpoints' hallways are worked out again, then the working copy goes back.
    void accept() override;

    int currentHallway() const { return hallway_; }
    bool shiftsEnemies() const;

protected:
    void RefreshFromWorkingCopy() override;
    void OnCanvasNotification(const CanvasNotification& notification) override;
    void Copy() override;
    void Paste() override;
    void PalettePageChosen(int set) override;

private:
    // What a refused change was, for the status line.
    enum class Change { Paint, RoomCount, Insert, Remove, Transition, PaletteSet, Paste };

    bool HasHallways() const { return workingCopy().hallwayCount > 0; }
    const Hallway& CurrentEntry() const;
    QWidget* BuildControls();
    void BuildLayout(QWidget* tools, QWidget* highlights, QWidget* controls);

    void HallwayNumberChanged(int number);
    void RoomCountChanged(int count);
    void ClickRoomPosition(int position);
    // The dropper's pick at a room position (also the right button's, whatever the tool).
    void PickRoomPosition(int position);
    void InsertHallway();
    void RemoveHallway();
    void ChooseTransition(int index);
    void TickCheckpoint(int checkpoint, bool ticked);
    void DeleteCheckpoints();
    // Changes the current hallway's bank, palette set and transition (its rooms stay).
    void ChangeEntry(const QString& text, const Hallway& entry, Change change);
    // attempted and rooms: the hallway the change was to make and its rooms (the Paste and room
    // count refusals look at them).
    void ShowRefusal(HallwayResult result, Change change, const Hallway& attempted,
                     std::span<const std::uint8_t> rooms = {});
    QString BadArgumentsText(Change change, const Hallway& attempted,
                             std::span<const std::uint8_t> rooms) const;
    void ShowHallwayControls();

    int hallway_ = 0;
    bool opened_ = false;
    CCanvasControl* hallwayCanvas_ = nullptr;
    CCanvasControl* roomsCanvas_ = nullptr;
    CNumberField* hallwayField_ = nullptr;
    CNumberField* roomCountField_ = nullptr;
    QComboBox* transitionCombo_ = nullptr;
    QLabel* remainingRooms_ = nullptr;
    QPushButton* insertButton_ = nullptr;
    QPushButton* removeButton_ = nullptr;
    QPushButton* deleteCheckpointsButton_ = nullptr;
    QCheckBox* shiftEnemies_ = nullptr;
    std::array<QCheckBox*, 2> checkpoints_{};
};

} // namespace korvane
