#pragma once

// Builds cartridge images for the game-data tests: no game data is shipped, so every test
// makes the bytes it needs.

#include "gamedata/LevelRecord.h"
#include "gamedata/RomImage.h"

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace korvane::testing {

std::unique_ptr<RomImage> MakeZeroImage();
// Every byte random.
std::unique_ptr<RomImage> MakeRandomImage(std::uint32_t seed);

// Writes into one level's 8 KB program bank; offsets are bank offsets.
class LevelWriter {
public:
    LevelWriter(RomImage& image, std::size_t bankOffset) : image_(image), bank_(bankOffset) {}

    std::uint8_t& At(std::size_t offset) { return image_.bytes.at(bank_ + offset); }
    void SetHallway(int h, Hallway hallway);
    void SetRoomOrder(const std::vector<std::uint8_t>& rooms);
    // Writes the placements in the given order, then the terminator and free 0xFF entries.
    void SetEnemies(const std::vector<EnemyPlacement>& placements);

private:
    RomImage& image_;
    std::size_t bank_;
};

// Rewrites a level so that it decodes as an edited level would: 1 to 8 hallways that pass
// the hallway tests and end with a terminating entry, at most 32 rooms, room numbers below 32,
// and a sorted enemy list with its terminator.
void WriteConsistentLevel(RomImage& image, std::size_t bankOffset, std::mt19937& rng);

// One record of a record bank, for BuildRecordBank.
struct RecordSpec {
    std::uint8_t byte0;
    std::uint8_t byte1;
    std::vector<std::uint8_t> items;
};
// Writes records back to back from CPU 0x8300 into the bank at bankFileOffset and returns
// their CPU addresses.
std::vector<std::uint16_t> WriteRecords(RomImage& image, std::uint32_t bankFileOffset,
                                        std::uint16_t start,
                                        const std::vector<RecordSpec>& records);
void WritePointer(RomImage& image, std::uint32_t bankFileOffset, bool tableB, int index,
                  std::uint16_t pointer);

} // namespace korvane::testing
