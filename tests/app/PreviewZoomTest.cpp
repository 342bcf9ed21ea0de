// The main preview uses the window's room: more of the hallway across as the window widens, a
// larger whole scale when it has the height, and a zoom of its own (keys, Ctrl + wheel) kept
// in the settings.
#include "AppTestSupport.h"

#include "app/CKorvaneView.h"
#include "app/CMainFrame.h"
#include "editors/CCanvasControl.h"
#include "tests/support/DrawnInBlocks.h"

#include <QApplication>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace korvane::test {
namespace {

constexpr int kBarHeight = 16;

// Every widget pixel of the preview's drawing is its drawing pixel (x / scale, y / scale).
::testing::AssertionResult ShowsDrawingAtScale(CCanvasControl& canvas, int scale) {
    canvas.repaint();
    return DrawnInBlocks(canvas.grab().toImage(), canvas.screenImage(), scale);
}

class PreviewZoomTest : public ::testing::Test {
protected:
    void Start() {
        ASSERT_TRUE(fixture_.Start(
            {QStringLiteral("-nosplash"), fixture_.WriteCartridge(QStringLiteral("demo.nes"))}));
        frame_ = fixture_.app().mainFrame();
        frame_->show();
        frame_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame_));
    }
    CCanvasControl& preview() { return frame_->view().preview(); }
    QVariant Kept() const {
        return QSettings(fixture_.settingsFile(), QSettings::IniFormat)
            .value(QStringLiteral("Zoom/Preview"));
    }

    AppFixture fixture_;
    CMainFrame* frame_ = nullptr;
};

TEST_F(PreviewZoomTest, AWiderWindowShowsMoreOfTheHallwayAndATallerOneALargerScale) {
    Start();
    CCanvasControl& canvas = preview();
    ASSERT_EQ(canvas.displayScale(), 1);
    const int opening = canvas.width();
    EXPECT_GE(opening, 768);

    frame_->resize(frame_->width() + 400, frame_->height());
    QCoreApplication::processEvents();
    EXPECT_GE(canvas.width(), opening + 400);
    EXPECT_EQ(canvas.renderer().view().visibleWidth, canvas.width() / 8);
    const int content = canvas.renderer().gridWidth();
    EXPECT_EQ(canvas.scrollBar()->maximum(), std::max(0, content - canvas.width() / 8));

    // Height for three times the 256 rows: scale 3, fewer columns of larger pixels.
    frame_->resize(1000, frame_->height() + 3 * 256);
    QCoreApplication::processEvents();
    const int scale = std::min(4, (canvas.height() - kBarHeight) / 256);
    ASSERT_GE(scale, 3);
    EXPECT_EQ(canvas.displayScale(), scale);
    EXPECT_EQ(canvas.renderer().view().visibleWidth, canvas.width() / scale / 8);
    EXPECT_EQ(canvas.clientHeight(), 256);
    EXPECT_TRUE(ShowsDrawingAtScale(canvas, scale));
    // The scroll bar lies right below the scaled drawing.
    EXPECT_EQ(canvas.scrollBar()->geometry().top(), 256 * scale);
}

TEST_F(PreviewZoomTest, ZoomInAndOutByKeyAndCtrlWheelAndKeptInTheSettings) {
    Start();
    CKorvaneView& view = frame_->view();
    ASSERT_EQ(view.previewZoom(), 1);
    QTest::keySequence(frame_, QKeySequence::ZoomIn);
    EXPECT_EQ(view.previewZoom(), 2);
    EXPECT_EQ(Kept().toInt(), 2);
    QCoreApplication::processEvents();
    // The zoom is the least scale: the preview is at least twice its rows high.
    EXPECT_GE(preview().height(), 2 * 256 + kBarHeight);
    EXPECT_GE(preview().displayScale(), 2);

    const QPointF pos(20, 20);
    QWheelEvent in(pos, preview().mapToGlobal(pos), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&preview(), &in);
    EXPECT_EQ(view.previewZoom(), 3);
    EXPECT_EQ(preview().scrollPosition(), 0); // Ctrl + wheel zooms, it does not scroll
    QTest::keySequence(frame_, QKeySequence::ZoomOut);
    EXPECT_EQ(view.previewZoom(), 2);
    QTest::keyClick(frame_, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(view.previewZoom(), 1);
    EXPECT_EQ(Kept().toInt(), 1);
}

TEST_F(PreviewZoomTest, TheKeptZoomIsTakenAtStart) {
    QSettings(fixture_.settingsFile(), QSettings::IniFormat)
        .setValue(QStringLiteral("Zoom/Preview"), 2);
    Start();
    EXPECT_EQ(frame_->view().previewZoom(), 2);
    QCoreApplication::processEvents();
    EXPECT_GE(preview().displayScale(), 2);
    EXPECT_GE(preview().height(), 2 * 256 + kBarHeight);
}

} // namespace
} // namespace korvane::test
