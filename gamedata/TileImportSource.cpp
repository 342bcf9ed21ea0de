#include "TileImportSource.h"

#include "RegularFileReader.h"

#include <algorithm>

namespace korvane {

namespace {

constexpr std::size_t kInesProgramBankBytes = 16384;
constexpr std::size_t kInesTrainerBytes = 512;
constexpr std::uint8_t kInesTrainerFlag = 0x04; // byte 6

// The first slice wholly at or after offset of the file, or 0 when none lies wholly inside data
// of this many bytes (without the header).
int FirstSliceFrom(std::size_t offset, std::size_t dataBytes) {
    const std::size_t fromData = offset - kImportHeaderBytes;
    const std::size_t slice = (fromData + kImportSliceBytes - 1) / kImportSliceBytes;
    if ((slice + 1) * kImportSliceBytes > dataBytes) {
        return 0;
    }
    return static_cast<int>(slice);
}

} // namespace

std::optional<std::size_t> InesCharacterOffset(std::span<const std::uint8_t> fileStart) {
    if (fileStart.size() < kImportHeaderBytes || fileStart[0] != 'N' || fileStart[1] != 'E' ||
        fileStart[2] != 'S' || fileStart[3] != 0x1A) {
        return std::nullopt;
    }
    const std::size_t trainer = (fileStart[6] & kInesTrainerFlag) != 0 ? kInesTrainerBytes : 0;
    return kImportHeaderBytes + trainer + kInesProgramBankBytes * fileStart[4];
}

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
    const std::optional<std::size_t> character = InesCharacterOffset(file);
    // A header that declares no character banks (byte 5 zero: the game draws from RAM) has
    // nothing to start at either.
    firstCharacterSlice_ = character && file[5] != 0 ? FirstSliceFrom(*character, data_.size()) : 0;
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
