// How fast the editors answer: for the block, assembly and room editors, one Paint click on
// the edit canvas, from the mouse event to every canvas that shows the change redrawn and
// presented, and one Undo from its button to the same. Also what the undo steps hold: the
// memory of 1,000 single-byte steps (counters undo_bytes, as the steps count it, and
// heap_bytes, as the heap grew; both also on standard error). In the tile editor, one mouse
// move of a paint stroke (the pixel set, the tile stored, the overview redrawn, both presented);
// in the palette editor, one colour painted (the step, the strip and the list row presented).

#include "BenchSupport.h"
#include "DemoCartridge.h"
#include "editors/CAssemblyEditorDlg.h"
#include "editors/CBlockEditorDlg.h"
#include "editors/CCanvasControl.h"
#include "editors/CColourListControl.h"
#include "editors/CColourSelectorControl.h"
#include "editors/CPaletteEditorDlg.h"
#include "editors/CPixelEditorControl.h"
#include "editors/CRoomEditorDlg.h"
#include "editors/CTileEditorDlg.h"
#include "editors/EditorControlIds.h"
#include "editors/EditorZoomSettings.h"
#include "gamedata/GameData.h"
#include "gamedata/UserReporter.h"
#include "graphics/DisplayLayer.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace korvane {
namespace {

using bench::SecondsSince;
using bench::SendMouse;

// One editor: how to open it and where its canvases are. Items, edit cells and parts are
// clicked in the middle of squares of the given screen pixels.
struct EditorBench {
    std::function<std::unique_ptr<CEditorDialog>(DisplayContext&, LevelRecord&)> open;
    int itemsId;
    int editId;
    int cellPixels;
    int partsId;
    int partPixels;
};

template <class Dialog>
std::unique_ptr<CEditorDialog> Open(DisplayContext& display, LevelRecord& level) {
    return std::make_unique<Dialog>(display, level);
}

const EditorBench kBlock{
    &Open<CBlockEditorDlg>, ids::kBlocksCanvas, ids::kBlockEditCanvas, 32, ids::kTilesCanvas, 16};
const EditorBench kAssembly{&Open<CAssemblyEditorDlg>, ids::kAssembliesCanvas,
                            ids::kAssemblyEditCanvas,  32,
                            ids::kBlocksCanvas,        16};
const EditorBench kRoom{
    &Open<CRoomEditorDlg>, ids::kRoomsCanvas, ids::kRoomEditCanvas, 32, ids::kAssembliesCanvas, 32};

void Press(QWidget& widget, QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(widget.mapToGlobal(pos)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &move);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(pos), QPointF(widget.mapToGlobal(pos)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &press);
}

void Release(QWidget& widget, QPoint pos) {
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(pos), QPointF(widget.mapToGlobal(pos)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &release);
}

// A press and its release: the press paints, the release makes the stroke a step.
void Click(QWidget& widget, QPoint pos) {
    Press(widget, pos);
    Release(widget, pos);
}

void DragTo(QWidget& widget, QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(widget.mapToGlobal(pos)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &move);
}

// An open editor on a demo level, shown, with its canvases at hand.
class Session {
public:
    // At a zoom above 1 the dialog is made large enough to show every canvas whole, as on a
    // large screen: nothing is clipped away from the drawing.
    explicit Session(const EditorBench& bench, int zoom = 1)
        : bench_(bench), display_(32, &reporter_), zoom_(zoom) {
        auto gameData = std::make_unique<GameData>();
        gameData->Decode(*MakeDemoCartridge(1));
        level_ = std::make_unique<LevelRecord>(gameData->levels[1]);
        dialog_ = bench.open(display_, *level_);
        dialog_->show();
        if (zoom > 1) {
            dialog_->SetZoom(zoom);
            dialog_->resize(dialog_->contentArea()->widget()->sizeHint() + QSize(100, 100));
        }
        QCoreApplication::processEvents();
        edit_ = Canvas(bench.editId);
        parts_ = Canvas(bench.partsId);
    }
    CCanvasControl* Canvas(int id) {
        return dialog_->findChild<CCanvasControl*>(ids::ControlObjectName(id));
    }
    // Chooses part 1 or 2 on the parts canvas, so that the next paint always changes a byte.
    void ChoosePart(int part) {
        const int pixels = bench_.partPixels * zoom_;
        Click(*parts_, QPoint(part * pixels + pixels / 2, pixels / 2));
    }
    void PaintFirstCell() { Click(*edit_, EditCell(0, 0)); }
    // The middle of cell (column, row) of the edit canvas.
    QPoint EditCell(int column, int row) const {
        const int pixels = bench_.cellPixels * zoom_;
        return {column * pixels + pixels / 2, row * pixels + pixels / 2};
    }
    CCanvasControl& edit() { return *edit_; }
    // What the event loop does after a change: the canvases that show it draw their frames and
    // paint again the parts that differ (the paint requests they make are handled too).
    void Present() {
        QCoreApplication::processEvents(); // the frames drawn, the paints asked for
        QCoreApplication::processEvents(); // the paints
    }
    void Undo() { dialog_->findChild<QPushButton*>(QString::fromLatin1(ids::kUndoName))->click(); }
    CEditorDialog& dialog() { return *dialog_; }
    bool failed() const { return !reporter_.messages.empty(); }

private:
    const EditorBench& bench_;
    RecordingReporter reporter_;
    DisplayContext display_;
    std::unique_ptr<LevelRecord> level_;
    std::unique_ptr<CEditorDialog> dialog_;
    CCanvasControl* edit_ = nullptr;
    CCanvasControl* parts_ = nullptr;
    int zoom_ = 1;
};

void BM_PaintClick(benchmark::State& state, const EditorBench* bench) {
    Session session(*bench);
    int part = 1;
    for (auto _ : state) {
        part = 3 - part;
        session.ChoosePart(part);
        QCoreApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        session.PaintFirstCell();
        session.Present();
        state.SetIterationTime(SecondsSince(start));
        if (session.dialog().undoStack().count() > 1000) {
            session.dialog().undoStack().clear();
        }
    }
    if (session.failed()) {
        state.SkipWithError("display error");
    }
}

void BM_Undo(benchmark::State& state, const EditorBench* bench) {
    Session session(*bench);
    int part = 1;
    for (auto _ : state) {
        part = 3 - part;
        session.ChoosePart(part);
        session.PaintFirstCell();
        session.Present();
        QCoreApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        session.Undo();
        session.Present();
        state.SetIterationTime(SecondsSince(start));
    }
    if (session.failed()) {
        state.SkipWithError("display error");
    }
}

std::size_t HeapInUse() {
#if defined(__GLIBC__)
    return mallinfo2().uordblks;
#else
    return 0;
#endif
}

// 1,000 Paint clicks in the block editor, each changing one byte.
void BM_UndoMemoryOf1000Steps(benchmark::State& state) {
    double stepBytes = 0;
    double heapBytes = 0;
    for (auto _ : state) {
        Session session(kBlock);
        QCoreApplication::processEvents();
        const std::size_t before = HeapInUse();
        for (int i = 0; i < 1000; ++i) {
            session.ChoosePart(1 + i % 2);
            session.PaintFirstCell();
        }
        const std::size_t after = HeapInUse();
        stepBytes = static_cast<double>(session.dialog().UndoMemoryBytes());
        heapBytes = static_cast<double>(after > before ? after - before : 0);
        if (session.dialog().undoStack().count() != 1000) {
            state.SkipWithError("not 1,000 steps");
        }
    }
    state.counters["undo_bytes"] = stepBytes;
    state.counters["heap_bytes"] = heapBytes;
    std::fprintf(stderr,
                 "undo memory of 1,000 single-byte steps: %.0f bytes held by the steps, "
                 "%.0f bytes of heap growth (target: under 1,000,000)\n",
                 stepBytes, heapBytes);
}

// A demo level's editor of the given kind, shown, with a display that records failures.
template <class Dialog> class PixelSession {
public:
    PixelSession() : display_(32, &reporter_) {
        auto gameData = std::make_unique<GameData>();
        gameData->Decode(*MakeDemoCartridge(1));
        level_ = std::make_unique<LevelRecord>(gameData->levels[1]);
        dialog_ = std::make_unique<Dialog>(display_, *level_);
        dialog_->show();
        QCoreApplication::processEvents();
    }
    template <class Control> Control& Find(int id) {
        return *dialog_->template findChild<Control*>(ids::ControlObjectName(id));
    }
    Dialog& dialog() { return *dialog_; }
    bool failed() const { return !reporter_.messages.empty(); }

private:
    RecordingReporter reporter_;
    DisplayContext display_;
    std::unique_ptr<LevelRecord> level_;
    std::unique_ptr<Dialog> dialog_;
};

// A paint stroke over tile 0 that never ends: each timed move enters the next pixel, which then
// takes the left colour. After all 64 pixels the stroke ends (a step) and the next one paints
// with the other colour, untimed.
void BM_TileStrokeMove(benchmark::State& state) {
    PixelSession<CTileEditorDlg> session;
    auto& pixels = session.Find<CPixelEditorControl>(ids::kPixelEditor);
    auto& overview = session.Find<CCanvasControl>(ids::kTilesCanvas);
    auto& selector = session.Find<CColourSelectorControl>(ids::kColourSelector);
    // Tile 0 all colour 1 first, so that every timed move changes a pixel.
    session.Find<QPushButton>(ids::kFillErase).click();
    int pixel = 0;
    int colour = 1;
    auto startStroke = [&] {
        colour = 3 - colour;
        const QPoint cell = selector.CellRect(colour).center();
        SendMouse(selector, QEvent::MouseButtonPress, cell, Qt::LeftButton);
        SendMouse(selector, QEvent::MouseButtonRelease, cell, Qt::NoButton);
        SendMouse(pixels, QEvent::MouseButtonPress, pixels.CellRect(0, 0).center(), Qt::LeftButton);
        pixel = 1;
    };
    startStroke();
    for (auto _ : state) {
        if (pixel == 64) {
            SendMouse(pixels, QEvent::MouseButtonRelease, pixels.CellRect(7, 7).center(),
                      Qt::NoButton);
            startStroke();
        }
        QCoreApplication::processEvents();
        const QRect cell = pixels.CellRect(pixel % 8, pixel / 8);
        const auto start = std::chrono::steady_clock::now();
        SendMouse(pixels, QEvent::MouseMove, cell.center(), Qt::LeftButton);
        pixels.repaint(cell);
        overview.repaint(0, 0, overview.clientWidth(), overview.clientHeight());
        state.SetIterationTime(SecondsSince(start));
        ++pixel;
    }
    SendMouse(pixels, QEvent::MouseButtonRelease, pixels.CellRect(0, 0).center(), Qt::NoButton);
    if (session.failed() || session.dialog().undoStack().count() == 0) {
        state.SkipWithError("display error or no step");
    }
}

// One move of a paint stroke over the room being edited: the next of its 64 cells painted with
// the other of two assemblies, and the canvases that show it presented. A stroke ends after
// the last cell and becomes its step.
void BM_RoomStrokeMove(benchmark::State& state) {
    Session session(kRoom, static_cast<int>(state.range(0)));
    int cell = 0;
    int part = 1;
    auto startStroke = [&] {
        part = 3 - part;
        session.ChoosePart(part);
        Press(session.edit(), session.EditCell(0, 0));
        cell = 1;
    };
    startStroke();
    for (auto _ : state) {
        if (cell == 64) {
            Release(session.edit(), session.EditCell(0, 7));
            startStroke();
        }
        QCoreApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        // Row by row, every other row backwards: each move reaches the next cell only.
        const int row = cell / 8;
        DragTo(session.edit(), session.EditCell(row % 2 == 0 ? cell % 8 : 7 - cell % 8, row));
        session.Present();
        state.SetIterationTime(SecondsSince(start));
        ++cell;
    }
    Release(session.edit(), session.EditCell(0, 0));
    if (session.failed() || session.dialog().undoStack().count() == 0) {
        state.SkipWithError("display error or no step");
    }
}

// One step of the room editor's zoom, through 1, 2, 3, 4, 3, 2, 1 and so on: every canvas
// sized and laid out again, the dialog fitted to its content, and the whole dialog presented.
void BM_RoomZoomChange(benchmark::State& state) {
    Session session(kRoom);
    CEditorDialog& dialog = session.dialog();
    int step = 1;
    for (auto _ : state) {
        QCoreApplication::processEvents();
        const int zoom = dialog.zoom();
        if (zoom == CEditorDialog::kMaxZoom || zoom == 1) {
            step = zoom == 1 ? 1 : -1;
        }
        const auto start = std::chrono::steady_clock::now();
        dialog.SetZoom(zoom + step);
        QCoreApplication::processEvents();
        dialog.repaint();
        state.SetIterationTime(SecondsSince(start));
    }
    if (session.failed()) {
        state.SkipWithError("display error");
    }
}

// One click on colour 0 of the palette strip, painting it with the other of two NES colours:
// one step, the strip and the list's row shown again.
void BM_PaletteColourPaint(benchmark::State& state) {
    PixelSession<CPaletteEditorDlg> session;
    auto& strip = session.Find<CPixelEditorControl>(ids::kPixelEditor);
    auto& selector = session.Find<CColourSelectorControl>(ids::kColourSelector);
    auto& list = session.Find<CColourListControl>(ids::kPaletteList);
    const QPoint cell = strip.CellRect(0, 0).center();
    int colour = 0x21;
    for (auto _ : state) {
        colour = colour == 0x21 ? 0x16 : 0x21;
        const QPoint choice = selector.CellRect(colour).center();
        SendMouse(selector, QEvent::MouseButtonPress, choice, Qt::LeftButton);
        SendMouse(selector, QEvent::MouseButtonRelease, choice, Qt::NoButton);
        QCoreApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        SendMouse(strip, QEvent::MouseButtonPress, cell, Qt::LeftButton);
        SendMouse(strip, QEvent::MouseButtonRelease, cell, Qt::NoButton);
        strip.repaint();
        list.viewport()->repaint(list.RowRect(0));
        state.SetIterationTime(SecondsSince(start));
        if (session.dialog().undoStack().count() > 1000) {
            session.dialog().undoStack().clear();
        }
    }
    if (session.failed() || session.dialog().workingCopy().paletteSets[0].bytes[0] != colour) {
        state.SkipWithError("display error or no colour painted");
    }
}

BENCHMARK_CAPTURE(BM_PaintClick, block, &kBlock)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PaintClick, assembly, &kAssembly)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PaintClick, room, &kRoom)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Undo, block, &kBlock)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Undo, assembly, &kAssembly)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Undo, room, &kRoom)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RoomStrokeMove)
    ->ArgName("zoom")
    ->Arg(1)
    ->Arg(4)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RoomZoomChange)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TileStrokeMove)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaletteColourPaint)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoMemoryOf1000Steps)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace korvane

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The offscreen platform says on every dialog shown that it keeps no size hints.
    static const QtMessageHandler standard = qInstallMessageHandler(nullptr);
    qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& where, const QString& text) {
            if (!text.contains(QStringLiteral("propagateSizeHints"))) {
                standard(type, where, text);
            }
        });
    QApplication application(argc, argv);
    // The editors' zooms are kept in a file of the run's own, never in the user's settings.
    QTemporaryDir settings;
    korvane::EditorZoomSettings::UseSettingsFile(settings.filePath(QStringLiteral("zoom.ini")));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
