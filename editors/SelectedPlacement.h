#pragma once

// Which placement a selection means after the enemy list changed: the placement itself, not
// the row it stood in.

#include "gamedata/LevelRecord.h"

#include <span>

namespace korvane {

struct SelectionAfterChange {
    int selected = -1; // the selected placement's index in the new list, or -1: it is gone
    int changed = -1;  // the index of the placement the change brought in or altered, or -1
};

// Every step changes one placement at most: it takes one record away (a delete), brings one in
// (an insert) or both (an edit or a drag, wherever the sort then puts it); undo and redo do the
// same backwards. A selected placement that was altered follows its new record; one that stayed
// is found again among its equals by its rank; one that was taken away is gone. selected is an
// index in before, or -1.
SelectionAfterChange FollowSelectedPlacement(std::span<const EnemyPlacement> before,
                                             std::span<const EnemyPlacement> after, int selected);

} // namespace korvane
