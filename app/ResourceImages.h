#pragma once

// The program's pictures, compiled in as ":/korvane/bitmaps/<id>.png".

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace korvane {

QString BitmapResourcePath(int resourceId);
QPixmap LoadBitmapResource(int resourceId);
// A strip of 32 x 32 toolbar images cut into pixmaps, magenta (255, 0, 255) transparent.
QList<QPixmap> LoadToolbarImages(int resourceId, int imageSize = 32);
// The same images as icons, each also at twice its size (every pixel a 2 x 2 block) for screens
// of device pixel ratio 2, so that neither size is smoothed.
QList<QIcon> LoadToolbarIcons(int resourceId, int imageSize = 32);
// The application icon in every size that was drawn for it.
QIcon ApplicationIcon();

} // namespace korvane
