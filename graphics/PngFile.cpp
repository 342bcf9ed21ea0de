#include "PngFile.h"

#include "gamedata/AtomicFileWriter.h"

#include <QBuffer>
#include <QByteArray>

#include <span>

namespace korvane {

std::vector<std::uint8_t> EncodePng(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        return {};
    }
    return std::vector<std::uint8_t>(png.begin(), png.end());
}

std::optional<std::string> SavePngFile(const QImage& image, const std::string& path) {
    const std::vector<std::uint8_t> png = EncodePng(image);
    if (png.empty()) {
        return std::string("The picture cannot be encoded as PNG.");
    }
    AtomicFileWriter writer(path, AtomicFileWriter::Target::NewOrExisting);
    if (!writer.Write({std::span<const std::uint8_t>(png)})) {
        return writer.message();
    }
    return std::nullopt;
}

} // namespace korvane
