#pragma once

// The two patch formats side by side: which one a file name asks for, which one a patch is,
// and making or applying either.

#include "PatchResult.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace korvane {

enum class PatchFormat { Ips, Bps };

// "IPS" or "BPS".
const char* PatchFormatName(PatchFormat format);

// The format a file name's extension asks for (".ips" or ".bps", in any case), or nothing.
std::optional<PatchFormat> PatchFormatForFileName(std::string_view fileName);

// The format a patch's first bytes say it is ("PATCH" or "BPS1"), or nothing.
std::optional<PatchFormat> PatchFormatOf(std::span<const std::uint8_t> patch);

// CreateIpsPatch or CreateBpsPatch.
PatchResult CreatePatch(PatchFormat format, std::span<const std::uint8_t> clean,
                        std::span<const std::uint8_t> edited);

// Applies an IPS or BPS patch, whichever it is; anything else is refused with a message.
PatchResult ApplyPatch(std::span<const std::uint8_t> source, std::span<const std::uint8_t> patch);

} // namespace korvane
