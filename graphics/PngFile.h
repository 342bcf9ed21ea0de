#pragma once

// Pictures saved as PNG files the way the document saves cartridges.

#include <QImage>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvane {

// The bytes of image as a PNG file; empty when it cannot be encoded (a null image).
std::vector<std::uint8_t> EncodePng(const QImage& image);

// Encodes image as PNG and replaces (or creates) the file at path with it through
// AtomicFileWriter: an existing file must be a regular file whose owner may write it, and a
// failure leaves any earlier file as it was. Returns why it failed, as a sentence for the user,
// or nothing.
std::optional<std::string> SavePngFile(const QImage& image, const std::string& path);

} // namespace korvane
