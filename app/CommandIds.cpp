#include "CommandIds.h"

#include "editors/EditorControlIds.h"

#include <utility>

namespace korvane::cmd {

namespace {

struct CommandStringEntry {
    int commandId;
    std::string_view text;
};

constexpr std::array<CommandStringEntry, 28> kStringTable{{
    {kFileNew, "Create a new document\nNew"},
    {kFileOpen, "Open an existing document\nOpen"},
    {kFileSave, "Save the active document\nSave"},
    {kFileSaveAs, "Save the active document with a new name\nSave As"},
    {kFileCreatePatch,
     "Write an IPS or BPS patch that turns the clean cartridge into this one\nCreate Patch"},
    {kFileApplyPatch, "Apply an IPS or BPS patch to a cartridge and open the result\nApply Patch"},
    {kFileExportPicture,
     "Save the current hallway, the level or a layer as a PNG picture\nExport Picture"},
    {kToolsPlay,
     "Run the cartridge as it is now in the emulator, without saving it\nPlay in Emulator"},
    {kEditPreferences, "Choose the emulator that Play in Emulator starts\nPreferences"},
    {kFileExportLevel, "Write the current level as a level file\nExport Level"},
    {kFileImportLevel, "Give the current level a level file's data\nImport Level"},
    {kFileChanges, "List what changed since the file was opened\nChanges"},
    {kEditUndo, "Undo the last action\nUndo"},
    {kEditRedo, "Redo the previously undone action\nRedo"},
    {kFileRecentFirst, "Open this document"},
    {kFileRecentFirst + 1, "Open this document"},
    {kFileRecentFirst + 2, "Open this document"},
    {kFileRecentFirst + 3, "Open this document"},
    {kFileRecentFirst + 4, "Open this document"},
    {kAppAbout, "Display program information, version number and copyright\nAbout"},
    {kAppExit, "Quit the application; prompts to save documents\nExit"},
    {kTileEditor, "Tile Editor\nTile Editor"},
    {kBlockEditor, "Block Editor\nBlock Editor"},
    {kAssemblyEditor, "Assembly Editor\nAssembly Editor"},
    {kRoomEditor, "Room Editor\nRoom Editor"},
    {kHallwayEditor, "Hallway Editor\nHallway Editor"},
    {kEnemyEditor, "Enemy Placement Editor\nEnemy Placement Editor"},
    {kPaletteEditor, "Palette Editor\nPalette Editor"},
}};

std::pair<std::string_view, std::string_view> Split(int commandId) {
    const std::string_view text = CommandString(commandId);
    const std::size_t lineFeed = text.find('\n');
    if (lineFeed == std::string_view::npos) {
        return {text, {}};
    }
    return {text.substr(0, lineFeed), text.substr(lineFeed + 1)};
}

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

std::string_view CommandString(int commandId) {
    for (const CommandStringEntry& entry : kStringTable) {
        if (entry.commandId == commandId) {
            return entry.text;
        }
    }
    return {};
}

QString StatusPrompt(int commandId) {
    return FromView(Split(commandId).first);
}
QString ToolTip(int commandId) {
    return FromView(Split(commandId).second);
}

} // namespace korvane::cmd

namespace korvane::ctl {

QString ControlName(int controlId) {
    return ids::ControlObjectName(controlId);
}

} // namespace korvane::ctl
