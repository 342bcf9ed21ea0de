#include "ToolButtonPicture.h"

#include "graphics/CPixelImage.h"

#include <QImage>
#include <QPixmap>

namespace korvane {

namespace {

constexpr int kSharpRatio = 2;

// The colour as the image keeps it: on a screen of fewer colours the stored pixels are rounded,
// and a colour is found only in its rounded form.
std::uint32_t StoredForm(std::uint32_t colour) {
    CPixelImage one;
    one.SetSize(1, 1);
    one.SetPixel(colour, 0, 0);
    return one.GetPixel(0, 0);
}

} // namespace

QIcon ToolButtonPicture(const CPixelImage& bitmap, std::uint32_t background) {
    const std::uint32_t transparent = StoredForm(background);
    QImage picture(bitmap.width(), bitmap.height(), QImage::Format_ARGB32);
    QImage doubled(bitmap.width() * kSharpRatio, bitmap.height() * kSharpRatio,
                   QImage::Format_ARGB32);
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            const std::uint32_t colour = bitmap.GetPixel(x, y);
            const QRgb pixel =
                colour == transparent
                    ? qRgba(0, 0, 0, 0)
                    : qRgb(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                           static_cast<int>((colour >> 16) & 0xFF));
            picture.setPixel(x, y, pixel);
            for (int dy = 0; dy < kSharpRatio; ++dy) {
                for (int dx = 0; dx < kSharpRatio; ++dx) {
                    doubled.setPixel(x * kSharpRatio + dx, y * kSharpRatio + dy, pixel);
                }
            }
        }
    }
    QPixmap sharp = QPixmap::fromImage(doubled);
    sharp.setDevicePixelRatio(kSharpRatio);
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(picture));
    icon.addPixmap(sharp);
    return icon;
}

} // namespace korvane
