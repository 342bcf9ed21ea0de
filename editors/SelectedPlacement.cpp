#include "SelectedPlacement.h"

#include <algorithm>
#include <cstdint>
#include <map>

namespace korvane {

namespace {

// The index of occurrence rank (counted from 0) of record in list, the last one when there are
// fewer, -1 when there is none.
int Occurrence(std::span<const EnemyPlacement> list, std::uint32_t record, long rank) {
    int last = -1;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].Packed() == record) {
            last = static_cast<int>(i);
            if (rank-- == 0) {
                break;
            }
        }
    }
    return last;
}

} // namespace

SelectionAfterChange FollowSelectedPlacement(std::span<const EnemyPlacement> before,
                                             std::span<const EnemyPlacement> after, int selected) {
    const bool selectedValid = selected >= 0 && static_cast<std::size_t>(selected) < before.size();
    if (std::equal(before.begin(), before.end(), after.begin(), after.end())) {
        return {selectedValid ? selected : -1, -1};
    }
    std::map<std::uint32_t, int> balance; // occurrences after less occurrences before
    for (const EnemyPlacement& enemy : before) {
        --balance[enemy.Packed()];
    }
    for (const EnemyPlacement& enemy : after) {
        ++balance[enemy.Packed()];
    }
    int goneCount = 0;
    int cameCount = 0;
    std::uint32_t gone = 0;
    std::uint32_t came = 0;
    for (const auto& [record, difference] : balance) {
        if (difference < 0) {
            goneCount -= difference;
            gone = record;
        } else if (difference > 0) {
            cameCount += difference;
            came = record;
        }
    }
    SelectionAfterChange result;
    result.changed = cameCount == 1 ? Occurrence(after, came, 0) : -1;
    if (!selectedValid) {
        return result;
    }
    const std::uint32_t record = before[static_cast<std::size_t>(selected)].Packed();
    if (goneCount == 1 && gone == record && cameCount == 1) {
        result.selected = result.changed; // the selected placement itself was altered
        return result;
    }
    const long rank =
        std::count_if(before.begin(), before.begin() + selected,
                      [record](const EnemyPlacement& enemy) { return enemy.Packed() == record; });
    result.selected = Occurrence(after, record, rank);
    return result;
}

} // namespace korvane
