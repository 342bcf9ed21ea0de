#pragma once

// The colour selector and the pixel editor of the tile and palette editors kept in step: a cell
// chosen in the selector becomes the pixel editor's left or right colour (left button, right
// button), and a value the dropper picks becomes the selector's left or right selection and the
// pixel editor's colour of that button. Both controls must belong to the same owner.

namespace korvane {

class CColourSelectorControl;
class CPixelEditorControl;

void LinkColourControls(CColourSelectorControl& selector, CPixelEditorControl& pixels);

} // namespace korvane
