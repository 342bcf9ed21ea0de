#pragma once

// What the document and the file writer tell the user about files they cannot use.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include <sys/types.h>

namespace korvane {

inline constexpr const char* kReadOnlyMessage =
    "The file has the read-only attribute, Korvane can't work with it";

// The pieces one after the other, in one allocation.
std::string JoinText(std::initializer_list<std::string_view> pieces);
// The path in double quotes.
std::string QuotedPath(std::string_view path);
// The system's words for an errno value ("Permission denied").
std::string SystemReason(int error);
// "Korvane can't <action> "<path>": <why>."
std::string CannotMessage(std::string_view action, std::string_view path, std::string_view why);
// Why what stat found at a path, given its mode, is not a file to read or replace: "it is a
// folder, not a file" or "it is not a regular file" (a device, a named pipe, a socket).
// Nothing for a regular file.
std::optional<std::string> NotARegularFile(mode_t mode);
// Whether the file's owner has no write permission: such a file is read-only for Korvane, even
// for a user (such as root) whom the system would let write it.
bool OwnerMayNotWrite(mode_t mode);

} // namespace korvane
