// How fast the hallway and enemy placement editors answer: one room painted into a 16-room
// hallway (the click to the hallway canvas redrawn and presented), one Nb. Rooms change that
// moves 200 placements (the typed number to the hallway canvas presented), and one mouse move
// of an enemy drag (to the canvas presented). Target: under 1 ms each.

#include "BenchSupport.h"
#include "DemoCartridge.h"
#include "editors/CCanvasControl.h"
#include "editors/CEnemyPlacementDlg.h"
#include "editors/CHallwayEditorDlg.h"
#include "editors/EditorControlIds.h"
#include "gamedata/GameData.h"
#include "gamedata/UserReporter.h"
#include "graphics/DisplayLayer.h"

#include <QComboBox>
#include <QSpinBox>

#include <benchmark/benchmark.h>

#include <memory>

namespace korvane {
namespace {

using bench::SecondsSince;
using bench::SendMouse;

// Demo level 1 with its hallways made over: the given room counts from position 0 (position p
// shows room p mod 32), transition 2, and placements spread over the first positions.
std::unique_ptr<LevelRecord> BenchLevel(const std::vector<int>& roomsPerHallway, int placements,
                                        int positions) {
    auto gameData = std::make_unique<GameData>();
    gameData->Decode(*MakeDemoCartridge(1));
    auto level = std::make_unique<LevelRecord>(gameData->levels[1]);
    level->hallways = {};
    for (std::size_t h = 0; h < roomsPerHallway.size(); ++h) {
        level->hallways[h] = {0, static_cast<std::uint8_t>(h % 5), 2,
                              static_cast<std::uint8_t>(roomsPerHallway[h] - 1)};
    }
    for (std::size_t p = 0; p < level->roomOrder.size(); ++p) {
        level->roomOrder[p] = static_cast<std::uint8_t>(p);
    }
    level->enemies.fill(EnemyPlacement::FromPacked(kEnemyTerminator));
    for (int i = 0; i < placements; ++i) {
        level->enemies[static_cast<std::size_t>(i)] = {
            static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(i * 53),
            static_cast<std::uint8_t>(i % positions), static_cast<std::uint8_t>(i)};
    }
    level->checkpointRooms = {kNoCheckpoint, kNoCheckpoint};
    level->CountHallways();
    level->CountEnemies();
    level->SortEnemies();
    return level;
}

class HallwaySession {
public:
    explicit HallwaySession(std::unique_ptr<LevelRecord> level)
        : display_(32, &reporter_), level_(std::move(level)) {
        dialog_ = std::make_unique<CHallwayEditorDlg>(display_, *level_);
        dialog_->show();
        QCoreApplication::processEvents();
    }
    template <class Control> Control& Find(int id) {
        return *dialog_->findChild<Control*>(ids::ControlObjectName(id));
    }
    CHallwayEditorDlg& dialog() { return *dialog_; }
    bool failed() const { return !reporter_.messages.empty(); }
    void Present(CCanvasControl& canvas) {
        canvas.repaint(0, 0, canvas.clientWidth(), canvas.clientHeight());
    }

private:
    RecordingReporter reporter_;
    DisplayContext display_;
    std::unique_ptr<LevelRecord> level_;
    std::unique_ptr<CHallwayEditorDlg> dialog_;
};

// Rooms 1 and 2 by turns into position 8 of a 16-room hallway.
void BM_HallwayRoomPaint(benchmark::State& state) {
    HallwaySession session(BenchLevel({16, 2}, 0, 1));
    auto& hallway = session.Find<CCanvasControl>(ids::kHallwayCanvas);
    auto& rooms = session.Find<CCanvasControl>(ids::kRoomsCanvas);
    int room = 1;
    for (auto _ : state) {
        room = 3 - room;
        const QPoint choice(room * 64 + 32, 32);
        SendMouse(rooms, QEvent::MouseMove, choice, Qt::NoButton);
        SendMouse(rooms, QEvent::MouseButtonPress, choice, Qt::LeftButton);
        SendMouse(rooms, QEvent::MouseButtonRelease, choice, Qt::NoButton);
        hallway.Scroll(ScrollRequest::ThumbTrack, 8 * 32);
        QCoreApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        SendMouse(hallway, QEvent::MouseMove, {128, 128}, Qt::NoButton);
        SendMouse(hallway, QEvent::MouseButtonPress, {128, 128}, Qt::LeftButton);
        // The release makes the press's stroke its step.
        SendMouse(hallway, QEvent::MouseButtonRelease, {128, 128}, Qt::NoButton);
        session.Present(hallway);
        state.SetIterationTime(SecondsSince(start));
        if (session.dialog().undoStack().count() > 1000) {
            session.dialog().undoStack().clear();
        }
    }
    if (session.failed() || session.dialog().workingCopy().roomOrder[8] != room) {
        state.SkipWithError("display error or no room painted");
    }
}

// Hallway 0 between 3 and 4 rooms by turns, the 200 placements after it moving each time.
void BM_RoomCountWith200Placements(benchmark::State& state) {
    HallwaySession session(BenchLevel({3, 3, 3}, 200, 9));
    auto& hallway = session.Find<CCanvasControl>(ids::kHallwayCanvas);
    auto& count = session.Find<QSpinBox>(ids::kRoomCountField);
    int rooms = 3;
    for (auto _ : state) {
        rooms = 7 - rooms;
        QCoreApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        count.setValue(rooms);
        session.Present(hallway);
        state.SetIterationTime(SecondsSince(start));
        if (session.dialog().undoStack().count() > 1000) {
            session.dialog().undoStack().clear();
        }
    }
    if (session.failed() || session.dialog().workingCopy().hallways[0].lastRoom + 1 != rooms) {
        state.SkipWithError("display error or no room count change");
    }
}

// A placement held and moved by turns between two points of the first room, snap 1.
void BM_EnemyDragMove(benchmark::State& state) {
    RecordingReporter reporter;
    DisplayContext display(32, &reporter);
    auto level = BenchLevel({3, 3, 3}, 60, 9);
    // One placement at (100, 100) of position 0 to hold.
    level->AddEnemy(EnemyPlacement{100, 100, 0, 0x42}.Packed());
    auto graphics = std::make_unique<EnemyGraphics>();
    CEnemyPlacementDlg dialog(display, *level, *graphics);
    dialog.show();
    dialog.findChild<QComboBox*>(ids::ControlObjectName(ids::kSnapX))->setCurrentIndex(0);
    dialog.findChild<QComboBox*>(ids::ControlObjectName(ids::kSnapY))->setCurrentIndex(0);
    auto& canvas = *dialog.findChild<CCanvasControl*>(ids::ControlObjectName(ids::kHallwayCanvas));
    QCoreApplication::processEvents();
    SendMouse(canvas, QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton);
    int step = 0;
    for (auto _ : state) {
        step = 1 - step;
        const QPoint to(120 + 40 * step, 120 + 40 * step);
        QCoreApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        SendMouse(canvas, QEvent::MouseMove, to, Qt::LeftButton);
        canvas.repaint(0, 0, canvas.clientWidth(), canvas.clientHeight());
        state.SetIterationTime(SecondsSince(start));
    }
    const bool dragging = canvas.dragging();
    SendMouse(canvas, QEvent::MouseButtonRelease, {120, 120}, Qt::NoButton);
    if (!reporter.messages.empty() || !dragging) {
        state.SkipWithError("display error or no drag");
    }
}

BENCHMARK(BM_HallwayRoomPaint)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RoomCountWith200Placements)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EnemyDragMove)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace korvane
