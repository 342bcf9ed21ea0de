#include "BpsPatch.h"

#include "Crc32.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvane {

namespace {

constexpr std::array<std::uint8_t, 4> kMagic{'B', 'P', 'S', '1'};
constexpr std::size_t kFooterSize = 12; // three CRC32s
// The magic, three one-byte numbers and the footer.
constexpr std::size_t kSmallestPatch = kMagic.size() + 3 + kFooterSize;

enum class BpsAction : std::uint8_t {
    SourceRead = 0,
    TargetRead = 1,
    SourceCopy = 2,
    TargetCopy = 3
};

// A number of up to this many bits is accepted; anything longer is malformed.
constexpr int kLargestNumberBits = 56;

void PutNumber(std::vector<std::uint8_t>& out, std::uint64_t value) {
    for (;;) {
        const auto low = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
        if (value == 0) {
            out.push_back(static_cast<std::uint8_t>(0x80 | low));
            return;
        }
        out.push_back(low);
        --value;
    }
}

std::size_t NumberSize(std::uint64_t value) {
    std::size_t size = 1;
    while ((value >>= 7) != 0) {
        --value;
        ++size;
    }
    return size;
}

// A signed move of a copy's read position as a patch number.
std::uint64_t RelativeOffset(std::int64_t distance) {
    return distance < 0 ? (static_cast<std::uint64_t>(-distance) << 1) | 1U
                        : static_cast<std::uint64_t>(distance) << 1;
}

void PutCrc(std::vector<std::uint8_t>& out, std::uint32_t crc) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(crc >> shift));
    }
}

std::uint32_t ReadCrc(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// How many bytes from a and b agree, up to most; eight bytes at a time while they last.
std::size_t MatchLength(const std::uint8_t* a, const std::uint8_t* b, std::size_t most) {
    std::size_t length = 0;
    while (length + 8 <= most) {
        std::uint64_t wordA = 0;
        std::uint64_t wordB = 0;
        std::memcpy(&wordA, a + length, 8);
        std::memcpy(&wordB, b + length, 8);
        if (wordA != wordB) {
            const std::uint64_t differ = wordA ^ wordB;
            const int bits = std::endian::native == std::endian::little ? std::countr_zero(differ)
                                                                        : std::countl_zero(differ);
            return length + static_cast<std::size_t>(bits / 8);
        }
        length += 8;
    }
    while (length < most && a[length] == b[length]) {
        ++length;
    }
    return length;
}

// Finds, for each position of the target, a way to make the bytes that start there: read from
// the source in place, copy from elsewhere in the source or from earlier in the target, or
// carry them in the patch. Candidate copies come from hash chains of 4-byte prefixes.
class BpsEncoder {
public:
    BpsEncoder(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target,
               std::vector<std::uint8_t>& out)
        : source_(source), target_(target), out_(out), sourceChains_(source.size()),
          targetChains_(target.size()) {
        sourceChains_.AddUpTo(source_, source_.size());
    }

    void Encode() {
        const std::size_t end = target_.size();
        std::size_t at = 0;
        while (at < end) {
            // Long stretches where the files agree are the common case: take them at once.
            const std::size_t inPlace = at < source_.size()
                                            ? MatchLength(source_.data() + at, target_.data() + at,
                                                          std::min(source_.size(), end) - at)
                                            : 0;
            Choice best{BpsAction::SourceRead, inPlace, 0};
            if (inPlace < kTakeAtOnce) {
                FindCopies(at, best);
            }
            if (Gain(best) < kLeastGain) {
                ++at; // the byte goes into the patch
                continue;
            }
            FlushLiteral(at);
            Put(best);
            if (best.action == BpsAction::SourceRead) {
                // Any copy of these bytes is also a copy of the source's same bytes: the
                // target's index can leave them out.
                targetChains_.AddUpTo(target_, at);
                targetChains_.SkipTo(at + best.length);
            }
            at += best.length;
            literalStart_ = at;
        }
        FlushLiteral(end);
    }

private:
    // A stretch in place this long is taken without looking for copies.
    static constexpr std::size_t kTakeAtOnce = 32;
    // A copy must save at least this many patch bytes over carrying its bytes.
    static constexpr std::int64_t kLeastGain = 1;
    // How many earlier occurrences of a prefix are tried, newest first.
    static constexpr int kChainTries = 24;
    // Hash tables of up to 2^16 heads, fewer for small files.
    static constexpr int kMostHashBits = 16;
    static constexpr int kLeastHashBits = 8;
    static constexpr std::size_t kPrefix = 4;
    static constexpr std::size_t kIndexStep = 4;

    struct Choice {
        BpsAction action;
        std::size_t length;
        std::size_t from; // read position of a copy
    };

    // Positions of a buffer, by the hash of the 4 bytes there, newest first. The links are
    // left unset until their position is indexed: memory that is never indexed is never
    // touched.
    class Chains {
    public:
        explicit Chains(std::size_t size)
            : links_(std::make_unique_for_overwrite<std::int32_t[]>(size)) {
            while (bits_ < kMostHashBits && (std::size_t{1} << bits_) < size / kIndexStep) {
                ++bits_;
            }
            heads_.assign(std::size_t{1} << bits_, kNone);
        }
        // Indexes the positions below end that have a whole prefix.
        void AddUpTo(std::span<const std::uint8_t> bytes, std::size_t end) {
            const std::size_t last = bytes.size() < kPrefix ? 0 : bytes.size() - kPrefix + 1;
            for (; added_ < std::min(end, last); added_ += kIndexStep) {
                const std::uint32_t hash = Hash(bytes.data() + added_);
                links_[added_ / kIndexStep] = heads_[hash];
                heads_[hash] = static_cast<std::int32_t>(added_);
            }
        }
        // Leaves the positions below end out of the index.
        void SkipTo(std::size_t end) {
            if (added_ < end) {
                added_ += (end - added_ + kIndexStep - 1) / kIndexStep * kIndexStep;
            }
        }
        // The newest indexed position whose prefix hashes as the one at bytes, or kNone.
        std::int32_t First(const std::uint8_t* bytes) const { return heads_[Hash(bytes)]; }
        std::int32_t Next(std::int32_t position) const {
            return links_[static_cast<std::size_t>(position) / kIndexStep];
        }
        static constexpr std::int32_t kNone = -1;

    private:
        std::uint32_t Hash(const std::uint8_t* bytes) const {
            std::uint32_t word = 0;
            std::memcpy(&word, bytes, sizeof word);
            return (word * 2654435761U) >> (32 - bits_);
        }

        int bits_ = kLeastHashBits;
        std::vector<std::int32_t> heads_;
        std::unique_ptr<std::int32_t[]> links_;
        std::size_t added_ = 0;
    };

    // Patch bytes saved by a choice over carrying its bytes.
    std::int64_t Gain(const Choice& choice) const {
        if (choice.length == 0) {
            return 0;
        }
        std::size_t cost = NumberSize((choice.length - 1) << 2);
        if (choice.action == BpsAction::SourceCopy) {
            cost += NumberSize(RelativeOffset(Distance(choice.from, sourceRelative_)));
        } else if (choice.action == BpsAction::TargetCopy) {
            cost += NumberSize(RelativeOffset(Distance(choice.from, targetRelative_)));
        }
        return static_cast<std::int64_t>(choice.length) - static_cast<std::int64_t>(cost);
    }

    static std::int64_t Distance(std::size_t to, std::size_t from) {
        return static_cast<std::int64_t>(to) - static_cast<std::int64_t>(from);
    }

    // Only every kIndexStep-th position is indexed, so the bytes at at, at + 1, ... are each
    // looked up: a copy of 7 or more bytes is always found, whatever its alignment.
    void FindCopies(std::size_t at, Choice& best) {
        // The target so far (a copy may run on into the bytes it makes).
        targetChains_.AddUpTo(target_, at);
        for (std::size_t probe = 0; probe < kIndexStep && at + probe + kPrefix <= target_.size();
             ++probe) {
            TryChain(sourceChains_, source_, BpsAction::SourceCopy, at, probe, best);
            TryChain(targetChains_, target_, BpsAction::TargetCopy, at, probe, best);
        }
    }

    // Tries the copies from `from` (the source or the target) whose bytes at probe agree
    // with the target's at at + probe in their hash.
    void TryChain(const Chains& chains, std::span<const std::uint8_t> from, BpsAction action,
                  std::size_t at, std::size_t probe, Choice& best) const {
        const std::size_t most = target_.size() - at;
        int tries = 0;
        for (std::int32_t found = chains.First(target_.data() + at + probe);
             found != Chains::kNone && tries < kChainTries; found = chains.Next(found), ++tries) {
            if (static_cast<std::size_t>(found) < probe) {
                continue;
            }
            const std::size_t start = static_cast<std::size_t>(found) - probe;
            Consider({action,
                      MatchLength(from.data() + start, target_.data() + at,
                                  std::min(most, from.size() - start)),
                      start},
                     best);
        }
    }

    void Consider(const Choice& candidate, Choice& best) const {
        if (Gain(candidate) > Gain(best)) {
            best = candidate;
        }
    }

    void FlushLiteral(std::size_t end) {
        if (end <= literalStart_) {
            return;
        }
        PutNumber(out_, ((end - literalStart_ - 1) << 2) |
                            static_cast<std::uint8_t>(BpsAction::TargetRead));
        out_.insert(out_.end(), target_.begin() + static_cast<std::ptrdiff_t>(literalStart_),
                    target_.begin() + static_cast<std::ptrdiff_t>(end));
        literalStart_ = end;
    }

    void Put(const Choice& choice) {
        PutNumber(out_, ((choice.length - 1) << 2) | static_cast<std::uint8_t>(choice.action));
        if (choice.action == BpsAction::SourceCopy) {
            PutNumber(out_, RelativeOffset(Distance(choice.from, sourceRelative_)));
            sourceRelative_ = choice.from + choice.length;
        } else if (choice.action == BpsAction::TargetCopy) {
            PutNumber(out_, RelativeOffset(Distance(choice.from, targetRelative_)));
            targetRelative_ = choice.from + choice.length;
        }
    }

    std::span<const std::uint8_t> source_;
    std::span<const std::uint8_t> target_;
    std::vector<std::uint8_t>& out_;
    Chains sourceChains_;
    Chains targetChains_;
    std::size_t literalStart_ = 0;
    std::size_t sourceRelative_ = 0;
    std::size_t targetRelative_ = 0;
};

// Reads the numbers and bytes of a patch up to its footer.
class PatchReader {
public:
    PatchReader(std::span<const std::uint8_t> patch, std::size_t at, std::size_t end)
        : patch_(patch), at_(at), end_(end) {}

    std::optional<std::uint64_t> Number() {
        std::uint64_t value = 0;
        std::uint64_t shift = 1;
        for (int bits = 0;; bits += 7) {
            if (at_ >= end_ || bits >= kLargestNumberBits) {
                return std::nullopt;
            }
            const std::uint8_t byte = patch_[at_++];
            value += (byte & 0x7FU) * shift;
            if ((byte & 0x80U) != 0) {
                return value;
            }
            shift <<= 7;
            value += shift;
        }
    }
    std::size_t at() const { return at_; }
    std::size_t left() const { return end_ - at_; }
    const std::uint8_t* Take(std::size_t count) {
        const std::uint8_t* bytes = patch_.data() + at_;
        at_ += count;
        return bytes;
    }

private:
    std::span<const std::uint8_t> patch_;
    std::size_t at_;
    std::size_t end_;
};

PatchResult Damaged(const std::string& why) {
    return PatchResult::Failure("The BPS patch is damaged: " + why);
}

std::string ActionAt(std::size_t at) {
    return "the action at byte " + std::to_string(at) + " of the patch";
}

} // namespace

PatchResult CreateBpsPatch(std::span<const std::uint8_t> clean,
                           std::span<const std::uint8_t> edited) {
    if (const auto refused = RefuseOversizedFiles("A BPS", clean.size(), edited.size())) {
        return *refused;
    }
    std::vector<std::uint8_t> out(kMagic.begin(), kMagic.end());
    PutNumber(out, clean.size());
    PutNumber(out, edited.size());
    PutNumber(out, 0); // no metadata
    BpsEncoder(clean, edited, out).Encode();
    PutCrc(out, Crc32(clean));
    PutCrc(out, Crc32(edited));
    PutCrc(out, Crc32(out));
    return PatchResult::Success(std::move(out));
}

PatchResult ApplyBpsPatch(std::span<const std::uint8_t> source,
                          std::span<const std::uint8_t> patch) {
    if (patch.size() < kMagic.size() || !std::equal(kMagic.begin(), kMagic.end(), patch.begin())) {
        return PatchResult::Failure("This is not a BPS patch: it does not start with \"BPS1\".");
    }
    if (patch.size() < kSmallestPatch) {
        return PatchResult::Failure("The BPS patch is cut short: it has only " +
                                    std::to_string(patch.size()) + " bytes.");
    }
    const std::size_t footer = patch.size() - kFooterSize;
    const std::uint32_t patchCrc = ReadCrc(patch, patch.size() - 4);
    const std::uint32_t actualPatchCrc = Crc32(patch.first(patch.size() - 4));
    if (patchCrc != actualPatchCrc) {
        return Damaged("it says its CRC32 is " + Crc32Text(patchCrc) + ", but its contents give " +
                       Crc32Text(actualPatchCrc) + ".");
    }
    PatchReader reader(patch, kMagic.size(), footer);
    const std::optional<std::uint64_t> sourceSize = reader.Number();
    const std::optional<std::uint64_t> targetSize = reader.Number();
    const std::optional<std::uint64_t> metadataSize = reader.Number();
    if (!sourceSize || !targetSize || !metadataSize || *metadataSize > reader.left()) {
        return Damaged("its header is incomplete.");
    }
    if (*targetSize > kMaxPatchedFileSize) {
        return PatchResult::Failure("The BPS patch would make a file of " +
                                    std::to_string(*targetSize) +
                                    " bytes; patches may make files of up to 16 MB "
                                    "(16,777,216 bytes).");
    }
    reader.Take(static_cast<std::size_t>(*metadataSize)); // not used
    const std::uint32_t sourceCrc = ReadCrc(patch, footer);
    const std::uint32_t targetCrc = ReadCrc(patch, footer + 4);
    const std::uint32_t actualSourceCrc = Crc32(source);
    if (actualSourceCrc != sourceCrc) {
        return PatchResult::Failure("This patch was made for a file with CRC32 " +
                                    Crc32Text(sourceCrc) + ", but this file's CRC32 is " +
                                    Crc32Text(actualSourceCrc) + ".");
    }
    if (*sourceSize != source.size()) {
        return PatchResult::Failure("This patch was made for a file of " +
                                    std::to_string(*sourceSize) + " bytes, but this file has " +
                                    std::to_string(source.size()) + " bytes.");
    }

    // The result grows as the actions make it, so that a patch that only claims a large
    // result costs nothing.
    const auto targetBytes = static_cast<std::size_t>(*targetSize);
    std::vector<std::uint8_t> target;
    target.reserve(std::min<std::size_t>(targetBytes, source.size() + patch.size()));
    std::int64_t sourceRelative = 0;
    std::int64_t targetRelative = 0;
    while (reader.left() > 0) {
        const std::size_t actionStart = reader.at();
        const std::optional<std::uint64_t> data = reader.Number();
        if (!data) {
            return Damaged(ActionAt(actionStart) + " is incomplete.");
        }
        const auto action = static_cast<BpsAction>(*data & 3U);
        const std::uint64_t length = (*data >> 2) + 1;
        const std::size_t written = target.size();
        if (length > targetBytes - written) {
            return Damaged(ActionAt(actionStart) + " writes past the end of the " +
                           std::to_string(targetBytes) + "-byte result.");
        }
        const auto count = static_cast<std::size_t>(length);
        switch (action) {
        case BpsAction::SourceRead:
            if (written + count > source.size()) {
                return Damaged(ActionAt(actionStart) + " reads past the end of the source file.");
            }
            target.insert(target.end(), source.begin() + static_cast<std::ptrdiff_t>(written),
                          source.begin() + static_cast<std::ptrdiff_t>(written + count));
            break;
        case BpsAction::TargetRead: {
            if (count > reader.left()) {
                return Damaged(ActionAt(actionStart) + " reads past the end of the patch.");
            }
            const std::uint8_t* bytes = reader.Take(count);
            target.insert(target.end(), bytes, bytes + count);
            break;
        }
        case BpsAction::SourceCopy:
        case BpsAction::TargetCopy: {
            const std::optional<std::uint64_t> offset = reader.Number();
            if (!offset) {
                return Damaged(ActionAt(actionStart) + " is incomplete.");
            }
            const auto distance = static_cast<std::int64_t>(*offset >> 1);
            const std::int64_t move = (*offset & 1U) != 0 ? -distance : distance;
            if (action == BpsAction::SourceCopy) {
                sourceRelative += move;
                if (sourceRelative < 0 ||
                    static_cast<std::uint64_t>(sourceRelative) + length > source.size()) {
                    return Damaged(ActionAt(actionStart) + " copies from outside the source file.");
                }
                const auto from = source.begin() + static_cast<std::ptrdiff_t>(sourceRelative);
                target.insert(target.end(), from, from + static_cast<std::ptrdiff_t>(count));
                sourceRelative += static_cast<std::int64_t>(count);
            } else {
                targetRelative += move;
                if (targetRelative < 0 || static_cast<std::uint64_t>(targetRelative) >= written) {
                    return Damaged(ActionAt(actionStart) +
                                   " copies result bytes that are not yet made.");
                }
                // It may run on into the bytes it makes, so it copies one byte at a time.
                const auto from = static_cast<std::size_t>(targetRelative);
                for (std::size_t k = 0; k < count; ++k) {
                    target.push_back(target[from + k]);
                }
                targetRelative += static_cast<std::int64_t>(count);
            }
            break;
        }
        }
    }
    if (target.size() != targetBytes) {
        return Damaged("its actions make " + std::to_string(target.size()) + " of the " +
                       std::to_string(targetBytes) + " bytes of the result.");
    }
    const std::uint32_t actualTargetCrc = Crc32(target);
    if (actualTargetCrc != targetCrc) {
        return Damaged("the result's CRC32 is " + Crc32Text(actualTargetCrc) +
                       ", but the patch expects " + Crc32Text(targetCrc) + ".");
    }
    return PatchResult::Success(std::move(target));
}

} // namespace korvane
