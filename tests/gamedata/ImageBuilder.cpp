#include "ImageBuilder.h"

#include <algorithm>
#include <tuple>

namespace korvane::testing {

std::unique_ptr<RomImage> MakeZeroImage() {
    return std::make_unique<RomImage>();
}

std::unique_ptr<RomImage> MakeRandomImage(std::uint32_t seed) {
    auto image = MakeZeroImage();
    std::mt19937 rng(seed);
    for (std::uint8_t& byte : image->bytes) {
        byte = static_cast<std::uint8_t>(rng());
    }
    return image;
}

void LevelWriter::SetHallway(int h, Hallway hallway) {
    const auto index = static_cast<std::size_t>(h);
    At(0x0A60 + 2 * index) = hallway.enemyBank;
    At(0x0A61 + 2 * index) = hallway.paletteSet;
    At(0x0A40 + index) = static_cast<std::uint8_t>(hallway.transition << 4 | hallway.lastRoom);
}

void LevelWriter::SetRoomOrder(const std::vector<std::uint8_t>& rooms) {
    for (std::size_t i = 0; i < rooms.size(); ++i) {
        At(0x0A00 + i) = rooms[i];
    }
}

void LevelWriter::SetEnemies(const std::vector<EnemyPlacement>& placements) {
    for (std::size_t i = 0; i < 256; ++i) {
        const EnemyPlacement enemy =
            i < placements.size() ? placements[i] : EnemyPlacement{0xFF, 0xFF, 0xFF, 0xFF};
        At(0x0B00 + i) = enemy.roomPosition;
        At(0x0C00 + i) = enemy.x;
        At(0x0D00 + i) = enemy.y;
        At(0x0E00 + i) = enemy.enemyId;
    }
}

void WriteConsistentLevel(RomImage& image, std::size_t bankOffset, std::mt19937& rng) {
    LevelWriter level(image, bankOffset);
    const auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const int hallwayCount = 1 + pick(8);
    int positions = 0;
    std::vector<std::uint8_t> order(32);
    for (std::uint8_t& room : order) {
        room = static_cast<std::uint8_t>(pick(256));
    }
    for (int h = 0; h < hallwayCount; ++h) {
        const int roomsLeft = 32 - positions - (hallwayCount - h - 1);
        const int rooms = 1 + pick(std::min(6, roomsLeft));
        for (int i = 0; i < rooms; ++i) {
            order[static_cast<std::size_t>(positions + i)] = static_cast<std::uint8_t>(pick(32));
        }
        level.SetHallway(
            h, {static_cast<std::uint8_t>(pick(0x3B)), static_cast<std::uint8_t>(pick(6)),
                static_cast<std::uint8_t>(1 + pick(15)), static_cast<std::uint8_t>(rooms - 1)});
        positions += rooms;
    }
    level.SetHallway(hallwayCount, {static_cast<std::uint8_t>(pick(256)),
                                    static_cast<std::uint8_t>(pick(256)), 0, 0});
    level.SetRoomOrder(order);

    std::vector<EnemyPlacement> enemies(static_cast<std::size_t>(pick(60)));
    for (EnemyPlacement& enemy : enemies) {
        enemy = {static_cast<std::uint8_t>(pick(256)), static_cast<std::uint8_t>(pick(256)),
                 static_cast<std::uint8_t>(pick(positions)), static_cast<std::uint8_t>(pick(255))};
    }
    std::sort(enemies.begin(), enemies.end(), [](const EnemyPlacement& a, const EnemyPlacement& b) {
        return std::tie(a.roomPosition, a.x, a.y, a.enemyId) <
               std::tie(b.roomPosition, b.x, b.y, b.enemyId);
    });
    level.SetEnemies(enemies);
}

std::vector<std::uint16_t> WriteRecords(RomImage& image, std::uint32_t bankFileOffset,
                                        std::uint16_t start,
                                        const std::vector<RecordSpec>& records) {
    std::vector<std::uint16_t> addresses;
    std::size_t at = start - 0x8000u;
    for (const RecordSpec& record : records) {
        addresses.push_back(static_cast<std::uint16_t>(at + 0x8000u));
        image.bytes.at(bankFileOffset + at) = record.byte0;
        image.bytes.at(bankFileOffset + at + 1) = record.byte1;
        for (std::size_t i = 0; i < record.items.size(); ++i) {
            image.bytes.at(bankFileOffset + at + 2 + i) = record.items[i];
        }
        at += 2 + record.items.size();
    }
    return addresses;
}

void WritePointer(RomImage& image, std::uint32_t bankFileOffset, bool tableB, int index,
                  std::uint16_t pointer) {
    const auto i = static_cast<std::size_t>(index);
    const std::size_t low = tableB ? 0x100 + i : i;
    const std::size_t high = tableB ? 0x200 + i : 0x80 + i;
    image.bytes.at(bankFileOffset + low) = static_cast<std::uint8_t>(pointer);
    image.bytes.at(bankFileOffset + high) = static_cast<std::uint8_t>(pointer >> 8);
}

} // namespace korvane::testing
