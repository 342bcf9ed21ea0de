// Decodes arbitrary cartridge images, applies level operations chosen by the input and encodes
// the result. Aborts when a refused operation changed something, when the usage counts drift
// from a recount, or when an unedited model does not encode back byte for byte.
#include "gamedata/GameData.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

using namespace korvane;

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_gamedata: %s\n", what);
        std::abort();
    }
}

// The image is the input repeated until it fills 0x60010 bytes (a longer input is cut there),
// so that a short input reaches every bank.
void FillImage(RomImage& image, const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        image.bytes.fill(0);
        return;
    }
    for (std::size_t at = 0; at < kRomSize; at += size) {
        std::copy_n(data, std::min(size, kRomSize - at),
                    image.bytes.begin() + static_cast<std::ptrdiff_t>(at));
    }
}

// Runs one operation described by four script bytes; returns its result, 0 when it has none.
int RunOperation(LevelRecord& rec, const std::uint8_t* op) {
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
    switch (op[0] % 14) {
    case 0:
        return static_cast<int>(rec.InsertHallway(h, rooms, hallway));
    case 1:
        return static_cast<int>(rec.RemoveHallway(h));
    case 2:
        return static_cast<int>(rec.ReplaceHallway(h, std::span(rooms).first(op[3] % 17), hallway));
    case 3:
        return static_cast<int>(rec.SetHallwayRoom(h, i, op[3]));
    case 4:
        return rec.AddEnemy(packed);
    case 5:
        return rec.DeleteEnemy(static_cast<int>(op[1]) - 2);
    case 6:
        return rec.SetEnemy(static_cast<int>(op[1]) - 2, packed);
    case 7:
        rec.RemoveRoomPositionFromEnemies(h, i);
        return 0;
    case 8:
        rec.InsertRoomPositionIntoEnemies(h, i);
        return 0;
    case 9:
        rec.SortEnemies();
        return rec.EnemiesBeforeHallway(h) >= 0 ? 0 : 1;
    case 10: {
        std::array<std::uint8_t, 16> out{};
        return rec.HallwayRooms(h, out) + rec.GetHallwayRoom(h, i) >= 0 ? 0 : 1;
    }
    case 11:
        return rec.FindEnemy(packed) >= -1 ? 0 : 1;
    case 12:
        // Editors may write fields directly: damaged counts must not take anything out of bounds.
        rec.hallwayCount = static_cast<std::int32_t>(op[1] % 20) - 2;
        rec.enemyCount = static_cast<std::int32_t>(op[2]) + static_cast<std::int32_t>(op[3] % 4);
        rec.tileBanks[op[3] & 1] = op[1];
        rec.RecountUsage();
        return 0;
    default: {
        // The counts alone leave the usage to the caller, as Decode does.
        const int counted = rec.CountHallways() + rec.CountEnemies();
        rec.RecountUsage();
        return counted + rec.RemainingRooms() + rec.RemainingHallways() >= 0 ? 0 : 1;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto image = std::make_unique<RomImage>();
    static auto encoded = std::make_unique<RomImage>();
    static auto model = std::make_unique<GameData>();
    static LevelRecord before;
    static LevelRecord recount;

    FillImage(*image, data, size);
    model->Decode(*image);
    *encoded = *image;
    model->Encode(*encoded);
    Require(encoded->bytes == image->bytes, "decode then encode changed the image");

    // The operation script: the bytes beyond the image, or else the start of the input.
    const std::uint8_t* script = size > kRomSize ? data + kRomSize : data;
    const std::size_t scriptSize =
        size > kRomSize ? size - kRomSize : std::min<std::size_t>(size, 256);
    for (std::size_t at = 0; at + 4 <= scriptSize; at += 4) {
        LevelRecord& rec = model->levels[script[at + 3] % kLevelCount];
        before = rec;
        const int result = RunOperation(rec, script + at);
        if (result < 0) {
            Require(rec == before, "a refused operation changed the level");
        }
        recount = rec;
        recount.RecountUsage();
        Require(recount == rec, "usage counts differ from a recount");
    }
    model->Encode(*encoded);
    model->Decode(*encoded);
    return 0;
}
