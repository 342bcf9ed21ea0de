#pragma once

// What one change of the whole model altered, with both sides kept: the bytes of each level
// record and shared table that differ. The window's undo steps hold one, so that a step costs
// the bytes it changed (a few hundred for a room edit, a page of every sharing level for a tile
// edit) rather than copies of the 300 KB model.

#include "ByteDelta.h"
#include "GameData.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace korvane {

class GameDataDelta {
public:
    GameDataDelta() = default;
    GameDataDelta(GameDataDelta&&) noexcept = default;
    GameDataDelta& operator=(GameDataDelta&&) noexcept = default;

    // Everything that differs between before and after: each level record and each table
    // compared whole (so that padding alone never makes a change), and the differing ones kept
    // as byte deltas; the record banks, which hold their items on the heap, are kept whole on
    // both sides when they differ.
    static GameDataDelta Between(const GameData& before, const GameData& after);

    // Puts back the before (or after) side of every change; what did not change is left as
    // gameData has it.
    void ApplyBefore(GameData& gameData) const;
    void ApplyAfter(GameData& gameData) const;

    bool empty() const;
    // The levels that changed, in ascending order.
    std::vector<int> changedLevels() const;
    bool enemyGraphicsChanged() const { return !enemyGraphics_.empty(); }
    // What the delta occupies: the object itself and the heap blocks it holds.
    std::size_t MemoryBytes() const;

private:
    struct LevelChange {
        int level = 0;
        ByteDelta bytes;
    };
    void Apply(GameData& gameData, bool after) const;

    std::vector<LevelChange> levels_;
    ByteDelta enemyGraphics_;
    ByteDelta aboutTiles_;
    ByteDelta aboutTilesLarge_;
    // On the heap, so that the many steps without them stay small.
    std::unique_ptr<const std::array<RecordBank, 3>> recordBanksBefore_;
    std::unique_ptr<const std::array<RecordBank, 3>> recordBanksAfter_;
    std::int32_t decodedBefore_ = 0;
    std::int32_t decodedAfter_ = 0;
};

} // namespace korvane
