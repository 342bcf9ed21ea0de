#pragma once

#include "gamedata/GameData.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// The level operations a `korvane-cli edit` script can name, one a line.
enum class EditOperationKind {
    Level,              // level N
    InsertHallway,      // insert-hallway H ENEMYBANK PALETTESET TRANSITION ROOM...
    ReplaceHallway,     // replace-hallway H ENEMYBANK PALETTESET TRANSITION ROOM...
    RemoveHallway,      // remove-hallway H
    SetHallwayRoom,     // set-hallway-room H I ROOM
    SetHallway,         // set-hallway H ENEMYBANK PALETTESET TRANSITION (its rooms stay)
    AddEnemy,           // add-enemy X Y POSITION ID
    DeleteEnemy,        // delete-enemy INDEX
    SetEnemy,           // set-enemy INDEX X Y POSITION ID
    RemoveRoomPosition, // remove-room-position H I
    InsertRoomPosition, // insert-room-position H I
};

struct EditOperation {
    EditOperationKind kind = EditOperationKind::Level;
    int lineNumber = 0;
    // The fixed arguments in the order the line gives them; unused ones are 0.
    std::array<int, 5> arguments{};
    // The room numbers of insert-hallway and replace-hallway (1 to 16 of them).
    std::vector<std::uint8_t> rooms;
    bool operator==(const EditOperation&) const = default;
};

struct EditScriptError {
    int lineNumber = 0;
    std::string message;
};

struct EditScript {
    std::vector<EditOperation> operations;
    std::optional<EditScriptError> error; // the first malformed line; operations is then empty
};

// The name an operation has in scripts and in the tool's output ("insert-hallway").
std::string_view OperationName(EditOperationKind kind);

// Reads a whole script. Words are separated by blanks; numbers are decimal or 0x-hex; `#`
// starts a comment that runs to the end of the line; blank lines are skipped. Line numbers
// count from 1.
EditScript ParseEditScript(std::string_view text);

// Applies one operation. level is the level the script works on (0 at the start; `level`
// changes it). Returns the operation's result code as text, or "-" for operations that return
// nothing.
std::string ApplyEditOperation(const EditOperation& operation, GameData& data, int& level);

} // namespace korvane
