#include "PatchFormat.h"

#include "BpsPatch.h"
#include "IpsPatch.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace korvane {

namespace {

bool StartsWith(std::span<const std::uint8_t> bytes, std::string_view prefix) {
    return bytes.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), bytes.begin(),
                      [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

} // namespace

const char* PatchFormatName(PatchFormat format) {
    return format == PatchFormat::Ips ? "IPS" : "BPS";
}

std::optional<PatchFormat> PatchFormatForFileName(std::string_view fileName) {
    const std::size_t dot = fileName.find_last_of('.');
    const std::size_t slash = fileName.find_last_of('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return std::nullopt;
    }
    std::string extension(fileName.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    if (extension == "ips") {
        return PatchFormat::Ips;
    }
    if (extension == "bps") {
        return PatchFormat::Bps;
    }
    return std::nullopt;
}

std::optional<PatchFormat> PatchFormatOf(std::span<const std::uint8_t> patch) {
    if (StartsWith(patch, "PATCH")) {
        return PatchFormat::Ips;
    }
    if (StartsWith(patch, "BPS1")) {
        return PatchFormat::Bps;
    }
    return std::nullopt;
}

PatchResult CreatePatch(PatchFormat format, std::span<const std::uint8_t> clean,
                        std::span<const std::uint8_t> edited) {
    return format == PatchFormat::Ips ? CreateIpsPatch(clean, edited)
                                      : CreateBpsPatch(clean, edited);
}

PatchResult ApplyPatch(std::span<const std::uint8_t> source, std::span<const std::uint8_t> patch) {
    const std::optional<PatchFormat> format = PatchFormatOf(patch);
    if (!format) {
        return PatchResult::Failure(
            "This is not a patch Korvane can apply: an IPS patch starts with \"PATCH\" and a BPS "
            "patch with \"BPS1\".");
    }
    return *format == PatchFormat::Ips ? ApplyIpsPatch(source, patch)
                                       : ApplyBpsPatch(source, patch);
}

} // namespace korvane
