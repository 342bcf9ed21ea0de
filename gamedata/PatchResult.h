#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace korvane {

// What making or applying a patch gives: the output bytes, or a message that says why there is
// none. A failure never carries partial output.
class PatchResult {
public:
    static PatchResult Success(std::vector<std::uint8_t> bytes) {
        PatchResult result;
        result.ok_ = true;
        result.bytes_ = std::move(bytes);
        return result;
    }
    static PatchResult Failure(std::string message) {
        PatchResult result;
        result.message_ = std::move(message);
        return result;
    }

    bool ok() const { return ok_; }
    // The patch (when making one) or the patched file (when applying); empty on failure.
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t> TakeBytes() { return std::move(bytes_); }
    // Why it failed, as a sentence for the user; empty on success.
    const std::string& message() const { return message_; }

private:
    PatchResult() = default;

    bool ok_ = false;
    std::vector<std::uint8_t> bytes_;
    std::string message_;
};

// The largest file a patch may make or be made from: 16 MB, all that the 3-byte offsets of an
// IPS patch can reach, and far more than a cartridge of this game needs.
inline constexpr std::size_t kMaxPatchedFileSize = 0x1000000;

// The refusal to make a patch between files of these sizes when one is larger than
// kMaxPatchedFileSize; article is how the message names the format ("An IPS", "A BPS").
inline std::optional<PatchResult> RefuseOversizedFiles(const char* article, std::size_t clean,
                                                       std::size_t edited) {
    if (clean <= kMaxPatchedFileSize && edited <= kMaxPatchedFileSize) {
        return std::nullopt;
    }
    return PatchResult::Failure(std::string(article) +
                                " patch can only be made between files of up to 16 MB "
                                "(16,777,216 bytes); these files have " +
                                std::to_string(clean) + " and " + std::to_string(edited) +
                                " bytes.");
}

} // namespace korvane
