// Frame rendering of the renderer: prepare and clear the frame surface, write the cells while
// it is locked, add the hallway overlays, zoom, draw the grid and the selection frame, present.

#include "CRenderer.h"

#include "NesColours.h"
#include "SurfacePixels.h"

#include <QPainter> // the drawing context holds a painter

#include <algorithm>
#include <cstring>
#include <vector>

namespace korvane {

namespace {

// A lock that keeps answering "still drawing" is given up after this many tries, so that a
// surface that never finishes cannot hang the program; the frame is then presented without
// its cells, as after any failed lock.
constexpr int kLockRetries = 100000;

} // namespace

bool CRenderer::Report(DisplayContext& context, DisplayCode code, int callId) {
    if (code == kDisplayOk) {
        return true;
    }
    if (code == dderr::kSurfaceLost && context.IsPrimaryLost()) {
        context.RestorePrimary();
    }
    context.ReportDisplayError(code, callId);
    return false;
}

HallwayView CRenderer::CurrentHallwayView() const {
    const int hallway = std::clamp(currentHallway_, 0, kHallwaySlots - 1);
    return {HallwayStart(hallway), level_.hallways[static_cast<std::size_t>(hallway)].lastRoom,
            view_.scroll, 8 * std::min(gridWidth_, view_.visibleWidth)};
}

bool CRenderer::PrepareFrame(DisplayContext& context, DisplaySurface& surface,
                             DisplayClipper& clipper, const void* window, int width, int height,
                             int zoomOut, std::uint32_t& clearValue) {
    if (surface.created()) {
        if (!Report(context, surface.SetClipper(nullptr, callid::kDetachClipper),
                    callid::kDetachClipper)) {
            return false;
        }
    }
    // The frame surface keeps the last frame's buffer when it is large enough; ClearFrame and
    // the cells then write every byte of it, so it holds what a new surface would.
    if (!Report(context,
                surface.CreateForFrame(context, width * zoomOut, height * zoomOut,
                                       callid::kCreateFrameSurface),
                callid::kCreateFrameSurface)) {
        return false;
    }
    const auto failed = [&surface] {
        // A new surface starts out zero; so does this one when the frame stops here.
        std::memset(surface.bits(), 0,
                    static_cast<std::size_t>(surface.pitch()) *
                        static_cast<std::size_t>(surface.height()));
        return false;
    };
    const DisplayRect clip{0, 0, width, height};
    if (!Report(context, clipper.SetClipList(clip, callid::kSetClipList), callid::kSetClipList) ||
        !Report(context, surface.SetClipper(&clipper, callid::kAttachFrameClipper),
                callid::kAttachFrameClipper)) {
        return failed();
    }
    int bitsPerPixel = 0;
    if (!Report(context, surface.GetPixelFormat(bitsPerPixel, callid::kFramePixelFormat),
                callid::kFramePixelFormat) ||
        !Report(context, context.primaryClipper().SetWindow(window, callid::kClipperWindow),
                callid::kClipperWindow)) {
        return failed();
    }
    // The clearing fill's answer, without its pixels: ClearFrame writes them once the lock
    // has told which parts the cells will cover.
    if (!Report(context, surface.Fill(DisplayRect{}, 0, callid::kClear), callid::kClear)) {
        return failed();
    }
    const int bytesPerPixel = surface.bytesPerPixel();
    const std::uint32_t mask = bytesPerPixel >= 4 ? 0xFFFFFFFFU : (1U << (8 * bytesPerPixel)) - 1U;
    clearValue = GdiColourToSurfaceValue(SystemMenuColour(), bitsPerPixel) & mask;
    return true;
}

int CRenderer::CellRows(int surfaceHeight, int zoomOut) const {
    const int rows = zoomOut * std::min(gridHeight_, view_.visibleHeight);
    return std::max(0, std::min(rows, (surfaceHeight + 7) / 8));
}

void CRenderer::CellColumns(int y, int width, int zoomOut, int& first, int& end) const {
    const int columns = zoomOut * std::min(gridWidth_, view_.visibleWidth);
    const long long rowStart =
        static_cast<long long>(view_.scroll) + static_cast<long long>(y) * gridWidth_;
    const long long cellCount = static_cast<long long>(cells_.size());
    // Columns while 8x < zoomOut * width, and only cells inside the grid.
    const long long last = std::min<long long>(
        {columns, (static_cast<long long>(zoomOut) * width + 7) / 8, cellCount - rowStart});
    const long long firstInside = std::max(0LL, -rowStart);
    if (last <= firstInside) {
        first = 0;
        end = 0;
        return;
    }
    first = static_cast<int>(firstInside); // both lie in 0 .. columns
    end = static_cast<int>(last);
}

namespace {

// Writes pixels from to end - 1 of a row: the clear value left of clearEnd, zero from there.
void ClearRowPart(std::uint8_t* row, int from, int end, int clearEnd, int bytesPerPixel,
                  std::uint32_t clearValue) {
    if (from >= end) {
        return;
    }
    const int split = std::clamp(clearEnd, from, end);
    pixels::FillSpan(row + static_cast<std::ptrdiff_t>(from) * bytesPerPixel, split - from,
                     bytesPerPixel, clearValue);
    if (split < end) {
        std::memset(row + static_cast<std::ptrdiff_t>(split) * bytesPerPixel, 0,
                    static_cast<std::size_t>(end - split) *
                        static_cast<std::size_t>(bytesPerPixel));
    }
}

} // namespace

void CRenderer::ClearFrame(DisplaySurface& surface, int width, int height, int zoomOut,
                           std::uint32_t clearValue, bool cellsDrawn) const {
    const int surfaceWidth = surface.width();
    const int surfaceHeight = surface.height();
    const int bytesPerPixel = surface.bytesPerPixel();
    const int pitch = surface.pitch();
    const int bpp = surface.bitsPerPixel();
    // The cell rasteriser draws at these depths only.
    const bool drawable = cellsDrawn && (bpp == 16 || bpp == 24 || bpp == 32);
    const int cellRows = drawable ? CellRows(surfaceHeight, zoomOut) : 0;
    // The fill covered the W x H area of the clip list.
    const int clearWidth = std::min(width, surfaceWidth);
    const int clearHeight = std::min(height, surfaceHeight);
    const int rowBytes = surfaceWidth * bytesPerPixel;
    std::uint8_t* bits = surface.bits();
    int coveredLeft = 0;
    int coveredRight = 0;
    for (int y = 0; y < surfaceHeight; ++y) {
        std::uint8_t* row = bits + static_cast<std::ptrdiff_t>(y) * pitch;
        if (y % 8 == 0) {
            coveredLeft = 0;
            coveredRight = 0;
            if (y / 8 < cellRows) {
                int first = 0;
                int end = 0;
                CellColumns(y / 8, width, zoomOut, first, end);
                if (end > first) {
                    coveredLeft = std::min(8 * first, surfaceWidth);
                    coveredRight = std::min(8 * end, surfaceWidth);
                }
            }
        }
        const int rowClear = y < clearHeight ? clearWidth : 0;
        if (coveredRight > coveredLeft) {
            ClearRowPart(row, 0, coveredLeft, rowClear, bytesPerPixel, clearValue);
            ClearRowPart(row, coveredRight, surfaceWidth, rowClear, bytesPerPixel, clearValue);
        } else {
            ClearRowPart(row, 0, surfaceWidth, rowClear, bytesPerPixel, clearValue);
        }
        if (pitch > rowBytes) {
            std::memset(row + rowBytes, 0, static_cast<std::size_t>(pitch - rowBytes));
        }
    }
}

void CRenderer::RasteriseCells(const SurfaceLock& lock, int width, int zoomOut) const {
    const int rows = CellRows(lock.height, zoomOut);
    const bool selectionTint = !(hallwayState_.enemyDragMode && hallwayState_.showEnemies);
    const SelectionFrameState& f = frame_;
    std::vector<std::uint8_t> variants;
    for (int y = 0; y < rows; ++y) {
        const bool rectRow = f.firstRow <= y && y <= f.lastRow;
        const bool frameRow = f.shown && f.y <= y && y <= f.y + f.size - 1;
        int first = 0;
        int end = 0;
        CellColumns(y, width, zoomOut, first, end);
        if (end <= first) {
            continue;
        }
        const auto rowStart = static_cast<std::size_t>(
            static_cast<long long>(view_.scroll) + static_cast<long long>(y) * gridWidth_ + first);
        const RendererCell* row = cells_.data() + rowStart;
        variants.resize(static_cast<std::size_t>(end - first));
        for (int x = first; x < end; ++x) {
            const bool inside =
                selectionTint && ((rectRow && f.firstColumn <= x && x <= f.lastColumn) ||
                                  (frameRow && f.x <= x && x <= f.x + f.size - 1));
            const bool shaded = row[x - first].shaded != 0;
            variants[static_cast<std::size_t>(x - first)] = static_cast<std::uint8_t>(
                inside ? (shaded ? kVariantSelectedShaded : kVariantSelected)
                       : (shaded ? kVariantShaded : kVariantNormal));
        }
        rasteriser_.DrawRow(lock, 8 * first, 8 * y, row, variants.data(), end - first);
    }
}

bool CRenderer::CanRedrawChanges(const DisplaySurface& surface, const SurfaceLock& lock, int width,
                                 int height, std::uint32_t clearValue) const {
    const RetainedFrame& kept = retained_;
    const CanvasViewState& view = kept.view;
    const bool selectionTint = !(hallwayState_.enemyDragMode && hallwayState_.showEnemies);
    // A zoom-in repeats every pixel over the whole area, and the hallway overlays are drawn
    // over the cells: those frames are drawn whole.
    return kept.valid && kept.surface == &surface && kept.lock.bits == lock.bits &&
           kept.lock.pitch == lock.pitch && kept.lock.width == lock.width &&
           kept.lock.height == lock.height && kept.lock.bitsPerPixel == lock.bitsPerPixel &&
           pixels::IsDrawnDepth(lock.bitsPerPixel) && lock.bitsPerPixel >= 16 &&
           kept.width == width && kept.height == height && kept.clearValue == clearValue &&
           view_.zoomIn == 1 && view.zoomIn == view_.zoomIn && view.zoomOut == view_.zoomOut &&
           view.visibleWidth == view_.visibleWidth && view.visibleHeight == view_.visibleHeight &&
           view.scroll == view_.scroll && kept.gridWidth == gridWidth_ &&
           kept.gridHeight == gridHeight_ && kept.grid.shown == grid_.shown &&
           kept.grid.spacing == grid_.spacing && kept.grid.colour == grid_.colour &&
           kept.selectionTint == selectionTint && kept.colours == surfaceColours_ &&
           kept.colours565 == colours565_ && !hallwayState_.hallwayMode && !allCellsChanged_;
}

void CRenderer::RedrawChangedCells(const SurfaceLock& lock, int width, int height, int zoomOut) {
    const int rows = CellRows(lock.height, zoomOut);
    const int columns = zoomOut * std::min(gridWidth_, view_.visibleWidth);
    if (rows <= 0 || columns <= 0) {
        return;
    }
    // The selection frame's inversion comes off first, as if this frame's cells lay under it.
    if (!retained_.focusRect.empty()) {
        const DisplayRect& outer = retained_.focusRect;
        DrawingContext::InvertFocusRect(lock, outer);
        DrawingContext::InvertFocusRect(
            lock, {outer.left + 1, outer.top + 1, outer.right - 1, outer.bottom - 1});
    }
    std::vector<std::uint8_t> marked(static_cast<std::size_t>(rows) *
                                     static_cast<std::size_t>(columns));
    std::vector<std::pair<int, int>> cells;
    const auto mark = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= columns || y >= rows) {
            return;
        }
        std::uint8_t& seen =
            marked[static_cast<std::size_t>(y) * static_cast<std::size_t>(columns) +
                   static_cast<std::size_t>(x)];
        if (seen == 0) {
            seen = 1;
            cells.emplace_back(x, y);
        }
    };
    // A written grid cell shows at every place of the frame that reads it (rows wrap).
    const long long scroll = view_.scroll;
    for (const std::size_t cell : changedCells_) {
        const long long place = static_cast<long long>(cell) - scroll;
        if (place < 0) {
            continue;
        }
        const long long lastRow = place / gridWidth_;
        const long long firstRow =
            std::max(0LL, (place - columns + 1 + gridWidth_ - 1) / gridWidth_);
        for (long long y = firstRow; y <= lastRow && y < rows; ++y) {
            mark(static_cast<int>(place - y * gridWidth_), static_cast<int>(y));
        }
    }
    // The cells the selection tinted and those it tints now.
    const auto markTinted = [&](const SelectionFrameState& f) {
        for (int y = std::max(f.firstRow, 0); y <= std::min(f.lastRow, rows - 1); ++y) {
            for (int x = std::max(f.firstColumn, 0); x <= std::min(f.lastColumn, columns - 1);
                 ++x) {
                mark(x, y);
            }
        }
        if (f.shown) {
            for (int y = std::max(f.y, 0); y <= std::min(f.y + f.size - 1, rows - 1); ++y) {
                for (int x = std::max(f.x, 0); x <= std::min(f.x + f.size - 1, columns - 1); ++x) {
                    mark(x, y);
                }
            }
        }
    };
    const SelectionFrameState& before = retained_.frame;
    const SelectionFrameState& now = frame_;
    const bool tintMoved = before.shown != now.shown || before.size != now.size ||
                           before.x != now.x || before.y != now.y ||
                           before.firstColumn != now.firstColumn ||
                           before.lastColumn != now.lastColumn || before.firstRow != now.firstRow ||
                           before.lastRow != now.lastRow;
    if (tintMoved) {
        markTinted(before);
        markTinted(now);
    }
    // The zoom writes this area of the surface; the rest keeps the cells at full size.
    const DisplayRect zoomed{0, 0, std::min(width, lock.width), std::min(height, lock.height)};
    for (const auto& [x, y] : cells) {
        int first = 0;
        int end = 0;
        CellColumns(y, width, zoomOut, first, end);
        if (x >= first && x < end) {
            RedrawCell(lock, x, y, zoomed, zoomOut);
        }
    }
}

void CRenderer::RedrawCell(const SurfaceLock& lock, int x, int y, const DisplayRect& zoomed,
                           int zoomOut) {
    const SelectionFrameState& f = frame_;
    const bool selectionTint = !(hallwayState_.enemyDragMode && hallwayState_.showEnemies);
    const bool inside =
        selectionTint &&
        ((f.firstRow <= y && y <= f.lastRow && f.firstColumn <= x && x <= f.lastColumn) ||
         (f.shown && f.y <= y && y <= f.y + f.size - 1 && f.x <= x && x <= f.x + f.size - 1));
    const RendererCell& cell = cells_[static_cast<std::size_t>(
        static_cast<long long>(view_.scroll) + static_cast<long long>(y) * gridWidth_ + x)];
    const bool shaded = cell.shaded != 0;
    const int variant = inside ? (shaded ? kVariantSelectedShaded : kVariantSelected)
                               : (shaded ? kVariantShaded : kVariantNormal);
    // The cell at full size, as a whole frame rasterises it.
    const int bytes = pixels::StoredBytesPerPixel(lock.bitsPerPixel);
    std::array<std::uint8_t, 8 * 8 * 4> scratch{};
    const SurfaceLock cellPixels{scratch.data(), 8 * bytes, 8, 8, lock.bitsPerPixel};
    rasteriser_.DrawCell(cellPixels, 0, 0, cell, variant);
    const auto from = [&](int i, int j) {
        return scratch.data() + static_cast<std::ptrdiff_t>(j) * 8 * bytes + i * bytes;
    };
    const auto to = [&](int px, int py) {
        return lock.bits + static_cast<std::ptrdiff_t>(py) * lock.pitch + px * bytes;
    };
    const int left = 8 * x;
    const int top = 8 * y;
    const auto inZoomed = [&](int px, int py) {
        return px >= zoomed.left && px < zoomed.right && py >= zoomed.top && py < zoomed.bottom;
    };
    // Without a zoom the cell's pixels are the frame's; with one, those outside the zoomed area
    // stay at full size.
    const int firstColumn = std::max(left, 0);
    const int endColumn = std::min(left + 8, lock.width);
    const bool allZoomed = zoomOut > 1 && inZoomed(left, top) && inZoomed(left + 7, top + 7);
    const bool noneZoomed = zoomOut == 1 || left >= zoomed.right || left + 8 <= zoomed.left ||
                            top >= zoomed.bottom || top + 8 <= zoomed.top;
    for (int j = 0; j < 8 && !allZoomed && firstColumn < endColumn; ++j) {
        const int py = top + j;
        if (py < 0 || py >= lock.height) {
            continue;
        }
        if (noneZoomed) {
            std::memcpy(to(firstColumn, py), from(firstColumn - left, j),
                        static_cast<std::size_t>((endColumn - firstColumn) * bytes));
            continue;
        }
        for (int px = firstColumn; px < endColumn; ++px) {
            if (!inZoomed(px, py)) {
                std::memcpy(to(px, py), from(px - left, j), static_cast<std::size_t>(bytes));
            }
        }
    }
    if (zoomOut == 1) {
        return;
    }
    // The zoomed pixels that keep one of this cell's pixels: destination (zx, zy) shows pixel
    // (zoomOut zx, zoomOut zy).
    const int firstX = std::max(zoomed.left, (left + zoomOut - 1) / zoomOut);
    const int endX = std::min(zoomed.right, (left + 8 + zoomOut - 1) / zoomOut);
    const int firstY = std::max(zoomed.top, (top + zoomOut - 1) / zoomOut);
    const int endY = std::min(zoomed.bottom, (top + 8 + zoomOut - 1) / zoomOut);
    for (int zy = firstY; zy < endY; ++zy) {
        for (int zx = firstX; zx < endX; ++zx) {
            std::memcpy(to(zx, zy), from(zx * zoomOut - left, zy * zoomOut - top),
                        static_cast<std::size_t>(bytes));
        }
    }
}

void CRenderer::RetainFrame(const DisplaySurface& surface, const SurfaceLock& lock, int width,
                            int height, std::uint32_t clearValue) {
    RetainedFrame& kept = retained_;
    kept.surface = &surface;
    kept.pixelWrites = surface.pixelWrites();
    kept.lock = lock;
    kept.width = width;
    kept.height = height;
    kept.clearValue = clearValue;
    kept.view = view_;
    kept.gridWidth = gridWidth_;
    kept.gridHeight = gridHeight_;
    kept.grid = grid_;
    kept.frame = frame_;
    kept.selectionTint = !(hallwayState_.enemyDragMode && hallwayState_.showEnemies);
    kept.colours = surfaceColours_;
    kept.colours565 = colours565_;
    kept.focusRect = lastFocusRect_;
    kept.valid = true;
}

bool CRenderer::DrawGrid(DisplayContext& context, DisplaySurface& surface) {
    const int zoomIn = std::max(view_.zoomIn, 1);
    const int zoomOut = std::max(view_.zoomOut, 1);
    const int gridPixelsWide = std::min(gridWidth_, view_.visibleWidth) * zoomIn * 8;
    const int gridPixelsHigh = std::min(gridHeight_, view_.visibleHeight) * zoomIn * 8;
    const int spacing = grid_.spacing;
    DrawingContext dc;
    if (!Report(context, surface.GetDC(dc, callid::kGetDrawingContext),
                callid::kGetDrawingContext)) {
        return false;
    }
    if (spacing > 0 && gridPixelsWide > 0 && gridPixelsHigh > 0) {
        // Lines end one pixel short of their end point, as the platform's line drawing does.
        for (int y = 0; y < gridPixelsHigh; y += spacing) {
            dc.Line(0, y, gridPixelsWide - 1, y, grid_.colour);
        }
        const int offset = view_.scroll * zoomIn * 8 / zoomOut;
        for (int x = (spacing - offset % spacing) % spacing; x < gridPixelsWide; x += spacing) {
            dc.Line(x, 0, x, gridPixelsHigh - 1, grid_.colour);
        }
    }
    return Report(context, surface.ReleaseDC(dc, callid::kReleaseDrawingContext),
                  callid::kReleaseDrawingContext);
}

bool CRenderer::DrawSelectionFrame(DisplayContext& context, DisplaySurface& surface) {
    const SelectionFrameState& f = frame_;
    lastFocusRect_ = {};
    if (!f.shown) {
        return true;
    }
    DisplayRect edges;
    if (f.unit == 1) {
        edges = {8 * f.x, 8 * f.y, 8 * (f.x + f.size), 8 * (f.y + f.size)};
    } else if (f.unit == 8) {
        edges = {f.x - 8 * f.size, f.y - 8 * f.size, f.x + 8 * f.size, f.y + 8 * f.size};
    } else {
        return true;
    }
    const int right = 8 * gridWidth_;
    const int bottom = 8 * gridHeight_;
    const auto within = [](int value, int limit) { return value >= 0 && value <= limit; };
    if (!within(edges.left, right) || !within(edges.right, right) || !within(edges.top, bottom) ||
        !within(edges.bottom, bottom)) {
        return true; // a frame that reaches past the grid is not drawn
    }
    const int zoomIn = std::max(view_.zoomIn, 1);
    const int zoomOut = std::max(view_.zoomOut, 1);
    const auto scale = [&](int value) { return value * zoomIn / zoomOut; };
    const DisplayRect outer{scale(edges.left), scale(edges.top), scale(edges.right),
                            scale(edges.bottom)};
    DrawingContext dc;
    if (!Report(context, surface.GetDC(dc, callid::kGetDrawingContext),
                callid::kGetDrawingContext)) {
        return false;
    }
    lastFocusRect_ = outer;
    dc.FocusRect(outer);
    dc.FocusRect({outer.left + 1, outer.top + 1, outer.right - 1, outer.bottom - 1});
    return Report(context, surface.ReleaseDC(dc, callid::kReleaseDrawingContext),
                  callid::kReleaseDrawingContext);
}

void CRenderer::RenderFrame(DisplayContext& context, DisplaySurface& surface,
                            DisplayClipper& clipper, const void* window, int width, int height,
                            QImage& target, const DisplayRect& targetRect) {
    if (cells_.empty() || width <= 0 || height <= 0) {
        return;
    }
    const int zoomOut = std::max(view_.zoomOut, 1);
    // What the last frame left is of use only if nothing else has written into the surface
    // since; until this frame is whole, it is of no use.
    const bool surfaceKept = retained_.valid && retained_.pixelWrites == surface.pixelWrites();
    retained_.valid = surfaceKept;
    std::uint32_t clearValue = 0;
    if (!PrepareFrame(context, surface, clipper, window, width, height, zoomOut, clearValue)) {
        retained_.valid = false;
        return;
    }
    SurfaceLock lock;
    DisplayCode locked = surface.Lock(lock);
    for (int tries = 0; locked == dderr::kWasStillDrawing && tries < kLockRetries; ++tries) {
        locked = surface.Lock(lock);
    }
    // Past a quarter of the cells, drawing them all in rows costs less.
    const std::size_t cellCount =
        static_cast<std::size_t>(std::max(0, CellRows(lock.height, zoomOut))) *
        static_cast<std::size_t>(std::max(0, zoomOut * std::min(gridWidth_, view_.visibleWidth)));
    const bool changesOnly = locked == kDisplayOk && 4 * changedCells_.size() <= cellCount &&
                             CanRedrawChanges(surface, lock, width, height, clearValue);
    retained_.valid = false;
    lastFocusRect_ = {};
    if (changesOnly) {
        RedrawChangedCells(lock, width, height, zoomOut);
    } else {
        ClearFrame(surface, width, height, zoomOut, clearValue, locked == kDisplayOk);
    }
    changedCells_.clear();
    allCellsChanged_ = false;
    if (locked == kDisplayOk) {
        if (!changesOnly) {
            RasteriseCells(lock, width, zoomOut);
        }
        if (hallwayState_.hallwayMode) {
            overlay_.Draw(lock, level_, CurrentHallwayView(), hallwayState_.showCheckpoints,
                          hallwayState_.showEnemies);
        }
        surface.Unlock();
        // Redrawing only the changes, the zoomed pixels are already in place: the blit is still
        // asked for, with nothing to copy, so that it answers as in every frame.
        const DisplayRect whole{0, 0, width, height};
        if (view_.zoomIn > 1) {
            view_.zoomOut = 1;
            if (!Report(context,
                        surface.Blt(changesOnly ? DisplayRect{} : whole, surface,
                                    {0, 0, width / view_.zoomIn, height / view_.zoomIn},
                                    callid::kZoomInBlit),
                        callid::kZoomInBlit)) {
                return;
            }
        } else if (zoomOut > 1) {
            view_.zoomIn = 1;
            if (!Report(context,
                        surface.Blt(changesOnly ? DisplayRect{} : whole, surface,
                                    {0, 0, width * zoomOut, height * zoomOut},
                                    callid::kZoomOutBlit),
                        callid::kZoomOutBlit)) {
                return;
            }
        }
        if (grid_.shown && !DrawGrid(context, surface)) {
            return;
        }
        if (!DrawSelectionFrame(context, surface)) {
            return;
        }
    }
    if (Report(
            context,
            context.Present(surface, {0, 0, width, height}, target, targetRect, callid::kPresent),
            callid::kPresent) &&
        locked == kDisplayOk) {
        RetainFrame(surface, lock, width, height, clearValue);
    }
}

} // namespace korvane
