#include "FuzzScript.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace korvane::fuzz {

namespace {

// Runs one operation described by four script bytes; returns its result, 0 when it has none.
// damaged is set when the operation wrote the counts directly.
int RunOperation(LevelRecord& rec, const std::uint8_t* op, bool& damaged) {
    const int h = static_cast<int>(op[1] % 18) - 1;
    const int i = static_cast<int>(op[2] % 40) - 2;
    const std::uint32_t packed =
        static_cast<std::uint32_t>(op[1]) | static_cast<std::uint32_t>(op[2]) << 8 |
        static_cast<std::uint32_t>(op[3] % 40) << 16 | static_cast<std::uint32_t>(op[0]) << 24;
    std::array<std::uint8_t, 16> rooms{};
    for (std::size_t k = 0; k < rooms.size(); ++k) {
        rooms[k] = static_cast<std::uint8_t>(op[3] + 5 * k);
    }
    const Hallway hallway{op[2], static_cast<std::uint8_t>(op[3] & 7),
                          static_cast<std::uint8_t>(op[3] >> 4),
                          static_cast<std::uint8_t>(op[2] % 18)};
    switch (op[0] % 15) {
    case 0:
        return static_cast<int>(rec.InsertHallway(h, rooms, hallway));
    case 1:
        return static_cast<int>(rec.RemoveHallway(h));
    case 2:
        return static_cast<int>(rec.ReplaceHallway(h, std::span(rooms).first(op[3] % 17), hallway));
    case 3:
        return static_cast<int>(rec.SetHallwayRoom(h, i, op[3]));
    case 4: {
        // Mostly with the hallway's own room count, as the hallway editor calls it.
        Hallway entry = hallway;
        if (h >= 0 && (op[1] & 0x80) == 0) {
            entry.lastRoom = rec.hallways[static_cast<std::size_t>(h)].lastRoom;
        }
        return static_cast<int>(rec.SetHallwayEntry(h, entry));
    }
    case 5:
        return rec.AddEnemy(packed);
    case 6:
        return rec.DeleteEnemy(static_cast<int>(op[1]) - 2);
    case 7:
        return rec.SetEnemy(static_cast<int>(op[1]) - 2, packed);
    case 8:
        rec.RemoveRoomPositionFromEnemies(h, i);
        return 0;
    case 9:
        rec.InsertRoomPositionIntoEnemies(h, i);
        return 0;
    case 10:
        rec.SortEnemies();
        return rec.EnemiesBeforeHallway(h) >= 0 ? 0 : 1;
    case 11: {
        std::array<std::uint8_t, 16> out{};
        return rec.HallwayRooms(h, out) + rec.GetHallwayRoom(h, i) >= 0 ? 0 : 1;
    }
    case 12:
        return rec.FindEnemy(packed) >= -1 ? 0 : 1;
    case 13:
        // Editors may write fields directly: damaged counts must not take anything out of bounds.
        rec.hallwayCount = static_cast<std::int32_t>(op[1] % 20) - 2;
        rec.enemyCount = static_cast<std::int32_t>(op[2]) + static_cast<std::int32_t>(op[3] % 4);
        rec.tileBanks[op[3] & 1] = op[1];
        rec.RecountUsage();
        damaged = true;
        return 0;
    default: {
        // The counts alone leave the usage to the caller, as Decode does.
        const int counted = rec.CountHallways() + rec.CountEnemies();
        rec.RecountUsage();
        return counted + rec.RemainingRooms() + rec.RemainingHallways() >= 0 ? 0 : 1;
    }
    }
}

// Whether the level's lists read back as the model holds them: the counts decoding would find.
bool ListsReadBack(const LevelRecord& rec, LevelRecord& probe) {
    probe = rec;
    probe.enemyCount = 0; // decoding starts from 0
    probe.CountEnemies();
    probe.CountHallways();
    return probe.hallwayCount == rec.hallwayCount && probe.enemyCount == rec.enemyCount;
}

} // namespace

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz: %s\n", what);
        std::abort();
    }
}

void DecodeAndRunScript(const RomImage& image, const std::uint8_t* script, std::size_t size) {
    static auto encoded = std::make_unique<RomImage>();
    static auto model = std::make_unique<GameData>();
    static auto reopened = std::make_unique<GameData>();
    static LevelRecord before;
    static LevelRecord probe;

    model->Decode(image);
    *encoded = image;
    model->Encode(*encoded);
    Require(encoded->bytes == image.bytes, "decode then encode changed the image");

    std::array<bool, kLevelCount> damaged{};
    for (std::size_t at = 0; at + 4 <= size; at += 4) {
        const std::size_t n = script[at + 3] % kLevelCount;
        LevelRecord& rec = model->levels[n];
        before = rec;
        const int result = RunOperation(rec, script + at, damaged[n]);
        if (result < 0) {
            Require(rec == before, "a refused operation changed the level");
        }
        probe = rec;
        probe.RecountUsage();
        Require(probe == rec, "usage counts differ from a recount");
        if (!damaged[n]) {
            Require(ListsReadBack(rec, probe), "an accepted edit would not read back");
        }
    }

    model->Encode(*encoded);
    reopened->Decode(*encoded);
    for (std::size_t n = 0; n < kLevelCount; ++n) {
        if (damaged[n]) {
            continue;
        }
        const LevelRecord& held = model->levels[n];
        const LevelRecord& read = reopened->levels[n];
        Require(read.hallwayCount == held.hallwayCount && read.hallways == held.hallways &&
                    read.roomOrder == held.roomOrder,
                "the saved hallways read back differently");
        Require(read.enemyCount == held.enemyCount && read.enemies == held.enemies,
                "the saved enemies read back differently");
    }
}

} // namespace korvane::fuzz
