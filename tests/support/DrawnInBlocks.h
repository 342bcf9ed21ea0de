#pragma once

// Whether a grabbed picture of a canvas shows its drawing with every drawing pixel a
// block x block square of one colour: the check of the zoom, of the preview's scale and of a
// screen's device pixel ratio.

#include <QImage>

#include <gtest/gtest.h>

namespace korvane::test {

// shown: the grab in device pixels; drawing: the canvas's screen image.
inline ::testing::AssertionResult DrawnInBlocks(const QImage& shown, const QImage& drawing,
                                                int block) {
    const QImage device = shown.convertToFormat(QImage::Format_RGB32);
    const QImage pixels = drawing.convertToFormat(QImage::Format_RGB32);
    if (device.width() < pixels.width() * block || device.height() < pixels.height() * block) {
        return ::testing::AssertionFailure()
               << "grab " << device.width() << "x" << device.height() << ", drawing "
               << pixels.width() << "x" << pixels.height();
    }
    for (int y = 0; y < pixels.height() * block; ++y) {
        for (int x = 0; x < pixels.width() * block; ++x) {
            if (device.pixel(x, y) != pixels.pixel(x / block, y / block)) {
                return ::testing::AssertionFailure() << "device pixel " << x << "," << y;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace korvane::test
