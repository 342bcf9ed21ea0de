#include "ResourceImages.h"

#include <QBitmap>
#include <QImage>

#include <array>

namespace korvane {

QString BitmapResourcePath(int resourceId) {
    return QStringLiteral(":/korvane/bitmaps/%1.png").arg(resourceId);
}

QPixmap LoadBitmapResource(int resourceId) {
    return QPixmap(BitmapResourcePath(resourceId));
}

QList<QPixmap> LoadToolbarImages(int resourceId, int imageSize) {
    QList<QPixmap> images;
    const QImage strip(BitmapResourcePath(resourceId));
    if (strip.isNull() || imageSize <= 0) {
        return images;
    }
    const QImage rgb = strip.convertToFormat(QImage::Format_RGB32);
    for (int left = 0; left + imageSize <= rgb.width(); left += imageSize) {
        const QImage cell = rgb.copy(left, 0, imageSize, imageSize);
        QPixmap pixmap = QPixmap::fromImage(cell);
        pixmap.setMask(
            QBitmap::fromImage(cell.createMaskFromColor(qRgb(255, 0, 255), Qt::MaskInColor)));
        images.append(pixmap);
    }
    return images;
}

QList<QIcon> LoadToolbarIcons(int resourceId, int imageSize) {
    QList<QIcon> icons;
    for (const QPixmap& image : LoadToolbarImages(resourceId, imageSize)) {
        QIcon icon(image);
        QPixmap doubled =
            image.scaled(image.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        doubled.setDevicePixelRatio(2.0);
        icon.addPixmap(doubled);
        icons.append(icon);
    }
    return icons;
}

QIcon ApplicationIcon() {
    QIcon icon;
    constexpr std::array<int, 6> kSizes{16, 24, 32, 48, 64, 128};
    for (int size : kSizes) {
        icon.addFile(QStringLiteral(":/korvane/icons/korvane-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

} // namespace korvane
