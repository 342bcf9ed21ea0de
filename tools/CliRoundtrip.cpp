// `korvane-cli roundtrip IN OUT`: open, decode, encode, write, and compare.
#include "CliCommands.h"
#include "CliCommon.h"

#include <cstdio>

namespace korvane::cli {

int RunRoundtripCommand(const std::vector<std::string>& args) {
    if (args.size() != 2) {
        return UsageError("roundtrip takes an input and an output file");
    }
    if (OutputIsAnInput(args[1], {args[0]})) {
        return kExitUsage;
    }
    CKorvaneDoc doc;
    if (!OpenCartridge(doc, args[0])) {
        return kExitFailure;
    }
    const std::vector<std::uint8_t> content = EncodedFileContent(doc);
    if (const auto error = WriteFileReplacing(args[1], content)) {
        PrintError(*error);
        return kExitFailure;
    }
    // The document's image still holds the file as it was read.
    const auto& original = doc.image().bytes;
    std::size_t differing = 0;
    std::size_t first = 0;
    for (std::size_t i = 0; i < original.size(); ++i) {
        if (original[i] != content[i]) {
            if (differing == 0) {
                first = i;
            }
            ++differing;
        }
    }
    if (differing == 0) {
        std::printf("identical: %s is byte-identical to %s (%zu bytes)\n", args[1].c_str(),
                    args[0].c_str(), content.size());
        return kExitOk;
    }
    std::printf("different: %zu of %zu bytes of %s differ from %s, the first at offset 0x%05zX\n",
                differing, content.size(), args[1].c_str(), args[0].c_str(), first);
    return kExitDifferent;
}

} // namespace korvane::cli
