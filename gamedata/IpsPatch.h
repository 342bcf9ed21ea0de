#pragma once

// IPS patches: "PATCH", then records of a 3-byte big-endian file offset, a 2-byte big-endian
// size and that many bytes to write there (a size of 0 is a run: a 2-byte count and the one
// byte value to repeat), then "EOF", optionally followed by the 3-byte size to cut the result
// to.

#include "PatchResult.h"

#include <cstdint>
#include <span>

namespace korvane {

// The offset whose three bytes spell "EOF": a record cannot start there, since it would read
// as the end of the patch.
inline constexpr std::size_t kIpsEofOffset = 0x454F46;

// A patch that turns clean into edited: records where the files differ (short stretches of
// equal bytes between changes are carried along when that is shorter than a new record), runs
// where a byte repeats long enough to save space, bytes past clean's end when edited is longer,
// and the truncation size when it is shorter. Identical files give an empty patch
// ("PATCH" "EOF"). Fails only for files larger than 16 MB.
PatchResult CreateIpsPatch(std::span<const std::uint8_t> clean,
                           std::span<const std::uint8_t> edited);

// source with the patch applied. Records are applied in order, so a later one overwrites an
// earlier one where they overlap; a record past source's end makes the result longer (any gap
// is zero-filled); a truncation size after "EOF" cuts the result to that size (a size beyond
// the result is ignored). Refused with a message, and no output: a patch that does not start
// with "PATCH", a patch cut short (a record or run incomplete, no "EOF"), a record reaching
// past 16 MB, and bytes after "EOF" other than a 3-byte truncation size.
PatchResult ApplyIpsPatch(std::span<const std::uint8_t> source,
                          std::span<const std::uint8_t> patch);

} // namespace korvane
