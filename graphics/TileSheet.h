#pragma once

// A level's tiles as a picture to draw in a paint program and to take back: the tile sheet.
// The sheet is 16 tiles wide, tile n (counted from the sheet's first tile) at column n mod 16
// and row n / 16, so all 256 tiles make 128 x 128 pixels and either half 128 x 64. It is a
// four-colour palette PNG in the NES colours of one palette whose palette index is the pixel
// value.
//
// Reading a sheet back: the kind of picture decides. The indices of a palette PNG (colour type
// 3; in memory, an indexed QImage) are taken as they are, whatever its colour table; any other
// picture (grey of any depth, grey with alpha, RGB, RGBA) is matched colour for colour, exactly,
// against the palette's four colours, and must be opaque. Where two entries of the palette have
// the same colour (the same NES number twice, or 0x20 and 0x30, both white) the lower index is
// taken. A picture of the wrong size, an index past the picture's own palette or above 3, or a
// colour that is not the palette's is refused with a message that names the first offending
// pixel in reading order (left to right, top to bottom), and no tiles come back. A file is
// read as a PNG whatever its name, strictly (see PngDecoder.h): anything else, an empty, cut
// short or damaged file, or one with bytes after its end, is refused with the reason.
//
// No widgets, and no Qt at all but for Export and Import(QImage) (TileSheetPicture.cpp): the
// tile editor, korvane-cli and the tile sheet fuzzer use the same code.

#include "PlainPicture.h"
#include "gamedata/LevelRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

class QImage;

namespace korvane {

// Which of a level's tiles a sheet holds.
enum class TileSheetPart {
    AllTiles,   // tiles 0-255, 128 x 128 pixels
    FirstHalf,  // tiles 0-127, 128 x 64 pixels
    SecondHalf, // tiles 128-255, 128 x 64 pixels
};

inline constexpr int kTileSheetColumns = 16; // tiles per row
inline constexpr int kTileSheetWidth = 128;  // pixels
// A sheet file larger than this is not read: a 128 x 128 picture needs far less.
inline constexpr std::size_t kTileSheetLargestFile = 16U << 20;

// Tiles read from a sheet, or why there are none.
struct TileSheetResult {
    std::vector<std::uint8_t> tiles; // the part's tiles in the NES two-plane format
    std::string message;             // empty on success
    bool ok() const { return message.empty(); }
};

class TileSheet {
public:
    using Colours = std::array<std::uint8_t, 4>; // NES colour numbers of palette indices 0-3

    // A sheet of part in the NES colours nesColours (numbers above 0x3F wrap onto 0x00-0x3F).
    TileSheet(TileSheetPart part, std::span<const std::uint8_t, 4> nesColours);

    TileSheetPart part() const { return part_; }
    int firstTile() const;         // 0 or 128
    int tileCount() const;         // 256 or 128
    std::size_t byteCount() const; // 4096 or 2048
    int width() const { return kTileSheetWidth; }
    int height() const; // 128 or 64
    // "tiles 0-255", "tiles 0-127" or "tiles 128-255".
    std::string TileRangeText() const;
    // The palette's colours as a picture's colour table has them (opaque, 0xAARRGGBB).
    std::array<std::uint32_t, 4> ColourTable() const;

    // The part's tiles, taken from a level's 256 tiles, as a Format_Indexed8 picture with a
    // four-entry colour table.
    QImage Export(std::span<const std::uint8_t, kTileBytes> tiles) const;
    // The same picture as the bytes of a palette PNG file.
    std::vector<std::uint8_t> ExportPng(std::span<const std::uint8_t, kTileBytes> tiles) const;

    // The part's tiles drawn in picture (an indexed one by its indices).
    TileSheetResult Import(const QImage& picture) const;
    TileSheetResult Import(const PlainPicture& picture) const;
    // The part's tiles drawn in the PNG file whose bytes are png; a refusal names the file as
    // name.
    TileSheetResult ImportPng(std::span<const std::uint8_t> png, const std::string& name) const;
    // The part's tiles drawn in the PNG file at path. Only a regular file of at most
    // kTileSheetLargestFile bytes is read.
    TileSheetResult ImportFile(const std::string& path) const;
    // Imported tiles (byteCount() bytes) over the part's tiles of a level's 256 tiles.
    void Place(std::span<const std::uint8_t> sheetTiles,
               std::span<std::uint8_t, kTileBytes> tiles) const;

private:
    // The refusal of a picture of size, naming the first pixel it has but a sheet has not, or
    // a sheet has but it has not.
    TileSheetResult WrongSize(int pictureWidth, int pictureHeight) const;
    std::string PaletteText() const;

    TileSheetPart part_;
    Colours colours_;
};

} // namespace korvane
