// Which placement a selection stands for after a change of the enemy list: the placement itself,
// found again wherever the change sorted it.
#include "editors/SelectedPlacement.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvane {
namespace {

using List = std::vector<EnemyPlacement>;

const EnemyPlacement kA{10, 10, 3, 1};
const EnemyPlacement kB{20, 20, 3, 2};
const EnemyPlacement kC{30, 30, 4, 3};
const EnemyPlacement kNew{8, 8, 3, 0};

void ExpectFollow(const List& before, const List& after, int selected, int expectedSelected,
                  int expectedChanged) {
    const SelectionAfterChange result = FollowSelectedPlacement(before, after, selected);
    EXPECT_EQ(result.selected, expectedSelected);
    EXPECT_EQ(result.changed, expectedChanged);
}

TEST(SelectedPlacement, FollowsThePlacementThroughEachKindOfStep) {
    // Nothing changed: the same index, nothing to show.
    ExpectFollow({kA, kB, kC}, {kA, kB, kC}, 1, 1, -1);
    // An insert before it moves it one on; the new one is what changed.
    ExpectFollow({kA, kB, kC}, {kA, kNew, kB, kC}, 2, 3, 1);
    // A delete of another one moves it back; a delete of it takes the selection.
    ExpectFollow({kA, kB, kC}, {kA, kC}, 2, 1, -1);
    ExpectFollow({kA, kB, kC}, {kA, kC}, 1, -1, -1);
    // The selected placement edited and sorted after the others: it is followed there.
    const EnemyPlacement edited{200, 10, 4, 1};
    ExpectFollow({kA, kB, kC}, {kB, kC, edited}, 0, 2, 2);
    // Another one edited: the selected one is found again by what it is.
    ExpectFollow({kA, kB, kC}, {kB, kC, edited}, 1, 0, 2);
    // No selection stays none.
    ExpectFollow({kA, kB, kC}, {kA, kNew, kB, kC}, -1, -1, 1);
}

TEST(SelectedPlacement, EqualPlacementsKeepTheirRank) {
    // The second of two equal placements stays the second one.
    ExpectFollow({kA, kA, kB}, {kNew, kA, kA, kB}, 1, 2, 0);
    // The second one edited is followed, the first one stays where it was.
    const EnemyPlacement moved{50, 10, 4, 1};
    ExpectFollow({kA, kA, kB}, {kA, kB, moved}, 1, 2, 2);
    // Of three equal ones the last is deleted (a placement selected as the third equal one, with
    // only two left, is the last of them).
    ExpectFollow({kA, kA, kA}, {kA, kA}, 2, 1, -1);
}

} // namespace
} // namespace korvane
