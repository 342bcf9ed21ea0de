#pragma once

// The other cartridge file that tiles are imported from: read whole and only read, of any game
// and size, kept without its 16-byte header and looked at in 2 KB slices (128 tiles each). Slice
// n starts at file offset 16 + n x 0x800; in a file of this game's size slices 0 to 127 are
// program banks and 128 to 191 character memory.
//
// An iNES header ("NES" 1A, byte 4 the count of 16 KB program banks, bit 2 of byte 6 a 512-byte
// trainer before them) says where the character data starts: at 16 + trainer + 16384 x banks.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvane {

inline constexpr std::size_t kImportHeaderBytes = 16;
inline constexpr std::size_t kImportSliceBytes = 0x800;      // 128 tiles
inline constexpr std::size_t kImportViewBytes = 0x1000;      // the 256 tiles shown: two slices
inline constexpr std::size_t kImportShortestUseless = 0x810; // this size or less loads nothing
inline constexpr std::size_t kImportLargestFile = 64U << 20; // larger files are refused

static_assert(kImportViewBytes == 256 * 16, "the view is the 256 tiles of a tile canvas");

using ImportSlice = std::array<std::uint8_t, kImportSliceBytes>;
using ImportView = std::array<std::uint8_t, kImportViewBytes>;

enum class ImportLoad {
    Loaded,     // the file replaced what was held
    TooShort,   // 0x810 bytes or less: nothing changed
    Unreadable, // not a regular file, cannot be opened or read, or larger than the cap
};

// The file offset of the character data an iNES header describes, or nothing when the bytes do
// not start with a whole iNES header.
std::optional<std::size_t> InesCharacterOffset(std::span<const std::uint8_t> fileStart);

class TileImportSource {
public:
    // Reads the file whole. Anything but Loaded keeps what was held before. Only regular files
    // are read (a pipe or a device is refused without being read), and at most
    // kImportLargestFile bytes.
    ImportLoad Load(const std::string& path);

    bool loaded() const { return loaded_; }
    // The file without its header.
    const std::vector<std::uint8_t>& data() const { return data_; }
    // The first slice that lies wholly in the file's character data (after a trainer the
    // character data does not start on a slice, and the slice after its start is taken); 0 for
    // a file without an iNES header, whose character data starts past the end of the file or
    // that has none, and before a load.
    int firstCharacterSlice() const { return firstCharacterSlice_; }
    // How many whole 2 KB slices the data holds; 0 before a load.
    int sliceCount() const;
    // Whether slice n lies wholly inside the data.
    bool SliceInside(int slice) const;
    // The 2 KB of slice n; bytes beyond the data read as zeros.
    ImportSlice Slice(int slice) const;
    // The 4 KB shown from slice n on (slice n and the one after it); bytes beyond the data read
    // as zeros.
    ImportView View(int slice) const;

private:
    // Copies what lies inside the data from offset on, zeros after it.
    void CopyOut(std::size_t offset, std::uint8_t* out, std::size_t length) const;

    std::vector<std::uint8_t> data_;
    bool loaded_ = false;
    int firstCharacterSlice_ = 0;
};

} // namespace korvane
