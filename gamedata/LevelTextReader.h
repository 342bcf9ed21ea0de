#pragma once

#include "JsonValue.h"
#include "LevelRecord.h"
#include "TextRefusal.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// Reads a level file (ModelTextWriter::LevelText) into a level record. Everything is checked
// before the record is given: the header, the keys and the count of every list, each value's
// range (bytes, and 0 to 15 for a hallway's transition and lastRoom, which the cartridge keeps
// in 4 bits), and that the lists read back from the cartridge as the file gives them: no
// listed hallway ends the hallway list and the first slot after it does (the rules the hallway
// operations keep), no listed placement is the end of the enemy list and the first slot after
// the list is. The counts the model works out (hallwayCount, enemyCount, the ...Use tables) are
// worked out here, and so are the 20 undecoded bytes that are also the bytes of fields (see
// LevelImport::MatchUndecodedBytes): the fields win.
class LevelTextReader {
public:
    struct Result {
        std::optional<LevelRecord> level;
        std::string name;
        std::optional<TextRefusal> refusal;
    };

    static Result Read(std::string_view text);
    // The same for a value already read; throws TextFieldError.
    static void ReadValue(const JsonValue& root, LevelRecord& level, std::string& name);
};

} // namespace korvane
