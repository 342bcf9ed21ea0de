#pragma once

// A JSON value as JsonReader reads it, with the line each value starts on, so that a refusal
// can name the line of the field it is about.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

struct JsonValue {
    enum class Kind { Null, Boolean, Number, String, Array, Object };

    Kind kind = Kind::Null;
    int line = 0;
    bool boolean = false;
    // Numbers: whether the number is written as a whole number that fits integer.
    bool whole = false;
    std::int64_t integer = 0;
    // Strings: the decoded text; numbers: the text as written.
    std::string text;
    // Arrays: the items; objects: the members' values, in the order of keys.
    std::vector<JsonValue> items;
    std::vector<std::string> keys;

    // The member named key of an object, or nullptr.
    const JsonValue* Find(std::string_view key) const {
        for (std::size_t i = 0; i < keys.size() && i < items.size(); ++i) {
            if (keys[i] == key) {
                return &items[i];
            }
        }
        return nullptr;
    }
};

} // namespace korvane
