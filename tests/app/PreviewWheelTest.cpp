// The mouse wheel over the main preview moves along the hallway.
#include "AppTestSupport.h"

#include "app/CKorvaneView.h"
#include "app/CMainFrame.h"
#include "editors/CCanvasControl.h"
#include "gamedata/CKorvaneDoc.h"

#include <QApplication>
#include <QSpinBox>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace korvane::test {
namespace {

TEST(PreviewWheelTest, TheWheelMovesThePreviewAlongTheHallway) {
    AppFixture fixture;
    ASSERT_TRUE(fixture.Start(
        {QStringLiteral("-nosplash"), fixture.WriteCartridge(QStringLiteral("demo.nes"))}));
    CKorvaneView& view = fixture.app().mainFrame()->view();
    // A hallway of more rooms than the three the preview shows.
    int level = -1;
    int hallway = -1;
    for (int n = 0; n < kLevelCount && level < 0; ++n) {
        const LevelRecord& record = fixture.app().document().level(n);
        for (int h = 0; h < record.hallwayCount; ++h) {
            if (record.hallways[static_cast<std::size_t>(h)].lastRoom >= 3) {
                level = n;
                hallway = h;
                break;
            }
        }
    }
    ASSERT_GE(level, 0) << "the demo cartridge has a hallway of four rooms or more";
    view.levelField().setValue(level);
    view.hallwayField().setValue(hallway);
    CCanvasControl& preview = view.preview();
    ASSERT_EQ(preview.scrollPosition(), 0);
    ASSERT_EQ(QApplication::wheelScrollLines(), 3);
    // One notch towards the user: three lines of one cell each.
    const QPointF pos(20, 20);
    QWheelEvent down(pos, preview.mapToGlobal(pos), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&preview, &down);
    EXPECT_EQ(preview.scrollPosition(), 3);
    QWheelEvent up(pos, preview.mapToGlobal(pos), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&preview, &up);
    EXPECT_EQ(preview.scrollPosition(), 0);
}

} // namespace
} // namespace korvane::test
