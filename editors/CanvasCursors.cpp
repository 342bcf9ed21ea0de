#include "CanvasCursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace korvane {

namespace {

constexpr int kSize = 32;
const QColor kOutline(0, 0, 0);
const QColor kLight(255, 255, 255);

// Fills a shape in a colour and outlines it in black, so that it shows on any background.
void DrawShape(QPainter& painter, const QPainterPath& path, const QColor& fill) {
    painter.setPen(QPen(kOutline, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(fill);
    painter.drawPath(path);
}

// A brush leaning to the lower left: wooden handle, metal ferrule, dark bristles with their
// tip at the hot spot.
void DrawBrush(QPainter& painter) {
    painter.translate(16, 16);
    painter.rotate(45);
    QPainterPath handle;
    handle.addRoundedRect(QRectF(-2.5, -16, 5, 15), 2, 2);
    DrawShape(painter, handle, QColor(176, 112, 48));
    QPainterPath ferrule;
    ferrule.addRect(QRectF(-3.5, -1, 7, 5));
    DrawShape(painter, ferrule, QColor(200, 200, 210));
    QPainterPath bristles;
    bristles.moveTo(-3.5, 4);
    bristles.lineTo(3.5, 4);
    bristles.cubicTo(3.5, 10, 1.5, 15, 0, 19);
    bristles.cubicTo(-1.5, 15, -3.5, 10, -3.5, 4);
    DrawShape(painter, bristles, QColor(40, 40, 40));
    painter.resetTransform();
}

// A pipette: rubber bulb at the upper right, glass tube down to a fine tip at the hot spot.
void DrawPipette(QPainter& painter) {
    painter.translate(16, 16);
    painter.rotate(45);
    QPainterPath bulb;
    bulb.addRoundedRect(QRectF(-4, -19, 8, 9), 4, 4);
    DrawShape(painter, bulb, QColor(200, 40, 40));
    QPainterPath collar;
    collar.addRect(QRectF(-4.5, -10.5, 9, 3));
    DrawShape(painter, collar, QColor(90, 90, 90));
    QPainterPath tube;
    tube.moveTo(-2.5, -7.5);
    tube.lineTo(2.5, -7.5);
    tube.lineTo(2.5, 10);
    tube.lineTo(0.6, 19);
    tube.lineTo(-0.6, 19);
    tube.lineTo(-2.5, 10);
    tube.closeSubpath();
    DrawShape(painter, tube, QColor(215, 235, 250));
    painter.resetTransform();
}

// A cross-hair whose centre is the hot spot, with a small paint bucket beside it.
void DrawCrossHairBucket(QPainter& painter) {
    const QPointF centre(11.5, 11.5);
    for (const auto& [from, to] : {std::pair{QPointF(1, 11.5), QPointF(8, 11.5)},
                                   std::pair{QPointF(15, 11.5), QPointF(22, 11.5)},
                                   std::pair{QPointF(11.5, 1), QPointF(11.5, 8)},
                                   std::pair{QPointF(11.5, 15), QPointF(11.5, 22)}}) {
        painter.setPen(QPen(kLight, 3.5, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(from, to);
        painter.setPen(QPen(kOutline, 1.5, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(from, to);
    }
    painter.setPen(QPen(kOutline, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, 1.0, 1.0);

    QPainterPath bucket;
    bucket.moveTo(18, 20);
    bucket.lineTo(29, 20);
    bucket.lineTo(27.5, 30);
    bucket.lineTo(19.5, 30);
    bucket.closeSubpath();
    DrawShape(painter, bucket, QColor(170, 180, 195));
    QPainterPath paint;
    paint.addEllipse(QRectF(18, 18, 11, 4));
    DrawShape(painter, paint, QColor(40, 110, 220));
    painter.setPen(QPen(kOutline, 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(18.5, 13, 10, 12), 0, 180 * 16);
}

// An open hand seen from the palm, fingers spread; the hot spot is the middle of the palm.
void DrawOpenHand(QPainter& painter) {
    const QColor skin(250, 220, 180);
    QPainterPath hand;
    hand.addRoundedRect(QRectF(8, 13, 16, 15), 6, 6);
    // Four fingers, from the index to the little finger.
    hand.addRoundedRect(QRectF(8.5, 4, 4, 13), 2, 2);
    hand.addRoundedRect(QRectF(12.75, 2, 4, 14), 2, 2);
    hand.addRoundedRect(QRectF(17, 3, 4, 13), 2, 2);
    hand.addRoundedRect(QRectF(21.25, 7, 3.5, 11), 1.75, 1.75);
    hand.setFillRule(Qt::WindingFill);
    QPainterPath thumb;
    thumb.moveTo(9, 24);
    thumb.lineTo(3, 16.5);
    thumb.cubicTo(1.5, 14.5, 4, 12.5, 5.5, 14);
    thumb.lineTo(10, 18);
    thumb.closeSubpath();
    const QPainterPath outline = hand.simplified().united(thumb);
    DrawShape(painter, outline, skin);
}

} // namespace

QImage CanvasCursors::Image(CanvasPointer pointer) {
    QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (pointer) {
    case CanvasPointer::Paint:
        DrawBrush(painter);
        break;
    case CanvasPointer::ThirdTool:
        DrawCrossHairBucket(painter);
        break;
    case CanvasPointer::Dropper:
        DrawPipette(painter);
        break;
    case CanvasPointer::EnemyGrab:
        DrawOpenHand(painter);
        break;
    }
    painter.end();
    return image;
}

QPoint CanvasCursors::HotSpot(CanvasPointer pointer) {
    switch (pointer) {
    case CanvasPointer::Paint:
    case CanvasPointer::Dropper:
        return {2, 29}; // the tip, at the lower left
    case CanvasPointer::ThirdTool:
        return {11, 11}; // the cross-hair's centre
    case CanvasPointer::EnemyGrab:
        return {16, 18}; // the palm
    }
    return {0, 0};
}

QCursor CanvasCursors::Cursor(CanvasPointer pointer) {
    const QPoint hotSpot = HotSpot(pointer);
    return QCursor(QPixmap::fromImage(Image(pointer)), hotSpot.x(), hotSpot.y());
}

} // namespace korvane
