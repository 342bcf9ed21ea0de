#include "gamedata/LevelRecord.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

namespace korvane {
namespace {

// A level with the given number of rooms per hallway; position p holds room (p + 3) % 32 and
// every room, assembly and block is distinct enough for the usage counts to differ.
LevelRecord MakeLevel(const std::vector<int>& roomsPerHallway) {
    LevelRecord rec;
    for (std::size_t r = 0; r < 32; ++r) {
        for (std::size_t c = 0; c < 64; ++c) {
            rec.rooms[r].cells[c] = static_cast<std::uint8_t>(r * 7 + c);
        }
        rec.roomOrder[r] = static_cast<std::uint8_t>((r + 3) % 32);
    }
    for (std::size_t i = 0; i < 256; ++i) {
        rec.assemblies[i].blocks = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i / 2),
                                    3, static_cast<std::uint8_t>(255 - i)};
        rec.blocks[i].tiles = {static_cast<std::uint8_t>(i), 9, static_cast<std::uint8_t>(i / 3),
                               static_cast<std::uint8_t>(i ^ 0x55)};
        rec.enemies[i] = EnemyPlacement::FromPacked(kEnemyTerminator);
    }
    for (std::size_t h = 0; h < roomsPerHallway.size(); ++h) {
        rec.hallways[h] = {static_cast<std::uint8_t>(h), static_cast<std::uint8_t>(h % 5), 1,
                           static_cast<std::uint8_t>(roomsPerHallway[h] - 1)};
    }
    rec.CountHallways();
    rec.CountEnemies();
    rec.RecountUsage();
    return rec;
}

// The usage counts walked the slow way, one increment per use.
LevelRecord NaiveUsage(LevelRecord rec) {
    rec.roomUse.fill(0);
    rec.assemblyUse.fill(0);
    rec.blockUse.fill(0);
    rec.tileUse.fill(0);
    int position = 0;
    for (int h = 0; h < rec.hallwayCount; ++h) {
        for (int i = 0; i <= rec.hallways[static_cast<std::size_t>(h)].lastRoom; ++i, ++position) {
            if (position >= 32 || rec.roomOrder[static_cast<std::size_t>(position)] >= 32) {
                continue;
            }
            const std::uint8_t r = rec.roomOrder[static_cast<std::size_t>(position)];
            ++rec.roomUse[r];
            for (std::uint8_t a : rec.rooms[r].cells) {
                ++rec.assemblyUse[a];
                for (std::uint8_t b : rec.assemblies[a].blocks) {
                    ++rec.blockUse[b];
                    for (std::uint8_t t : rec.blocks[b].tiles) {
                        ++rec.tileUse[t];
                    }
                }
            }
        }
    }
    return rec;
}

// The level as it reads back from a cartridge after a save: encoded into an image and decoded.
LevelRecord ReadBack(const LevelRecord& rec) {
    auto image = std::make_unique<RomImage>();
    rec.Encode(*image, 0x10);
    LevelRecord decoded;
    decoded.Decode(*image, 0x10);
    return decoded;
}

// The hallway table and room order of two levels agree, as far as the list goes.
void ExpectSameHallways(const LevelRecord& got, const LevelRecord& want) {
    EXPECT_EQ(got.hallwayCount, want.hallwayCount);
    EXPECT_EQ(got.roomOrder, want.roomOrder);
    EXPECT_EQ(got.hallways, want.hallways);
}

constexpr std::array<std::uint8_t, 16> kRooms{20, 21, 22, 23, 24, 25, 26, 27,
                                              28, 29, 30, 31, 0,  1,  2,  3};

TEST(HallwayInsert, BeforeTheFirstHallwayMovesEveryUsedRoomOnePlaceLater) {
    LevelRecord rec = MakeLevel({3, 2});
    const LevelRecord before = rec;
    EXPECT_EQ(rec.InsertHallway(0, kRooms, {7, 2, 2, 0}), HallwayResult::Ok);
    EXPECT_EQ(rec.hallwayCount, 3);
    EXPECT_EQ(rec.roomOrder[0], 20);
    for (std::size_t p = 0; p < 31; ++p) {
        EXPECT_EQ(rec.roomOrder[p + 1], before.roomOrder[p]);
    }
    EXPECT_EQ(rec.hallways[0], (Hallway{7, 2, 2, 0}));
    EXPECT_EQ(rec.hallways[1], before.hallways[0]);
    EXPECT_EQ(rec.hallways[2], before.hallways[1]);
    EXPECT_EQ(rec.hallways[3].transition, 0);
    EXPECT_EQ(rec.hallways[3].lastRoom, 0);
    EXPECT_EQ(rec.RemainingRooms(), 26);
    EXPECT_EQ(rec, NaiveUsage(rec));
}

TEST(HallwayInsert, RefusalsChangeNothing) {
    LevelRecord full = MakeLevel({16, 16});
    LevelRecord before = full;
    EXPECT_EQ(full.InsertHallway(0, kRooms, {0, 0, 2, 0}), HallwayResult::NotEnoughRooms);
    EXPECT_EQ(full, before);

    LevelRecord many = MakeLevel(std::vector<int>(15, 1));
    before = many;
    EXPECT_EQ(many.RemainingHallways(), 0);
    EXPECT_EQ(many.InsertHallway(0, kRooms, {0, 0, 2, 0}), HallwayResult::NoFreeHallway);
    EXPECT_EQ(many, before);

    LevelRecord two = MakeLevel({2, 2});
    before = two;
    EXPECT_EQ(two.InsertHallway(3, kRooms, {0, 0, 2, 0}), HallwayResult::BadArguments);
    EXPECT_EQ(two.InsertHallway(-1, kRooms, {0, 0, 2, 0}), HallwayResult::BadArguments);
    EXPECT_EQ(two.InsertHallway(0, std::span(kRooms).first(2), {0, 0, 2, 2}),
              HallwayResult::BadArguments);
    EXPECT_EQ(two.InsertHallway(0, kRooms, {0, 0, 2, 16}), HallwayResult::BadArguments);
    EXPECT_EQ(two, before);
}

TEST(HallwayRemove, MovesLaterRoomsDownAndKeepsTheFreedBytes) {
    LevelRecord rec = MakeLevel({2, 3, 1});
    const LevelRecord before = rec;
    EXPECT_EQ(rec.RemoveHallway(1), HallwayResult::Ok);
    EXPECT_EQ(rec.hallwayCount, 2);
    for (std::size_t p = 0; p < 2; ++p) {
        EXPECT_EQ(rec.roomOrder[p], before.roomOrder[p]);
    }
    for (std::size_t p = 2; p < 29; ++p) {
        EXPECT_EQ(rec.roomOrder[p], before.roomOrder[p + 3]);
    }
    for (std::size_t p = 29; p < 32; ++p) {
        EXPECT_EQ(rec.roomOrder[p], before.roomOrder[p]);
    }
    EXPECT_EQ(rec.hallways[1], before.hallways[2]);
    EXPECT_EQ(rec.hallways[2].transition, 0);
    EXPECT_EQ(rec.hallways[2].lastRoom, 0);
    EXPECT_EQ(rec, NaiveUsage(rec));
}

TEST(HallwayRemove, TheOnlyHallwayStays) {
    LevelRecord rec = MakeLevel({4});
    const LevelRecord before = rec;
    EXPECT_EQ(rec.RemoveHallway(0), HallwayResult::LastHallway);
    EXPECT_EQ(rec.ReplaceHallway(0, kRooms, {0, 0, 2, 1}), HallwayResult::LastHallway);
    EXPECT_EQ(rec, before);
    LevelRecord two = MakeLevel({1, 1});
    const LevelRecord twoBefore = two;
    EXPECT_EQ(two.RemoveHallway(2), HallwayResult::BadArguments);
    EXPECT_EQ(two, twoBefore);
}

TEST(HallwayReplace, ChangesTheRoomCountInPlace) {
    LevelRecord rec = MakeLevel({2, 3, 1});
    const LevelRecord before = rec;
    EXPECT_EQ(rec.ReplaceHallway(1, kRooms, {9, 4, 3, 4}), HallwayResult::Ok);
    EXPECT_EQ(rec.hallwayCount, 3);
    EXPECT_EQ(rec.hallways[1], (Hallway{9, 4, 3, 4}));
    EXPECT_EQ(rec.hallways[2], before.hallways[2]);
    const std::vector<std::uint8_t> expected{
        before.roomOrder[0], before.roomOrder[1], 20, 21, 22, 23, 24, before.roomOrder[5]};
    for (std::size_t p = 0; p < expected.size(); ++p) {
        EXPECT_EQ(rec.roomOrder[p], expected[p]) << p;
    }
    EXPECT_EQ(rec, NaiveUsage(rec));
}

TEST(HallwayReplace, RefusalsAreCheckedBeforeAnythingChanges) {
    // Sixteen decoded hallways: the removal alone would work, the insertion would not.
    LevelRecord sixteen = MakeLevel(std::vector<int>(16, 1));
    ASSERT_EQ(sixteen.hallwayCount, 16);
    LevelRecord before = sixteen;
    EXPECT_EQ(sixteen.ReplaceHallway(4, kRooms, {0, 0, 2, 0}), HallwayResult::NoFreeHallway);
    EXPECT_EQ(sixteen, before);

    LevelRecord full = MakeLevel({10, 20});
    before = full;
    EXPECT_EQ(full.ReplaceHallway(0, kRooms, {0, 0, 2, 12}), HallwayResult::NotEnoughRooms);
    EXPECT_EQ(full.ReplaceHallway(0, std::span(kRooms).first(3), {0, 0, 2, 5}),
              HallwayResult::BadArguments);
    EXPECT_EQ(full, before);
    EXPECT_EQ(full.ReplaceHallway(0, kRooms, {0, 0, 2, 11}), HallwayResult::Ok);
    EXPECT_EQ(full.RemainingRooms(), 0);
}

TEST(HallwayReplace, FourteenAndFifteenHallwaysNeedNoSlotOfTheirOwn) {
    for (int count : {14, 15}) {
        LevelRecord rec = MakeLevel(std::vector<int>(static_cast<std::size_t>(count), 1));
        EXPECT_EQ(rec.ReplaceHallway(0, kRooms, {1, 1, 2, 1}), HallwayResult::Ok) << count;
        EXPECT_EQ(rec.hallwayCount, count);
    }
}

TEST(HallwayRooms, PositionsBeyondTheOrderAndRoomsBeyond31CountNothing) {
    // Damaged data: 8 hallways of 5 rooms reach position 40; room numbers of 32 and more.
    LevelRecord rec = MakeLevel({});
    for (std::size_t h = 0; h < 8; ++h) {
        rec.hallways[h] = {0, 0, 1, 4};
    }
    rec.roomOrder[0] = 0;
    rec.roomOrder[3] = 40;
    rec.roomOrder[7] = 0xFF;
    rec.hallwayCount = 8;
    rec.RecountUsage();
    EXPECT_EQ(rec, NaiveUsage(rec));
    int roomsCounted = 0;
    for (std::int32_t uses : rec.roomUse) {
        roomsCounted += uses;
    }
    EXPECT_EQ(roomsCounted, 30); // 32 positions, two of them holding no room
    EXPECT_EQ(rec.RemainingRooms(), 0);
    EXPECT_EQ(rec.GetHallwayRoom(6, 1), rec.roomOrder[31]); // hallway 6 starts at 30
    EXPECT_EQ(rec.GetHallwayRoom(6, 2), 0xFF);
    EXPECT_EQ(rec.GetHallwayRoom(7, 0), 0xFF);
    std::array<std::uint8_t, 16> out{};
    EXPECT_EQ(rec.HallwayRooms(6, out), 5);
    EXPECT_EQ(out[1], rec.roomOrder[31]);
    EXPECT_EQ(out[2], 0xFF);
    const LevelRecord before = rec;
    EXPECT_EQ(rec.SetHallwayRoom(7, 0, 3), HallwayResult::BadArguments);
    EXPECT_EQ(rec, before);
    // The last hallway reaches past the order: removing it moves nothing.
    EXPECT_EQ(rec.RemoveHallway(7), HallwayResult::Ok);
    EXPECT_EQ(rec.roomOrder, before.roomOrder);
    EXPECT_EQ(rec, NaiveUsage(rec));
}

TEST(HallwayRooms, SetHallwayRoomRecountsUsage) {
    LevelRecord rec = MakeLevel({2, 2});
    EXPECT_EQ(rec.SetHallwayRoom(1, 1, 3), HallwayResult::Ok);
    EXPECT_EQ(rec.GetHallwayRoom(1, 1), 3);
    EXPECT_EQ(rec.roomOrder[3], 3);
    EXPECT_EQ(rec.roomUse[3], 2); // position 0 holds room 3 too
    EXPECT_EQ(rec, NaiveUsage(rec));
    EXPECT_EQ(rec.HallwayStart(0), 0);
    EXPECT_EQ(rec.HallwayStart(-3), 0);
    EXPECT_EQ(rec.HallwayStart(2), 4);
}

TEST(HallwayList, EndsAtABankAPaletteSetAFirstRoomOrAOneRoomHallwayWithoutTransition) {
    struct Case {
        Hallway hallway;
        int firstRoom;
        bool ends;
    };
    const Case cases[] = {
        {{0x3A, 5, 1, 0}, 31, false}, // the largest values that pass
        {{0x3B, 0, 1, 3}, 0, true},   {{0xFF, 0, 1, 3}, 0, true}, {{0, 6, 1, 3}, 0, true},
        {{0, 0xFF, 1, 3}, 0, true},   {{0, 0, 1, 3}, 32, true},   {{0, 0, 1, 3}, 0xFF, true},
        {{0, 0, 0, 0}, 0, true},      {{0, 0, 0, 1}, 0, false},   {{0, 0, 15, 0}, 0, false},
        {{0, 0, 2, 15}, 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LevelRecord::EndsHallwayList(c.hallway, c.firstRoom), c.ends)
            << int{c.hallway.enemyBank} << " " << int{c.hallway.paletteSet} << " "
            << int{c.hallway.transition} << " " << int{c.hallway.lastRoom} << " " << c.firstRoom;
    }
}

TEST(HallwayList, InsertAndReplaceRefuseHallwaysThatWouldEndIt) {
    LevelRecord rec = MakeLevel({3, 2, 1});
    const LevelRecord before = rec;
    const std::array<std::uint8_t, 16> roomForty{40, 1, 2};
    const std::array<std::uint8_t, 16> laterForty{1, 40, 2};
    struct Case {
        std::span<const std::uint8_t> rooms;
        Hallway hallway;
        HallwayResult result;
    };
    const Case cases[] = {
        {kRooms, {0x50, 0, 1, 2}, HallwayResult::EndsHallwayList},
        {kRooms, {0x10, 7, 1, 2}, HallwayResult::EndsHallwayList},
        {roomForty, {0x10, 1, 1, 2}, HallwayResult::EndsHallwayList},
        {kRooms, {0x10, 1, 0, 0}, HallwayResult::EndsHallwayList},
        {laterForty, {0x10, 1, 1, 2}, HallwayResult::BadArguments}, // 40 is no room
        {kRooms, {0x10, 1, 16, 0}, HallwayResult::BadArguments},    // 16 would be written as 0
    };
    for (const Case& c : cases) {
        for (int h = 0; h <= 3; ++h) {
            EXPECT_EQ(rec.InsertHallway(h, c.rooms, c.hallway), c.result) << h;
            EXPECT_EQ(rec.ReplaceHallway(std::min(h, 2), c.rooms, c.hallway), c.result) << h;
            ASSERT_EQ(rec, before);
        }
    }
    // Transition 0 is an ordinary transition for a hallway of two rooms or more.
    EXPECT_EQ(rec.InsertHallway(3, kRooms, {0x3A, 5, 0, 1}), HallwayResult::Ok);
    EXPECT_EQ(rec.ReplaceHallway(0, kRooms, {0, 0, 0, 2}), HallwayResult::Ok);
    EXPECT_EQ(rec.hallwayCount, 4);
    ExpectSameHallways(ReadBack(rec), rec);
}

TEST(HallwayList, SetHallwayRoomRefusesRoomsBeyond31) {
    LevelRecord rec = MakeLevel({3, 2});
    const LevelRecord before = rec;
    EXPECT_EQ(rec.SetHallwayRoom(0, 0, 40), HallwayResult::EndsHallwayList);
    EXPECT_EQ(rec.SetHallwayRoom(1, 0, 32), HallwayResult::EndsHallwayList);
    EXPECT_EQ(rec.SetHallwayRoom(0, 2, 32), HallwayResult::BadArguments);
    EXPECT_EQ(rec.SetHallwayRoom(1, 1, 0xFF), HallwayResult::BadArguments);
    EXPECT_EQ(rec, before);
    EXPECT_EQ(rec.SetHallwayRoom(1, 0, 31), HallwayResult::Ok);
    EXPECT_EQ(rec.roomOrder[3], 31);
    ExpectSameHallways(ReadBack(rec), rec);
}

TEST(HallwayList, TheFreeEntryAfterTheLastHallwayMustStillEndIt) {
    // Decoded data: the entry after the two hallways would be a hallway of two rooms, but its
    // first position holds no room.
    LevelRecord rec = MakeLevel({3, 2});
    rec.hallways[2] = {1, 1, 2, 1};
    rec.hallways[3] = {5, 5, 5, 5};
    rec.roomOrder[5] = 0xFF;
    rec.CountHallways();
    rec.RecountUsage();
    ASSERT_EQ(rec.hallwayCount, 2);
    const LevelRecord before = rec;
    // Position 5, named through the free entry or through the hallway before it.
    EXPECT_EQ(rec.SetHallwayRoom(2, 0, 7), HallwayResult::EndsHallwayList);
    EXPECT_EQ(rec.SetHallwayRoom(1, 2, 7), HallwayResult::EndsHallwayList);
    EXPECT_EQ(rec, before);
    // Positions after it may change: the list still ends there.
    EXPECT_EQ(rec.SetHallwayRoom(2, 1, 7), HallwayResult::Ok);
    EXPECT_EQ(rec.roomOrder[6], 7);
    ExpectSameHallways(ReadBack(rec), rec);
    // Inserting or removing writes a free entry that ends the list by itself.
    EXPECT_EQ(rec.InsertHallway(0, kRooms, {1, 1, 2, 0}), HallwayResult::Ok);
    EXPECT_EQ(rec.hallways[3], (Hallway{5, 5, 0, 0}));
    ExpectSameHallways(ReadBack(rec), rec);
}

TEST(HallwayList, SetHallwayEntryChangesAHallwaysOwnFieldsOnly) {
    LevelRecord rec = MakeLevel({3, 1, 2});
    const LevelRecord before = rec;
    EXPECT_EQ(rec.SetHallwayEntry(1, {0x3A, 5, 9, 0}), HallwayResult::Ok);
    EXPECT_EQ(rec.hallways[1], (Hallway{0x3A, 5, 9, 0}));
    EXPECT_EQ(rec.roomOrder, before.roomOrder);
    EXPECT_EQ(rec.roomUse, before.roomUse);
    EXPECT_EQ(rec.hallways[0], before.hallways[0]);
    EXPECT_EQ(rec.hallways[2], before.hallways[2]);
    ExpectSameHallways(ReadBack(rec), rec);
    EXPECT_EQ(rec.SetHallwayEntry(0, {0, 0, 0, 2}), HallwayResult::Ok); // three rooms

    const LevelRecord set = rec;
    struct Case {
        int h;
        Hallway hallway;
        HallwayResult result;
    };
    const Case cases[] = {
        {1, {0x3B, 0, 2, 0}, HallwayResult::EndsHallwayList},
        {1, {0, 6, 2, 0}, HallwayResult::EndsHallwayList},
        {1, {0, 0, 0, 0}, HallwayResult::EndsHallwayList}, // one room, transition 0
        {2, {0, 0, 16, 1}, HallwayResult::BadArguments},   // transition 16 is written as 0
        {2, {0, 0, 2, 0}, HallwayResult::BadArguments},    // its rooms are not this call's
        {2, {0, 0, 2, 3}, HallwayResult::BadArguments},
        {3, {0, 0, 2, 0}, HallwayResult::BadArguments}, // the free entry is no hallway
        {-1, {0, 0, 2, 2}, HallwayResult::BadArguments},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rec.SetHallwayEntry(c.h, c.hallway), c.result) << c.h;
        EXPECT_EQ(rec, set) << c.h;
    }
}

TEST(HallwayList, SixteenDecodedHallwaysStayEditable) {
    LevelRecord rec = MakeLevel(std::vector<int>(16, 2));
    ASSERT_EQ(rec.hallwayCount, 16);
    const LevelRecord before = rec;
    EXPECT_EQ(rec.SetHallwayEntry(15, {0x3B, 0, 1, 1}), HallwayResult::EndsHallwayList);
    EXPECT_EQ(rec.SetHallwayRoom(15, 0, 32), HallwayResult::EndsHallwayList);
    EXPECT_EQ(rec.InsertHallway(0, kRooms, {0, 0, 2, 0}), HallwayResult::NoFreeHallway);
    EXPECT_EQ(rec, before);
    EXPECT_EQ(rec.SetHallwayEntry(15, {0x20, 4, 0, 1}), HallwayResult::Ok);
    EXPECT_EQ(rec.SetHallwayRoom(15, 1, 3), HallwayResult::Ok);
    ExpectSameHallways(ReadBack(rec), rec);
    EXPECT_EQ(rec.RemoveHallway(3), HallwayResult::Ok);
    EXPECT_EQ(rec.hallwayCount, 15);
    EXPECT_EQ(rec.hallways[15], (Hallway{0x20, 4, 0, 0}));
    ExpectSameHallways(ReadBack(rec), rec);
}

TEST(HallwayList, DecodedDataStaysAsItWasRead) {
    // Hallway 0 holds a room number beyond 31 after its first room, as a file may.
    LevelRecord rec = MakeLevel({3, 2});
    rec.roomOrder[1] = 40;
    rec.RecountUsage();
    EXPECT_EQ(rec.SetHallwayEntry(0, {0x11, 2, 3, 2}), HallwayResult::Ok);
    EXPECT_EQ(rec.SetHallwayRoom(0, 2, 9), HallwayResult::Ok);
    EXPECT_EQ(rec.InsertHallway(1, kRooms, {0, 0, 2, 0}), HallwayResult::Ok);
    EXPECT_EQ(rec.roomOrder[1], 40);
    EXPECT_EQ(rec, NaiveUsage(rec));
    ExpectSameHallways(ReadBack(rec), rec);
}

} // namespace
} // namespace korvane
