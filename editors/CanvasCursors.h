#pragma once

// The canvas pointers, drawn in code: a paint brush (image 132), a fill bucket with a
// cross-hair (133, the third tool), a pipette (134, the dropper) and an open hand (169, to grab
// an enemy). Each is a 32 x 32 picture with its hot spot where the tool touches.

#include <QCursor>
#include <QImage>

namespace korvane {

enum class CanvasPointer : int {
    Paint = 132,
    ThirdTool = 133,
    Dropper = 134,
    EnemyGrab = 169,
};

class CanvasCursors {
public:
    // The picture of a pointer: 32 x 32, transparent around the tool.
    static QImage Image(CanvasPointer pointer);
    static QPoint HotSpot(CanvasPointer pointer);
    static QCursor Cursor(CanvasPointer pointer);
};

} // namespace korvane
