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
// The codes are the display platform's own: severity bit, facility 0x876, then the number.
constexpr DisplayCode MakeCode(std::uint32_t number) {
    return static_cast<DisplayCode>(0x88760000U | number);
}
inline constexpr DisplayCode kSurfaceLost = MakeCode(450);
inline constexpr DisplayCode kWasStillDrawing = MakeCode(540);
inline constexpr DisplayCode kSurfaceBusy = MakeCode(430);
inline constexpr DisplayCode kInvalidRect = MakeCode(150);
inline constexpr DisplayCode kNoClipList = MakeCode(205);
inline constexpr DisplayCode kInvalidClipList = MakeCode(110);
inline constexpr DisplayCode kInvalidObject = MakeCode(130);
inline constexpr DisplayCode kDcAlreadyCreated = MakeCode(620);
inline constexpr DisplayCode kNoDc = MakeCode(586);
inline constexpr DisplayCode kTooBigHeight = MakeCode(470);
inline constexpr DisplayCode kTooBigWidth = MakeCode(490);
// The five general system codes.
inline constexpr DisplayCode kSystemOutOfMemory = static_cast<DisplayCode>(0x8007000EU);
inline constexpr DisplayCode kSystemInvalidArg = static_cast<DisplayCode>(0x80070057U);
inline constexpr DisplayCode kSystemNotImplemented = static_cast<DisplayCode>(0x80004001U);
inline constexpr DisplayCode kSystemFail = static_cast<DisplayCode>(0x80004005U);
inline constexpr DisplayCode kSystemNotInitialised = static_cast<DisplayCode>(0x800401F0U);
// The platform's names for them are the same numbers.
inline constexpr DisplayCode kOutOfMemory = kSystemOutOfMemory;
inline constexpr DisplayCode kInvalidParams = kSystemInvalidArg;
inline constexpr DisplayCode kUnsupported = kSystemNotImplemented;
inline constexpr DisplayCode kGeneric = kSystemFail;
inline constexpr DisplayCode kNotInitialized = kSystemNotInitialised;
// How many names the list has.
inline constexpr int kNameCount = 100;
// The name of entry i of the list (0 <= i < kNameCount) and its code, for tools and tests.
const char* NameAt(int index);
DisplayCode CodeAt(int index);
} // namespace dderr

// "DDERR_SURFACELOST" and so on; "Unknown Error" for a code that is not in the list.
std::string DisplayErrorName(DisplayCode code);
// "DirectDraw Error %s, ID=%d".
std::string DisplayErrorMessage(DisplayCode code, int callId);

// The largest surface side the layer creates; larger sizes answer kTooBigWidth/kTooBigHeight.
inline constexpr int kMaxSurfaceSide = 16384;

// A GDI colour value (red in bits 0-7) as a raw value in the layout of a surface of the given
// depth: the 5-6-5 word at 16 bits, the surface colour value (red in bits 16-23) at 24 and 32,
// 0 at 8 bits and below. This is how the canvas's clear colour reaches Fill.
std::uint32_t GdiColourToSurfaceValue(std::uint32_t gdiColour, int bitsPerPixel);
// The system menu colour as a GDI colour value: the application palette's window colour when
// a QGuiApplication exists, else light grey 0xF0F0F0.
std::uint32_t SystemMenuColour();

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
    DisplayClipper() = default;
    DisplayClipper(const DisplayClipper&) = delete;
    DisplayClipper& operator=(const DisplayClipper&) = delete;

    DisplayCode SetClipList(const DisplayRect& rect, int callId);
    // Makes the clipper follow the visible parts of a window (only remembered here).
    DisplayCode SetWindow(const void* window, int callId);
    const std::optional<DisplayRect>& clipList() const { return clip_; }
    const void* window() const { return window_; }

private:
    friend class DisplayContext;
    friend class DisplaySurface;
    class DisplayContext* context_ = nullptr;
    std::optional<DisplayRect> clip_;
    const void* window_ = nullptr;
};

// A drawing context on a surface, for text, lines and focus rectangles. Drawing goes straight
// into the surface's pixels.
class DrawingContext {
public:
    DrawingContext();
    ~DrawingContext();
    DrawingContext(const DrawingContext&) = delete;
    DrawingContext& operator=(const DrawingContext&) = delete;

    bool valid() const { return image_ != nullptr; }
    void SetFont(const QFont& font);
    // Text on a transparent background, top-left at (x, y), in a GDI colour (red in bits 0-7).
    void TextOut(int x, int y, const QString& text, std::uint32_t gdiColour);
    // A one-pixel solid line from (x0, y0) to (x1, y1), end point included, in a GDI colour.
    void Line(int x0, int y0, int x1, int y1, std::uint32_t gdiColour);
    // A dotted focus rectangle that inverts every other pixel of its border (a checkerboard
    // from its top-left pixel), so drawing the same rectangle twice restores the pixels.
    void FocusRect(const DisplayRect& rect);
    // The same inversion on pixels at hand (a locked surface): a second one undoes the first.
    static void InvertFocusRect(const SurfaceLock& pixels, const DisplayRect& rect);

private:
    friend class DisplaySurface;
    void End(); // finishes painting and lets go of the surface
    void PutPixel(int x, int y, std::uint32_t rawValue);
    std::unique_ptr<QImage> image_; // shares the surface's pixels
    QFont font_;
    DisplaySurface* surface_ = nullptr;
    std::uint8_t* bits_ = nullptr;
    int pitch_ = 0;
    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 0;
};

// The shared display context: created once by the application, it knows the screen's depth,
// owns the primary surface's state and the shared clipper, and carries the fault injection
// used by tests.
class DisplayContext {
public:
    explicit DisplayContext(int screenDepthBits = 32, UserReporter* reporter = nullptr);
    DisplayContext(const DisplayContext&) = delete;
    DisplayContext& operator=(const DisplayContext&) = delete;

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
    // A canvas's own clipper (call id 1); SetClipper also ties a fresh clipper to the context.
    DisplayCode CreateClipper(DisplayClipper& clipper, int callId);

    // Lost primary surface handling.
    bool IsPrimaryLost() const { return primaryLost_; }
    DisplayCode RestorePrimary();
    // What a display mode change does: the primary (LosePrimary) or it and every surface
    // (LoseSurfaces) answer kSurfaceLost until restored.
    void LosePrimary() { primaryLost_ = true; }
    void LoseSurfaces();
    std::uint32_t lossGeneration() const { return lossGeneration_; }

    // Presents a surface's rectangle at (x, y) of a target image (the window's screen pixels,
    // in the screen's format: see ScreenImageFormat). Nearest-neighbour stretch when sizes
    // differ. A lost answer restores the primary before it is returned.
    DisplayCode Present(const DisplaySurface& source, const DisplayRect& sourceRect, QImage& target,
                        const DisplayRect& targetRect, int callId);
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
    std::uint32_t lossGeneration_ = 0;
    DisplayClipper primaryClipper_;
    std::map<int, std::vector<DisplayCode>> faults_;
};

// One off-screen surface in the screen's pixel format.
class DisplaySurface {
public:
    DisplaySurface() = default;
    ~DisplaySurface();
    DisplaySurface(const DisplaySurface&) = delete;
    DisplaySurface& operator=(const DisplaySurface&) = delete;

    // Zero width or height gives an empty surface on which every operation does nothing.
    DisplayCode Create(DisplayContext& context, int width, int height, int callId);
    void Release(); // also ends a drawing context still open on the surface
    bool created() const { return context_ != nullptr; }

    DisplayCode GetPixelFormat(int& bitsPerPixel, int callId) const;
    DisplayCode SetClipper(DisplayClipper* clipper, int callId); // nullptr detaches

    // Busy answers (kWasStillDrawing) come back to the caller, which retries. A surface that is
    // already locked or has a drawing context open answers kSurfaceBusy, as do Fill and Blt.
    DisplayCode Lock(SurfaceLock& lock);
    void Unlock();

    // Fills the rectangle with a raw value in the surface's pixel layout, clipped to the
    // surface and to the clip list of an attached clipper.
    DisplayCode Fill(const DisplayRect& rect, std::uint32_t value, int callId);
    // Copies source's rectangle into this surface's rectangle, stretching or shrinking with
    // nearest-neighbour sampling: destination pixel (x, y) of a W x H destination shows source
    // pixel (left + x * srcW / W, top + y * srcH / H), rounded down, so a zoom-in by z repeats
    // each pixel z x z times and a zoom-out by d keeps the top-left pixel of each d x d block.
    // source may be this surface (handled as if copied first). Empty rectangles copy nothing;
    // a source rectangle outside the source, or a destination outside this surface without a
    // clipper, answers kInvalidRect.
    DisplayCode Blt(const DisplayRect& destRect, const DisplaySurface& source,
                    const DisplayRect& sourceRect, int callId);

    DisplayCode GetDC(DrawingContext& dc, int callId);
    DisplayCode ReleaseDC(DrawingContext& dc, int callId);

    bool IsLost() const;
    DisplayCode Restore(); // the pixels of a restored surface are cleared to zero
    bool locked() const { return locked_; }
    bool hasDrawingContext() const { return dc_ != nullptr; }
    int bytesPerPixel() const { return bytesPerPixel_; }

    int width() const { return width_; }
    int height() const { return height_; }
    int pitch() const { return pitch_; }
    int bitsPerPixel() const { return bitsPerPixel_; }
    const std::uint8_t* bits() const { return pixels_.data(); }
    std::uint8_t* bits() { return pixels_.data(); }
    // A copy of the pixels as an image in ScreenImageFormat (for tests and the tool).
    QImage ToImage() const;
    // Counts the calls that may have written pixels (creating, releasing, restoring, locking,
    // filling, blitting into it, a drawing context): the renderer keeps what it drew in its
    // frame surface and draws only changed cells again while nothing else wrote there.
    std::uint64_t pixelWrites() const { return pixelWrites_; }

private:
    friend class DrawingContext;
    friend class DisplayContext;
    friend class CRenderer;
    // What Create does, except that the pixel buffer is kept when it is large enough and its
    // bytes are left as they were: the renderer writes every byte of a frame surface itself.
    // A failure leaves the surface released, as Create does.
    DisplayCode CreateForFrame(DisplayContext& context, int width, int height, int callId);
    // Release without giving back the pixel buffer's memory.
    void Detach();
    // The answer shared by Fill and Blt before they touch pixels, and the destination clip.
    DisplayCode CheckUsable() const;
    DisplayCode DestinationClip(const DisplayRect& rect, DisplayRect& clip) const;

    DisplayContext* context_ = nullptr;
    DisplayClipper* clipper_ = nullptr;
    DrawingContext* dc_ = nullptr;
    std::vector<std::uint8_t> pixels_;
    int width_ = 0;
    int height_ = 0;
    int pitch_ = 0;
    int bitsPerPixel_ = 0;
    int bytesPerPixel_ = 0;
    bool locked_ = false;
    std::uint32_t lossGeneration_ = 0;
    std::uint64_t pixelWrites_ = 0;
};

} // namespace korvane
