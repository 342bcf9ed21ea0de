// BPS patches: a hand-made patch with each of the four actions, the exact form of simple
// patches, and every refusal.
#include "PatchTestSupport.h"

#include "gamedata/BpsPatch.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace korvane {
namespace {

using testing::Bytes;
using testing::Join;
using testing::PutLe32;
using testing::ZlibCrc;

std::string Hex8(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
    return text;
}

// "BPS1", the body, the source's and the target's CRC32 and the patch's own.
Bytes Finish(const Bytes& body, const Bytes& source, const Bytes& target) {
    Bytes patch = Join({"BPS1", body});
    PutLe32(patch, ZlibCrc(source));
    PutLe32(patch, ZlibCrc(target));
    PutLe32(patch, ZlibCrc(patch));
    return patch;
}

const Bytes kSource = Join({"ABCDEFGH"});
// Worked out action by action below.
const Bytes kTarget = Join({"ABxyzFGHyzFGBCCCC"});

// Sizes 8 and 17 and no metadata, then:
//   source read 2         (1 << 2 | 0 = 4)                      "AB"
//   target read 3         (2 << 2 | 1 = 9) "xyz"                "ABxyz"
//   source copy 3 at +5   (2 << 2 | 2 = 10, 5 << 1 = 10)        "FGH", source position now 8
//   target copy 4 at +3   (3 << 2 | 3 = 15, 3 << 1 = 6)         "yzFG" from target 3, now 7
//   source copy 2 at -7   (1 << 2 | 2 = 6, 7 << 1 | 1 = 15)     "BC" from source 1
//   target copy 3 at +6   (2 << 2 | 3 = 11, 6 << 1 = 12)        "CCC" from target 13, which
//                                                               each byte copies as it goes
// One-byte numbers carry 0x80.
Bytes HandMadeBody() {
    return Join({{0x88, 0x91, 0x80},
                 {0x84},
                 {0x89},
                 "xyz",
                 {0x8A, 0x8A},
                 {0x8F, 0x86},
                 {0x86, 0x8F},
                 {0x8B, 0x8C}});
}

void ExpectRefused(const Bytes& source, const Bytes& patch, const std::string& words) {
    testing::ExpectRefusal(ApplyBpsPatch(source, patch), words);
}

TEST(BpsApply, EachActionOfAHandMadePatch) {
    const PatchResult result = ApplyBpsPatch(kSource, Finish(HandMadeBody(), kSource, kTarget));
    ASSERT_TRUE(result.ok()) << result.message();
    EXPECT_EQ(result.bytes(), kTarget);
}

TEST(BpsApply, AWrongSourceIsRefusedWithBothChecksums) {
    const Bytes patch = Finish(HandMadeBody(), kSource, kTarget);
    const Bytes other = Join({"ABCDEFGX"});
    const PatchResult result = ApplyBpsPatch(other, patch);
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.bytes().empty());
    EXPECT_EQ(result.message(), "This patch was made for a file with CRC32 " +
                                    Hex8(ZlibCrc(kSource)) + ", but this file's CRC32 is " +
                                    Hex8(ZlibCrc(other)) + ".");

    // The right checksum but another size: a patch that says the source has 9 bytes.
    Bytes body = HandMadeBody();
    body[0] = 0x89;
    ExpectRefused(kSource, Finish(body, kSource, kTarget),
                  "made for a file of 9 bytes, but this file has 8 bytes");
}

TEST(BpsApply, ADamagedPatchIsRefused) {
    Bytes patch = Finish(HandMadeBody(), kSource, kTarget);
    const std::uint32_t stored = ZlibCrc(Bytes(patch.begin(), patch.end() - 4));
    patch[9] ^= 0x20; // "xyz" becomes "xYz"
    const std::uint32_t actual = ZlibCrc(Bytes(patch.begin(), patch.end() - 4));
    ExpectRefused(kSource, patch,
                  "The BPS patch is damaged: it says its CRC32 is " + Hex8(stored) +
                      ", but its contents give " + Hex8(actual) + ".");

    // A patch whose own checksum holds but whose result's does not.
    const Bytes wrongTarget = Join({"ABxyzFGHyzFGBCCCD"});
    ExpectRefused(kSource, Finish(HandMadeBody(), kSource, wrongTarget),
                  "the result's CRC32 is " + Hex8(ZlibCrc(kTarget)) + ", but the patch expects " +
                      Hex8(ZlibCrc(wrongTarget)));
}

TEST(BpsApply, ActionsPastEitherFileAreRefused) {
    const auto refused = [](const Bytes& body, const std::string& words) {
        ExpectRefused(kSource, Finish(body, kSource, kTarget), words);
    };
    // Target of 4 bytes: source read 9 at the start runs past the 8-byte result first.
    refused(Join({{0x88, 0x84, 0x80}, {0xA0}}), "action at byte 7 of the patch writes past");
    // Target of 10: source read 9 reads past the 8-byte source.
    refused(Join({{0x88, 0x8A, 0x80}, {0xA0}}), "reads past the end of the source file");
    // Target read 4 with 2 bytes left.
    refused(Join({{0x88, 0x84, 0x80}, {0x8D}, "ab"}), "reads past the end of the patch");
    // Source copy 2 at -1, and at +7 (bytes 7 and 8 of an 8-byte source).
    refused(Join({{0x88, 0x82, 0x80}, {0x86, 0x83}}), "copies from outside the source file");
    refused(Join({{0x88, 0x82, 0x80}, {0x86, 0x8E}}), "copies from outside the source file");
    // Target copy from the first byte before anything is written, and from beyond.
    refused(Join({{0x88, 0x82, 0x80}, {0x87, 0x80}}), "not yet made");
    refused(Join({{0x88, 0x83, 0x80}, {0x80}, {0x87, 0x82}}), "not yet made");
    // Actions that stop short: 2 of 17 bytes.
    refused(Join({{0x88, 0x91, 0x80}, {0x84}}), "its actions make 2 of the 17 bytes");
    // A copy whose offset is missing, and an action number without its last byte.
    refused(Join({{0x88, 0x82, 0x80}, {0x86}}), "is incomplete");
    refused(Join({{0x88, 0x82, 0x80}, {0x04}}), "is incomplete");
}

TEST(BpsApply, MalformedPatchesAreRefused) {
    ExpectRefused(kSource, {}, "not a BPS patch");
    ExpectRefused(kSource, Join({"BPS"}), "not a BPS patch");
    ExpectRefused(kSource, Join({"BPS2", {0x80, 0x80, 0x80}}), "not a BPS patch");
    ExpectRefused(kSource, Join({"PATCH", "EOF"}), "not a BPS patch");
    // Cut short: a real patch without its last byte, and one too short to hold its footer.
    Bytes patch = Finish(HandMadeBody(), kSource, kTarget);
    patch.pop_back();
    ExpectRefused(kSource, patch, "damaged");
    ExpectRefused(kSource, Join({"BPS1", {0x80, 0x80, 0x80}, Bytes(11, 0)}), "cut short");
    // A header whose numbers run into the footer, and metadata longer than the patch.
    ExpectRefused(kSource, Finish(Join({{0x08, 0x08, 0x08}}), kSource, kTarget),
                  "header is incomplete");
    ExpectRefused(kSource, Finish(Join({{0x88, 0x88, 0x85}, "ab"}), kSource, kTarget),
                  "header is incomplete");
    // A number longer than any patch needs (nine bytes without an end bit).
    ExpectRefused(kSource, Finish(Join({Bytes(9, 0x7F), {0x80, 0x80}}), kSource, kTarget),
                  "header is incomplete");
    // A target past 16 MB: 16,777,217 bytes.
    //   16777217 = 0x1000001 -> low 7 bits 0x01, then (0x20000 - 1) = 0x1FFFF -> 0x7F,
    //   then 0x3FF - 1 = 0x3FE -> 0x7E, then 7 - 1 = 6 -> 0x86.
    ExpectRefused(kSource, Finish(Join({{0x88, 0x01, 0x7F, 0x7E, 0x86, 0x80}}), kSource, kTarget),
                  "a file of 16777217 bytes");
}

TEST(BpsCreate, IdenticalAndEmptyFilesHaveTheirExactPatch) {
    // 1000 = 0x3E8: low 7 bits 0x68, then 7 - 1 = 6 with the end bit: 0x68 0x86. One source
    // read of 1000: 999 << 2 = 3996: 3996 - 31 * 128 = 28 (0x1C), then 31 - 1 = 30: 0x1C 0x9E.
    const Bytes file(1000, 0x31);
    const PatchResult same = CreateBpsPatch(file, file);
    ASSERT_TRUE(same.ok());
    EXPECT_EQ(same.bytes(), Finish(Join({{0x68, 0x86, 0x68, 0x86, 0x80, 0x1C, 0x9E}}), file, file));

    const PatchResult empty = CreateBpsPatch({}, {});
    ASSERT_TRUE(empty.ok());
    EXPECT_EQ(empty.bytes(), Finish(Join({{0x80, 0x80, 0x80}}), {}, {}));
    const PatchResult applied = ApplyBpsPatch({}, empty.bytes());
    ASSERT_TRUE(applied.ok()) << applied.message();
    EXPECT_TRUE(applied.bytes().empty());
}

TEST(BpsCreate, OneChangedByteIsReadTakeRead) {
    Bytes edited(200, 0x31);
    edited[100] = 0x32;
    // Sizes 200 = 0x48 0x80; source read 100 (99 << 2 = 396 = 0x0C, 2 with the end bit:
    // 0x0C 0x82), target read 1 (0x81) of 0x32, source read 99 (98 << 2 = 392: 0x08 0x82).
    const PatchResult made = CreateBpsPatch(Bytes(200, 0x31), edited);
    ASSERT_TRUE(made.ok());
    EXPECT_EQ(
        made.bytes(),
        Finish(Join({{0x48, 0x80, 0x48, 0x80, 0x80}, {0x0C, 0x82}, {0x81, 0x32}, {0x08, 0x82}}),
               Bytes(200, 0x31), edited));
}

TEST(BpsCreate, FilesBeyond16MegabytesAreRefused) {
    testing::ExpectRefusal(CreateBpsPatch(Bytes(0x1000001, 0), Bytes(3, 0)), "16 MB");
}

} // namespace
} // namespace korvane
