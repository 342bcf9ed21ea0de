// Feeds arbitrary bytes to the tile sheet reader as a PNG file and imports them over a level's
// tiles. A refusal must carry a message and no tiles, and leave the level's tiles as they were;
// an import must leave the other tiles as they were and every pixel of the part's tiles equal
// to the picture's: its palette index in a palette PNG, else the lowest palette entry of its
// exact colour, opaque. The picture is decoded again here, independently of the reader: libpng
// hands over the file's rows untransformed and this file unpacks the samples itself.
//
// Bits 0-6 of byte 0 choose the part (mod 3: all tiles, first half, second half), and bit 7
// set gives every whole chunk of the file its right CRC first, so that changes to the chunks'
// data reach the decoding; bytes 1-4 are the NES colours of the palette, and the rest is the
// file.
#include "gamedata/LevelRecord.h"
#include "graphics/NesColours.h"
#include "graphics/TileSheet.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace korvane;
using Tiles = std::array<std::uint8_t, kTileBytes>;

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_tilesheet: %s\n", what);
        std::abort();
    }
}

// libpng's memory reader for the second decoding; plain data, as libpng leaves by longjmp.
struct Source {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at;
};

void ReadSource(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<Source*>(png_get_io_ptr(png));
    if (length > source->size - source->at) {
        png_error(png, "cut short");
    }
    std::memcpy(out, source->data + source->at, length);
    source->at += length;
}

[[noreturn]] void OnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

bool ReadUntransformed(png_structp png, png_infop info) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    return true;
}

// The picture as the file has it: its header, its rows untransformed, its tRNS colour.
struct FilePicture {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int depth = 0;
    int colourType = 0;
    int paletteEntries = 0;
    bool transparentColour = false;
    std::array<unsigned, 3> transparent{}; // grey, or red, green, blue
    std::vector<std::vector<png_byte>> rows;

    int Channels() const {
        switch (colourType) {
        case PNG_COLOR_TYPE_RGB:
            return 3;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            return 2;
        case PNG_COLOR_TYPE_RGBA:
            return 4;
        default:
            return 1;
        }
    }
    // Sample c of pixel (x, y) at the file's depth.
    unsigned Sample(int x, int y, int c) const {
        const std::vector<png_byte>& row = rows[static_cast<std::size_t>(y)];
        const std::size_t index = static_cast<std::size_t>(x * Channels() + c);
        if (depth == 16) {
            return unsigned{row[2 * index]} << 8U | row[2 * index + 1];
        }
        if (depth == 8) {
            return row[index];
        }
        const std::size_t bit = index * static_cast<std::size_t>(depth);
        const unsigned shift = static_cast<unsigned>(8 - depth) - bit % 8;
        return (unsigned{row[bit / 8]} >> shift) & ((1U << static_cast<unsigned>(depth)) - 1U);
    }
};

bool DecodeAgain(const std::uint8_t* data, std::size_t size, FilePicture& picture) {
    Source source{data, size, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool read = false;
    if (info != nullptr) {
        png_set_read_fn(png, &source, ReadSource);
        read = ReadUntransformed(png, info);
    }
    if (read) {
        png_get_IHDR(png, info, &picture.width, &picture.height, &picture.depth,
                     &picture.colourType, nullptr, nullptr, nullptr);
        png_colorp palette = nullptr;
        if (png_get_PLTE(png, info, &palette, &picture.paletteEntries) == 0) {
            picture.paletteEntries = 0;
        }
        png_color_16p colour = nullptr;
        if (picture.colourType != PNG_COLOR_TYPE_PALETTE &&
            png_get_tRNS(png, info, nullptr, nullptr, &colour) != 0 && colour != nullptr) {
            picture.transparentColour = true;
            picture.transparent = {colour->gray, colour->gray, colour->gray};
            if ((picture.colourType & PNG_COLOR_MASK_COLOR) != 0) {
                picture.transparent = {colour->red, colour->green, colour->blue};
            }
        }
        png_bytepp rows = png_get_rows(png, info);
        const png_size_t rowBytes = png_get_rowbytes(png, info);
        for (png_uint_32 y = 0; y < picture.height; ++y) {
            picture.rows.emplace_back(rows[y], rows[y] + rowBytes);
        }
    }
    png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
    return read;
}

// A sample of the file's depth as 8 bits, or -1 when a 16-bit sample has no 8-bit equal.
int EightBits(unsigned sample, int depth) {
    switch (depth) {
    case 1:
        return static_cast<int>(sample * 255U);
    case 2:
        return static_cast<int>(sample * 85U);
    case 4:
        return static_cast<int>(sample * 17U);
    case 16:
        return sample % 257U == 0 ? static_cast<int>(sample / 257U) : -1;
    default:
        return static_cast<int>(sample);
    }
}

// The value of pixel (x, y) of the sheet part starting at tile first, from the NES tile bytes.
unsigned TilePixel(const Tiles& tiles, int first, int x, int y) {
    const std::size_t tile = static_cast<std::size_t>(first + y / 8 * 16 + x / 8);
    const std::size_t row = tile * 16 + static_cast<std::size_t>(y % 8);
    const unsigned bit = 7U - static_cast<unsigned>(x % 8);
    return ((tiles[row] >> bit) & 1U) | ((tiles[row + 8] >> bit) & 1U) << 1U;
}

void CheckImported(const std::uint8_t* file, std::size_t size, const TileSheet& sheet,
                   const std::array<std::uint8_t, 4>& nes, const Tiles& tiles) {
    FilePicture picture;
    Require(DecodeAgain(file, size, picture), "an imported file libpng cannot read");
    Require(picture.width == 128 && static_cast<int>(picture.height) == sheet.height(),
            "an imported picture of the wrong size");
    std::array<std::array<int, 3>, 4> palette{};
    for (std::size_t i = 0; i < 4; ++i) {
        const NesRgb& rgb = NesColourTable[nes[i] & 0x3FU];
        palette[i] = {rgb.red, rgb.green, rgb.blue};
    }
    const bool colour = (picture.colourType & PNG_COLOR_MASK_COLOR) != 0;
    const bool alpha = (picture.colourType & PNG_COLOR_MASK_ALPHA) != 0;
    for (int y = 0; y < sheet.height(); ++y) {
        for (int x = 0; x < 128; ++x) {
            const unsigned value = TilePixel(tiles, sheet.firstTile(), x, y);
            if (picture.colourType == PNG_COLOR_TYPE_PALETTE) {
                const unsigned index = picture.Sample(x, y, 0);
                Require(index < 4 && static_cast<int>(index) < picture.paletteEntries,
                        "an index past the palette or above 3 was taken");
                Require(value == index, "a tile pixel is not the picture's palette index");
                continue;
            }
            std::array<unsigned, 3> raw{};
            for (int c = 0; c < 3; ++c) {
                raw[static_cast<std::size_t>(c)] = picture.Sample(x, y, colour ? c : 0);
            }
            const unsigned opaque = (1U << static_cast<unsigned>(picture.depth)) - 1U;
            Require(!alpha || picture.Sample(x, y, colour ? 3 : 1) == opaque,
                    "a pixel that is not opaque was taken");
            Require(!picture.transparentColour || raw != picture.transparent,
                    "a pixel of the transparent colour was taken");
            std::array<int, 3> rgb{};
            for (std::size_t c = 0; c < 3; ++c) {
                rgb[c] = EightBits(raw[c], picture.depth);
                Require(rgb[c] >= 0, "a 16-bit sample without an 8-bit equal was taken");
            }
            Require(palette[value] == rgb, "a tile pixel's colour is not the picture's");
            for (unsigned lower = 0; lower < value; ++lower) {
                Require(palette[lower] != rgb, "a repeated colour did not take the lower index");
            }
        }
    }
}

// Gives each whole chunk after the signature the CRC of its type and data.
void RepairChunks(std::vector<std::uint8_t>& file) {
    for (std::size_t at = 8; file.size() - at >= 12;) {
        const std::size_t length = std::size_t{file[at]} << 24U | std::size_t{file[at + 1]} << 16U |
                                   std::size_t{file[at + 2]} << 8U | file[at + 3];
        if (length > file.size() - at - 12) {
            return;
        }
        const uLong crc = crc32(0, file.data() + at + 4, static_cast<uInt>(4 + length));
        for (std::size_t i = 0; i < 4; ++i) {
            file[at + 8 + length + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        }
        at += 12 + length;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 5) {
        return 0;
    }
    const std::array<TileSheetPart, 3> parts{TileSheetPart::AllTiles, TileSheetPart::FirstHalf,
                                             TileSheetPart::SecondHalf};
    const std::array<std::uint8_t, 4> nes{data[1], data[2], data[3], data[4]};
    const TileSheet sheet(parts[(data[0] & 0x7FU) % 3], nes);
    std::vector<std::uint8_t> bytes(data + 5, data + size);
    if ((data[0] & 0x80U) != 0 && bytes.size() >= 8) {
        RepairChunks(bytes);
    }
    const std::uint8_t* file = bytes.data();
    const std::size_t fileSize = bytes.size();

    // A level's tiles before the import: a pattern the import is unlikely to repeat.
    auto level = std::make_unique<LevelRecord>();
    for (std::size_t i = 0; i < kTileBytes; ++i) {
        level->tiles[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    const auto before = std::make_unique<Tiles>(level->tiles);
    const TileSheetResult result = sheet.ImportPng({file, fileSize}, "fuzz.png");
    sheet.Place(result.tiles, level->tiles);
    if (!result.ok()) {
        Require(result.tiles.empty(), "a refusal carries tiles");
        Require(level->tiles == *before, "a refusal changed the tiles");
        return 0;
    }
    Require(result.tiles.size() == sheet.byteCount(), "an import of the wrong length");
    const std::size_t first = static_cast<std::size_t>(sheet.firstTile()) * 16;
    for (std::size_t i = 0; i < kTileBytes; ++i) {
        Require(i >= first && i < first + sheet.byteCount() ? true
                                                            : level->tiles[i] == (*before)[i],
                "an import changed tiles outside its part");
    }
    CheckImported(file, fileSize, sheet, nes, level->tiles);
    return 0;
}
