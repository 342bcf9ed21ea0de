#pragma once

#include "RomImage.h"

#include <array>
#include <cstdint>
#include <span>

namespace korvane {

// A block is 2 x 2 tiles (16 x 16 pixels).
struct Block {
    std::array<std::uint8_t, 4> tiles{}; // top-left, top-right, bottom-left, bottom-right
    std::uint8_t attributes = 0;         // bits 0-1 palette, bits 4-7 block type, bits 2-3 kept

    int palette() const { return attributes & 0x03; }
    int blockType() const { return attributes >> 4; }
    bool operator==(const Block&) const = default;
};

// An assembly is 2 x 2 blocks (32 x 32 pixels).
struct Assembly {
    std::array<std::uint8_t, 4> blocks{}; // top-left, top-right, bottom-left, bottom-right
    bool operator==(const Assembly&) const = default;
};

// A room is 8 x 8 assemblies (256 x 256 pixels), row by row.
struct Room {
    std::array<std::uint8_t, 64> cells{};
    bool operator==(const Room&) const = default;
};

// One enemy placement. roomPosition indexes roomOrder (the room's place in the level), not a
// room number. All four bytes 0xFF end the list; 0xFF in roomPosition alone marks a placement
// detached from the level.
struct EnemyPlacement {
    std::uint8_t x = 0;
    std::uint8_t y = 0;
    std::uint8_t roomPosition = 0;
    std::uint8_t enemyId = 0;

    // The packed form used by the enemy operations: x | y << 8 | roomPosition << 16 | id << 24.
    std::uint32_t Packed() const {
        return static_cast<std::uint32_t>(x) | static_cast<std::uint32_t>(y) << 8 |
               static_cast<std::uint32_t>(roomPosition) << 16 |
               static_cast<std::uint32_t>(enemyId) << 24;
    }
    static EnemyPlacement FromPacked(std::uint32_t packed) {
        return {static_cast<std::uint8_t>(packed), static_cast<std::uint8_t>(packed >> 8),
                static_cast<std::uint8_t>(packed >> 16), static_cast<std::uint8_t>(packed >> 24)};
    }
    bool IsTerminator() const { return Packed() == 0xFFFFFFFFu; }
    bool operator==(const EnemyPlacement&) const = default;
};

inline constexpr std::uint32_t kEnemyTerminator = 0xFFFFFFFFu;

// One hallway: a run of consecutive rooms of roomOrder.
struct Hallway {
    std::uint8_t enemyBank = 0;  // enemy graphics bank ("Bank #")
    std::uint8_t paletteSet = 0; // palette set of the level
    std::uint8_t transition = 0; // how it joins the hallways before and after it
    std::uint8_t lastRoom = 0;   // number of rooms - 1
    bool operator==(const Hallway&) const = default;
};

// Four background palettes of four NES colour numbers, then four special-effect codes.
struct PaletteSet {
    std::array<std::uint8_t, 20> bytes{};

    std::uint8_t& colour(int palette, int entry) {
        return bytes[static_cast<std::size_t>(palette * 4 + entry)];
    }
    std::uint8_t colour(int palette, int entry) const {
        return bytes[static_cast<std::size_t>(palette * 4 + entry)];
    }
    std::span<std::uint8_t, 4> effectCodes() { return std::span<std::uint8_t, 4>(&bytes[16], 4); }
    std::span<const std::uint8_t, 4> effectCodes() const {
        return std::span<const std::uint8_t, 4>(&bytes[16], 4);
    }
    bool operator==(const PaletteSet&) const = default;
};

// Results of the hallway operations. Refusals change nothing.
enum class HallwayResult : int {
    Ok = 0,
    NoFreeHallway = -1,  // RemainingHallways() is 0
    NotEnoughRooms = -2, // the new rooms do not fit in the 32 entries of roomOrder
    LastHallway = -3,    // the only hallway cannot be removed
    // Hallway index or position out of range, fewer room numbers than lastRoom + 1, a room
    // number of 32 or more after a hallway's first room, lastRoom or transition above 15 (they
    // are kept in 4 bits), or a SetHallwayEntry that would change lastRoom.
    BadArguments = -4,
    // Saved and opened again, the hallway list would not read back as the model holds it: a
    // hallway ends the list (see EndsHallwayList), or the free entry after the last hallway
    // no longer does.
    EndsHallwayList = -5,
};

// Enemy operations return the new count or this refusal.
inline constexpr int kEnemyRefused = -1;

inline constexpr int kBlockCount = 256;
inline constexpr int kAssemblyCount = 256;
inline constexpr int kRoomCount = 32;
inline constexpr int kEnemySlots = 256;
inline constexpr int kPaletteSetCount = 5;
inline constexpr int kRoomOrderSize = 32;
inline constexpr int kHallwaySlots = 16;
inline constexpr int kTileBytes = 4096; // 256 tiles of 16 bytes
inline constexpr int kUndecodedByteCount = 90;
inline constexpr std::uint8_t kNoCheckpoint = 0xFF;

// Offsets inside a level's program bank.
namespace bank {
inline constexpr std::size_t kRoomOrder = 0x0A00;
inline constexpr std::size_t kHallwayNibbles = 0x0A40;
inline constexpr std::size_t kHallwayPairs = 0x0A60;
inline constexpr std::size_t kTileBanks = 0x0A80;
inline constexpr std::size_t kPaletteSets = 0x0A82;
inline constexpr std::size_t kCheckpointHallways = 0x0AF0;
inline constexpr std::size_t kCheckpointRooms = 0x0AF8;
inline constexpr std::size_t kEnemyRoomPosition = 0x0B00;
inline constexpr std::size_t kEnemyX = 0x0C00;
inline constexpr std::size_t kEnemyY = 0x0D00;
inline constexpr std::size_t kEnemyId = 0x0E00;
inline constexpr std::size_t kRooms = 0x0F00;
inline constexpr std::size_t kAssemblies = 0x1700;
inline constexpr std::size_t kBlockTiles = 0x1B00; // four columns of 256, then attributes
inline constexpr std::size_t kBlockAttributes = 0x1F00;
} // namespace bank

// One level, decoded: a fixed-size value type that editors copy in and out whole.
class LevelRecord {
public:
    std::array<Block, kBlockCount> blocks{};
    std::array<Assembly, kAssemblyCount> assemblies{};
    std::array<Room, kRoomCount> rooms{};
    std::array<EnemyPlacement, kEnemySlots> enemies{};
    std::array<PaletteSet, kPaletteSetCount> paletteSets{};
    std::array<std::uint8_t, kRoomOrderSize> roomOrder{};
    std::array<Hallway, kHallwaySlots> hallways{};
    std::int32_t hallwayCount = 0;
    std::array<std::uint8_t, 2> tileBanks{};
    std::array<std::uint8_t, 2> checkpointHallways{};
    std::array<std::uint8_t, 2> checkpointRooms{};
    std::int32_t enemyCount = 0;
    std::array<std::int32_t, kRoomCount> roomUse{};
    std::array<std::int32_t, kAssemblyCount> assemblyUse{};
    std::array<std::int32_t, kBlockCount> blockUse{};
    std::array<std::int32_t, 256> tileUse{};
    std::array<std::uint8_t, kUndecodedByteCount> undecodedBytes{};
    std::array<std::uint8_t, kTileBytes> tiles{};
    std::array<std::int32_t, 256> enemyUse{};

    bool operator==(const LevelRecord&) const = default;

    // Fills every field from the level's bank (and its two tile halves in character memory).
    void Decode(const RomImage& image, std::size_t bankOffset);
    // Writes every decoded field back where it was read; touches nothing else.
    void Encode(RomImage& image, std::size_t bankOffset) const;

    void RecountUsage();
    int CountHallways();
    int HallwayStart(int h) const;
    // Number of rooms of hallway h; copies them into out when given (out must hold 16).
    int HallwayRooms(int h, std::span<std::uint8_t> out = {}) const;
    // Room number at position HallwayStart(h) + i, or 0xFF when that position lies outside
    // roomOrder.
    int GetHallwayRoom(int h, int i) const;
    // Whether decoding ends the hallway list at this hallway, whose first room is firstRoom
    // (32 or more also for a first position beyond roomOrder): an enemy bank above 0x3A, a
    // palette set above 5, a first room of 32 or more, or one room with transition 0. The
    // editing operations refuse to make such a hallway, since it and every hallway after it
    // would be gone once the file is saved and opened again.
    static bool EndsHallwayList(const Hallway& hallway, int firstRoom);

    // The hallway operations refuse, changing nothing, a change after which the hallway list
    // would not read back as the model holds it (EndsHallwayList); data that decoding already
    // accepted stays as it was read.
    //
    // Sets roomOrder[HallwayStart(h) + i]; room numbers of 32 or more are refused.
    HallwayResult SetHallwayRoom(int h, int i, std::uint8_t room);
    // Changes the enemy bank, palette set and transition of hallway h and leaves its rooms
    // alone: hallway.lastRoom must be the hallway's own (BadArguments otherwise).
    HallwayResult SetHallwayEntry(int h, Hallway hallway);
    HallwayResult InsertHallway(int h, std::span<const std::uint8_t> hallwayRooms, Hallway hallway);
    HallwayResult RemoveHallway(int h);
    HallwayResult ReplaceHallway(int h, std::span<const std::uint8_t> hallwayRooms,
                                 Hallway hallway);
    int RemainingHallways() const;
    int RemainingRooms() const;
    // After the hallways changed: each checkpoint's hallway is the last hallway whose rooms hold
    // the checkpoint's room position, or hallwayCount when none does.
    void RecomputeCheckpointHallways();

    int CountEnemies();
    int FindEnemy(std::uint32_t packed) const;
    int AddEnemy(std::uint32_t packed);
    int DeleteEnemy(int index);
    int SetEnemy(int index, std::uint32_t packed);
    void SortEnemies();
    int EnemiesBeforeHallway(int h) const;
    void RemoveRoomPositionFromEnemies(int h, int i);
    void InsertRoomPositionIntoEnemies(int h, int i);

private:
    // hallwayCount and enemyCount kept to what the fixed tables can hold.
    int UsedHallways() const;
    int UsedEnemies() const;
    // Sum of (lastRoom + 1) over the valid hallways; may exceed 32 for damaged data.
    int TotalHallwayRooms() const;
    // The refusals of ReplaceHallway, all checked before anything changes.
    HallwayResult CheckReplaceHallway(int h, std::span<const std::uint8_t> hallwayRooms,
                                      Hallway hallway) const;
};

} // namespace korvane
