#pragma once

#include "GameData.h"
#include "JsonValue.h"
#include "TextRefusal.h"

#include <optional>
#include <string_view>

namespace korvane {

// Reads shared.json (ModelTextWriter::SharedText) into the shared tables of data: the record
// banks, the enemy graphics and the About box tiles; the levels are left alone. Every count,
// range and hex string is checked, and each record bank must read back from the cartridge as
// the file gives it (written into a copy of base and read again: records back to back from
// 0x8300, each header's count matching its items). The counts the model works out (maxA,
// maxB, countA, countB, endA, pointerCount) are worked out here. On a refusal data is as it
// was.
class SharedTextReader {
public:
    static std::optional<TextRefusal> Read(std::string_view text, const RomImage& base,
                                           GameData& data);
};

} // namespace korvane
