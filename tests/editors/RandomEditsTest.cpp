// Long random sequences of clicks, copies, pastes, choices, undos and redos give the record
// that the same edits give when applied directly to a copy of the level.
#include "EditorTestSupport.h"
#include "editors/CAssemblyEditorDlg.h"
#include "editors/CBlockEditorDlg.h"
#include "editors/CRoomEditorDlg.h"

#include <functional>
#include <optional>
#include <random>

namespace korvane {
namespace {

using test::Canvas;
using test::ClickItem;
using test::Find;

enum class Kind { Block, Assembly, Room };

// The editor's layout as seen from outside: canvas ids, how many items show in a row and
// column at scroll 0, and item sizes in screen pixels.
struct Layout {
    Kind kind;
    int itemsId, itemColumns, itemRows, itemPixels, itemsPerContentRow;
    int editId, cellColumns, cellPixels;
    int partsId, partPixels;
};

constexpr Layout kBlock{Kind::Block, 1007, 16, 16, 16, 16, 1098, 2, 32, 1017, 16};
// 8 of 32 assembly columns and 2 of 4 room columns are visible without scrolling.
constexpr Layout kAssembly{Kind::Assembly, 1006, 8, 8, 32, 32, 1049, 2, 32, 1007, 16};
constexpr Layout kRoom{Kind::Room, 1050, 2, 8, 64, 4, 1051, 8, 32, 1006, 32};

// The bytes of item i, straight from the record's fields.
std::vector<std::uint8_t*> UnitBytes(Kind kind, LevelRecord& level, int item) {
    const auto i = static_cast<std::size_t>(item);
    std::vector<std::uint8_t*> bytes;
    switch (kind) {
    case Kind::Block:
        for (std::uint8_t& tile : level.blocks[i].tiles) {
            bytes.push_back(&tile);
        }
        bytes.push_back(&level.blocks[i].attributes);
        break;
    case Kind::Assembly:
        for (std::uint8_t& block : level.assemblies[i].blocks) {
            bytes.push_back(&block);
        }
        break;
    case Kind::Room:
        for (std::uint8_t& cell : level.rooms[i].cells) {
            bytes.push_back(&cell);
        }
        break;
    }
    return bytes;
}

// The model: the level as the edits leave it, with the undo history.
struct Model {
    Kind kind;
    std::vector<LevelRecord> history;
    std::size_t index = 0;
    int item = 0;
    int part = 0;
    bool paint = true;
    std::optional<std::vector<std::uint8_t>> clipboard;

    const LevelRecord& level() const { return history[index]; }
    void Change(const std::function<void(LevelRecord&)>& edit) {
        LevelRecord next = level();
        edit(next);
        if (next == level()) {
            return; // no change, no step
        }
        history.resize(index + 1);
        history.push_back(next);
        ++index;
    }
};

void RunRandomEdits(
    const Layout& layout,
    const std::function<std::unique_ptr<CEditorDialog>(DisplayContext&, LevelRecord&)>& open,
    std::uint32_t seed) {
    test::EditorDisplay display;
    auto level = test::DemoLevel(static_cast<int>(seed % 16));
    Model model{layout.kind, {*level}, 0, 0, 0, true, std::nullopt};
    std::unique_ptr<CEditorDialog> dialog = open(display.context, *level);
    dialog->show();
    std::mt19937 random(seed);
    auto pick = [&random](int count) {
        return std::uniform_int_distribution<int>(0, count - 1)(random);
    };
    const int choices = layout.kind == Kind::Block ? 11 : 9;
    for (int step = 0; step < 400; ++step) {
        switch (pick(choices)) {
        case 0:
        case 1: { // an item
            const int column = pick(layout.itemColumns);
            const int row = pick(layout.itemRows);
            ClickItem(Canvas(*dialog, layout.itemsId), column, row, layout.itemPixels);
            model.item = row * layout.itemsPerContentRow + column;
            break;
        }
        case 2: { // a part
            const int part = pick(256);
            const int perRow = 16; // tiles, blocks and assemblies are all laid out 16 to a row
            ClickItem(Canvas(*dialog, layout.partsId), part % perRow, part / perRow,
                      layout.partPixels);
            model.part = part;
            break;
        }
        case 3:
        case 4: { // a cell of the edit canvas
            const int column = pick(layout.cellColumns);
            const int row = pick(layout.cellColumns);
            ClickItem(Canvas(*dialog, layout.editId), column, row, layout.cellPixels);
            const auto cell = static_cast<std::size_t>(row * layout.cellColumns + column);
            if (model.paint) {
                model.Change([&](LevelRecord& next) {
                    *UnitBytes(model.kind, next, model.item)[cell] =
                        static_cast<std::uint8_t>(model.part);
                });
            } else {
                LevelRecord current = model.level();
                model.part = *UnitBytes(model.kind, current, model.item)[cell];
            }
            break;
        }
        case 5: // a tool
            model.paint = pick(2) == 0;
            test::ClickButton(*dialog, model.paint ? 1031 : 1035);
            break;
        case 6: { // Copy or Paste
            if (pick(2) == 0) {
                test::ClickButton(*dialog, 1032);
                LevelRecord current = model.level();
                std::vector<std::uint8_t> unit;
                for (std::uint8_t* byte : UnitBytes(model.kind, current, model.item)) {
                    unit.push_back(*byte);
                }
                model.clipboard = unit;
            } else {
                test::ClickButton(*dialog, 1033);
                if (model.clipboard) {
                    model.Change([&](LevelRecord& next) {
                        const auto bytes = UnitBytes(model.kind, next, model.item);
                        for (std::size_t i = 0; i < bytes.size(); ++i) {
                            *bytes[i] = (*model.clipboard)[i];
                        }
                    });
                }
            }
            break;
        }
        case 7: // Undo
            test::ClickNamedButton(*dialog, "undo");
            if (model.index > 0) {
                --model.index;
            }
            break;
        case 8: // Redo
            test::ClickNamedButton(*dialog, "redo");
            if (model.index + 1 < model.history.size()) {
                ++model.index;
            }
            break;
        case 9: { // the block type
            const int type = pick(16);
            test::Choose(Find<QComboBox>(*dialog, 1025), type);
            model.Change([&](LevelRecord& next) {
                std::uint8_t& a = next.blocks[static_cast<std::size_t>(model.item)].attributes;
                a = static_cast<std::uint8_t>((a & 0x0F) | (type << 4));
            });
            break;
        }
        case 10: { // the block palette
            const int row = pick(4);
            test::ClickRow(Find<CColourListControl>(*dialog, 1018), row, 16);
            model.Change([&](LevelRecord& next) {
                std::uint8_t& a = next.blocks[static_cast<std::size_t>(model.item)].attributes;
                a = static_cast<std::uint8_t>((a & 0xF0) | row);
            });
            break;
        }
        default:
            break;
        }
        ASSERT_EQ(dialog->selectedItem(), model.item) << "step " << step;
        ASSERT_EQ(dialog->selectedPart(), model.part) << "step " << step;
        ASSERT_EQ(dialog->workingCopy(), model.level()) << "step " << step;
    }
    EXPECT_EQ(dialog->undoStack().count(), static_cast<int>(model.history.size()) - 1);
    test::ClickButton(*dialog, 1);
    EXPECT_EQ(*level, model.level());
}

TEST(RandomEditsTest, BlockEditor) {
    for (std::uint32_t seed : {1u, 2u}) {
        RunRandomEdits(
            kBlock,
            [](DisplayContext& d, LevelRecord& l) {
                return std::make_unique<CBlockEditorDlg>(d, l);
            },
            seed);
    }
}

TEST(RandomEditsTest, AssemblyEditor) {
    RunRandomEdits(
        kAssembly,
        [](DisplayContext& d, LevelRecord& l) {
            return std::make_unique<CAssemblyEditorDlg>(d, l);
        },
        3);
}

TEST(RandomEditsTest, RoomEditor) {
    RunRandomEdits(
        kRoom,
        [](DisplayContext& d, LevelRecord& l) { return std::make_unique<CRoomEditorDlg>(d, l); },
        4);
}

} // namespace
} // namespace korvane
