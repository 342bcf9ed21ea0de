#include "ToolButtonArtwork.h"

#include <QPainter>
#include <QPolygon>

#include <array>
#include <functional>

namespace artwork {

namespace {

constexpr int kSize = 16;
const QColor kGrey(192, 192, 192);
const QColor kInk(30, 30, 40);
const QColor kWhite(255, 255, 255);
const QColor kPaper(250, 250, 240);
const QColor kRed(210, 50, 40);
const QColor kBlue(40, 80, 200);
const QColor kWood(170, 110, 50);
const QColor kMetal(120, 120, 130);
const QColor kGridLine(60, 60, 70);

// A picture from 16 rows of 16 characters: '.' is the grey background, the others are looked
// up in the legend.
QImage FromRows(const std::array<const char*, kSize>& rows,
                const std::vector<std::pair<char, QColor>>& legend) {
    QImage image(kSize, kSize, QImage::Format_RGB888);
    image.fill(kGrey);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const char key = rows.at(static_cast<std::size_t>(y))[x];
            for (const auto& [symbol, colour] : legend) {
                if (symbol == key) {
                    image.setPixelColor(x, y, colour);
                }
            }
        }
    }
    return image;
}

QImage Drawn(const std::function<void(QPainter&)>& draw) {
    QImage image(kSize, kSize, QImage::Format_RGB888);
    image.fill(kGrey);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    draw(painter);
    return image;
}

// An arrow pointing right, turned by quarter turns (0 right, 1 down, 2 left, 3 up).
QImage Arrow(int quarterTurns) {
    return Drawn([quarterTurns](QPainter& p) {
        p.translate(8, 8);
        p.rotate(90.0 * quarterTurns);
        p.translate(-8, -8);
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawRect(2, 6, 7, 4);
        p.drawPolygon(QPolygon({QPoint(8, 2), QPoint(14, 8), QPoint(8, 14)}));
    });
}

// Two arrows pointing away from a dashed axis: vertical axis for a left-right mirror,
// horizontal for a top-bottom mirror.
QImage Mirror(bool horizontal) {
    return Drawn([horizontal](QPainter& p) {
        if (!horizontal) {
            p.translate(8, 8);
            p.rotate(90);
            p.translate(-8, -8);
        }
        p.setPen(QPen(kInk, 1, Qt::DashLine));
        p.drawLine(7, 1, 7, 14);
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawPolygon(QPolygon({QPoint(1, 7), QPoint(5, 3), QPoint(5, 11)}));
        p.drawRect(5, 6, 1, 3);
        p.drawPolygon(QPolygon({QPoint(14, 7), QPoint(10, 3), QPoint(10, 11)}));
        p.drawRect(9, 6, 1, 3);
    });
}

// Three quarters of a circle with an arrow head at its end.
QImage Rotation(bool clockwise) {
    return Drawn([clockwise](QPainter& p) {
        if (!clockwise) {
            // The counter-clockwise picture is the clockwise one mirrored left to right.
            p.translate(kSize, 0);
            p.scale(-1, 1);
        }
        p.setPen(QPen(kBlue, 2));
        p.setBrush(Qt::NoBrush);
        // From the top, clockwise round to the left side.
        p.drawArc(QRect(3, 3, 10, 10), 90 * 16, -270 * 16);
        // At the arc's end on the left, where the turn goes upwards.
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawPolygon(QPolygon({QPoint(0, 8), QPoint(7, 8), QPoint(3, 3)}));
    });
}

QImage Paint() {
    return FromRows({"...........kkk..", "..........kwwk..", ".........kwwk...", "........kwwk....",
                     ".......kwwk.....", "......kwwk......", ".....kmmk.......", "....kmmk........",
                     "...krrk.........", "..krrrk.........", ".krrrk..........", ".krrk...........",
                     "krrk............", "kkk.............", "................",
                     "................"},
                    {{'k', kInk}, {'w', kWood}, {'m', kMetal}, {'r', kRed}});
}

QImage Dropper() {
    return FromRows({"............kk..", "...........krrk.", "..........krrrrk", "..........krrrk.",
                     "........kkkrrk..", ".........kkkk...", "........kwwkk...", ".......kwwwk....",
                     "......kwwwk.....", ".....kwwwk......", "....kwwwk.......", "...kbbwk........",
                     "..kbbbk.........", "..kbbk..........", ".kkk............",
                     ".b.............."},
                    {{'k', kInk}, {'w', kWhite}, {'r', kRed}, {'b', kBlue}});
}

// A pail with its handle, paint spilling from its lip.
QImage Bucket() {
    return FromRows({"................", ".....kkkkk......", "....k.....k.....", "...k.......k....",
                     "..kkkkkkkkkkkb..", "..kbbbbbbbbbkbb.", "..kmmmmmmmmmk.b.", "..kmmmmmmmmmk.b.",
                     "...kmmmmmmmk..bb", "...kmmmmmmmk..bb", "...kmmmmmmmk....", "....kmmmmmk.....",
                     "....kmmmmmk.....", "....kkkkkkk.....", "................",
                     "................"},
                    {{'k', kInk}, {'m', kMetal}, {'b', kBlue}});
}

// A tile filled with one colour: fill and erase.
QImage FillErase() {
    return Drawn([](QPainter& p) {
        p.setPen(kInk);
        p.setBrush(kRed);
        p.drawRect(2, 2, 11, 11);
        p.setPen(QPen(kWhite, 1));
        p.drawLine(4, 11, 11, 4);
    });
}

QImage Copy() {
    return Drawn([](QPainter& p) {
        p.setPen(kInk);
        p.setBrush(kPaper);
        p.drawRect(1, 1, 8, 10);
        p.drawRect(6, 4, 8, 10);
        p.setPen(kBlue);
        for (int y = 7; y <= 11; y += 2) {
            p.drawLine(8, y, 12, y);
        }
    });
}

QImage Paste() {
    return Drawn([](QPainter& p) {
        p.setPen(kInk);
        p.setBrush(kWood);
        p.drawRect(1, 2, 10, 12);
        p.setBrush(kMetal);
        p.drawRect(4, 1, 4, 2);
        p.setBrush(kPaper);
        p.drawRect(6, 6, 8, 9);
        p.setPen(kBlue);
        for (int y = 9; y <= 13; y += 2) {
            p.drawLine(8, y, 12, y);
        }
    });
}

// A framed square divided into 3 x 3 cells; without the inner lines when the grid is hidden.
QImage Grid(bool shown) {
    return Drawn([shown](QPainter& p) {
        p.setPen(kGridLine);
        p.setBrush(kWhite);
        p.drawRect(1, 1, 13, 13);
        if (shown) {
            for (int at : {5, 10}) {
                p.drawLine(at, 1, at, 14);
                p.drawLine(1, at, 14, at);
            }
        }
    });
}

} // namespace

std::vector<std::pair<int, QImage>> ToolButtonImages() {
    return {
        {138, Bucket()},   {139, Copy()},          {140, Dropper()},      {141, FillErase()},
        {142, Grid(true)}, {143, Mirror(true)},    {144, Mirror(false)},  {145, Paint()},
        {146, Paste()},    {147, Rotation(false)}, {148, Rotation(true)}, {149, Arrow(1)},
        {150, Arrow(2)},   {151, Arrow(0)},        {152, Arrow(3)},       {184, Grid(false)},
    };
}

} // namespace artwork
