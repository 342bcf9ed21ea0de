#include "GameDataDelta.h"

namespace korvane {

namespace {

// The byte delta of two values that differ, or an empty one when they are equal.
template <class T> ByteDelta DeltaIfDifferent(const T& before, const T& after) {
    return before == after ? ByteDelta() : ByteDelta::Between(before, after);
}

template <class T> void ApplySide(const ByteDelta& delta, T& target, bool after) {
    if (!delta.empty()) {
        after ? delta.ApplyAfter(target) : delta.ApplyBefore(target);
    }
}

std::size_t RecordBankBytes(const std::array<RecordBank, 3>& banks) {
    std::size_t bytes = sizeof(banks);
    for (const RecordBank& bank : banks) {
        for (const auto* records : {&bank.recordsA, &bank.recordsB}) {
            bytes += records->capacity() * sizeof(BankRecord);
            for (const BankRecord& record : *records) {
                bytes += record.items.capacity();
            }
        }
    }
    return bytes;
}

} // namespace

GameDataDelta GameDataDelta::Between(const GameData& before, const GameData& after) {
    GameDataDelta delta;
    for (std::size_t n = 0; n < before.levels.size(); ++n) {
        if (!(before.levels[n] == after.levels[n])) {
            delta.levels_.push_back(
                {static_cast<int>(n), ByteDelta::Between(before.levels[n], after.levels[n])});
        }
    }
    delta.enemyGraphics_ = DeltaIfDifferent(before.enemyGraphics, after.enemyGraphics);
    delta.aboutTiles_ = DeltaIfDifferent(before.aboutTiles, after.aboutTiles);
    delta.aboutTilesLarge_ = DeltaIfDifferent(before.aboutTilesLarge, after.aboutTilesLarge);
    if (before.recordBanks != after.recordBanks) {
        delta.recordBanksBefore_ =
            std::make_unique<const std::array<RecordBank, 3>>(before.recordBanks);
        delta.recordBanksAfter_ =
            std::make_unique<const std::array<RecordBank, 3>>(after.recordBanks);
    }
    delta.decodedBefore_ = before.decoded;
    delta.decodedAfter_ = after.decoded;
    return delta;
}

void GameDataDelta::ApplyBefore(GameData& gameData) const {
    Apply(gameData, false);
}

void GameDataDelta::ApplyAfter(GameData& gameData) const {
    Apply(gameData, true);
}

void GameDataDelta::Apply(GameData& gameData, bool after) const {
    for (const LevelChange& change : levels_) {
        ApplySide(change.bytes, gameData.levels[static_cast<std::size_t>(change.level)], after);
    }
    ApplySide(enemyGraphics_, gameData.enemyGraphics, after);
    ApplySide(aboutTiles_, gameData.aboutTiles, after);
    ApplySide(aboutTilesLarge_, gameData.aboutTilesLarge, after);
    if (recordBanksBefore_ && recordBanksAfter_) {
        gameData.recordBanks = after ? *recordBanksAfter_ : *recordBanksBefore_;
    }
    gameData.decoded = after ? decodedAfter_ : decodedBefore_;
}

bool GameDataDelta::empty() const {
    return levels_.empty() && enemyGraphics_.empty() && aboutTiles_.empty() &&
           aboutTilesLarge_.empty() && !recordBanksBefore_ && decodedBefore_ == decodedAfter_;
}

std::vector<int> GameDataDelta::changedLevels() const {
    std::vector<int> levels;
    levels.reserve(levels_.size());
    for (const LevelChange& change : levels_) {
        levels.push_back(change.level);
    }
    return levels;
}

std::size_t GameDataDelta::MemoryBytes() const {
    std::size_t bytes = sizeof(GameDataDelta) + levels_.capacity() * sizeof(LevelChange);
    for (const LevelChange& change : levels_) {
        bytes += change.bytes.MemoryBytes() - sizeof(ByteDelta);
    }
    for (const ByteDelta* table : {&enemyGraphics_, &aboutTiles_, &aboutTilesLarge_}) {
        bytes += table->MemoryBytes() - sizeof(ByteDelta);
    }
    if (recordBanksBefore_ && recordBanksAfter_) {
        bytes += RecordBankBytes(*recordBanksBefore_) + RecordBankBytes(*recordBanksAfter_);
    }
    return bytes;
}

} // namespace korvane
