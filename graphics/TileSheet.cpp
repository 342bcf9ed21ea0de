#include "TileSheet.h"

#include "NesColours.h"
#include "PngDecoder.h"
#include "TileSheetLayout.h"
#include "gamedata/FileMessages.h"
#include "gamedata/RegularFileReader.h"

#include <algorithm>
#include <cstdio>

namespace korvane {

namespace {

constexpr int kHalfTiles = 128;
constexpr unsigned kPaletteIndices = 4;
constexpr unsigned kSample16PerSample8 = 257; // 0xAB as a 16-bit sample is 0xABAB

std::string PixelText(int x, int y) {
    return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

std::string SizeText(int width, int height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

std::string ColourText(std::uint32_t colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", (colour >> 16U) & 0xFFU,
                  (colour >> 8U) & 0xFFU, colour & 0xFFU);
    return text;
}

// A colour as the picture has it: "#12AB34", or "#1234ABCD5678" in a 16-bit picture.
std::string ColourText(const PlainColour& colour, int depth) {
    char text[16];
    if (depth == 16) {
        std::snprintf(text, sizeof text, "#%04X%04X%04X", unsigned{colour.red},
                      unsigned{colour.green}, unsigned{colour.blue});
    } else {
        std::snprintf(text, sizeof text, "#%02X%02X%02X", unsigned{colour.red},
                      unsigned{colour.green}, unsigned{colour.blue});
    }
    return text;
}

// Whether the picture's colour is exactly the opaque colour 0xAARRGGBB.
bool SameColour(const PlainColour& colour, int depth, std::uint32_t rgb) {
    const unsigned scale = depth == 16 ? kSample16PerSample8 : 1U;
    return colour.red == ((rgb >> 16U) & 0xFFU) * scale &&
           colour.green == ((rgb >> 8U) & 0xFFU) * scale && colour.blue == (rgb & 0xFFU) * scale;
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
    return static_cast<std::size_t>(tileCount()) * kSheetTileBytes;
}

int TileSheet::height() const {
    return tileCount() / kTileSheetColumns * kSheetTilePixels;
}

std::string TileSheet::TileRangeText() const {
    return "tiles " + std::to_string(firstTile()) + "-" +
           std::to_string(firstTile() + tileCount() - 1);
}

std::array<std::uint32_t, 4> TileSheet::ColourTable() const {
    std::array<std::uint32_t, 4> table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        const NesRgb& rgb = NesColourTable[colours_[i] & 0x3FU];
        table[i] =
            0xFF000000U | std::uint32_t{rgb.red} << 16U | std::uint32_t{rgb.green} << 8U | rgb.blue;
    }
    return table;
}

std::string TileSheet::PaletteText() const {
    std::string text;
    for (const std::uint32_t colour : ColourTable()) {
        text += (text.empty() ? "" : ", ") + ColourText(colour);
    }
    return text;
}

TileSheetResult TileSheet::WrongSize(int pictureWidth, int pictureHeight) const {
    const int commonWidth = std::min(pictureWidth, width());
    const int commonHeight = std::min(pictureHeight, height());
    // Reading order: along the first row the widths part at commonWidth; below the rows both
    // have, every pixel of the taller one is offending.
    int x = 0;
    int y = commonHeight;
    if (pictureWidth != width() && commonHeight > 0) {
        x = commonWidth;
        y = 0;
    }
    const bool outside = x < pictureWidth && y < pictureHeight;
    return Refusal("the picture is " + SizeText(pictureWidth, pictureHeight) + " pixels, not " +
                   SizeText(width(), height()) + " (" + TileRangeText() + "), so " +
                   PixelText(x, y) +
                   (outside ? " lies outside the sheet." : " of the sheet is missing."));
}

TileSheetResult TileSheet::Import(const PlainPicture& picture) const {
    if (picture.width != width() || picture.height != height()) {
        return WrongSize(picture.width, picture.height);
    }
    const std::array<std::uint32_t, 4> table = ColourTable();
    const unsigned opaque = picture.sampleDepth == 16 ? 0xFFFFU : 0xFFU;
    std::vector<std::uint32_t> seen; // the distinct colours met so far, all of them the palette's
    TileSheetResult result;
    result.tiles.assign(byteCount(), 0);
    for (int y = 0; y < height(); ++y) {
        for (int x = 0; x < width(); ++x) {
            unsigned value = 0;
            if (picture.byIndex) {
                value = picture.IndexAt(x, y);
                if (value >= static_cast<unsigned>(picture.paletteEntries)) {
                    return Refusal(PixelText(x, y) + " has palette index " + std::to_string(value) +
                                   ", past the end of the picture's " +
                                   std::to_string(picture.paletteEntries) + "-colour palette.");
                }
                if (value >= kPaletteIndices) {
                    return Refusal(PixelText(x, y) + " has palette index " + std::to_string(value) +
                                   "; a tile pixel takes the indices 0 to 3.");
                }
            } else {
                const PlainColour colour = picture.ColourAt(x, y);
                if (colour.alpha != opaque) {
                    return Refusal(PixelText(x, y) + " is not opaque (" +
                                   ColourText(colour, picture.sampleDepth) + " at alpha " +
                                   std::to_string(colour.alpha) + " of " + std::to_string(opaque) +
                                   "); the palette's colours (" + PaletteText() + ") are opaque.");
                }
                // The first entry of that colour: the lower index wins.
                const auto match =
                    std::find_if(table.begin(), table.end(), [&](std::uint32_t entry) {
                        return SameColour(colour, picture.sampleDepth, entry);
                    });
                if (match == table.end()) {
                    const bool fifth = seen.size() >= table.size();
                    return Refusal(PixelText(x, y) + " is " +
                                   ColourText(colour, picture.sampleDepth) +
                                   (fifth ? ", a fifth colour: a tile sheet has at most 4, "
                                            "those of the palette ("
                                          : ", none of the palette's colours (") +
                                   PaletteText() + ").");
                }
                if (std::find(seen.begin(), seen.end(), *match) == seen.end()) {
                    seen.push_back(*match);
                }
                value = static_cast<unsigned>(match - table.begin());
            }
            const SheetPixelPlace place = SheetPixelPlaceOf(x, y);
            const auto bit = static_cast<std::uint8_t>(1U << place.bit);
            if ((value & 1U) != 0) {
                result.tiles[place.rowByte] |= bit;
            }
            if ((value & 2U) != 0) {
                result.tiles[place.rowByte + kSheetPlaneBytes] |= bit;
            }
        }
    }
    return result;
}

TileSheetResult TileSheet::ImportPng(std::span<const std::uint8_t> png,
                                     const std::string& name) const {
    const PngDecoding decoding = DecodePng(png, width(), height());
    switch (decoding.outcome) {
    case PngOutcome::Read:
        return Import(decoding.picture);
    case PngOutcome::OtherSize:
        // A picture of the wrong size is refused from its header.
        return WrongSize(decoding.picture.width, decoding.picture.height);
    case PngOutcome::Refused:
        break;
    }
    return {{}, CannotMessage("read", name, decoding.message)};
}

TileSheetResult TileSheet::ImportFile(const std::string& path) const {
    std::vector<std::uint8_t> bytes;
    if (const std::optional<std::string> why =
            ReadRegularFile(path, kTileSheetLargestFile, bytes)) {
        return {{}, CannotMessage("read", path, *why)};
    }
    return ImportPng(bytes, path);
}

void TileSheet::Place(std::span<const std::uint8_t> sheetTiles,
                      std::span<std::uint8_t, kTileBytes> tiles) const {
    if (sheetTiles.size() != byteCount()) {
        return;
    }
    std::copy(sheetTiles.begin(), sheetTiles.end(),
              tiles.begin() + static_cast<std::ptrdiff_t>(firstTile()) *
                                  static_cast<std::ptrdiff_t>(kSheetTileBytes));
}

} // namespace korvane
