#include "DemoSharedTables.h"

#include "DemoRandom.h"
#include "DemoTiles.h"
#include "gamedata/EnemyGraphics.h"

#include <vector>

namespace korvane::demo {

namespace {

std::uint16_t Cpu(std::size_t bankOffset) {
    return static_cast<std::uint16_t>(kBankCpuBase + bankOffset);
}

} // namespace

void WriteDemoEnemyGraphics(RomImage& image, std::uint32_t seed) {
    DemoRandom rng = StreamFor(seed, 0x300u);
    for (std::size_t id = 0; id < 256; ++id) {
        // Per enemy id: a behaviour in the high nibble, hit points in the low one.
        // One draw a statement: the order of an expression's operands is unspecified.
        const int behaviour = rng.Below(8);
        const int hitPoints = 1 + rng.Below(15);
        image.bytes[enemyfile::kIdTable + id] =
            static_cast<std::uint8_t>(behaviour << 4 | hitPoints);
    }
    constexpr std::array<std::uint8_t, 8> hues{0x16, 0x1A, 0x12, 0x18, 0x14, 0x17, 0x19, 0x11};
    for (std::size_t n = 0; n < static_cast<std::size_t>(kEnemyBankCount); ++n) {
        const std::uint8_t hueA = hues[n % 8];
        const std::uint8_t hueB = hues[(n * 3 + 1) % 8];
        const std::array<std::uint8_t, 8> palettes{
            0x0F, 0x0F, hueA, static_cast<std::uint8_t>(hueA + 0x10), 0x0F, 0x0F, hueB, 0x30};
        for (std::size_t k = 0; k < 8; ++k) {
            image.bytes[enemyfile::kPalettes + 8 * n + k] = palettes[k];
        }
        image.bytes[enemyfile::kPages + 2 * n] = static_cast<std::uint8_t>(n % 64);
        image.bytes[enemyfile::kPages + 2 * n + 1] = static_cast<std::uint8_t>((n * 7 + 29) % 64);
    }
    DrawSprites(
        std::span<std::uint8_t>(image.bytes.data() + enemyfile::kSpriteTiles, kSpriteTileBytes),
        rng);
}

void WriteDemoRecordBank(RomImage& image, std::uint32_t bankFileOffset, std::uint32_t seed) {
    DemoRandom rng =
        StreamFor(seed, 0x400u + bankFileOffset / static_cast<std::uint32_t>(kBankSize));
    auto bank = image.Bank(bankFileOffset);
    std::size_t p = 0x300;

    const int countA = 24 + rng.Below(16);
    std::vector<std::uint16_t> addressesA;
    for (int r = 0; r < countA; ++r) {
        addressesA.push_back(Cpu(p));
        // One record of no items (byte 0 of 0xFF), the others of 1 to 20.
        const int items = r == countA / 2 ? 0 : 1 + rng.Below(20);
        bank[p] = static_cast<std::uint8_t>((items - 1) & 0xFF);
        bank[p + 1] = rng.Byte();
        for (int i = 0; i < items; ++i) {
            bank[p + 2 + static_cast<std::size_t>(i)] = rng.Byte();
        }
        p += static_cast<std::size_t>(items) + 2;
    }
    const std::uint16_t endA = Cpu(p);
    for (std::size_t i = 0; i < 128; ++i) {
        std::uint16_t pointer = endA; // unused entries: the end of the list
        if (i < addressesA.size()) {
            pointer = addressesA[i];
        } else if (i < 112) {
            pointer = addressesA[static_cast<std::size_t>(rng.Below(countA))];
        }
        bank[i] = static_cast<std::uint8_t>(pointer & 0xFF);
        bank[0x80 + i] = static_cast<std::uint8_t>(pointer >> 8);
    }

    const int countB = 30 + rng.Below(20);
    std::vector<std::uint16_t> addressesB;
    for (int r = 0; r < countB; ++r) {
        addressesB.push_back(Cpu(p));
        const int items = 1 + rng.Below(12);
        const int flag = rng.Chance(30) ? 0x80 : 0;
        bank[p] = static_cast<std::uint8_t>(flag | (items - 1));
        bank[p + 1] = rng.Byte();
        for (int i = 0; i < 2 * items; ++i) {
            bank[p + 2 + static_cast<std::size_t>(i)] = rng.Byte();
        }
        p += 2 * static_cast<std::size_t>(items) + 2;
    }
    for (std::size_t i = 0; i < 256; ++i) {
        const std::uint16_t pointer = i < addressesB.size()
                                          ? addressesB[i]
                                          : addressesB[static_cast<std::size_t>(rng.Below(countB))];
        bank[0x100 + i] = static_cast<std::uint8_t>(pointer & 0xFF);
        bank[0x200 + i] = static_cast<std::uint8_t>(pointer >> 8);
    }
}

void WriteDemoAboutTiles(RomImage& image, std::uint32_t seed) {
    DemoRandom rng = StreamFor(seed, 0x500u);
    // The font, 48 glyphs at 0x5D010.
    DrawFont(std::span<std::uint8_t, 768>(image.bytes.data() + 0x5D010, 768));
    // Fourteen ornament tiles where the About box looks for them.
    struct Area {
        std::size_t offset;
        std::size_t tiles;
    };
    constexpr std::array<Area, 7> areas{{{0x5F630, 4},
                                         {0x5F730, 4},
                                         {0x5F530, 2},
                                         {0x5F260, 1},
                                         {0x5F3B0, 1},
                                         {0x5F550, 1},
                                         {0x5F3C0, 1}}};
    for (const Area& area : areas) {
        std::array<std::uint8_t, 64> packed{};
        PackArt(DrawCreature(rng), packed);
        for (std::size_t i = 0; i < area.tiles * 16; ++i) {
            image.bytes[area.offset + i] = packed[i % 64];
        }
    }
}

} // namespace korvane::demo
