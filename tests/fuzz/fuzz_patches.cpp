// Feeds arbitrary patches to the IPS and BPS appliers, and makes patches from pairs of files
// and applies them back. Aborts when an applier hands out output with a refusal (or a refusal
// without a message), when a made patch is refused, or when a made patch does not give back
// exactly the edited file.
//
// The first byte chooses what the rest is:
//   0  a source and an IPS patch (the patch gets "PATCH" put in front when byte 1 is odd)
//   1  a source and a BPS patch
//   2  a source and the actions of a BPS patch, given the right source and patch checksums
//      so that the actions themselves are run
//   3  two files to make both kinds of patch between
//   4  a file and edits to it (offset, length, value), to make both kinds of patch between
//   5  a cartridge-sized source (the first part repeated to 393,232 bytes) and the second part
//      three ways: as an IPS patch, as a BPS patch, and as edits (a 3-byte offset, a length,
//      a value) to make both kinds of patch between
// Bytes 1 and 2 say where the rest is split in two.
#include "gamedata/BpsPatch.h"
#include "gamedata/Crc32.h"
#include "gamedata/IpsPatch.h"
#include "gamedata/PatchFormat.h"
#include "gamedata/RomImage.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

using namespace korvane;
using Bytes = std::vector<std::uint8_t>;

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_patches: %s\n", what);
        std::abort();
    }
}

// Checks what an applier (or a maker) answered for a source of sourceSize bytes.
void CheckResult(const PatchResult& result, std::size_t sourceSize) {
    if (result.ok()) {
        Require(result.message().empty(), "a success carries a message");
        Require(result.bytes().size() <= std::max(sourceSize, kMaxPatchedFileSize),
                "a result larger than any patch may make");
    } else {
        Require(result.bytes().empty(), "a refusal carries output");
        Require(!result.message().empty(), "a refusal without a message");
    }
}

void PutLe32(Bytes& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// A BPS patch around the given header and actions, with the right source and patch checksums.
Bytes RepairedBps(std::span<const std::uint8_t> source, std::span<const std::uint8_t> body) {
    Bytes patch{'B', 'P', 'S', '1'};
    patch.insert(patch.end(), body.begin(), body.end());
    PutLe32(patch, Crc32(source));
    PutLe32(patch, 0); // the result's checksum cannot be known
    PutLe32(patch, Crc32(patch));
    return patch;
}

void RoundTrip(std::span<const std::uint8_t> clean, std::span<const std::uint8_t> edited) {
    for (const PatchFormat format : {PatchFormat::Ips, PatchFormat::Bps}) {
        const PatchResult made = CreatePatch(format, clean, edited);
        CheckResult(made, clean.size());
        Require(made.ok(), "a patch between two small files was not made");
        Require(PatchFormatOf(made.bytes()) == format, "a made patch does not say its format");
        const PatchResult applied = ApplyPatch(clean, made.bytes());
        CheckResult(applied, clean.size());
        Require(applied.ok(), "a made patch is refused");
        Require(std::equal(applied.bytes().begin(), applied.bytes().end(), edited.begin(),
                           edited.end()),
                "a made patch does not give back the edited file");
    }
}

// clean with edits of offsetBytes + 2 bytes each: an offset (little-endian), a length and a
// value (a value of 0 makes random-looking bytes instead); a length of 0 cuts the file there.
// A 3-byte offset is taken modulo the file's size plus one, so that it stays in the file.
Bytes Edited(std::span<const std::uint8_t> clean, std::span<const std::uint8_t> edits,
             std::size_t offsetBytes = 2) {
    Bytes edited(clean.begin(), clean.end());
    const std::size_t step = offsetBytes + 2;
    for (std::size_t at = 0; at + step <= edits.size(); at += step) {
        std::size_t offset = 0;
        for (std::size_t k = 0; k < offsetBytes; ++k) {
            offset |= static_cast<std::size_t>(edits[at + k]) << (8 * k);
        }
        if (offsetBytes > 2) {
            offset %= clean.size() + 1; // within the file or just at its end
        }
        const std::size_t length = edits[at + offsetBytes];
        const std::uint8_t value = edits[at + offsetBytes + 1];
        if (length == 0) {
            edited.resize(std::min(edited.size(), offset));
            continue;
        }
        if (edited.size() < offset + length) {
            edited.resize(offset + length, 0);
        }
        for (std::size_t k = 0; k < length; ++k) {
            edited[offset + k] =
                value != 0 ? value : static_cast<std::uint8_t>(offset * 31 + k * 7 + 1);
        }
    }
    return edited;
}

// The source of mode 5: part repeated until it is as large as a cartridge (zeros when empty).
Bytes CartridgeSized(std::span<const std::uint8_t> part) {
    Bytes source(kRomSize, 0);
    if (!part.empty()) {
        for (std::size_t at = 0; at < source.size(); ++at) {
            source[at] = part[at % part.size()];
        }
    }
    return source;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    const int mode = data[0] % 6;
    const std::span<const std::uint8_t> rest(data + 3, size - 3);
    const std::size_t split =
        (static_cast<std::size_t>(data[1]) | static_cast<std::size_t>(data[2]) << 8) %
        (rest.size() + 1);
    const std::span<const std::uint8_t> first = rest.first(split);
    const std::span<const std::uint8_t> second = rest.subspan(split);
    switch (mode) {
    case 0: {
        Bytes patch;
        if ((data[1] & 1) != 0) {
            patch = {'P', 'A', 'T', 'C', 'H'};
        }
        patch.insert(patch.end(), second.begin(), second.end());
        CheckResult(ApplyIpsPatch(first, patch), first.size());
        CheckResult(ApplyPatch(first, patch), first.size());
        break;
    }
    case 1:
        CheckResult(ApplyBpsPatch(first, second), first.size());
        CheckResult(ApplyPatch(first, second), first.size());
        break;
    case 2:
        CheckResult(ApplyBpsPatch(first, RepairedBps(first, second)), first.size());
        break;
    case 3:
        RoundTrip(first, second);
        break;
    case 4:
        RoundTrip(first, Edited(first, second));
        break;
    default: {
        const Bytes source = CartridgeSized(first);
        CheckResult(ApplyIpsPatch(source, second), source.size());
        CheckResult(ApplyBpsPatch(source, RepairedBps(source, second)), source.size());
        CheckResult(ApplyPatch(source, second), source.size());
        RoundTrip(source, Edited(source, second, 3));
        break;
    }
    }
    return 0;
}
