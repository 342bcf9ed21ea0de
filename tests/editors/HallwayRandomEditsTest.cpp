// Long random sequences of what a user does in the hallway and enemy placement editors (through
// the controls and canvas clicks, undos and redos among them) give the record that the same
// LevelRecord operations give when applied directly to a copy of the level.
#include "EditorTestSupport.h"
#include "HallwayTestLevels.h"
#include "editors/CEnemyEditorDlg.h"
#include "editors/CEnemyPlacementDlg.h"
#include "editors/CHallwayEditorDlg.h"
#include "tests/canvas/CanvasTestSupport.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

#include <algorithm>
#include <functional>
#include <optional>
#include <random>

namespace korvane {
namespace {

using test::Canvas;
using test::Find;

constexpr int kSteps = 250;

// The level as the edits leave it, with the undo history and the hallway shown.
struct History {
    std::vector<LevelRecord> states;
    std::size_t index = 0;
    int hallway = 0;

    explicit History(const LevelRecord& level) : states{level} {}
    const LevelRecord& level() const { return states[index]; }
    void Change(const std::function<void(LevelRecord&)>& edit) {
        LevelRecord next = level();
        edit(next);
        if (!(next == level())) {
            states.resize(index + 1);
            states.push_back(next);
            ++index;
        }
        Clamp();
    }
    void Undo() {
        if (index > 0) {
            --index;
        }
        Clamp();
    }
    void Redo() {
        if (index + 1 < states.size()) {
            ++index;
        }
        Clamp();
    }
    void Clamp() { hallway = std::clamp(hallway, 0, std::max(0, level().hallwayCount - 1)); }
    int Rooms() const { return level().hallways[static_cast<std::size_t>(hallway)].lastRoom + 1; }
};

int Below(std::mt19937& random, int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(random);
}

// Undo, or now and then Redo, in the dialog and the model alike.
void UndoOrRedo(QWidget& dialog, History& model, std::mt19937& random) {
    if (Below(random, 3) == 0) {
        test::ClickNamedButton(dialog, "redo");
        model.Redo();
    } else {
        test::ClickNamedButton(dialog, "undo");
        model.Undo();
    }
}

// The hallway editor.

void RunHallwayEditor(LevelRecord level, std::uint32_t seed) {
    test::EditorDisplay display;
    CHallwayEditorDlg dialog(display.context, level);
    dialog.show();
    History model(level);
    std::mt19937 random(seed);
    int part = 0;
    bool paint = true;
    bool shift = true;
    std::optional<std::pair<Hallway, std::vector<std::uint8_t>>> clipboard;

    auto& hallwayCanvas = Canvas(dialog, 1008);
    auto& roomCount = Find<QSpinBox>(dialog, 1014);
    for (int step = 0; step < kSteps; ++step) {
        const int h = model.hallway;
        const int action = Below(random, 15);
        switch (action) {
        case 0: { // another hallway
            model.hallway = Below(random, std::max(1, model.level().hallwayCount));
            test::Type(Find<QSpinBox>(dialog, 1011), model.hallway);
            break;
        }
        case 1: { // a room on the rooms canvas (its first four columns are visible)
            part = Below(random, 4) * 8 + Below(random, 4);
            test::ClickItem(Canvas(dialog, 1050), part % 8, part / 8, 64);
            break;
        }
        case 2:
            paint = !paint;
            test::ClickButton(dialog, paint ? 1031 : 1035);
            break;
        case 3:
        case 4: { // a click on the hallway
            const int position = Below(random, model.Rooms());
            hallwayCanvas.Scroll(ScrollRequest::ThumbTrack, 32 * position);
            test::ClickItem(hallwayCanvas, 0, 0, 256);
            if (paint) {
                model.Change([&](LevelRecord& l) {
                    l.SetHallwayRoom(h, position, static_cast<std::uint8_t>(part));
                });
            } else {
                part = model.level().GetHallwayRoom(h, position);
            }
            break;
        }
        case 5: { // Nb. Rooms, one room at a time up or down to the number typed
            const int old = model.Rooms();
            const int target = 1 + Below(random, 16);
            test::Type(roomCount, target);
            model.Change([&](LevelRecord& l) {
                const int dir = target > old ? 1 : -1;
                for (int n = old; n != target; n += dir) {
                    std::array<std::uint8_t, 32> rooms{};
                    l.HallwayRooms(h, rooms);
                    Hallway entry = l.hallways[static_cast<std::size_t>(h)];
                    if (dir < 0 && n == 1) {
                        break;
                    }
                    entry.lastRoom = static_cast<std::uint8_t>(n - 1 + dir);
                    if (dir > 0) {
                        rooms[static_cast<std::size_t>(n)] = 31;
                    }
                    if (l.ReplaceHallway(h, std::span(rooms.data(), entry.lastRoom + 1u), entry) !=
                        HallwayResult::Ok) {
                        break;
                    }
                    if (shift && dir > 0) {
                        l.InsertRoomPositionIntoEnemies(h, n);
                    } else if (shift) {
                        l.RemoveRoomPositionFromEnemies(h, n - 1);
                    }
                }
            });
            break;
        }
        case 6: { // Insert Hallway: one room 31, transition 2, the current bank and set
            test::ClickButton(dialog, 1055);
            model.Change([&](LevelRecord& l) {
                Hallway entry =
                    l.hallwayCount > 0 ? l.hallways[static_cast<std::size_t>(h)] : Hallway{};
                entry.transition = 2;
                entry.lastRoom = 0;
                const std::array<std::uint8_t, 1> rooms{31};
                if (l.InsertHallway(h, rooms, entry) == HallwayResult::Ok && shift) {
                    l.InsertRoomPositionIntoEnemies(h, 0);
                }
            });
            break;
        }
        case 7: { // Remove Hallway: the enemies leave its rooms first
            test::ClickButton(dialog, 1057);
            model.Change([&](LevelRecord& l) {
                if (l.hallwayCount <= 1) {
                    return;
                }
                for (int i = l.HallwayRooms(h); shift && i > 0; --i) {
                    l.RemoveRoomPositionFromEnemies(h, 0);
                }
                l.RemoveHallway(h);
            });
            break;
        }
        case 8: { // a transition
            const int code = Below(random, 16);
            test::Choose(Find<QComboBox>(dialog, 1034), code);
            model.Change([&](LevelRecord& l) {
                Hallway entry = l.hallways[static_cast<std::size_t>(h)];
                entry.transition = static_cast<std::uint8_t>(code);
                l.SetHallwayEntry(h, entry);
            });
            break;
        }
        case 9: { // a palette set
            const int set = Below(random, 5);
            test::ClickRow(Find<CColourListControl>(dialog, 1029), set, 64);
            model.Change([&](LevelRecord& l) {
                Hallway entry = l.hallways[static_cast<std::size_t>(h)];
                entry.paletteSet = static_cast<std::uint8_t>(set);
                l.SetHallwayEntry(h, entry);
            });
            break;
        }
        case 10: { // a checkpoint box: it shows whether the checkpoint is in this hallway
            const int c = Below(random, 2);
            auto& box = Find<QCheckBox>(dialog, c == 0 ? 1067 : 1073);
            const LevelRecord& l = model.level();
            const int start = l.HallwayStart(h);
            const int offset = l.checkpointRooms[static_cast<std::size_t>(c)] - start;
            const bool inHallway = l.checkpointRooms[static_cast<std::size_t>(c)] != 0xFF &&
                                   offset >= 0 && offset < model.Rooms();
            ASSERT_EQ(box.isChecked(), inHallway) << "step " << step;
            box.click();
            model.Change([&](LevelRecord& next) {
                next.checkpointRooms[static_cast<std::size_t>(c)] =
                    inHallway ? 0xFF : static_cast<std::uint8_t>(start);
            });
            break;
        }
        case 11:
            test::ClickButton(dialog, 1065);
            model.Change([](LevelRecord& l) { l.checkpointRooms = {0xFF, 0xFF}; });
            break;
        case 12: { // Copy, then Paste into another hallway
            test::ClickButton(dialog, 1032);
            std::array<std::uint8_t, 32> rooms{};
            const int n = model.level().HallwayRooms(h, rooms);
            clipboard.emplace(model.level().hallways[static_cast<std::size_t>(h)],
                              std::vector<std::uint8_t>(rooms.begin(), rooms.begin() + n));
            model.hallway = Below(random, model.level().hallwayCount);
            test::Type(Find<QSpinBox>(dialog, 1011), model.hallway);
            test::ClickButton(dialog, 1033);
            model.Change([&](LevelRecord& l) {
                l.ReplaceHallway(model.hallway, clipboard->second, clipboard->first);
            });
            break;
        }
        case 13:
            shift = !shift;
            Find<QCheckBox>(dialog, 1059).click();
            break;
        case 14:
            UndoOrRedo(dialog, model, random);
            break;
        }
        ASSERT_EQ(dialog.workingCopy(), model.level()) << "step " << step << ", action " << action;
        ASSERT_EQ(dialog.currentHallway(), model.hallway) << "step " << step;
        ASSERT_EQ(roomCount.value(), model.Rooms()) << "step " << step;
    }
    // Enough of the actions were edits for the comparison to mean something.
    EXPECT_GT(model.states.size(), 40u);
    // OK takes it all, with the checkpoints' hallways worked out.
    LevelRecord expected = model.level();
    expected.RecomputeCheckpointHallways();
    test::ClickButton(dialog, 1);
    EXPECT_EQ(level, expected);
}

TEST(HallwayRandomEdits, TheEditorDoesWhatTheLevelOperationsDo) {
    RunHallwayEditor(test::MakeHallwayLevel({3, 2, 4, 1, 2}, {{0, 9, 9, 1},
                                                              {2, 50, 60, 2},
                                                              {3, 7, 7, 3},
                                                              {4, 8, 8, 4},
                                                              {4, 200, 30, 5},
                                                              {6, 100, 100, 6},
                                                              {8, 1, 1, 7},
                                                              {9, 2, 2, 8},
                                                              {11, 3, 3, 9}}),
                     11);
    RunHallwayEditor(*test::DemoLevel(3), 12);
}

// The enemy placement editor.

void RunEnemyEditor(LevelRecord level, std::uint32_t seed) {
    test::EditorDisplay display;
    auto graphics = test::MakeEnemyGraphics();
    CEnemyPlacementDlg dialog(display.context, level, *graphics);
    dialog.show();
    History model(level);
    std::mt19937 random(seed);
    int snapX = 8;
    int snapY = 8;

    auto& canvas = Canvas(dialog, 1008);
    auto& list = Find<CColourListControl>(dialog, 1068);
    // The current hallway's first placement, its rows, and its first and last positions.
    auto rowsOf = [&](const LevelRecord& l, int h, int& first, int& start, int& end) {
        start = l.HallwayStart(h);
        end = start + l.hallways[static_cast<std::size_t>(h)].lastRoom;
        first = l.EnemiesBeforeHallway(h);
        int rows = 0;
        while (first + rows < l.enemyCount &&
               l.enemies[static_cast<std::size_t>(first + rows)].roomPosition >= start &&
               l.enemies[static_cast<std::size_t>(first + rows)].roomPosition <= end) {
            ++rows;
        }
        return rows;
    };
    for (int step = 0; step < kSteps; ++step) {
        const int h = model.hallway;
        int first = 0;
        int start = 0;
        int end = 0;
        const int rows = rowsOf(model.level(), h, first, start, end);
        ASSERT_EQ(list.rowCount(), rows) << "step " << step;
        const int action = Below(random, 9);
        switch (action) {
        case 0:
            model.hallway = Below(random, model.level().hallwayCount);
            test::Type(Find<QSpinBox>(dialog, 1011), model.hallway);
            break;
        case 1: // a row (the first ten show without scrolling)
            if (rows > 0 && rows <= 10) {
                test::ClickRow(list, Below(random, rows), 16);
            }
            break;
        case 2:
            if (rows < 10) {
                test::ClickButton(dialog, 1077);
                model.Change([&](LevelRecord& l) {
                    l.AddEnemy(EnemyPlacement{8, 8, static_cast<std::uint8_t>(start), 0}.Packed());
                });
            }
            break;
        case 3: { // Delete: the selected row's placement
            const int row = list.SelectedRow(rows);
            test::ClickButton(dialog, 1082);
            if (row < rows) {
                model.Change([&](LevelRecord& l) { l.DeleteEnemy(first + row); });
            }
            break;
        }
        case 4: { // a drag in the room shown, from a placement there to anywhere in the room
            // The picture shows one whole room: it scrolls a room at a time (to show a clicked
            // row's placement), so every snap step divides the scrolled-off pixels.
            const int shownRoom = canvas.scrollPosition() / 32;
            EXPECT_EQ(canvas.scrollPosition(), shownRoom * 32) << "step " << step;
            std::vector<int> inShownRoom;
            for (int r = 0; r < rows; ++r) {
                if (model.level().enemies[static_cast<std::size_t>(first + r)].roomPosition ==
                    start + shownRoom) {
                    inShownRoom.push_back(first + r);
                }
            }
            if (inShownRoom.empty()) {
                break;
            }
            const EnemyPlacement grabbed =
                model.level().enemies[static_cast<std::size_t>(inShownRoom[static_cast<std::size_t>(
                    Below(random, static_cast<int>(inShownRoom.size())))])];
            // The press picks the first placement of the hallway within 8 pixels.
            const int shownFrom = shownRoom * 256;
            const QPoint press(grabbed.x, grabbed.y);
            int hit = -1;
            for (int i = first; i < first + rows && hit < 0; ++i) {
                const EnemyPlacement& e = model.level().enemies[static_cast<std::size_t>(i)];
                const int ex = e.x + (e.roomPosition - start) * 256 - shownFrom;
                if (ex - 8 < press.x() && press.x() <= ex + 8 && e.y - 8 < press.y() &&
                    press.y() <= e.y + 8) {
                    hit = i;
                }
            }
            ASSERT_GE(hit, 0);
            const EnemyPlacement& picked = model.level().enemies[static_cast<std::size_t>(hit)];
            const QPoint target(Below(random, 256), Below(random, 256));
            test::Press(canvas, press);
            test::Move(canvas, target, Qt::LeftButton);
            test::Release(canvas, target);
            // Snapped: steps of the snap values, keeping where the marker was grabbed.
            const int ex = picked.x + (picked.roomPosition - start) * 256;
            const int sx = (target.x() / snapX) * snapX + ex % snapX;
            const int sy = (target.y() / snapY) * snapY + picked.y % snapY;
            const int absolute = std::clamp(sx + shownFrom + start * 256, start * 256,
                                            (std::min(end, 31) + 1) * 256 - 1);
            const EnemyPlacement moved{static_cast<std::uint8_t>(absolute % 256),
                                       static_cast<std::uint8_t>(sy % 256),
                                       static_cast<std::uint8_t>(absolute / 256), picked.enemyId};
            model.Change([&](LevelRecord& l) { l.SetEnemy(hit, moved.Packed()); });
            break;
        }
        case 5: { // the Enemy editor on the selected row
            const int row = list.SelectedRow(rows);
            if (row >= rows || rows > 10) {
                break;
            }
            const EnemyPlacement edited{static_cast<std::uint8_t>(Below(random, 256)),
                                        static_cast<std::uint8_t>(Below(random, 256)),
                                        static_cast<std::uint8_t>(Below(random, 40)),
                                        static_cast<std::uint8_t>(Below(random, 256))};
            test::WhenEnemyEditorOpens(dialog, [&edited](CEnemyEditorDlg& editor) {
                test::Type(Find<QSpinBox>(editor, 1063), edited.roomPosition);
                test::Type(Find<QSpinBox>(editor, 1074), edited.x);
                test::Type(Find<QSpinBox>(editor, 1081), edited.y);
                Find<QLineEdit>(editor, 1071).setText(QString::number(edited.enemyId, 16));
                test::ClickButton(editor, 1);
            });
            QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, QPoint(8, row * 16 + 8));
            model.Change([&](LevelRecord& l) { l.SetEnemy(first + row, edited.Packed()); });
            break;
        }
        case 6: { // a bank
            const int bank = Below(random, 58);
            test::Type(Find<QSpinBox>(dialog, 1109), bank);
            model.Change([&](LevelRecord& l) {
                Hallway entry = l.hallways[static_cast<std::size_t>(h)];
                entry.enemyBank = static_cast<std::uint8_t>(bank);
                l.SetHallwayEntry(h, entry);
            });
            break;
        }
        case 7: { // snap steps
            const int x = Below(random, 6);
            const int y = Below(random, 6);
            test::Choose(Find<QComboBox>(dialog, 1075), x);
            test::Choose(Find<QComboBox>(dialog, 1079), y);
            snapX = 1 << x;
            snapY = 1 << y;
            break;
        }
        case 8:
            UndoOrRedo(dialog, model, random);
            break;
        }
        ASSERT_EQ(dialog.workingCopy(), model.level()) << "step " << step << ", action " << action;
        ASSERT_EQ(dialog.currentHallway(), model.hallway) << "step " << step;
    }
    EXPECT_GT(model.states.size(), 40u);
    const EnemyGraphics tables = *graphics;
    test::ClickButton(dialog, 1);
    EXPECT_EQ(level, model.level());
    EXPECT_EQ(*graphics, tables);
}

TEST(EnemyRandomEdits, TheEditorDoesWhatTheLevelOperationsDo) {
    RunEnemyEditor(test::MakeHallwayLevel({2, 3, 1, 2}, {{0, 30, 30, 1},
                                                         {0, 60, 90, 2},
                                                         {1, 10, 10, 3},
                                                         {2, 100, 200, 4},
                                                         {2, 104, 204, 5},
                                                         {3, 40, 40, 6},
                                                         {5, 5, 5, 7},
                                                         {6, 70, 70, 8}}),
                   21);
    RunEnemyEditor(*test::DemoLevel(2), 22);
}

} // namespace
} // namespace korvane
