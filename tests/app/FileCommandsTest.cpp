// File > Save As, Create Patch, Apply Patch and Export Picture from the main window, the
// dialogs answered through the prompt.
#include "AppTestSupport.h"

#include "app/CExportPictureDlg.h"
#include "app/CKorvaneView.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/DocumentHistory.h"
#include "app/EditorRegistry.h"
#include "app/RecentFileList.h"
#include "editors/CCanvasControl.h"
#include "gamedata/BpsPatch.h"
#include "gamedata/CKorvaneDoc.h"
#include "gamedata/PatchFormat.h"
#include "graphics/NesColours.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include <unistd.h>

namespace korvane::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The picture of the Tiles or the Blocks layer, worked out here pixel by pixel from the level's
// bytes: tile t (or block b, 2 x 2 tiles) at column t mod 16 and row t / 16; a tile pixel's two
// bits pick the colour of the palette (the block's own for blocks) in the palette set; every
// pixel is zoom x zoom picture pixels.
QImage ExpectedLayer(const LevelRecord& level, bool blocks, int set, int palette, int zoom) {
    const int cells = blocks ? 32 : 16;
    QImage picture(cells * 8 * zoom, cells * 8 * zoom, QImage::Format_RGB32);
    const PaletteSet& colours = level.paletteSets[static_cast<std::size_t>(set)];
    for (int cellY = 0; cellY < cells; ++cellY) {
        for (int cellX = 0; cellX < cells; ++cellX) {
            int tile = cellY * 16 + cellX;
            int cellPalette = palette;
            if (blocks) {
                const Block& block =
                    level.blocks[static_cast<std::size_t>((cellY / 2) * 16 + cellX / 2)];
                tile = block.tiles[static_cast<std::size_t>((cellY % 2) * 2 + cellX % 2)];
                cellPalette = block.attributes & 3;
            }
            for (int y = 0; y < 8; ++y) {
                const auto row = static_cast<std::size_t>(tile * 16 + y);
                for (int x = 0; x < 8; ++x) {
                    const int value = ((level.tiles[row] >> (7 - x)) & 1) |
                                      (((level.tiles[row + 8] >> (7 - x)) & 1) << 1);
                    const NesRgb& rgb = NesColourTable[colours.colour(cellPalette, value) & 0x3F];
                    const QRgb colour = qRgb(rgb.red, rgb.green, rgb.blue);
                    for (int dy = 0; dy < zoom; ++dy) {
                        for (int dx = 0; dx < zoom; ++dx) {
                            picture.setPixel((cellX * 8 + x) * zoom + dx,
                                             (cellY * 8 + y) * zoom + dy, colour);
                        }
                    }
                }
            }
        }
    }
    return picture;
}

// The file offset of a room cell of a level: the rooms start at 0x0F00 of the level's bank, 64
// cells each.
std::size_t RoomCellOffset(int level, int room, int cell) {
    return LevelCatalogue[static_cast<std::size_t>(level)].bankOffset + 0x0F00 +
           static_cast<std::size_t>(room) * 64 + static_cast<std::size_t>(cell);
}

class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = fixture_.WriteCartridge(QStringLiteral("demo.nes"));
        original_ = ReadFileBytes(path_);
        ASSERT_TRUE(fixture_.Start({QStringLiteral("-nosplash"), path_}));
        // A room editor that sets cell 2 of room 1 of the level it edits to cellValue_.
        fixture_.app().editors().Register(cmd::kRoomEditor, [this](EditorSession& session) {
            session.level.rooms[1].cells[2] = cellValue_;
            return true;
        });
    }
    CMainFrame& frame() { return *fixture_.app().mainFrame(); }
    CKorvaneDoc& document() { return fixture_.app().document(); }
    RecordingPrompt& prompt() { return fixture_.prompt; }
    // Edits cell 2 of room 1 of the current level to a value it did not have; returns it.
    std::uint8_t EditCell() {
        const int level = frame().view().level();
        cellValue_ = static_cast<std::uint8_t>(document().level(level).rooms[1].cells[2] ^ 0x15);
        EXPECT_TRUE(frame().view().OpenEditor(cmd::kRoomEditor));
        return cellValue_;
    }
    QString PathIn(const char* name) const { return fixture_.PathIn(QString::fromLatin1(name)); }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& message : fixture_.reporter.messages) {
            texts.push_back(message.text);
        }
        return texts;
    }

    AppFixture fixture_;
    QString path_;
    Bytes original_;
    std::uint8_t cellValue_ = 0;
};

TEST_F(FileCommandsTest, SaveAsWritesTheEditElsewhereAndTheDocumentContinuesOnTheNewFile) {
    EXPECT_FALSE(frame().action(cmd::kFileSaveAs)->shortcuts().isEmpty());
    const std::uint8_t value = EditCell();
    const QString copy = PathIn("copy.nes");
    prompt().saveNameAnswers = {copy};
    frame().action(cmd::kFileSaveAs)->trigger();

    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(ReadFileBytes(path_), original_);
    Bytes expected = original_;
    expected[RoomCellOffset(0, 1, 2)] = value;
    EXPECT_EQ(ReadFileBytes(copy), expected);
    EXPECT_EQ(QString::fromStdString(document().PathName()), copy);
    EXPECT_FALSE(document().IsModified());
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("copy.nes[*] - Korvane"));
    EXPECT_FALSE(frame().isWindowModified());
    EXPECT_EQ(fixture_.app().recentFiles().entries(), (QStringList{copy, path_}));

    // Save goes on with the new file; the old one stays as it was.
    const std::uint8_t second = EditCell();
    ASSERT_TRUE(frame().FileSave());
    expected[RoomCellOffset(0, 1, 2)] = second;
    EXPECT_EQ(ReadFileBytes(copy), expected);
    EXPECT_EQ(ReadFileBytes(path_), original_);
}

TEST_F(FileCommandsTest, SaveAsTakesTheBytesBeyondTheImageAlong) {
    Bytes longer = original_;
    for (int i = 0; i < 300; ++i) {
        longer.push_back(static_cast<std::uint8_t>(i * 7));
    }
    const QString longPath = PathIn("long.nes");
    WriteFileBytes(longPath, longer);
    ASSERT_TRUE(frame().OpenDocumentFile(longPath));
    const QString copy = PathIn("long-copy.nes");
    prompt().saveNameAnswers = {copy};
    ASSERT_TRUE(frame().FileSaveAs());
    EXPECT_EQ(ReadFileBytes(copy), longer);
}

TEST_F(FileCommandsTest, SaveAsRefusesAReadOnlyTargetAndTheDocumentStaysAsItWas) {
    EditCell();
    const auto model = std::make_unique<GameData>(document().gameData());
    const QString locked = fixture_.WriteCartridge(QStringLiteral("locked.nes"), 9);
    const Bytes lockedBytes = ReadFileBytes(locked);
    ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup));
    const QStringList recent = fixture_.app().recentFiles().entries();

    prompt().saveNameAnswers = {locked};
    EXPECT_FALSE(frame().FileSaveAs());
    EXPECT_EQ(Messages(), std::vector<std::string>{kReadOnlyMessage});
    EXPECT_EQ(ReadFileBytes(locked), lockedBytes);
    EXPECT_EQ(QString::fromStdString(document().PathName()), path_);
    EXPECT_TRUE(document().IsModified());
    EXPECT_TRUE(fixture_.app().history().IsModified());
    EXPECT_TRUE(frame().isWindowModified());
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("demo.nes[*] - Korvane"));
    EXPECT_TRUE(document().gameData() == *model);
    EXPECT_EQ(fixture_.app().recentFiles().entries(), recent);
}

// The refusal of a file that a command reads to make what it writes.
std::string Refusal(const QString& output, const QString& input) {
    return "Korvane can't write \"" + output.toStdString() + "\": it is the same file as \"" +
           input.toStdString() + "\", which it is made from. Nothing was written.";
}

TEST_F(FileCommandsTest, SaveAsOfAPatchedCartridgeKeepsItsCleanFile) {
    const QString source = fixture_.WriteCartridge(QStringLiteral("source.nes"), 3);
    const Bytes sourceBytes = ReadFileBytes(source);
    WriteFileBytes(PathIn("empty.ips"), Bytes{'P', 'A', 'T', 'C', 'H', 'E', 'O', 'F'});
    prompt().fileAnswers = {PathIn("empty.ips"), source};
    ASSERT_TRUE(frame().ApplyPatch());
    ASSERT_TRUE(QFile::link(source, PathIn("link.nes")));

    // Over the clean cartridge, by its name or through a link: refused, the document untitled.
    for (const QString& target : {source, PathIn("link.nes")}) {
        fixture_.reporter.Clear();
        prompt().saveNameAnswers = {target};
        EXPECT_FALSE(frame().FileSaveAs());
        EXPECT_EQ(Messages(), std::vector<std::string>{Refusal(target, source)});
        EXPECT_TRUE(document().PathName().empty());
        EXPECT_TRUE(document().IsModified());
    }
    EXPECT_EQ(ReadFileBytes(source), sourceBytes);
    EXPECT_EQ(QFile::symLinkTarget(PathIn("link.nes")), source);

    // Another name is saved.
    fixture_.reporter.Clear();
    prompt().saveNameAnswers = {PathIn("patched.nes")};
    EXPECT_TRUE(frame().FileSaveAs());
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(ReadFileBytes(PathIn("patched.nes")), sourceBytes);
}

TEST_F(FileCommandsTest, PatchesAndPicturesAreNotWrittenOverTheCartridgesTheyComeFrom) {
    EditCell();
    // Another name of the open file, and one of another clean cartridge.
    ASSERT_EQ(::link(path_.toLocal8Bit().constData(), PathIn("demo.ips").toLocal8Bit().constData()),
              0);
    const QString other = fixture_.WriteCartridge(QStringLiteral("other.nes"), 4);
    const Bytes otherBytes = ReadFileBytes(other);
    ASSERT_TRUE(QFile::link(other, PathIn("other.bps")));
    ASSERT_TRUE(QFile::link(path_, PathIn("picture.png")));

    prompt().cleanAnswers = {CleanCartridge::AsOpened};
    prompt().fileAnswers = {PathIn("demo.ips")};
    EXPECT_FALSE(frame().CreatePatch());
    prompt().cleanAnswers = {CleanCartridge::OtherFile};
    prompt().fileAnswers = {other, PathIn("other.bps")};
    EXPECT_FALSE(frame().CreatePatch());
    prompt().pictureAnswers = {PictureExportChoice{}, PictureExportChoice{}};
    prompt().fileAnswers = {path_, PathIn("picture.png")};
    EXPECT_FALSE(frame().ExportPicture());
    EXPECT_FALSE(frame().ExportPicture());
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              Refusal(PathIn("demo.ips"), path_),
                              Refusal(PathIn("other.bps"), other),
                              Refusal(path_, path_),
                              Refusal(PathIn("picture.png"), path_),
                          }));
    EXPECT_EQ(ReadFileBytes(path_), original_);
    EXPECT_EQ(ReadFileBytes(other), otherBytes);
    EXPECT_TRUE(document().IsModified());
}

TEST_F(FileCommandsTest, CreatePatchAgainstTheFileAsOpenedHoldsExactlyTheEdit) {
    const std::uint8_t value = EditCell();
    // Saved in place: the clean cartridge is still the file as it was opened.
    ASSERT_TRUE(frame().FileSave());
    const QString patchPath = PathIn("edit.IPS"); // the extension in any case
    prompt().cleanAnswers = {CleanCartridge::AsOpened};
    prompt().fileAnswers = {patchPath};
    frame().action(cmd::kFileCreatePatch)->trigger();

    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(prompt().cleanQuestions, std::vector<QString>{path_});
    EXPECT_EQ(prompt().fileQuestions, std::vector<FileQuestion>{FileQuestion::PatchToWrite});
    // "PATCH", one record of one byte at the cell's 3-byte big-endian offset, "EOF".
    const std::size_t offset = RoomCellOffset(0, 1, 2);
    const Bytes expected{'P',
                         'A',
                         'T',
                         'C',
                         'H',
                         static_cast<std::uint8_t>(offset >> 16),
                         static_cast<std::uint8_t>(offset >> 8),
                         static_cast<std::uint8_t>(offset),
                         0,
                         1,
                         value,
                         'E',
                         'O',
                         'F'};
    EXPECT_EQ(ReadFileBytes(patchPath), expected);
}

TEST_F(FileCommandsTest, PatchesFromTheWindowRoundTripInBothFormats) {
    // Edits in two levels, then the model saved under another name.
    EditCell();
    frame().view().levelField().setValue(13);
    EditCell();
    const QString saved = PathIn("saved.nes");
    prompt().saveNameAnswers = {saved};
    ASSERT_TRUE(frame().FileSaveAs());
    const Bytes savedBytes = ReadFileBytes(saved);
    ASSERT_NE(savedBytes, original_);

    for (const char* name : {"round.ips", "round.bps"}) {
        prompt().cleanAnswers = {CleanCartridge::AsOpened};
        prompt().fileAnswers = {PathIn(name)};
        ASSERT_TRUE(frame().CreatePatch()) << name;
        const PatchResult applied = korvane::ApplyPatch(original_, ReadFileBytes(PathIn(name)));
        ASSERT_TRUE(applied.ok()) << applied.message();
        EXPECT_EQ(applied.bytes(), savedBytes) << name;

        // Applied from the window to the clean file: the saved image, as an untitled document.
        prompt().fileAnswers = {PathIn(name), path_};
        ASSERT_TRUE(frame().ApplyPatch()) << name;
        EXPECT_EQ(document().Title(), "Untitled");
        EXPECT_TRUE(document().IsModified());
        EXPECT_EQ(document().EncodedContent(), savedBytes);
        const QString again = PathIn("again.nes");
        prompt().saveNameAnswers = {again};
        ASSERT_TRUE(frame().FileSave()); // no file yet: Save asks for a name
        EXPECT_EQ(ReadFileBytes(again), savedBytes);
        EXPECT_EQ(QString::fromStdString(document().PathName()), again);
        EXPECT_FALSE(frame().isWindowModified());
        QFile::remove(again);
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(FileCommandsTest, CreatePatchAgainstAnotherCleanCartridge) {
    const QString other = fixture_.WriteCartridge(QStringLiteral("other.nes"), 4);
    EditCell();
    prompt().cleanAnswers = {CleanCartridge::OtherFile};
    prompt().fileAnswers = {other, PathIn("from-other.bps")};
    ASSERT_TRUE(frame().CreatePatch());
    EXPECT_EQ(prompt().fileQuestions, (std::vector<FileQuestion>{FileQuestion::CleanCartridge,
                                                                 FileQuestion::PatchToWrite}));
    const Bytes patch = ReadFileBytes(PathIn("from-other.bps"));
    const PatchResult applied = korvane::ApplyPatch(ReadFileBytes(other), patch);
    ASSERT_TRUE(applied.ok()) << applied.message();
    EXPECT_EQ(applied.bytes(), document().EncodedContent());
    // Made against the other file, the patch does not fit the one opened.
    EXPECT_FALSE(korvane::ApplyPatch(original_, patch).ok());
}

TEST_F(FileCommandsTest, CreatePatchRefusesANameWithoutAPatchExtension) {
    EditCell();
    prompt().cleanAnswers = {CleanCartridge::AsOpened};
    prompt().fileAnswers = {PathIn("edit.patch")};
    EXPECT_FALSE(frame().CreatePatch());
    EXPECT_EQ(Messages(),
              std::vector<std::string>{
                  "Korvane can't create the patch \"" + PathIn("edit.patch").toStdString() +
                  "\": its name must end in .ips or .bps, which chooses the format."});
    EXPECT_FALSE(QFile::exists(PathIn("edit.patch")));

    // Cancelled at any question: nothing is written and nothing said.
    fixture_.reporter.Clear();
    EXPECT_FALSE(frame().CreatePatch()); // no answer to the clean-cartridge question
    prompt().cleanAnswers = {CleanCartridge::OtherFile};
    EXPECT_FALSE(frame().CreatePatch()); // no clean file chosen
    EXPECT_TRUE(Messages().empty());
}

TEST_F(FileCommandsTest, ApplyPatchOpensTheResultAsANewUnsavedDocument) {
    // A hand-made IPS patch: cell 2 of room 1 of level 0 becomes 0x3C (0x3D where it is 0x3C).
    const std::size_t offset = RoomCellOffset(0, 1, 2);
    const std::uint8_t value = original_[offset] == 0x3C ? 0x3D : 0x3C;
    const QString patchPath = PathIn("hand.ips");
    WriteFileBytes(patchPath,
                   Bytes{'P', 'A', 'T', 'C', 'H', static_cast<std::uint8_t>(offset >> 16),
                         static_cast<std::uint8_t>(offset >> 8), static_cast<std::uint8_t>(offset),
                         0, 1, value, 'E', 'O', 'F'});
    const QString source = fixture_.WriteCartridge(QStringLiteral("source.nes"));
    const Bytes sourceBytes = ReadFileBytes(source);
    prompt().fileAnswers = {patchPath, source};
    frame().action(cmd::kFileApplyPatch)->trigger();

    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(prompt().fileQuestions, (std::vector<FileQuestion>{FileQuestion::PatchToApply,
                                                                 FileQuestion::CartridgeToPatch}));
    EXPECT_TRUE(prompt().saveQuestions.empty()); // nothing was unsaved
    EXPECT_TRUE(document().PathName().empty());
    EXPECT_EQ(frame().windowTitle(), QStringLiteral("Untitled[*] - Korvane"));
    EXPECT_TRUE(frame().isWindowModified());
    EXPECT_EQ(document().level(0).rooms[1].cells[2], value);
    EXPECT_EQ(frame().view().preview().renderer().levelData(), document().level(0));
    // The clean cartridge of the new document is the one the patch was applied to.
    EXPECT_EQ(document().cleanBytes(), sourceBytes);
    EXPECT_EQ(QString::fromStdString(document().cleanPath()), source);
    EXPECT_EQ(ReadFileBytes(path_), original_);
    EXPECT_EQ(ReadFileBytes(source), sourceBytes);
}

TEST_F(FileCommandsTest, ARefusedPatchSaysWhyAndChangesNothing) {
    const std::uint8_t value = EditCell();
    const auto model = std::make_unique<GameData>(document().gameData());
    // A BPS patch made for another cartridge, and a truncated one.
    const Bytes other = ReadFileBytes(fixture_.WriteCartridge(QStringLiteral("other.nes"), 6));
    Bytes changed = other;
    changed[100] ^= 0xFF;
    const PatchResult forOther = CreateBpsPatch(other, changed);
    ASSERT_TRUE(forOther.ok());
    WriteFileBytes(PathIn("other.bps"), forOther.bytes());
    WriteFileBytes(PathIn("cut.ips"), Bytes{'P', 'A', 'T', 'C', 'H', 0, 0});

    for (const char* name : {"other.bps", "cut.ips"}) {
        fixture_.reporter.Clear();
        prompt().fileAnswers = {PathIn(name), path_};
        EXPECT_FALSE(frame().ApplyPatch()) << name;
        const std::vector<std::string> messages = Messages();
        ASSERT_EQ(messages.size(), 1u) << name;
        const std::string start =
            "Korvane can't apply the patch \"" + PathIn(name).toStdString() + "\". ";
        EXPECT_EQ(messages[0].substr(0, start.size()), start);
        EXPECT_EQ(messages[0].substr(messages[0].size() - 21), " Nothing was changed.");
        EXPECT_EQ(QString::fromStdString(document().PathName()), path_);
        EXPECT_TRUE(document().gameData() == *model);
        EXPECT_EQ(document().level(0).rooms[1].cells[2], value);
        EXPECT_TRUE(document().IsModified());
        EXPECT_EQ(fixture_.app().history().count(), 1);
        EXPECT_TRUE(prompt().saveQuestions.empty());
    }

    // A patch file that is not there.
    fixture_.reporter.Clear();
    prompt().fileAnswers = {PathIn("missing.ips")};
    EXPECT_FALSE(frame().ApplyPatch());
    EXPECT_EQ(Messages(), std::vector<std::string>{"Korvane can't read the patch \"" +
                                                   PathIn("missing.ips").toStdString() +
                                                   "\": the file does not exist."});
}

TEST_F(FileCommandsTest, ApplyPatchAsksAboutUnsavedChangesAndCancelKeepsTheDocument) {
    EditCell();
    const Bytes patch = korvane::CreatePatch(PatchFormat::Ips, original_, original_).bytes();
    WriteFileBytes(PathIn("empty.ips"), patch);
    prompt().fileAnswers = {PathIn("empty.ips"), path_};
    prompt().saveAnswers = {SaveChoice::Cancel};
    EXPECT_FALSE(frame().ApplyPatch());
    EXPECT_EQ(prompt().saveQuestions,
              std::vector<QString>{QStringLiteral("Save changes to %1?").arg(path_)});
    EXPECT_EQ(QString::fromStdString(document().PathName()), path_);
    EXPECT_EQ(fixture_.app().history().count(), 1);
}

TEST_F(FileCommandsTest, ExportedPicturesHoldTheLevelsPixelsAtTheChosenZoom) {
    frame().view().levelField().setValue(5);
    if (document().level(5).hallwayCount > 1) {
        frame().view().hallwayField().setValue(1);
    }
    const int hallway = frame().view().hallway();
    const LevelRecord& level = document().level(5);

    PictureExportChoice hallwayChoice;
    hallwayChoice.checkpoints = false;
    hallwayChoice.zoom = 2;
    PictureOptions hallwayOptions;
    hallwayOptions.checkpoints = false;
    hallwayOptions.enemies = true;
    hallwayOptions.zoomIn = 2;

    PictureExportChoice mapChoice;
    mapChoice.subject = PictureSubject::LevelMap;
    mapChoice.enemies = false;
    PictureOptions mapOptions;
    mapOptions.enemies = false;

    PictureExportChoice blocksChoice;
    blocksChoice.subject = PictureSubject::Layer;
    blocksChoice.layer = PictureLayer::Blocks;
    blocksChoice.paletteSet = 2;
    blocksChoice.zoom = 3;

    PictureExportChoice tilesChoice;
    tilesChoice.subject = PictureSubject::Layer;
    tilesChoice.layer = PictureLayer::Tiles;
    tilesChoice.paletteSet = 4;
    tilesChoice.palette = 3;
    tilesChoice.zoom = 4;

    PictureExporter exporter;
    const struct {
        PictureExportChoice choice;
        QImage expected;
        const char* name;
    } cases[] = {
        {hallwayChoice, exporter.Hallway(level, hallway, hallwayOptions).image, "hallway.png"},
        {mapChoice, exporter.LevelMap(level, mapOptions).image, "map.png"},
        {blocksChoice, ExpectedLayer(level, true, 2, 0, 3), "blocks.png"},
        {tilesChoice, ExpectedLayer(level, false, 4, 3, 4), "tiles.png"},
    };
    PictureExportChoice previous;
    for (const auto& c : cases) {
        ASSERT_FALSE(c.expected.isNull()) << c.name;
        prompt().pictureAnswers = {c.choice};
        prompt().fileAnswers = {PathIn(c.name)};
        frame().action(cmd::kFileExportPicture)->trigger();
        EXPECT_TRUE(Messages().empty()) << c.name;
        // The dialog starts from the last choice.
        EXPECT_EQ(prompt().pictureQuestions.back(), previous) << c.name;
        previous = c.choice;
        QImage written(PathIn(c.name));
        ASSERT_FALSE(written.isNull()) << c.name;
        EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), c.expected) << c.name;
    }
    EXPECT_EQ(QImage(PathIn("tiles.png")).size(), QSize(16 * 8 * 4, 16 * 8 * 4));
    // The hallway at 2x: 256 x 256 content pixels a room, its rooms side by side.
    const int rooms = level.hallways[static_cast<std::size_t>(hallway)].lastRoom + 1;
    EXPECT_EQ(QImage(PathIn("hallway.png")).size(), QSize(rooms * 256 * 2, 256 * 2));
}

TEST_F(FileCommandsTest, ExportPictureCancelledWritesNothing) {
    EXPECT_FALSE(frame().ExportPicture());
    prompt().pictureAnswers = {PictureExportChoice{}};
    EXPECT_FALSE(frame().ExportPicture()); // no file name
    EXPECT_EQ(prompt().fileQuestions, std::vector<FileQuestion>{FileQuestion::PictureToWrite});
    EXPECT_TRUE(Messages().empty());
}

TEST(ExportPictureDialogTest, ControlsStartFromTheChoiceAndGiveItBack) {
    PictureExportChoice initial;
    initial.subject = PictureSubject::Layer;
    initial.layer = PictureLayer::Assemblies;
    initial.checkpoints = false;
    initial.paletteSet = 3;
    initial.palette = 2;
    initial.zoom = 4;
    CExportPictureDlg dialog(initial);
    EXPECT_EQ(dialog.choice(), initial);
    auto* layerList = dialog.findChild<QComboBox*>(QStringLiteral("id1306"));
    auto* palette = dialog.findChild<QSpinBox*>(QStringLiteral("id1308"));
    auto* checkpoints = dialog.findChild<QCheckBox*>(QStringLiteral("id1304"));
    ASSERT_TRUE(layerList && palette && checkpoints);
    EXPECT_EQ(layerList->currentText(), QStringLiteral("Assemblies"));
    EXPECT_FALSE(palette->isEnabled()); // the palette is for the tiles only
    EXPECT_FALSE(checkpoints->isEnabled());
    layerList->setCurrentIndex(0);
    EXPECT_TRUE(palette->isEnabled());

    dialog.findChild<QRadioButton*>(QStringLiteral("id1302"))->click();
    EXPECT_TRUE(checkpoints->isEnabled());
    EXPECT_FALSE(layerList->isEnabled());
    checkpoints->click();
    dialog.findChild<QCheckBox*>(QStringLiteral("id1305"))->click();
    dialog.findChild<QComboBox*>(QStringLiteral("id1309"))->setCurrentIndex(1);
    PictureExportChoice expected = initial;
    expected.subject = PictureSubject::LevelMap;
    expected.layer = PictureLayer::Tiles;
    expected.checkpoints = true;
    expected.enemies = false;
    expected.zoom = 2;
    EXPECT_EQ(dialog.choice(), expected);
    EXPECT_EQ(dialog.findChild<QComboBox*>(QStringLiteral("id1309"))->itemText(3),
              QStringLiteral("4x"));
    ASSERT_NE(dialog.findChild<QPushButton*>(QStringLiteral("id2")), nullptr);
    dialog.findChild<QPushButton*>(QStringLiteral("id1"))->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

} // namespace
} // namespace korvane::test
