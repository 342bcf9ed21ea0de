// The tile sheet's side that works with QImage: the sheet as a picture, and a picture taken
// back through the same reading as a PNG file's pixels.
#include "TileSheet.h"

#include "PngFile.h"
#include "TileSheetLayout.h"

#include <QImage>

namespace korvane {

QImage TileSheet::Export(std::span<const std::uint8_t, kTileBytes> tiles) const {
    QImage picture(width(), height(), QImage::Format_Indexed8);
    const std::array<std::uint32_t, 4> table = ColourTable();
    picture.setColorTable(QList<QRgb>(table.begin(), table.end()));
    const std::span<const std::uint8_t> sheet =
        tiles.subspan(static_cast<std::size_t>(firstTile()) * kSheetTileBytes, byteCount());
    for (int y = 0; y < height(); ++y) {
        uchar* line = picture.scanLine(y);
        for (int x = 0; x < width(); ++x) {
            const SheetPixelPlace place = SheetPixelPlaceOf(x, y);
            const unsigned low = (unsigned{sheet[place.rowByte]} >> place.bit) & 1U;
            const unsigned high =
                (unsigned{sheet[place.rowByte + kSheetPlaneBytes]} >> place.bit) & 1U;
            line[x] = static_cast<uchar>(low | high << 1U);
        }
    }
    return picture;
}

std::vector<std::uint8_t>
TileSheet::ExportPng(std::span<const std::uint8_t, kTileBytes> tiles) const {
    return EncodePng(Export(tiles));
}

TileSheetResult TileSheet::Import(const QImage& picture) const {
    PlainPicture plain;
    if (picture.isNull()) {
        return Import(plain); // 0 x 0
    }
    plain.width = picture.width();
    plain.height = picture.height();
    plain.byIndex = picture.format() == QImage::Format_Indexed8 ||
                    picture.format() == QImage::Format_Mono ||
                    picture.format() == QImage::Format_MonoLSB;
    if (plain.width != width() || plain.height != height()) {
        return Import(plain);
    }
    const QImage colours =
        plain.byIndex ? QImage() : picture.convertToFormat(QImage::Format_ARGB32);
    plain.paletteEntries = plain.byIndex ? picture.colorCount() : 0;
    plain.samples.reserve(static_cast<std::size_t>(plain.width * plain.height) *
                          (plain.byIndex ? 1U : 4U));
    for (int y = 0; y < plain.height; ++y) {
        for (int x = 0; x < plain.width; ++x) {
            if (plain.byIndex) {
                plain.samples.push_back(static_cast<std::uint16_t>(picture.pixelIndex(x, y)));
            } else {
                const QRgb colour = colours.pixel(x, y);
                plain.samples.insert(plain.samples.end(),
                                     {static_cast<std::uint16_t>(qRed(colour)),
                                      static_cast<std::uint16_t>(qGreen(colour)),
                                      static_cast<std::uint16_t>(qBlue(colour)),
                                      static_cast<std::uint16_t>(qAlpha(colour))});
            }
        }
    }
    return Import(plain);
}

} // namespace korvane
