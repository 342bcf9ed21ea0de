#pragma once

// The pictures of the editors' tool buttons: the bitmap with its light grey background
// transparent, at its own size and at twice it (every pixel a 2 x 2 block) for screens of
// device pixel ratio 2, so that neither is smoothed when it is drawn.

#include <QIcon>

#include <cstdint>

namespace korvane {

class CPixelImage;

// background: the GDI colour (red in bits 0-7) that becomes transparent.
QIcon ToolButtonPicture(const CPixelImage& bitmap, std::uint32_t background);

} // namespace korvane
