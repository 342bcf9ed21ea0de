#pragma once

#include <string>

namespace korvane {

// Why a file of the model's text form was refused: the line (from 1) and the field it is
// about (empty for faults of the JSON itself).
struct TextRefusal {
    int line = 0;
    std::string field;
    std::string message;

    // "levels/level-03.json:57: hallways[2].lastRoom: 16 is out of range (0 to 15)"
    std::string Describe(const std::string& file) const {
        std::string text = file + ":" + std::to_string(line) + ": ";
        if (!field.empty()) {
            text += field + ": ";
        }
        return text + message;
    }
};

} // namespace korvane
