#include "PngFile.h"

#include "gamedata/AtomicFileWriter.h"

#include <QBuffer>
#include <QByteArray>

#include <cstdint>
#include <span>

namespace korvane {

std::optional<std::string> SavePngFile(const QImage& image, const std::string& path) {
    QByteArray png;
    QBuffer buffer(&png);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        return std::string("The picture cannot be encoded as PNG.");
    }
    AtomicFileWriter writer(path, AtomicFileWriter::Target::NewOrExisting);
    if (!writer.Write({std::span(reinterpret_cast<const std::uint8_t*>(png.constData()),
                                 static_cast<std::size_t>(png.size()))})) {
        return writer.message();
    }
    return std::nullopt;
}

} // namespace korvane
