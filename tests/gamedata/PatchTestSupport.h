#pragma once

// Byte strings for the patch tests: patches are written out byte by byte in the tests, and
// checksums come straight from zlib.

#include "gamedata/PatchResult.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::testing {

using Bytes = std::vector<std::uint8_t>;

// Text and numbers (each 0 to 255) joined into one byte string.
struct Piece {
    Piece(const char* text) {
        const std::string_view view(text);
        bytes.assign(view.begin(), view.end());
    }
    Piece(std::initializer_list<int> values) {
        for (const int value : values) {
            bytes.push_back(static_cast<std::uint8_t>(value));
        }
    }
    Piece(const Bytes& more) : bytes(more) {}
    Bytes bytes;
};

inline Bytes Join(std::initializer_list<Piece> pieces) {
    Bytes out;
    for (const Piece& piece : pieces) {
        out.insert(out.end(), piece.bytes.begin(), piece.bytes.end());
    }
    return out;
}

inline std::uint32_t ZlibCrc(std::span<const std::uint8_t> bytes) {
    return static_cast<std::uint32_t>(
        crc32(crc32(0L, Z_NULL, 0), bytes.data(), static_cast<uInt>(bytes.size())));
}

inline void PutLe32(Bytes& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// A refused patch: no output, and a message that contains the given words.
inline void ExpectRefusal(const PatchResult& result, const std::string& words) {
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.bytes().empty());
    EXPECT_NE(result.message().find(words), std::string::npos) << result.message();
}

} // namespace korvane::testing
