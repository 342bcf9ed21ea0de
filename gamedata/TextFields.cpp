#include "TextFields.h"

#include <algorithm>

namespace korvane::textfields {

namespace {

std::string KindName(JsonValue::Kind kind) {
    switch (kind) {
    case JsonValue::Kind::Null:
        return "null";
    case JsonValue::Kind::Boolean:
        return "true or false";
    case JsonValue::Kind::Number:
        return "a number";
    case JsonValue::Kind::String:
        return "a string";
    case JsonValue::Kind::Array:
        return "an array";
    case JsonValue::Kind::Object:
        return "an object";
    }
    return "a value";
}

void RequireKind(const JsonValue& value, const std::string& path, JsonValue::Kind kind) {
    if (value.kind != kind) {
        throw TextFieldError(value.line, path,
                             KindName(kind) + " expected, not " + KindName(value.kind));
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

std::string Join(const std::string& path, std::string_view key) {
    return path.empty() ? std::string(key) : path + "." + std::string(key);
}

std::string Join(const std::string& path, std::size_t index) {
    return path + "[" + std::to_string(index) + "]";
}

void RequireObject(const JsonValue& value, const std::string& path,
                   std::initializer_list<std::string_view> allowed) {
    RequireKind(value, path, JsonValue::Kind::Object);
    for (std::size_t i = 0; i < value.keys.size(); ++i) {
        const std::string& key = value.keys[i];
        if (std::find(allowed.begin(), allowed.end(), key) == allowed.end()) {
            throw TextFieldError(value.items[i].line, Join(path, key), "unknown key");
        }
    }
}

const JsonValue& Member(const JsonValue& object, const std::string& path, std::string_view key) {
    const JsonValue* member = object.Find(key);
    if (member == nullptr) {
        throw TextFieldError(object.line, Join(path, key), "missing");
    }
    return *member;
}

const std::vector<JsonValue>& Items(const JsonValue& value, const std::string& path,
                                    std::size_t count) {
    RequireKind(value, path, JsonValue::Kind::Array);
    if (value.items.size() != count) {
        throw TextFieldError(value.line, path,
                             std::to_string(count) + " items expected, not " +
                                 std::to_string(value.items.size()));
    }
    return value.items;
}

const std::vector<JsonValue>& ItemsUpTo(const JsonValue& value, const std::string& path,
                                        std::size_t count) {
    RequireKind(value, path, JsonValue::Kind::Array);
    if (value.items.size() > count) {
        throw TextFieldError(value.line, path,
                             "at most " + std::to_string(count) + " items expected, not " +
                                 std::to_string(value.items.size()));
    }
    return value.items;
}

std::uint32_t Whole(const JsonValue& value, const std::string& path, std::uint32_t largest) {
    RequireKind(value, path, JsonValue::Kind::Number);
    if (!value.whole || value.integer < 0 || value.integer > std::int64_t{largest}) {
        throw TextFieldError(value.line, path,
                             value.text + " is out of range (0 to " + std::to_string(largest) +
                                 ")");
    }
    return static_cast<std::uint32_t>(value.integer);
}

std::uint8_t Byte(const JsonValue& value, const std::string& path) {
    return static_cast<std::uint8_t>(Whole(value, path, 0xFF));
}

std::vector<std::uint8_t> HexBytesUpTo(const JsonValue& value, const std::string& path,
                                       std::size_t largest) {
    RequireKind(value, path, JsonValue::Kind::String);
    const std::string& text = value.text;
    if (text.size() % 2 != 0 || text.size() / 2 > largest) {
        throw TextFieldError(value.line, path,
                             "at most " + std::to_string(largest) +
                                 " bytes of two hex digits each expected");
    }
    std::vector<std::uint8_t> bytes(text.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int high = HexDigit(text[2 * i]);
        const int low = HexDigit(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            throw TextFieldError(value.line, path, "only hex digits expected");
        }
        bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return bytes;
}

std::vector<std::uint8_t> HexBytes(const JsonValue& value, const std::string& path,
                                   std::size_t count) {
    std::vector<std::uint8_t> bytes = HexBytesUpTo(value, path, count);
    if (bytes.size() != count) {
        throw TextFieldError(value.line, path,
                             std::to_string(count) + " bytes (" + std::to_string(2 * count) +
                                 " hex digits) expected, not " + std::to_string(bytes.size()));
    }
    return bytes;
}

const std::string& Text(const JsonValue& value, const std::string& path) {
    RequireKind(value, path, JsonValue::Kind::String);
    return value.text;
}

void RequireHeader(const JsonValue& root, std::string_view format, std::string_view what,
                   int version) {
    const JsonValue& formatValue = Member(root, "", "format");
    if (Text(formatValue, "format") != format) {
        throw TextFieldError(formatValue.line, "format",
                             "\"" + formatValue.text + "\" is not " + std::string(what) + " (\"" +
                                 std::string(format) + "\" expected)");
    }
    const JsonValue& versionValue = Member(root, "", "version");
    if (Whole(versionValue, "version", 0xFFFF) != static_cast<std::uint32_t>(version)) {
        throw TextFieldError(versionValue.line, "version",
                             "version " + versionValue.text +
                                 " is not known (this program reads version " +
                                 std::to_string(version) + ")");
    }
}

} // namespace korvane::textfields
