#include "ModelDiff.h"

#include "LevelImport.h"
#include "ModelDiffText.h"

#include <algorithm>
#include <cstdlib>

namespace korvane {

namespace dt = difftext;

namespace {

std::string LevelPrefix(int n) {
    return "level " + std::to_string(n) + " ";
}

std::string PlacementJson(const EnemyPlacement& enemy) {
    return "{\"x\": " + dt::Number(enemy.x) + ", \"y\": " + dt::Number(enemy.y) +
           ", \"roomPosition\": " + dt::Number(enemy.roomPosition) +
           ", \"enemyId\": " + dt::Number(enemy.enemyId) + "}";
}

std::string PlacementText(const EnemyPlacement& enemy) {
    return "at room position " + dt::Number(enemy.roomPosition) + " (x " + dt::Number(enemy.x) +
           ", y " + dt::Number(enemy.y) + ", id " + dt::Hex(enemy.enemyId) + ")";
}

std::string HallwayJson(const Hallway& hallway) {
    return "{\"enemyBank\": " + dt::Number(hallway.enemyBank) +
           ", \"paletteSet\": " + dt::Number(hallway.paletteSet) +
           ", \"transition\": " + dt::Number(hallway.transition) +
           ", \"lastRoom\": " + dt::Number(hallway.lastRoom) + "}";
}

std::string Rooms(unsigned lastRoom) {
    return dt::Number(lastRoom + 1) + (lastRoom == 0 ? " room" : " rooms");
}

// The fields of two hallway entries at the same index, as lines headed by what.
void CompareHallwayFields(int n, int h, const std::string& what, const Hallway& a, const Hallway& b,
                          std::vector<ModelChange>& out) {
    const std::string head = LevelPrefix(n) + what + ": ";
    if (a.enemyBank != b.enemyBank) {
        dt::AddNumber(out, n, "hallways", h, "enemyBank", a.enemyBank, b.enemyBank,
                      head + "enemy bank " + dt::Hex(a.enemyBank) + " -> " + dt::Hex(b.enemyBank));
    }
    if (a.paletteSet != b.paletteSet) {
        dt::AddNumber(out, n, "hallways", h, "paletteSet", a.paletteSet, b.paletteSet,
                      head + "palette set " + dt::Number(a.paletteSet) + " -> " +
                          dt::Number(b.paletteSet));
    }
    if (a.transition != b.transition) {
        dt::AddNumber(out, n, "hallways", h, "transition", a.transition, b.transition,
                      head + "transition " + dt::Number(a.transition) + " -> " +
                          dt::Number(b.transition));
    }
    if (a.lastRoom != b.lastRoom) {
        dt::AddNumber(out, n, "hallways", h, "lastRoom", a.lastRoom, b.lastRoom,
                      head + Rooms(a.lastRoom) + " -> " + Rooms(b.lastRoom));
    }
}

void CompareHallways(int n, const LevelRecord& a, const LevelRecord& b,
                     std::vector<ModelChange>& out) {
    const int listedA = std::clamp(a.hallwayCount, 0, kHallwaySlots);
    const int listedB = std::clamp(b.hallwayCount, 0, kHallwaySlots);
    for (int h = 0; h < kHallwaySlots; ++h) {
        const Hallway& ha = a.hallways[static_cast<std::size_t>(h)];
        const Hallway& hb = b.hallways[static_cast<std::size_t>(h)];
        const bool inA = h < listedA;
        const bool inB = h < listedB;
        if (inA && inB) {
            CompareHallwayFields(n, h, "hallway " + std::to_string(h), ha, hb, out);
        } else if (inA != inB) {
            const Hallway& listed = inA ? ha : hb;
            out.push_back({n, "hallways", h, "", inA ? HallwayJson(ha) : "null",
                           inB ? HallwayJson(hb) : "null",
                           LevelPrefix(n) + "hallway " + std::to_string(h) +
                               (inA ? " removed (" : " added (") + Rooms(listed.lastRoom) +
                               ", enemy bank " + dt::Hex(listed.enemyBank) + ", palette set " +
                               dt::Number(listed.paletteSet) + ", transition " +
                               dt::Number(listed.transition) + ")"});
        } else if (!(ha == hb)) {
            CompareHallwayFields(n, h, "hallway slot " + std::to_string(h) + " after the list", ha,
                                 hb, out);
        }
    }
}

void CompareEnemies(int n, const LevelRecord& a, const LevelRecord& b,
                    std::vector<ModelChange>& out) {
    const auto listedA = static_cast<std::size_t>(std::clamp(a.enemyCount, 0, kEnemySlots));
    const auto listedB = static_cast<std::size_t>(std::clamp(b.enemyCount, 0, kEnemySlots));
    // The lists as sets of placements: what only one of them has was removed or added.
    std::vector<std::uint32_t> keysA;
    std::vector<std::uint32_t> keysB;
    for (std::size_t i = 0; i < listedA; ++i) {
        keysA.push_back(a.enemies[i].Packed());
    }
    for (std::size_t i = 0; i < listedB; ++i) {
        keysB.push_back(b.enemies[i].Packed());
    }
    std::vector<std::uint32_t> sortedA = keysA;
    std::vector<std::uint32_t> sortedB = keysB;
    std::sort(sortedA.begin(), sortedA.end());
    std::sort(sortedB.begin(), sortedB.end());
    std::vector<std::uint32_t> removed;
    std::vector<std::uint32_t> added;
    std::set_difference(sortedA.begin(), sortedA.end(), sortedB.begin(), sortedB.end(),
                        std::back_inserter(removed));
    std::set_difference(sortedB.begin(), sortedB.end(), sortedA.begin(), sortedA.end(),
                        std::back_inserter(added));
    // In list order, each placement once as often as it is missing.
    const auto report = [&](const std::vector<std::uint32_t>& keys,
                            std::vector<std::uint32_t> missing, bool isAdded) {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const auto found = std::find(missing.begin(), missing.end(), keys[i]);
            if (found == missing.end()) {
                continue;
            }
            missing.erase(found);
            const EnemyPlacement enemy = EnemyPlacement::FromPacked(keys[i]);
            out.push_back({n, "enemies", static_cast<int>(i), "",
                           isAdded ? "null" : PlacementJson(enemy),
                           isAdded ? PlacementJson(enemy) : "null",
                           LevelPrefix(n) + "enemy placement " + (isAdded ? "added " : "removed ") +
                               PlacementText(enemy)});
        }
    };
    report(keysA, removed, false);
    report(keysB, added, true);
    // The slots after both lists, as the cartridge keeps them.
    for (std::size_t i = std::max(listedA, listedB); i < kEnemySlots; ++i) {
        if (!(a.enemies[i] == b.enemies[i])) {
            out.push_back({n, "enemySlotsAfterList", static_cast<int>(i), "",
                           PlacementJson(a.enemies[i]), PlacementJson(b.enemies[i]),
                           LevelPrefix(n) + "enemy slot " + std::to_string(i) +
                               " after the list: " + PlacementJson(a.enemies[i]) + " -> " +
                               PlacementJson(b.enemies[i])});
        }
    }
}

void ComparePair(int n, const char* table, const char* what, const std::array<std::uint8_t, 2>& a,
                 const std::array<std::uint8_t, 2>& b, std::vector<ModelChange>& out, bool hex) {
    for (std::size_t k = 0; k < 2; ++k) {
        if (a[k] != b[k]) {
            const auto show = [hex](unsigned v) { return hex ? dt::Hex(v) : dt::Number(v); };
            dt::AddNumber(out, n, table, static_cast<int>(k), "", a[k], b[k],
                          LevelPrefix(n) + what + " " + std::to_string(k) + ": " + show(a[k]) +
                              " -> " + show(b[k]));
        }
    }
}

// The listed hallway of level whose rooms hold room position, or -1.
int HallwayAtPosition(const LevelRecord& level, int position) {
    const int listed = std::clamp(level.hallwayCount, 0, kHallwaySlots);
    for (int h = 0; h < listed; ++h) {
        const int start = level.HallwayStart(h);
        if (position >= start &&
            position < start + level.hallways[static_cast<std::size_t>(h)].lastRoom + 1) {
            return h;
        }
    }
    return -1;
}

// The first listed hallway of level that shows room, or -1.
int HallwayShowingRoom(const LevelRecord& level, int room) {
    const int listed = std::clamp(level.hallwayCount, 0, kHallwaySlots);
    for (int h = 0; h < listed; ++h) {
        const int start = level.HallwayStart(h);
        for (int i = 0; i <= level.hallways[static_cast<std::size_t>(h)].lastRoom; ++i) {
            if (start + i < kRoomOrderSize &&
                level.roomOrder[static_cast<std::size_t>(start + i)] == room) {
                return h;
            }
        }
    }
    return -1;
}

int HallwayOf(const ModelChange& change, const LevelRecord& level) {
    const int listed = std::clamp(level.hallwayCount, 0, kHallwaySlots);
    if (change.table == "hallways") {
        return change.index < listed ? change.index : -1;
    }
    if (change.table == "roomOrder") {
        return HallwayAtPosition(level, change.index);
    }
    if (change.table == "rooms") {
        return HallwayShowingRoom(level, change.index);
    }
    if (change.table == "enemies") {
        // The placement's room position, from whichever side it is on.
        const std::string& placement = change.to != "null" ? change.to : change.from;
        const std::size_t at = placement.find("\"roomPosition\": ");
        if (at != std::string::npos) {
            return HallwayAtPosition(level, std::atoi(placement.c_str() + at + 16));
        }
    }
    return -1;
}

} // namespace

void ModelDiff::CompareLevel(int n, const LevelRecord& a, const LevelRecord& b,
                             std::vector<ModelChange>& out) {
    const std::string level = LevelPrefix(n);
    for (std::size_t i = 0; i < kBlockCount; ++i) {
        const Block& ba = a.blocks[i];
        const Block& bb = b.blocks[i];
        const std::string head = level + "block " + dt::Hex(static_cast<unsigned>(i));
        for (std::size_t k = 0; k < 4; ++k) {
            if (ba.tiles[k] != bb.tiles[k]) {
                dt::AddNumber(out, n, "blocks", static_cast<int>(i),
                              "tiles[" + std::to_string(k) + "]", ba.tiles[k], bb.tiles[k],
                              head + " tile " + std::to_string(k) + ": " + dt::Hex(ba.tiles[k]) +
                                  " -> " + dt::Hex(bb.tiles[k]));
            }
        }
        if (ba.attributes != bb.attributes) {
            dt::AddNumber(
                out, n, "blocks", static_cast<int>(i), "attributes", ba.attributes, bb.attributes,
                head + ": attributes " + dt::Hex(ba.attributes) + " -> " + dt::Hex(bb.attributes));
        }
    }
    for (std::size_t i = 0; i < kAssemblyCount; ++i) {
        for (std::size_t k = 0; k < 4; ++k) {
            const std::uint8_t from = a.assemblies[i].blocks[k];
            const std::uint8_t to = b.assemblies[i].blocks[k];
            if (from != to) {
                dt::AddNumber(out, n, "assemblies", static_cast<int>(i),
                              "[" + std::to_string(k) + "]", from, to,
                              level + "assembly " + dt::Hex(static_cast<unsigned>(i)) + " block " +
                                  std::to_string(k) + ": " + dt::Hex(from) + " -> " + dt::Hex(to));
            }
        }
    }
    for (std::size_t r = 0; r < kRoomCount; ++r) {
        if (a.rooms[r] == b.rooms[r]) {
            continue;
        }
        for (std::size_t c = 0; c < 64; ++c) {
            const std::uint8_t from = a.rooms[r].cells[c];
            const std::uint8_t to = b.rooms[r].cells[c];
            if (from != to) {
                dt::AddNumber(out, n, "rooms", static_cast<int>(r), "[" + std::to_string(c) + "]",
                              from, to,
                              level + "room " + std::to_string(r) + " cell " + std::to_string(c) +
                                  ": assembly " + dt::Hex(from) + " -> " + dt::Hex(to));
            }
        }
    }
    for (std::size_t p = 0; p < kRoomOrderSize; ++p) {
        if (a.roomOrder[p] != b.roomOrder[p]) {
            dt::AddNumber(out, n, "roomOrder", static_cast<int>(p), "", a.roomOrder[p],
                          b.roomOrder[p],
                          level + "room order position " + std::to_string(p) + ": room " +
                              dt::Number(a.roomOrder[p]) + " -> " + dt::Number(b.roomOrder[p]));
        }
    }
    CompareHallways(n, a, b, out);
    CompareEnemies(n, a, b, out);
    for (std::size_t s = 0; s < kPaletteSetCount; ++s) {
        for (std::size_t k = 0; k < 20; ++k) {
            const std::uint8_t from = a.paletteSets[s].bytes[k];
            const std::uint8_t to = b.paletteSets[s].bytes[k];
            if (from == to) {
                continue;
            }
            const std::string what =
                k < 16 ? "palette " + std::to_string(k / 4) + " colour " + std::to_string(k % 4)
                       : "effect " + std::to_string(k - 16);
            dt::AddNumber(out, n, "paletteSets", static_cast<int>(s), "[" + std::to_string(k) + "]",
                          from, to,
                          level + "palette set " + std::to_string(s) + " " + what + ": " +
                              dt::Hex(from) + " -> " + dt::Hex(to));
        }
    }
    ComparePair(n, "checkpointHallways", "checkpoint hallway", a.checkpointHallways,
                b.checkpointHallways, out, false);
    ComparePair(n, "checkpointRooms", "checkpoint room position", a.checkpointRooms,
                b.checkpointRooms, out, false);
    ComparePair(n, "tileBanks", "tile bank", a.tileBanks, b.tileBanks, out, true);
    for (std::size_t k = 0; k < kUndecodedByteCount; ++k) {
        // Those that are also fields were listed as the fields.
        if (a.undecodedBytes[k] != b.undecodedBytes[k] && !LevelImport::UndecodedByteIsAField(k)) {
            dt::AddNumber(out, n, "undecodedBytes", static_cast<int>(k), "", a.undecodedBytes[k],
                          b.undecodedBytes[k],
                          level + "undecoded byte " + std::to_string(k) + ": " +
                              dt::Hex(a.undecodedBytes[k]) + " -> " + dt::Hex(b.undecodedBytes[k]));
        }
    }
    for (std::size_t t = 0; t < 256; ++t) {
        const std::span<const std::uint8_t> ta(a.tiles.data() + 16 * t, 16);
        const std::span<const std::uint8_t> tb(b.tiles.data() + 16 * t, 16);
        if (!std::equal(ta.begin(), ta.end(), tb.begin())) {
            const int pixels = dt::TilePixels(ta, tb);
            out.push_back({n, "tiles", static_cast<int>(t), "", dt::HexString(ta),
                           dt::HexString(tb),
                           level + "tile " + dt::Hex(static_cast<unsigned>(t)) + ": " +
                               std::to_string(pixels) + (pixels == 1 ? " pixel" : " pixels")});
        }
    }
}

std::vector<ModelChange> ModelDiff::Compare(const GameData& a, std::span<const std::uint8_t> fileA,
                                            const GameData& b,
                                            std::span<const std::uint8_t> fileB) {
    std::vector<ModelChange> out;
    for (int n = 0; n < kLevelCount; ++n) {
        const LevelRecord& la = a.levels[static_cast<std::size_t>(n)];
        const LevelRecord& lb = b.levels[static_cast<std::size_t>(n)];
        if (!(la == lb)) {
            const std::size_t first = out.size();
            CompareLevel(n, la, lb, out);
            for (std::size_t i = first; i < out.size(); ++i) {
                out[i].hallway = HallwayOf(out[i], lb);
            }
        }
    }
    CompareShared(a, b, out);
    CompareImage(a, fileA, b, fileB, out);
    return out;
}

std::string ModelDiff::Json(const std::vector<ModelChange>& changes) {
    std::string text = "[";
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const ModelChange& c = changes[i];
        text += i == 0 ? "\n  " : ",\n  ";
        text += "{\"level\": " + (c.level < 0 ? std::string("null") : std::to_string(c.level)) +
                ", \"table\": \"" + c.table + "\", \"index\": " + std::to_string(c.index) +
                ", \"field\": " + (c.field.empty() ? std::string("null") : "\"" + c.field + "\"") +
                ", \"from\": " + c.from + ", \"to\": " + c.to + "}";
    }
    text += changes.empty() ? "]\n" : "\n]\n";
    return text;
}

} // namespace korvane
