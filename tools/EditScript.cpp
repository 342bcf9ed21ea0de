#include "EditScript.h"

#include <charconv>

namespace korvane {

namespace {

struct OperationSyntax {
    EditOperationKind kind;
    std::string_view name;
    std::string_view arguments; // for messages
    // Upper bound of each fixed argument (all start at 0).
    std::vector<int> maxima;
    bool takesRooms;
};

const std::vector<OperationSyntax>& Syntax() {
    static const std::vector<OperationSyntax> syntax{
        {EditOperationKind::Level, "level", "N", {kLevelCount - 1}, false},
        {EditOperationKind::InsertHallway,
         "insert-hallway",
         "H ENEMYBANK PALETTESET TRANSITION ROOM...",
         {kHallwaySlots - 1, 255, 255, 15},
         true},
        {EditOperationKind::ReplaceHallway,
         "replace-hallway",
         "H ENEMYBANK PALETTESET TRANSITION ROOM...",
         {kHallwaySlots - 1, 255, 255, 15},
         true},
        {EditOperationKind::RemoveHallway, "remove-hallway", "H", {kHallwaySlots - 1}, false},
        {EditOperationKind::SetHallwayRoom,
         "set-hallway-room",
         "H I ROOM",
         {kHallwaySlots - 1, 15, 255},
         false},
        {EditOperationKind::SetHallway,
         "set-hallway",
         "H ENEMYBANK PALETTESET TRANSITION",
         {kHallwaySlots - 1, 255, 255, 15},
         false},
        {EditOperationKind::AddEnemy, "add-enemy", "X Y POSITION ID", {255, 255, 255, 255}, false},
        {EditOperationKind::DeleteEnemy, "delete-enemy", "INDEX", {kEnemySlots - 1}, false},
        {EditOperationKind::SetEnemy,
         "set-enemy",
         "INDEX X Y POSITION ID",
         {kEnemySlots - 1, 255, 255, 255, 255},
         false},
        {EditOperationKind::RemoveRoomPosition,
         "remove-room-position",
         "H I",
         {kHallwaySlots - 1, 15},
         false},
        {EditOperationKind::InsertRoomPosition,
         "insert-room-position",
         "H I",
         {kHallwaySlots - 1, 15},
         false},
    };
    return syntax;
}

constexpr int kMostRooms = 16; // lastRoom is a nibble

// Messages quote at most this many characters of a word.
constexpr std::size_t kMostShownCharacters = 40;

// A word as messages show it: its first kMostShownCharacters characters, then "..." when it is
// longer; bytes that do not print are written as \xNN.
std::string Shown(std::string_view word) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    for (const char c : word.substr(0, kMostShownCharacters)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F) {
            text += "\\x";
            text.push_back(digits[byte >> 4]);
            text.push_back(digits[byte & 0x0F]);
        } else {
            text.push_back(c);
        }
    }
    if (word.size() > kMostShownCharacters) {
        text += "...";
    }
    return text;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::vector<std::string_view> SplitWords(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i])) {
            ++i;
        }
        if (i > start) {
            words.push_back(line.substr(start, i - start));
        }
    }
    return words;
}

// A decimal or 0x-hex number without sign; nullopt for anything else. Numbers too large for
// 64 bits come back as the largest value, so that they are reported as out of range.
std::optional<unsigned long long> ParseWord(std::string_view word) {
    int base = 10;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        base = 16;
        word.remove_prefix(2);
    }
    if (word.empty()) {
        return std::nullopt;
    }
    unsigned long long value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, base);
    if (end != word.data() + word.size()) {
        return std::nullopt;
    }
    if (error == std::errc::result_out_of_range) {
        return ~0ull;
    }
    if (error != std::errc()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> ParseLine(const std::vector<std::string_view>& words,
                                     EditOperation& operation) {
    const OperationSyntax* syntax = nullptr;
    for (const OperationSyntax& candidate : Syntax()) {
        if (candidate.name == words[0]) {
            syntax = &candidate;
        }
    }
    if (syntax == nullptr) {
        return "unknown operation \"" + Shown(words[0]) + "\"";
    }
    const std::string usage = std::string(syntax->name) + " " + std::string(syntax->arguments);
    const std::size_t fixed = syntax->maxima.size();
    const std::size_t given = words.size() - 1;
    if (given < fixed + (syntax->takesRooms ? 1 : 0)) {
        return "too few arguments (expected: " + usage + ")";
    }
    if ((!syntax->takesRooms && given > fixed) ||
        (syntax->takesRooms && given > fixed + kMostRooms)) {
        return "too many arguments (expected: " + usage +
               (syntax->takesRooms ? ", at most 16 rooms)" : ")");
    }
    operation.kind = syntax->kind;
    for (std::size_t k = 1; k < words.size(); ++k) {
        const auto value = ParseWord(words[k]);
        const int maximum = k <= fixed ? syntax->maxima[k - 1] : 255;
        if (!value) {
            return "\"" + Shown(words[k]) + "\" is not a number (decimal or 0x-hex)";
        }
        if (*value > static_cast<unsigned long long>(maximum)) {
            return "argument " + std::to_string(k) + " (" + Shown(words[k]) +
                   ") is out of range 0.." + std::to_string(maximum);
        }
        if (k <= fixed) {
            operation.arguments[k - 1] = static_cast<int>(*value);
        } else {
            operation.rooms.push_back(static_cast<std::uint8_t>(*value));
        }
    }
    return std::nullopt;
}

std::uint32_t Packed(int x, int y, int position, int id) {
    return EnemyPlacement{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                          static_cast<std::uint8_t>(position), static_cast<std::uint8_t>(id)}
        .Packed();
}

} // namespace

std::string_view OperationName(EditOperationKind kind) {
    for (const OperationSyntax& syntax : Syntax()) {
        if (syntax.kind == kind) {
            return syntax.name;
        }
    }
    return "?";
}

EditScript ParseEditScript(std::string_view text) {
    EditScript script;
    int lineNumber = 0;
    while (!text.empty() || lineNumber == 0) {
        ++lineNumber;
        const std::size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
        const std::size_t comment = line.find('#');
        if (comment != std::string_view::npos) {
            line = line.substr(0, comment);
        }
        const auto words = SplitWords(line);
        if (words.empty()) {
            continue;
        }
        EditOperation operation;
        operation.lineNumber = lineNumber;
        if (auto problem = ParseLine(words, operation)) {
            script.operations.clear();
            script.error = EditScriptError{lineNumber, std::move(*problem)};
            return script;
        }
        script.operations.push_back(std::move(operation));
    }
    return script;
}

std::string ApplyEditOperation(const EditOperation& operation, GameData& data, int& level) {
    const auto& a = operation.arguments;
    if (operation.kind == EditOperationKind::Level) {
        level = a[0];
        return "-";
    }
    LevelRecord& record = data.levels.at(static_cast<std::size_t>(level));
    switch (operation.kind) {
    case EditOperationKind::InsertHallway:
    case EditOperationKind::ReplaceHallway: {
        const Hallway hallway{static_cast<std::uint8_t>(a[1]), static_cast<std::uint8_t>(a[2]),
                              static_cast<std::uint8_t>(a[3]),
                              static_cast<std::uint8_t>(operation.rooms.size() - 1)};
        const HallwayResult result = operation.kind == EditOperationKind::InsertHallway
                                         ? record.InsertHallway(a[0], operation.rooms, hallway)
                                         : record.ReplaceHallway(a[0], operation.rooms, hallway);
        return std::to_string(static_cast<int>(result));
    }
    case EditOperationKind::RemoveHallway:
        return std::to_string(static_cast<int>(record.RemoveHallway(a[0])));
    case EditOperationKind::SetHallwayRoom:
        return std::to_string(
            static_cast<int>(record.SetHallwayRoom(a[0], a[1], static_cast<std::uint8_t>(a[2]))));
    case EditOperationKind::SetHallway: {
        // The hallway keeps its rooms; a hallway number out of range is refused by the model.
        const std::uint8_t lastRoom = record.hallways[static_cast<std::size_t>(a[0])].lastRoom;
        const Hallway hallway{static_cast<std::uint8_t>(a[1]), static_cast<std::uint8_t>(a[2]),
                              static_cast<std::uint8_t>(a[3]), lastRoom};
        return std::to_string(static_cast<int>(record.SetHallwayEntry(a[0], hallway)));
    }
    case EditOperationKind::AddEnemy:
        return std::to_string(record.AddEnemy(Packed(a[0], a[1], a[2], a[3])));
    case EditOperationKind::DeleteEnemy:
        return std::to_string(record.DeleteEnemy(a[0]));
    case EditOperationKind::SetEnemy:
        return std::to_string(record.SetEnemy(a[0], Packed(a[1], a[2], a[3], a[4])));
    case EditOperationKind::RemoveRoomPosition:
        record.RemoveRoomPositionFromEnemies(a[0], a[1]);
        return "-";
    case EditOperationKind::InsertRoomPosition:
        record.InsertRoomPositionIntoEnemies(a[0], a[1]);
        return "-";
    case EditOperationKind::Level:
        break;
    }
    return "-";
}

} // namespace korvane
