#pragma once

// The display surface layer: off-screen pixel buffers in the screen's own pixel layout, with
// lock, colour fill, stretching blits, a drawing context and presenting, standing in for the
// display device. Every call that can fail takes the identifying number of the call site so
// that a test can make exactly that call fail (InjectFault) and see the report.

#include "DisplayTypes.h"

#include <QFont>
#include <QImage>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvane {

class UserReporter;
class DisplaySurface;

// Error codes of the display layer. The full list of names lives in DisplayErrors.cpp.
namespace dderr {
DisplayCode CodeFor(const char* name); // the code of a DDERR_ name, 0 when unknown
extern const DisplayCode kSurfaceLost;
extern const DisplayCode kWasStillDrawing;
extern const DisplayCode kSurfaceBusy;
extern const DisplayCode kInvalidRect;
extern const DisplayCode kNoClipList;
// The five general system codes.
inline constexpr DisplayCode kSystemOutOfMemory = static_cast<DisplayCode>(0x8007000EU);
inline constexpr DisplayCode kSystemInvalidArg = static_cast<DisplayCode>(0x80070057U);
inline constexpr DisplayCode kSystemNotImplemented = static_cast<DisplayCode>(0x80004001U);
inline constexpr DisplayCode kSystemFail = static_cast<DisplayCode>(0x80004005U);
inline constexpr DisplayCode kSystemNotInitialised = static_cast<DisplayCode>(0x800401F0U);
} // namespace dderr

// "DDERR_SURFACELOST" and so on; "Unknown Error" for a code that is not in the list.
std::string DisplayErrorName(DisplayCode code);
// "DirectDraw Error %s, ID=%d".
std::string DisplayErrorMessage(DisplayCode code, int callId);

// A pseudo call id for Lock, which is never reported: a failed lock skips the drawing.
inline constexpr int kLockCallId = 100;

// Direct write access to a locked surface.
struct SurfaceLock {
    std::uint8_t* bits = nullptr; // top-left pixel
    int pitch = 0;                // bytes from one row to the next
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0; // 16, 24 or 32 (8 and 4 are carried but not drawn)
};

// A clipper: restricts blits into a surface to one rectangle of its clip list.
class DisplayClipper {
public:
    DisplayCode SetClipList(const DisplayRect& rect, int callId);
    // Makes the clipper follow the visible parts of a window (only remembered here).
    DisplayCode SetWindow(const void* window, int callId);
    const std::optional<DisplayRect>& clipList() const { return clip_; }
    const void* window() const { return window_; }

private:
    friend class DisplayContext;
    class DisplayContext* context_ = nullptr;
    std::optional<DisplayRect> clip_;
    const void* window_ = nullptr;
};

// A drawing context on a surface, for text, lines and focus rectangles. Drawing goes straight
// into the surface's pixels.
class DrawingContext {
public:
    DrawingContext() = default;
    ~DrawingContext();
    DrawingContext(const DrawingContext&) = delete;
    DrawingContext& operator=(const DrawingContext&) = delete;

    bool valid() const { return image_ != nullptr; }
    void SetFont(const QFont& font);
    // Text on a transparent background, top-left at (x, y), in a GDI colour (red in bits 0-7).
    void TextOut(int x, int y, const QString& text, std::uint32_t gdiColour);
    // A one-pixel solid line from (x0, y0) to (x1, y1), end point included, in a GDI colour.
    void Line(int x0, int y0, int x1, int y1, std::uint32_t gdiColour);
    // A dotted focus rectangle that inverts every other pixel of its border.
    void FocusRect(const DisplayRect& rect);

private:
    friend class DisplaySurface;
    std::unique_ptr<QImage> image_; // shares the surface's pixels
    std::unique_ptr<class QPainter> painter_;
    QFont font_;
};

// The shared display context: created once by the application, it knows the screen's depth,
// owns the primary surface's state and the shared clipper, and carries the fault injection
// used by tests.
class DisplayContext {
public:
    explicit DisplayContext(int screenDepthBits = 32, UserReporter* reporter = nullptr);

    int screenDepth() const { return screenDepth_; }
    UserReporter* reporter() const { return reporter_; }
    void SetReporter(UserReporter* reporter) { reporter_ = reporter; }

    // Start-up, in the application's order; all report with call id -1.
    DisplayCode CreateDevice();
    DisplayCode SetCooperativeLevel(int flags);
    DisplayCode CreatePrimarySurface();
    DisplayCode GetPrimaryPixelFormat(int& bitsPerPixel);
    DisplayCode CreatePrimaryClipper();
    DisplayClipper& primaryClipper() { return primaryClipper_; }

    // Lost primary surface handling.
    bool IsPrimaryLost() const { return primaryLost_; }
    DisplayCode RestorePrimary();

    // Presents a surface's rectangle at (x, y) of a target image (the window's screen pixels,
    // in the screen's format: see ScreenImageFormat). Nearest-neighbour stretch when sizes
    // differ. A lost answer restores the primary before it is returned.
    DisplayCode Present(const DisplaySurface& source, const DisplayRect& sourceRect,
                        QImage& target, const DisplayRect& targetRect, int callId);
    // The QImage format of a surface or screen image at the given depth (RGB16, BGR888, RGB32).
    static QImage::Format ScreenImageFormat(int bitsPerPixel);
    QImage::Format screenImageFormat() const { return ScreenImageFormat(screenDepth_); }

    // Fault injection: the next `times` calls with this id answer `code` instead of succeeding.
    void InjectFault(int callId, DisplayCode code, int times = 1);
    void ClearFaults();
    // Used by the layer's own operations: the injected answer for this call, or 0.
    DisplayCode TakeFault(int callId);

    // Shows "DirectDraw Error %s, ID=%d" in a box titled "Error" through the reporter, then
    // asks the application to quit with exit code 0.
    void ReportDisplayError(DisplayCode code, int callId);

private:
    int screenDepth_;
    UserReporter* reporter_;
    bool primaryLost_ = false;
    DisplayClipper primaryClipper_;
    std::map<int, std::vector<DisplayCode>> faults_;
};

// One off-screen surface in the screen's pixel format.
class DisplaySurface {
public:
    DisplaySurface() = default;
    DisplaySurface(const DisplaySurface&) = delete;
    DisplaySurface& operator=(const DisplaySurface&) = delete;

    DisplayCode Create(DisplayContext& context, int width, int height, int callId);
    void Release();
    bool created() const { return context_ != nullptr; }

    DisplayCode GetPixelFormat(int& bitsPerPixel, int callId) const;
    DisplayCode SetClipper(DisplayClipper* clipper, int callId); // nullptr detaches

    // Busy answers (kWasStillDrawing) come back to the caller, which retries.
    DisplayCode Lock(SurfaceLock& lock);
    void Unlock();

    // Fills the rectangle with a raw value in the surface's pixel layout, clipped to the
    // surface and to the clip list of an attached clipper.
    DisplayCode Fill(const DisplayRect& rect, std::uint32_t value, int callId);
    // Copies source's rectangle into this surface's rectangle, stretching or shrinking with
    // nearest-neighbour sampling. source may be this surface (handled as if copied first).
    DisplayCode Blt(const DisplayRect& destRect, const DisplaySurface& source,
                    const DisplayRect& sourceRect, int callId);

    DisplayCode GetDC(DrawingContext& dc, int callId);
    DisplayCode ReleaseDC(DrawingContext& dc, int callId);

    bool IsLost() const { return lost_; }
    DisplayCode Restore();

    int width() const { return width_; }
    int height() const { return height_; }
    int pitch() const { return pitch_; }
    int bitsPerPixel() const { return bitsPerPixel_; }
    const std::uint8_t* bits() const { return pixels_.data(); }
    std::uint8_t* bits() { return pixels_.data(); }
    // A copy of the pixels as an image in ScreenImageFormat (for tests and the tool).
    QImage ToImage() const;

private:
    DisplayContext* context_ = nullptr;
    DisplayClipper* clipper_ = nullptr;
    std::vector<std::uint8_t> pixels_;
    int width_ = 0;
    int height_ = 0;
    int pitch_ = 0;
    int bitsPerPixel_ = 0;
    bool locked_ = false;
    bool lost_ = false;
};

} // namespace korvane
