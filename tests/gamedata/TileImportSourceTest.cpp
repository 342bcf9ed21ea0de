// The other cartridge that tiles are imported from: which files are read, and its 2 KB slices.
#include "gamedata/TileImportSource.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace korvane
