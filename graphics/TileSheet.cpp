#include "TileSheet.h"

#include "NesColours.h"
#include "PngFile.h"
#include "gamedata/FileMessages.h"
#include "gamedata/RegularFileReader.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <algorithm>
#include <cstdio>

namespace korvane {

namespace {

constexpr int kTilePixels = 8;
constexpr std::size_t kBytesPerTile = 16;
constexpr std::size_t kPlaneBytes = 8; // plane 1 follows plane 0
constexpr int kHalfTiles = 128;
constexpr int kPaletteIndices = 4;
constexpr int kOpaque = 255;

// Where sheet pixel (x, y) lies in the sheet's tile bytes: the byte of its row in plane 0 and
// the bit of its column.
struct PixelPlace {
    std::size_t rowByte;
    unsigned bit;
};

PixelPlace PlaceOf(int x, int y) {
    const int tile = (y / kTilePixels) * kTileSheetColumns + x / kTilePixels;
    return {static_cast<std::size_t>(tile) * kBytesPerTile +
                static_cast<std::size_t>(y % kTilePixels),
            static_cast<unsigned>(kTilePixels - 1 - x % kTilePixels)};
}

std::string PixelText(int x, int y) {
    return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

std::string SizeText(int width, int height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

std::string ColourText(QRgb colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", static_cast<unsigned>(qRed(colour)),
                  static_cast<unsigned>(qGreen(colour)), static_cast<unsigned>(qBlue(colour)));
    return text;
}

bool IsIndexed(const QImage& picture) {
    return picture.format() == QImage::Format_Indexed8 || picture.format() == QImage::Format_Mono ||
           picture.format() == QImage::Format_MonoLSB;
}

TileSheetResult Refusal(const std::string& why) {
    return {{}, "Tile sheet refused: " + why};
}

} // namespace

TileSheet::TileSheet(TileSheetPart part, std::span<const std::uint8_t, 4> nesColours)
    : part_(part), colours_{} {
    std::copy(nesColours.begin(), nesColours.end(), colours_.begin());
}

int TileSheet::firstTile() const {
    return part_ == TileSheetPart::SecondHalf ? kHalfTiles : 0;
}

int TileSheet::tileCount() const {
    return part_ == TileSheetPart::AllTiles ? 2 * kHalfTiles : kHalfTiles;
}

std::size_t TileSheet::byteCount() const {
    return static_cast<std::size_t>(tileCount()) * kBytesPerTile;
}

int TileSheet::height() const {
    return tileCount() / kTileSheetColumns * kTilePixels;
}

std::string TileSheet::TileRangeText() const {
    return "tiles " + std::to_string(firstTile()) + "-" +
           std::to_string(firstTile() + tileCount() - 1);
}

std::array<QRgb, 4> TileSheet::ColourTable() const {
    std::array<QRgb, 4> table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        const NesRgb& rgb = NesColourTable[colours_[i] & 0x3FU];
        table[i] = qRgb(rgb.red, rgb.green, rgb.blue);
    }
    return table;
}

std::string TileSheet::PaletteText() const {
    std::string text;
    for (const QRgb colour : ColourTable()) {
        text += (text.empty() ? "" : ", ") + ColourText(colour);
    }
    return text;
}

QImage TileSheet::Export(std::span<const std::uint8_t, kTileBytes> tiles) const {
    QImage picture(width(), height(), QImage::Format_Indexed8);
    const std::array<QRgb, 4> table = ColourTable();
    picture.setColorTable(QList<QRgb>(table.begin(), table.end()));
    const std::span<const std::uint8_t> sheet =
        tiles.subspan(static_cast<std::size_t>(firstTile()) * kBytesPerTile, byteCount());
    for (int y = 0; y < height(); ++y) {
        uchar* line = picture.scanLine(y);
        for (int x = 0; x < width(); ++x) {
            const PixelPlace place = PlaceOf(x, y);
            const unsigned low = (unsigned{sheet[place.rowByte]} >> place.bit) & 1U;
            const unsigned high = (unsigned{sheet[place.rowByte + kPlaneBytes]} >> place.bit) & 1U;
            line[x] = static_cast<uchar>(low | high << 1U);
        }
    }
    return picture;
}

std::vector<std::uint8_t>
TileSheet::ExportPng(std::span<const std::uint8_t, kTileBytes> tiles) const {
    return EncodePng(Export(tiles));
}

TileSheetResult TileSheet::WrongSize(QSize size) const {
    const int commonWidth = std::min(size.width(), width());
    const int commonHeight = std::min(size.height(), height());
    // Reading order: along the first row the widths part at commonWidth; below the rows both
    // have, every pixel of the taller one is offending.
    int x = 0;
    int y = commonHeight;
    if (size.width() != width() && commonHeight > 0) {
        x = commonWidth;
        y = 0;
    }
    const bool outside = x < size.width() && y < size.height();
    return Refusal("the picture is " + SizeText(size.width(), size.height()) + " pixels, not " +
                   SizeText(width(), height()) + " (" + TileRangeText() + "), so " +
                   PixelText(x, y) +
                   (outside ? " lies outside the sheet." : " of the sheet is missing."));
}

TileSheetResult TileSheet::Import(const QImage& picture) const {
    const QSize size = picture.isNull() ? QSize(0, 0) : picture.size();
    if (size != QSize(width(), height())) {
        return WrongSize(size);
    }
    const bool indexed = IsIndexed(picture);
    const QImage colours = indexed ? QImage() : picture.convertToFormat(QImage::Format_ARGB32);
    const std::array<QRgb, 4> table = ColourTable();
    std::vector<QRgb> seen; // the distinct colours met so far, all of them the palette's
    TileSheetResult result;
    result.tiles.assign(byteCount(), 0);
    for (int y = 0; y < height(); ++y) {
        for (int x = 0; x < width(); ++x) {
            int value = 0;
            if (indexed) {
                value = picture.pixelIndex(x, y);
                if (value >= kPaletteIndices) {
                    return Refusal(PixelText(x, y) + " has palette index " + std::to_string(value) +
                                   "; a tile pixel takes the indices 0 to 3.");
                }
            } else {
                const QRgb colour = colours.pixel(x, y);
                if (qAlpha(colour) != kOpaque) {
                    return Refusal(PixelText(x, y) + " is not opaque (" + ColourText(colour) +
                                   " at alpha " + std::to_string(qAlpha(colour)) +
                                   "); the palette's colours (" + PaletteText() + ") are opaque.");
                }
                // The first entry of that colour: the lower index wins.
                const auto match = std::find(table.begin(), table.end(), colour);
                if (match == table.end()) {
                    const bool fifth = seen.size() >= table.size();
                    return Refusal(PixelText(x, y) + " is " + ColourText(colour) +
                                   (fifth ? ", a fifth colour: a tile sheet has at most 4, "
                                            "those of the palette ("
                                          : ", none of the palette's colours (") +
                                   PaletteText() + ").");
                }
                if (std::find(seen.begin(), seen.end(), colour) == seen.end()) {
                    seen.push_back(colour);
                }
                value = static_cast<int>(match - table.begin());
            }
            const PixelPlace place = PlaceOf(x, y);
            const auto bit = static_cast<std::uint8_t>(1U << place.bit);
            if ((value & 1) != 0) {
                result.tiles[place.rowByte] |= bit;
            }
            if ((value & 2) != 0) {
                result.tiles[place.rowByte + kPlaneBytes] |= bit;
            }
        }
    }
    return result;
}

TileSheetResult TileSheet::ImportFile(const std::string& path) const {
    std::vector<std::uint8_t> bytes;
    if (const std::optional<std::string> why =
            ReadRegularFile(path, kTileSheetLargestFile, bytes)) {
        return {{}, CannotMessage("read", path, *why)};
    }
    QByteArray data(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // A picture of the wrong size is refused before it is decoded.
    const QSize size = reader.size();
    if (size.isValid() && size != QSize(width(), height())) {
        return WrongSize(size);
    }
    QImage picture;
    if (!reader.read(&picture)) {
        return {{},
                CannotMessage("read", path,
                              "it is not a picture Korvane can read (" +
                                  reader.errorString().toStdString() + ")")};
    }
    return Import(picture);
}

void TileSheet::Place(std::span<const std::uint8_t> sheetTiles,
                      std::span<std::uint8_t, kTileBytes> tiles) const {
    if (sheetTiles.size() != byteCount()) {
        return;
    }
    std::copy(sheetTiles.begin(), sheetTiles.end(),
              tiles.begin() + static_cast<std::ptrdiff_t>(firstTile()) *
                                  static_cast<std::ptrdiff_t>(kBytesPerTile));
}

} // namespace korvane
