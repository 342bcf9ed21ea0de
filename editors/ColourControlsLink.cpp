#include "ColourControlsLink.h"

#include "CColourSelectorControl.h"
#include "CPixelEditorControl.h"

namespace korvane {

namespace {

constexpr int kChosenLeft = 1; // the selector's buttons
constexpr int kChosenRight = 2;
constexpr int kPickedLeft = 0; // the pixel editor's dropper buttons
constexpr int kPickedRight = 1;

} // namespace

void LinkColourControls(CColourSelectorControl& selector, CPixelEditorControl& pixels) {
    QObject::connect(&selector, &CColourSelectorControl::ColourChosen, &pixels,
                     [&pixels](int button, int cell) {
                         if (button == kChosenLeft) {
                             pixels.SetColours(cell, -1);
                         } else if (button == kChosenRight) {
                             pixels.SetColours(-1, cell);
                         }
                     });
    QObject::connect(&pixels, &CPixelEditorControl::ColourPicked, &selector,
                     [&selector, &pixels](int button, int value) {
                         if (button == kPickedLeft) {
                             selector.SetLeftSelection(value);
                             pixels.SetColours(value, -1);
                         } else if (button == kPickedRight) {
                             selector.SetRightSelection(value);
                             pixels.SetColours(-1, value);
                         }
                     });
}

} // namespace korvane
