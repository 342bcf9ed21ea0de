#pragma once

// The editors' tool-button pictures: 16 x 16, 24 bits, on the light grey (192, 192, 192) that
// the editors replace by the button face colour. Drawn without smoothing so that no pixel
// blends into the grey.

#include <QImage>

#include <utility>
#include <vector>

namespace artwork {

// Each picture with the bitmap resource number it is saved under.
std::vector<std::pair<int, QImage>> ToolButtonImages();

} // namespace artwork
