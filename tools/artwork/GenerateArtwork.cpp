// Draws the program's pictures: the splash, both toolbar strips, the editors' tool buttons and
// the application icon.
// Run it once after changing a picture and commit what it writes:
//   korvane-artwork <resources folder>

#include "ToolButtonArtwork.h"

#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cstdio>
#include <functional>

namespace {

constexpr QRgb kMagenta = 0xFFFF00FF;
using Drawing = std::function<void(QPainter&)>;

// Draws a 32 x 32 picture with smoothing, then makes every pixel either opaque or magenta so
// that the toolbar's colour key leaves clean edges.
QImage ToolbarImage(const Drawing& draw) {
    QImage picture(32, 32, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter);
    }
    QImage keyed(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QColor colour = QColor::fromRgba(picture.pixel(x, y));
            if (colour.alpha() < 128) {
                keyed.setPixel(x, y, kMagenta);
                continue;
            }
            QRgb opaque = qRgb(colour.red(), colour.green(), colour.blue());
            if (opaque == kMagenta) {
                opaque = qRgb(254, 0, 254); // never the key colour itself
            }
            keyed.setPixel(x, y, opaque);
        }
    }
    return keyed;
}

void Outline(QPainter& p, const QColor& fill, qreal width = 1.5) {
    p.setPen(QPen(QColor(30, 30, 40), width));
    p.setBrush(fill);
}

void DrawOpen(QPainter& p) {
    Outline(p, QColor(226, 182, 74));
    p.drawRoundedRect(QRectF(3, 8, 22, 18), 2, 2);
    QPainterPath flap;
    flap.moveTo(7, 14);
    flap.lineTo(30, 14);
    flap.lineTo(25, 27);
    flap.lineTo(3, 27);
    flap.closeSubpath();
    Outline(p, QColor(246, 214, 120));
    p.drawPath(flap);
    Outline(p, QColor(70, 140, 220), 1.2);
    QPainterPath arrow;
    arrow.moveTo(20, 3);
    arrow.lineTo(28, 7);
    arrow.lineTo(20, 11);
    arrow.closeSubpath();
    p.drawPath(arrow);
}

void DrawSave(QPainter& p) {
    Outline(p, QColor(60, 90, 170));
    p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
    Outline(p, QColor(235, 235, 240), 1.0);
    p.drawRect(QRectF(9, 5, 14, 9));
    Outline(p, QColor(40, 50, 80), 1.0);
    p.drawRect(QRectF(9, 18, 14, 9));
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(QRectF(18, 6, 3, 6));
}

void DrawAbout(QPainter& p) {
    Outline(p, QColor(60, 130, 220));
    p.drawEllipse(QRectF(3, 3, 26, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(14, 7, 4.5, 4.5));
    p.drawRoundedRect(QRectF(13.5, 13, 5, 12), 1.5, 1.5);
}

// Eight by eight pixels enlarged: the tile editor.
void DrawTile(QPainter& p) {
    constexpr std::array<const char*, 8> kRows{"00111100", "01222210", "12233221", "12300321",
                                               "12300321", "12233221", "01222210", "00111100"};
    const std::array<QColor, 4> colours{QColor(250, 250, 250), QColor(40, 40, 60),
                                        QColor(220, 80, 60), QColor(250, 200, 80)};
    p.setPen(Qt::NoPen);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            p.setBrush(colours.at(
                static_cast<std::size_t>(kRows.at(static_cast<std::size_t>(y))[x] - '0')));
            p.drawRect(QRectF(2 + x * 3.5, 2 + y * 3.5, 3.5, 3.5));
        }
    }
    p.setPen(QPen(QColor(30, 30, 40), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(2, 2, 28, 28));
}

void Brick(QPainter& p, const QRectF& area, const QColor& colour) {
    Outline(p, colour, 1.0);
    p.drawRect(area);
    p.setPen(QPen(colour.darker(150), 1.0));
    const qreal midY = area.top() + area.height() / 2;
    p.drawLine(QPointF(area.left(), midY), QPointF(area.right(), midY));
    p.drawLine(QPointF(area.left() + area.width() / 2, area.top()),
               QPointF(area.left() + area.width() / 2, midY));
}

// Two by two tiles: the block editor.
void DrawBlock(QPainter& p) {
    Brick(p, QRectF(3, 3, 13, 13), QColor(200, 90, 60));
    Brick(p, QRectF(16, 3, 13, 13), QColor(180, 80, 50));
    Brick(p, QRectF(3, 16, 13, 13), QColor(180, 80, 50));
    Brick(p, QRectF(16, 16, 13, 13), QColor(200, 90, 60));
}

// Two by two blocks: the assembly editor.
void DrawAssembly(QPainter& p) {
    const std::array<QColor, 4> colours{QColor(200, 90, 60), QColor(90, 160, 80),
                                        QColor(80, 120, 200), QColor(220, 190, 70)};
    for (int i = 0; i < 4; ++i) {
        const qreal x = 3 + (i % 2) * 13;
        const qreal y = 3 + (i / 2) * 13;
        Outline(p, colours.at(static_cast<std::size_t>(i)), 1.0);
        p.drawRect(QRectF(x, y, 13, 13));
        p.setPen(QPen(colours.at(static_cast<std::size_t>(i)).darker(160), 1.0));
        p.drawLine(QPointF(x + 6.5, y + 1), QPointF(x + 6.5, y + 12));
        p.drawLine(QPointF(x + 1, y + 6.5), QPointF(x + 12, y + 6.5));
    }
}

// A screen with a floor, a ladder and a door: the room editor.
void DrawRoom(QPainter& p) {
    Outline(p, QColor(40, 40, 90));
    p.drawRect(QRectF(2, 3, 28, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(190, 90, 60));
    p.drawRect(QRectF(3, 23, 26, 5));
    p.drawRect(QRectF(3, 13, 12, 3));
    p.setBrush(QColor(230, 200, 90));
    for (int rung = 0; rung < 3; ++rung) {
        p.drawRect(QRectF(19, 10 + rung * 4, 6, 1.5));
    }
    p.drawRect(QRectF(19, 8, 1.5, 15));
    p.drawRect(QRectF(23.5, 8, 1.5, 15));
    p.setBrush(QColor(110, 70, 40));
    p.drawRoundedRect(QRectF(6, 16, 6, 7), 2, 2);
}

// Rooms in a row with an arrow: the hallway editor.
void DrawHallway(QPainter& p) {
    for (int i = 0; i < 3; ++i) {
        Outline(p, i == 1 ? QColor(90, 160, 80) : QColor(70, 110, 190), 1.0);
        p.drawRect(QRectF(2 + i * 9.5, 6, 8.5, 12));
    }
    Outline(p, QColor(230, 80, 60), 1.2);
    QPainterPath arrow;
    arrow.moveTo(4, 22);
    arrow.lineTo(22, 22);
    arrow.lineTo(22, 19);
    arrow.lineTo(29, 24.5);
    arrow.lineTo(22, 30);
    arrow.lineTo(22, 27);
    arrow.lineTo(4, 27);
    arrow.closeSubpath();
    p.drawPath(arrow);
}

// A little horned creature: the enemy placement editor.
void DrawEnemy(QPainter& p) {
    Outline(p, QColor(120, 190, 70));
    QPainterPath horns;
    horns.moveTo(8, 11);
    horns.lineTo(6, 3);
    horns.lineTo(13, 8);
    horns.moveTo(24, 11);
    horns.lineTo(26, 3);
    horns.lineTo(19, 8);
    p.drawPath(horns);
    p.drawEllipse(QRectF(5, 7, 22, 20));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(10, 12, 5, 6));
    p.drawEllipse(QRectF(17, 12, 5, 6));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 40));
    p.drawEllipse(QRectF(12, 14, 2.5, 3));
    p.drawEllipse(QRectF(19, 14, 2.5, 3));
    p.setPen(QPen(QColor(30, 30, 40), 1.5));
    p.drawLine(QPointF(12, 22), QPointF(20, 22));
    Outline(p, QColor(120, 190, 70), 1.2);
    p.drawRect(QRectF(8, 26, 5, 3));
    p.drawRect(QRectF(19, 26, 5, 3));
}

// Four swatches of four colours: the palette editor.
void DrawPalette(QPainter& p) {
    const std::array<std::array<QColor, 4>, 4> rows{{
        {QColor(20, 20, 20), QColor(150, 40, 30), QColor(230, 90, 50), QColor(250, 200, 120)},
        {QColor(20, 20, 20), QColor(30, 60, 160), QColor(70, 130, 240), QColor(170, 210, 250)},
        {QColor(20, 20, 20), QColor(30, 110, 40), QColor(90, 190, 70), QColor(190, 240, 150)},
        {QColor(20, 20, 20), QColor(100, 100, 100), QColor(180, 180, 180), QColor(250, 250, 250)},
    }};
    p.setPen(QPen(QColor(30, 30, 40), 1.0));
    for (std::size_t r = 0; r < 4; ++r) {
        for (std::size_t c = 0; c < 4; ++c) {
            p.setBrush(rows[r][c]);
            p.drawRect(QRectF(2 + static_cast<qreal>(c) * 7, 2 + static_cast<qreal>(r) * 7, 7, 7));
        }
    }
}

// A green triangle pointing right on a dark screen: Play in Emulator.
void DrawPlay(QPainter& p) {
    Outline(p, QColor(40, 44, 60));
    p.drawRoundedRect(QRectF(2, 4, 28, 24), 3, 3);
    Outline(p, QColor(70, 200, 80), 1.2);
    QPainterPath triangle;
    triangle.moveTo(11, 9);
    triangle.lineTo(24, 16);
    triangle.lineTo(11, 23);
    triangle.closeSubpath();
    p.drawPath(triangle);
}

QImage Strip(const std::vector<Drawing>& drawings) {
    QImage strip(32 * static_cast<int>(drawings.size()), 32, QImage::Format_RGB32);
    QPainter painter(&strip);
    for (std::size_t i = 0; i < drawings.size(); ++i) {
        painter.drawImage(static_cast<int>(i) * 32, 0, ToolbarImage(drawings[i]));
    }
    return strip;
}

void DrawCastle(QPainter& p, const QRectF& area, qreal brick) {
    // Wall and two towers of bricks with battlements, a gate and a window.
    auto bricks = [&](const QRectF& part) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(150, 70, 50));
        p.drawRect(part);
        p.setPen(QPen(QColor(90, 40, 30), 1.0));
        int row = 0;
        for (qreal y = part.top(); y < part.bottom(); y += brick / 2, ++row) {
            p.drawLine(QPointF(part.left(), y), QPointF(part.right(), y));
            for (qreal x = part.left() + ((row % 2) != 0 ? brick / 2 : 0); x < part.right();
                 x += brick) {
                p.drawLine(QPointF(x, y), QPointF(x, std::min(y + brick / 2, part.bottom())));
            }
        }
    };
    auto battlements = [&](const QRectF& part) {
        for (qreal x = part.left(); x + brick / 2 <= part.right() + 0.5; x += brick) {
            bricks(QRectF(x, part.top() - brick / 2, brick / 2, brick / 2));
        }
    };
    const qreal towerWidth = area.width() * 0.22;
    const QRectF wall(area.left() + towerWidth, area.top() + area.height() * 0.35,
                      area.width() - 2 * towerWidth, area.height() * 0.65);
    const QRectF left(area.left(), area.top(), towerWidth, area.height());
    const QRectF right(area.right() - towerWidth, area.top(), towerWidth, area.height());
    for (const QRectF& part : {wall, left, right}) {
        bricks(part);
        battlements(part);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 20, 30));
    const QRectF gate(wall.center().x() - wall.width() * 0.15, wall.bottom() - wall.height() * 0.55,
                      wall.width() * 0.3, wall.height() * 0.55);
    QPainterPath arch;
    arch.moveTo(gate.bottomLeft());
    arch.lineTo(gate.left(), gate.top() + gate.width() / 2);
    arch.arcTo(QRectF(gate.left(), gate.top(), gate.width(), gate.width()), 180, -180);
    arch.lineTo(gate.bottomRight());
    arch.closeSubpath();
    p.drawPath(arch);
    p.setBrush(QColor(250, 210, 90));
    for (const QRectF& tower : {left, right}) {
        p.drawRoundedRect(
            QRectF(tower.center().x() - brick * 0.3, tower.top() + brick, brick * 0.6, brick * 1.2),
            brick * 0.3, brick * 0.3);
    }
}

QImage Splash() {
    QImage splash(400, 200, QImage::Format_RGB888);
    QPainter p(&splash);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 200);
    sky.setColorAt(0, QColor(16, 20, 64));
    sky.setColorAt(1, QColor(92, 60, 130));
    p.fillRect(splash.rect(), sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 230));
    constexpr std::array<std::array<int, 2>, 14> kStars{{{22, 18},
                                                         {60, 40},
                                                         {95, 12},
                                                         {140, 30},
                                                         {180, 14},
                                                         {222, 42},
                                                         {260, 20},
                                                         {300, 36},
                                                         {340, 12},
                                                         {372, 30},
                                                         {30, 70},
                                                         {120, 64},
                                                         {385, 70},
                                                         {250, 66}}};
    for (const auto& star : kStars) {
        p.drawEllipse(QPointF(star[0], star[1]), 1.3, 1.3);
    }
    p.setBrush(QColor(250, 240, 200));
    p.drawEllipse(QPointF(345, 52), 16, 16);
    p.setBrush(QColor(40, 30, 70));
    p.drawEllipse(QPointF(352, 47), 14, 14);
    // Ground of blocks.
    for (int x = 0; x < 400; x += 16) {
        p.setBrush(QColor(70, 130, 60));
        p.drawRect(x, 176, 16, 4);
        p.setBrush(QColor(110, 80, 50));
        p.drawRect(x, 180, 16, 20);
        p.setPen(QPen(QColor(70, 50, 30), 1));
        p.drawLine(x, 180, x, 200);
        p.drawLine(x, 190, x + 16, 190);
        p.setPen(Qt::NoPen);
    }
    DrawCastle(p, QRectF(256, 86, 124, 90), 12);
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(44);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(20, 10, 30));
    p.drawText(QRectF(24, 62, 220, 70), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Korvane"));
    p.setPen(QColor(255, 206, 84));
    p.drawText(QRectF(20, 58, 220, 70), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Korvane"));
    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(14);
    p.setFont(subtitle);
    p.setPen(QColor(230, 230, 250));
    p.drawText(QRectF(22, 122, 220, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Level editor"));
    return splash;
}

QImage Icon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 40, 96));
    p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);
    DrawCastle(p, QRectF(s * 0.12, s * 0.3, s * 0.76, s * 0.58), std::max(2.0, s * 0.1));
    p.setBrush(QColor(70, 130, 60));
    p.drawRect(QRectF(s * 0.06, s * 0.86, s * 0.88, s * 0.06));
    return icon;
}

bool Save(const QImage& image, const QString& path) {
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s (%dx%d)\n", qPrintable(path), image.width(), image.height());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: korvane-artwork RESOURCES_FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    folder.mkpath(QStringLiteral("bitmaps"));
    folder.mkpath(QStringLiteral("icons"));
    bool ok = Save(Splash(), folder.filePath(QStringLiteral("bitmaps/185.png")));
    ok = Save(Strip({DrawOpen, DrawSave, DrawAbout}),
              folder.filePath(QStringLiteral("bitmaps/128.png"))) &&
         ok;
    ok = Save(Strip({DrawOpen, DrawSave, DrawTile, DrawBlock, DrawAssembly, DrawRoom, DrawHallway,
                     DrawEnemy, DrawPalette, DrawPlay, DrawAbout}),
              folder.filePath(QStringLiteral("bitmaps/181.png"))) &&
         ok;
    for (const auto& [resourceId, image] : artwork::ToolButtonImages()) {
        ok = Save(image, folder.filePath(QStringLiteral("bitmaps/%1.png").arg(resourceId))) && ok;
    }
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        ok = Save(Icon(size), folder.filePath(QStringLiteral("icons/korvane-%1.png").arg(size))) &&
             ok;
    }
    return ok ? 0 : 1;
}
