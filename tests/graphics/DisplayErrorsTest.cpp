#include "SurfaceTestSupport.h"
#include "gamedata/UserReporter.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

using namespace korvane;
using namespace korvane::testing;

TEST(DisplayErrorNames, AllHundredNamesAreDistinctAndGoBothWays) {
    std::set<std::string> names;
    std::set<DisplayCode> codes;
    for (int i = 0; i < dderr::kNameCount; ++i) {
        const std::string name = dderr::NameAt(i);
        const DisplayCode code = dderr::CodeAt(i);
        ASSERT_EQ(name.rfind("DDERR_", 0), 0U) << name;
        ASSERT_NE(code, kDisplayOk) << name;
        ASSERT_LT(code, 0) << name; // failure codes have the severity bit
        EXPECT_EQ(DisplayErrorName(code), name);
        EXPECT_EQ(dderr::CodeFor(name.c_str()), code);
        names.insert(name);
        codes.insert(code);
    }
    EXPECT_EQ(names.size(), 100U);
    EXPECT_EQ(codes.size(), 100U);
    EXPECT_EQ(dderr::NameAt(100), nullptr);
    EXPECT_EQ(dderr::CodeFor("DDERR_NOSUCHTHING"), kDisplayOk);
    EXPECT_EQ(dderr::CodeFor(nullptr), kDisplayOk);
}

TEST(DisplayErrorNames, PlatformNumbers) {
    EXPECT_EQ(static_cast<std::uint32_t>(dderr::CodeFor("DDERR_SURFACELOST")), 0x887601C2U);
    EXPECT_EQ(static_cast<std::uint32_t>(dderr::CodeFor("DDERR_WASSTILLDRAWING")), 0x8876021CU);
    EXPECT_EQ(static_cast<std::uint32_t>(dderr::CodeFor("DDERR_ALREADYINITIALIZED")), 0x88760005U);
    EXPECT_EQ(dderr::CodeFor("DDERR_SURFACELOST"), dderr::kSurfaceLost);
    EXPECT_EQ(dderr::CodeFor("DDERR_SURFACEBUSY"), dderr::kSurfaceBusy);
    EXPECT_EQ(dderr::CodeFor("DDERR_INVALIDRECT"), dderr::kInvalidRect);
    EXPECT_EQ(dderr::CodeFor("DDERR_NOCLIPLIST"), dderr::kNoClipList);
}

TEST(DisplayErrorNames, GeneralSystemCodesAndUnknownOnes) {
    EXPECT_EQ(DisplayErrorName(dderr::kSystemOutOfMemory), "DDERR_OUTOFMEMORY");
    EXPECT_EQ(DisplayErrorName(dderr::kSystemInvalidArg), "DDERR_INVALIDPARAMS");
    EXPECT_EQ(DisplayErrorName(dderr::kSystemNotImplemented), "DDERR_UNSUPPORTED");
    EXPECT_EQ(DisplayErrorName(dderr::kSystemFail), "DDERR_GENERIC");
    EXPECT_EQ(DisplayErrorName(dderr::kSystemNotInitialised), "DDERR_NOTINITIALIZED");
    EXPECT_EQ(DisplayErrorName(static_cast<DisplayCode>(0x80070005U)), "Unknown Error");
    EXPECT_EQ(DisplayErrorName(dderr::MakeCode(181)), "Unknown Error");
    EXPECT_EQ(DisplayErrorName(kDisplayOk), "Unknown Error");
    EXPECT_EQ(DisplayErrorMessage(12345, 7), "DirectDraw Error Unknown Error, ID=7");
}

TEST(DisplayErrorReport, ShowsOneBoxTitledErrorThenAsksToQuit) {
    RecordingReporter reporter;
    DisplayContext context(32, &reporter);
    context.ReportDisplayError(dderr::kSystemFail, 9);
    ASSERT_EQ(reporter.messages.size(), 1U);
    EXPECT_EQ(reporter.messages[0].title, "Error");
    EXPECT_EQ(reporter.messages[0].text, "DirectDraw Error DDERR_GENERIC, ID=9");
    EXPECT_EQ(reporter.messages[0].icon, MessageIcon::None);
    ASSERT_EQ(reporter.quitRequests.size(), 1U);
    EXPECT_EQ(reporter.quitRequests[0], 0);
}

TEST(DisplayErrorReport, WithoutAReporterTheMessageGoesToStandardError) {
    DisplayContext context(32);
    ::testing::internal::CaptureStderr();
    context.ReportDisplayError(dderr::kSurfaceLost, 15);
    context.ReportDisplayError(dderr::MakeCode(181), -1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "Error: DirectDraw Error DDERR_SURFACELOST, ID=15\n"
              "Error: DirectDraw Error Unknown Error, ID=-1\n");
}

TEST(DisplayFaultInjection, AnInjectedFaultAnswersOneCallAndTheRestOfStartUpWorks) {
    RecordingReporter reporter;
    DisplayContext context(32, &reporter);
    context.InjectFault(callid::kStartup, dderr::kSystemOutOfMemory);
    EXPECT_EQ(context.CreateDevice(), dderr::kSystemOutOfMemory);
    EXPECT_EQ(context.CreateDevice(), kDisplayOk);
    EXPECT_EQ(context.SetCooperativeLevel(8), kDisplayOk);
    EXPECT_EQ(context.CreatePrimarySurface(), kDisplayOk);
    int bits = 0;
    EXPECT_EQ(context.GetPrimaryPixelFormat(bits), kDisplayOk);
    EXPECT_EQ(bits, 32);
    EXPECT_EQ(context.CreatePrimaryClipper(), kDisplayOk);
    EXPECT_TRUE(reporter.messages.empty()); // answering is not reporting
}

namespace {

// A canvas's display objects with every call reachable by its id.
struct Canvas {
    RecordingReporter reporter;
    DisplayContext context{24, &reporter};
    DisplaySurface surface;
    DisplayClipper clipper;
    DrawingContext dc;
    QImage window{64, 64, QImage::Format_BGR888};

    Canvas() {
        EXPECT_EQ(surface.Create(context, 32, 32, 0), kDisplayOk);
        EXPECT_EQ(context.CreateClipper(clipper, 1), kDisplayOk);
    }

    DisplayCode Call(int id) {
        int bits = 0;
        switch (id) {
        case callid::kStartup:
            return context.CreatePrimarySurface();
        case callid::kCreateFirstSurface:
        case callid::kCreateFrameSurface:
            return surface.Create(context, 16, 16, id);
        case callid::kCreateClipper:
            return context.CreateClipper(clipper, id);
        case callid::kAttachFirstClipper:
        case callid::kAttachFrameClipper:
            return surface.SetClipper(&clipper, id);
        case callid::kDetachClipper:
            return surface.SetClipper(nullptr, id);
        case callid::kFirstPixelFormat:
        case callid::kFramePixelFormat:
            return surface.GetPixelFormat(bits, id);
        case callid::kSetClipList:
            return clipper.SetClipList({0, 0, 8, 8}, id);
        case callid::kClipperWindow:
            return context.primaryClipper().SetWindow(this, id);
        case callid::kZoomInBlit:
            return surface.Blt({0, 0, 16, 16}, surface, {0, 0, 8, 8}, id);
        case callid::kZoomOutBlit:
            return surface.Blt({0, 0, 8, 8}, surface, {0, 0, 16, 16}, id);
        case callid::kGetDrawingContext:
            return surface.GetDC(dc, id);
        case callid::kReleaseDrawingContext: {
            const DisplayCode got = surface.GetDC(dc, callid::kGetDrawingContext);
            return got != kDisplayOk ? got : surface.ReleaseDC(dc, id);
        }
        case callid::kPresent:
            return context.Present(surface, {0, 0, 8, 8}, window, {0, 0, 8, 8}, id);
        case callid::kClear:
            return surface.Fill({0, 0, 8, 8}, 0xF0F0F0, id);
        default:
            return kDisplayOk;
        }
    }
};

} // namespace

TEST(DisplayFaultInjection, EveryCallIdFailsWithTheInjectedCodeOnce) {
    for (const int id : {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 18}) {
        Canvas canvas;
        canvas.context.InjectFault(id, dderr::kSurfaceLost);
        ASSERT_EQ(canvas.Call(id), dderr::kSurfaceLost) << id;
        // Only the one call failed.
        if (id == callid::kGetDrawingContext) {
            ASSERT_EQ(canvas.surface.ReleaseDC(canvas.dc, 13), dderr::kNoDc);
        }
        EXPECT_EQ(canvas.Call(id), kDisplayOk) << id;
    }
}

TEST(DisplayFaultInjection, LostPrimaryWhilePresentingAnswersLostOnceAndIsRestored) {
    Canvas canvas;
    canvas.context.LosePrimary();
    EXPECT_TRUE(canvas.context.IsPrimaryLost());
    ASSERT_EQ(canvas.Call(callid::kPresent), dderr::kSurfaceLost);
    EXPECT_FALSE(canvas.context.IsPrimaryLost());
    EXPECT_EQ(canvas.Call(callid::kPresent), kDisplayOk);
    EXPECT_TRUE(canvas.reporter.messages.empty());
}

TEST(DisplayFaultInjection, InjectedLostAnswerWithALostPrimaryRestoresIt) {
    Canvas canvas;
    canvas.context.LosePrimary();
    canvas.context.InjectFault(callid::kClear, dderr::kSurfaceLost);
    EXPECT_EQ(canvas.Call(callid::kClear), dderr::kSurfaceLost);
    EXPECT_FALSE(canvas.context.IsPrimaryLost());
}

TEST(DisplayFaultInjection, BusyLocksAreAnsweredAsOftenAsAsked) {
    Canvas canvas;
    canvas.context.InjectFault(kLockCallId, dderr::kWasStillDrawing, 3);
    SurfaceLock lock;
    int tries = 1;
    DisplayCode answer = canvas.surface.Lock(lock);
    while (answer == dderr::kWasStillDrawing && tries < 10) {
        answer = canvas.surface.Lock(lock);
        ++tries;
    }
    EXPECT_EQ(answer, kDisplayOk);
    EXPECT_EQ(tries, 4);
    canvas.surface.Unlock();
    EXPECT_TRUE(canvas.reporter.messages.empty());
}

TEST(DisplayFaultInjection, FaultsAreKeptPerIdAndCanBeCleared) {
    Canvas canvas;
    canvas.context.InjectFault(callid::kZoomInBlit, dderr::kSystemFail, 2);
    canvas.context.InjectFault(callid::kZoomOutBlit, dderr::kSystemInvalidArg);
    EXPECT_EQ(canvas.Call(callid::kZoomOutBlit), dderr::kSystemInvalidArg);
    EXPECT_EQ(canvas.Call(callid::kZoomOutBlit), kDisplayOk);
    EXPECT_EQ(canvas.Call(callid::kZoomInBlit), dderr::kSystemFail);
    canvas.context.ClearFaults();
    EXPECT_EQ(canvas.Call(callid::kZoomInBlit), kDisplayOk);
}
