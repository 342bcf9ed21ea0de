#include "TempFolder.h"

#include "gamedata/AtomicFileWriter.h"
#include "gamedata/FileMessages.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace korvane {
namespace {

namespace fs = std::filesystem;
using testing::PermissionBits;
using testing::ReadFileBytes;
using testing::TempFolder;
using testing::WriteFileBytes;
using State = AtomicFileWriter::TargetState;
using Target = AtomicFileWriter::Target;

const std::vector<std::uint8_t> kOld{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
const std::vector<std::uint8_t> kHead{0xAA, 0xBB, 0xCC};
const std::vector<std::uint8_t> kTail{0x11, 0x22};
const std::vector<std::uint8_t> kNew{0xAA, 0xBB, 0xCC, 0x11, 0x22};

bool WriteNew(AtomicFileWriter& writer) {
    return writer.Write({kHead, kTail});
}

// Sets the process's umask for one test.
class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : old_(::umask(mask)) {}
    ~ScopedUmask() { ::umask(old_); }

private:
    mode_t old_;
};

TEST(AtomicFileWriter, ReplacesAFileWholeAndKeepsItsPermissions) {
    TempFolder folder;
    const fs::path path = folder / "game.nes";
    WriteFileBytes(path, kOld);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    for (const Target target : {Target::Existing, Target::NewOrExisting}) {
        AtomicFileWriter writer(path.string(), target);
        EXPECT_EQ(writer.Check(), State::Existing);
        std::vector<std::uint8_t> tail;
        ASSERT_TRUE(writer.ReadExistingTail(7, tail));
        EXPECT_EQ(tail, (std::vector<std::uint8_t>{8, 9, 10}));
        ASSERT_TRUE(writer.ReadExistingTail(10, tail));
        EXPECT_TRUE(tail.empty());
        ASSERT_TRUE(WriteNew(writer)) << writer.message();
        EXPECT_EQ(ReadFileBytes(path), kNew);
        EXPECT_EQ(PermissionBits(path), 0640u);
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"game.nes"});
        WriteFileBytes(path, kOld);
    }
}

TEST(AtomicFileWriter, ANewFileGetsOrdinaryPermissionsOnlyWhenAllowed) {
    TempFolder folder;
    const fs::path path = folder / "new.nes";
    AtomicFileWriter existingOnly(path.string(), Target::Existing);
    EXPECT_EQ(existingOnly.Check(), State::Missing);
    EXPECT_FALSE(WriteNew(existingOnly));
    EXPECT_EQ(existingOnly.message(),
              "Korvane can't save to \"" + path.string() + "\": the file does not exist.");
    EXPECT_TRUE(folder.Entries().empty());

    for (const auto& [mask, bits] : {std::pair<mode_t, unsigned>{022, 0644u}, {077, 0600u}}) {
        const ScopedUmask umask(mask);
        fs::remove(path);
        AtomicFileWriter writer(path.string(), Target::NewOrExisting);
        EXPECT_EQ(writer.Check(), State::New);
        std::vector<std::uint8_t> tail{9};
        ASSERT_TRUE(writer.ReadExistingTail(0, tail));
        EXPECT_TRUE(tail.empty());
        ASSERT_TRUE(WriteNew(writer)) << writer.message();
        EXPECT_EQ(ReadFileBytes(path), kNew);
        EXPECT_EQ(PermissionBits(path), bits);
    }
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"new.nes"});
}

TEST(AtomicFileWriter, SymbolicLinksAreFollowedAndStayLinks) {
    TempFolder folder;
    fs::create_directory(folder / "real");
    WriteFileBytes(folder / "real" / "game.nes", kOld);
    // A relative link counts from its own folder; a chain of two links.
    fs::create_symlink("real/game.nes", folder / "first.nes");
    fs::create_symlink(folder / "first.nes", folder / "second.nes");
    AtomicFileWriter writer((folder / "second.nes").string(), Target::Existing);
    ASSERT_TRUE(WriteNew(writer)) << writer.message();
    EXPECT_EQ(writer.resolvedPath(), (folder / "first.nes").parent_path() / "real/game.nes");
    EXPECT_TRUE(fs::is_symlink(folder / "first.nes"));
    EXPECT_TRUE(fs::is_symlink(folder / "second.nes"));
    EXPECT_EQ(ReadFileBytes(folder / "real" / "game.nes"), kNew);

    // A link to a file that is not there yet: the file is made where the link points.
    fs::create_symlink("real/later.nes", folder / "dangling.nes");
    AtomicFileWriter refused((folder / "dangling.nes").string(), Target::Existing);
    EXPECT_EQ(refused.Check(), State::Missing);
    AtomicFileWriter creating((folder / "dangling.nes").string(), Target::NewOrExisting);
    ASSERT_TRUE(WriteNew(creating)) << creating.message();
    EXPECT_TRUE(fs::is_symlink(folder / "dangling.nes"));
    EXPECT_EQ(ReadFileBytes(folder / "real" / "later.nes"), kNew);

    // Links that go round in circles are refused with the system's reason.
    fs::create_symlink("loop-b", folder / "loop-a");
    fs::create_symlink("loop-a", folder / "loop-b");
    AtomicFileWriter loop((folder / "loop-a").string(), Target::NewOrExisting);
    EXPECT_EQ(loop.Check(), State::Unusable);
    EXPECT_NE(loop.message().find("Too many levels of symbolic links"), std::string::npos)
        << loop.message();
}

TEST(AtomicFileWriter, FoldersDevicesAndPipesAreRefusedUntouched) {
    TempFolder folder;
    fs::create_directory(folder / "dir.nes");
    ASSERT_EQ(::mkfifo((folder / "pipe.nes").c_str(), 0644), 0);
    fs::create_symlink("/dev/null", folder / "device.nes");
    struct Case {
        std::string name;
        std::string why;
    };
    for (const Case& c : {Case{"dir.nes", "it is a folder, not a file"},
                          Case{"pipe.nes", "it is not a regular file"},
                          Case{"device.nes", "it is not a regular file"}}) {
        for (const Target target : {Target::Existing, Target::NewOrExisting}) {
            const std::string path = (folder / c.name).string();
            AtomicFileWriter writer(path, target);
            EXPECT_EQ(writer.Check(), State::Unusable) << c.name;
            EXPECT_FALSE(WriteNew(writer));
            EXPECT_EQ(writer.message(), "Korvane can't save to \"" + path + "\": " + c.why + ".");
        }
    }
    EXPECT_TRUE(fs::is_directory(folder / "dir.nes"));
    EXPECT_TRUE(fs::is_fifo(folder / "pipe.nes"));
    EXPECT_TRUE(fs::is_symlink(folder / "device.nes"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"device.nes", "dir.nes", "pipe.nes"}));
}

TEST(AtomicFileWriter, AFileItsOwnerMayNotWriteIsReadOnly) {
    TempFolder folder;
    const fs::path path = folder / "clean.nes";
    WriteFileBytes(path, kOld);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_write);
    AtomicFileWriter writer(path.string(), Target::NewOrExisting);
    EXPECT_EQ(writer.Check(), State::ReadOnly);
    std::vector<std::uint8_t> tail;
    EXPECT_FALSE(writer.ReadExistingTail(0, tail));
    EXPECT_FALSE(WriteNew(writer));
    EXPECT_EQ(writer.message(), kReadOnlyMessage);
    EXPECT_EQ(ReadFileBytes(path), kOld);
    EXPECT_EQ(PermissionBits(path), 0442u);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"clean.nes"});
}

TEST(AtomicFileWriter, TheTemporaryNameIsNewAndNothingStandingThereIsFollowed) {
    TempFolder folder;
    const fs::path path = folder / "out.nes";
    WriteFileBytes(folder / "victim.txt", kOld);
    // Links where a writer with a fixed temporary name would write.
    fs::create_symlink("victim.txt", folder / "out.nes.korvane-new");
    fs::create_symlink("victim.txt", folder / ".out.nes.korvane-new");
    fs::create_symlink("victim.txt", folder / ".out.nes.korvane-XXXXXX");
    fs::create_symlink("victim.txt", folder / ".korvane-XXXXXX");
    AtomicFileWriter writer(path.string(), Target::NewOrExisting);
    ASSERT_TRUE(WriteNew(writer)) << writer.message();
    EXPECT_EQ(ReadFileBytes(path), kNew);
    EXPECT_FALSE(fs::is_symlink(path));
    EXPECT_EQ(ReadFileBytes(folder / "victim.txt"), kOld);
    EXPECT_EQ(folder.Entries(),
              (std::vector<std::string>{".korvane-XXXXXX", ".out.nes.korvane-XXXXXX",
                                        ".out.nes.korvane-new", "out.nes", "out.nes.korvane-new",
                                        "victim.txt"}));
}

TEST(AtomicFileWriter, EveryNameTheFolderTakesCanBeWritten) {
    TempFolder folder;
    // 255 bytes, the longest name a folder takes: the temporary file's name is not made from it.
    for (const std::size_t length : {std::size_t{240}, std::size_t{255}}) {
        SCOPED_TRACE(length);
        const fs::path path = folder / std::string(length, 'n');
        AtomicFileWriter creating(path.string(), Target::NewOrExisting);
        ASSERT_TRUE(WriteNew(creating)) << creating.message();
        EXPECT_EQ(ReadFileBytes(path), kNew);
        AtomicFileWriter replacing(path.string(), Target::Existing);
        ASSERT_TRUE(replacing.Write({kOld})) << replacing.message();
        EXPECT_EQ(ReadFileBytes(path), kOld);
    }
    EXPECT_EQ(folder.Entries(),
              (std::vector<std::string>{std::string(240, 'n'), std::string(255, 'n')}));
}

TEST(AtomicFileWriter, TwoWritersOfOneFileEachWriteAWholeFile) {
    TempFolder folder;
    const fs::path path = folder / "shared.nes";
    WriteFileBytes(path, kOld);
    AtomicFileWriter first(path.string(), Target::NewOrExisting);
    AtomicFileWriter second(path.string(), Target::NewOrExisting);
    ASSERT_EQ(first.Check(), State::Existing);
    ASSERT_EQ(second.Check(), State::Existing);
    ASSERT_TRUE(first.Write({kHead}));
    EXPECT_EQ(ReadFileBytes(path), kHead);
    ASSERT_TRUE(second.Write({kTail}));
    EXPECT_EQ(ReadFileBytes(path), kTail);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"shared.nes"});
}

TEST(AtomicFileWriter, AFailedWriteLeavesTheFileAndNoTemporaryFile) {
    TempFolder folder;
    const fs::path path = folder / "game.nes";
    WriteFileBytes(path, kOld);
    AtomicFileWriter writer(path.string(), Target::Existing);
    writer.FailAfterBytesForTesting(4);
    EXPECT_FALSE(WriteNew(writer));
    EXPECT_EQ(writer.message(), "Korvane can't save \"" + path.string() +
                                    "\": writing failed (No space left on device). The file "
                                    "was left as it was.");
    EXPECT_EQ(ReadFileBytes(path), kOld);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"game.nes"});

    const fs::path fresh = folder / "fresh.nes";
    AtomicFileWriter creating(fresh.string(), Target::NewOrExisting);
    creating.FailAfterBytesForTesting(0);
    EXPECT_FALSE(WriteNew(creating));
    EXPECT_NE(creating.message().find("Nothing was written."), std::string::npos);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"game.nes"});

    // A folder that does not exist has no room for the temporary file either.
    AtomicFileWriter nowhere((folder / "no-such-folder" / "x.nes").string(), Target::NewOrExisting);
    EXPECT_FALSE(WriteNew(nowhere));
    EXPECT_NE(nowhere.message().find("no temporary file can be made in its folder (No such file "
                                     "or directory)"),
              std::string::npos)
        << nowhere.message();
}

} // namespace
} // namespace korvane
