// The other cartridge that tiles are imported from: which files are read, and its 2 KB slices.
#include "gamedata/TileImportSource.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

namespace korvane {
namespace {

namespace fs = std::filesystem;

// Byte i of a test file: its low byte plus its page number, so that slices differ.
std::uint8_t FileByte(std::size_t i) {
    return static_cast<std::uint8_t>(i + (i >> 10) * 7 + 1);
}

class ImportSource : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "korvane-import-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    std::string File(const std::string& name, std::size_t size) {
        const fs::path path = folder / name;
        std::ofstream out(path, std::ios::binary);
        for (std::size_t i = 0; i < size; ++i) {
            out.put(static_cast<char>(FileByte(i)));
        }
        return path.string();
    }
    // A file of size bytes that starts with the header (the rest as File's).
    std::string FileWithHeader(const std::string& name, std::size_t size,
                               const std::array<std::uint8_t, 16>& header) {
        const fs::path path = folder / name;
        std::ofstream out(path, std::ios::binary);
        for (std::size_t i = 0; i < size; ++i) {
            out.put(static_cast<char>(i < header.size() ? header[i] : FileByte(i)));
        }
        return path.string();
    }
    // "NES" 1A, then the program and character bank counts and flags 6.
    static std::array<std::uint8_t, 16> Ines(std::uint8_t program, std::uint8_t character,
                                             std::uint8_t flags6) {
        return {'N', 'E', 'S', 0x1A, program, character, flags6, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    }

    fs::path folder;
    TileImportSource source;
};

TEST_F(ImportSource, FilesOfMoreThan0x810BytesLoadWithoutTheirHeader) {
    EXPECT_FALSE(source.loaded());
    EXPECT_EQ(source.sliceCount(), 0);
    EXPECT_FALSE(source.SliceInside(0));

    EXPECT_EQ(source.Load(File("useless.nes", 0x810)), ImportLoad::TooShort);
    EXPECT_FALSE(source.loaded());

    ASSERT_EQ(source.Load(File("least.nes", 0x811)), ImportLoad::Loaded);
    EXPECT_TRUE(source.loaded());
    ASSERT_EQ(source.data().size(), 0x801u);
    EXPECT_EQ(source.data()[0], FileByte(16));
    EXPECT_EQ(source.sliceCount(), 1);
    EXPECT_TRUE(source.SliceInside(0));
    EXPECT_FALSE(source.SliceInside(1));
    EXPECT_FALSE(source.SliceInside(-1));

    // A short file afterwards changes nothing.
    EXPECT_EQ(source.Load(File("short.nes", 100)), ImportLoad::TooShort);
    EXPECT_EQ(source.data().size(), 0x801u);

    ASSERT_EQ(source.Load(File("game.nes", 0x60010)), ImportLoad::Loaded);
    EXPECT_EQ(source.sliceCount(), 192);
    EXPECT_TRUE(source.SliceInside(191));
    EXPECT_FALSE(source.SliceInside(192));
}

TEST_F(ImportSource, SlicesAndViewsReadZerosBeyondTheData) {
    // Three whole slices and 0x100 bytes of a fourth.
    ASSERT_EQ(source.Load(File("odd.nes", 16 + 0x1900)), ImportLoad::Loaded);
    EXPECT_EQ(source.sliceCount(), 3);

    const ImportSlice second = source.Slice(1);
    for (std::size_t i = 0; i < second.size(); ++i) {
        ASSERT_EQ(second[i], FileByte(16 + 0x800 + i)) << i;
    }
    // Slice 3 holds 0x100 bytes of the file, then zeros; slice 4 is all zeros.
    const ImportSlice partial = source.Slice(3);
    EXPECT_EQ(partial[0xFF], FileByte(16 + 0x18FF));
    EXPECT_TRUE(std::all_of(partial.begin() + 0x100, partial.end(), [](auto b) { return b == 0; }));
    const ImportSlice beyond = source.Slice(4);
    EXPECT_TRUE(std::all_of(beyond.begin(), beyond.end(), [](auto b) { return b == 0; }));

    // The view of the last whole slice: that slice, then 0x100 bytes, then zeros.
    const ImportView view = source.View(2);
    EXPECT_EQ(view[0], FileByte(16 + 0x1000));
    EXPECT_EQ(view[0x8FF], FileByte(16 + 0x18FF));
    EXPECT_TRUE(std::all_of(view.begin() + 0x900, view.end(), [](auto b) { return b == 0; }));
    const ImportView far = source.View(1000000);
    EXPECT_TRUE(std::all_of(far.begin(), far.end(), [](auto b) { return b == 0; }));
}

TEST_F(ImportSource, OnlyRegularFilesUpTo64MegabytesAreRead) {
    ASSERT_EQ(source.Load(File("first.nes", 0x1010)), ImportLoad::Loaded);
    const std::vector<std::uint8_t> kept = source.data();

    const fs::path pipe = folder / "pipe.nes";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    fs::create_directory(folder / "dir.nes");
    // A sparse file one byte over the cap: refused from its size, without reading.
    const fs::path huge = folder / "huge.nes";
    { std::ofstream touch(huge); }
    fs::resize_file(huge, kImportLargestFile + 1);

    for (const std::string& path :
         {pipe.string(), (folder / "dir.nes").string(), (folder / "missing.nes").string(),
          std::string("/dev/zero"), std::string("/dev/null"), huge.string()}) {
        EXPECT_EQ(source.Load(path), ImportLoad::Unreadable) << path;
        EXPECT_TRUE(source.loaded());
        EXPECT_EQ(source.data(), kept) << path;
    }

    // Exactly the cap is still read.
    fs::resize_file(huge, kImportLargestFile);
    ASSERT_EQ(source.Load(huge.string()), ImportLoad::Loaded);
    EXPECT_EQ(source.data().size(), kImportLargestFile - 16);
}

TEST_F(ImportSource, TheFirstCharacterSliceComesFromTheInesHeader) {
    EXPECT_EQ(source.firstCharacterSlice(), 0);

    // This game: 16 program banks of 16 KB and 16 character banks of 8 KB, 393,232 bytes. The
    // character data starts at 16 + 16 x 16384 = 262,160, which is slice (262,160 - 16) / 2048.
    ASSERT_EQ(source.Load(FileWithHeader("game.nes", 393232, Ines(16, 16, 0))), ImportLoad::Loaded);
    EXPECT_EQ(source.firstCharacterSlice(), 128);

    // 2 program banks without a trainer: 32,768 bytes after the header are 16 slices.
    ASSERT_EQ(source.Load(FileWithHeader("small.nes", 16 + 32768 + 8192, Ines(2, 1, 0))),
              ImportLoad::Loaded);
    EXPECT_EQ(source.firstCharacterSlice(), 16);

    // 2 program banks after a 512-byte trainer (flags 6 bit 2, with the mirroring bit set too):
    // the character data starts 512 + 32,768 = 33,280 bytes after the header, 16.25 slices in;
    // the first slice wholly inside it is 17, which starts 34,816 bytes after the header.
    ASSERT_EQ(source.Load(FileWithHeader("trainer.nes", 16 + 512 + 32768 + 8192, Ines(2, 1, 0x05))),
              ImportLoad::Loaded);
    EXPECT_EQ(source.firstCharacterSlice(), 17);
    EXPECT_EQ(source.Slice(17)[0], FileByte(16 + 17 * 2048));
}

TEST_F(ImportSource, WithoutAUsableHeaderTheFirstSliceIsZero) {
    // Each follows a load that started at 128, so a kept value would show.
    const auto expectZeroAfter = [this](const std::string& path, const char* what) {
        ASSERT_EQ(source.Load(FileWithHeader("game.nes", 393232, Ines(16, 16, 0))),
                  ImportLoad::Loaded);
        ASSERT_EQ(source.firstCharacterSlice(), 128);
        ASSERT_EQ(source.Load(path), ImportLoad::Loaded) << what;
        EXPECT_EQ(source.firstCharacterSlice(), 0) << what;
    };
    // No "NES" 1A: a headerless dump (FileByte(0..3) are 1, 2, 3, 4).
    expectZeroAfter(File("plain.bin", 393232), "headerless");
    // "NES" without the 1A.
    std::array<std::uint8_t, 16> almost = Ines(16, 16, 0);
    almost[3] = 0x1B;
    expectZeroAfter(FileWithHeader("almost.nes", 393232, almost), "no 1A");
    // 255 program banks in a file of 393,232 bytes: the character data would start past its end.
    expectZeroAfter(FileWithHeader("garbage.nes", 393232, Ines(255, 16, 0)), "past the end");
    // Only 1 KB of character data: no slice lies wholly inside it.
    expectZeroAfter(FileWithHeader("tail.nes", 16 + 32768 + 1024, Ines(2, 1, 0)), "no whole slice");
    // No character banks: the game draws its tiles from RAM.
    expectZeroAfter(FileWithHeader("chrram.nes", 16 + 32768 + 8192, Ines(2, 0, 0)), "CHR RAM");

    // A header cut short is no header.
    const std::array<std::uint8_t, 16> header = Ines(16, 16, 0);
    EXPECT_FALSE(InesCharacterOffset(std::span<const std::uint8_t>(header).first(15)));
    EXPECT_EQ(InesCharacterOffset(header), std::optional<std::size_t>(262160));
}

} // namespace
} // namespace korvane
