#pragma once

// The fixed ids of the editor dialogs and their controls. A control's objectName() is "id"
// followed by its id ("id1098"; OK and Cancel are "id1" and "id2"), so that tests and tools
// find any control without knowing a dialog's layout. Add the ids of a new control here rather
// than inventing a number in a dialog.

#include <QString>

namespace korvane::ids {

// The object name of a control: "id" + its fixed id.
inline QString ControlObjectName(int controlId) {
    return QStringLiteral("id%1").arg(controlId);
}

// Dialogs.
inline constexpr int kTileEditorDialog = 131;
inline constexpr int kTileImportDialog = 135;
inline constexpr int kBlockEditorDialog = 153;
inline constexpr int kAssemblyEditorDialog = 155;
inline constexpr int kRoomEditorDialog = 156;
inline constexpr int kHallwayEditorDialog = 157;
inline constexpr int kPaletteEditorDialog = 159;
inline constexpr int kEnemyPlacementDialog = 161;
inline constexpr int kEnemyEditorDialog = 170;

// Buttons every dialog has.
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;

// The shared workflow: tools, grid, Highlights and the palette page list.
inline constexpr int kPaint = 1031;
inline constexpr int kCopy = 1032;
inline constexpr int kPaste = 1033;
inline constexpr int kDropper = 1035;
inline constexpr int kGrid = 1060;
inline constexpr int kHighlights = 1021;
inline constexpr int kPalettePageList = 1029;

// Not controls with a fixed id of their own: the undo and redo buttons and the status line
// every editor dialog has. Their object names are these words.
inline constexpr const char* kUndoName = "undo";
inline constexpr const char* kRedoName = "redo";
inline constexpr const char* kStatusName = "status";

// Canvases ("DDraw ..." controls), by what they show.
inline constexpr int kAssembliesCanvas = 1006;   // all assemblies
inline constexpr int kBlocksCanvas = 1007;       // all blocks
inline constexpr int kHallwayCanvas = 1008;      // a hallway (hallway and enemy editors)
inline constexpr int kTilesCanvas = 1017;        // all tiles; sprite tiles A in the enemy editor
inline constexpr int kSpriteTilesBCanvas = 1045; // sprite tiles B (enemy editor)
inline constexpr int kAssemblyEditCanvas = 1049; // the assembly being edited
inline constexpr int kRoomsCanvas = 1050;        // all rooms, reduced
inline constexpr int kRoomEditCanvas = 1051;     // the room being edited
inline constexpr int kBlockEditCanvas = 1098;    // the block being edited

// Block editor.
inline constexpr int kBlockTypeCombo = 1025;
inline constexpr int kPaletteList = 1018; // also the tile, palette and enemy editors' palette list

// Hallway editor.
inline constexpr int kHallwayField = 1011;
inline constexpr int kHallwaySpin = 1012;
inline constexpr int kRoomCountField = 1014;
inline constexpr int kRoomCountSpin = 1019;
inline constexpr int kTransitionCombo = 1034;
inline constexpr int kRemainingRooms = 1053;
inline constexpr int kInsertHallway = 1055;
inline constexpr int kRemoveHallway = 1057;
inline constexpr int kShiftEnemies = 1059;
inline constexpr int kDeleteCheckpoints = 1065;
inline constexpr int kCheckpoint1 = 1067;
inline constexpr int kCheckpoint2 = 1073;

// Enemy placement editor (Hallway # is kHallwayField and kHallwaySpin).
inline constexpr int kPlacementList = 1068;
inline constexpr int kInsertEnemy = 1077;
inline constexpr int kDeleteEnemy = 1082;
inline constexpr int kSnapX = 1075;
inline constexpr int kSnapY = 1079;
inline constexpr int kBankField = 1109; // also the tile import dialog's bank field
inline constexpr int kBankSpin = 1111;  // also the tile import dialog's bank spin

// Enemy editor (one placement).
inline constexpr int kRoomPositionField = 1063;
inline constexpr int kRoomPositionSpin = 1064;
inline constexpr int kEnemyXField = 1074;
inline constexpr int kEnemyXSpin = 1076;
inline constexpr int kEnemyYField = 1081;
inline constexpr int kEnemyYSpin = 1069;
inline constexpr int kEnemyIdField = 1071;

// Tile editor (palette list kPaletteList, tile overview kTilesCanvas).
inline constexpr int kPixelEditor = 1103;
inline constexpr int kColourSelector = 1105;
inline constexpr int kBucket = 1036;
inline constexpr int kShiftLeft = 1037;
inline constexpr int kShiftUp = 1038;
inline constexpr int kShiftDown = 1039;
inline constexpr int kShiftRight = 1040;
inline constexpr int kMirrorHorizontal = 1041;
inline constexpr int kMirrorVertical = 1042;
inline constexpr int kRotateCounterClockwise = 1043;
inline constexpr int kRotateClockwise = 1044;
inline constexpr int kFillErase = 1048;
inline constexpr int kTileHighlights = 1084;
inline constexpr int kImportFirstHalf = 1113;
inline constexpr int kImportSecondHalf = 1046;

// Tile import dialog (canvas kTilesCanvas, bank kBankField and kBankSpin).
inline constexpr int kImportOtherGame = 102;

// Palette editor (palette list kPaletteList, strip kPixelEditor, selector kColourSelector).
inline constexpr int kEffectCombo = 1061;

// Bitmap resources of the tool buttons: 16 x 16 pictures on light grey (RGB 192, 192, 192).
namespace bitmap {
inline constexpr int kBucket = 138;
inline constexpr int kCopy = 139;
inline constexpr int kDropper = 140;
inline constexpr int kFillErase = 141;
inline constexpr int kGridShown = 142;
inline constexpr int kMirrorHorizontal = 143;
inline constexpr int kMirrorVertical = 144;
inline constexpr int kPaint = 145;
inline constexpr int kPaste = 146;
inline constexpr int kRotateCounterClockwise = 147;
inline constexpr int kRotateClockwise = 148;
inline constexpr int kShiftDown = 149;
inline constexpr int kShiftLeft = 150;
inline constexpr int kShiftRight = 151;
inline constexpr int kShiftUp = 152;
inline constexpr int kGridHidden = 184;
} // namespace bitmap

} // namespace korvane::ids
