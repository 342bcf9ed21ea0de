#include "DisplayLayer.h"

#include "SurfacePixels.h"

#include <algorithm>

namespace korvane {

namespace {

// Rows start on 16-byte boundaries, as display memory usually does; the drawing code has to
// use the pitch, not width * bytes per pixel.
constexpr int kPitchAlignment = 16;

} // namespace

DisplaySurface::~DisplaySurface() {
    Release();
}

DisplayCode DisplaySurface::Create(DisplayContext& context, int width, int height, int callId) {
    ++pixelWrites_;
    if (const DisplayCode fault = context.TakeFault(callId); fault != kDisplayOk) {
        return fault;
    }
    if (width < 0 || height < 0) {
        return dderr::kInvalidParams;
    }
    if (width > kMaxSurfaceSide) {
        return dderr::kTooBigWidth;
    }
    if (height > kMaxSurfaceSide) {
        return dderr::kTooBigHeight;
    }
    Release();
    context_ = &context;
    bitsPerPixel_ = context.screenDepth();
    bytesPerPixel_ = pixels::StoredBytesPerPixel(bitsPerPixel_);
    width_ = width;
    height_ = height;
    pitch_ = (width * bytesPerPixel_ + kPitchAlignment - 1) / kPitchAlignment * kPitchAlignment;
    pixels_.assign(static_cast<std::size_t>(pitch_) * static_cast<std::size_t>(height), 0);
    lossGeneration_ = context.lossGeneration();
    return kDisplayOk;
}

DisplayCode DisplaySurface::CreateForFrame(DisplayContext& context, int width, int height,
                                           int callId) {
    ++pixelWrites_;
    if (const DisplayCode fault = context.TakeFault(callId); fault != kDisplayOk) {
        Release();
        return fault;
    }
    if (width < 0 || height < 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) {
        Release();
        return width < 0 || height < 0   ? dderr::kInvalidParams
               : width > kMaxSurfaceSide ? dderr::kTooBigWidth
                                         : dderr::kTooBigHeight;
    }
    Detach();
    context_ = &context;
    bitsPerPixel_ = context.screenDepth();
    bytesPerPixel_ = pixels::StoredBytesPerPixel(bitsPerPixel_);
    width_ = width;
    height_ = height;
    pitch_ = (width * bytesPerPixel_ + kPitchAlignment - 1) / kPitchAlignment * kPitchAlignment;
    // resize() keeps the capacity and the old bytes; only growth is zeroed.
    pixels_.resize(static_cast<std::size_t>(pitch_) * static_cast<std::size_t>(height));
    lossGeneration_ = context.lossGeneration();
    return kDisplayOk;
}

void DisplaySurface::Release() {
    Detach();
    pixels_.clear();
    pixels_.shrink_to_fit();
}

void DisplaySurface::Detach() {
    ++pixelWrites_;
    if (dc_ != nullptr) {
        dc_->End();
    }
    context_ = nullptr;
    clipper_ = nullptr;
    width_ = 0;
    height_ = 0;
    pitch_ = 0;
    bitsPerPixel_ = 0;
    bytesPerPixel_ = 0;
    locked_ = false;
}

bool DisplaySurface::IsLost() const {
    return context_ != nullptr && lossGeneration_ != context_->lossGeneration();
}

DisplayCode DisplaySurface::Restore() {
    ++pixelWrites_;
    if (context_ == nullptr) {
        return dderr::kInvalidObject;
    }
    if (IsLost()) {
        std::fill(pixels_.begin(), pixels_.end(), std::uint8_t{0});
        lossGeneration_ = context_->lossGeneration();
    }
    return kDisplayOk;
}

DisplayCode DisplaySurface::GetPixelFormat(int& bitsPerPixel, int callId) const {
    if (context_ == nullptr) {
        return dderr::kInvalidObject;
    }
    if (const DisplayCode fault = context_->TakeFault(callId); fault != kDisplayOk) {
        return fault;
    }
    bitsPerPixel = bitsPerPixel_;
    return kDisplayOk;
}

DisplayCode DisplaySurface::SetClipper(DisplayClipper* clipper, int callId) {
    if (context_ == nullptr) {
        return dderr::kInvalidObject;
    }
    if (const DisplayCode fault = context_->TakeFault(callId); fault != kDisplayOk) {
        return fault;
    }
    if (clipper != nullptr && clipper->context_ == nullptr) {
        clipper->context_ = context_;
    }
    clipper_ = clipper;
    return kDisplayOk;
}

DisplayCode DisplaySurface::CheckUsable() const {
    if (context_ == nullptr) {
        return dderr::kInvalidObject;
    }
    if (IsLost()) {
        return dderr::kSurfaceLost;
    }
    if (locked_ || dc_ != nullptr) {
        return dderr::kSurfaceBusy;
    }
    return kDisplayOk;
}

DisplayCode DisplaySurface::Lock(SurfaceLock& lock) {
    ++pixelWrites_;
    if (context_ == nullptr) {
        return dderr::kInvalidObject;
    }
    if (const DisplayCode fault = context_->TakeFault(kLockCallId); fault != kDisplayOk) {
        return fault;
    }
    if (const DisplayCode state = CheckUsable(); state != kDisplayOk) {
        return state;
    }
    locked_ = true;
    lock.bits = pixels_.empty() ? nullptr : pixels_.data();
    lock.pitch = pitch_;
    lock.width = width_;
    lock.height = height_;
    lock.bitsPerPixel = bitsPerPixel_;
    return kDisplayOk;
}

void DisplaySurface::Unlock() {
    locked_ = false;
}

DisplayCode DisplaySurface::DestinationClip(const DisplayRect& rect, DisplayRect& clip) const {
    const DisplayRect bounds{0, 0, width_, height_};
    clip = {};
    if (rect.empty()) {
        return kDisplayOk;
    }
    if (clipper_ == nullptr) {
        if (!pixels::Contains(bounds, rect)) {
            return dderr::kInvalidRect;
        }
        clip = rect;
        return kDisplayOk;
    }
    if (clipper_->clipList().has_value()) {
        clip = pixels::Intersect(pixels::Intersect(rect, bounds), *clipper_->clipList());
    } else if (clipper_->window() != nullptr) {
        clip = pixels::Intersect(rect, bounds);
    } else {
        return dderr::kNoClipList;
    }
    return kDisplayOk;
}

namespace {

// Restores the primary surface if a lost answer came with it lost too.
DisplayCode AfterLostAnswer(DisplayContext& context, DisplayCode result) {
    if (result == dderr::kSurfaceLost && context.IsPrimaryLost()) {
        context.RestorePrimary();
    }
    return result;
}

} // namespace

DisplayCode DisplaySurface::Fill(const DisplayRect& rect, std::uint32_t value, int callId) {
    ++pixelWrites_;
    if (context_ == nullptr) {
        return dderr::kInvalidObject;
    }
    DisplayCode result = context_->TakeFault(callId);
    if (result == kDisplayOk) {
        result = CheckUsable();
    }
    if (result != kDisplayOk) {
        return AfterLostAnswer(*context_, result);
    }
    DisplayRect clip;
    if (const DisplayCode clipResult = DestinationClip(rect, clip); clipResult != kDisplayOk) {
        return clipResult;
    }
    const std::uint32_t mask =
        bytesPerPixel_ >= 4 ? 0xFFFFFFFFU : (1U << (8 * bytesPerPixel_)) - 1U;
    pixels::FillRect(pixels::View{pixels_.data(), pitch_, width_, height_, bytesPerPixel_}, clip,
                     value & mask);
    return kDisplayOk;
}

DisplayCode DisplaySurface::Blt(const DisplayRect& destRect, const DisplaySurface& source,
                                const DisplayRect& sourceRect, int callId) {
    ++pixelWrites_;
    if (context_ == nullptr) {
        return dderr::kInvalidObject;
    }
    DisplayCode result = context_->TakeFault(callId);
    if (result == kDisplayOk) {
        result = CheckUsable();
    }
    if (result == kDisplayOk && &source != this) {
        result = source.CheckUsable();
    }
    if (result != kDisplayOk) {
        return AfterLostAnswer(*context_, result);
    }
    if (source.bytesPerPixel_ != bytesPerPixel_) {
        return dderr::MakeCode(145); // DDERR_INVALIDPIXELFORMAT
    }
    if (destRect.empty() || sourceRect.empty()) {
        return kDisplayOk;
    }
    if (!pixels::Contains(DisplayRect{0, 0, source.width_, source.height_}, sourceRect)) {
        return dderr::kInvalidRect;
    }
    DisplayRect clip;
    if (const DisplayCode clipResult = DestinationClip(destRect, clip); clipResult != kDisplayOk) {
        return clipResult;
    }
    const pixels::View to{pixels_.data(), pitch_, width_, height_, bytesPerPixel_};
    if (&source == this && pixels::ShrinksInPlace(sourceRect, destRect)) {
        // A shrink onto its own top-left corner reads every source pixel before anything is
        // written over it: no copy needed (the zoomed-out canvases do this every frame).
        pixels::StretchCopy(to, sourceRect, to, destRect, clip);
    } else if (&source == this) {
        // Within one surface the source is read as it was before the copy began.
        const pixels::OwnedCopy copy = pixels::CopyOut(to, sourceRect);
        pixels::StretchCopy(copy.view, DisplayRect{0, 0, sourceRect.width(), sourceRect.height()},
                            to, destRect, clip);
    } else {
        const pixels::View from{const_cast<std::uint8_t*>(source.pixels_.data()), source.pitch_,
                                source.width_, source.height_, source.bytesPerPixel_};
        pixels::StretchCopy(from, sourceRect, to, destRect, clip);
    }
    return kDisplayOk;
}

DisplayCode DisplaySurface::GetDC(DrawingContext& dc, int callId) {
    ++pixelWrites_;
    if (context_ == nullptr) {
        return dderr::kInvalidObject;
    }
    if (const DisplayCode fault = context_->TakeFault(callId); fault != kDisplayOk) {
        return AfterLostAnswer(*context_, fault);
    }
    if (dc_ != nullptr || dc.surface_ != nullptr) {
        return dderr::kDcAlreadyCreated;
    }
    if (const DisplayCode state = CheckUsable(); state != kDisplayOk) {
        return AfterLostAnswer(*context_, state);
    }
    dc.surface_ = this;
    dc.bits_ = pixels_.data();
    dc.pitch_ = pitch_;
    dc.width_ = width_;
    dc.height_ = height_;
    dc.bitsPerPixel_ = bitsPerPixel_;
    if (bytesPerPixel_ >= 2 && width_ > 0 && height_ > 0) {
        dc.image_ = std::make_unique<QImage>(pixels_.data(), width_, height_, pitch_,
                                             DisplayContext::ScreenImageFormat(bitsPerPixel_));
    }
    dc_ = &dc;
    return kDisplayOk;
}

DisplayCode DisplaySurface::ReleaseDC(DrawingContext& dc, int callId) {
    if (context_ == nullptr) {
        return dderr::kInvalidObject;
    }
    if (dc.surface_ != this) {
        return dderr::kNoDc;
    }
    dc.End(); // the context is given back even when the answer is a failure
    return context_->TakeFault(callId);
}

QImage DisplaySurface::ToImage() const {
    if (pixels_.empty()) {
        return QImage(width_, height_, DisplayContext::ScreenImageFormat(bitsPerPixel_));
    }
    return QImage(pixels_.data(), width_, height_, pitch_,
                  DisplayContext::ScreenImageFormat(bitsPerPixel_))
        .copy();
}

} // namespace korvane
