#include "CliHelp.h"

#include <array>

namespace korvane::cli {

namespace {

constexpr std::array<CommandHelp, 17> kCommands{{
    {"demo", "demo OUT.nes [--seed N]",
     "  Writes a demo cartridge of our own (the same seed always gives the same bytes).\n"
     "  --seed N           the generator's seed (default 1)\n"},
    {"info", "info ROM",
     "  Prints a line a level: its name, bank, hallways and their rooms, enemy placements\n"
     "  and tile banks.\n"},
    {"dump", "dump ROM", "  Prints the whole decoded model as one JSON object.\n"},
    {"roundtrip", "roundtrip IN OUT",
     "  Decodes IN, encodes the model and writes OUT; exit status 0 when OUT equals IN\n"
     "  byte for byte, 3 (naming the first difference) when it does not.\n"},
    {"edit", "edit IN OUT SCRIPT|-",
     "  Runs an edit script (a file, or standard input for -) on IN's model and writes\n"
     "  OUT. A script is read up to 16 MB; a malformed line is named and nothing is\n"
     "  written.\n"},
    {"render", "render ROM --level L [--hallway H | --level-map] -o OUT.png [options]",
     "  Draws hallway H of level L (0-15) as the level preview shows it, all rooms side by\n"
     "  side, and writes it as a PNG.\n"
     "  --level-map draws every hallway of the level instead, one row each, left-aligned,\n"
     "  each below a band with its label \"Hallway N\".\n"
     "  --highlight S      highlight selector: 0-15 a block type, 16 shade all, -1 none\n"
     "                     (the default), -2 what the level does not use\n"
     "  --depth D          screen depth the surfaces use: 16, 24 or 32 (the default)\n"
     "  --zoom-in N        draw each pixel N x N (1-8)\n"
     "  --zoom-out N       shrink by N (1-8)\n"
     "  --grid             draw the grid\n"
     "  --grid-spacing N   grid spacing in content pixels (default: one line per assembly,\n"
     "                     or per tile, block, assembly or room for the other layers)\n"
     "  --tick T           show animation tick T: the palette effects applied T times\n"
     "  --no-checkpoints   leave out the checkpoint labels\n"
     "  --no-enemies       leave out the enemy markers\n"
     "  --layer L          tiles (16 x 16 tiles), blocks (16 x 16 blocks), assemblies\n"
     "                     (16 x 16 assemblies) or rooms (32 rooms, 8 per row) instead of\n"
     "                     the hallway\n"
     "  --palette-set P    palette set (0-4) of the other layers (default 0)\n"
     "  --palette N        palette (0-3) of the tile layer (default 0)\n"},
    {"patch", "patch CLEAN EDITED OUT.ips|OUT.bps",
     "  Writes an IPS or BPS patch (by OUT's extension) that turns CLEAN into EDITED.\n"},
    {"apply-patch", "apply-patch CLEAN PATCH OUT",
     "  Applies an IPS or BPS patch to CLEAN and writes the result to OUT.\n"},
    {"tiles",
     "tiles export ROM --level L [--half 0|1] --palette-row R -o OUT.png\n"
     "tiles import ROM OUT.nes --level L [--half 0|1] --palette-row R IN.png",
     "  export writes level L's tiles (all, or tiles 0-127 or 128-255 with --half) as an\n"
     "  indexed PNG in the colours of palette row R (0-19); import replaces those tiles\n"
     "  with IN.png's and writes OUT.nes.\n"},
    {"play", "play ROM [--emulator \"COMMAND\"]",
     "  Runs ROM in the emulator from a temporary copy and waits for it to end: the\n"
     "  option's command, else the one of the window's Preferences, else the first of\n"
     "  fceux, nestopia and mednafen found; {file} stands for the cartridge.\n"},
    {"level",
     "level export ROM --level L -o FILE.kvlevel\n"
     "level import ROM OUT --level L [--with-tiles] FILE.kvlevel",
     "  export writes level L as a level file (JSON); import gives level L the level\n"
     "  file's data (and with --with-tiles its 256 tiles) and writes OUT.\n"},
    {"unpack", "unpack ROM DIR", "  Writes the whole model as text files into DIR.\n"},
    {"pack", "pack DIR BASE OUT", "  Writes BASE with the model read from DIR to OUT.\n"},
    {"diff", "diff A B [--json]\ndiff A --patch P [--json]",
     "  Lists every difference between two cartridges (or a cartridge and itself with a\n"
     "  patch applied) in the model's terms; exit status 0 when they are the same, 1 when\n"
     "  they differ, 2 on trouble. --json prints a JSON array of changes.\n"},
    {"recover", "recover --list\nrecover FILE OUT",
     "  --list names the window's recovery copies of unsaved work: the copy, the file it\n"
     "  belongs to, when it was made and whether a running Korvane holds it. FILE (a\n"
     "  copy, its name, or the file it belongs to) is written to OUT as a cartridge, and\n"
     "  the copy is then removed; a copy a running Korvane holds is left alone.\n"},
    {"help", "help [COMMAND]", "  The same as --help, or COMMAND --help.\n"},
    {"--version", "--help | --version", "  Prints the help above, or the program's version.\n"},
}};

// The synopsis lines of an entry, each after prefix.
std::string Synopses(const CommandHelp& help, std::string_view first, std::string_view next) {
    std::string text;
    std::string_view rest = help.synopsis;
    std::string_view prefix = first;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        text += prefix;
        text += "korvane-cli ";
        text += rest.substr(0, end);
        text += '\n';
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        prefix = next;
    }
    return text;
}

} // namespace

std::span<const CommandHelp> CommandHelps() {
    return kCommands;
}

const CommandHelp* FindCommandHelp(std::string_view name) {
    for (const CommandHelp& help : kCommands) {
        if (help.name == name) {
            return &help;
        }
    }
    return nullptr;
}

std::string CommandHelpText(const CommandHelp& help) {
    return Synopses(help, "usage: ", "       ") + std::string(help.text);
}

std::string SynopsisText() {
    std::string text;
    bool first = true;
    for (const CommandHelp& help : kCommands) {
        text += Synopses(help, first ? "usage: " : "       ", "       ");
        first = false;
    }
    return text;
}

} // namespace korvane::cli
