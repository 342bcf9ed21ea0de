#include "CRenderer.h"

#include "NesColours.h"
#include "PaletteEffects.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace korvane {

namespace {

constexpr int kRoomCells = 32;      // a room is 32 x 32 cells
constexpr int kRoomAssemblies = 8;  // and 8 x 8 assemblies
constexpr int kBlockTypeCount = 16; // selectors 0-15 name a block type
constexpr int kLastTypeOfBlockCanvas = 8;

} // namespace

std::uint32_t ShadeVariant(std::uint32_t surfaceColour, int variant) {
    if (variant <= kVariantNormal || variant > kVariantSelected) {
        return surfaceColour;
    }
    const std::uint32_t r = (surfaceColour >> 16) & 0xFF;
    const std::uint32_t g = (surfaceColour >> 8) & 0xFF;
    const std::uint32_t b = surfaceColour & 0xFF;
    const std::uint32_t light = ((r + g + b) / 3) / 2;
    const std::uint32_t high = light + 0x80;
    const bool greenHigh = variant != kVariantSelected;
    const bool blueHigh = variant == kVariantShaded;
    return high << 16 | (greenHigh ? high : light) << 8 | (blueHigh ? high : light);
}

CRenderer::CRenderer() {
    RebuildColourTable();
}

void CRenderer::SetInvalidateCallback(std::function<void()> invalidate) {
    invalidate_ = std::move(invalidate);
}

void CRenderer::Invalidate() {
    if (invalidate_) {
        invalidate_();
    }
}

void CRenderer::SetLevelData(const LevelRecord& level) {
    level_ = level;
}

void CRenderer::SetTilePatterns(std::span<const std::uint8_t, kTileBytes> tiles) {
    std::copy(tiles.begin(), tiles.end(), tiles_.begin());
}

const LevelRecord& CRenderer::levelData() const {
    return level_;
}
LevelRecord& CRenderer::levelData() {
    return level_;
}
const std::array<std::uint8_t, kTileBytes>& CRenderer::tilePatterns() const {
    return tiles_;
}

void CRenderer::SetGridSize(int width, int height) {
    drawnRooms_.layer = RoomLayer::None;
    allCellsChanged_ = true;
    if (width <= 0 || height <= 0) {
        gridWidth_ = 0;
        gridHeight_ = 0;
        cells_.clear();
        return;
    }
    gridWidth_ = width;
    gridHeight_ = height;
    cells_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                  RendererCell{});
}

int CRenderer::gridWidth() const {
    return gridWidth_;
}
int CRenderer::gridHeight() const {
    return gridHeight_;
}

const RendererCell& CRenderer::cell(int x, int y) const {
    static const RendererCell kEmpty{};
    if (x < 0 || y < 0 || x >= gridWidth_ || y >= gridHeight_) {
        return kEmpty;
    }
    return cells_[static_cast<std::size_t>(y) * static_cast<std::size_t>(gridWidth_) +
                  static_cast<std::size_t>(x)];
}

void CRenderer::PutCell(int x, int y, int tile, int palette, bool shade) {
    drawnRooms_.layer = RoomLayer::None;
    if (x < 0 || y < 0 || x >= gridWidth_ || y >= gridHeight_) {
        return;
    }
    const std::size_t index = static_cast<std::size_t>(y) * static_cast<std::size_t>(gridWidth_) +
                              static_cast<std::size_t>(x);
    MarkChanged(index);
    RendererCell& target = cells_[index];
    const auto first = static_cast<std::size_t>(tile & 0xFF) * 16;
    std::memcpy(target.pattern.data(), tiles_.data() + first, 16);
    if (palette >= 0) {
        target.palette = static_cast<std::uint8_t>(palette & 3);
    }
    target.shaded = shade ? 1 : 0;
}

void CRenderer::RedrawingEveryCell() {
    drawnRooms_.layer = RoomLayer::None;
    allCellsChanged_ = true;
}

void CRenderer::MarkChanged(std::size_t cell) {
    // Past this many the next frame draws every cell: it costs less than sorting them out.
    constexpr std::size_t kMostChangedCells = 4096;
    if (allCellsChanged_) {
        return;
    }
    if (changedCells_.size() >= kMostChangedCells) {
        allCellsChanged_ = true;
        changedCells_.clear();
        return;
    }
    changedCells_.push_back(cell);
}

void CRenderer::SetPalettePage(int page) {
    // Only the low byte counts; there are five sets, and any other page shows set 0.
    int chosen = page & 0xFF;
    if (chosen >= kPaletteSetCount) {
        chosen = 0;
    }
    palettePage_ = chosen;
    const PaletteSet& set = level_.paletteSets[static_cast<std::size_t>(chosen)];
    std::copy_n(set.bytes.begin(), pageColours_.size(), pageColours_.begin());
    RebuildColourTable();
}

int CRenderer::palettePage() const {
    return palettePage_;
}

void CRenderer::RebuildColourTable() {
    for (std::size_t entry = 0; entry < 16; ++entry) {
        const std::uint32_t c = NesToSurfaceColour(pageColours_[entry]);
        for (std::size_t v = 0; v < 4; ++v) {
            const std::uint32_t shaded = ShadeVariant(c, static_cast<int>(v));
            surfaceColours_[v * 16 + entry] = shaded;
            colours565_[v * 16 + entry] = SurfaceColourTo565(shaded);
        }
    }
    rasteriser_.SetColours(surfaceColours_, colours565_);
}

std::uint32_t CRenderer::SurfaceColour(int variant, int palette, int value) const {
    return surfaceColours_[static_cast<std::size_t>((variant & 3) * 16 + (palette & 3) * 4 +
                                                    (value & 3))];
}

std::uint16_t CRenderer::Colour565(int variant, int palette, int value) const {
    return colours565_[static_cast<std::size_t>((variant & 3) * 16 + (palette & 3) * 4 +
                                                (value & 3))];
}

void CRenderer::SetHighlight(int selector) {
    highlight_ = selector;
}
int CRenderer::highlight() const {
    return highlight_;
}
void CRenderer::SetTilePalette(int palette) {
    tilePalette_ = palette;
}
void CRenderer::SetCurrentHallway(int hallway) {
    currentHallway_ = hallway;
}
void CRenderer::SetCurrentRoom(int room) {
    currentRoom_ = room;
}
void CRenderer::SetCurrentAssembly(int assembly) {
    currentAssembly_ = assembly;
}
void CRenderer::SetCurrentBlock(int block) {
    currentBlock_ = block;
}
int CRenderer::currentHallway() const {
    return currentHallway_;
}
int CRenderer::currentRoom() const {
    return currentRoom_;
}
int CRenderer::currentAssembly() const {
    return currentAssembly_;
}
int CRenderer::currentBlock() const {
    return currentBlock_;
}
int CRenderer::tilePalette() const {
    return tilePalette_;
}

bool CRenderer::ShadeFor(LayerKind kind, const Block& block, int useCount) const {
    const int selector = highlight_;
    if (selector == kHighlightUnused) {
        return kind != LayerKind::Hallway && useCount != 0;
    }
    if (selector < 0) {
        return false;
    }
    if (selector >= kBlockTypeCount) {
        return true;
    }
    if (kind == LayerKind::Block && selector > kLastTypeOfBlockCanvas) {
        return true;
    }
    return block.blockType() != selector;
}

void CRenderer::PutBlock(int blockX, int blockY, int blockNumber, LayerKind kind, int useCount) {
    const Block& block = level_.blocks[static_cast<std::size_t>(blockNumber & 0xFF)];
    const bool shade = ShadeFor(kind, block, useCount);
    const int x = 2 * blockX;
    const int y = 2 * blockY;
    if (x >= 0 && y >= 0 && x + 1 < gridWidth_ && y + 1 < gridHeight_) {
        // The whole block lies inside the grid: its four cells are written directly.
        const auto width = static_cast<std::size_t>(gridWidth_);
        const std::size_t topIndex =
            static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x);
        for (const std::size_t index :
             {topIndex, topIndex + 1, topIndex + width, topIndex + width + 1}) {
            MarkChanged(index);
        }
        RendererCell* top = &cells_[topIndex];
        RendererCell* const cells[4] = {top, top + 1, top + width, top + width + 1};
        const auto palette = static_cast<std::uint8_t>(block.palette());
        for (std::size_t k = 0; k < 4; ++k) {
            RendererCell& target = *cells[k];
            std::memcpy(target.pattern.data(),
                        tiles_.data() + static_cast<std::size_t>(block.tiles[k]) * 16, 16);
            target.palette = palette;
            target.shaded = shade ? 1 : 0;
        }
        return;
    }
    for (int k = 0; k < 4; ++k) {
        PutCell(2 * blockX + k % 2, 2 * blockY + k / 2, block.tiles[static_cast<std::size_t>(k)],
                block.palette(), shade);
    }
}

void CRenderer::PutAssembly(int assemblyX, int assemblyY, int assemblyNumber, LayerKind kind,
                            int useCount) {
    const Assembly& assembly = level_.assemblies[static_cast<std::size_t>(assemblyNumber & 0xFF)];
    for (int j = 0; j < 4; ++j) {
        PutBlock(2 * assemblyX + j % 2, 2 * assemblyY + j / 2,
                 assembly.blocks[static_cast<std::size_t>(j)], kind, useCount);
    }
}

void CRenderer::PutRoom(int roomNumber, int assemblyX, int assemblyY, int columns, int rows,
                        LayerKind kind, int useCount) {
    // A room holds 8 x 8 assemblies: cells past them, and rooms past the 32, are not drawn.
    if (roomNumber < 0 || roomNumber >= kRoomCount) {
        return;
    }
    const Room& room = level_.rooms[static_cast<std::size_t>(roomNumber)];
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const int index = row * columns + column;
            if (index >= static_cast<int>(room.cells.size())) {
                continue;
            }
            PutAssembly(assemblyX + column, assemblyY + row,
                        room.cells[static_cast<std::size_t>(index)], kind, useCount);
        }
    }
}

void CRenderer::DrawAllTiles() {
    RedrawingEveryCell();
    for (int y = 0; y < gridHeight_; ++y) {
        for (int x = 0; x < gridWidth_; ++x) {
            const int tile = y * gridWidth_ + x;
            if (tile > 0xFF) {
                continue; // there are 256 tiles
            }
            const bool shade = highlight_ == kHighlightUnused &&
                               level_.tileUse[static_cast<std::size_t>(tile)] != 0;
            PutCell(x, y, tile, tilePalette_, shade);
        }
    }
    Invalidate();
}

void CRenderer::DrawBlock() {
    RedrawingEveryCell();
    const int block = currentBlock_ & 0xFF;
    const int use = level_.blockUse[static_cast<std::size_t>(block)];
    for (int by = 0; by < gridHeight_ / 2; ++by) {
        for (int bx = 0; bx < gridWidth_ / 2; ++bx) {
            PutBlock(bx, by, block, LayerKind::Block, use);
        }
    }
    Invalidate();
}

void CRenderer::DrawAllBlocks() {
    RedrawingEveryCell();
    const int columns = gridWidth_ / 2;
    for (int row = 0; row < gridHeight_ / 2; ++row) {
        for (int column = 0; column < columns; ++column) {
            const int block = (row * columns + column) % kBlockCount;
            PutBlock(column, row, block, LayerKind::Block,
                     level_.blockUse[static_cast<std::size_t>(block)]);
        }
    }
    Invalidate();
}

void CRenderer::DrawAssembly() {
    RedrawingEveryCell();
    const int assembly = currentAssembly_ & 0xFF;
    const int use = level_.assemblyUse[static_cast<std::size_t>(assembly)];
    for (int ay = 0; ay < gridHeight_ / 4; ++ay) {
        for (int ax = 0; ax < gridWidth_ / 4; ++ax) {
            PutAssembly(ax, ay, assembly, LayerKind::RoomOrAssembly, use);
        }
    }
    Invalidate();
}

void CRenderer::DrawAllAssemblies() {
    RedrawingEveryCell();
    const int columns = gridWidth_ / 4;
    for (int row = 0; row < gridHeight_ / 4; ++row) {
        for (int column = 0; column < columns; ++column) {
            const int assembly = row * columns + column;
            if (assembly >= kAssemblyCount) {
                continue;
            }
            PutAssembly(column, row, assembly, LayerKind::RoomOrAssembly,
                        level_.assemblyUse[static_cast<std::size_t>(assembly)]);
        }
    }
    Invalidate();
}

bool CRenderer::SameRoomLayer(RoomLayer layer) const {
    const DrawnRooms& drawn = drawnRooms_;
    return drawn.layer == layer && drawn.gridWidth == gridWidth_ &&
           drawn.gridHeight == gridHeight_ && drawn.highlight == highlight_ &&
           drawn.assemblies == level_.assemblies && drawn.blocks == level_.blocks &&
           drawn.tiles == tiles_;
}

bool CRenderer::RoomUseChanged(int room) const {
    // Only the unused highlight shades by use.
    const auto r = static_cast<std::size_t>(room);
    return highlight_ == kHighlightUnused && drawnRooms_.roomUse[r] != level_.roomUse[r];
}

void CRenderer::RememberRoomLayer(RoomLayer layer) {
    DrawnRooms& drawn = drawnRooms_;
    drawn.layer = layer;
    drawn.gridWidth = gridWidth_;
    drawn.gridHeight = gridHeight_;
    drawn.highlight = highlight_;
    drawn.room = currentRoom_;
    drawn.rooms = level_.rooms;
    drawn.assemblies = level_.assemblies;
    drawn.blocks = level_.blocks;
    drawn.tiles = tiles_;
    drawn.roomUse = level_.roomUse;
}

void CRenderer::DrawRoom() {
    if (currentRoom_ >= 0 && currentRoom_ < kRoomCount) {
        const auto r = static_cast<std::size_t>(currentRoom_);
        const int columns = gridWidth_ / 4;
        const int rows = gridHeight_ / 4;
        const int use = level_.roomUse[r];
        if (SameRoomLayer(RoomLayer::Room) && drawnRooms_.room == currentRoom_ &&
            !RoomUseChanged(currentRoom_)) {
            // Only the assemblies that changed, where PutRoom puts them.
            const Room& before = drawnRooms_.rooms[r];
            const Room& now = level_.rooms[r];
            for (int row = 0; row < rows; ++row) {
                for (int column = 0; column < columns; ++column) {
                    const auto index = static_cast<std::size_t>(row * columns + column);
                    if (index < now.cells.size() && before.cells[index] != now.cells[index]) {
                        PutAssembly(column, row, now.cells[index], LayerKind::RoomOrAssembly, use);
                    }
                }
            }
        } else {
            RedrawingEveryCell();
            PutRoom(currentRoom_, 0, 0, columns, rows, LayerKind::RoomOrAssembly, use);
        }
        RememberRoomLayer(RoomLayer::Room);
    } else {
        drawnRooms_.layer = RoomLayer::None;
    }
    Invalidate();
}

void CRenderer::DrawAllRooms() {
    const int perRow = gridWidth_ / kRoomCells;
    if (perRow > 0) {
        const bool same = SameRoomLayer(RoomLayer::AllRooms);
        if (!same) {
            RedrawingEveryCell();
        }
        for (int r = 0; r < kRoomCount; ++r) {
            const auto room = static_cast<std::size_t>(r);
            const int assemblyX = kRoomAssemblies * (r % perRow);
            const int assemblyY = kRoomAssemblies * (r / perRow);
            if (same && !RoomUseChanged(r)) {
                // Only the assemblies that changed, where PutRoom puts them.
                const Room& before = drawnRooms_.rooms[room];
                const Room& now = level_.rooms[room];
                for (std::size_t i = 0; i < now.cells.size(); ++i) {
                    if (before.cells[i] != now.cells[i]) {
                        const int index = static_cast<int>(i);
                        PutAssembly(assemblyX + index % kRoomAssemblies,
                                    assemblyY + index / kRoomAssemblies, now.cells[i],
                                    LayerKind::RoomOrAssembly, level_.roomUse[room]);
                    }
                }
                continue;
            }
            PutRoom(r, assemblyX, assemblyY, kRoomAssemblies, kRoomAssemblies,
                    LayerKind::RoomOrAssembly, level_.roomUse[room]);
        }
    }
    RememberRoomLayer(RoomLayer::AllRooms);
    Invalidate();
}

void CRenderer::ForgetRetainedDrawing() {
    drawnRooms_.layer = RoomLayer::None;
    retained_.valid = false;
}

int CRenderer::HallwayStart(int h) const {
    int start = 0;
    for (int i = 0; i < std::min(h, kHallwaySlots); ++i) {
        start += level_.hallways[static_cast<std::size_t>(i)].lastRoom + 1;
    }
    return start;
}

int CRenderer::HallwayRoomCount(int h) const {
    if (h < 0 || h >= kHallwaySlots) {
        h = 0;
    }
    return level_.hallways[static_cast<std::size_t>(h)].lastRoom + 1;
}

void CRenderer::DrawHallway() {
    RedrawingEveryCell();
    // The room count is read before a hallway beyond the count falls back to hallway 0.
    const int roomCount = HallwayRoomCount(currentHallway_);
    if (currentHallway_ < 0 || currentHallway_ >= level_.hallwayCount) {
        currentHallway_ = 0;
    }
    const Hallway& hallway = level_.hallways[static_cast<std::size_t>(currentHallway_)];
    SetPalettePage(hallway.paletteSet);
    const int start = HallwayStart(currentHallway_);
    const int roomWidth = gridWidth_ / roomCount;
    const int columns = roomWidth / 4;
    const int rows = gridHeight_ / 4;
    for (int i = 0; i < roomCount; ++i) {
        const int position = start + i;
        if (position >= kRoomOrderSize) {
            break; // beyond the room order: nothing to read
        }
        PutRoom(level_.roomOrder[static_cast<std::size_t>(position)], columns * i, 0, columns, rows,
                LayerKind::Hallway, 0);
    }
    Invalidate();
}

void CRenderer::SetHallway(int hallway, const LevelRecord* level, const std::uint8_t* tiles) {
    if (level != nullptr) {
        level_ = *level;
    }
    currentHallway_ = hallway >= 0 && hallway < level_.hallwayCount ? hallway : 0;
    const Hallway& chosen = level_.hallways[static_cast<std::size_t>(currentHallway_)];
    const int rooms = chosen.lastRoom >= kRoomCells ? 1 : chosen.lastRoom + 1;
    SetGridSize(kRoomCells * rooms, kRoomCells);
    if (tiles != nullptr) {
        std::memcpy(tiles_.data(), tiles, tiles_.size());
    }
    SetPalettePage(chosen.paletteSet);
    hallwayState_.hallwayMode = true;
    hallwayState_.showEnemies = true;
    hallwayState_.showCheckpoints = true;
    view_.scroll = 0;
}

void CRenderer::AnimationTick() {
    ++hallwayState_.tick;
    ApplyPaletteEffects(level_.paletteSets[static_cast<std::size_t>(palettePage_)],
                        hallwayState_.tick);
    DrawHallway();
}

CanvasViewState& CRenderer::view() {
    return view_;
}
const CanvasViewState& CRenderer::view() const {
    return view_;
}
SelectionFrameState& CRenderer::frame() {
    return frame_;
}
const SelectionFrameState& CRenderer::frame() const {
    return frame_;
}
GridState& CRenderer::grid() {
    return grid_;
}
const GridState& CRenderer::grid() const {
    return grid_;
}
HallwayState& CRenderer::hallway() {
    return hallwayState_;
}
const HallwayState& CRenderer::hallway() const {
    return hallwayState_;
}

void CRenderer::SelectItem(int item) {
    const int size = std::max(frame_.size, 1);
    const int perRow = std::max(gridWidth_ / size, 1);
    const int column = item % perRow;
    const int row = item / perRow;
    frame_.x = column * size - view_.scroll;
    frame_.y = row * size;
    frame_.firstColumn = frame_.x;
    frame_.lastColumn = frame_.x + size - 1;
    frame_.firstRow = frame_.y;
    frame_.lastRow = frame_.y + size - 1;
    itemUnderFrame_ = item;
    Invalidate();
}

int CRenderer::itemUnderFrame() const {
    return itemUnderFrame_;
}

} // namespace korvane
