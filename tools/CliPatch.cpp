// `korvane-cli patch CLEAN EDITED OUT.ips|OUT.bps` and `korvane-cli apply-patch CLEAN PATCH OUT`.
#include "CliCommands.h"
#include "CliCommon.h"

#include "gamedata/PatchFormat.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace korvane::cli {

namespace {

// A patch file larger than this is not read: no patch of a 16 MB file needs so much.
constexpr std::uintmax_t kLargestPatchFile = 64U * 1024U * 1024U;

// The whole content of a cartridge file: the image and the bytes the file has beyond it. Read
// through the document, so that it gets the document's checks and messages; the one place
// these commands read cartridges.
std::optional<std::vector<std::uint8_t>> ReadCartridgeFile(const std::string& path) {
    CKorvaneDoc doc;
    if (!OpenCartridge(doc, path)) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(doc.image().bytes.begin(), doc.image().bytes.end());
    bytes.insert(bytes.end(), doc.trailingBytes().begin(), doc.trailingBytes().end());
    return bytes;
}

std::optional<std::vector<std::uint8_t>> ReadPatchFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!fs::exists(status)) {
        PrintError("cannot read the patch " + path + ": the file does not exist");
        return std::nullopt;
    }
    if (!fs::is_regular_file(status)) {
        PrintError("cannot read the patch " + path + ": it is not a regular file");
        return std::nullopt;
    }
    const std::uintmax_t size = fs::file_size(path, error);
    if (!error && size > kLargestPatchFile) {
        PrintError("cannot read the patch " + path + ": at " + std::to_string(size) +
                   " bytes it is too large to be a patch");
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>()};
    if (!in.good() && !in.eof()) {
        PrintError("cannot read the patch " + path);
        return std::nullopt;
    }
    return bytes;
}

int Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    if (const auto error = WriteFileReplacing(path, bytes)) {
        PrintError(*error);
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace

int RunPatchCommand(const std::vector<std::string>& args) {
    if (args.size() != 3) {
        return UsageError("patch takes the clean cartridge, the edited one and the patch to write");
    }
    const std::string& cleanPath = args[0];
    const std::string& editedPath = args[1];
    const std::string& out = args[2];
    const std::optional<PatchFormat> format = PatchFormatForFileName(out);
    if (!format) {
        return UsageError("patch: the patch's name must end in .ips or .bps, not \"" + out + "\"");
    }
    if (SameFile(out, cleanPath) || SameFile(out, editedPath)) {
        return UsageError("patch: the patch would overwrite one of the cartridges");
    }
    const auto clean = ReadCartridgeFile(cleanPath);
    if (!clean) {
        return kExitFailure;
    }
    const auto edited = ReadCartridgeFile(editedPath);
    if (!edited) {
        return kExitFailure;
    }
    const PatchResult patch = CreatePatch(*format, *clean, *edited);
    if (!patch.ok()) {
        PrintError("cannot make the patch: " + patch.message());
        return kExitFailure;
    }
    if (const int code = Write(out, patch.bytes()); code != kExitOk) {
        return code;
    }
    std::printf("wrote %s (%s patch, %zu bytes)\n", out.c_str(), PatchFormatName(*format),
                patch.bytes().size());
    return kExitOk;
}

int RunApplyPatchCommand(const std::vector<std::string>& args) {
    if (args.size() != 3) {
        return UsageError("apply-patch takes the clean cartridge, the patch and the file to write");
    }
    const std::string& cleanPath = args[0];
    const std::string& patchPath = args[1];
    const std::string& out = args[2];
    if (SameFile(out, cleanPath) || SameFile(out, patchPath)) {
        return UsageError(
            "apply-patch: the result would overwrite the clean cartridge or the patch");
    }
    const auto clean = ReadCartridgeFile(cleanPath);
    if (!clean) {
        return kExitFailure;
    }
    const auto patch = ReadPatchFile(patchPath);
    if (!patch) {
        return kExitFailure;
    }
    const PatchResult result = ApplyPatch(*clean, *patch);
    if (!result.ok()) {
        PrintError("cannot apply " + patchPath + ": " + result.message() + " Nothing was written.");
        return kExitFailure;
    }
    if (const int code = Write(out, result.bytes()); code != kExitOk) {
        return code;
    }
    std::printf("wrote %s (%zu bytes)\n", out.c_str(), result.bytes().size());
    return kExitOk;
}

} // namespace korvane::cli
