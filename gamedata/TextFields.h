#pragma once

// Reading the fields of the model's text form out of JSON values: each helper checks what it
// reads (kind, count, range) and throws TextFieldError naming the field and its line.

#include "JsonValue.h"

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

class TextFieldError : public std::runtime_error {
public:
    TextFieldError(int line, std::string field, const std::string& problem)
        : std::runtime_error(problem), line_(line), field_(std::move(field)) {}
    int line() const { return line_; }
    const std::string& field() const { return field_; }

private:
    int line_;
    std::string field_;
};

namespace textfields {

// The name of member key of the field at path ("hallways[2]" + "lastRoom").
std::string Join(const std::string& path, std::string_view key);
std::string Join(const std::string& path, std::size_t index);

// value must be an object whose keys are all among allowed.
void RequireObject(const JsonValue& value, const std::string& path,
                   std::initializer_list<std::string_view> allowed);
// The member key of object (which RequireObject checked), which must be there.
const JsonValue& Member(const JsonValue& object, const std::string& path, std::string_view key);
// value must be an array of exactly count items.
const std::vector<JsonValue>& Items(const JsonValue& value, const std::string& path,
                                    std::size_t count);
// value must be an array of at most count items.
const std::vector<JsonValue>& ItemsUpTo(const JsonValue& value, const std::string& path,
                                        std::size_t count);
// value must be a whole number from 0 to largest.
std::uint32_t Whole(const JsonValue& value, const std::string& path, std::uint32_t largest);
std::uint8_t Byte(const JsonValue& value, const std::string& path);
// value must be a string of exactly count bytes written as 2 * count hex digits.
std::vector<std::uint8_t> HexBytes(const JsonValue& value, const std::string& path,
                                   std::size_t count);
// value must be a string of hex digits (two a byte) of at most largest bytes.
std::vector<std::uint8_t> HexBytesUpTo(const JsonValue& value, const std::string& path,
                                       std::size_t largest);
const std::string& Text(const JsonValue& value, const std::string& path);
// The "format" and "version" members of a file's top object: format must be the given one
// (what names the kind of file in the refusal, "a level file") and version one this program
// reads.
void RequireHeader(const JsonValue& root, std::string_view format, std::string_view what,
                   int version);

// Reads count bytes from an array of count numbers into out.
template <typename Out> void Bytes(const JsonValue& value, const std::string& path, Out& out) {
    const auto& items = Items(value, path, out.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = Byte(items[i], Join(path, i));
    }
}

} // namespace textfields

} // namespace korvane
