#pragma once

#include <cstdint>

namespace korvane {

// What a canvas tells its owner.
enum class CanvasCode : std::int32_t {
    Click = 1,            // a click on an item, or a press on an enemy
    EnemyDragEnded = 3,   // an enemy was released after a drag
    EnemyDoubleClick = 4, // a double click on an enemy
    Stroke = 5,           // the pointer, the left button held since a click, reached another item
    Pick = 6,             // a right click on an item
};

// The record sent with every canvas notification. For a click, item is the clicked item and
// the values are -1 (enemyId 0); for the enemy codes, item and itemUnderPointer are the enemy's
// index and the values its roomPosition, x and y.
struct CanvasNotification {
    const void* senderWindow = nullptr;
    std::int32_t senderId = 0;
    CanvasCode code = CanvasCode::Click;
    std::int32_t itemUnderPointer = 0;
    std::int32_t item = 0;
    std::int32_t firstValue = -1;
    std::int32_t secondValue = -1;
    std::int32_t thirdValue = -1;
    std::int32_t enemyId = 0;
};

} // namespace korvane
