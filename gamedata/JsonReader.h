#pragma once

#include "JsonValue.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// Reads JSON text (RFC 8259) whole: one value, then nothing but white space. Strings must be
// valid UTF-8; a key given twice in one object, nesting deeper than 100 levels and a number
// too large for 64 bits (when written as a whole number) are refused.
class JsonReader {
public:
    struct Result {
        std::optional<JsonValue> value;
        int errorLine = 0;   // line (from 1) of the first fault, when value is empty
        std::string message; // what is wrong there
    };

    static Result Read(std::string_view text);
};

} // namespace korvane
