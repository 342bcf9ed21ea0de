#include "CHallwayEditorDlg.h"

#include "CCanvasControl.h"
#include "CNumberField.h"
#include "EditorControlIds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace korvane {

const std::array<const char*, 16> CHallwayEditorDlg::kTransitionLabels{
    "0 - ???",
    "1 - ???",
    "2 - Cannot go back to prev. hallway",
    "3 - ???",
    "4 - Next hallway down, no panning",
    "5 - ???",
    "6 - Dropped from prev. hallway",
    "7 - ???",
    "8 - Next hallway up, no panning",
    "9 - ???",
    "A - Climbed from prev. hallway",
    "B - ???",
    "C - ???",
    "D - ???",
    "E - ???",
    "F - ???",
};

namespace {

// One room at full size is visible; the content is the hallway's rooms side by side.
constexpr int kRoomCells = 32;
constexpr int kRoomPixels = 256;
// The 32 rooms at a quarter of their size, 8 x 4, four columns of them visible.
constexpr CanvasLayout kRoomsLayout{128, 128, 1, 4, 256, 128, 32, 64};
constexpr std::uint8_t kTransitionBits = 0x0F;
constexpr int kClipboardEntryBytes = 4; // enemyBank, paletteSet, transition, lastRoom

using RoomBuffer = std::array<std::uint8_t, kRoomOrderSize>;

std::span<const std::uint8_t> RoomsOf(const RoomBuffer& rooms, const Hallway& entry) {
    return std::span<const std::uint8_t>(rooms.data(),
                                         static_cast<std::size_t>(entry.lastRoom) + 1);
}

// Grows (step +1: a room 31 after the last) or shrinks (step -1: the last room dropped) hallway
// h by one room, moving the enemies along when shift is set. attempted and rooms are the
// hallway and the rooms it was to have.
HallwayResult StepRoomCount(LevelRecord& level, int h, int step, bool shift, Hallway& attempted,
                            RoomBuffer& rooms) {
    rooms = {};
    const int count = level.HallwayRooms(h, rooms);
    attempted = level.hallways[static_cast<std::size_t>(h)];
    if ((step < 0 && count <= 1) || (step > 0 && count >= kRoomOrderSize)) {
        return HallwayResult::BadArguments; // no hallway of 0 rooms, nor of more than 32
    }
    attempted.lastRoom = static_cast<std::uint8_t>(count - 1 + step);
    if (step > 0) {
        rooms[static_cast<std::size_t>(count)] = CHallwayEditorDlg::kNewRoom;
    }
    const HallwayResult result = level.ReplaceHallway(h, RoomsOf(rooms, attempted), attempted);
    if (result == HallwayResult::Ok && shift) {
        if (step > 0) {
            level.InsertRoomPositionIntoEnemies(h, count);
        } else {
            level.RemoveRoomPositionFromEnemies(h, count - 1);
        }
    }
    return result;
}

} // namespace

CHallwayEditorDlg::CHallwayEditorDlg(DisplayContext& display, LevelRecord& level, QWidget* parent)
    : CEditorDialog(display, level, parent) {
    setWindowTitle(tr("Hallway Editor"));

    // The hallway canvas reloads through SetHallway: it takes the hallway's own palette set.
    hallwayCanvas_ = new CCanvasControl(display, ids::kHallwayCanvas, this);
    hallwayCanvas_->setObjectName(ids::ControlObjectName(ids::kHallwayCanvas));
    hallwayCanvas_->SetGrowsAcross(true);
    hallwayCanvas_->SetView(kRoomCells, kRoomCells, 1, 1);
    hallwayCanvas_->SetHallway(hallway_, &workingCopy(), workingCopy().tiles.data());
    hallwayCanvas_->SetGrid(true, static_cast<int>(kGridColour), kRoomPixels);
    hallwayCanvas_->SetSelectionFrame(true, kRoomCells);
    RegisterCanvas(*hallwayCanvas_, CanvasRole::Edit | CanvasRole::Highlight | CanvasRole::Grid,
                   &CCanvasControl::DrawHallway, [this](CCanvasControl& canvas) {
                       canvas.SetHallway(hallway_, &workingCopy(), workingCopy().tiles.data());
                   });
    hallwayCanvas_->DrawHallway();
    roomsCanvas_ = AddCanvas(ids::kRoomsCanvas, kRoomsLayout,
                             CanvasRole::Parts | CanvasRole::Highlight | CanvasRole::PaletteSet |
                                 CanvasRole::Grid,
                             &CCanvasControl::DrawAllRooms);

    QWidget* tools = CreateStandardToolButtons();
    QWidget* highlights = Labelled(tr("Highlights"), CreateHighlightsCombo());
    QWidget* controls = BuildControls();
    BuildLayout(tools, highlights, controls);

    // Paint, the grid shown, no shading, and the rooms in palette set 0; then the current
    // hallway's controls, its palette set row among them.
    FinishOpening();
    opened_ = true;
    RefreshFromWorkingCopy();
}

QWidget* CHallwayEditorDlg::BuildControls() {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);

    hallwayField_ = new CNumberField(box, ids::kHallwayField, 0, 0);
    hallwayField_->setWrapping(true);
    connect(hallwayField_, &QSpinBox::valueChanged, this, &CHallwayEditorDlg::HallwayNumberChanged);
    // Growing past the last room and dropping back to one room are one click apart on a
    // wrapping spin: this one stops at its ends.
    roomCountField_ = new CNumberField(box, ids::kRoomCountField, 1, kMostRooms);
    connect(roomCountField_, &QSpinBox::valueChanged, this, &CHallwayEditorDlg::RoomCountChanged);
    auto* numbers = new QGridLayout;
    numbers->addWidget(new QLabel(tr("Hallway #"), box), 0, 0);
    numbers->addWidget(hallwayField_, 0, 1);
    numbers->addWidget(new QLabel(tr("Nb. Rooms"), box), 1, 0);
    numbers->addWidget(roomCountField_, 1, 1);
    layout->addLayout(numbers);

    remainingRooms_ = new QLabel(tr("Remaining rooms: 0"), box);
    remainingRooms_->setObjectName(ids::ControlObjectName(ids::kRemainingRooms));
    layout->addWidget(remainingRooms_);

    insertButton_ = new QPushButton(tr("Insert Hallway"), box);
    insertButton_->setObjectName(ids::ControlObjectName(ids::kInsertHallway));
    connect(insertButton_, &QPushButton::clicked, this, &CHallwayEditorDlg::InsertHallway);
    removeButton_ = new QPushButton(tr("Remove Hallway"), box);
    removeButton_->setObjectName(ids::ControlObjectName(ids::kRemoveHallway));
    connect(removeButton_, &QPushButton::clicked, this, &CHallwayEditorDlg::RemoveHallway);
    for (QPushButton* button : {insertButton_, removeButton_}) {
        button->setAutoDefault(false);
        layout->addWidget(button);
    }

    shiftEnemies_ = new QCheckBox(tr("Shift or remove enemies when modifying hallway"), box);
    shiftEnemies_->setObjectName(ids::ControlObjectName(ids::kShiftEnemies));
    shiftEnemies_->setChecked(true);
    layout->addWidget(shiftEnemies_);

    const std::array<int, 2> checkpointIds{ids::kCheckpoint1, ids::kCheckpoint2};
    for (std::size_t c = 0; c < checkpoints_.size(); ++c) {
        checkpoints_[c] = new QCheckBox(tr("Check point #%1 in this hallway").arg(c + 1), box);
        checkpoints_[c]->setObjectName(ids::ControlObjectName(checkpointIds[c]));
        // Only the user's clicks are edits: showing the working copy does not click.
        connect(checkpoints_[c], &QCheckBox::clicked, this,
                [this, c](bool ticked) { TickCheckpoint(static_cast<int>(c), ticked); });
        layout->addWidget(checkpoints_[c]);
    }
    deleteCheckpointsButton_ = new QPushButton(tr("Delete Checkpoints"), box);
    deleteCheckpointsButton_->setObjectName(ids::ControlObjectName(ids::kDeleteCheckpoints));
    deleteCheckpointsButton_->setAutoDefault(false);
    connect(deleteCheckpointsButton_, &QPushButton::clicked, this,
            &CHallwayEditorDlg::DeleteCheckpoints);
    layout->addWidget(deleteCheckpointsButton_);
    layout->addStretch(1);

    transitionCombo_ = new QComboBox(this);
    transitionCombo_->setObjectName(ids::ControlObjectName(ids::kTransitionCombo));
    for (const char* label : kTransitionLabels) {
        transitionCombo_->addItem(QString::fromLatin1(label));
    }
    transitionCombo_->setMaxVisibleItems(static_cast<int>(kTransitionLabels.size()));
    connect(transitionCombo_, &QComboBox::activated, this, &CHallwayEditorDlg::ChooseTransition);
    return box;
}

void CHallwayEditorDlg::BuildLayout(QWidget* tools, QWidget* highlights, QWidget* controls) {
    auto* left = new QVBoxLayout;
    left->addWidget(Labelled(tr("Hallway edition"), hallwayCanvas_));
    left->addWidget(tools);
    left->addWidget(highlights);
    left->addWidget(Labelled(tr("Hallway Transition edition"), transitionCombo_));
    left->addStretch(1);

    auto* middle = new QVBoxLayout;
    middle->addWidget(Labelled(tr("Rooms that can be used to make a hallway"), roomsCanvas_));
    middle->addWidget(Labelled(tr("Palette Page Edition"), CreatePalettePageList()));
    middle->addStretch(1);

    body()->addLayout(left);
    body()->addLayout(middle);
    body()->addWidget(controls, 0, Qt::AlignTop);
}

bool CHallwayEditorDlg::shiftsEnemies() const {
    return shiftEnemies_->isChecked();
}

const Hallway& CHallwayEditorDlg::CurrentEntry() const {
    return workingCopy().hallways[static_cast<std::size_t>(hallway_)];
}

// Showing the working copy.

void CHallwayEditorDlg::RefreshFromWorkingCopy() {
    // A hallway that is gone (removed, or undone) gives way to the last one.
    const int count = workingCopy().hallwayCount;
    hallway_ = std::clamp(hallway_, 0, std::max(0, count - 1));
    Reload(*hallwayCanvas_);
    // The rooms canvas draws the rooms, which this editor never changes, but it can shade those
    // the hallways do not use: it takes the new counts, and draws again only when it shades by
    // them.
    LevelRecord& shown = roomsCanvas_->renderer().levelData();
    if (shown.roomUse != workingCopy().roomUse) {
        shown.roomUse = workingCopy().roomUse;
        if (highlightSelector() == kHighlightUnused) {
            Redraw(*roomsCanvas_);
        }
    }
    ShowHallwayControls();
}

void CHallwayEditorDlg::ShowHallwayControls() {
    const LevelRecord& level = workingCopy();
    const bool hallways = HasHallways();
    hallwayField_->ShowRange(0, std::max(0, level.hallwayCount - 1));
    hallwayField_->ShowValue(hallway_);
    const Hallway& entry = CurrentEntry();
    roomCountField_->ShowValue(entry.lastRoom + 1);
    transitionCombo_->setCurrentIndex(entry.transition & kTransitionBits);
    if (palettePageList() != nullptr) {
        // A set beyond the five selects no row.
        palettePageList()->SelectRow(hallways ? entry.paletteSet : -1);
    }
    const int start = level.HallwayStart(hallway_);
    for (std::size_t c = 0; c < checkpoints_.size(); ++c) {
        const int offset = level.checkpointRooms[c] - start;
        checkpoints_[c]->setChecked(hallways && level.checkpointRooms[c] != kNoCheckpoint &&
                                    offset >= 0 && offset <= entry.lastRoom);
        checkpoints_[c]->setEnabled(hallways);
    }
    remainingRooms_->setText(tr("Remaining Rooms: %1").arg(level.RemainingRooms()));

    // Without a hallway only Insert Hallway can do anything.
    for (QWidget* control : std::initializer_list<QWidget*>{hallwayField_, roomCountField_,
                                                            transitionCombo_, removeButton_}) {
        control->setEnabled(hallways);
    }
}

// Handlers.

void CHallwayEditorDlg::HallwayNumberChanged(int number) {
    if (!opened_) {
        return;
    }
    hallway_ = number;
    RefreshFromWorkingCopy();
}

void CHallwayEditorDlg::OnCanvasNotification(const CanvasNotification& notification) {
    if (notification.senderWindow == static_cast<const CSurfaceWindow*>(hallwayCanvas_)) {
        if (notification.code == CanvasCode::Click || PaintsOnStroke(notification)) {
            ClickRoomPosition(notification.item & 0xFF);
        } else if (notification.code == CanvasCode::Pick) {
            PickRoomPosition(notification.item & 0xFF);
        }
        return;
    }
    CEditorDialog::OnCanvasNotification(notification);
}

void CHallwayEditorDlg::ClickRoomPosition(int position) {
    if (!HasHallways() || position > CurrentEntry().lastRoom) {
        return;
    }
    if (tool() == EditorTool::Dropper) {
        PickRoomPosition(position);
        return;
    }
    SetLastCell(position);
    const int h = hallway_;
    const auto room = static_cast<std::uint8_t>(selectedPart());
    HallwayResult result = HallwayResult::Ok;
    ApplyStrokeEdit(
        tr("Paint room %1 into hallway %2, room %3").arg(room).arg(h).arg(position),
        [room, h](int count) {
            return tr("Paint room %1 into hallway %2, %3 rooms").arg(room).arg(h).arg(count);
        },
        [&](LevelRecord& level) { result = level.SetHallwayRoom(h, position, room); });
    ShowRefusal(result, Change::Paint, CurrentEntry());
}

void CHallwayEditorDlg::PickRoomPosition(int position) {
    if (!HasHallways() || position > CurrentEntry().lastRoom) {
        return;
    }
    SetLastCell(position);
    SetSelectedPart(workingCopy().GetHallwayRoom(hallway_, position) & 0xFF);
    roomsCanvas_->SelectItem(selectedPart());
    Redraw(*roomsCanvas_);
    Reload(*hallwayCanvas_);
}

void CHallwayEditorDlg::RoomCountChanged(int count) {
    if (!opened_) {
        return;
    }
    const int old = CurrentEntry().lastRoom + 1;
    if (!HasHallways() || count == old) {
        roomCountField_->ShowValue(old);
        return;
    }
    // A number more than one away is reached one room at a time, each with its enemy
    // shifting, as one step; the first refusal ends it where it got to.
    const int h = hallway_;
    const bool shift = shiftsEnemies();
    HallwayResult result = HallwayResult::Ok;
    Hallway attempted{};
    RoomBuffer attemptedRooms{};
    ApplyEdit(tr("Hallway %1: %2 rooms to %3").arg(h).arg(old).arg(count), [&](LevelRecord& level) {
        const int step = count > old ? 1 : -1;
        for (int rooms = old; rooms != count && result == HallwayResult::Ok; rooms += step) {
            result = StepRoomCount(level, h, step, shift, attempted, attemptedRooms);
        }
    });
    ShowRefusal(result, Change::RoomCount, attempted, attemptedRooms);
}

void CHallwayEditorDlg::InsertHallway() {
    const int h = hallway_;
    // The new hallway takes the current one's enemy bank and palette set (bank 0 and set 0 in a
    // level without hallways).
    Hallway entry = HasHallways() ? CurrentEntry() : Hallway{};
    entry.transition = kNewHallwayTransition;
    entry.lastRoom = 0;
    const bool shift = shiftsEnemies();
    HallwayResult result = HallwayResult::Ok;
    ApplyEdit(tr("Insert hallway %1").arg(h), [&](LevelRecord& level) {
        const std::array<std::uint8_t, 1> rooms{kNewRoom};
        result = level.InsertHallway(h, rooms, entry);
        if (result == HallwayResult::Ok && shift) {
            for (int i = 0; i <= entry.lastRoom; ++i) {
                level.InsertRoomPositionIntoEnemies(h, 0);
            }
        }
    });
    ShowRefusal(result, Change::Insert, entry);
}

void CHallwayEditorDlg::RemoveHallway() {
    if (!HasHallways()) {
        return;
    }
    const int h = hallway_;
    const bool shift = shiftsEnemies();
    HallwayResult result = HallwayResult::Ok;
    ApplyEdit(tr("Remove hallway %1").arg(h), [&](LevelRecord& level) {
        // The enemies leave the hallway's rooms while the hallway is still there, so only
        // when the level takes the removal.
        LevelRecord trial = level;
        result = trial.RemoveHallway(h);
        if (result != HallwayResult::Ok) {
            return;
        }
        if (shift) {
            for (int i = level.HallwayRooms(h); i > 0; --i) {
                level.RemoveRoomPositionFromEnemies(h, 0);
            }
        }
        level.RemoveHallway(h);
    });
    ShowRefusal(result, Change::Remove, CurrentEntry());
}

void CHallwayEditorDlg::ChooseTransition(int index) {
    if (!HasHallways()) {
        return;
    }
    Hallway entry = CurrentEntry();
    entry.transition = static_cast<std::uint8_t>(index & kTransitionBits);
    ChangeEntry(tr("Hallway %1: transition %2")
                    .arg(hallway_)
                    .arg(QString::fromLatin1(kTransitionLabels[entry.transition])),
                entry, Change::Transition);
}

void CHallwayEditorDlg::PalettePageChosen(int set) {
    // The rooms canvas shows the set chosen last; the hallway takes it as its palette set.
    SetPaletteSet(set);
    if (!HasHallways()) {
        return;
    }
    Hallway entry = CurrentEntry();
    entry.paletteSet = static_cast<std::uint8_t>(set);
    ChangeEntry(tr("Hallway %1: palette set #%2").arg(hallway_).arg(set + 1), entry,
                Change::PaletteSet);
}

void CHallwayEditorDlg::ChangeEntry(const QString& text, const Hallway& entry, Change change) {
    const int h = hallway_;
    HallwayResult result = HallwayResult::Ok;
    ApplyEdit(text, [&](LevelRecord& level) { result = level.SetHallwayEntry(h, entry); });
    ShowRefusal(result, change, entry);
}

void CHallwayEditorDlg::TickCheckpoint(int checkpoint, bool ticked) {
    if (!HasHallways()) {
        return;
    }
    const auto c = static_cast<std::size_t>(checkpoint);
    const int h = hallway_;
    const std::uint8_t position =
        ticked ? static_cast<std::uint8_t>(workingCopy().HallwayStart(h)) : kNoCheckpoint;
    ApplyEdit(ticked ? tr("Checkpoint %1 in hallway %2").arg(checkpoint + 1).arg(h)
                     : tr("No checkpoint %1").arg(checkpoint + 1),
              [c, position](LevelRecord& level) { level.checkpointRooms[c] = position; });
}

void CHallwayEditorDlg::DeleteCheckpoints() {
    ApplyEdit(tr("Delete checkpoints"), [](LevelRecord& level) {
        level.checkpointRooms = {kNoCheckpoint, kNoCheckpoint};
    });
}

void CHallwayEditorDlg::Copy() {
    if (!HasHallways()) {
        return;
    }
    const Hallway& entry = CurrentEntry();
    std::vector<std::uint8_t> unit{entry.enemyBank, entry.paletteSet, entry.transition,
                                   entry.lastRoom};
    RoomBuffer rooms{};
    const int count = std::min(workingCopy().HallwayRooms(hallway_, rooms), kRoomOrderSize);
    unit.insert(unit.end(), rooms.begin(), rooms.begin() + count);
    SetClipboard(std::move(unit));
}

void CHallwayEditorDlg::Paste() {
    const std::vector<std::uint8_t>& unit = clipboard();
    if (!HasHallways() || unit.size() <= kClipboardEntryBytes) {
        return;
    }
    const Hallway entry{unit[0], unit[1], unit[2], unit[3]};
    const std::span<const std::uint8_t> rooms(unit.data() + kClipboardEntryBytes,
                                              unit.size() - kClipboardEntryBytes);
    const int h = hallway_;
    HallwayResult result = HallwayResult::Ok;
    ApplyEdit(tr("Paste into hallway %1").arg(h),
              [&](LevelRecord& level) { result = level.ReplaceHallway(h, rooms, entry); });
    ShowRefusal(result, Change::Paste, entry, rooms);
}

void CHallwayEditorDlg::accept() {
    // The checkpoints' hallways follow the hallways as they now are.
    ApplyEdit(tr("Checkpoint hallways"),
              [](LevelRecord& level) { level.RecomputeCheckpointHallways(); });
    CEditorDialog::accept();
}

// Refusals.

void CHallwayEditorDlg::ShowRefusal(HallwayResult result, Change change, const Hallway& attempted,
                                    std::span<const std::uint8_t> rooms) {
    QString text;
    switch (result) {
    case HallwayResult::Ok:
        return;
    case HallwayResult::NoFreeHallway:
        // Editing keeps an entry free after the last hallway; a level read with all 16 entries
        // in use has none, and then no hallway can be added or replaced (Paste and a new room
        // count replace the hallway).
        if (workingCopy().hallwayCount < kHallwaySlots) {
            text = tr("The level already has %1 hallways, the most it can hold")
                       .arg(workingCopy().hallwayCount);
        } else if (change == Change::Insert) {
            text = tr("The level already has %1 hallways: its hallway table is full")
                       .arg(kHallwaySlots);
        } else if (change == Change::Paste) {
            text = tr("The level has %1 hallways and its hallway table is full: remove a hallway "
                      "before pasting one")
                       .arg(kHallwaySlots);
        } else {
            text = tr("The level has %1 hallways and its hallway table is full: remove a hallway "
                      "before changing a number of rooms")
                       .arg(kHallwaySlots);
        }
        break;
    case HallwayResult::NotEnoughRooms:
        text = tr("No room left: the hallways of the level use all 32 room positions");
        break;
    case HallwayResult::LastHallway:
        if (change == Change::Remove) {
            text = tr("The only hallway of the level cannot be removed");
        } else if (change == Change::Paste) {
            text = tr("The only hallway of the level cannot be replaced: nothing can be pasted "
                      "into it");
        } else {
            text = tr("The only hallway of the level cannot change its number of rooms");
        }
        break;
    case HallwayResult::EndsHallwayList:
        // Say which rule it is when it is the one a user meets: one room with transition 0.
        text = attempted.lastRoom == 0 && attempted.transition == 0
                   ? tr("A one-room hallway cannot use transition 0: the game would end the "
                        "hallway list there")
                   : tr("The game would end the hallway list at this change, and the hallways "
                        "after it would be lost on saving: the change is refused");
        break;
    case HallwayResult::BadArguments:
        text = BadArgumentsText(change, attempted, rooms);
        break;
    }
    ShowStatus(text);
}

QString CHallwayEditorDlg::BadArgumentsText(Change change, const Hallway& attempted,
                                            std::span<const std::uint8_t> rooms) const {
    if (change != Change::RoomCount && change != Change::Paste) {
        return tr("The level refused the change");
    }
    // A room number of 32 or more after the first room (as a level may hold it when read) is
    // no room: a hallway holding one cannot be written again.
    const std::size_t end =
        std::min(rooms.size(), static_cast<std::size_t>(attempted.lastRoom) + 1);
    for (std::size_t i = 1; i < end; ++i) {
        if (rooms[i] >= kRoomCount) {
            return change == Change::Paste
                       ? tr("Room %1 of the copied hallway holds %2, which is no room (rooms are "
                            "0 to 31): it cannot be pasted")
                             .arg(static_cast<int>(i))
                             .arg(static_cast<int>(rooms[i]))
                       : tr("Room %1 of this hallway holds %2, which is no room (rooms are 0 to "
                            "31): paint a room there before changing the number of rooms")
                             .arg(static_cast<int>(i))
                             .arg(static_cast<int>(rooms[i]));
        }
    }
    if (change == Change::RoomCount && attempted.lastRoom >= kMostRooms) {
        return tr("A hallway holds at most %1 rooms").arg(kMostRooms);
    }
    if (change == Change::RoomCount && attempted.lastRoom == 0) {
        return tr("A hallway holds at least one room");
    }
    return tr("The level refused the change");
}

} // namespace korvane
