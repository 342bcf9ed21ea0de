#include "CliCommon.h"

#include "gamedata/AtomicFileWriter.h"
#include "gamedata/FileIdentity.h"

#include <charconv>
#include <iostream>
#include <memory>

namespace korvane::cli {

void StderrReporter::ShowMessage(MessageIcon /*icon*/, const std::string& /*title*/,
                                 const std::string& text) {
    ++messages_;
    PrintError(text);
}

void StderrReporter::RequestQuit(int /*exitCode*/) {}

std::string UsageText() {
    return "usage: korvane-cli demo OUT.nes [--seed N]\n"
           "       korvane-cli info ROM\n"
           "       korvane-cli dump ROM\n"
           "       korvane-cli roundtrip IN OUT\n"
           "       korvane-cli edit IN OUT SCRIPT|-\n"
           "       korvane-cli render ROM ...\n"
           "       korvane-cli patch CLEAN EDITED OUT.ips|OUT.bps\n"
           "           writes an IPS or BPS patch (by OUT's extension) that turns CLEAN into "
           "EDITED\n"
           "       korvane-cli apply-patch CLEAN PATCH OUT\n"
           "           applies an IPS or BPS patch to CLEAN and writes the result to OUT\n"
           "       korvane-cli tiles export ROM --level L [--half 0|1] --palette-row R -o OUT.png\n"
           "           writes level L's tiles (all, or tiles 0-127 or 128-255) as an indexed PNG\n"
           "           in the colours of palette row R (0-19)\n"
           "       korvane-cli tiles import ROM OUT.nes --level L [--half 0|1] --palette-row R "
           "IN.png\n"
           "           replaces those tiles with IN.png's and writes OUT.nes\n"
           "       korvane-cli play ROM [--emulator \"COMMAND\"]\n"
           "           runs ROM in the emulator (the command of the Preferences when no option\n"
           "           names one; {file} stands for the cartridge) and waits for it to end\n"
           "       korvane-cli level export ROM --level L -o FILE.kvlevel\n"
           "           writes level L as a level file (JSON)\n"
           "       korvane-cli level import ROM OUT --level L [--with-tiles] FILE.kvlevel\n"
           "           gives level L the level file's data (and its tiles) and writes OUT\n"
           "       korvane-cli unpack ROM DIR\n"
           "           writes the whole model as text files into DIR\n"
           "       korvane-cli pack DIR BASE OUT\n"
           "           writes BASE with the model read from DIR to OUT\n"
           "       korvane-cli diff A B [--json]  |  korvane-cli diff A --patch P [--json]\n"
           "           lists the differences in the model's terms (exit 0 same, 1 different, "
           "2 trouble)\n"
           "       korvane-cli --help | --version\n";
}

void PrintError(const std::string& text) {
    std::cerr << "korvane-cli: " << text << '\n';
}

int UsageError(const std::string& problem) {
    PrintError(problem);
    std::cerr << UsageText();
    return kExitUsage;
}

bool OpenCartridge(CKorvaneDoc& doc, const std::string& path) {
    StderrReporter reporter;
    doc.SetReporter(&reporter);
    const bool opened = doc.OpenReadOnly(path);
    doc.SetReporter(nullptr);
    if (!opened && reporter.messageCount() == 0) {
        PrintError("cannot open " + path);
    }
    return opened;
}

std::vector<std::uint8_t> EncodedFileContent(CKorvaneDoc& doc) {
    return doc.EncodedContent();
}

std::optional<std::string> WriteFileReplacing(const std::string& path,
                                              std::span<const std::uint8_t> content) {
    AtomicFileWriter writer(path, AtomicFileWriter::Target::NewOrExisting);
    if (!writer.Write({content})) {
        return writer.message();
    }
    return std::nullopt;
}

bool OutputIsAnInput(const std::string& output, std::initializer_list<std::string> inputs) {
    if (const auto refusal = OutputOverwritesInput(output, inputs)) {
        PrintError(*refusal);
        return true;
    }
    return false;
}

std::optional<std::uint32_t> ParseNumber(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    std::uint32_t value = 0;
    const auto [end, result] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || result != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string HexString(std::span<const std::uint8_t> bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const std::uint8_t byte : bytes) {
        text.push_back(digits[byte >> 4]);
        text.push_back(digits[byte & 0x0F]);
    }
    return text;
}

} // namespace korvane::cli
