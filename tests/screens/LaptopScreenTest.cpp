// On a 1366 x 768 laptop screen every editor opens at zoom 1 within the screen's free area with
// OK and Cancel in view (the room editor, taller than the screen, scrolls its canvases), and so
// does the main window with the demo cartridge.
#include "app/CKorvaneView.h"
#include "app/CMainFrame.h"
#include "editors/CAssemblyEditorDlg.h"
#include "editors/CBlockEditorDlg.h"
#include "editors/CEnemyEditorDlg.h"
#include "editors/CEnemyPlacementDlg.h"
#include "editors/CHallwayEditorDlg.h"
#include "editors/CPaletteEditorDlg.h"
#include "editors/CRoomEditorDlg.h"
#include "editors/CTileEditorDlg.h"
#include "editors/EditorZoomSettings.h"
#include "tests/app/AppTestSupport.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/editors/HallwayTestLevels.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace korvane {
namespace {

// Room for the window's title bar and frame, which the free area does not leave out.
constexpr int kTitleBar = 48;

::testing::AssertionResult FitsTheLaptop(QWidget& window) {
    const QRect free = window.screen()->availableGeometry();
    if (free.size() != QSize(1366, 768)) {
        return ::testing::AssertionFailure() << "screen " << free.width() << "x" << free.height();
    }
    if (window.width() > free.width() || window.height() > free.height() - kTitleBar) {
        return ::testing::AssertionFailure() << window.windowTitle().toStdString() << " is "
                                             << window.width() << "x" << window.height();
    }
    for (int id : {ids::kOk, ids::kCancel}) {
        auto* button = window.findChild<QWidget*>(ids::ControlObjectName(id));
        if (button == nullptr) {
            continue;
        }
        const QRect inWindow(button->mapTo(&window, QPoint(0, 0)), button->size());
        if (!window.rect().contains(inWindow) || !button->isVisible()) {
            return ::testing::AssertionFailure()
                   << window.windowTitle().toStdString() << ": button " << id << " out of view";
        }
    }
    return ::testing::AssertionSuccess();
}

class LaptopScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        EditorZoomSettings::UseSettingsFile(folder_.filePath(QStringLiteral("zoom.ini")));
    }
    void TearDown() override { EditorZoomSettings::UseSettingsFile(QString()); }
    template <class Dialog> void Expect(Dialog& dialog) {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        EXPECT_TRUE(FitsTheLaptop(dialog));
    }

    QTemporaryDir folder_;
    test::EditorDisplay display_;
    std::unique_ptr<LevelRecord> level_ = test::DemoLevel(3);
};

TEST_F(LaptopScreenTest, EveryEditorFitsWithOkAndCancelInView) {
    CBlockEditorDlg blocks(display_.context, *level_);
    Expect(blocks);
    CAssemblyEditorDlg assemblies(display_.context, *level_);
    Expect(assemblies);
    CTileEditorDlg tiles(display_.context, *level_);
    Expect(tiles);
    CPaletteEditorDlg palettes(display_.context, *level_);
    Expect(palettes);
    CHallwayEditorDlg hallways(display_.context, *level_);
    Expect(hallways);
    const std::unique_ptr<EnemyGraphics> graphics = test::MakeEnemyGraphics();
    CEnemyPlacementDlg placements(display_.context, *level_, *graphics);
    Expect(placements);
    CEnemyEditorDlg enemy(level_->enemies[0]);
    Expect(enemy);

    CRoomEditorDlg rooms(display_.context, *level_);
    Expect(rooms);
    // Its 940 pixels of canvases and controls scroll; the canvases keep their full size.
    EXPECT_GT(rooms.contentArea()->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(test::Canvas(rooms, ids::kAssembliesCanvas).size(), QSize(512, 512));
    EXPECT_EQ(test::Canvas(rooms, ids::kRoomsCanvas).size(), QSize(128, 528));
}

TEST_F(LaptopScreenTest, TheMainWindowFitsWithTheDemoCartridge) {
    test::AppFixture fixture;
    ASSERT_TRUE(fixture.Start(
        {QStringLiteral("-nosplash"), fixture.WriteCartridge(QStringLiteral("demo.nes"))}));
    CMainFrame& frame = *fixture.app().mainFrame();
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    EXPECT_TRUE(FitsTheLaptop(frame));
    EXPECT_GE(frame.view().preview().width(), 768);
}

} // namespace
} // namespace korvane
