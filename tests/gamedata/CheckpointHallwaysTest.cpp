// The checkpoints' hallways, recomputed after the hallways changed.
#include "gamedata/LevelRecord.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(CheckpointHallwaysTest, EachCheckpointTakesTheHallwayHoldingItsRoom) {
    LevelRecord level{};
    level.hallwayCount = 3;
    level.hallways[0].lastRoom = 1; // positions 0-1
    level.hallways[1].lastRoom = 2; // positions 2-4
    level.hallways[2].lastRoom = 0; // position 5
    level.checkpointRooms = {3, 5};
    level.RecomputeCheckpointHallways();
    EXPECT_EQ(level.checkpointHallways[0], 1);
    EXPECT_EQ(level.checkpointHallways[1], 2);

    level.checkpointRooms = {0, 9}; // position 9 lies in no hallway: it gets hallwayCount
    level.RecomputeCheckpointHallways();
    EXPECT_EQ(level.checkpointHallways[0], 0);
    EXPECT_EQ(level.checkpointHallways[1], 3);

    // A checkpoint without a room (0xFF) lies in no hallway either.
    level.checkpointRooms = {kNoCheckpoint, 2};
    level.RecomputeCheckpointHallways();
    EXPECT_EQ(level.checkpointHallways[0], 3);
    EXPECT_EQ(level.checkpointHallways[1], 1);

    level.hallwayCount = 0;
    level.RecomputeCheckpointHallways();
    EXPECT_EQ(level.checkpointHallways[0], 0);
    EXPECT_EQ(level.checkpointHallways[1], 0);
}

TEST(CheckpointHallwaysTest, ADamagedHallwayCountCountsOnlyTheSixteenSlots) {
    LevelRecord level{};
    level.hallwayCount = 40; // more than the table holds
    for (Hallway& hallway : level.hallways) {
        hallway.lastRoom = 1; // 2 positions each: hallway 15 holds positions 30-31
    }
    level.checkpointRooms = {31, 200};
    level.RecomputeCheckpointHallways();
    EXPECT_EQ(level.checkpointHallways[0], 15);
    EXPECT_EQ(level.checkpointHallways[1], 16);
}

} // namespace
} // namespace korvane
