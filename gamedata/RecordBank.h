#pragma once

#include "RomImage.h"

#include <array>
#include <cstdint>
#include <vector>

namespace korvane {

// One record of a pointer-indexed bank, with its own copy of the item bytes.
struct BankRecord {
    std::uint16_t address = 0;     // CPU address (bank mapped at 0x8000)
    std::int32_t pointerCount = 0; // entries of its pointer table that point at it
    std::array<std::uint8_t, 2> header{};
    std::vector<std::uint8_t> items;
    bool operator==(const BankRecord&) const = default;
};

// A bank of records that the program carries from the file to the saved file unchanged.
// Kind A records: byte 0 = item count - 1, byte 1 = parameter, then one byte per item.
// Kind B records: byte 0 = flag (bit 7) and item count - 1, byte 1 = parameter, then two bytes
// per item. Only bytes inside the bank's own 8 KB are ever read or written.
class RecordBank {
public:
    std::uint32_t fileOffset = 0;
    std::array<std::uint16_t, 128> pointersA{};
    std::int32_t maxA = 0;
    std::int32_t countA = 0;
    std::vector<BankRecord> recordsA;
    std::uint16_t endA = 0;
    std::array<std::uint16_t, 256> pointersB{};
    std::int32_t maxB = 0;
    std::int32_t countB = 0;
    std::vector<BankRecord> recordsB;

    bool operator==(const RecordBank&) const = default;

    void Decode(const RomImage& image, std::uint32_t bankFileOffset);
    void Encode(RomImage& image) const;
};

inline constexpr std::array<std::uint32_t, 3> kRecordBankOffsets{0x2A010, 0x34010, 0x36010};

} // namespace korvane
