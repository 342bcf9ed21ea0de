// Tile sheet files read back: PNGs of every kind made by hand (chunks, CRCs and deflated rows
// put together here, not by the reader's library), each taken by index only when it is a
// palette PNG and otherwise matched by exact colour; and the files refused with their reason:
// damaged chunks, cut short, bytes after the end, not a PNG at all, empty.
#include "graphics/TileSheet.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Colours = std::array<std::uint8_t, 4>;
// A sample of pixel (x, y), channel c.
using SampleOf = std::function<unsigned(int x, int y, int c)>;

// PNG colour types.
constexpr int kGrey = 0;
constexpr int kRgb = 2;
constexpr int kPalette = 3;
constexpr int kGreyAlpha = 4;
constexpr int kRgba = 6;

// NES 0x30 white, 0x0D black, 0x16 FF2200, 0x21 0FD7FF: white is index 0, black index 1.
constexpr Colours kWhiteBlack{0x30, 0x0D, 0x16, 0x21};
// NES 0x0F, 0x21, 0x16, 0x30: 050505, 0FD7FF, FF2200, FFFFFF (no pure black).
constexpr Colours kRow7{0x0F, 0x21, 0x16, 0x30};
constexpr std::array<std::uint32_t, 4> kRow7Rgb{0x050505U, 0x0FD7FFU, 0xFF2200U, 0xFFFFFFU};
// NES 0x0D, 0x00, 0x10, 0x20: the greys 00, 80, C7, FF.
constexpr Colours kGreys{0x0D, 0x00, 0x10, 0x20};
constexpr std::array<unsigned, 4> kGreyLevels{0x00, 0x80, 0xC7, 0xFF};

void PutBigEndian(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void PutBigEndianAt(Bytes& out, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        out[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    }
}

// A chunk: length, type, data and the CRC of type and data.
Bytes Chunk(std::string_view type, const Bytes& data) {
    Bytes chunk(12 + data.size());
    PutBigEndianAt(chunk, 0, static_cast<std::uint32_t>(data.size()));
    for (std::size_t i = 0; i < 4; ++i) {
        chunk[4 + i] = static_cast<std::uint8_t>(type[i]);
    }
    std::copy(data.begin(), data.end(), chunk.begin() + 8);
    const uLong crc = crc32(0, chunk.data() + 4, static_cast<uInt>(4 + data.size()));
    PutBigEndianAt(chunk, 8 + data.size(), static_cast<std::uint32_t>(crc));
    return chunk;
}

Bytes Text(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

int ChannelsOf(int colourType) {
    switch (colourType) {
    case kRgb:
        return 3;
    case kGreyAlpha:
        return 2;
    case kRgba:
        return 4;
    default:
        return 1;
    }
}

// The passes of an interlaced picture: first column and row, and the steps between them.
struct Pass {
    int x;
    int y;
    int xStep;
    int yStep;
};
constexpr std::array<Pass, 7> kAdam7{{{0, 0, 8, 8},
                                      {4, 0, 8, 8},
                                      {0, 4, 4, 8},
                                      {2, 0, 4, 4},
                                      {0, 2, 2, 4},
                                      {1, 0, 2, 2},
                                      {0, 1, 1, 2}}};
constexpr std::array<Pass, 1> kWhole{{{0, 0, 1, 1}}};

// A whole PNG file: signature, IHDR, the chunks before the picture data, one IDAT of rows
// filtered with filter type 0 (none), in seven passes when interlaced, the chunks after it,
// IEND.
Bytes PngFile(int width, int height, int depth, int colourType, const SampleOf& sample,
              const std::vector<Bytes>& before = {}, const std::vector<Bytes>& after = {},
              bool interlaced = false) {
    Bytes file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(),
                  {static_cast<std::uint8_t>(depth), static_cast<std::uint8_t>(colourType), 0, 0,
                   static_cast<std::uint8_t>(interlaced ? 1 : 0)});
    const Bytes ihdr = Chunk("IHDR", header);
    file.insert(file.end(), ihdr.begin(), ihdr.end());
    for (const Bytes& chunk : before) {
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    Bytes rows;
    const int channels = ChannelsOf(colourType);
    const std::span<const Pass> passes =
        interlaced ? std::span<const Pass>(kAdam7) : std::span<const Pass>(kWhole);
    for (const Pass& pass : passes) {
        for (int y = pass.y; y < height && pass.x < width; y += pass.yStep) {
            rows.push_back(0); // filter type none
            unsigned bits = 0;
            int bitCount = 0;
            for (int x = pass.x; x < width; x += pass.xStep) {
                for (int c = 0; c < channels; ++c) {
                    const unsigned value = sample(x, y, c);
                    if (depth == 16) {
                        rows.push_back(static_cast<std::uint8_t>(value >> 8));
                        rows.push_back(static_cast<std::uint8_t>(value));
                    } else if (depth == 8) {
                        rows.push_back(static_cast<std::uint8_t>(value));
                    } else {
                        bits = bits << static_cast<unsigned>(depth) | value;
                        bitCount += depth;
                        if (bitCount == 8) {
                            rows.push_back(static_cast<std::uint8_t>(bits));
                            bits = 0;
                            bitCount = 0;
                        }
                    }
                }
            }
            if (bitCount > 0) {
                rows.push_back(
                    static_cast<std::uint8_t>(bits << static_cast<unsigned>(8 - bitCount)));
            }
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    Bytes packed(packedSize);
    EXPECT_EQ(compress(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size())),
              Z_OK);
    packed.resize(packedSize);
    const Bytes idat = Chunk("IDAT", packed);
    file.insert(file.end(), idat.begin(), idat.end());
    for (const Bytes& chunk : after) {
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    const Bytes iend = Chunk("IEND", {});
    file.insert(file.end(), iend.begin(), iend.end());
    return file;
}

// A PLTE chunk of the given colours (0xRRGGBB).
Bytes Palette(const std::vector<std::uint32_t>& colours) {
    Bytes data;
    for (const std::uint32_t colour : colours) {
        data.insert(data.end(),
                    {static_cast<std::uint8_t>(colour >> 16),
                     static_cast<std::uint8_t>(colour >> 8), static_cast<std::uint8_t>(colour)});
    }
    return Chunk("PLTE", data);
}

// Where the first chunk of type starts (its length field) in a PNG file.
std::size_t ChunkAt(const Bytes& file, std::string_view type) {
    for (std::size_t at = 8; at + 12 <= file.size();) {
        const std::size_t length = std::size_t{file[at]} << 24 | std::size_t{file[at + 1]} << 16 |
                                   std::size_t{file[at + 2]} << 8 | file[at + 3];
        if (std::string_view(reinterpret_cast<const char*>(file.data() + at + 4), 4) == type) {
            return at;
        }
        at += 12 + length;
    }
    ADD_FAILURE() << "no " << type << " chunk";
    return 0;
}

// The tiles of a sheet of count tiles that are all the same 16 bytes.
Bytes EveryTile(int count, const std::array<std::uint8_t, 16>& tile) {
    Bytes tiles;
    for (int i = 0; i < count; ++i) {
        tiles.insert(tiles.end(), tile.begin(), tile.end());
    }
    return tiles;
}

// Every tile of a sheet whose pixel (x, y) has value (x + y) mod 4: along a tile's rows 0-3 the
// values are 0123.., 1230.., 2301.., 3012.., and rows 4-7 repeat them.
constexpr std::array<std::uint8_t, 16> kDiagonalTile{
    0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x33, 0x66, 0xCC, 0x99, 0x33, 0x66, 0xCC, 0x99};
unsigned Diagonal(int x, int y) {
    return static_cast<unsigned>(x + y) % 4;
}

class TileSheetFile : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const Bytes& bytes) {
        const QString path = folder_.filePath(QString::fromStdString(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        return path.toStdString();
    }
    TileSheetResult Read(TileSheetPart part, const Colours& colours, const Bytes& bytes) {
        return TileSheet(part, colours).ImportFile(Write("sheet.png", bytes));
    }
    // The whole message of a refusal from the file reader: the file and the reason.
    std::string Cannot(const std::string& why) const {
        return "Korvane can't read \"" +
               folder_.filePath(QStringLiteral("sheet.png")).toStdString() + "\": " + why + ".";
    }
    static void ExpectRefused(const TileSheetResult& result, const std::string& message) {
        EXPECT_TRUE(result.tiles.empty());
        EXPECT_EQ(result.message, message);
    }

    QTemporaryDir folder_;
};

TEST_F(TileSheetFile, GreyPngsOfEveryDepthAreMatchedByTheirColoursNotTakenAsIndices) {
    const auto half = TileSheetPart::FirstHalf;
    // 1 bit: black (0) in every third column, else white (1). White is index 0 of the row,
    // black index 1: columns 0, 3 and 6 of a tile are set in plane 0 (10010010), and columns
    // 1, 4, 7 or 2, 5 in the tiles whose first column is not a multiple of 3.
    const TileSheetResult oneBit =
        Read(half, kWhiteBlack,
             PngFile(128, 64, 1, kGrey, [](int x, int, int) { return x % 3 == 0 ? 0U : 1U; }));
    ASSERT_TRUE(oneBit.ok()) << oneBit.message;
    ASSERT_EQ(oneBit.tiles.size(), 2048U);
    const std::array<std::uint8_t, 3> planeZero{0x92, 0x49, 0x24}; // tile column mod 3 = 0, 1, 2
    for (std::size_t tile = 0; tile < 128; ++tile) {
        for (std::size_t row = 0; row < 8; ++row) {
            ASSERT_EQ(oneBit.tiles[tile * 16 + row], planeZero[tile % 16 % 3]) << tile;
            ASSERT_EQ(oneBit.tiles[tile * 16 + 8 + row], 0) << tile;
        }
    }
    // 1 bit, all black: the row has no black, so pixel (0, 0) is refused.
    ExpectRefused(
        Read(half, kRow7, PngFile(128, 64, 1, kGrey, [](int, int, int) { return 0U; })),
        "Tile sheet refused: pixel (0, 0) is #000000, none of the palette's colours (#050505, "
        "#0FD7FF, #FF2200, #FFFFFF).");

    // 2 bits: all white (3) but pixel (5, 9) black (0): tile 16, row 1, bit 2 of plane 0.
    const TileSheetResult twoBits = Read(
        half, kWhiteBlack,
        PngFile(128, 64, 2, kGrey, [](int x, int y, int) { return x == 5 && y == 9 ? 0U : 3U; }));
    ASSERT_TRUE(twoBits.ok()) << twoBits.message;
    Bytes expected(2048, 0);
    expected[16 * 16 + 1] = 0x04;
    EXPECT_EQ(twoBits.tiles, expected);
    // Grey level 1 of 2 bits is 555555, none of the palette's.
    ExpectRefused(Read(half, kWhiteBlack,
                       PngFile(128, 64, 2, kGrey,
                               [](int x, int y, int) { return x == 100 && y == 60 ? 1U : 3U; })),
                  "Tile sheet refused: pixel (100, 60) is #555555, none of the palette's "
                  "colours (#FFFFFF, #000000, #FF2200, #0FD7FF).");

    // 4 bits: 15 is white, 0 black, 8 is 888888.
    const TileSheetResult fourBits =
        Read(TileSheetPart::AllTiles, kWhiteBlack,
             PngFile(128, 128, 4, kGrey, [](int x, int, int) { return x < 8 ? 0U : 15U; }));
    ASSERT_TRUE(fourBits.ok()) << fourBits.message;
    ASSERT_EQ(fourBits.tiles.size(), 4096U);
    for (std::size_t tile = 0; tile < 256; ++tile) {
        ASSERT_EQ(fourBits.tiles[tile * 16 + 3], tile % 16 == 0 ? 0xFF : 0x00) << tile;
        ASSERT_EQ(fourBits.tiles[tile * 16 + 11], 0x00) << tile;
    }
    ExpectRefused(Read(half, kWhiteBlack,
                       PngFile(128, 64, 4, kGrey,
                               [](int x, int y, int) { return x == 3 && y == 0 ? 8U : 15U; })),
                  "Tile sheet refused: pixel (3, 0) is #888888, none of the palette's colours "
                  "(#FFFFFF, #000000, #FF2200, #0FD7FF).");

    // 8 bits, in the four greys of kGreys: value (x + y) mod 4.
    const TileSheetResult eightBits = Read(
        half, kGreys,
        PngFile(128, 64, 8, kGrey, [](int x, int y, int) { return kGreyLevels[Diagonal(x, y)]; }));
    ASSERT_TRUE(eightBits.ok()) << eightBits.message;
    EXPECT_EQ(eightBits.tiles, EveryTile(128, kDiagonalTile));

    // 16 bits: 0x8080 is 80 exactly; 0x80FF is no 8-bit grey at all.
    const TileSheetResult sixteenBits =
        Read(half, kGreys, PngFile(128, 64, 16, kGrey, [](int x, int y, int) {
                 return kGreyLevels[Diagonal(x, y)] * 0x101U;
             }));
    ASSERT_TRUE(sixteenBits.ok()) << sixteenBits.message;
    EXPECT_EQ(sixteenBits.tiles, EveryTile(128, kDiagonalTile));
    ExpectRefused(
        Read(half, kGreys,
             PngFile(128, 64, 16, kGrey,
                     [](int x, int y, int) { return x == 7 && y == 3 ? 0x80FFU : 0xFFFFU; })),
        "Tile sheet refused: pixel (7, 3) is #80FF80FF80FF, none of the palette's "
        "colours (#000000, #808080, #C7C7C7, #FFFFFF).");
}

TEST_F(TileSheetFile, ColourPngsAndAlphaAreMatchedExactlyAndMustBeOpaque) {
    const auto half = TileSheetPart::SecondHalf;
    // Grey with alpha: opaque, the diagonal in the four greys; then one pixel at alpha 254.
    const SampleOf greyAlpha = [](int x, int y, int c) {
        return c == 0 ? kGreyLevels[Diagonal(x, y)] : (x == 1 && y == 2 ? 254U : 255U);
    };
    const TileSheetResult opaque =
        Read(half, kGreys, PngFile(128, 64, 8, kGreyAlpha, [&](int x, int y, int c) {
                 return c == 1 ? 255U : greyAlpha(x, y, c);
             }));
    ASSERT_TRUE(opaque.ok()) << opaque.message;
    EXPECT_EQ(opaque.tiles, EveryTile(128, kDiagonalTile));
    ExpectRefused(Read(half, kGreys, PngFile(128, 64, 8, kGreyAlpha, greyAlpha)),
                  "Tile sheet refused: pixel (1, 2) is not opaque (#FFFFFF at alpha 254 of 255); "
                  "the palette's colours (#000000, #808080, #C7C7C7, #FFFFFF) are opaque.");

    // RGB in row 7's colours, value x mod 4: plane 0 01010101, plane 1 00110011.
    const SampleOf rgb = [](int x, int, int c) {
        return kRow7Rgb[static_cast<std::size_t>(x % 4)] >> (16 - 8 * c) & 0xFFU;
    };
    const Bytes columns = EveryTile(128, {0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x33,
                                          0x33, 0x33, 0x33, 0x33, 0x33, 0x33, 0x33});
    const TileSheetResult plain = Read(half, kRow7, PngFile(128, 64, 8, kRgb, rgb));
    ASSERT_TRUE(plain.ok()) << plain.message;
    EXPECT_EQ(plain.tiles, columns);
    // The same with 0FD7FF as the file's transparent colour (tRNS): pixel (1, 0) is clear.
    ExpectRefused(
        Read(half, kRow7,
             PngFile(128, 64, 8, kRgb, rgb, {Chunk("tRNS", {0x00, 0x0F, 0x00, 0xD7, 0x00, 0xFF})})),
        "Tile sheet refused: pixel (1, 0) is not opaque (#0FD7FF at alpha 0 of 255); "
        "the palette's colours (#050505, #0FD7FF, #FF2200, #FFFFFF) are opaque.");
    // One sample off by one is no colour of the row.
    ExpectRefused(Read(half, kRow7,
                       PngFile(128, 64, 8, kRgb,
                               [&](int x, int y, int c) {
                                   return rgb(x, y, c) + (x == 126 && y == 63 && c == 2 ? 1U : 0U);
                               })),
                  "Tile sheet refused: pixel (126, 63) is #FF2201, a fifth colour: a tile sheet "
                  "has at most 4, those of the palette (#050505, #0FD7FF, #FF2200, #FFFFFF).");

    // Interlaced RGB: the same tiles, and the first offending pixel still in reading order
    // (pixel (1, 0) comes in pass 6, after pixels of later rows in earlier passes).
    const TileSheetResult interlaced =
        Read(half, kRow7, PngFile(128, 64, 8, kRgb, rgb, {}, {}, true));
    ASSERT_TRUE(interlaced.ok()) << interlaced.message;
    EXPECT_EQ(interlaced.tiles, columns);
    ExpectRefused(Read(half, kRow7,
                       PngFile(
                           128, 64, 8, kRgb,
                           [&](int x, int y, int c) {
                               return (x == 1 && y == 0) || (x == 0 && y == 8) ? 0x80U
                                                                               : rgb(x, y, c);
                           },
                           {}, {}, true)),
                  "Tile sheet refused: pixel (1, 0) is #808080, none of the palette's colours "
                  "(#050505, #0FD7FF, #FF2200, #FFFFFF).");

    // RGBA of 16 bits: each sample the 8-bit one twice, alpha 65535.
    const TileSheetResult deep =
        Read(half, kRow7, PngFile(128, 64, 16, kRgba, [&](int x, int y, int c) {
                 return c == 3 ? 0xFFFFU : rgb(x, y, c) * 0x101U;
             }));
    ASSERT_TRUE(deep.ok()) << deep.message;
    EXPECT_EQ(deep.tiles, columns);
    ExpectRefused(Read(half, kRow7,
                       PngFile(128, 64, 16, kRgba,
                               [&](int x, int y, int c) {
                                   return c == 3 ? (x == 9 && y == 1 ? 0xFFFEU : 0xFFFFU)
                                                 : rgb(x, y, c) * 0x101U;
                               })),
                  "Tile sheet refused: pixel (9, 1) is not opaque (#0F0FD7D7FFFF at alpha 65534 "
                  "of 65535); the palette's colours (#050505, #0FD7FF, #FF2200, #FFFFFF) are "
                  "opaque.");
}

TEST_F(TileSheetFile, APalettePngIsTakenByItsIndicesWithinItsOwnPalette) {
    const auto whole = TileSheetPart::AllTiles;
    // 2 bits, four entries that are none of the row's colours, the first one transparent.
    const TileSheetResult twoBits =
        Read(whole, kRow7,
             PngFile(128, 128, 2, kPalette, [](int x, int y, int) { return Diagonal(x, y); },
                     {Palette({0x123456, 0x654321, 0xABCDEF, 0x000000}), Chunk("tRNS", {0})}));
    ASSERT_TRUE(twoBits.ok()) << twoBits.message;
    EXPECT_EQ(twoBits.tiles, EveryTile(256, kDiagonalTile));
    // 1 bit with two entries: value x mod 2 is plane 0 01010101.
    const TileSheetResult oneBit =
        Read(whole, kRow7,
             PngFile(128, 128, 1, kPalette, [](int x, int, int) { return unsigned(x % 2); },
                     {Palette({0xFFFFFF, 0x000000})}));
    ASSERT_TRUE(oneBit.ok()) << oneBit.message;
    EXPECT_EQ(oneBit.tiles, EveryTile(256, {0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0, 0, 0,
                                            0, 0, 0, 0, 0}));
    // Interlaced (Adam7), 4 bits, the diagonal: the same tiles.
    const TileSheetResult interlaced =
        Read(whole, kRow7,
             PngFile(
                 128, 128, 4, kPalette, [](int x, int y, int) { return Diagonal(x, y); },
                 {Palette({0x123456, 0x654321, 0xABCDEF, 0x000000, 0xFFFFFF})}, {}, true));
    ASSERT_TRUE(interlaced.ok()) << interlaced.message;
    EXPECT_EQ(interlaced.tiles, EveryTile(256, kDiagonalTile));
    // An index past the entries of the file's palette.
    ExpectRefused(
        Read(whole, kRow7,
             PngFile(128, 128, 2, kPalette,
                     [](int x, int y, int) { return x == 9 && y == 4 ? 3U : 2U; },
                     {Palette({0x000000, 0x111111, 0x222222})})),
        "Tile sheet refused: pixel (9, 4) has palette index 3, past the end of the picture's "
        "3-colour palette.");
    // An index the palette has but a tile pixel does not.
    std::vector<std::uint32_t> many(256, 0x808080);
    ExpectRefused(
        Read(whole, kRow7,
             PngFile(128, 128, 8, kPalette,
                     [](int x, int y, int) { return x == 0 && y == 63 ? 4U : 1U; },
                     {Palette(many)})),
        "Tile sheet refused: pixel (0, 63) has palette index 4; a tile pixel takes the indices "
        "0 to 3.");
}

TEST_F(TileSheetFile, DamagedCutShortAndOverlongFilesAreRefusedWithTheReason) {
    const auto half = TileSheetPart::FirstHalf;
    const Bytes good = PngFile(
        128, 64, 2, kPalette, [](int x, int y, int) { return Diagonal(x, y); },
        {Palette({0x000000, 0x555555, 0xAAAAAA, 0xFFFFFF}),
         Chunk("tEXt", Text(std::string_view("Title\0sheet", 11))), Chunk("ruSt", Text("private"))},
        {Chunk("tIME", {0x07, 0xEA, 12, 7, 23, 0, 0})});
    ASSERT_TRUE(Read(half, kRow7, good).ok());

    // A byte changed in a chunk's data (or its CRC) breaks its CRC, whichever chunk it is.
    for (const std::string_view type : {"IHDR", "PLTE", "tEXt", "ruSt", "IDAT", "tIME", "IEND"}) {
        SCOPED_TRACE(std::string(type));
        Bytes damaged = good;
        damaged[ChunkAt(good, type) + 8] ^= 0x01; // the first data byte, or IEND's CRC
        ExpectRefused(Read(half, kRow7, damaged), Cannot("its PNG data is damaged or malformed (" +
                                                         std::string(type) + ": CRC error)"));
    }
    // Cut short anywhere.
    for (std::size_t length = 1; length < good.size(); ++length) {
        SCOPED_TRACE(length);
        const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
        ExpectRefused(Read(half, kRow7, cut),
                      Cannot(length < 8 ? "it is cut short (it ends inside the PNG signature)"
                                        : "it is cut short (its PNG data ends before the IEND "
                                          "chunk)"));
    }
    // Anything after IEND.
    Bytes longer = good;
    longer.push_back(0);
    ExpectRefused(Read(half, kRow7, longer),
                  Cannot("it has 1 byte after the end of its PNG data (the IEND chunk)"));
    longer.insert(longer.end(), good.begin(), good.end());
    ExpectRefused(Read(half, kRow7, longer),
                  Cannot("it has " + std::to_string(good.size() + 1) +
                         " bytes after the end of its PNG data (the IEND chunk)"));
    // Empty.
    ExpectRefused(Read(half, kRow7, {}), Cannot("it is empty"));
}

TEST_F(TileSheetFile, APictureOfTheWrongSizeIsRefusedFromItsHeaderHoweverLarge) {
    // A header of 3,000,000 x 64 pixels, with no picture data for them.
    Bytes file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const Bytes& chunk : {Chunk("IHDR", {0x00, 0x2D, 0xC6, 0xC0, 0, 0, 0, 64, 8, 2, 0, 0, 0}),
                               Chunk("IDAT", {}), Chunk("IEND", {})}) {
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    ExpectRefused(Read(TileSheetPart::FirstHalf, kRow7, file),
                  "Tile sheet refused: the picture is 3000000 x 64 pixels, not 128 x 64 (tiles "
                  "0-127), so pixel (128, 0) lies outside the sheet.");
}

TEST_F(TileSheetFile, APictureOfAnotherKindIsNoPngWhateverItsName) {
    // A sheet in row 7's colours that would import as a PNG, saved as BMP and as PPM.
    QImage sheet(128, 64, QImage::Format_RGB32);
    sheet.fill(0xFF000000U | kRow7Rgb[2]);
    const QString path = folder_.filePath(QStringLiteral("sheet.png"));
    const TileSheet half(TileSheetPart::FirstHalf, kRow7);
    for (const char* format : {"BMP", "PPM"}) {
        SCOPED_TRACE(format);
        ASSERT_TRUE(sheet.save(path, format));
        ExpectRefused(half.ImportFile(path.toStdString()), Cannot("it is not a PNG file"));
    }
    ASSERT_TRUE(sheet.save(path, "PNG"));
    const TileSheetResult png = half.ImportFile(path.toStdString());
    ASSERT_TRUE(png.ok()) << png.message;
    EXPECT_EQ(png.tiles, EveryTile(128, {0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                         0xFF, 0xFF}));
}

} // namespace
} // namespace korvane
