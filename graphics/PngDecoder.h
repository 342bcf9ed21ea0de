#pragma once

// Reading a PNG file strictly, without Qt. The colour type of the file's header decides what
// comes out: a palette PNG (colour type 3) gives its palette indices as they are, whatever its
// palette's colours; every other kind (grey of any depth, grey with alpha, RGB, RGBA) gives its
// colours as red, green, blue and alpha samples of the file's own depth (8 bits, or 16 for a
// 16-bit file), grey spread to three equal samples, a 1-, 2- or 4-bit grey level scaled to 8
// bits (1-bit white is 255), alpha 255 (or 65535) where the file has none, and 0 for pixels of
// the file's transparent colour (tRNS). No gamma or colour profile is applied.
//
// Refused, with the reason as words for the user: an empty file, a file that does not begin
// with the PNG signature, a file cut short, bytes after its IEND chunk, a chunk whose CRC does
// not match (critical or ancillary), and whatever else libpng finds wrong (its own words).

#include "PlainPicture.h"

#include <cstdint>
#include <span>
#include <string>

namespace korvane {

enum class PngOutcome {
    Read,      // the picture has every pixel
    OtherSize, // the header gives another size: only width and height are set
    Refused,   // the file cannot be read: see message
};

struct PngDecoding {
    PngOutcome outcome = PngOutcome::Refused;
    PlainPicture picture;
    std::string message; // why it was refused: "it is empty", "it is not a PNG file", ...
};

// Decodes the PNG file held in file, a picture of width x height pixels; a picture of another
// size is not decoded past its header.
PngDecoding DecodePng(std::span<const std::uint8_t> file, int width, int height);

} // namespace korvane
