// Hallway mode: the grid and scrolling of a hallway, timer 1 and the palette animation.
#include "CanvasTestLevels.h"
#include "CanvasTestSupport.h"

#include <QAbstractEventDispatcher>
#include <QTimerEvent>

#include <gtest/gtest.h>

namespace korvane {
namespace {

using test::RecordingDisplay;

int RegisteredInterval(QObject& object, int timerId) {
    const auto timers = QAbstractEventDispatcher::instance()->registeredTimers(&object);
    for (const auto& timer : timers) {
        if (timer.timerId == timerId) {
            return timer.interval;
        }
    }
    return -1;
}

void Tick(CCanvasControl& canvas) {
    QTimerEvent event(canvas.animationTimerId());
    QCoreApplication::sendEvent(&canvas, &event);
}

TEST(CanvasHallway, ThreeRoomsFillTheMainViewWithoutScrolling) {
    RecordingDisplay display;
    CCanvasControl canvas(display.context, 1008);
    const LevelRecord level = test::MakeLevel({3, 2});
    const auto tiles = test::MakeTiles();
    canvas.SetView(96, 32);
    canvas.SetHallway(0, &level, tiles.data());
    canvas.DrawHallway();
    EXPECT_EQ(canvas.renderer().gridWidth(), 96);
    EXPECT_EQ(canvas.renderer().gridHeight(), 32);
    EXPECT_EQ(canvas.size(), QSize(768, 256));
    EXPECT_TRUE(canvas.scrollBar()->isHidden());
    for (ScrollRequest request : {ScrollRequest::LineRight, ScrollRequest::PageRight,
                                  ScrollRequest::Bottom, ScrollRequest::ThumbTrack}) {
        canvas.Scroll(request, 40);
        EXPECT_EQ(canvas.scrollPosition(), 0);
    }
    EXPECT_TRUE(canvas.renderer().hallway().showEnemies);
    EXPECT_TRUE(canvas.renderer().hallway().showCheckpoints);
}

TEST(CanvasHallway, LongerHallwayScrollsToItsLastRoom) {
    RecordingDisplay display;
    CCanvasControl canvas(display.context, 1008);
    const LevelRecord level = test::MakeLevel({2, 5});
    canvas.SetView(96, 32);
    canvas.SetHallway(1, &level, nullptr);
    EXPECT_EQ(canvas.renderer().currentHallway(), 1);
    EXPECT_EQ(canvas.size(), QSize(768, 272));
    EXPECT_FALSE(canvas.scrollBar()->isHidden());
    canvas.Scroll(ScrollRequest::Bottom);
    EXPECT_EQ(canvas.scrollPosition(), 160 - 96);
    // Loading it again starts at the left.
    canvas.SetHallway(1, nullptr, nullptr);
    EXPECT_EQ(canvas.scrollPosition(), 0);
}

TEST(CanvasHallway, HallwayBeyondTheCountShowsHallwayZero) {
    RecordingDisplay display;
    CCanvasControl canvas(display.context, 1008);
    const LevelRecord level = test::MakeLevel({2, 3});
    canvas.SetView(96, 32);
    canvas.SetHallway(2, &level, nullptr);
    EXPECT_EQ(canvas.renderer().currentHallway(), 0);
    EXPECT_EQ(canvas.renderer().gridWidth(), 64);
    canvas.SetHallway(-1, nullptr, nullptr);
    EXPECT_EQ(canvas.renderer().currentHallway(), 0);
    canvas.SetHallway(1, nullptr, nullptr);
    EXPECT_EQ(canvas.renderer().currentHallway(), 1);
    EXPECT_EQ(canvas.renderer().gridWidth(), 96);
}

TEST(CanvasHallway, TimerOneAdvancesThePaletteEveryHundredMilliseconds) {
    RecordingDisplay display;
    CCanvasControl canvas(display.context, 1008);
    LevelRecord level = test::MakeLevel({3});
    level.paletteSets[0].effectCodes()[2] = 0x80; // palette 3 colour 2 alternates 0x31 / 0x21
    const std::uint8_t ownerColour = level.paletteSets[0].colour(3, 2);
    const auto tiles = test::MakeTiles();
    canvas.SetView(96, 32);
    EXPECT_FALSE(canvas.timerRunning());
    canvas.SetHallway(0, &level, tiles.data());
    canvas.DrawHallway();
    ASSERT_TRUE(canvas.timerRunning());
    EXPECT_EQ(RegisteredInterval(canvas, canvas.animationTimerId()),
              CCanvasControl::kAnimationIntervalMs);
    EXPECT_EQ(CCanvasControl::kAnimationIntervalMs, 100);
    EXPECT_EQ(canvas.tickCount(), 0u);

    const auto copyColour = [&] {
        return canvas.renderer().levelData().paletteSets[0].colour(3, 2);
    };
    Tick(canvas);
    EXPECT_EQ(canvas.tickCount(), 1u);
    EXPECT_EQ(copyColour(), 0x21);
    const std::uint32_t oddShade = canvas.renderer().SurfaceColour(0, 3, 2);
    Tick(canvas);
    EXPECT_EQ(canvas.tickCount(), 2u);
    EXPECT_EQ(copyColour(), 0x31);
    EXPECT_NE(canvas.renderer().SurfaceColour(0, 3, 2), oddShade);
    Tick(canvas);
    EXPECT_EQ(copyColour(), 0x21);
    EXPECT_EQ(canvas.renderer().SurfaceColour(0, 3, 2), oddShade);
    // The owner's data never changes.
    EXPECT_EQ(level.paletteSets[0].colour(3, 2), ownerColour);

    // Other timers are not animation ticks.
    QTimerEvent other(canvas.animationTimerId() + 1000);
    QCoreApplication::sendEvent(&canvas, &other);
    EXPECT_EQ(canvas.tickCount(), 3u);

    // Loading again re-arms the same timer; the counter keeps counting and new data ends the
    // drift.
    canvas.SetHallway(0, &level, nullptr);
    EXPECT_TRUE(canvas.timerRunning());
    EXPECT_EQ(RegisteredInterval(canvas, canvas.animationTimerId()), 100);
    EXPECT_EQ(canvas.tickCount(), 3u);
    EXPECT_EQ(copyColour(), ownerColour);
    Tick(canvas);
    EXPECT_EQ(canvas.tickCount(), 4u);
    EXPECT_EQ(copyColour(), 0x31);
}

TEST(CanvasHallway, TicksWithoutEffectsStillRedrawTheHallway) {
    RecordingDisplay display;
    CCanvasControl canvas(display.context, 1008);
    const LevelRecord level = test::MakeLevel({1});
    canvas.SetView(32, 32);
    canvas.SetHallway(0, &level, nullptr);
    canvas.renderer().PutCell(0, 0, 7, 2, true); // drawn over by the next layout
    Tick(canvas);
    EXPECT_EQ(canvas.tickCount(), 1u);
    EXPECT_EQ(canvas.renderer().cell(0, 0).shaded, 0);
    EXPECT_EQ(canvas.renderer().levelData(), level);
}

} // namespace
} // namespace korvane
