#include "TileImportSource.h"

#include "RegularFileReader.h"

#include <algorithm>

namespace korvane {

ImportLoad TileImportSource::Load(const std::string& path) {
    std::vector<std::uint8_t> file;
    if (ReadRegularFile(path, kImportLargestFile, file).has_value()) {
        return ImportLoad::Unreadable;
    }
    if (file.size() <= kImportShortestUseless) {
        return ImportLoad::TooShort;
    }
    data_.assign(file.begin() + static_cast<std::ptrdiff_t>(kImportHeaderBytes), file.end());
    loaded_ = true;
    return ImportLoad::Loaded;
}

int TileImportSource::sliceCount() const {
    return static_cast<int>(data_.size() / kImportSliceBytes);
}

bool TileImportSource::SliceInside(int slice) const {
    return loaded_ && slice >= 0 && slice < sliceCount();
}

void TileImportSource::CopyOut(std::size_t offset, std::uint8_t* out, std::size_t length) const {
    const std::size_t inside = offset >= data_.size() ? 0 : std::min(length, data_.size() - offset);
    if (inside > 0) {
        std::copy_n(data_.begin() + static_cast<std::ptrdiff_t>(offset), inside, out);
    }
    std::fill(out + inside, out + length, std::uint8_t{0});
}

ImportSlice TileImportSource::Slice(int slice) const {
    ImportSlice bytes{};
    if (slice >= 0) {
        CopyOut(static_cast<std::size_t>(slice) * kImportSliceBytes, bytes.data(), bytes.size());
    }
    return bytes;
}

ImportView TileImportSource::View(int slice) const {
    ImportView bytes{};
    if (slice >= 0) {
        CopyOut(static_cast<std::size_t>(slice) * kImportSliceBytes, bytes.data(), bytes.size());
    }
    return bytes;
}

} // namespace korvane
