#pragma once

#include "GameData.h"
#include "ModelChange.h"

#include <cstdint>
#include <span>
#include <vector>

namespace korvane {

// Every difference between two cartridges, in the model's terms: the fields of the levels
// (enemy placements as added and removed ones, tiles as counts of changed pixels), the shared
// tables, and then, for the bytes the model does not hold (neither model writes them), the
// changed bytes of each program bank as runs and of each character page as tiles.
class ModelDiff {
public:
    // a and b are the models decoded from the files' contents fileA and fileB (each at least
    // an image long).
    static std::vector<ModelChange> Compare(const GameData& a, std::span<const std::uint8_t> fileA,
                                            const GameData& b, std::span<const std::uint8_t> fileB);

    // The changes as a JSON array, one object a line.
    static std::string Json(const std::vector<ModelChange>& changes);

private:
    static void CompareLevel(int n, const LevelRecord& a, const LevelRecord& b,
                             std::vector<ModelChange>& out);
    static void CompareShared(const GameData& a, const GameData& b, std::vector<ModelChange>& out);
    static void CompareImage(const GameData& a, std::span<const std::uint8_t> fileA,
                             const GameData& b, std::span<const std::uint8_t> fileB,
                             std::vector<ModelChange>& out);
};

} // namespace korvane
