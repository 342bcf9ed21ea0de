// The differences of the shared tables and of the bytes the model does not hold.
#include "LevelImport.h"
#include "ModelDiff.h"
#include "ModelDiffText.h"

#include <algorithm>
#include <memory>

namespace korvane {

namespace dt = difftext;

namespace {

std::string RecordJson(const BankRecord& record) {
    return "{\"address\": " + dt::Number(record.address) + ", \"header\": [" +
           dt::Number(record.header[0]) + ", " + dt::Number(record.header[1]) +
           "], \"items\": " + dt::HexString(record.items) + "}";
}

void CompareRecords(int k, const char* kind, const std::vector<BankRecord>& a,
                    const std::vector<BankRecord>& b, std::vector<ModelChange>& out) {
    const std::string field = std::string("records") + kind;
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const std::string head =
            "record bank " + std::to_string(k) + " record " + kind + " " + std::to_string(i);
        const std::string at = field + "[" + std::to_string(i) + "]";
        if (i >= a.size() || i >= b.size()) {
            const bool added = i >= a.size();
            out.push_back({-1, "recordBanks", k, at, added ? "null" : RecordJson(a[i]),
                           added ? RecordJson(b[i]) : "null",
                           head + (added ? " added" : " removed")});
            continue;
        }
        const BankRecord& ra = a[i];
        const BankRecord& rb = b[i];
        std::vector<std::string> parts;
        if (ra.address != rb.address) {
            parts.push_back("address " + dt::Hex(ra.address, 4) + " -> " + dt::Hex(rb.address, 4));
        }
        if (ra.header != rb.header) {
            parts.push_back("header " + dt::Hex(ra.header[0]) + " " + dt::Hex(ra.header[1]) +
                            " -> " + dt::Hex(rb.header[0]) + " " + dt::Hex(rb.header[1]));
        }
        if (ra.items.size() != rb.items.size()) {
            parts.push_back(std::to_string(ra.items.size()) + " item bytes -> " +
                            std::to_string(rb.items.size()));
        } else if (ra.items != rb.items) {
            std::size_t changed = 0;
            for (std::size_t j = 0; j < ra.items.size(); ++j) {
                changed += ra.items[j] != rb.items[j] ? 1U : 0U;
            }
            parts.push_back(std::to_string(changed) +
                            (changed == 1 ? " item byte changed" : " item bytes changed"));
        }
        if (parts.empty()) {
            continue;
        }
        std::string line = head + ": " + parts[0];
        for (std::size_t p = 1; p < parts.size(); ++p) {
            line += ", " + parts[p];
        }
        out.push_back({-1, "recordBanks", k, at, RecordJson(ra), RecordJson(rb), line});
    }
}

template <std::size_t N>
void ComparePointers(int k, const char* kind, const std::array<std::uint16_t, N>& a,
                     const std::array<std::uint16_t, N>& b, std::vector<ModelChange>& out) {
    for (std::size_t i = 0; i < N; ++i) {
        if (a[i] != b[i]) {
            dt::AddNumber(
                out, -1, "recordBanks", k,
                std::string("pointers") + kind + "[" + std::to_string(i) + "]", a[i], b[i],
                "record bank " + std::to_string(k) + " pointer " + kind + " " + std::to_string(i) +
                    ": " + dt::Hex(a[i], 4) + " -> " + dt::Hex(b[i], 4));
        }
    }
}

// Which bytes of the image a model writes when it is saved: written over the file's image and
// over its complement, a byte the model holds comes out the same.
std::vector<bool> HeldBytes(const GameData& data, std::span<const std::uint8_t> file) {
    auto one = std::make_unique<RomImage>();
    std::copy_n(file.begin(), kRomSize, one->bytes.begin());
    auto two = std::make_unique<RomImage>(*one);
    for (std::uint8_t& byte : two->bytes) {
        byte = static_cast<std::uint8_t>(~byte);
    }
    data.Encode(*one);
    data.Encode(*two);
    LevelImport::WriteUndecodedBytes(data, one->bytes);
    LevelImport::WriteUndecodedBytes(data, two->bytes);
    std::vector<bool> held(kRomSize);
    for (std::size_t i = 0; i < kRomSize; ++i) {
        held[i] = one->bytes[i] == two->bytes[i];
    }
    return held;
}

// The changed bytes of one stretch of the image (a program bank, the header) as runs.
struct Runs {
    std::size_t bytes = 0;
    std::size_t runs = 0;
    std::size_t first = 0;
    std::size_t last = 0;
};

void AddRuns(std::vector<ModelChange>& out, const std::string& what, int index, std::size_t base,
             const Runs& runs, std::span<const std::uint8_t> fileA,
             std::span<const std::uint8_t> fileB, int digits) {
    const std::span<const std::uint8_t> from =
        fileA.subspan(base + runs.first, runs.last - runs.first + 1);
    const std::span<const std::uint8_t> to =
        fileB.subspan(base + runs.first, runs.last - runs.first + 1);
    out.push_back({-1, "image", index, what, dt::HexString(from), dt::HexString(to),
                   what + (index >= 0 ? " " + std::to_string(index) : std::string()) + ": " +
                       std::to_string(runs.bytes) + (runs.bytes == 1 ? " byte" : " bytes") +
                       " in " + std::to_string(runs.runs) + (runs.runs == 1 ? " run" : " runs") +
                       " at " + dt::Hex(static_cast<unsigned>(runs.first), digits) + "-" +
                       dt::Hex(static_cast<unsigned>(runs.last), digits)});
}

} // namespace

void ModelDiff::CompareShared(const GameData& a, const GameData& b, std::vector<ModelChange>& out) {
    for (std::size_t k = 0; k < a.recordBanks.size(); ++k) {
        const RecordBank& ba = a.recordBanks[k];
        const RecordBank& bb = b.recordBanks[k];
        if (ba == bb) {
            continue;
        }
        const int index = static_cast<int>(k);
        ComparePointers(index, "A", ba.pointersA, bb.pointersA, out);
        CompareRecords(index, "A", ba.recordsA, bb.recordsA, out);
        ComparePointers(index, "B", ba.pointersB, bb.pointersB, out);
        CompareRecords(index, "B", ba.recordsB, bb.recordsB, out);
    }
    const EnemyGraphics& ga = a.enemyGraphics;
    const EnemyGraphics& gb = b.enemyGraphics;
    for (std::size_t i = 0; i < ga.enemyIdTable.size(); ++i) {
        if (ga.enemyIdTable[i] != gb.enemyIdTable[i]) {
            dt::AddNumber(out, -1, "enemyIdTable", static_cast<int>(i), "", ga.enemyIdTable[i],
                          gb.enemyIdTable[i],
                          "enemy id table " + dt::Hex(static_cast<unsigned>(i)) + ": " +
                              dt::Hex(ga.enemyIdTable[i]) + " -> " + dt::Hex(gb.enemyIdTable[i]));
        }
    }
    for (std::size_t n = 0; n < kEnemyBankCount; ++n) {
        const EnemyBank& ea = ga.enemyBanks[n];
        const EnemyBank& eb = gb.enemyBanks[n];
        const std::string head = "enemy bank " + std::to_string(n) + ": ";
        const int index = static_cast<int>(n);
        // Palette A, then palette B.
        const auto palettes = [&](const std::string& letter, const auto& pa, const auto& pb) {
            for (std::size_t c = 0; c < pa.size(); ++c) {
                if (pa[c] != pb[c]) {
                    dt::AddNumber(out, -1, "enemyBanks", index,
                                  "palette" + letter + "[" + std::to_string(c) + "]", pa[c], pb[c],
                                  head + "palette " + letter + " colour " + std::to_string(c) +
                                      " " + dt::Hex(pa[c]) + " -> " + dt::Hex(pb[c]));
                }
            }
        };
        palettes("A", ea.paletteA, eb.paletteA);
        palettes("B", ea.paletteB, eb.paletteB);
        if (ea.pageA != eb.pageA) {
            dt::AddNumber(out, -1, "enemyBanks", index, "pageA", ea.pageA, eb.pageA,
                          head + "page A " + dt::Hex(ea.pageA) + " -> " + dt::Hex(eb.pageA));
        }
        if (ea.pageB != eb.pageB) {
            dt::AddNumber(out, -1, "enemyBanks", index, "pageB", ea.pageB, eb.pageB,
                          head + "page B " + dt::Hex(ea.pageB) + " -> " + dt::Hex(eb.pageB));
        }
    }
    for (std::size_t page = 0; page < kSpriteTileBytes / kCharacterPageSize; ++page) {
        const std::span<const std::uint8_t> pa(ga.spriteTiles.data() + page * kCharacterPageSize,
                                               kCharacterPageSize);
        const std::span<const std::uint8_t> pb(gb.spriteTiles.data() + page * kCharacterPageSize,
                                               kCharacterPageSize);
        int tiles = 0;
        for (std::size_t t = 0; t < kCharacterPageSize; t += 16) {
            tiles += std::equal(pa.begin() + static_cast<std::ptrdiff_t>(t),
                                pa.begin() + static_cast<std::ptrdiff_t>(t + 16),
                                pb.begin() + static_cast<std::ptrdiff_t>(t))
                         ? 0
                         : 1;
        }
        if (tiles > 0) {
            out.push_back({-1, "spriteTiles", static_cast<int>(page), "", dt::HexString(pa),
                           dt::HexString(pb),
                           "character page " + dt::Hex(static_cast<unsigned>(page)) + ": " +
                               std::to_string(tiles) + (tiles == 1 ? " tile" : " tiles")});
        }
    }
}

void ModelDiff::CompareImage(const GameData& a, std::span<const std::uint8_t> fileA,
                             const GameData& b, std::span<const std::uint8_t> fileB,
                             std::vector<ModelChange>& out) {
    if (fileA.size() < kRomSize || fileB.size() < kRomSize) {
        return;
    }
    if (std::equal(fileA.begin(), fileA.begin() + kRomSize, fileB.begin())) {
        // Nothing in the image differs.
    } else {
        const std::vector<bool> heldA = HeldBytes(a, fileA);
        const std::vector<bool> heldB = HeldBytes(b, fileB);
        const auto differs = [&](std::size_t i) {
            return fileA[i] != fileB[i] && !heldA[i] && !heldB[i];
        };
        // The header, then each program bank as runs of bytes.
        const auto stretch = [&](std::size_t base, std::size_t size, Runs& runs) {
            bool inRun = false;
            for (std::size_t i = 0; i < size; ++i) {
                if (differs(base + i)) {
                    if (runs.bytes == 0) {
                        runs.first = i;
                    }
                    runs.last = i;
                    ++runs.bytes;
                    runs.runs += inRun ? 0 : 1;
                    inRun = true;
                } else {
                    inRun = false;
                }
            }
        };
        Runs header;
        stretch(0, kHeaderSize, header);
        if (header.bytes > 0) {
            AddRuns(out, "header", -1, 0, header, fileA, fileB, 2);
        }
        for (std::size_t bank = 0; bank < (kCharacterOffset - kProgramOffset) / kBankSize; ++bank) {
            const std::size_t base = kProgramOffset + bank * kBankSize;
            Runs runs;
            stretch(base, kBankSize, runs);
            if (runs.bytes > 0) {
                AddRuns(out, "program bank", static_cast<int>(bank), base, runs, fileA, fileB, 4);
            }
        }
        for (std::size_t page = 0; page < kCharacterPages; ++page) {
            const std::size_t base = kCharacterOffset + page * kCharacterPageSize;
            int tiles = 0;
            for (std::size_t t = 0; t < kCharacterPageSize; t += 16) {
                bool tileDiffers = false;
                for (std::size_t k = 0; k < 16; ++k) {
                    tileDiffers = tileDiffers || differs(base + t + k);
                }
                tiles += tileDiffers ? 1 : 0;
            }
            if (tiles > 0) {
                const auto pa = fileA.subspan(base, kCharacterPageSize);
                const auto pb = fileB.subspan(base, kCharacterPageSize);
                out.push_back({-1, "image", static_cast<int>(page), "character page",
                               dt::HexString(pa), dt::HexString(pb),
                               "character page " + dt::Hex(static_cast<unsigned>(page)) + ": " +
                                   std::to_string(tiles) + (tiles == 1 ? " tile" : " tiles")});
            }
        }
    }
    const auto tailA = fileA.subspan(kRomSize);
    const auto tailB = fileB.subspan(kRomSize);
    if (tailA.size() != tailB.size()) {
        out.push_back({-1, "image", 0, "bytes after the image", dt::HexString(tailA),
                       dt::HexString(tailB),
                       "bytes after the image: " + std::to_string(tailA.size()) + " -> " +
                           std::to_string(tailB.size())});
    } else if (!std::equal(tailA.begin(), tailA.end(), tailB.begin())) {
        Runs runs;
        bool inRun = false;
        for (std::size_t i = 0; i < tailA.size(); ++i) {
            if (tailA[i] != tailB[i]) {
                runs.first = runs.bytes == 0 ? i : runs.first;
                runs.last = i;
                ++runs.bytes;
                runs.runs += inRun ? 0 : 1;
                inRun = true;
            } else {
                inRun = false;
            }
        }
        AddRuns(out, "bytes after the image", -1, kRomSize, runs, fileA, fileB, 4);
    }
}

} // namespace korvane
