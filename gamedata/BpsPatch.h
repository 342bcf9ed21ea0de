#pragma once

// BPS patches: "BPS1", the source size, the target size and the metadata size as
// variable-length numbers, the metadata, the actions that build the target, then the CRC32 of
// the source, of the target and of the patch up to that point, each as 4 bytes little-endian.
//
// Each action is a number: (length - 1) << 2 | kind. Source read copies the source's bytes at
// the current output position; target read takes the bytes that follow in the patch; source
// copy and target copy first move their own read position by a signed amount (a number: the
// distance << 1 | 1 if it goes backwards) and copy from there, from the source or from the
// target written so far.

#include "PatchResult.h"

#include <cstdint>
#include <span>

namespace korvane {

// A patch that turns clean into edited, with empty metadata. Stretches that are where they
// were are read from the source; stretches found elsewhere in the source, or earlier in the
// target (repeated bytes), are copied; what is new is carried in the patch. Fails only for
// files larger than 16 MB.
PatchResult CreateBpsPatch(std::span<const std::uint8_t> clean,
                           std::span<const std::uint8_t> edited);

// source with the patch applied. Refused with a message, and no output: a patch that does not
// start with "BPS1" or is cut short, a patch whose own CRC32 is wrong (damaged), a source
// whose CRC32 or size is not the one the patch was made from (the message gives both
// checksums), a target larger than 16 MB, an action that reads or writes past the end of the
// source, the target or the patch, and a result whose CRC32 is not the one the patch expects.
PatchResult ApplyBpsPatch(std::span<const std::uint8_t> source,
                          std::span<const std::uint8_t> patch);

} // namespace korvane
