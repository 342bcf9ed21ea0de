#include "ImageBuilder.h"
#include "TempFolder.h"

#include "gamedata/CKorvaneDoc.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

namespace korvane {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
    return testing::ReadFileBytes(path);
}

std::vector<std::uint8_t> ImageBytes(std::uint32_t seed, std::size_t trailing = 0) {
    auto image = testing::MakeRandomImage(seed);
    std::mt19937 rng(seed);
    for (const CatalogueRow& row : LevelCatalogue) {
        testing::WriteConsistentLevel(*image, row.bankOffset, rng);
    }
    std::vector<std::uint8_t> bytes(image->bytes.begin(), image->bytes.end());
    for (std::size_t i = 0; i < trailing; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(i * 3 + 1));
    }
    return bytes;
}

// Every level of the opened document holds the bytes of bytes (the file as written) where the
// cartridge's layout puts them, read here straight from the file's bytes.
void ExpectLevelsHoldTheirBytes(const CKorvaneDoc& doc, const std::vector<std::uint8_t>& bytes) {
    auto at = [&](std::size_t offset) { return bytes.at(offset); };
    for (int n = 0; n < kLevelCount; ++n) {
        const LevelRecord& level = doc.gameData().levels[static_cast<std::size_t>(n)];
        const std::size_t bankStart = LevelCatalogue[static_cast<std::size_t>(n)].bankOffset;
        for (std::size_t i = 0; i < 32; ++i) {
            ASSERT_EQ(level.roomOrder[i], at(bankStart + 0x0A00 + i)) << n;
        }
        for (std::size_t room = 0; room < 32; ++room) {
            for (std::size_t cell = 0; cell < 64; ++cell) {
                ASSERT_EQ(level.rooms[room].cells[cell], at(bankStart + 0x0F00 + room * 64 + cell))
                    << n << " room " << room;
            }
        }
        for (std::size_t a = 0; a < 256; ++a) {
            for (std::size_t q = 0; q < 4; ++q) {
                ASSERT_EQ(level.assemblies[a].blocks[q], at(bankStart + 0x1700 + a * 4 + q)) << n;
            }
        }
        for (std::size_t b = 0; b < 256; ++b) {
            for (std::size_t q = 0; q < 4; ++q) {
                ASSERT_EQ(level.blocks[b].tiles[q], at(bankStart + 0x1B00 + q * 256 + b)) << n;
            }
            ASSERT_EQ(level.blocks[b].attributes, at(bankStart + 0x1F00 + b)) << n;
        }
        for (std::size_t set = 0; set < 5; ++set) {
            for (std::size_t k = 0; k < 20; ++k) {
                ASSERT_EQ(level.paletteSets[set].bytes[k], at(bankStart + 0x0A82 + set * 20 + k))
                    << n;
            }
        }
        for (std::size_t half = 0; half < 2; ++half) {
            ASSERT_EQ(level.tileBanks[half], at(bankStart + 0x0A80 + half)) << n;
            ASSERT_EQ(level.checkpointHallways[half], at(bankStart + 0x0AF0 + half)) << n;
            ASSERT_EQ(level.checkpointRooms[half], at(bankStart + 0x0AF8 + half)) << n;
            // A half's 2 KB of tiles, where character memory holds it.
            const std::size_t pages = 0x40010 + std::size_t{level.tileBanks[half]} * 0x400;
            if (pages + 0x800 <= 0x60010) {
                for (std::size_t k = 0; k < 0x800; ++k) {
                    ASSERT_EQ(level.tiles[half * 0x800 + k], at(pages + k)) << n;
                }
            }
        }
    }
}

class Document : public ::testing::Test {
protected:
    fs::path Cartridge(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const fs::path path = folder / name;
        testing::WriteFileBytes(path, bytes);
        return path;
    }
    // Opens a cartridge and makes an unsaved edit in the model.
    fs::path OpenEdited() {
        const fs::path path = Cartridge("game.nes", ImageBytes(1));
        EXPECT_TRUE(doc.OnOpenDocument(path));
        doc.level(2).blocks[5].attributes = 0x73;
        doc.level(2).AddEnemy(EnemyPlacement{9, 9, 0, 1}.Packed());
        doc.SetModifiedFlag();
        return path;
    }
    std::vector<std::string> FolderEntries() const { return tempFolder.Entries(); }
    // The document and its image kept everything they held.
    void ExpectUnchanged(const GameData& model, const RomImage& image) {
        EXPECT_TRUE(doc.gameData() == model);
        EXPECT_TRUE(doc.image().bytes == image.bytes);
    }
    void ExpectOneStop(const std::vector<std::string>& parts) {
        ASSERT_EQ(reporter.messages.size(), 1u);
        const auto& message = reporter.messages[0];
        EXPECT_EQ(message.icon, MessageIcon::Stop);
        EXPECT_EQ(message.title, "Korvane");
        for (const std::string& part : parts) {
            EXPECT_NE(message.text.find(part), std::string::npos) << message.text;
        }
    }

    testing::TempFolder tempFolder;
    const fs::path& folder = tempFolder.path();
    RecordingReporter reporter;
    CKorvaneDoc doc{&reporter};
};

TEST_F(Document, OpenDecodesTheWholeFile) {
    const auto bytes = ImageBytes(7);
    const fs::path path = Cartridge("seven.nes", bytes);
    doc.SetModifiedFlag();
    ASSERT_TRUE(doc.OnOpenDocument(path));
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_TRUE(doc.fileLoaded());
    EXPECT_TRUE(doc.decoded());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.Title(), "seven.nes");
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), doc.image().bytes.begin()));
    ExpectLevelsHoldTheirBytes(doc, bytes);
}

TEST_F(Document, FailedOpensChangeNothingAndSayWhy) {
    const fs::path good = OpenEdited();
    const auto model = std::make_unique<GameData>(doc.gameData());
    const auto image = std::make_unique<RomImage>(doc.image());
    struct Case {
        fs::path path;
        std::vector<std::string> message;
    };
    const fs::path shortFile = Cartridge("short.nes", std::vector<std::uint8_t>(1000, 0x42));
    fs::create_directory(folder / "dir.nes");
    // Special files are refused before they are opened: a named pipe without a writer would
    // block the open, and /dev/zero would read as a cartridge of zeros.
    ASSERT_EQ(::mkfifo((folder / "pipe.nes").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", folder / "zero.nes");
    const auto notAFile = [](const fs::path& path) {
        return "Korvane can't open \"" + path.string() + "\": it is not a regular file.";
    };
    const Case cases[] = {
        {folder / "missing.nes",
         {"Korvane can't open \"" + (folder / "missing.nes").string() +
          "\": the file does not exist."}},
        {folder / "dir.nes",
         {"Korvane can't open \"" + (folder / "dir.nes").string() +
          "\": it is a folder, not a file."}},
        {shortFile,
         {"The file \"" + shortFile.string() +
          "\" is too short: it has 1000 bytes, but a cartridge image has 393232 "
          "bytes."}},
        {folder / "pipe.nes", {notAFile(folder / "pipe.nes")}},
        {folder / "zero.nes", {notAFile(folder / "zero.nes")}},
        {"/dev/zero", {notAFile("/dev/zero")}},
        {"/dev/null", {notAFile("/dev/null")}},
    };
    for (const Case& c : cases) {
        for (const bool readOnly : {false, true}) {
            reporter.Clear();
            EXPECT_FALSE(readOnly ? doc.OpenReadOnly(c.path) : doc.OnOpenDocument(c.path))
                << c.path;
            ASSERT_EQ(reporter.messages.size(), 1u) << c.path;
            EXPECT_EQ(reporter.messages[0].text, c.message[0]);
            EXPECT_EQ(reporter.messages[0].icon, MessageIcon::Stop);
            ExpectUnchanged(*model, *image);
            EXPECT_TRUE(doc.IsModified());
            EXPECT_EQ(doc.PathName(), good.string());
        }
    }
    EXPECT_TRUE(fs::is_fifo(folder / "pipe.nes"));
}

TEST_F(Document, AReadOnlyOpenTakesAnyReadableCartridge) {
    const auto bytes = ImageBytes(9, 20);
    const fs::path path = Cartridge("clean.nes", bytes);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    ASSERT_TRUE(doc.OpenReadOnly(path));
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_TRUE(doc.fileLoaded());
    EXPECT_EQ(doc.PathName(), path.string());
    EXPECT_TRUE(std::equal(doc.image().bytes.begin(), doc.image().bytes.end(), bytes.begin()));
    EXPECT_EQ(doc.trailingBytes(), std::vector<std::uint8_t>(bytes.end() - 20, bytes.end()));
    ExpectLevelsHoldTheirBytes(doc, bytes);

    // The window's open, which saves in place, refuses the same file.
    CKorvaneDoc window(&reporter);
    EXPECT_FALSE(window.OnOpenDocument(path));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].text, kReadOnlyMessage);
    EXPECT_FALSE(window.fileLoaded());
}

TEST_F(Document, SaveThroughALinkKeepsTheLinkAndRefusesSpecialFiles) {
    const auto bytes = ImageBytes(13);
    fs::create_directory(folder / "roms");
    Cartridge("roms/real.nes", bytes);
    fs::create_symlink("roms/real.nes", folder / "link.nes");
    ASSERT_TRUE(doc.OnOpenDocument(folder / "link.nes"));
    doc.level(4).rooms[1].cells[2] = 0x5A;
    ASSERT_TRUE(doc.OnSaveDocument(folder / "link.nes"));
    EXPECT_TRUE(fs::is_symlink(folder / "link.nes"));
    const auto saved = ReadFile(folder / "roms" / "real.nes");
    EXPECT_EQ(saved[LevelCatalogue[4].bankOffset + 0x0F00 + 64 + 2], 0x5A);
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"link.nes", "roms"}));

    ASSERT_EQ(::mkfifo((folder / "pipe.nes").c_str(), 0644), 0);
    const auto before = std::make_unique<RomImage>(doc.image());
    doc.level(4).rooms[1].cells[2] = 0x5B;
    EXPECT_FALSE(doc.OnSaveDocument(folder / "pipe.nes"));
    ExpectOneStop({"Korvane can't save to \"" + (folder / "pipe.nes").string() +
                   "\": it is not a regular file."});
    EXPECT_TRUE(fs::is_fifo(folder / "pipe.nes"));
    EXPECT_TRUE(doc.image().bytes == before->bytes); // refused before anything was encoded
}

TEST_F(Document, ReadOnlyFilesAreRefusedWithTheFixedMessage) {
    const fs::path path = OpenEdited();
    const auto model = std::make_unique<GameData>(doc.gameData());
    const auto image = std::make_unique<RomImage>(doc.image());
    const auto onDisk = ReadFile(path);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    EXPECT_FALSE(doc.OnOpenDocument(path));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].text, kReadOnlyMessage);
    EXPECT_EQ(reporter.messages[0].icon, MessageIcon::Stop);
    ExpectUnchanged(*model, *image); // the unsaved edits are still there

    reporter.Clear();
    EXPECT_FALSE(doc.OnSaveDocument(path));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].text, kReadOnlyMessage);
    EXPECT_EQ(ReadFile(path), onDisk);
    EXPECT_TRUE(doc.gameData() == *model);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"game.nes"});
}

TEST_F(Document, SaveWritesTheEditsAndKeepsPermissionsAndTrailingBytes) {
    const fs::path path = Cartridge("long.nes", ImageBytes(3, 100));
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(doc.OnOpenDocument(path));
    EXPECT_EQ(doc.trailingBytes().size(), 100u);
    doc.level(15).tileBanks[0] = 0x70; // a page no later copy overwrites
    doc.level(15).tiles[0] = 0xEE;
    doc.level(15).rooms[4].cells[9] = 0xAB;
    doc.SetModifiedFlag();

    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(testing::PermissionBits(path), 0640u);
    const auto saved = ReadFile(path);
    ASSERT_EQ(saved.size(), kRomSize + 100);
    EXPECT_TRUE(std::equal(doc.image().bytes.begin(), doc.image().bytes.end(), saved.begin()));
    EXPECT_EQ(saved[kRomSize + 99], static_cast<std::uint8_t>(99 * 3 + 1));
    EXPECT_EQ(saved[0x22010 + 0x0F00 + 4 * 64 + 9], 0xAB);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"long.nes"});

    CKorvaneDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(path));
    EXPECT_EQ(reopened.level(15).rooms[4].cells[9], 0xAB);
    EXPECT_EQ(reopened.level(15).tiles[0], 0xEE);
}

TEST_F(Document, UnchangedSaveReproducesTheFile) {
    const auto bytes = ImageBytes(11);
    const fs::path path = Cartridge("same.nes", bytes);
    ASSERT_TRUE(doc.OnOpenDocument(path));
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(ReadFile(path), bytes);
}

TEST_F(Document, SaveToAMissingPathOrAFolderWritesNothing) {
    OpenEdited();
    EXPECT_FALSE(doc.OnSaveDocument(folder / "new.nes"));
    ExpectOneStop({"new.nes", "does not exist"});
    EXPECT_FALSE(fs::exists(folder / "new.nes"));
    reporter.Clear();
    EXPECT_FALSE(doc.OnSaveDocument(folder));
    ExpectOneStop({"folder"});
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"game.nes"});
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(Document, ASaveFailingMidwayLeavesTheOriginalAndNoTemporaryFile) {
    const fs::path path = OpenEdited();
    const auto onDisk = ReadFile(path);
    doc.FailNextSaveAfterBytesForTesting(5000);
    EXPECT_FALSE(doc.OnSaveDocument(path));
    ExpectOneStop({"game.nes", "left as it was"});
    EXPECT_EQ(ReadFile(path), onDisk);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"game.nes"});
    EXPECT_TRUE(doc.IsModified());

    // The seam fails one save only.
    reporter.Clear();
    EXPECT_TRUE(doc.OnSaveDocument(path));
    EXPECT_NE(ReadFile(path), onDisk);
}

TEST_F(Document, NothingIsSavedBeforeACartridgeWasOpened) {
    const auto bytes = ImageBytes(5);
    const fs::path path = Cartridge("other.nes", bytes);
    EXPECT_FALSE(doc.OnSaveDocument(path));
    ExpectOneStop({"open"});
    EXPECT_EQ(ReadFile(path), bytes);
    EXPECT_EQ(doc.Title(), "Untitled");
}

TEST_F(Document, OpeningASecondFileReplacesEveryTable) {
    const fs::path first = Cartridge("a.nes", ImageBytes(21));
    const fs::path second = Cartridge("b.nes", ImageBytes(22));
    ASSERT_TRUE(doc.OnOpenDocument(first));
    ASSERT_TRUE(doc.OnOpenDocument(second));
    ASSERT_TRUE(doc.OnSaveDocument(second));
    const auto saved = ReadFile(second);
    const auto original = ImageBytes(22);
    for (std::uint32_t bank : kRecordBankOffsets) {
        EXPECT_TRUE(std::equal(saved.begin() + bank, saved.begin() + bank + 0x2000,
                               original.begin() + bank));
    }
    EXPECT_EQ(saved, original);
}

TEST_F(Document, SaveAsWritesTheImageAndTrailingBytesToANewFileAndLeavesTheOriginal) {
    const auto bytes = ImageBytes(31, 40);
    const fs::path original = Cartridge("original.nes", bytes);
    ASSERT_TRUE(doc.OnOpenDocument(original));
    const std::size_t cell = LevelCatalogue[6].bankOffset + 0x0F00 + 3 * 64 + 17;
    const std::uint8_t newCell = static_cast<std::uint8_t>(doc.level(6).rooms[3].cells[17] ^ 0x0F);
    doc.level(6).rooms[3].cells[17] = newCell;
    doc.SetModifiedFlag();

    const fs::path copy = folder / "copy.nes";
    ASSERT_TRUE(doc.OnSaveDocumentAs(copy));
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(ReadFile(original), bytes);
    std::vector<std::uint8_t> expected = bytes;
    expected[cell] = newCell;
    EXPECT_EQ(ReadFile(copy), expected); // the edit, and the 40 bytes beyond the image
    EXPECT_EQ(doc.PathName(), copy.string());
    EXPECT_EQ(doc.Title(), "copy.nes");
    EXPECT_FALSE(doc.IsModified());
    // The clean cartridge is still the file as it was opened.
    EXPECT_EQ(doc.cleanBytes(), bytes);
    EXPECT_EQ(doc.cleanPath(), original.string());

    // The document goes on with the new file: a plain save writes there.
    doc.level(6).rooms[3].cells[18] = 0x42;
    ASSERT_TRUE(doc.OnSaveDocument(doc.PathName()));
    EXPECT_EQ(ReadFile(copy)[cell + 1], 0x42);
    EXPECT_EQ(ReadFile(original), bytes);
    EXPECT_EQ(doc.cleanBytes(), bytes);
}

TEST_F(Document, SaveAsOverAnotherFileReplacesItWholeTrailingBytesIncluded) {
    const auto bytes = ImageBytes(32); // no trailing bytes
    const fs::path path = Cartridge("short-tail.nes", bytes);
    const fs::path other = Cartridge("other.nes", ImageBytes(33, 500));
    ASSERT_TRUE(doc.OnOpenDocument(path));
    ASSERT_TRUE(doc.OnSaveDocumentAs(other));
    // The document's own content, without the 500 bytes the replaced file had.
    EXPECT_EQ(ReadFile(other), bytes);
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"other.nes", "short-tail.nes"}));
}

TEST_F(Document, SaveAsRefusesAReadOnlyTargetAndKeepsEverything) {
    const fs::path path = OpenEdited();
    const auto model = std::make_unique<GameData>(doc.gameData());
    const auto image = std::make_unique<RomImage>(doc.image());
    const auto onDisk = ReadFile(path);
    const auto lockedBytes = ImageBytes(40);
    const fs::path locked = Cartridge("locked.nes", lockedBytes);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read);

    EXPECT_FALSE(doc.OnSaveDocumentAs(locked));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.messages[0].text, kReadOnlyMessage);
    EXPECT_EQ(reporter.messages[0].icon, MessageIcon::Stop);
    ExpectUnchanged(*model, *image);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.PathName(), path.string());
    EXPECT_EQ(ReadFile(locked), lockedBytes);
    EXPECT_EQ(ReadFile(path), onDisk);

    // A folder is refused the same way, with its reason.
    reporter.Clear();
    EXPECT_FALSE(doc.OnSaveDocumentAs(folder));
    ExpectOneStop({"folder"});
    ExpectUnchanged(*model, *image);
    EXPECT_EQ(doc.PathName(), path.string());
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"game.nes", "locked.nes"}));
}

TEST_F(Document, SaveAsFailingMidwayLeavesNoFileAndTheDocumentOnItsOwn) {
    const fs::path path = OpenEdited();
    doc.FailNextSaveAfterBytesForTesting(1000);
    EXPECT_FALSE(doc.OnSaveDocumentAs(folder / "new.nes"));
    ExpectOneStop({"new.nes", "Nothing was written"});
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"game.nes"});
    EXPECT_EQ(doc.PathName(), path.string());
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(Document, SaveAsOntoTheOpenFileIsAPlainSave) {
    const auto bytes = ImageBytes(34, 12);
    fs::create_directory(folder / "roms");
    const fs::path path = Cartridge("roms/game.nes", bytes);
    fs::create_symlink("roms/game.nes", folder / "link.nes");
    ASSERT_TRUE(doc.OnOpenDocument(path));
    doc.level(1).tiles[3] ^= 0x5A;
    // Saved through another name of the same file: the document stays on its own path.
    ASSERT_TRUE(doc.OnSaveDocumentAs(folder / "link.nes"));
    EXPECT_EQ(doc.PathName(), path.string());
    EXPECT_TRUE(fs::is_symlink(folder / "link.nes"));
    const auto saved = ReadFile(path);
    ASSERT_EQ(saved.size(), bytes.size());
    EXPECT_TRUE(std::equal(doc.image().bytes.begin(), doc.image().bytes.end(), saved.begin()));
    EXPECT_TRUE(std::equal(bytes.end() - 12, bytes.end(), saved.end() - 12));
}

TEST_F(Document, NothingIsSavedAsBeforeACartridgeWasOpened) {
    EXPECT_FALSE(doc.OnSaveDocumentAs(folder / "new.nes"));
    ExpectOneStop({"open"});
    EXPECT_TRUE(FolderEntries().empty());
}

TEST_F(Document, EncodedContentIsWhatASaveWrites) {
    const fs::path path = Cartridge("tail.nes", ImageBytes(35, 7));
    ASSERT_TRUE(doc.OnOpenDocument(path));
    doc.level(11).rooms[0].cells[0] ^= 0x33;
    const auto content = doc.EncodedContent();
    const auto imageBefore = std::make_unique<RomImage>(doc.image());
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(ReadFile(path), content);
    EXPECT_NE(doc.image().bytes, imageBefore->bytes); // the save encoded, EncodedContent did not
}

TEST_F(Document, AnUntitledFileComesFromContentAndSwapsWithTheDocumentsOwn) {
    const auto bytes = ImageBytes(36, 3);
    const fs::path path = Cartridge("mine.nes", bytes);
    ASSERT_TRUE(doc.OnOpenDocument(path));

    EXPECT_FALSE(doc.UntitledFile(std::vector<std::uint8_t>(kRomSize - 1, 0), {}, "x.nes"));
    ExpectOneStop({"The new cartridge is too short: it has 393231 bytes"});

    std::vector<std::uint8_t> content = ImageBytes(37, 5);
    const std::vector<std::uint8_t> clean = ImageBytes(38);
    std::optional<DocumentFile> file = doc.UntitledFile(content, clean, "/clean.nes");
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->path.empty());
    EXPECT_TRUE(file->fileLoaded);
    EXPECT_EQ(file->trailing, std::vector<std::uint8_t>(content.end() - 5, content.end()));

    const auto model = std::make_unique<GameData>(doc.gameData());
    doc.SwapFile(*file);
    EXPECT_TRUE(std::equal(doc.image().bytes.begin(), doc.image().bytes.end(), content.begin()));
    EXPECT_EQ(doc.trailingBytes().size(), 5u);
    EXPECT_EQ(doc.cleanBytes(), clean);
    EXPECT_EQ(doc.cleanPath(), "/clean.nes");
    EXPECT_EQ(doc.Title(), "Untitled");
    EXPECT_TRUE(doc.gameData() == *model); // the model is not the file's business
    EXPECT_EQ(file->path, path.string());
    EXPECT_EQ(*file->cleanBytes, bytes);

    doc.SwapFile(*file);
    EXPECT_EQ(doc.PathName(), path.string());
    // A file whose clean cartridge is the document's own shares it rather than copying it.
    const std::optional<DocumentFile> same = doc.UntitledFile(content, bytes, path.string());
    ASSERT_TRUE(same);
    EXPECT_EQ(same->cleanBytes.get(), &doc.cleanBytes());
    EXPECT_EQ(doc.cleanBytes(), bytes);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + kRomSize, doc.image().bytes.begin()));
    EXPECT_EQ(doc.trailingBytes(), std::vector<std::uint8_t>(bytes.end() - 3, bytes.end()));
}

} // namespace
} // namespace korvane
