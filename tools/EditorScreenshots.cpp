// Takes a picture of each editor dialog on the demo cartridge: opens it on a level, does what a
// user would do for a moment (picks an item and a part, paints, moves the pointer over the
// edit canvas) and saves the dialog as a PNG; also "Tiles import" with the demo cartridge loaded
// and the Enemy editor on one placement; the tile editor once more at zoom 2, and the main window
// on the demo cartridge. It runs with a home folder of its own: nothing of the user's is read or
// written.
//   korvane-screenshots OUTPUT_FOLDER [LEVEL]
// A new editor gets its pictures by a row in kEditors.

#include "DemoCartridge.h"
#include "app/CKorvaneApp.h"
#include "app/CKorvaneView.h"
#include "app/CMainFrame.h"
#include "app/UserPrompt.h"
#include "editors/CAssemblyEditorDlg.h"
#include "editors/CBlockEditorDlg.h"
#include "editors/CCanvasControl.h"
#include "editors/CColourListControl.h"
#include "editors/CColourSelectorControl.h"
#include "editors/CEnemyEditorDlg.h"
#include "editors/CEnemyPlacementDlg.h"
#include "editors/CHallwayEditorDlg.h"
#include "editors/CPaletteEditorDlg.h"
#include "editors/CPixelEditorControl.h"
#include "editors/CRoomEditorDlg.h"
#include "editors/CTileEditorDlg.h"
#include "editors/CTileImportDlg.h"
#include "editors/EditorControlIds.h"
#include "editors/EditorZoomSettings.h"
#include "gamedata/GameData.h"
#include "gamedata/UserReporter.h"
#include "graphics/CPixelImage.h"
#include "graphics/DisplayLayer.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QScreen>
#include <QSpinBox>
#include <QTemporaryDir>

#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

namespace korvane {
namespace {

using OpenEditor = std::function<std::unique_ptr<CEditorDialog>(DisplayContext&, LevelRecord&)>;
using UseEditor = std::function<void(CEditorDialog&)>;

struct EditorPicture {
    const char* file;
    OpenEditor open;
    UseEditor use;
    int zoom = 1; // set before use, which gives item sizes at zoom 1
};

template <class Dialog>
std::unique_ptr<CEditorDialog> Open(DisplayContext& display, LevelRecord& level) {
    return std::make_unique<Dialog>(display, level);
}

void Send(QWidget& widget, QEvent::Type type, QPoint pos) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, QPointF(pos), QPointF(widget.mapToGlobal(pos)), button, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

CCanvasControl& Canvas(CEditorDialog& dialog, int controlId) {
    return *dialog.findChild<CCanvasControl*>(ids::ControlObjectName(controlId));
}

// A click in the middle of the item at (column, row) of a canvas whose items are itemPixels
// screen pixels square at zoom 1.
void Click(CEditorDialog& dialog, int canvasId, int column, int row, int itemPixels) {
    CCanvasControl& canvas = Canvas(dialog, canvasId);
    itemPixels *= dialog.zoom();
    const QPoint centre(column * itemPixels + itemPixels / 2, row * itemPixels + itemPixels / 2);
    Send(canvas, QEvent::MouseMove, centre);
    Send(canvas, QEvent::MouseButtonPress, centre);
    Send(canvas, QEvent::MouseButtonRelease, centre);
}

// The pointer resting over an item, so that the picture shows the selection frame.
void Hover(CEditorDialog& dialog, int canvasId, int column, int row, int itemPixels) {
    itemPixels *= dialog.zoom();
    Send(Canvas(dialog, canvasId), QEvent::MouseMove,
         QPoint(column * itemPixels + itemPixels / 2, row * itemPixels + itemPixels / 2));
}

template <class Control> Control& Find(QWidget& dialog, int controlId) {
    return *dialog.findChild<Control*>(ids::ControlObjectName(controlId));
}

// A press (and release) with the button at the middle of a rectangle of a control.
void ClickAt(QWidget& widget, QPoint pos, Qt::MouseButton button = Qt::LeftButton) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(pos), QPointF(widget.mapToGlobal(pos)),
                      button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(pos), QPointF(widget.mapToGlobal(pos)),
                        button, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &release);
}

// A palette list row clicked (rows of 16 pixels).
void ClickRow(CEditorDialog& dialog, int row) {
    ClickAt(*Find<CColourListControl>(dialog, ids::kPaletteList).viewport(),
            QPoint(8, row * 16 + 8));
}

// A pixel of a pixel editor or strip painted with the left button.
void PaintPixel(CEditorDialog& dialog, int x, int y) {
    auto& pixels = Find<CPixelEditorControl>(dialog, ids::kPixelEditor);
    ClickAt(pixels, pixels.CellRect(x, y).center());
}

// Tile 0x23 in palette row 2 with a diagonal painted in colour 3 (the other diagonal when
// mirrored).
void UseTileEditor(CEditorDialog& dialog, bool mirrored) {
    Click(dialog, ids::kTilesCanvas, 3, 2, 16);
    ClickRow(dialog, 2);
    auto& colours = Find<CColourSelectorControl>(dialog, ids::kColourSelector);
    ClickAt(colours, colours.CellRect(3).center());
    for (int i = 0; i < 8; ++i) {
        PaintPixel(dialog, mirrored ? 7 - i : i, i);
    }
    Hover(dialog, ids::kTilesCanvas, 3, 2, 16);
}

// The demo cartridge's enemy tables, decoded once, for the enemy placement editor (which writes
// them back only on OK, never given here).
EnemyGraphics& DemoEnemyTables() {
    static const std::unique_ptr<EnemyGraphics> tables = [] {
        auto gameData = std::make_unique<GameData>();
        gameData->Decode(*MakeDemoCartridge(1));
        return std::make_unique<EnemyGraphics>(gameData->enemyGraphics);
    }();
    return *tables;
}

std::unique_ptr<CEditorDialog> OpenEnemyPlacement(DisplayContext& display, LevelRecord& level) {
    return std::make_unique<CEnemyPlacementDlg>(display, level, DemoEnemyTables());
}

const std::vector<EditorPicture> kEditors{
    {"block-editor.png", &Open<CBlockEditorDlg>,
     [](CEditorDialog& dialog) {
         Click(dialog, ids::kBlocksCanvas, 5, 1, 16); // block 21
         Click(dialog, ids::kTilesCanvas, 4, 2, 16);  // tile 0x24
         Click(dialog, ids::kBlockEditCanvas, 1, 1, 32);
         Hover(dialog, ids::kBlockEditCanvas, 0, 1, 32);
     }},
    {"assembly-editor.png", &Open<CAssemblyEditorDlg>,
     [](CEditorDialog& dialog) {
         Click(dialog, ids::kAssembliesCanvas, 2, 1, 32); // assembly 34
         Click(dialog, ids::kBlocksCanvas, 6, 3, 16);     // block 0x36
         Click(dialog, ids::kAssemblyEditCanvas, 1, 1, 32);
         Hover(dialog, ids::kAssemblyEditCanvas, 0, 0, 32);
     }},
    {"room-editor.png", &Open<CRoomEditorDlg>,
     [](CEditorDialog& dialog) {
         Click(dialog, ids::kRoomsCanvas, 1, 0, 64);      // room 1
         Click(dialog, ids::kAssembliesCanvas, 3, 2, 32); // assembly 0x23
         Click(dialog, ids::kRoomEditCanvas, 3, 4, 32);
         Click(dialog, ids::kRoomEditCanvas, 4, 4, 32);
         Hover(dialog, ids::kRoomEditCanvas, 5, 4, 32);
     }},
    {"tile-editor.png", &Open<CTileEditorDlg>,
     [](CEditorDialog& dialog) { UseTileEditor(dialog, false); }},
    {"tile-editor-zoom2.png", &Open<CTileEditorDlg>,
     [](CEditorDialog& dialog) { UseTileEditor(dialog, true); }, 2},
    {"palette-editor.png", &Open<CPaletteEditorDlg>,
     [](CEditorDialog& dialog) {
         ClickRow(dialog, 5);
         auto& colours = Find<CColourSelectorControl>(dialog, ids::kColourSelector);
         ClickAt(colours, colours.CellRect(0x21).center());
         PaintPixel(dialog, 2, 0);
     }},
    {"hallway-editor.png", &Open<CHallwayEditorDlg>,
     [](CEditorDialog& dialog) {
         Click(dialog, ids::kRoomsCanvas, 2, 1, 64); // room 10
         Hover(dialog, ids::kRoomsCanvas, 2, 1, 64);
     }},
    {"enemy-placement-editor.png", &OpenEnemyPlacement,
     [](CEditorDialog& dialog) {
         ClickAt(*Find<CColourListControl>(dialog, ids::kPlacementList).viewport(), QPoint(8, 8));
         ClickRow(dialog, 1);
     }},
};

void Settle(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

// The window's picture as folder/name; says which file it wrote, or that it could not.
bool SavePicture(QWidget& window, const QDir& folder, const QString& name) {
    const QString path = folder.filePath(name);
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s (%dx%d)\n", qPrintable(path), window.width(), window.height());
    return true;
}

// The Enemy editor on the first placement of the level.
bool TakeEnemyEditorPicture(const LevelRecord& level, const QDir& folder) {
    CEnemyEditorDlg dialog(level.enemies[0]);
    dialog.show();
    Settle(200);
    return SavePicture(dialog, folder, QStringLiteral("enemy-editor.png"));
}

// "Tiles import" with the demo cartridge itself loaded, at its first character bank.
bool TakeTileImportPicture(DisplayContext& display, const QDir& folder) {
    QTemporaryDir scratch;
    const QString cartridge = scratch.filePath(QStringLiteral("demo.nes"));
    std::string error;
    if (!scratch.isValid() || !WriteDemoCartridge(cartridge.toStdString(), 1, error)) {
        std::fprintf(stderr, "cannot write the demo cartridge: %s\n", error.c_str());
        return false;
    }
    CTileImportDlg dialog(display);
    dialog.show();
    Settle(200);
    if (!dialog.LoadFile(cartridge)) {
        std::fprintf(stderr, "cannot load %s\n", qPrintable(cartridge));
        return false;
    }
    Find<QSpinBox>(dialog, ids::kBankField).setValue(128);
    Settle(200);
    return SavePicture(dialog, folder, QStringLiteral("tile-import.png"));
}

// The main window on the demo cartridge, showing the level's first hallway.
bool TakeMainWindowPicture(int levelNumber, const QDir& folder, const QString& settingsFile) {
    QTemporaryDir scratch;
    const QString cartridge = scratch.filePath(QStringLiteral("demo.nes"));
    std::string error;
    if (!scratch.isValid() || !WriteDemoCartridge(cartridge.toStdString(), 1, error)) {
        std::fprintf(stderr, "cannot write the demo cartridge: %s\n", error.c_str());
        return false;
    }
    RecordingReporter reporter;
    RecordingPrompt prompt;
    CKorvaneApp app(reporter, prompt, settingsFile);
    if (!app.InitInstance({QStringLiteral("korvane"), QStringLiteral("-nosplash"), cartridge})) {
        std::fprintf(stderr, "the main window did not start\n");
        return false;
    }
    CMainFrame& frame = *app.mainFrame();
    frame.show();
    frame.view().levelField().setValue(levelNumber);
    Settle(400);
    if (!SavePicture(frame, folder, QStringLiteral("screenshot.png"))) {
        return false;
    }
    for (const RecordingReporter::Message& message : reporter.messages) {
        std::fprintf(stderr, "%s\n", message.text.c_str());
    }
    return reporter.messages.empty();
}

} // namespace
} // namespace korvane

int main(int argc, char** argv) {
    // A home of the run's own: the settings, the zooms and the recovery copies go there.
    QTemporaryDir home;
    if (!home.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    for (const char* variable :
         {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"}) {
        qputenv(variable, home.path().toLocal8Bit());
    }
    QApplication application(argc, argv);
    const QString settingsFile = home.filePath(QStringLiteral("settings.ini"));
    korvane::EditorZoomSettings::UseSettingsFile(settingsFile);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: korvane-screenshots OUTPUT_FOLDER [LEVEL]\n");
        return 2;
    }
    using namespace korvane;
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const int levelNumber = argc == 3 ? std::atoi(argv[2]) : 0;
    if (!folder.exists() || levelNumber < 0 || levelNumber >= kLevelCount) {
        std::fprintf(stderr, "no folder %s, or no level %d\n", argv[1], levelNumber);
        return 2;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int depth = screen != nullptr ? screen->depth() : 32;
    RecordingReporter reporter;
    DisplayContext display(depth, &reporter);
    CPixelImage::SetScreenDepth(depth);
    auto gameData = std::make_unique<GameData>();
    gameData->Decode(*MakeDemoCartridge(1));

    // The screen's own pointer away from the dialogs: only the rows below move a frame.
    QCursor::setPos(0, 0);
    bool ok = true;
    for (const EditorPicture& picture : kEditors) {
        LevelRecord level = gameData->levels[static_cast<std::size_t>(levelNumber)];
        std::unique_ptr<CEditorDialog> dialog = picture.open(display, level);
        dialog->show();
        dialog->SetZoom(picture.zoom);
        Settle(200);
        picture.use(*dialog);
        Settle(200);
        ok = SavePicture(*dialog, folder, QString::fromLatin1(picture.file)) && ok;
    }
    ok = TakeTileImportPicture(display, folder) && ok;
    ok = TakeMainWindowPicture(levelNumber, folder, settingsFile) && ok;
    ok = TakeEnemyEditorPicture(gameData->levels[static_cast<std::size_t>(levelNumber)], folder) &&
         ok;
    for (const RecordingReporter::Message& message : reporter.messages) {
        std::fprintf(stderr, "%s\n", message.text.c_str());
        ok = false;
    }
    return ok ? 0 : 1;
}
