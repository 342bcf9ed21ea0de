#pragma once

// The keys of a zoom, the same in every editor and the main window: Zoom In (and Ctrl+=, for
// keyboards where + needs Shift), Zoom Out, and Ctrl+0 for 1x.

#include <functional>

class QWidget;

namespace korvane {

// Shortcuts of owner's window: zoomBy(+1) and zoomBy(-1) for in and out, actualSize for 1x.
void CreateZoomKeys(QWidget& owner, const std::function<void(int steps)>& zoomBy,
                    const std::function<void()>& actualSize);

} // namespace korvane
