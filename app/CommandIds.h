#pragma once

// Command and control numbers shared by the menu, the toolbar, the accelerators and the main
// view. They keep the framework's standard numbers so that every command is known by one id.

#include <QString>

#include <array>
#include <string_view>

namespace korvane::cmd {

inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFileRecentFirst = 57616; // the five recent-file entries: 57616 to 57620
inline constexpr int kRecentFileCount = 5;
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditCut = 57635;
inline constexpr int kEditPaste = 57637;
inline constexpr int kEditUndo = 57643;
inline constexpr int kEditRedo = 57644;
inline constexpr int kAppAbout = 57664;
inline constexpr int kAppExit = 57665;
inline constexpr int kNextPane = 57680;
inline constexpr int kPrevPane = 57681;

inline constexpr int kTileEditor = 32772;
inline constexpr int kBlockEditor = 32773;
inline constexpr int kAssemblyEditor = 32774;
inline constexpr int kRoomEditor = 32775;
inline constexpr int kHallwayEditor = 32776;
inline constexpr int kEnemyEditor = 32777;
inline constexpr int kPaletteEditor = 32778;
inline constexpr std::array<int, 7> kEditorCommands{kTileEditor,   kBlockEditor,   kAssemblyEditor,
                                                    kRoomEditor,   kHallwayEditor, kEnemyEditor,
                                                    kPaletteEditor};

// The File menu's patch and picture commands.
inline constexpr int kFileCreatePatch = 32790;
inline constexpr int kFileApplyPatch = 32791;
inline constexpr int kFileExportPicture = 32792;
// The File menu's level file commands.
inline constexpr int kFileExportLevel = 32793;
inline constexpr int kFileImportLevel = 32794;
inline constexpr int kFileChanges = 32795;

// Tools > Play in Emulator and Edit > Preferences.
inline constexpr int kToolsPlay = 32793;
inline constexpr int kEditPreferences = 32794;

// The toolbar's control id.
inline constexpr int kToolBar = 59392;

// The string table entry of a command: the status prompt, a line feed and the tool tip.
// Empty for a command without a string.
std::string_view CommandString(int commandId);
// The part before the line feed (the status prompt) and the part after it (the tool tip).
QString StatusPrompt(int commandId);
QString ToolTip(int commandId);

inline constexpr const char* kIdlePrompt = "Ready";

} // namespace korvane::cmd

namespace korvane::ctl {

// Controls of the main view.
inline constexpr int kLevelField = 1002;
inline constexpr int kLevelSpin = 1003;
inline constexpr int kPreview = 1008;
inline constexpr int kLevelLabel = 1009;
inline constexpr int kHallwayField = 1011;
inline constexpr int kHallwaySpin = 1012;
inline constexpr int kHallwayLabel = 1013;
inline constexpr int kPreviewLabel = 1015;
inline constexpr int kHighlightsLabel = 1020;
inline constexpr int kHighlights = 1021;
inline constexpr int kUndecodedLabel = 1024;
inline constexpr int kUndecodedBytes = 1080;
// Not a control of the original form: the level's catalogue name beside Level #.
inline constexpr int kLevelName = 1090;

// Controls of the About box.
inline constexpr int kCreditLink = 1115;
inline constexpr int kWebLink = 1116;
inline constexpr int kAboutSurface1 = 1123;
inline constexpr int kAboutSurface2 = 1120;
inline constexpr int kAboutSurface3 = 1121;

// The Export Picture dialog and its controls.
inline constexpr int kExportPictureDialog = 190;
inline constexpr int kPictureHallway = 1301;     // radio: the current hallway
inline constexpr int kPictureLevelMap = 1302;    // radio: the whole level
inline constexpr int kPictureLayer = 1303;       // radio: a layer
inline constexpr int kPictureCheckpoints = 1304; // check box: checkpoint labels
inline constexpr int kPictureEnemies = 1305;     // check box: enemy markers
inline constexpr int kPictureLayerList = 1306;   // tiles, blocks, assemblies, rooms
inline constexpr int kPicturePaletteSet = 1307;  // spin box 0-4
inline constexpr int kPicturePalette = 1308;     // spin box 0-3, for the tiles
inline constexpr int kPictureZoom = 1309;        // 1x to 4x

// The Preferences dialog and its controls.
inline constexpr int kPreferencesDialog = 191;
inline constexpr int kEmulatorCommand = 1401;  // the emulator command's text field
inline constexpr int kEmulatorBrowse = 1402;   // Browse... for its program
inline constexpr int kEmulatorNote = 1403;     // a line about the emulators found
inline constexpr int kRecoveryKeep = 1404;     // check box: keep recovery copies
inline constexpr int kRecoveryInterval = 1405; // spin box: their interval, 10-600 seconds

// The object name under which a control can be found: "id1002", as in the editor dialogs.
QString ControlName(int controlId);

} // namespace korvane::ctl
