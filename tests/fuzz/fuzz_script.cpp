// The edit script reader on arbitrary text, then the operations it accepts run on the demo
// cartridge's model, as `korvane-cli edit` runs them.
//
// Checked: a refused script names a line it has and quotes it briefly (no message grows with the
// input); an accepted one holds only operations whose arguments are in their ranges, in the
// order of their lines, and reads back the same when written out again; each operation's result
// is "-" or a number, a refusal (a negative number) changes nothing, the usage counts equal a
// recount, and the saved model, decoded again, gives back the hallway and enemy tables.
#include "DemoCartridge.h"
#include "EditScript.h"
#include "FuzzScript.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <string>
#include <string_view>

namespace {

using namespace korvane;
using fuzz::Require;

// The longest message a malformed line may give: the longest fixed text and a word quoted by at
// most 40 characters, each written as \xNN.
constexpr std::size_t kLongestMessage = 120 + 40 * 4 + 3;

struct Arity {
    EditOperationKind kind;
    std::size_t fixed;
    std::array<int, 5> maxima;
    bool rooms;
};

// The operations with their fixed arguments' upper bounds, as the README's table lists them.
constexpr std::array<Arity, 11> kArities{{
    {EditOperationKind::Level, 1, {15}, false},
    {EditOperationKind::InsertHallway, 4, {15, 255, 255, 15}, true},
    {EditOperationKind::ReplaceHallway, 4, {15, 255, 255, 15}, true},
    {EditOperationKind::RemoveHallway, 1, {15}, false},
    {EditOperationKind::SetHallwayRoom, 3, {15, 15, 255}, false},
    {EditOperationKind::SetHallway, 4, {15, 255, 255, 15}, false},
    {EditOperationKind::AddEnemy, 4, {255, 255, 255, 255}, false},
    {EditOperationKind::DeleteEnemy, 1, {255}, false},
    {EditOperationKind::SetEnemy, 5, {255, 255, 255, 255, 255}, false},
    {EditOperationKind::RemoveRoomPosition, 2, {15, 15}, false},
    {EditOperationKind::InsertRoomPosition, 2, {15, 15}, false},
}};

const Arity& ArityOf(EditOperationKind kind) {
    const auto found = std::find_if(kArities.begin(), kArities.end(),
                                    [kind](const Arity& arity) { return arity.kind == kind; });
    Require(found != kArities.end(), "an operation of no known kind");
    return *found;
}

void CheckOperation(const EditOperation& operation) {
    const Arity& arity = ArityOf(operation.kind);
    for (std::size_t k = 0; k < operation.arguments.size(); ++k) {
        const int value = operation.arguments[k];
        Require(k < arity.fixed ? value >= 0 && value <= arity.maxima[k] : value == 0,
                "an argument out of its range");
    }
    Require(arity.rooms ? !operation.rooms.empty() && operation.rooms.size() <= 16
                        : operation.rooms.empty(),
            "a room list of the wrong length");
}

// The operation as a script line again, numbers alternately decimal and hex.
std::string LineOf(const EditOperation& operation) {
    const Arity& arity = ArityOf(operation.kind);
    std::string line(OperationName(operation.kind));
    bool hex = false;
    const auto add = [&](int value) {
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, value, hex ? 16 : 10).ptr;
        line += hex ? " 0x" : "\t";
        line.append(digits, end);
        hex = !hex;
    };
    for (std::size_t k = 0; k < arity.fixed; ++k) {
        add(operation.arguments[k]);
    }
    for (const std::uint8_t room : operation.rooms) {
        add(room);
    }
    return line + "  # again\n";
}

bool IsResult(const std::string& result) {
    if (result == "-") {
        return true;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(result.data(), result.data() + result.size(), value);
    return error == std::errc() && end == result.data() + result.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::unique_ptr<RomImage> demo = MakeDemoCartridge(1);
    static const auto decoded = [] {
        auto model = std::make_unique<GameData>();
        model->Decode(*demo);
        return model;
    }();
    static auto model = std::make_unique<GameData>();
    static auto encoded = std::make_unique<RomImage>();
    static auto reopened = std::make_unique<GameData>();
    static LevelRecord before;
    static LevelRecord probe;

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const EditScript script = ParseEditScript(text);
    if (script.error) {
        const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
        Require(script.operations.empty(), "a refused script kept operations");
        Require(script.error->lineNumber >= 1 && script.error->lineNumber <= lines,
                "the refusal names a line the script does not have");
        Require(!script.error->message.empty() && script.error->message.size() <= kLongestMessage,
                "the refusal's message is empty or grows with the input");
        return 0;
    }
    std::string again;
    int lastLine = 0;
    for (const EditOperation& operation : script.operations) {
        CheckOperation(operation);
        Require(operation.lineNumber > lastLine, "operations out of line order");
        lastLine = operation.lineNumber;
        again += LineOf(operation);
    }
    const EditScript reread = ParseEditScript(again);
    Require(!reread.error && reread.operations.size() == script.operations.size(),
            "the operations written out again do not read back");
    for (std::size_t n = 0; n < reread.operations.size(); ++n) {
        EditOperation copy = reread.operations[n];
        copy.lineNumber = script.operations[n].lineNumber;
        Require(copy == script.operations[n], "an operation written out again reads differently");
    }

    *model = *decoded;
    int level = 0;
    for (const EditOperation& operation : script.operations) {
        const std::size_t worked = static_cast<std::size_t>(level);
        before = model->levels[worked];
        const std::string result = ApplyEditOperation(operation, *model, level);
        Require(IsResult(result), "a result that is neither - nor a number");
        Require(level >= 0 && level < kLevelCount, "the script's level left the cartridge");
        LevelRecord& record = model->levels[worked];
        if (result[0] == '-' && result.size() > 1) {
            Require(record == before, "a refused operation changed the level");
        }
        probe = record;
        probe.RecountUsage();
        Require(probe == record, "usage counts differ from a recount");
    }

    *encoded = *demo;
    model->Encode(*encoded);
    reopened->Decode(*encoded);
    for (std::size_t n = 0; n < kLevelCount; ++n) {
        const LevelRecord& held = model->levels[n];
        const LevelRecord& read = reopened->levels[n];
        Require(read.hallwayCount == held.hallwayCount && read.hallways == held.hallways &&
                    read.roomOrder == held.roomOrder,
                "the saved hallways read back differently");
        Require(read.enemyCount == held.enemyCount && read.enemies == held.enemies,
                "the saved enemies read back differently");
    }
    return 0;
}
