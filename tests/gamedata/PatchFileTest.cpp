// Reading patch files whole, reads that stop at a limit, and telling whether two paths are one
// file.
#include "TempFolder.h"

#include "gamedata/FileDescriptor.h"
#include "gamedata/FileIdentity.h"
#include "gamedata/PatchFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>

namespace korvane {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

TEST(PatchFileTest, ReadsARegularFileWhole) {
    testing::TempFolder folder;
    const Bytes patch{'P', 'A', 'T', 'C', 'H', 0, 0, 1, 0, 1, 9, 'E', 'O', 'F'};
    testing::WriteFileBytes(folder / "a.ips", patch);
    Bytes read{1, 2, 3};
    EXPECT_EQ(ReadPatchFile((folder / "a.ips").string(), read), std::nullopt);
    EXPECT_EQ(read, patch);

    testing::WriteFileBytes(folder / "empty.bps", {});
    EXPECT_EQ(ReadPatchFile((folder / "empty.bps").string(), read), std::nullopt);
    EXPECT_TRUE(read.empty());
}

TEST(PatchFileTest, RefusesWhatIsNoPatchFileAndKeepsTheBytes) {
    testing::TempFolder folder;
    fs::create_directory(folder / "dir.ips");
    ASSERT_EQ(::mkfifo((folder / "pipe.ips").c_str(), 0644), 0);
    // A sparse file one byte past the limit: nothing of it is read.
    {
        testing::WriteFileBytes(folder / "huge.bps", {});
        fs::resize_file(folder / "huge.bps", kLargestPatchFile + 1);
    }
    const struct {
        fs::path path;
        std::string reason;
    } cases[] = {
        {folder / "missing.ips", "the file does not exist"},
        {folder / "dir.ips", "it is a folder, not a file"},
        {folder / "pipe.ips", "it is not a regular file"},
        {"/dev/zero", "it is not a regular file"},
        {folder / "huge.bps", "at 67108865 bytes it is too large to be a patch"},
    };
    for (const auto& c : cases) {
        Bytes read{7};
        EXPECT_EQ(ReadPatchFile(c.path.string(), read), c.reason) << c.path;
        EXPECT_EQ(read, Bytes{7});
    }
}

TEST(ReadToEndTest, StopsAReadThatNeverEndsOnceItPassesTheLimit) {
    // /dev/zero never reaches its end: the read stops at the first 64 KB step past 1 MB.
    const FileDescriptor zeros(::open("/dev/zero", O_RDONLY | O_CLOEXEC));
    ASSERT_TRUE(zeros.valid());
    Bytes read;
    ASSERT_TRUE(ReadToEnd(zeros.get(), read, 0x100000));
    EXPECT_EQ(read.size(), 0x110000U);

    // A file shorter than the limit is read whole; one byte over it comes back one byte over.
    testing::TempFolder folder;
    Bytes content(70000);
    for (std::size_t i = 0; i < content.size(); ++i) {
        content[i] = static_cast<std::uint8_t>(i * 7);
    }
    testing::WriteFileBytes(folder / "a.bin", content);
    for (const std::size_t limit : {std::size_t{70000}, std::size_t{69999}}) {
        const FileDescriptor file(::open((folder / "a.bin").c_str(), O_RDONLY | O_CLOEXEC));
        ASSERT_TRUE(ReadToEnd(file.get(), read, limit));
        EXPECT_EQ(read, content) << limit;
    }
}

TEST(PatchFileTest, SameFileFollowsLinksAndNeedsBothFiles) {
    testing::TempFolder folder;
    testing::WriteFileBytes(folder / "a.nes", {1});
    testing::WriteFileBytes(folder / "b.nes", {1});
    fs::create_symlink("a.nes", folder / "link.nes");
    const std::string a = (folder / "a.nes").string();
    EXPECT_TRUE(SameFile(a, a));
    EXPECT_TRUE(SameFile(a, (folder / "link.nes").string()));
    EXPECT_TRUE(SameFile(a, (folder.path() / "." / "a.nes").string()));
    EXPECT_FALSE(SameFile(a, (folder / "b.nes").string()));
    EXPECT_FALSE(SameFile(a, (folder / "missing.nes").string()));
    EXPECT_FALSE(SameFile((folder / "missing.nes").string(), (folder / "missing.nes").string()));
    EXPECT_FALSE(SameFile(a, ""));
}

} // namespace
} // namespace korvane
