#include "LevelRecord.h"

#include <algorithm>

namespace korvane {

namespace {

// A hallway entry with a larger enemy bank or palette set ends the hallway list.
constexpr std::uint8_t kLastHallwayEnemyBank = 0x3A;
constexpr std::uint8_t kLastHallwayPaletteSet = 5;
// The editing operations keep one hallway slot free; decoding accepts all 16.
constexpr int kEditableHallways = 15;
// lastRoom and transition live in the two nibbles of a byte of the cartridge.
constexpr std::uint8_t kLargestLastRoom = 0x0F;
constexpr std::uint8_t kLargestTransition = 0x0F;

using HallwayTable = std::array<Hallway, kHallwaySlots>;
using RoomOrder = std::array<std::uint8_t, kRoomOrderSize>;

// First room position of hallway h: the rooms of the hallways before it.
int StartOf(const HallwayTable& table, int h) {
    const int end = std::min(h, kHallwaySlots);
    int start = 0;
    for (int s = 0; s < end; ++s) {
        start += table[static_cast<std::size_t>(s)].lastRoom + 1;
    }
    return start;
}

// The number of hallways decoding finds: those before the first that ends the list.
int ListedHallways(const HallwayTable& table, const RoomOrder& order) {
    int count = 0;
    int start = 0;
    for (const Hallway& hallway : table) {
        // A first position beyond roomOrder ends the list like a room number beyond 31.
        const int firstRoom =
            start < kRoomOrderSize ? order[static_cast<std::size_t>(start)] : kRoomCount;
        if (LevelRecord::EndsHallwayList(hallway, firstRoom)) {
            break;
        }
        ++count;
        start += hallway.lastRoom + 1;
    }
    return count;
}

// Whether the table and order, as an operation would leave them, read back from the cartridge
// with expectedCount hallways: encoded (the nibbles keep 4 bits each) and decoded again.
bool ReadsBack(const HallwayTable& table, const RoomOrder& order, int expectedCount) {
    HallwayTable written = table;
    for (Hallway& hallway : written) {
        hallway.transition &= 0x0F;
        hallway.lastRoom &= 0x0F;
    }
    return ListedHallways(written, order) == expectedCount;
}

// The refusals that depend on the new hallway alone: lastRoom and transition must fit their
// nibbles, the rooms must all be given, and the rooms after the first must be rooms (the
// first is the list's business: see EndsHallwayList).
bool IsWritableHallway(std::span<const std::uint8_t> hallwayRooms, const Hallway& hallway) {
    const std::size_t count = static_cast<std::size_t>(hallway.lastRoom) + 1;
    if (hallway.lastRoom > kLargestLastRoom || hallway.transition > kLargestTransition ||
        hallwayRooms.size() < count) {
        return false;
    }
    return std::all_of(hallwayRooms.begin() + 1,
                       hallwayRooms.begin() + static_cast<std::ptrdiff_t>(count),
                       [](std::uint8_t room) { return room < kRoomCount; });
}

// Inserts hallway (with its rooms) before hallway h of a list of used hallways: later rooms
// move towards the end of the order (the room checks keep them inside it), later hallways up
// by one entry, and the free entry after the list ends it.
void InsertInto(HallwayTable& table, RoomOrder& order, int used, int h,
                std::span<const std::uint8_t> hallwayRooms, const Hallway& hallway) {
    const int count = hallway.lastRoom + 1;
    const auto start = order.begin() + StartOf(table, h);
    std::copy_backward(start, order.end() - count, order.end());
    std::copy_n(hallwayRooms.begin(), count, start);

    const auto slot = table.begin() + h;
    std::copy_backward(slot, table.begin() + used, table.begin() + used + 1);
    *slot = hallway;
    table[static_cast<std::size_t>(used + 1)].transition = 0; // used is at most 14
    table[static_cast<std::size_t>(used + 1)].lastRoom = 0;
}

// Removes hallway h of a list of used hallways and its rooms; the entries freed at the end of
// the order keep their old bytes, and the entry freed at the end of the list ends it.
void RemoveFrom(HallwayTable& table, RoomOrder& order, int used, int h) {
    const int start = StartOf(table, h);
    const int end = start + table[static_cast<std::size_t>(h)].lastRoom + 1;
    if (end < kRoomOrderSize) {
        std::copy(order.begin() + end, order.end(), order.begin() + start);
    }
    std::copy(table.begin() + h + 1, table.begin() + used, table.begin() + h);
    table[static_cast<std::size_t>(used - 1)].transition = 0;
    table[static_cast<std::size_t>(used - 1)].lastRoom = 0;
}

// Each level names two 2 KB halves of character memory for its 256 background tiles.
constexpr std::size_t kTileHalfBytes = 0x800;

// The four ranges of the bank that are kept only as raw bytes, in the order they are held.
struct ByteRange {
    std::size_t offset;
    std::size_t length;
};
constexpr std::array<ByteRange, 4> kUndecodedRanges{{
    {0x0A20, 32},
    {0x0A50, 16},
    {0x0A70, 16},
    {0x0AE6, 26},
}};

// Start of a tile half in character memory and how much of its 2 KB lies inside it: a page
// above 126 reaches past the last page.
struct TileHalfPlace {
    std::size_t start;
    std::size_t inside;
};
TileHalfPlace PlaceTileHalf(std::uint8_t page) {
    const std::size_t start = page * kCharacterPageSize;
    const std::size_t inside =
        start >= kCharacterSize ? 0 : std::min(kTileHalfBytes, kCharacterSize - start);
    return {start, inside};
}

} // namespace

int LevelRecord::UsedHallways() const {
    return std::clamp(hallwayCount, 0, kHallwaySlots);
}

int LevelRecord::UsedEnemies() const {
    return std::clamp(enemyCount, 0, kEnemySlots);
}

int LevelRecord::TotalHallwayRooms() const {
    return HallwayStart(UsedHallways());
}

void LevelRecord::Decode(const RomImage& image, std::size_t bankOffset) {
    if (bankOffset > kRomSize - kBankSize) {
        return; // not a bank of this image
    }
    const auto b = image.Bank(bankOffset);

    enemyCount = 0;
    for (std::size_t i = 0; i < kEnemySlots; ++i) {
        enemies[i] = {b[bank::kEnemyX + i], b[bank::kEnemyY + i], b[bank::kEnemyRoomPosition + i],
                      b[bank::kEnemyId + i]};
    }
    CountEnemies();

    for (std::size_t i = 0; i < kBlockCount; ++i) {
        for (std::size_t k = 0; k < 4; ++k) {
            blocks[i].tiles[k] = b[bank::kBlockTiles + k * 0x100 + i];
        }
        blocks[i].attributes = b[bank::kBlockAttributes + i];
    }
    for (std::size_t a = 0; a < kAssemblyCount; ++a) {
        std::copy_n(b.begin() + static_cast<std::ptrdiff_t>(bank::kAssemblies + a * 4), 4,
                    assemblies[a].blocks.begin());
    }
    for (std::size_t r = 0; r < kRoomCount; ++r) {
        std::copy_n(b.begin() + static_cast<std::ptrdiff_t>(bank::kRooms + r * 64), 64,
                    rooms[r].cells.begin());
    }
    tileBanks = {b[bank::kTileBanks], b[bank::kTileBanks + 1]};
    for (std::size_t s = 0; s < kPaletteSetCount; ++s) {
        std::copy_n(b.begin() + static_cast<std::ptrdiff_t>(bank::kPaletteSets + s * 20), 20,
                    paletteSets[s].bytes.begin());
    }
    std::copy_n(b.begin() + static_cast<std::ptrdiff_t>(bank::kRoomOrder), kRoomOrderSize,
                roomOrder.begin());
    for (std::size_t h = 0; h < kHallwaySlots; ++h) {
        const std::uint8_t nibbles = b[bank::kHallwayNibbles + h];
        hallways[h] = {b[bank::kHallwayPairs + 2 * h], b[bank::kHallwayPairs + 2 * h + 1],
                       static_cast<std::uint8_t>(nibbles >> 4),
                       static_cast<std::uint8_t>(nibbles & 0x0F)};
    }
    checkpointHallways = {b[bank::kCheckpointHallways], b[bank::kCheckpointHallways + 1]};
    checkpointRooms = {b[bank::kCheckpointRooms], b[bank::kCheckpointRooms + 1]};
    CountHallways();

    // Beyond the end of character memory a tile half reads as zeros.
    const auto characters = image.Characters();
    for (std::size_t half = 0; half < 2; ++half) {
        const TileHalfPlace place = PlaceTileHalf(tileBanks[half]);
        const auto dest = tiles.begin() + static_cast<std::ptrdiff_t>(half * kTileHalfBytes);
        std::copy_n(characters.begin() + static_cast<std::ptrdiff_t>(place.start), place.inside,
                    dest);
        std::fill(dest + static_cast<std::ptrdiff_t>(place.inside),
                  dest + static_cast<std::ptrdiff_t>(kTileHalfBytes), std::uint8_t{0});
    }
    RecountUsage();

    auto raw = undecodedBytes.begin();
    for (const ByteRange& range : kUndecodedRanges) {
        raw = std::copy_n(b.begin() + static_cast<std::ptrdiff_t>(range.offset), range.length, raw);
    }
}

void LevelRecord::Encode(RomImage& image, std::size_t bankOffset) const {
    if (bankOffset > kRomSize - kBankSize) {
        return;
    }
    const auto b = image.Bank(bankOffset);

    for (std::size_t i = 0; i < kEnemySlots; ++i) {
        b[bank::kEnemyRoomPosition + i] = enemies[i].roomPosition;
        b[bank::kEnemyX + i] = enemies[i].x;
        b[bank::kEnemyY + i] = enemies[i].y;
        b[bank::kEnemyId + i] = enemies[i].enemyId;
    }
    for (std::size_t i = 0; i < kBlockCount; ++i) {
        for (std::size_t k = 0; k < 4; ++k) {
            b[bank::kBlockTiles + k * 0x100 + i] = blocks[i].tiles[k];
        }
        b[bank::kBlockAttributes + i] = blocks[i].attributes;
    }
    for (std::size_t a = 0; a < kAssemblyCount; ++a) {
        std::copy_n(assemblies[a].blocks.begin(), 4,
                    b.begin() + static_cast<std::ptrdiff_t>(bank::kAssemblies + a * 4));
    }
    for (std::size_t r = 0; r < kRoomCount; ++r) {
        std::copy_n(rooms[r].cells.begin(), 64,
                    b.begin() + static_cast<std::ptrdiff_t>(bank::kRooms + r * 64));
    }
    b[bank::kTileBanks] = tileBanks[0];
    b[bank::kTileBanks + 1] = tileBanks[1];
    for (std::size_t s = 0; s < kPaletteSetCount; ++s) {
        std::copy_n(paletteSets[s].bytes.begin(), 20,
                    b.begin() + static_cast<std::ptrdiff_t>(bank::kPaletteSets + s * 20));
    }
    std::copy(roomOrder.begin(), roomOrder.end(),
              b.begin() + static_cast<std::ptrdiff_t>(bank::kRoomOrder));
    for (std::size_t h = 0; h < kHallwaySlots; ++h) {
        b[bank::kHallwayPairs + 2 * h] = hallways[h].enemyBank;
        b[bank::kHallwayPairs + 2 * h + 1] = hallways[h].paletteSet;
        b[bank::kHallwayNibbles + h] =
            static_cast<std::uint8_t>(hallways[h].transition << 4 | (hallways[h].lastRoom & 0x0F));
    }
    b[bank::kCheckpointHallways] = checkpointHallways[0];
    b[bank::kCheckpointHallways + 1] = checkpointHallways[1];
    b[bank::kCheckpointRooms] = checkpointRooms[0];
    b[bank::kCheckpointRooms + 1] = checkpointRooms[1];

    // Only the part of a tile half that lies inside character memory goes back.
    const auto characters = image.Characters();
    for (std::size_t half = 0; half < 2; ++half) {
        const TileHalfPlace place = PlaceTileHalf(tileBanks[half]);
        std::copy_n(tiles.begin() + static_cast<std::ptrdiff_t>(half * kTileHalfBytes),
                    place.inside, characters.begin() + static_cast<std::ptrdiff_t>(place.start));
    }
}

void LevelRecord::RecountUsage() {
    roomUse.fill(0);
    assemblyUse.fill(0);
    blockUse.fill(0);
    tileUse.fill(0);

    // A room used twice counts twice all the way down, so each layer adds the use count of
    // the layer above instead of walking every cell of every use.
    const int used = UsedHallways();
    int start = 0;
    for (int h = 0; h < used; ++h) {
        const int count = hallways[static_cast<std::size_t>(h)].lastRoom + 1;
        for (int i = 0; i < count && start + i < kRoomOrderSize; ++i) {
            const std::uint8_t room = roomOrder[static_cast<std::size_t>(start + i)];
            if (room < kRoomCount) {
                ++roomUse[room];
            }
        }
        start += count;
    }
    for (std::size_t r = 0; r < kRoomCount; ++r) {
        if (const std::int32_t uses = roomUse[r]; uses != 0) {
            for (const std::uint8_t assembly : rooms[r].cells) {
                assemblyUse[assembly] += uses;
            }
        }
    }
    for (std::size_t a = 0; a < kAssemblyCount; ++a) {
        if (const std::int32_t uses = assemblyUse[a]; uses != 0) {
            for (const std::uint8_t block : assemblies[a].blocks) {
                blockUse[block] += uses;
            }
        }
    }
    for (std::size_t k = 0; k < kBlockCount; ++k) {
        if (const std::int32_t uses = blockUse[k]; uses != 0) {
            for (const std::uint8_t tile : blocks[k].tiles) {
                tileUse[tile] += uses;
            }
        }
    }

    enemyUse.fill(0);
    for (const EnemyPlacement& enemy : enemies) {
        if (enemy.IsTerminator()) {
            break;
        }
        ++enemyUse[enemy.enemyId];
    }
}

bool LevelRecord::EndsHallwayList(const Hallway& hallway, int firstRoom) {
    return hallway.enemyBank > kLastHallwayEnemyBank ||
           hallway.paletteSet > kLastHallwayPaletteSet || firstRoom < 0 ||
           firstRoom >= kRoomCount || (hallway.lastRoom == 0 && hallway.transition == 0);
}

int LevelRecord::CountHallways() {
    hallwayCount = ListedHallways(hallways, roomOrder);
    return hallwayCount;
}

int LevelRecord::HallwayStart(int h) const {
    return StartOf(hallways, h);
}

int LevelRecord::HallwayRooms(int h, std::span<std::uint8_t> out) const {
    if (h < 0 || h >= kHallwaySlots) {
        return 0;
    }
    const int count = hallways[static_cast<std::size_t>(h)].lastRoom + 1;
    const int copied = std::min(count, static_cast<int>(out.size()));
    for (int i = 0; i < copied; ++i) {
        out[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(GetHallwayRoom(h, i));
    }
    return count;
}

int LevelRecord::GetHallwayRoom(int h, int i) const {
    if (h < 0 || h >= kHallwaySlots || i < 0) {
        return 0xFF;
    }
    const int position = HallwayStart(h) + i;
    return position < kRoomOrderSize ? roomOrder[static_cast<std::size_t>(position)] : 0xFF;
}

HallwayResult LevelRecord::SetHallwayRoom(int h, int i, std::uint8_t room) {
    if (h < 0 || h >= kHallwaySlots || i < 0) {
        return HallwayResult::BadArguments;
    }
    const int position = HallwayStart(h) + i;
    if (position >= kRoomOrderSize) {
        return HallwayResult::BadArguments;
    }
    RoomOrder order = roomOrder;
    order[static_cast<std::size_t>(position)] = room;
    // At a hallway's first position a room beyond 31 ends the list; elsewhere it is no room.
    if (!ReadsBack(hallways, order, UsedHallways())) {
        return HallwayResult::EndsHallwayList;
    }
    if (room >= kRoomCount) {
        return HallwayResult::BadArguments;
    }
    roomOrder = order;
    RecountUsage();
    return HallwayResult::Ok;
}

HallwayResult LevelRecord::SetHallwayEntry(int h, Hallway hallway) {
    const int used = UsedHallways();
    if (h < 0 || h >= used || hallway.transition > kLargestTransition ||
        hallway.lastRoom != hallways[static_cast<std::size_t>(h)].lastRoom) {
        return HallwayResult::BadArguments;
    }
    HallwayTable table = hallways;
    table[static_cast<std::size_t>(h)] = hallway;
    if (!ReadsBack(table, roomOrder, used)) {
        return HallwayResult::EndsHallwayList;
    }
    hallways = table;
    RecountUsage();
    return HallwayResult::Ok;
}

HallwayResult LevelRecord::InsertHallway(int h, std::span<const std::uint8_t> hallwayRooms,
                                         Hallway hallway) {
    const int count = hallway.lastRoom + 1;
    if (RemainingHallways() == 0) {
        return HallwayResult::NoFreeHallway;
    }
    if (count > RemainingRooms()) {
        return HallwayResult::NotEnoughRooms;
    }
    const int used = UsedHallways();
    if (h < 0 || h > used || !IsWritableHallway(hallwayRooms, hallway)) {
        return HallwayResult::BadArguments;
    }
    // The rooms of all hallways plus the new ones fit in roomOrder, so start + count <= 32.
    HallwayTable table = hallways;
    RoomOrder order = roomOrder;
    InsertInto(table, order, used, h, hallwayRooms, hallway);
    if (!ReadsBack(table, order, used + 1)) {
        return HallwayResult::EndsHallwayList;
    }
    hallways = table;
    roomOrder = order;
    hallwayCount = used + 1;
    RecountUsage();
    return HallwayResult::Ok;
}

HallwayResult LevelRecord::RemoveHallway(int h) {
    const int used = UsedHallways();
    if (used <= 1) {
        return HallwayResult::LastHallway;
    }
    if (h < 0 || h >= used) {
        return HallwayResult::BadArguments;
    }
    // Every later hallway keeps its first room and the freed entry ends the list, so what
    // remains reads back as it is.
    RemoveFrom(hallways, roomOrder, used, h);
    hallwayCount = used - 1;
    RecountUsage();
    return HallwayResult::Ok;
}

HallwayResult LevelRecord::CheckReplaceHallway(int h, std::span<const std::uint8_t> hallwayRooms,
                                               Hallway hallway) const {
    const int count = hallway.lastRoom + 1;
    if (count - HallwayRooms(h) > RemainingRooms()) {
        return HallwayResult::NotEnoughRooms;
    }
    const int used = UsedHallways();
    if (used <= 1) {
        return HallwayResult::LastHallway;
    }
    if (h < 0 || h >= used) {
        return HallwayResult::BadArguments;
    }
    // What the insertion would find once hallway h is gone.
    if (kEditableHallways - (used - 1) <= 0) {
        return HallwayResult::NoFreeHallway;
    }
    const int roomsLeft = TotalHallwayRooms() - HallwayRooms(h);
    if (count > std::max(0, kRoomOrderSize - roomsLeft)) {
        return HallwayResult::NotEnoughRooms;
    }
    if (!IsWritableHallway(hallwayRooms, hallway)) {
        return HallwayResult::BadArguments;
    }
    return HallwayResult::Ok;
}

HallwayResult LevelRecord::ReplaceHallway(int h, std::span<const std::uint8_t> hallwayRooms,
                                          Hallway hallway) {
    // Every refusal is known before anything changes, so a refused replacement loses nothing.
    if (const HallwayResult refusal = CheckReplaceHallway(h, hallwayRooms, hallway);
        refusal != HallwayResult::Ok) {
        return refusal;
    }
    const int used = UsedHallways();
    HallwayTable table = hallways;
    RoomOrder order = roomOrder;
    RemoveFrom(table, order, used, h);
    InsertInto(table, order, used - 1, h, hallwayRooms, hallway);
    if (!ReadsBack(table, order, used)) {
        return HallwayResult::EndsHallwayList;
    }
    hallways = table;
    roomOrder = order;
    hallwayCount = used;
    RecountUsage();
    return HallwayResult::Ok;
}

int LevelRecord::RemainingHallways() const {
    return std::max(0, kEditableHallways - UsedHallways());
}

int LevelRecord::RemainingRooms() const {
    return std::max(0, kRoomOrderSize - TotalHallwayRooms());
}

void LevelRecord::RecomputeCheckpointHallways() {
    checkpointHallways = {kNoCheckpoint, kNoCheckpoint};
    const int count = UsedHallways();
    for (int h = 0; h < count; ++h) {
        const int start = HallwayStart(h);
        const int lastRoom = hallways[static_cast<std::size_t>(h)].lastRoom;
        for (std::size_t j = 0; j < checkpointRooms.size(); ++j) {
            const int offset = checkpointRooms[j] - start;
            if (offset >= 0 && offset <= lastRoom) {
                checkpointHallways[j] = static_cast<std::uint8_t>(h);
            }
        }
    }
    for (std::uint8_t& entry : checkpointHallways) {
        if (entry == kNoCheckpoint) {
            entry = static_cast<std::uint8_t>(count);
        }
    }
}

} // namespace korvane
