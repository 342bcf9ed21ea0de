// IPS patches made from known edits, byte for byte, and hand-made patches applied as other
// tools apply them.
#include "PatchTestSupport.h"

#include "gamedata/IpsPatch.h"

#include <gtest/gtest.h>

#include <numeric>

namespace korvane {
namespace {

using testing::Bytes;
using testing::Join;

Bytes Zeros(std::size_t size) {
    return Bytes(size, 0);
}

Bytes Made(const Bytes& clean, const Bytes& edited) {
    const PatchResult result = CreateIpsPatch(clean, edited);
    EXPECT_TRUE(result.ok()) << result.message();
    return result.bytes();
}

Bytes Applied(const Bytes& source, const Bytes& patch) {
    const PatchResult result = ApplyIpsPatch(source, patch);
    EXPECT_TRUE(result.ok()) << result.message();
    EXPECT_TRUE(result.message().empty());
    return result.bytes();
}

void ExpectRefused(const Bytes& source, const Bytes& patch, const std::string& words) {
    testing::ExpectRefusal(ApplyIpsPatch(source, patch), words);
}

TEST(IpsCreate, IdenticalFilesGiveAnEmptyPatch) {
    const Bytes file = Join({"some cartridge bytes"});
    EXPECT_EQ(Made(file, file), Join({"PATCH", "EOF"}));
    EXPECT_EQ(Made({}, {}), Join({"PATCH", "EOF"}));
}

TEST(IpsCreate, OneRecordPerChangeWithShortGapsCarriedAlong) {
    Bytes edited = Zeros(1000);
    edited[0x123] = 0xAB;
    EXPECT_EQ(Made(Zeros(1000), edited),
              Join({"PATCH", {0x00, 0x01, 0x23, 0x00, 0x01, 0xAB}, "EOF"}));

    // Four equal bytes between two changes cost less than a second 5-byte header.
    edited = Zeros(100);
    edited[10] = 1;
    edited[15] = 2;
    EXPECT_EQ(Made(Zeros(100), edited),
              Join({"PATCH", {0x00, 0x00, 0x0A, 0x00, 0x06, 1, 0, 0, 0, 0, 2}, "EOF"}));
    // Five do not.
    edited = Zeros(100);
    edited[10] = 1;
    edited[16] = 2;
    EXPECT_EQ(Made(Zeros(100), edited), Join({"PATCH",
                                              {0x00, 0x00, 0x0A, 0x00, 0x01, 1},
                                              {0x00, 0x00, 0x10, 0x00, 0x01, 2},
                                              "EOF"}));
}

TEST(IpsCreate, RunsWhereTheyAreShorter) {
    // 100 bytes of 0x77: one 8-byte run record instead of 105 bytes.
    Bytes edited = Zeros(0x200);
    std::fill(edited.begin() + 0x100, edited.begin() + 0x164, 0x77);
    EXPECT_EQ(Made(Zeros(0x200), edited),
              Join({"PATCH", {0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x64, 0x77}, "EOF"}));

    // Alone, three bytes cost 8 either way and stay plain; four are a run.
    edited = Zeros(0x200);
    std::fill(edited.begin() + 0x100, edited.begin() + 0x103, 0x77);
    EXPECT_EQ(Made(Zeros(0x200), edited),
              Join({"PATCH", {0x00, 0x01, 0x00, 0x00, 0x03, 0x77, 0x77, 0x77}, "EOF"}));
    edited[0x103] = 0x77;
    EXPECT_EQ(Made(Zeros(0x200), edited),
              Join({"PATCH", {0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x04, 0x77}, "EOF"}));

    // Between plain bytes a run must pay for its own record and a header for what follows
    // (13 bytes): 20 bytes of 0x55 are cut out, 13 are not.
    edited = Zeros(0x40);
    edited[0x10] = 1;
    std::fill(edited.begin() + 0x11, edited.begin() + 0x25, 0x55);
    edited[0x25] = 2;
    EXPECT_EQ(Made(Zeros(0x40), edited), Join({"PATCH",
                                               {0x00, 0x00, 0x10, 0x00, 0x01, 1},
                                               {0x00, 0x00, 0x11, 0x00, 0x00, 0x00, 0x14, 0x55},
                                               {0x00, 0x00, 0x25, 0x00, 0x01, 2},
                                               "EOF"}));
    edited = Zeros(0x40);
    edited[0x10] = 1;
    std::fill(edited.begin() + 0x11, edited.begin() + 0x1E, 0x55);
    edited[0x1E] = 2;
    Bytes expected = Join({"PATCH", {0x00, 0x00, 0x10, 0x00, 0x0F, 1}});
    expected.insert(expected.end(), 13, 0x55);
    expected = Join({expected, {2}, "EOF"});
    EXPECT_EQ(Made(Zeros(0x40), edited), expected);
}

TEST(IpsCreate, LongChangesAreSplitIntoRecordsOf0xFFFFBytes) {
    Bytes edited(0x10005);
    for (std::size_t i = 0; i < edited.size(); ++i) {
        edited[i] = static_cast<std::uint8_t>(i % 2 + 1); // no runs
    }
    const Bytes patch = Made(Zeros(edited.size()), edited);
    ASSERT_EQ(patch.size(), 5 + (5 + 0xFFFF) + (5 + 6) + 3);
    EXPECT_EQ(Bytes(patch.begin() + 5, patch.begin() + 10), (Bytes{0x00, 0x00, 0x00, 0xFF, 0xFF}));
    const auto second = patch.begin() + 10 + 0xFFFF;
    EXPECT_EQ(Bytes(second, second + 5), (Bytes{0x00, 0xFF, 0xFF, 0x00, 0x06}));
    EXPECT_EQ(Applied(Zeros(edited.size()), patch), edited);

    // A run longer than a record can count is two runs.
    Bytes flat = Zeros(0x20000);
    std::fill(flat.begin() + 2, flat.begin() + 2 + 0x10010, 0x42);
    EXPECT_EQ(Made(Zeros(0x20000), flat), Join({"PATCH",
                                                {0x00, 0x00, 0x02, 0x00, 0x00, 0xFF, 0xFF, 0x42},
                                                {0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x11, 0x42},
                                                "EOF"}));
}

TEST(IpsCreate, GrowingAndShrinkingFiles) {
    // Longer: the new bytes are records past the clean file's end.
    EXPECT_EQ(Made(Join({"ABCD"}), Join({"ABCDEF"})),
              Join({"PATCH", {0x00, 0x00, 0x04, 0x00, 0x02}, "EF", "EOF"}));
    // Shorter: the truncation size follows "EOF".
    EXPECT_EQ(Made(Join({"ABCDEF"}), Join({"ABCD"})), Join({"PATCH", "EOF", {0x00, 0x00, 0x04}}));
    EXPECT_EQ(Made(Join({"ABCDEF"}), Join({"ABXD"})),
              Join({"PATCH", {0x00, 0x00, 0x02, 0x00, 0x01}, "X", "EOF", {0x00, 0x00, 0x04}}));
    EXPECT_EQ(Made(Join({"ABCDEF"}), {}), Join({"PATCH", "EOF", {0x00, 0x00, 0x00}}));
}

TEST(IpsCreate, NoRecordStartsAtTheOffsetThatSpellsEof) {
    const std::size_t size = 0x454F60;
    Bytes edited = Zeros(size);
    edited[0x454F46] = 0x99;
    // 0x454F46 is "EOF": the record starts a byte earlier and writes the unchanged 0 there too.
    EXPECT_EQ(Made(Zeros(size), edited),
              Join({"PATCH", {0x45, 0x4F, 0x45, 0x00, 0x02, 0x00, 0x99}, "EOF"}));

    // A run there begins with that two-byte record and goes on from 0x454F47.
    std::fill(edited.begin() + 0x454F46, edited.begin() + 0x454F46 + 20, 0x99);
    const Bytes patch = Made(Zeros(size), edited);
    EXPECT_EQ(patch, Join({"PATCH",
                           {0x45, 0x4F, 0x45, 0x00, 0x02, 0x00, 0x99},
                           {0x45, 0x4F, 0x47, 0x00, 0x00, 0x00, 0x13, 0x99},
                           "EOF"}));
    EXPECT_EQ(Applied(Zeros(size), patch), edited);

    // A change right before it runs on through it: nothing to adjust.
    edited = Zeros(size);
    edited[0x454F45] = 1;
    edited[0x454F46] = 2;
    EXPECT_EQ(Made(Zeros(size), edited),
              Join({"PATCH", {0x45, 0x4F, 0x45, 0x00, 0x02, 0x01, 0x02}, "EOF"}));
}

TEST(IpsCreate, FilesBeyond16MegabytesAreRefused) {
    testing::ExpectRefusal(CreateIpsPatch(Zeros(10), Bytes(0x1000001, 0)), "16 MB");
}

TEST(IpsApply, HandMadePatchAsOtherToolsApplyIt) {
    Bytes source(16);
    std::iota(source.begin(), source.end(), 0);
    const Bytes patch = Join({"PATCH",
                              {0x00, 0x00, 0x02, 0x00, 0x04},
                              "abcd",
                              {0x00, 0x00, 0x04, 0x00, 0x02}, // overlaps: the later one wins
                              "XY",
                              {0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x03, 0xEE}, // a run
                              {0x00, 0x00, 0x14, 0x00, 0x01},                   // past the end
                              "Z",
                              "EOF"});
    const Bytes expected = Join({{0, 1},
                                 "abXY",
                                 {6, 7, 0xEE, 0xEE, 0xEE, 11, 12, 13, 14, 15},
                                 {0, 0, 0, 0}, // the gap up to the new record is zero
                                 "Z"});
    EXPECT_EQ(Applied(source, patch), expected);

    // The truncation extension: the result is cut to 10 bytes after the records.
    EXPECT_EQ(Applied(source, Join({patch, {0x00, 0x00, 0x0A}})),
              Bytes(expected.begin(), expected.begin() + 10));
    // A truncation size beyond the result leaves it as it is.
    EXPECT_EQ(Applied(source, Join({patch, {0x00, 0x01, 0x00}})), expected);
    // An empty run writes nothing.
    EXPECT_EQ(
        Applied(source, Join({"PATCH", {0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0x00, 0x11}, "EOF"})),
        source);
}

TEST(IpsApply, MalformedPatchesAreRefusedWithoutOutput) {
    const Bytes source(32, 0x5A);
    ExpectRefused(source, {}, "not an IPS patch");
    ExpectRefused(source, Join({"PATC"}), "not an IPS patch");
    ExpectRefused(source, Join({"PATCX", "EOF"}), "not an IPS patch");
    ExpectRefused(source, Join({"BPS1"}), "not an IPS patch");
    ExpectRefused(source, Join({"PATCH"}), "without its \"EOF\"");
    ExpectRefused(source, Join({"PATCH", {0x00, 0x00, 0x01, 0x00, 0x01}, "A"}),
                  "without its \"EOF\"");
    ExpectRefused(source, Join({"PATCH", {0x00, 0x00, 0x01, 0x00}}), "record at byte 5");
    ExpectRefused(source, Join({"PATCH", {0x00, 0x00, 0x01, 0x00, 0x05}, "ab"}),
                  "should have 5 bytes but has only 2");
    ExpectRefused(source, Join({"PATCH", {0x00, 0x00, 0x01, 0x00, 0x00, 0x00}}),
                  "run record at byte 5");
    // Records past 16 MB: a plain one and a run.
    ExpectRefused(source, Join({"PATCH", {0xFF, 0xFF, 0xFF, 0x00, 0x02}, "ab", "EOF"}), "16 MB");
    ExpectRefused(source, Join({"PATCH", {0xFF, 0xFF, 0xF0, 0x00, 0x00, 0x00, 0x20, 0x01}, "EOF"}),
                  "16 MB");
    // Bytes after "EOF" other than a truncation size.
    ExpectRefused(source, Join({"PATCH", "EOF", {0x01}}), "1 unexpected bytes");
    ExpectRefused(source, Join({"PATCH", "EOF", {0x00, 0x00, 0x01, 0x02}}), "4 unexpected bytes");
}

TEST(IpsApply, TheLastByteOf16MegabytesCanBeWritten) {
    const Bytes result =
        Applied(Bytes(4, 1), Join({"PATCH", {0xFF, 0xFF, 0xFF, 0x00, 0x01, 0x7E}, "EOF"}));
    ASSERT_EQ(result.size(), 0x1000000U);
    EXPECT_EQ(result[0], 1);
    EXPECT_EQ(result[4], 0);
    EXPECT_EQ(result.back(), 0x7E);
}

} // namespace
} // namespace korvane
