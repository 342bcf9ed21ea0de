#pragma once

// What korvane-cli says of itself: one entry a command (its synopsis and what it does), from
// which `korvane-cli --help`, `korvane-cli COMMAND --help`, the usage text of a mistake and the
// manual page are all made.

#include <span>
#include <string>
#include <string_view>

namespace korvane::cli {

struct CommandHelp {
    std::string_view name;     // "tiles"
    std::string_view synopsis; // one or more lines, each after "korvane-cli "
    std::string_view text;     // what it does, its options; lines indented by two
};

std::span<const CommandHelp> CommandHelps();
// The entry of a command, or nullptr.
const CommandHelp* FindCommandHelp(std::string_view name);
// "usage: korvane-cli SYNOPSIS" and the command's text.
std::string CommandHelpText(const CommandHelp& help);
// Every synopsis, as a mistake's usage text shows them.
std::string SynopsisText();

} // namespace korvane::cli
