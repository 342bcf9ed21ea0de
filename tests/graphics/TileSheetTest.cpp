// The tile sheet: the PNG it writes (palette, indices at hand-worked pixels), round trips of the
// whole set and each half in several palettes, pictures drawn elsewhere in plain RGB, and the
// refusals, each naming the first offending pixel.
#include "graphics/TileSheet.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>

namespace korvane {
namespace {

using Tiles = std::array<std::uint8_t, kTileBytes>;
using Colours = std::array<std::uint8_t, 4>;

// Row 7 of the test level: NES 0x0F, 0x21, 0x16, 0x30, that is 050505, 0FD7FF, FF2200, FFFFFF.
constexpr Colours kRow7{0x0F, 0x21, 0x16, 0x30};
constexpr std::array<QRgb, 4> kRow7Rgb{0xFF050505U, 0xFF0FD7FFU, 0xFFFF2200U, 0xFFFFFFFFU};

// Tiles whose bytes have no pattern the codec could get right by accident.
std::unique_ptr<Tiles> NoiseTiles(std::uint32_t seed) {
    auto tiles = std::make_unique<Tiles>();
    std::uint32_t state = seed;
    for (std::uint8_t& byte : *tiles) {
        state = state * 1664525U + 1013904223U;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    return tiles;
}

// Tiles 18, 146 and 255 hold a few pixels, everything else is colour 0:
// tile 18 (column 2, row 1): (0, 0) = 1, (3, 2) = 3, (7, 7) = 2;
// tile 146 (column 2, row 9; row 1 of the second half): (1, 0) = 2;
// tile 255 (column 15, row 15): (7, 7) = 3.
std::unique_ptr<Tiles> SparseTiles() {
    auto tiles = std::make_unique<Tiles>();
    Tiles& t = *tiles;
    t[18 * 16 + 0] = 0x80;     // plane 0, row 0, x 0
    t[18 * 16 + 2] = 0x10;     // plane 0, row 2, x 3
    t[18 * 16 + 8 + 2] = 0x10; // plane 1, row 2, x 3
    t[18 * 16 + 8 + 7] = 0x01; // plane 1, row 7, x 7
    t[146 * 16 + 8] = 0x40;    // plane 1, row 0, x 1
    t[255 * 16 + 7] = 0x01;
    t[255 * 16 + 15] = 0x01;
    return tiles;
}

QImage Decode(const std::vector<std::uint8_t>& png) {
    return QImage::fromData(png.data(), static_cast<int>(png.size()), "PNG");
}

// The chunks of a PNG file by type (the first of each), read straight from the bytes.
struct PngChunks {
    std::vector<std::uint8_t> header;  // IHDR
    std::vector<std::uint8_t> palette; // PLTE
};

std::uint32_t BigEndian(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
           std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

PngChunks ReadChunks(const std::vector<std::uint8_t>& png) {
    PngChunks chunks;
    const std::array<std::uint8_t, 8> signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(png.size() > 8 && std::equal(signature.begin(), signature.end(), png.begin()));
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::size_t length = BigEndian(png, at);
        const std::string type(png.begin() + static_cast<std::ptrdiff_t>(at + 4),
                               png.begin() + static_cast<std::ptrdiff_t>(at + 8));
        const auto data = png.begin() + static_cast<std::ptrdiff_t>(at + 8);
        if (at + 12 + length > png.size()) {
            ADD_FAILURE() << "chunk " << type << " runs past the end";
            break;
        }
        std::vector<std::uint8_t> bytes(data, data + static_cast<std::ptrdiff_t>(length));
        if (type == "IHDR" && chunks.header.empty()) {
            chunks.header = bytes;
        } else if (type == "PLTE" && chunks.palette.empty()) {
            chunks.palette = bytes;
        }
        at += 12 + length;
    }
    return chunks;
}

// A picture in plain RGB, every pixel colour 0 of row 7.
QImage RgbPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(kRow7Rgb[0]);
    return picture;
}

void ExpectRefusalNames(const TileSheetResult& result, const std::string& pixel,
                        const std::string& also) {
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.tiles.empty());
    EXPECT_NE(result.message.find(pixel), std::string::npos) << result.message;
    EXPECT_NE(result.message.find(also), std::string::npos) << result.message;
}

TEST(TileSheet, ThePngIsIndexedWithTheRowsFourColoursAndThePixelValuesAsIndices) {
    const auto tiles = SparseTiles();
    const TileSheet whole(TileSheetPart::AllTiles, kRow7);
    const std::vector<std::uint8_t> png = whole.ExportPng(*tiles);
    const PngChunks chunks = ReadChunks(png);
    ASSERT_EQ(chunks.header.size(), 13U);
    EXPECT_EQ(BigEndian(chunks.header, 0), 128U);
    EXPECT_EQ(BigEndian(chunks.header, 4), 128U);
    EXPECT_EQ(chunks.header[9], 3); // colour type 3: indexed
    EXPECT_LE(chunks.header[8], 8);
    EXPECT_EQ(chunks.palette, (std::vector<std::uint8_t>{0x05, 0x05, 0x05, 0x0F, 0xD7, 0xFF, 0xFF,
                                                         0x22, 0x00, 0xFF, 0xFF, 0xFF}));

    const QImage picture = Decode(png);
    ASSERT_EQ(picture.format(), QImage::Format_Indexed8);
    EXPECT_EQ(picture.pixelIndex(16, 8), 1);    // tile 18 (0, 0)
    EXPECT_EQ(picture.pixelIndex(19, 10), 3);   // tile 18 (3, 2)
    EXPECT_EQ(picture.pixelIndex(23, 15), 2);   // tile 18 (7, 7)
    EXPECT_EQ(picture.pixelIndex(17, 72), 2);   // tile 146 (1, 0)
    EXPECT_EQ(picture.pixelIndex(127, 127), 3); // tile 255 (7, 7)
    EXPECT_EQ(picture.pixelIndex(18, 10), 0);
    EXPECT_EQ(picture.pixelIndex(0, 0), 0);
    EXPECT_EQ(picture.pixel(19, 10), 0xFFFFFFFFU);
    EXPECT_EQ(picture.pixel(23, 15), 0xFFFF2200U);

    // The second half alone: tile 146 is tile 18 of the sheet, 128 x 64.
    const QImage half = Decode(
        TileSheet(TileSheetPart::SecondHalf, Colours{0x0D, 0x00, 0x10, 0x20}).ExportPng(*tiles));
    ASSERT_EQ(half.size(), QSize(128, 64));
    ASSERT_EQ(half.format(), QImage::Format_Indexed8);
    EXPECT_EQ(half.pixelIndex(17, 8), 2);
    EXPECT_EQ(half.pixelIndex(16, 8), 0);
    EXPECT_EQ(half.pixelIndex(127, 63), 3);
    EXPECT_EQ(half.colorTable(), (QList<QRgb>{0xFF000000U, 0xFF808080U, 0xFFC7C7C7U, 0xFFFFFFFFU}));
    // The first half: tile 18 as in the whole sheet, nothing of the second half.
    const QImage first = Decode(TileSheet(TileSheetPart::FirstHalf, kRow7).ExportPng(*tiles));
    ASSERT_EQ(first.size(), QSize(128, 64));
    EXPECT_EQ(first.pixelIndex(19, 10), 3);
    EXPECT_EQ(first.pixelIndex(127, 63), 0);
}

TEST(TileSheet, ExportThenImportGivesTheTilesBackByteForByte) {
    const std::array<Colours, 4> rows{kRow7, Colours{0x0D, 0x11, 0x2A, 0x38},
                                      Colours{0x30, 0x20, 0x0F, 0x0E}, // duplicates
                                      Colours{0x45, 0x06, 0x27, 0x3F}};
    for (const TileSheetPart part :
         {TileSheetPart::AllTiles, TileSheetPart::FirstHalf, TileSheetPart::SecondHalf}) {
        for (std::size_t r = 0; r < rows.size(); ++r) {
            SCOPED_TRACE("part " + std::to_string(static_cast<int>(part)) + ", row " +
                         std::to_string(r));
            const auto tiles = NoiseTiles(static_cast<std::uint32_t>(r * 3 + 1));
            const TileSheet sheet(part, rows[r]);
            const TileSheetResult result = sheet.Import(Decode(sheet.ExportPng(*tiles)));
            ASSERT_TRUE(result.ok()) << result.message;
            ASSERT_EQ(result.tiles.size(), part == TileSheetPart::AllTiles ? 4096U : 2048U);
            // Placed over other tiles, exactly the part's bytes come back.
            const auto placed = NoiseTiles(99);
            sheet.Place(result.tiles, *placed);
            const std::size_t first = part == TileSheetPart::SecondHalf ? 2048 : 0;
            const std::size_t end = part == TileSheetPart::FirstHalf ? 2048 : 4096;
            const auto other = NoiseTiles(99);
            for (std::size_t i = 0; i < kTileBytes; ++i) {
                ASSERT_EQ((*placed)[i], (i >= first && i < end ? *tiles : *other)[i]) << i;
            }
            // In RGB, a row without repeated colours matches colour for colour.
            if (r != 2) {
                const QImage rgb = sheet.Export(*tiles).convertToFormat(QImage::Format_RGB32);
                const TileSheetResult matched = sheet.Import(rgb);
                ASSERT_TRUE(matched.ok()) << matched.message;
                EXPECT_EQ(matched.tiles, result.tiles);
            }
        }
    }
}

TEST(TileSheet, ARgbPngDrawnElsewhereImports) {
    // Drawn in row 7's colours: pixel (x, y) has colour x mod 4, except tile 1 of the half
    // (x 8-15, y 0-7), which is all colour 3, and tile 127 (the last), all colour 2.
    QImage drawn(128, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 128; ++x) {
            int colour = x % 4;
            if (x >= 8 && x < 16 && y < 8) {
                colour = 3;
            } else if (x >= 120 && y >= 56) {
                colour = 2;
            }
            drawn.setPixel(x, y, kRow7Rgb[static_cast<std::size_t>(colour)]);
        }
    }
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("drawn.png"));
    ASSERT_TRUE(drawn.save(path, "PNG"));
    ASSERT_NE(QImage(path).format(), QImage::Format_Indexed8);

    const TileSheet sheet(TileSheetPart::SecondHalf, kRow7);
    const TileSheetResult result = sheet.ImportFile(path.toStdString());
    ASSERT_TRUE(result.ok()) << result.message;
    // Colours 0 1 2 3 0 1 2 3 along a row: plane 0 is 01010101, plane 1 00110011.
    std::vector<std::uint8_t> expected;
    for (int tile = 0; tile < 128; ++tile) {
        const std::uint8_t low = tile == 1 ? 0xFF : tile == 127 ? 0x00 : 0x55;
        const std::uint8_t high = tile == 1 || tile == 127 ? 0xFF : 0x33;
        expected.insert(expected.end(), 8, low);
        expected.insert(expected.end(), 8, high);
    }
    EXPECT_EQ(result.tiles, expected);
    Tiles tiles{};
    sheet.Place(result.tiles, tiles);
    EXPECT_EQ(tiles[128 * 16], 0x55);
    EXPECT_EQ(tiles[129 * 16], 0xFF);
    EXPECT_EQ(tiles[127 * 16], 0x00);
}

TEST(TileSheet, RepeatedColoursOfTheRowGoToTheLowerIndex) {
    // 0x20 and 0x30 are both white, 0x0F and 0x0E both 050505.
    const TileSheet sheet(TileSheetPart::FirstHalf, Colours{0x20, 0x30, 0x0F, 0x0E});
    QImage picture(128, 64, QImage::Format_RGB32);
    picture.fill(0xFFFFFFFFU);
    picture.setPixel(0, 0, 0xFF050505U);
    const TileSheetResult result = sheet.Import(picture);
    ASSERT_TRUE(result.ok()) << result.message;
    // White is index 0, 050505 index 2: only pixel (0, 0) of tile 0 is set, in plane 1.
    std::vector<std::uint8_t> expected(2048, 0);
    expected[8] = 0x80;
    EXPECT_EQ(result.tiles, expected);
}

TEST(TileSheet, AnIndexedPictureIsTakenByItsIndicesWhateverItsColours) {
    QImage picture(128, 128, QImage::Format_Indexed8);
    picture.setColorTable({0xFF123456U, 0xFF654321U, 0xFFABCDEFU, 0xFF000000U, 0xFF111111U});
    picture.fill(0);
    picture.setPixel(9, 0, 3); // tile 1, (1, 0)
    const TileSheetResult result = TileSheet(TileSheetPart::AllTiles, kRow7).Import(picture);
    ASSERT_TRUE(result.ok()) << result.message;
    std::vector<std::uint8_t> expected(4096, 0);
    expected[16] = 0x40;
    expected[24] = 0x40;
    EXPECT_EQ(result.tiles, expected);
}

TEST(TileSheet, RefusalsNameTheFirstOffendingPixel) {
    const TileSheet whole(TileSheetPart::AllTiles, kRow7);
    const TileSheet half(TileSheetPart::SecondHalf, kRow7);
    // Wrong sizes: the first pixel one picture has and the other has not, in reading order.
    ExpectRefusalNames(whole.Import(RgbPicture(130, 128)), "pixel (128, 0)", "130 x 128");
    ExpectRefusalNames(whole.Import(RgbPicture(128, 64)), "pixel (0, 64)", "missing");
    ExpectRefusalNames(half.Import(RgbPicture(128, 128)), "pixel (0, 64)", "outside");
    ExpectRefusalNames(whole.Import(RgbPicture(120, 200)), "pixel (120, 0)", "missing");
    ExpectRefusalNames(whole.Import(QImage()), "pixel (0, 0)", "0 x 0");

    // A colour that is none of the row's: the first in reading order is named.
    QImage stray = RgbPicture(128, 128);
    stray.setPixel(2, 90, 0xFF123456U);
    stray.setPixel(37, 5, 0xFF123457U);
    ExpectRefusalNames(whole.Import(stray), "pixel (37, 5)", "#123457");

    // More than 4 colours: the four of the row first, then a fifth.
    QImage five = RgbPicture(128, 64);
    for (int i = 0; i < 4; ++i) {
        five.setPixel(i, 0, kRow7Rgb[static_cast<std::size_t>(i)]);
    }
    five.setPixel(100, 63, 0xFF808080U);
    five.setPixel(10, 3, 0xFF0FD7FEU);
    ExpectRefusalNames(half.Import(five), "pixel (10, 3)", "fifth colour");

    // A pixel that is not opaque.
    QImage clear(128, 64, QImage::Format_ARGB32);
    clear.fill(kRow7Rgb[1]);
    clear.setPixel(64, 32, 0x80FFFFFFU);
    ExpectRefusalNames(half.Import(clear), "pixel (64, 32)", "not opaque");

    // An index above 3.
    QImage indexed(128, 64, QImage::Format_Indexed8);
    indexed.setColorCount(8);
    indexed.fill(3);
    indexed.setPixel(100, 50, 7);
    indexed.setPixel(77, 40, 4);
    ExpectRefusalNames(half.Import(indexed), "pixel (77, 40)", "palette index 4");
}

TEST(TileSheet, FilesThatAreNotSheetsAreRefused) {
    QTemporaryDir folder;
    const TileSheet whole(TileSheetPart::AllTiles, kRow7);
    const std::string missing = folder.filePath(QStringLiteral("missing.png")).toStdString();
    ExpectRefusalNames(whole.ImportFile(missing), "missing.png", "No such file");
    ExpectRefusalNames(whole.ImportFile(folder.path().toStdString()), "can't read", "folder");
    // A PNG of the wrong size is refused from its header, naming the pixel.
    const QString wide = folder.filePath(QStringLiteral("wide.png"));
    ASSERT_TRUE(RgbPicture(256, 128).save(wide, "PNG"));
    ExpectRefusalNames(whole.ImportFile(wide.toStdString()), "pixel (128, 0)", "256 x 128");
    const QString text = folder.filePath(QStringLiteral("text.png"));
    {
        QFile file(text);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a picture at all");
    }
    ExpectRefusalNames(whole.ImportFile(text.toStdString()), "text.png", "not a PNG file");
}

} // namespace
} // namespace korvane
