// `korvane-cli patch CLEAN EDITED OUT.ips|OUT.bps` and `korvane-cli apply-patch CLEAN PATCH OUT`.
#include "CliCommands.h"
#include "CliCommon.h"

#include "gamedata/PatchFile.h"
#include "gamedata/PatchFormat.h"

#include <cstdio>
#include <optional>

namespace korvane::cli {

namespace {

// The whole content of a cartridge file: the image and the bytes the file has beyond it, as
// read. Read through the document, so that it gets the document's checks and messages; the one
// place these commands read cartridges.
std::optional<std::vector<std::uint8_t>> ReadCartridgeFile(const std::string& path) {
    CKorvaneDoc doc;
    if (!OpenCartridge(doc, path)) {
        return std::nullopt;
    }
    return doc.cleanBytes();
}

std::optional<std::vector<std::uint8_t>> ReadPatch(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (const auto problem = ReadPatchFile(path, bytes)) {
        PrintError("cannot read the patch " + path + ": " + *problem);
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
    if (OutputIsAnInput(out, {cleanPath, editedPath})) {
        return kExitUsage;
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
    if (OutputIsAnInput(out, {cleanPath, patchPath})) {
        return kExitUsage;
    }
    const auto clean = ReadCartridgeFile(cleanPath);
    if (!clean) {
        return kExitFailure;
    }
    const auto patch = ReadPatch(patchPath);
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
