#include "IpsPatch.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace korvane {

namespace {

constexpr std::array<std::uint8_t, 5> kMagic{'P', 'A', 'T', 'C', 'H'};
constexpr std::array<std::uint8_t, 3> kEndMarker{'E', 'O', 'F'};
constexpr std::size_t kMaxRecordSize = 0xFFFF;
constexpr std::size_t kRecordHeader = 5;  // offset and size
constexpr std::size_t kRunRecordSize = 8; // offset, size 0, count and value
constexpr std::size_t kTruncationSize = 3;

// Equal bytes between two changes up to this many are written along with them: a new record
// would cost its 5-byte header.
constexpr std::size_t kLongestCarriedGap = 4;

void Put24(std::vector<std::uint8_t>& out, std::size_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 16));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void Put16(std::vector<std::uint8_t>& out, std::size_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

std::size_t Read24(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::size_t>(bytes[at]) << 16 |
           static_cast<std::size_t>(bytes[at + 1]) << 8 | bytes[at + 2];
}

std::size_t Read16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::size_t>(bytes[at]) << 8 | bytes[at + 1];
}

// Writes edited[begin, end) as plain records of at most 0xFFFF bytes. A record cannot start
// at kIpsEofOffset (its offset bytes would read as "EOF"), so one that would starts a byte
// earlier and writes edited's byte there as well, which changes nothing.
void PutLiteral(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> edited,
                std::size_t begin, std::size_t end) {
    while (begin < end) {
        const std::size_t start = begin == kIpsEofOffset ? begin - 1 : begin;
        const std::size_t length = std::min(end - start, kMaxRecordSize);
        Put24(out, start);
        Put16(out, length);
        out.insert(out.end(), edited.begin() + static_cast<std::ptrdiff_t>(start),
                   edited.begin() + static_cast<std::ptrdiff_t>(start + length));
        begin = start + length;
    }
}

// Writes edited[begin, end), all one byte value, as run records; a run that would start at
// kIpsEofOffset begins with a plain record instead (see PutLiteral).
void PutRun(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> edited, std::size_t begin,
            std::size_t end) {
    while (begin < end) {
        if (begin == kIpsEofOffset) {
            PutLiteral(out, edited, begin, begin + 1);
            ++begin;
            continue;
        }
        const std::size_t count = std::min(end - begin, kMaxRecordSize);
        Put24(out, begin);
        Put16(out, 0);
        Put16(out, count);
        out.push_back(edited[begin]);
        begin += count;
    }
}

// Writes edited[begin, end) as plain records, with runs taken out where a run record and the
// record headers it adds are shorter than the bytes it replaces.
void PutChange(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> edited,
               std::size_t begin, std::size_t end) {
    std::size_t literalStart = begin;
    std::size_t at = begin;
    while (at < end) {
        std::size_t runEnd = at + 1;
        while (runEnd < end && edited[runEnd] == edited[at]) {
            ++runEnd;
        }
        const bool firstInRecord = at == literalStart;
        const bool lastInChange = runEnd == end;
        // Alone: a run record instead of a 5-byte header and the bytes. At one end of the
        // change: a run record instead of the bytes. In the middle: also a header for the
        // plain bytes after it.
        const std::size_t worthAbove =
            firstInRecord && lastInChange   ? kRunRecordSize - kRecordHeader
            : firstInRecord || lastInChange ? kRunRecordSize
                                            : kRunRecordSize + kRecordHeader;
        if (runEnd - at > worthAbove) {
            PutLiteral(out, edited, literalStart, at);
            PutRun(out, edited, at, runEnd);
            literalStart = runEnd;
        }
        at = runEnd;
    }
    PutLiteral(out, edited, literalStart, end);
}

std::string ByteAt(std::size_t at) {
    return "at byte " + std::to_string(at) + " of the patch";
}

struct IpsRecord {
    std::size_t offset = 0;
    std::size_t length = 0;
    const std::uint8_t* bytes = nullptr; // null for a run
    std::uint8_t value = 0;              // a run's byte
};

// Where reading the records stopped: just past "EOF", or the reason the patch is refused.
struct RecordWalk {
    std::size_t end = 0;
    std::string error;
};

// Reads the records after "PATCH" up to "EOF" and hands each to use, checking each one fully
// before it is handed over.
template <typename Use> RecordWalk WalkRecords(std::span<const std::uint8_t> patch, Use use) {
    std::size_t at = kMagic.size();
    for (;;) {
        const std::size_t left = patch.size() - at;
        if (left < kEndMarker.size()) {
            return {0, "The IPS patch is cut short: it ends without its \"EOF\" marker."};
        }
        if (std::equal(kEndMarker.begin(), kEndMarker.end(),
                       patch.begin() + static_cast<std::ptrdiff_t>(at))) {
            return {at + kEndMarker.size(), {}};
        }
        if (left < kRecordHeader) {
            return {0, "The IPS patch is cut short: the record " + ByteAt(at) + " is incomplete."};
        }
        IpsRecord record;
        record.offset = Read24(patch, at);
        const std::size_t size = Read16(patch, at + 3);
        const std::size_t recordStart = at;
        at += kRecordHeader;
        if (size == 0) {
            if (patch.size() - at < 3) {
                return {0, "The IPS patch is cut short: the run record " + ByteAt(recordStart) +
                               " is incomplete."};
            }
            record.length = Read16(patch, at);
            record.value = patch[at + 2];
            at += 3;
        } else {
            if (patch.size() - at < size) {
                return {0, "The IPS patch is cut short: the record " + ByteAt(recordStart) +
                               " should have " + std::to_string(size) + " bytes but has only " +
                               std::to_string(patch.size() - at) + "."};
            }
            record.length = size;
            record.bytes = patch.data() + at;
            at += size;
        }
        if (record.offset + record.length > kMaxPatchedFileSize) {
            return {0, "The IPS patch is malformed: the record " + ByteAt(recordStart) +
                           " writes past 16 MB, further than a patch may reach."};
        }
        use(record);
    }
}

} // namespace

PatchResult CreateIpsPatch(std::span<const std::uint8_t> clean,
                           std::span<const std::uint8_t> edited) {
    if (const auto refused = RefuseOversizedFiles("An IPS", clean.size(), edited.size())) {
        return *refused;
    }
    std::vector<std::uint8_t> out(kMagic.begin(), kMagic.end());
    // Every byte past clean's end is written: the result grows only as far as a record reaches.
    const auto differs = [&](std::size_t i) { return i >= clean.size() || clean[i] != edited[i]; };
    std::size_t at = 0;
    while (at < edited.size()) {
        if (!differs(at)) {
            ++at;
            continue;
        }
        const std::size_t begin = at;
        std::size_t end = at + 1;
        for (std::size_t next = end; next < edited.size() && next - end < kLongestCarriedGap + 1;
             ++next) {
            if (differs(next)) {
                end = next + 1;
            }
        }
        PutChange(out, edited, begin, end);
        at = end;
    }
    out.insert(out.end(), kEndMarker.begin(), kEndMarker.end());
    if (edited.size() < clean.size()) {
        Put24(out, edited.size());
    }
    return PatchResult::Success(std::move(out));
}

PatchResult ApplyIpsPatch(std::span<const std::uint8_t> source,
                          std::span<const std::uint8_t> patch) {
    if (patch.size() < kMagic.size() || !std::equal(kMagic.begin(), kMagic.end(), patch.begin())) {
        return PatchResult::Failure("This is not an IPS patch: it does not start with \"PATCH\".");
    }
    // The whole patch is read and checked before anything is made.
    std::size_t grownSize = source.size(); // as far as the source and the records reach
    const RecordWalk walk = WalkRecords(patch, [&grownSize](const IpsRecord& record) {
        if (record.length > 0) {
            grownSize = std::max(grownSize, record.offset + record.length);
        }
    });
    if (!walk.error.empty()) {
        return PatchResult::Failure(walk.error);
    }
    const std::size_t trailing = patch.size() - walk.end;
    std::size_t resultSize = grownSize;
    if (trailing == kTruncationSize) {
        // The truncation extension: the result is this long (it only ever shortens the file).
        resultSize = std::min(grownSize, Read24(patch, walk.end));
    } else if (trailing != 0) {
        return PatchResult::Failure("The IPS patch is malformed: " + std::to_string(trailing) +
                                    " unexpected bytes follow its \"EOF\" marker.");
    }

    std::vector<std::uint8_t> result(grownSize, 0);
    std::copy(source.begin(), source.end(), result.begin());
    WalkRecords(patch, [&result](const IpsRecord& record) {
        std::uint8_t* to = result.data() + record.offset;
        if (record.bytes != nullptr) {
            std::memcpy(to, record.bytes, record.length);
        } else {
            std::memset(to, record.value, record.length);
        }
    });
    result.resize(resultSize);
    return PatchResult::Success(std::move(result));
}

} // namespace korvane
