// The changed byte ranges between two byte images, and writing either side back.
#include "gamedata/ByteDelta.h"
#include "gamedata/LevelRecord.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

namespace korvane {
namespace {

using Range = ByteDelta::Range;
using Bytes = std::vector<std::uint8_t>;

TEST(ByteDeltaTest, FindsEachRunOfChangedBytes) {
    //                 0  1  2  3  4  5  6  7  8  9
    const Bytes before{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const Bytes after{9, 2, 3, 0, 0, 0, 7, 8, 9, 11};
    const ByteDelta delta = ByteDelta::Between(before, after);
    EXPECT_EQ(delta.imageSize(), 10u);
    EXPECT_EQ(delta.ranges(), (std::vector<Range>{{0, 1}, {3, 3}, {9, 1}}));
    EXPECT_EQ(delta.changedBytes(), 5u);
    EXPECT_EQ(Bytes(delta.beforeBytes().begin(), delta.beforeBytes().end()),
              (Bytes{1, 4, 5, 6, 10}));
    EXPECT_EQ(Bytes(delta.afterBytes().begin(), delta.afterBytes().end()), (Bytes{9, 0, 0, 0, 11}));
}

TEST(ByteDeltaTest, WritesEitherSideBackAndNothingElse) {
    const Bytes before{1, 2, 3, 4, 5, 6, 7, 8};
    const Bytes after{1, 20, 30, 4, 5, 6, 7, 80};
    const ByteDelta delta = ByteDelta::Between(before, after);

    // Bytes outside the ranges are left as the target has them.
    Bytes target{100, 101, 102, 103, 104, 105, 106, 107};
    ASSERT_TRUE(delta.ApplyAfter(target));
    EXPECT_EQ(target, (Bytes{100, 20, 30, 103, 104, 105, 106, 80}));
    ASSERT_TRUE(delta.ApplyBefore(target));
    EXPECT_EQ(target, (Bytes{100, 2, 3, 103, 104, 105, 106, 8}));

    Bytes image = after;
    ASSERT_TRUE(delta.ApplyBefore(image));
    EXPECT_EQ(image, before);
    ASSERT_TRUE(delta.ApplyAfter(image));
    EXPECT_EQ(image, after);
}

TEST(ByteDeltaTest, EqualImagesGiveAnEmptyDeltaThatChangesNothing) {
    const Bytes image{7, 7, 7, 7};
    const ByteDelta delta = ByteDelta::Between(image, image);
    EXPECT_TRUE(delta.empty());
    EXPECT_EQ(delta.changedBytes(), 0u);
    Bytes target{1, 2, 3, 4};
    EXPECT_TRUE(delta.ApplyBefore(target));
    EXPECT_TRUE(delta.ApplyAfter(target));
    EXPECT_EQ(target, (Bytes{1, 2, 3, 4}));

    const ByteDelta none = ByteDelta::Between(Bytes{}, Bytes{});
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(none.imageSize(), 0u);
}

TEST(ByteDeltaTest, ImagesOfAnotherSizeAreRefusedWhole) {
    const ByteDelta delta = ByteDelta::Between(Bytes{1, 2, 3}, Bytes{1, 9, 3});
    Bytes shorter{5, 5};
    Bytes longer{5, 5, 5, 5};
    EXPECT_FALSE(delta.ApplyAfter(shorter));
    EXPECT_FALSE(delta.ApplyBefore(longer));
    EXPECT_EQ(shorter, (Bytes{5, 5}));
    EXPECT_EQ(longer, (Bytes{5, 5, 5, 5}));
    // Comparing images of two sizes is a caller's mistake: nothing is recorded.
    const ByteDelta mismatch = ByteDelta::Between(Bytes{1, 2, 3}, Bytes{1, 2});
    EXPECT_TRUE(mismatch.empty());
}

TEST(ByteDeltaTest, ReportsTheMemoryItHolds) {
    const Bytes before{1, 2, 3, 4, 5, 6, 7, 8};
    const Bytes after{1, 0, 3, 4, 0, 0, 0, 8};
    const ByteDelta delta = ByteDelta::Between(before, after);
    // Two ranges and four changed bytes on each side.
    EXPECT_EQ(delta.MemoryBytes(), sizeof(ByteDelta) + 2 * sizeof(Range) + 2 * 4);
    EXPECT_EQ(ByteDelta().MemoryBytes(), sizeof(ByteDelta));
}

TEST(ByteDeltaTest, RecordsAOneByteChangeOfALevelInAFewDozenBytes) {
    auto before = std::make_unique<LevelRecord>();
    before->rooms[5].cells[63] = 0x11;
    auto after = std::make_unique<LevelRecord>(*before);
    after->rooms[5].cells[63] = 0xA0;
    const ByteDelta delta = ByteDelta::Between(*before, *after);
    ASSERT_EQ(delta.ranges().size(), 1u);
    const auto offset = static_cast<std::size_t>(
        reinterpret_cast<const std::uint8_t*>(&before->rooms[5].cells[63]) -
        reinterpret_cast<const std::uint8_t*>(before.get()));
    EXPECT_EQ(delta.ranges()[0], (Range{static_cast<std::uint32_t>(offset), 1}));
    EXPECT_EQ(delta.imageSize(), sizeof(LevelRecord));
    EXPECT_LT(delta.MemoryBytes(), 100u);

    // Writing the sides back onto the object itself.
    LevelRecord& level = *after;
    ASSERT_TRUE(delta.ApplyBefore(level));
    EXPECT_EQ(level.rooms[5].cells[63], 0x11);
    EXPECT_EQ(level, *before);
    ASSERT_TRUE(delta.ApplyAfter(level));
    EXPECT_EQ(level.rooms[5].cells[63], 0xA0);
}

} // namespace
} // namespace korvane
