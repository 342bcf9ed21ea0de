#include "CliCommon.h"

#include "CliHelp.h"

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
    return SynopsisText();
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
