#include "DemoLevel.h"

#include "DemoRandom.h"
#include "DemoTiles.h"
#include "gamedata/EnemyGraphics.h"
#include "gamedata/LevelCatalogue.h"
#include "gamedata/LevelRecord.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <vector>

namespace korvane::demo {

namespace {

struct BlockLook {
    Art art;
    int blockType;
    int palette;
};

// The blocks that show the level's own pictures: block k shows picture k.
constexpr std::array<BlockLook, 24> kPictureBlocks{{
    {Art::Sky, 0, 0},      {Art::CloudLeft, 0, 0},  {Art::CloudRight, 0, 0},
    {Art::Stars, 0, 0},    {Art::Brick, 1, 1},      {Art::BrickTop, 1, 1},
    {Art::Ladder, 2, 1},   {Art::LadderTop, 4, 1},  {Art::Spikes, 5, 3},
    {Art::WaterTop, 8, 2}, {Art::Water, 8, 2},      {Art::Window, 6, 1},
    {Art::Egg, 7, 3},      {Art::Pillar, 0, 3},     {Art::Crate, 3, 1},
    {Art::Chain, 9, 3},    {Art::MossBrick, 10, 1}, {Art::CrackedStone, 11, 3},
    {Art::Grate, 12, 3},   {Art::DoorTop, 13, 1},   {Art::DoorBottom, 13, 1},
    {Art::Rubble, 14, 3},  {Art::Torch, 15, 1},     {Art::DarkWall, 0, 1},
}};

// Assemblies the rooms are built from.
enum class Piece : std::uint8_t {
    Sky,
    Cloud,
    Stars,
    Brick,
    Floor,
    Ladder,
    LadderFloor,
    LadderBrick,
    Spikes,
    WaterTop,
    Water,
    Window,
    Egg,
    Pillar,
    Crate,
    Chain,
    MossBrick,
    CrackedStone,
    Grate,
    Door,
    Rubble,
    Torch,
    DarkWall,
    Platform,
    FirstOrnament, // 24 .. 31: one ornament each, standing on the floor
};
constexpr int kPieceCount = 32;

constexpr std::uint8_t B(Art art) {
    return static_cast<std::uint8_t>(art);
}

constexpr std::array<std::array<std::uint8_t, 4>, 24> kPieces{{
    {B(Art::Sky), B(Art::Sky), B(Art::Sky), B(Art::Sky)},
    {B(Art::CloudLeft), B(Art::CloudRight), B(Art::Sky), B(Art::Sky)},
    {B(Art::Stars), B(Art::Sky), B(Art::Sky), B(Art::Stars)},
    {B(Art::Brick), B(Art::Brick), B(Art::Brick), B(Art::Brick)},
    {B(Art::BrickTop), B(Art::BrickTop), B(Art::Brick), B(Art::Brick)},
    {B(Art::Ladder), B(Art::Sky), B(Art::Ladder), B(Art::Sky)},
    {B(Art::LadderTop), B(Art::BrickTop), B(Art::Ladder), B(Art::Brick)},
    {B(Art::Ladder), B(Art::Brick), B(Art::Ladder), B(Art::Brick)},
    {B(Art::Spikes), B(Art::Spikes), B(Art::Brick), B(Art::Brick)},
    {B(Art::WaterTop), B(Art::WaterTop), B(Art::Water), B(Art::Water)},
    {B(Art::Water), B(Art::Water), B(Art::Water), B(Art::Water)},
    {B(Art::Brick), B(Art::Brick), B(Art::Window), B(Art::Brick)},
    {B(Art::Sky), B(Art::Sky), B(Art::Sky), B(Art::Egg)},
    {B(Art::Sky), B(Art::Pillar), B(Art::Sky), B(Art::Pillar)},
    {B(Art::Sky), B(Art::Sky), B(Art::Crate), B(Art::Sky)},
    {B(Art::Chain), B(Art::Sky), B(Art::Chain), B(Art::Sky)},
    {B(Art::MossBrick), B(Art::Brick), B(Art::Brick), B(Art::MossBrick)},
    {B(Art::CrackedStone), B(Art::CrackedStone), B(Art::CrackedStone), B(Art::CrackedStone)},
    {B(Art::Grate), B(Art::Grate), B(Art::Grate), B(Art::Grate)},
    {B(Art::DoorTop), B(Art::Sky), B(Art::DoorBottom), B(Art::Sky)},
    {B(Art::Sky), B(Art::Sky), B(Art::Rubble), B(Art::Rubble)},
    {B(Art::Sky), B(Art::Sky), B(Art::Torch), B(Art::Sky)},
    {B(Art::DarkWall), B(Art::DarkWall), B(Art::DarkWall), B(Art::DarkWall)},
    {B(Art::BrickTop), B(Art::BrickTop), B(Art::Sky), B(Art::Sky)},
}};

constexpr std::array<std::uint8_t, 8> kBrickHues{0x07, 0x06, 0x00, 0x08, 0x02, 0x09, 0x04, 0x0C};
// Transition codes the hallways use; 0 only for hallways of more than one room.
constexpr std::array<std::uint8_t, 11> kTransitions{0, 2, 4, 6, 8, 10, 1, 3, 5, 12, 15};
// Every code of the palette animation, and some bytes that are not codes.
constexpr std::array<std::uint8_t, 12> kEffectCodes{0x80, 0x82, 0x83, 0x84, 0x85, 0x86,
                                                    0x87, 0x88, 0x89, 0x8A, 0x8B, 0x8D};

using Cells = std::array<Piece, 64>;

void Put(Cells& cells, int row, int column, Piece piece) {
    if (row >= 0 && row < 8 && column >= 0 && column < 8) {
        cells[static_cast<std::size_t>(row * 8 + column)] = piece;
    }
}

Piece Ornament(DemoRandom& rng) {
    constexpr std::array<Piece, 5> standing{Piece::Egg, Piece::Crate, Piece::Rubble, Piece::Door,
                                            Piece::Torch};
    if (rng.Chance(40)) {
        return static_cast<Piece>(static_cast<int>(Piece::FirstOrnament) + rng.Below(8));
    }
    return standing[static_cast<std::size_t>(rng.Below(5))];
}

// Rooms share a floor at rows 6 and 7, so that the rooms of a hallway join up.
Cells BuildRoom(int kind, DemoRandom& rng) {
    Cells cells{};
    cells.fill(Piece::Sky);
    for (int column = 0; column < 8; ++column) {
        Put(cells, 6, column, Piece::Floor);
        Put(cells, 7, column, rng.Chance(15) ? Piece::MossBrick : Piece::Brick);
    }
    const Piece skyDetail = rng.Chance(50) ? Piece::Cloud : Piece::Stars;
    // Each draw on its own line: the order of a call's arguments is unspecified, and the image
    // must be the same whichever compiler built the generator.
    for (int n = rng.Below(3); n > 0; --n) {
        const int column = rng.Below(8);
        const int row = rng.Below(2);
        Put(cells, row, column, skyDetail);
    }
    switch (kind) {
    case 0: { // corridor with a ledge and things on the floor
        const int ledge = rng.Below(6);
        Put(cells, 3, ledge, Piece::Platform);
        Put(cells, 3, ledge + 1, Piece::Platform);
        Put(cells, 2, ledge, Ornament(rng));
        for (int n = 0; n < 2; ++n) {
            const Piece thing = Ornament(rng);
            Put(cells, 5, rng.Below(8), thing);
        }
        break;
    }
    case 1: { // shaft: walls on both sides, a ladder down through the floor
        const int ladder = 2 + rng.Below(4);
        for (int row = 0; row < 8; ++row) {
            Put(cells, row, 0, Piece::Brick);
            Put(cells, row, 7, Piece::Brick);
            Put(cells, row, ladder, Piece::Ladder);
        }
        Put(cells, 6, ladder, Piece::LadderFloor);
        Put(cells, 7, ladder, Piece::LadderBrick);
        const int side = rng.Chance(50) ? 0 : 7;
        Put(cells, 2 + rng.Below(3), side, Piece::Window);
        for (int column = 1; column < ladder; ++column) {
            Put(cells, 3, column, Piece::Platform);
        }
        const Piece thing = Ornament(rng);
        Put(cells, 5, ladder + 1 + rng.Below(6 - ladder), thing);
        break;
    }
    case 2:   // water pool
    case 3: { // spike pit
        const int from = 2 + rng.Below(2);
        const int to = from + 1 + rng.Below(3);
        for (int column = from; column <= to; ++column) {
            if (kind == 2) {
                Put(cells, 6, column, Piece::WaterTop);
                Put(cells, 7, column, Piece::Water);
            } else {
                Put(cells, 6, column, Piece::Sky);
                Put(cells, 7, column, Piece::Spikes);
            }
        }
        Put(cells, 4, from + rng.Below(to - from + 1), Piece::Platform);
        const Piece thing = Ornament(rng);
        Put(cells, 5, rng.Chance(50) ? 0 : 7, thing);
        break;
    }
    case 4: { // tower: a wall with windows and a way up
        const int left = 4 + rng.Below(2);
        for (int row = 1; row < 6; ++row) {
            for (int column = left; column < 8; ++column) {
                Put(cells, row, column, row % 2 == 0 ? Piece::DarkWall : Piece::Brick);
            }
        }
        Put(cells, 0, left, Piece::Platform);
        Put(cells, 3, left + 1, Piece::Window);
        Put(cells, 2, left - 1, Piece::Torch);
        for (int row = 0; row < 6; ++row) {
            Put(cells, row, left - 2, Piece::Ladder);
        }
        Put(cells, 6, left - 2, Piece::LadderFloor);
        break;
    }
    default: { // hall with pillars, chains and a grate
        for (int row = 2; row < 6; ++row) {
            Put(cells, row, 1, Piece::Pillar);
            Put(cells, row, 6, Piece::Pillar);
        }
        Put(cells, 0, 3, Piece::Chain);
        Put(cells, 1, 3, Piece::Chain);
        Put(cells, 0, 4, Piece::Grate);
        Put(cells, 4, 3 + rng.Below(2), Piece::CrackedStone);
        const Piece thing = Ornament(rng);
        Put(cells, 5, 2 + rng.Below(4), thing);
        break;
    }
    }
    return cells;
}

std::array<std::uint8_t, 4> PaletteColours(int set, int palette, int row) {
    constexpr std::array<std::uint8_t, 5> backgrounds{0x21, 0x0F, 0x12, 0x0F, 0x0C};
    const std::uint8_t bg = backgrounds[static_cast<std::size_t>(set)];
    const bool dark = set == 1 || set == 3;
    const std::uint8_t hue = kBrickHues[static_cast<std::size_t>(row % 8)];
    switch (palette) {
    case 0:
        return dark ? std::array<std::uint8_t, 4>{bg, 0x20, 0x00, 0x28}
                    : std::array<std::uint8_t, 4>{bg, 0x30, 0x10, 0x31};
    case 1:
        return dark ? std::array<std::uint8_t, 4>{bg, 0x0F, hue,
                                                  static_cast<std::uint8_t>(hue + 0x10)}
                    : std::array<std::uint8_t, 4>{bg, hue, static_cast<std::uint8_t>(hue + 0x10),
                                                  static_cast<std::uint8_t>(hue + 0x20)};
    case 2:
        if (set == 4) {
            return {bg, 0x06, 0x16, 0x27};
        }
        return set == 3 ? std::array<std::uint8_t, 4>{bg, 0x0C, 0x1C, 0x2C}
                        : std::array<std::uint8_t, 4>{bg, 0x01, 0x11, 0x31};
    default:
        return dark ? std::array<std::uint8_t, 4>{bg, 0x0F, 0x00, 0x10}
                    : std::array<std::uint8_t, 4>{bg, 0x00, 0x10, 0x30};
    }
}

void WriteBlocks(std::span<std::uint8_t, kBankSize> bank, DemoRandom& rng) {
    for (int i = 0; i < kBlockCount; ++i) {
        std::array<std::uint8_t, 4> tiles{};
        int blockType = i % 16;
        int palette = (i / 16) % 4;
        int art = 0;
        if (i < static_cast<int>(kPictureBlocks.size())) {
            const BlockLook& look = kPictureBlocks[static_cast<std::size_t>(i)];
            art = static_cast<int>(look.art);
            blockType = look.blockType;
            palette = look.palette;
        } else if (i < kArtCount) {
            art = i; // ornaments
        } else if (i < kArtCount + kGlyphCount / 2) {
            // Two glyphs over a blank row: the makings of signs.
            const int glyph = (i - kArtCount) * 2;
            tiles = {static_cast<std::uint8_t>(kFontFirstTile + glyph),
                     static_cast<std::uint8_t>(kFontFirstTile + glyph + 1), 0, 0};
            art = -1;
        } else {
            art = rng.Below(kArtCount);
        }
        if (art >= 0) {
            for (std::size_t k = 0; k < 4; ++k) {
                tiles[k] = static_cast<std::uint8_t>(art * 4 + static_cast<int>(k));
            }
        }
        const int keptBits = (i >= kArtCount && rng.Chance(12)) ? rng.Below(4) : 0;
        const std::size_t n = static_cast<std::size_t>(i);
        for (std::size_t k = 0; k < 4; ++k) {
            bank[bank::kBlockTiles + k * 0x100 + n] = tiles[k];
        }
        bank[bank::kBlockAttributes + n] =
            static_cast<std::uint8_t>(blockType << 4 | keptBits << 2 | palette);
    }
}

void WriteAssemblies(std::span<std::uint8_t, kBankSize> bank, DemoRandom& rng) {
    for (int a = 0; a < kAssemblyCount; ++a) {
        std::array<std::uint8_t, 4> blocks{};
        if (a < static_cast<int>(kPieces.size())) {
            blocks = kPieces[static_cast<std::size_t>(a)];
        } else if (a < kPieceCount) {
            const int ornament = static_cast<int>(Art::FirstDecoration) + (a - 24) * 3;
            blocks = {B(Art::Sky), B(Art::Sky), static_cast<std::uint8_t>(ornament), B(Art::Sky)};
        } else {
            for (std::uint8_t& block : blocks) {
                block = rng.Byte();
            }
        }
        for (std::size_t k = 0; k < 4; ++k) {
            bank[bank::kAssemblies + static_cast<std::size_t>(a) * 4 + k] = blocks[k];
        }
    }
}

struct Placement {
    std::uint8_t x, y, position, id;
    std::uint32_t Key() const {
        return static_cast<std::uint32_t>(position) << 24 | static_cast<std::uint32_t>(x) << 16 |
               static_cast<std::uint32_t>(y) << 8 | id;
    }
};

void WriteEnemies(std::span<std::uint8_t, kBankSize> bank, int positions, DemoRandom& rng) {
    const int count = 10 + rng.Below(51);
    std::vector<Placement> placements;
    while (static_cast<int>(placements.size()) < count) {
        const bool flying = rng.Chance(30);
        const Placement p{static_cast<std::uint8_t>(16 + rng.Below(224)),
                          static_cast<std::uint8_t>(flying ? 40 + rng.Below(100) : 176),
                          static_cast<std::uint8_t>(rng.Below(positions)),
                          static_cast<std::uint8_t>(rng.Below(0x60))};
        const bool duplicate = std::any_of(placements.begin(), placements.end(),
                                           [&](const Placement& q) { return q.Key() == p.Key(); });
        if (!duplicate) {
            placements.push_back(p);
        }
    }
    std::sort(placements.begin(), placements.end(),
              [](const Placement& a, const Placement& b) { return a.Key() < b.Key(); });
    for (std::size_t i = 0; i < 256; ++i) {
        const bool used = i < placements.size();
        bank[bank::kEnemyRoomPosition + i] = used ? placements[i].position : 0xFF;
        bank[bank::kEnemyX + i] = used ? placements[i].x : 0xFF;
        bank[bank::kEnemyY + i] = used ? placements[i].y : 0xFF;
        bank[bank::kEnemyId + i] = used ? placements[i].id : 0xFF;
    }
}

} // namespace

int TileAreaPage(int row) {
    const auto offset = LevelCatalogue[static_cast<std::size_t>(row)].characterOffset;
    return static_cast<int>((offset - kCharacterOffset) / kCharacterPageSize);
}

void WriteDemoLevel(RomImage& image, int row, std::uint32_t seed) {
    const auto bankOffset = LevelCatalogue[static_cast<std::size_t>(row)].bankOffset;
    auto bank = image.Bank(bankOffset);
    DemoRandom rng = StreamFor(seed, 0x100u + static_cast<std::uint32_t>(row));
    DemoRandom layout = StreamFor(seed, 0x1FFu); // the same for every level

    WriteBlocks(bank, rng);
    WriteAssemblies(bank, rng);
    for (int r = 0; r < kRoomCount; ++r) {
        const Cells cells = BuildRoom((r + row) % 6, rng);
        for (std::size_t c = 0; c < 64; ++c) {
            bank[bank::kRooms + static_cast<std::size_t>(r) * 64 + c] =
                static_cast<std::uint8_t>(cells[c]);
        }
    }

    // Hallways: over the 16 levels every count from 1 to 8 occurs.
    const int hallwayCount = 1 + (row * 3 + layout.Below(8)) % 8;
    std::array<int, kHallwaySlots> roomsPerHallway{};
    int positions = 0;
    for (int h = 0; h < hallwayCount; ++h) {
        const int reserved = hallwayCount - h - 1;
        const int rooms = std::min(1 + rng.Below(6), kRoomOrderSize - positions - reserved);
        roomsPerHallway[static_cast<std::size_t>(h)] = rooms;
        positions += rooms;
    }
    std::array<std::uint8_t, kRoomOrderSize> order{};
    std::iota(order.begin(), order.end(), std::uint8_t{0});
    for (std::size_t i = order.size() - 1; i > 0; --i) {
        std::swap(order[i], order[static_cast<std::size_t>(rng.Below(static_cast<int>(i) + 1))]);
    }
    for (int p = 1; p < positions; ++p) { // now and then a room shown twice
        if (rng.Chance(10)) {
            order[static_cast<std::size_t>(p)] = order[static_cast<std::size_t>(rng.Below(p))];
        }
    }
    for (std::size_t p = 0; p < order.size(); ++p) {
        bank[bank::kRoomOrder + p] = order[p];
    }
    for (std::size_t h = 0; h < kHallwaySlots; ++h) {
        std::uint8_t enemyBank = 0;
        std::uint8_t paletteSet = 0;
        std::uint8_t nibbles = 0;
        if (static_cast<int>(h) < hallwayCount) {
            const int lastRoom = roomsPerHallway[h] - 1;
            std::uint8_t transition = kTransitions[static_cast<std::size_t>(rng.Below(11))];
            if (lastRoom == 0 && transition == 0) {
                transition = 2; // a one-room hallway with transition 0 would end the list
            }
            enemyBank = static_cast<std::uint8_t>(rng.Below(kEnemyBankCount));
            paletteSet = static_cast<std::uint8_t>(rng.Below(kPaletteSetCount));
            nibbles = static_cast<std::uint8_t>(transition << 4 | lastRoom);
        }
        bank[bank::kHallwayPairs + 2 * h] = enemyBank;
        bank[bank::kHallwayPairs + 2 * h + 1] = paletteSet;
        bank[bank::kHallwayNibbles + h] = nibbles;
    }

    const int page = TileAreaPage(row);
    bank[bank::kTileBanks] = static_cast<std::uint8_t>(page);
    bank[bank::kTileBanks + 1] = static_cast<std::uint8_t>(page + 2);

    for (int set = 0; set < kPaletteSetCount; ++set) {
        const std::size_t base = bank::kPaletteSets + static_cast<std::size_t>(set) * 20;
        for (int palette = 0; palette < 4; ++palette) {
            const auto colours = PaletteColours(set, palette, row);
            for (std::size_t k = 0; k < 4; ++k) {
                bank[base + static_cast<std::size_t>(palette) * 4 + k] = colours[k];
            }
        }
        const int n = row * kPaletteSetCount + set;
        bank[base + 16] = kEffectCodes[static_cast<std::size_t>(n % 12)];
        bank[base + 17] = n % 7 == 0 ? 0x81 : (n % 11 == 0 ? 0x8C : 0x00);
        bank[base + 18] = n % 9 == 4 ? kEffectCodes[static_cast<std::size_t>((n + 5) % 12)] : 0;
        bank[base + 19] = n % 13 == 6 ? 0x3F : 0x00;
    }

    // Checkpoints: a room position inside a hallway, or none; the hallway that holds it.
    std::array<int, 2> checkpoint{-1, -1};
    if (row % 4 != 3) {
        checkpoint[0] = rng.Below(positions);
    }
    if (row % 3 != 0 && positions > 1) {
        checkpoint[1] = positions / 2 + rng.Below(positions - positions / 2);
    }
    for (std::size_t k = 0; k < 2; ++k) {
        int hallway = hallwayCount;
        if (checkpoint[k] >= 0) {
            int start = 0;
            for (int h = 0; h < hallwayCount; ++h) {
                if (checkpoint[k] < start + roomsPerHallway[static_cast<std::size_t>(h)]) {
                    hallway = h;
                    break;
                }
                start += roomsPerHallway[static_cast<std::size_t>(h)];
            }
        }
        bank[bank::kCheckpointRooms + k] =
            checkpoint[k] >= 0 ? static_cast<std::uint8_t>(checkpoint[k]) : kNoCheckpoint;
        bank[bank::kCheckpointHallways + k] = static_cast<std::uint8_t>(hallway);
    }

    WriteEnemies(bank, positions, rng);
}

} // namespace korvane::demo
