#include "DisplayLayer.h"

#include "NesColours.h"
#include "SurfacePixels.h"
#include "gamedata/UserReporter.h"

#include <QGuiApplication>
#include <QPalette>

#include <cstdio>

namespace korvane {

std::uint32_t GdiColourToSurfaceValue(std::uint32_t gdiColour, int bitsPerPixel) {
    const std::uint32_t surfaceColour = GdiToSurfaceColour(gdiColour);
    switch (bitsPerPixel) {
    case 16:
        return SurfaceColourTo565(surfaceColour);
    case 24:
    case 32:
        return surfaceColour;
    default:
        return 0;
    }
}

std::uint32_t SystemMenuColour() {
    if (QGuiApplication::instance() == nullptr) {
        return 0xF0F0F0U;
    }
    const QColor c = QGuiApplication::palette().color(QPalette::Active, QPalette::Window);
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
           (static_cast<std::uint32_t>(c.blue()) << 16);
}

// ---- DisplayClipper ----

DisplayCode DisplayClipper::SetClipList(const DisplayRect& rect, int callId) {
    if (context_ != nullptr) {
        if (const DisplayCode fault = context_->TakeFault(callId); fault != kDisplayOk) {
            return fault;
        }
    }
    if (rect.right < rect.left || rect.bottom < rect.top) {
        return dderr::kInvalidClipList;
    }
    clip_ = rect;
    return kDisplayOk;
}

DisplayCode DisplayClipper::SetWindow(const void* window, int callId) {
    if (context_ != nullptr) {
        if (const DisplayCode fault = context_->TakeFault(callId); fault != kDisplayOk) {
            return fault;
        }
    }
    window_ = window;
    return kDisplayOk;
}

// ---- DisplayContext ----

DisplayContext::DisplayContext(int screenDepthBits, UserReporter* reporter)
    : screenDepth_(screenDepthBits), reporter_(reporter) {
    primaryClipper_.context_ = this;
}

DisplayCode DisplayContext::CreateDevice() {
    return TakeFault(callid::kStartup);
}

DisplayCode DisplayContext::SetCooperativeLevel(int /*flags*/) {
    return TakeFault(callid::kStartup);
}

DisplayCode DisplayContext::CreatePrimarySurface() {
    if (const DisplayCode fault = TakeFault(callid::kStartup); fault != kDisplayOk) {
        return fault;
    }
    primaryLost_ = false;
    return kDisplayOk;
}

DisplayCode DisplayContext::GetPrimaryPixelFormat(int& bitsPerPixel) {
    if (const DisplayCode fault = TakeFault(callid::kStartup); fault != kDisplayOk) {
        return fault;
    }
    bitsPerPixel = screenDepth_;
    return kDisplayOk;
}

DisplayCode DisplayContext::CreatePrimaryClipper() {
    if (const DisplayCode fault = TakeFault(callid::kStartup); fault != kDisplayOk) {
        return fault;
    }
    primaryClipper_.context_ = this;
    primaryClipper_.clip_.reset();
    primaryClipper_.window_ = nullptr;
    return kDisplayOk;
}

DisplayCode DisplayContext::CreateClipper(DisplayClipper& clipper, int callId) {
    if (const DisplayCode fault = TakeFault(callId); fault != kDisplayOk) {
        return fault;
    }
    clipper.context_ = this;
    clipper.clip_.reset();
    clipper.window_ = nullptr;
    return kDisplayOk;
}

DisplayCode DisplayContext::RestorePrimary() {
    primaryLost_ = false;
    return kDisplayOk;
}

void DisplayContext::LoseSurfaces() {
    primaryLost_ = true;
    ++lossGeneration_;
}

QImage::Format DisplayContext::ScreenImageFormat(int bitsPerPixel) {
    switch (bitsPerPixel) {
    case 16:
        return QImage::Format_RGB16;
    case 24:
        return QImage::Format_BGR888;
    case 32:
        return QImage::Format_RGB32;
    default:
        return QImage::Format_Grayscale8;
    }
}

DisplayCode DisplayContext::Present(const DisplaySurface& source, const DisplayRect& sourceRect,
                                    QImage& target, const DisplayRect& targetRect, int callId) {
    DisplayCode result = TakeFault(callId);
    if (result == kDisplayOk) {
        if (primaryLost_) {
            result = dderr::kSurfaceLost;
        } else {
            result = source.CheckUsable();
        }
    }
    if (result == dderr::kSurfaceLost && primaryLost_) {
        RestorePrimary(); // its answer does not matter: the error goes back to the caller
    }
    if (result != kDisplayOk) {
        return result;
    }
    if (target.isNull()) {
        return dderr::kInvalidParams;
    }
    const DisplayRect sourceBounds{0, 0, source.width(), source.height()};
    if (sourceRect.empty() || targetRect.empty()) {
        return kDisplayOk;
    }
    if (!pixels::Contains(sourceBounds, sourceRect)) {
        return dderr::kInvalidRect;
    }
    const DisplayRect clip =
        pixels::Intersect(targetRect, DisplayRect{0, 0, target.width(), target.height()});
    if (clip.empty()) {
        return kDisplayOk;
    }
    const int targetDepth = target.depth();
    if (targetDepth % 8 != 0 || targetDepth < 8 || targetDepth > 32) {
        return dderr::kInvalidParams;
    }
    pixels::View to{target.bits(), static_cast<int>(target.bytesPerLine()), target.width(),
                    target.height(), targetDepth / 8};
    const QImage::Format sourceFormat = ScreenImageFormat(source.bitsPerPixel());
    if (target.format() == sourceFormat) {
        pixels::View from{const_cast<std::uint8_t*>(source.bits()), source.pitch(), source.width(),
                          source.height(), source.bytesPerPixel()};
        if (target.format() == QImage::Format_RGB32 && sourceRect.width() == targetRect.width() &&
            sourceRect.height() == targetRect.height()) {
            // No scaling: one pass that copies and makes the pixels opaque.
            pixels::CopyRectOpaque32(from, sourceRect, to, targetRect, clip);
            return kDisplayOk;
        }
        pixels::StretchCopy(from, sourceRect, to, targetRect, clip);
    } else {
        // A window image in another format: convert the rectangle first.
        QImage part = source.ToImage().copy(sourceRect.left, sourceRect.top, sourceRect.width(),
                                            sourceRect.height());
        QImage converted = part.convertToFormat(target.format());
        pixels::View from{converted.bits(), static_cast<int>(converted.bytesPerLine()),
                          converted.width(), converted.height(), targetDepth / 8};
        pixels::StretchCopy(from, DisplayRect{0, 0, part.width(), part.height()}, to, targetRect,
                            clip);
    }
    if (target.format() == QImage::Format_RGB32) {
        // Surface words keep bits 24-31 zero; the window's pixels are opaque.
        for (int y = clip.top; y < clip.bottom; ++y) {
            std::uint8_t* p = to.at(clip.left, y);
            pixels::CopyOpaque32(p, p, clip.width());
        }
    }
    return kDisplayOk;
}

void DisplayContext::InjectFault(int callId, DisplayCode code, int times) {
    if (times <= 0 || code == kDisplayOk) {
        return;
    }
    std::vector<DisplayCode>& pending = faults_[callId];
    pending.insert(pending.end(), static_cast<std::size_t>(times), code);
}

void DisplayContext::ClearFaults() {
    faults_.clear();
}

DisplayCode DisplayContext::TakeFault(int callId) {
    const auto it = faults_.find(callId);
    if (it == faults_.end() || it->second.empty()) {
        return kDisplayOk;
    }
    const DisplayCode code = it->second.front();
    it->second.erase(it->second.begin());
    if (it->second.empty()) {
        faults_.erase(it);
    }
    return code;
}

void DisplayContext::ReportDisplayError(DisplayCode code, int callId) {
    const std::string message = DisplayErrorMessage(code, callId);
    if (reporter_ == nullptr) {
        std::fprintf(stderr, "Error: %s\n", message.c_str());
        return;
    }
    reporter_->ShowMessage(MessageIcon::None, "Error", message);
    reporter_->RequestQuit(0);
}

} // namespace korvane
