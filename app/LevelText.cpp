#include "LevelText.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace korvane {

namespace {

// The bank ranges of the raw bytes, in the order they are kept in undecodedBytes.
struct UndecodedRun {
    int bankOffset;
    int length;
};
constexpr std::array<UndecodedRun, 4> kRuns{{
    {0x0A20, 32},
    {0x0A50, 16},
    {0x0A70, 16},
    {0x0AE6, 26},
}};

// Kept among the raw bytes but shown as ".. ": the checkpoints' hallway and room bytes.
bool IsCheckpointByte(int bankOffset) {
    return bankOffset == 0x0AF0 || bankOffset == 0x0AF1 || bankOffset == 0x0AF8 ||
           bankOffset == 0x0AF9;
}

// "%02X " for a byte.
std::string ByteText(unsigned value) {
    std::array<char, 8> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%02X ", value);
    return buffer.data();
}

// "%04X: " for the bank offset that starts a line.
std::string OffsetText(unsigned value) {
    std::array<char, 8> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%04X: ", value);
    return buffer.data();
}

} // namespace

std::string UndecodedBytesText(const LevelRecord& level) {
    // Where each bank offset of the dump sits in undecodedBytes, or -1 for ".. ".
    auto indexOf = [](int bankOffset) {
        if (IsCheckpointByte(bankOffset)) {
            return -1;
        }
        int index = 0;
        for (const UndecodedRun& run : kRuns) {
            if (bankOffset >= run.bankOffset && bankOffset < run.bankOffset + run.length) {
                return index + bankOffset - run.bankOffset;
            }
            index += run.length;
        }
        return -1;
    };
    auto line = [&](int lineOffset) {
        std::string text = OffsetText(static_cast<unsigned>(lineOffset));
        for (int offset = lineOffset; offset < lineOffset + 16; ++offset) {
            const int index = indexOf(offset);
            text += index < 0 ? std::string(".. ")
                              : ByteText(level.undecodedBytes[static_cast<std::size_t>(index)]);
        }
        return text;
    };
    return line(0x0A20) + "\n" + line(0x0A30) + "\n\n" + line(0x0A50) + "\n\n" + line(0x0A70) +
           "\n\n" + line(0x0AE0) + "\n" + line(0x0AF0);
}

} // namespace korvane
