#pragma once

#include "gamedata/CKorvaneDoc.h"
#include "gamedata/UserReporter.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::cli {

// Exit codes of korvane-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;   // a file could not be read, written or was refused
inline constexpr int kExitUsage = 2;     // bad command line or malformed edit script
inline constexpr int kExitDifferent = 3; // roundtrip: the written image differs from the input

// What the document has to say goes to standard error.
class StderrReporter : public UserReporter {
public:
    void ShowMessage(MessageIcon icon, const std::string& title, const std::string& text) override;
    void RequestQuit(int exitCode) override;
    int messageCount() const { return messages_; }

private:
    int messages_ = 0;
};

// Prints "korvane-cli: <problem>" and the usage text to standard error; returns kExitUsage.
int UsageError(const std::string& problem);
// The usage text, one line per command.
std::string UsageText();
// Prints "korvane-cli: <text>" to standard error.
void PrintError(const std::string& text);

// Opens a cartridge that the command only reads (its input) through the document's read-only
// open: any regular file of the right size the user may read. On failure the reason is on
// standard error.
bool OpenCartridge(CKorvaneDoc& doc, const std::string& path);

// The document's model encoded into a copy of its image, followed by the bytes the file had
// beyond the image: what a save would write.
std::vector<std::uint8_t> EncodedFileContent(CKorvaneDoc& doc);

// Replaces (or creates) the file at path with content as the document saves (AtomicFileWriter):
// an existing file must be a regular file its owner may write, a symbolic link stays a link,
// and a failure leaves any earlier file as it was. Returns the reason of a failure or nothing.
std::optional<std::string> WriteFileReplacing(const std::string& path,
                                              std::span<const std::uint8_t> content);

// The check every writing command makes before it reads or writes anything: when output is the
// same file as one of inputs (links and hard links included), says so on standard error and
// gives true; the command then ends with kExitUsage and nothing written.
bool OutputIsAnInput(const std::string& output, std::initializer_list<std::string> inputs);

// Standard input as a path, for comparing files with what the command reads from it.
inline constexpr const char* kStandardInputPath = "/dev/stdin";

// A decimal or 0x-hex unsigned 32-bit number.
std::optional<std::uint32_t> ParseNumber(std::string_view text);

// Lower-case hexadecimal, two digits per byte, no separators.
std::string HexString(std::span<const std::uint8_t> bytes);

} // namespace korvane::cli
