// Frame rendering of the renderer: prepare and clear the frame surface, write the cells while
// it is locked, add the hallway overlays, zoom, draw the grid and the selection frame, present.

#include "CRenderer.h"

#include "NesColours.h"

#include <QPainter> // the drawing context holds a painter

#include <algorithm>

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
                             int zoomOut) {
    if (surface.created()) {
        if (!Report(context, surface.SetClipper(nullptr, callid::kDetachClipper),
                    callid::kDetachClipper)) {
            return false;
        }
        surface.Release();
    }
    if (!Report(
            context,
            surface.Create(context, width * zoomOut, height * zoomOut, callid::kCreateFrameSurface),
            callid::kCreateFrameSurface)) {
        return false;
    }
    const DisplayRect clip{0, 0, width, height};
    if (!Report(context, clipper.SetClipList(clip, callid::kSetClipList), callid::kSetClipList) ||
        !Report(context, surface.SetClipper(&clipper, callid::kAttachFrameClipper),
                callid::kAttachFrameClipper)) {
        return false;
    }
    int bitsPerPixel = 0;
    if (!Report(context, surface.GetPixelFormat(bitsPerPixel, callid::kFramePixelFormat),
                callid::kFramePixelFormat) ||
        !Report(context, context.primaryClipper().SetWindow(window, callid::kClipperWindow),
                callid::kClipperWindow)) {
        return false;
    }
    return Report(context,
                  surface.Fill(clip, GdiColourToSurfaceValue(SystemMenuColour(), bitsPerPixel),
                               callid::kClear),
                  callid::kClear);
}

void CRenderer::RasteriseCells(const SurfaceLock& lock, int width, int zoomOut) const {
    const int rows = zoomOut * std::min(gridHeight_, view_.visibleHeight);
    const int columns = zoomOut * std::min(gridWidth_, view_.visibleWidth);
    const long long cellCount = static_cast<long long>(cells_.size());
    const bool selectionTint = !(hallwayState_.enemyDragMode && hallwayState_.showEnemies);
    const SelectionFrameState& f = frame_;
    for (int y = 0; y < rows && 8 * y < lock.height; ++y) {
        const bool rectRow = f.firstRow <= y && y <= f.lastRow;
        const bool frameRow = f.shown && f.y <= y && y <= f.y + f.size - 1;
        const long long rowStart =
            static_cast<long long>(view_.scroll) + static_cast<long long>(y) * gridWidth_;
        for (int x = 0; x < columns && 8 * x < zoomOut * width; ++x) {
            const long long index = rowStart + x;
            if (index < 0 || index >= cellCount) {
                continue;
            }
            const RendererCell& c = cells_[static_cast<std::size_t>(index)];
            const bool inside =
                selectionTint && ((rectRow && f.firstColumn <= x && x <= f.lastColumn) ||
                                  (frameRow && f.x <= x && x <= f.x + f.size - 1));
            const int variant = inside ? (c.shaded != 0 ? kVariantSelectedShaded : kVariantSelected)
                                       : (c.shaded != 0 ? kVariantShaded : kVariantNormal);
            rasteriser_.DrawCell(lock, 8 * x, 8 * y, c, variant);
        }
    }
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
    if (!PrepareFrame(context, surface, clipper, window, width, height, zoomOut)) {
        return;
    }
    SurfaceLock lock;
    DisplayCode locked = surface.Lock(lock);
    for (int tries = 0; locked == dderr::kWasStillDrawing && tries < kLockRetries; ++tries) {
        locked = surface.Lock(lock);
    }
    if (locked == kDisplayOk) {
        RasteriseCells(lock, width, zoomOut);
        if (hallwayState_.hallwayMode) {
            overlay_.Draw(lock, level_, CurrentHallwayView(), hallwayState_.showCheckpoints,
                          hallwayState_.showEnemies);
        }
        surface.Unlock();
        if (view_.zoomIn > 1) {
            view_.zoomOut = 1;
            if (!Report(context,
                        surface.Blt({0, 0, width, height}, surface,
                                    {0, 0, width / view_.zoomIn, height / view_.zoomIn},
                                    callid::kZoomInBlit),
                        callid::kZoomInBlit)) {
                return;
            }
        } else if (zoomOut > 1) {
            view_.zoomIn = 1;
            if (!Report(context,
                        surface.Blt({0, 0, width, height}, surface,
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
    Report(context,
           context.Present(surface, {0, 0, width, height}, target, targetRect, callid::kPresent),
           callid::kPresent);
}

} // namespace korvane
