#pragma once

#include <string>

namespace korvane {

// One difference between two cartridges as the model sees them: a line for people ("level 3
// room 5 cell 12: assembly $10 -> $22") and the same as fields for scripts.
struct ModelChange {
    int level = -1;    // -1: outside the levels
    std::string table; // the key of the model's text form, or "image" for bytes it does not hold
    int index = 0;     // the item of the table (block, room, hallway, page, program bank...)
    std::string field; // the item's field, or empty for items without fields
    std::string from;  // JSON values: a number, a string, an object or null
    std::string to;
    std::string line;
    // The hallway of the later cartridge that shows the change (its own hallway, the hallway
    // holding its room position, the first hallway showing its room), or -1.
    int hallway = -1;
};

} // namespace korvane
