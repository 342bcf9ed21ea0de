// On a screen of device pixel ratio 2 every pixel a canvas draws is a square block of one colour:
// 2 x 2 screen pixels at zoom 1, 4 x 4 at zoom 2, never smoothed.
#include "editors/CCanvasControl.h"
#include "editors/CPixelEditorControl.h"
#include "editors/CRoomEditorDlg.h"
#include "editors/CTileEditorDlg.h"
#include "editors/EditorControlIds.h"
#include "editors/EditorZoomSettings.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/support/DrawnInBlocks.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace korvane {
namespace {

// The device pixels of a grab against the canvas's drawing: pixel (x, y) of the drawing fills
// the block of block x block device pixels at (x * block, y * block).
::testing::AssertionResult DrawnInBlocks(CCanvasControl& canvas, int block) {
    canvas.repaint();
    const QPixmap grabbed = canvas.grab();
    if (grabbed.devicePixelRatio() != 2.0) {
        return ::testing::AssertionFailure() << "device pixel ratio " << grabbed.devicePixelRatio();
    }
    return test::DrawnInBlocks(grabbed.toImage(), canvas.screenImage(), block);
}

class SharpPixelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(qApp->devicePixelRatio(), 2.0);
        ASSERT_TRUE(folder_.isValid());
        EditorZoomSettings::UseSettingsFile(folder_.filePath(QStringLiteral("zoom.ini")));
    }
    void TearDown() override { EditorZoomSettings::UseSettingsFile(QString()); }

    QTemporaryDir folder_;
    test::EditorDisplay display_;
    std::unique_ptr<LevelRecord> level_ = test::DemoLevel(3);
};

TEST_F(SharpPixelsTest, EveryNesPixelOfTheRoomEditorIsATwoByTwoBlockAndFourByFourAtZoom2) {
    CRoomEditorDlg dialog(display_.context, *level_);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    CCanvasControl& edit = test::Canvas(dialog, ids::kRoomEditCanvas);
    CCanvasControl& rooms = test::Canvas(dialog, ids::kRoomsCanvas);
    CCanvasControl& assemblies = test::Canvas(dialog, ids::kAssembliesCanvas);
    // The edit canvas draws the room at full size: 256 drawing pixels, 512 device pixels.
    EXPECT_EQ(edit.screenImage().size(), QSize(256, 256));
    EXPECT_TRUE(DrawnInBlocks(edit, 2));
    EXPECT_TRUE(DrawnInBlocks(rooms, 2));
    EXPECT_TRUE(DrawnInBlocks(assemblies, 2));
    // Clicks are measured in the same logical pixels as at a ratio of 1: cell (3, 2).
    test::ClickItem(edit, 3, 2, 32);
    EXPECT_EQ(dialog.lastCell(), 2 * 8 + 3);

    dialog.SetZoom(2);
    EXPECT_EQ(edit.screenImage().size(), QSize(256, 256));
    EXPECT_TRUE(DrawnInBlocks(edit, 4));
    EXPECT_TRUE(DrawnInBlocks(assemblies, 4));
    test::ClickItem(edit, 6, 7, 64);
    EXPECT_EQ(dialog.lastCell(), 7 * 8 + 6);
}

TEST_F(SharpPixelsTest, ThePixelEditorCellsAreWholeBlocksOfDevicePixels) {
    CTileEditorDlg dialog(display_.context, *level_);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto& pixels = test::Find<CPixelEditorControl>(dialog, ids::kPixelEditor);
    dialog.SetZoom(2);
    const QImage shown = pixels.grab().toImage().convertToFormat(QImage::Format_RGB32);
    // Each cell (less its grid line) is one colour in device pixels.
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const QRect cell = pixels.CellRect(x, y);
            const QRect device(cell.topLeft() * 2, cell.size() * 2);
            const QRgb colour = shown.pixel(device.center());
            for (int dy = device.top() + 2; dy <= device.bottom(); ++dy) {
                for (int dx = device.left() + 2; dx <= device.right(); ++dx) {
                    ASSERT_EQ(shown.pixel(dx, dy), colour) << x << "," << y;
                }
            }
            EXPECT_EQ(colour, pixels.colourTable()[static_cast<std::size_t>(pixels.GetPixel(x, y))])
                << x << "," << y;
        }
    }
}

} // namespace
} // namespace korvane
