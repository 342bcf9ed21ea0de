// Both patch formats made from two files and applied to the first give the second, byte for
// byte: edits over the whole demo cartridge, identical files, long equal runs, files that grow
// and shrink, moved data; and choosing a format by name or by content.
#include "PatchTestSupport.h"

#include "DemoCartridge.h"
#include "gamedata/EnemyGraphics.h"
#include "gamedata/LevelCatalogue.h"
#include "gamedata/PatchFormat.h"
#include "gamedata/RecordBank.h"

#include <gtest/gtest.h>

#include <random>

namespace korvane {
namespace {

using testing::Bytes;
using testing::Join;

Bytes DemoBytes() {
    const auto image = MakeDemoCartridge(1);
    return Bytes(image->bytes.begin(), image->bytes.end());
}

Bytes RandomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes bytes(size);
    for (std::uint8_t& byte : bytes) {
        byte = static_cast<std::uint8_t>(rng());
    }
    return bytes;
}

// Makes a patch of the format, applies it to clean and expects edited; returns the patch.
Bytes RoundTrip(PatchFormat format, const Bytes& clean, const Bytes& edited) {
    const PatchResult made = CreatePatch(format, clean, edited);
    EXPECT_TRUE(made.ok()) << made.message();
    const PatchResult applied = ApplyPatch(clean, made.bytes());
    EXPECT_TRUE(applied.ok()) << applied.message();
    EXPECT_TRUE(applied.bytes() == edited) << PatchFormatName(format) << ": the result differs";
    return made.bytes();
}

class PatchRoundTrip : public ::testing::TestWithParam<PatchFormat> {};

TEST_P(PatchRoundTrip, EditsOverTheWholeCartridge) {
    const Bytes clean = DemoBytes();
    Bytes edited = clean;
    std::vector<std::size_t> places{0, 0x0F}; // the header
    for (const CatalogueRow& row : LevelCatalogue) {
        for (const std::size_t offset :
             {std::size_t{0x0A00}, std::size_t{0x0B07}, std::size_t{0x0F40}, std::size_t{0x1FFF}}) {
            places.push_back(row.bankOffset + offset);
        }
    }
    for (const std::uint32_t bank : kRecordBankOffsets) {
        places.push_back(bank + 0x0100);
        places.push_back(bank + 0x0400);
    }
    for (std::size_t page = 0; page < 64; page += 9) {
        places.push_back(enemyfile::kSpriteTiles + page * kCharacterPageSize + page);
    }
    places.push_back(clean.size() - 1); // the last byte
    for (const std::size_t at : places) {
        edited[at] = static_cast<std::uint8_t>(edited[at] ^ 0xA5);
    }
    const Bytes patch = RoundTrip(GetParam(), clean, edited);
    // A few bytes per edit, not a copy of the cartridge.
    EXPECT_LT(patch.size(), places.size() * 16);
}

TEST_P(PatchRoundTrip, IdenticalFilesGiveAPatchThatChangesNothing) {
    const Bytes clean = DemoBytes();
    const Bytes patch = RoundTrip(GetParam(), clean, clean);
    EXPECT_LE(patch.size(), 32U);
}

TEST_P(PatchRoundTrip, LongEqualRunsAndLongRuns) {
    Bytes clean(200000, 0);
    clean[5] = 1;
    Bytes edited = clean;
    edited[100] = 7;
    std::fill(edited.begin() + 1000, edited.begin() + 1000 + 70000, 0x42); // past 0xFFFF
    edited[150000] = 9;
    edited.back() = 3;
    const Bytes patch = RoundTrip(GetParam(), clean, edited);
    EXPECT_LT(patch.size(), 100U);
}

TEST_P(PatchRoundTrip, FilesThatGrowAndShrink) {
    const Bytes clean = RandomBytes(5000, 1);
    Bytes longer = clean;
    longer.resize(9000, 0); // zero tail
    longer.back() = 1;
    RoundTrip(GetParam(), clean, longer);
    Bytes noisy = clean;
    const Bytes tail = RandomBytes(3000, 2);
    noisy.insert(noisy.end(), tail.begin(), tail.end());
    RoundTrip(GetParam(), clean, noisy);
    RoundTrip(GetParam(), clean, Bytes(clean.begin(), clean.begin() + 1234));
    RoundTrip(GetParam(), clean, {});
    RoundTrip(GetParam(), {}, clean);
}

TEST_P(PatchRoundTrip, RandomPairs) {
    std::mt19937 rng(99);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        const Bytes clean = RandomBytes(rng() % 3000, static_cast<std::uint32_t>(rng()));
        Bytes edited = clean;
        edited.resize(rng() % 3000, static_cast<std::uint8_t>(rng()));
        const std::size_t edits = rng() % 40;
        for (std::size_t k = 0; k < edits && !edited.empty(); ++k) {
            const std::size_t at = rng() % edited.size();
            const std::size_t length = std::min<std::size_t>(rng() % 50 + 1, edited.size() - at);
            const std::uint8_t value = static_cast<std::uint8_t>(rng());
            const bool run = rng() % 2 == 0;
            for (std::size_t i = at; i < at + length; ++i) {
                edited[i] = run ? value : static_cast<std::uint8_t>(rng());
            }
        }
        RoundTrip(GetParam(), clean, edited);
    }
}

INSTANTIATE_TEST_SUITE_P(BothFormats, PatchRoundTrip,
                         ::testing::Values(PatchFormat::Ips, PatchFormat::Bps),
                         [](const ::testing::TestParamInfo<PatchFormat>& param) {
                             return std::string(PatchFormatName(param.param));
                         });

TEST(BpsCreate, FindsCopiesFromTheSource) {
    // Three bytes put in front move everything: only copies keep this small.
    const Bytes clean = RandomBytes(65536, 5);
    Bytes edited = Join({"new", clean});
    // And a block moved from the end to the middle.
    std::copy(clean.end() - 4000, clean.end(), edited.begin() + 20000);
    const Bytes patch = RoundTrip(PatchFormat::Bps, clean, edited);
    EXPECT_LT(patch.size(), 64U);
}

TEST(BpsCreate, AThousandScatteredEditsOfTheDemoCartridgeFitIn8Kilobytes) {
    const Bytes clean = DemoBytes();
    Bytes edited = clean;
    std::mt19937 rng(2024);
    for (int k = 0; k < 1000; ++k) {
        const std::size_t at = rng() % edited.size();
        edited[at] = static_cast<std::uint8_t>(edited[at] + 1 + rng() % 255);
    }
    const Bytes patch = RoundTrip(PatchFormat::Bps, clean, edited);
    EXPECT_LT(patch.size(), 8192U);
}

TEST(PatchFormats, ChosenByExtensionInAnyCase) {
    EXPECT_EQ(PatchFormatForFileName("hack.ips"), PatchFormat::Ips);
    EXPECT_EQ(PatchFormatForFileName("/tmp/x/HACK.IPS"), PatchFormat::Ips);
    EXPECT_EQ(PatchFormatForFileName("hack.Bps"), PatchFormat::Bps);
    EXPECT_EQ(PatchFormatForFileName("a.nes.bps"), PatchFormat::Bps);
    EXPECT_EQ(PatchFormatForFileName("hack.nes"), std::nullopt);
    EXPECT_EQ(PatchFormatForFileName("hack"), std::nullopt);
    EXPECT_EQ(PatchFormatForFileName("ips"), std::nullopt);
    EXPECT_EQ(PatchFormatForFileName("dir.ips/hack"), std::nullopt);
    EXPECT_EQ(PatchFormatForFileName("hack.ipsx"), std::nullopt);
}

TEST(PatchFormats, ChosenByContentWhenApplying) {
    EXPECT_EQ(PatchFormatOf(Join({"PATCH", "EOF"})), PatchFormat::Ips);
    EXPECT_EQ(PatchFormatOf(Join({"BPS1"})), PatchFormat::Bps);
    EXPECT_EQ(PatchFormatOf(Join({"PATC"})), std::nullopt);
    EXPECT_EQ(PatchFormatOf({}), std::nullopt);
    const PatchResult garbage = ApplyPatch(Bytes(10, 0), Join({"UPS1 or anything else"}));
    EXPECT_FALSE(garbage.ok());
    EXPECT_TRUE(garbage.bytes().empty());
    EXPECT_NE(garbage.message().find("not a patch"), std::string::npos) << garbage.message();
    // An IPS patch named .bps is still applied as what it is.
    const PatchResult ips = ApplyPatch(Bytes(4, 0), Join({"PATCH", {0, 0, 1, 0, 1, 9}, "EOF"}));
    ASSERT_TRUE(ips.ok());
    EXPECT_EQ(ips.bytes(), (Bytes{0, 9, 0, 0}));
}

} // namespace
} // namespace korvane
