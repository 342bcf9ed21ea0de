// Where the main window's file dialogs start, the names they propose, the extension a name typed
// without one takes, and the last folder used, kept between runs.
#include "AppTestSupport.h"

#include "app/CKorvaneView.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/EditorRegistry.h"
#include "app/FileNameExtension.h"
#include "gamedata/CKorvaneDoc.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImageReader>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvane::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

FileDialogStart Start(const QString& folder, const char* name = "", const char* extension = "") {
    return FileDialogStart{folder, QString::fromLatin1(name), QString::fromLatin1(extension)};
}

std::string Printed(const FileDialogStart& start) {
    return "{" + start.folder.toStdString() + ", " + start.proposedName.toStdString() + ", " +
           start.extension.toStdString() + "}";
}

std::vector<std::string> PrintedAll(const std::vector<FileDialogStart>& starts) {
    std::vector<std::string> texts;
    for (const FileDialogStart& start : starts) {
        texts.push_back(Printed(start));
    }
    return texts;
}

// The first bytes of a file, as text.
std::string FileStart(const QString& path, qint64 length) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.read(length).toStdString();
}

class FileDialogStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(fixture_.PathIn(QStringLiteral("carts"))));
        carts_ = fixture_.PathIn(QStringLiteral("carts"));
    }
    CMainFrame& frame() { return *fixture_.app().mainFrame(); }
    CKorvaneDoc& document() { return fixture_.app().document(); }
    RecordingPrompt& prompt() { return fixture_.prompt; }
    QString InCarts(const char* name) const { return carts_ + QLatin1Char('/') + name; }
    // Starts with the demo cartridge written as carts/name.
    void StartOn(const char* name) {
        const QString path = fixture_.WriteCartridge(QStringLiteral("carts/") + name);
        original_ = ReadFileBytes(path);
        ASSERT_TRUE(fixture_.Start({QStringLiteral("-nosplash"), path}));
    }
    // Cell 2 of room 1 of the current level changes, so that a patch has something in it.
    void EditCell() {
        const int level = frame().view().level();
        const std::uint8_t value =
            static_cast<std::uint8_t>(document().level(level).rooms[1].cells[2] ^ 0x15);
        fixture_.app().editors().Register(cmd::kRoomEditor, [value](EditorSession& session) {
            session.level.rooms[1].cells[2] = value;
            return true;
        });
        ASSERT_TRUE(frame().view().OpenEditor(cmd::kRoomEditor));
    }

    AppFixture fixture_;
    QString carts_;
    Bytes original_;
};

TEST_F(FileDialogStartTest, EachDialogStartsInTheCartridgesFolderWithItsProposedName) {
    StartOn("game.nes");
    frame().view().levelField().setValue(3);
    ASSERT_GE(frame().view().hallwayField().maximum(), 1);
    frame().view().hallwayField().setValue(1);

    // Every question is cancelled: only where it started is looked at.
    EXPECT_FALSE(frame().FileOpen());
    EXPECT_FALSE(frame().FileSaveAs());
    prompt().cleanAnswers = {CleanCartridge::AsOpened, CleanCartridge::OtherFile};
    EXPECT_FALSE(frame().CreatePatch()); // the patch's name
    EXPECT_FALSE(frame().CreatePatch()); // the other clean cartridge
    EXPECT_FALSE(frame().ApplyPatch());
    prompt().pictureAnswers = {PictureExportChoice{}};
    EXPECT_FALSE(frame().ExportPicture());
    EXPECT_FALSE(frame().ExportLevel());
    EXPECT_FALSE(frame().ImportLevel());

    EXPECT_EQ(PrintedAll(prompt().openStarts), PrintedAll({Start(carts_)}));
    EXPECT_EQ(PrintedAll(prompt().saveNameStarts), PrintedAll({Start(carts_, "game.nes", "nes")}));
    EXPECT_EQ(prompt().fileQuestions,
              (std::vector<FileQuestion>{FileQuestion::PatchToWrite, FileQuestion::CleanCartridge,
                                         FileQuestion::PatchToApply, FileQuestion::PictureToWrite,
                                         FileQuestion::LevelToWrite, FileQuestion::LevelToImport}));
    EXPECT_EQ(PrintedAll(prompt().fileStarts), PrintedAll({
                                                   Start(carts_, "game.bps", "bps"),
                                                   Start(carts_),
                                                   Start(carts_),
                                                   Start(carts_, "game-level3-hallway1.png", "png"),
                                                   Start(carts_, "game-level3.kvlevel", "kvlevel"),
                                                   Start(carts_),
                                               }));
    EXPECT_TRUE(fixture_.reporter.messages.empty());
}

TEST_F(FileDialogStartTest, OnlyTheLastExtensionLeavesTheProposedNames) {
    StartOn("hack.v2.nes");
    prompt().cleanAnswers = {CleanCartridge::AsOpened};
    EXPECT_FALSE(frame().FileSaveAs());
    EXPECT_FALSE(frame().CreatePatch());
    EXPECT_EQ(PrintedAll(prompt().saveNameStarts),
              PrintedAll({Start(carts_, "hack.v2.nes", "nes")}));
    EXPECT_EQ(PrintedAll(prompt().fileStarts), PrintedAll({Start(carts_, "hack.v2.bps", "bps")}));
}

TEST_F(FileDialogStartTest, BeforeAnyCartridgeTheDialogsStartInTheLastFolderUsed) {
    ASSERT_TRUE(fixture_.Start({QStringLiteral("-nosplash")}));
    // Nothing used yet: the dialog's own folder.
    EXPECT_FALSE(frame().FileOpen());
    EXPECT_EQ(PrintedAll(prompt().openStarts), PrintedAll({Start(QString())}));

    // A cancelled dialog keeps nothing; a chosen file keeps its folder, for the next run too.
    const QString path = fixture_.WriteCartridge(QStringLiteral("carts/game.nes"));
    prompt().openAnswers = {path};
    ASSERT_TRUE(frame().FileOpen());
    fixture_.Finish();
    prompt().openStarts.clear();
    prompt().fileStarts.clear();

    ASSERT_TRUE(fixture_.Start({QStringLiteral("-nosplash")}));
    EXPECT_FALSE(frame().FileOpen());
    EXPECT_FALSE(frame().ApplyPatch());
    EXPECT_EQ(PrintedAll(prompt().openStarts), PrintedAll({Start(carts_)}));
    EXPECT_EQ(PrintedAll(prompt().fileStarts), PrintedAll({Start(carts_)}));

    // The folder of the patch chosen in Apply Patch is the last one used now.
    ASSERT_TRUE(QDir().mkpath(fixture_.PathIn(QStringLiteral("patches"))));
    const QString patch = fixture_.PathIn(QStringLiteral("patches/fix.ips"));
    WriteFileBytes(patch, Bytes{'P', 'A', 'T', 'C', 'H', 'E', 'O', 'F'});
    prompt().fileAnswers = {patch};
    EXPECT_FALSE(frame().ApplyPatch()); // the cartridge to patch is not answered
    EXPECT_FALSE(frame().FileOpen());
    EXPECT_EQ(Printed(prompt().openStarts.back()),
              Printed(Start(fixture_.PathIn(QStringLiteral("patches")))));
}

TEST_F(FileDialogStartTest, ANameTypedWithoutAnExtensionTakesTheCommandsOwn) {
    StartOn("game.nes");
    EditCell();

    // Create Patch: .bps unless the name has its own extension (.ips chooses IPS).
    prompt().cleanAnswers = {CleanCartridge::AsOpened, CleanCartridge::AsOpened};
    prompt().fileAnswers = {InCarts("fix"), InCarts("fix2.ips")};
    ASSERT_TRUE(frame().CreatePatch());
    ASSERT_TRUE(frame().CreatePatch());
    EXPECT_FALSE(QFile::exists(InCarts("fix")));
    EXPECT_EQ(FileStart(InCarts("fix.bps"), 4), "BPS1");
    EXPECT_EQ(FileStart(InCarts("fix2.ips"), 5), "PATCH");
    EXPECT_FALSE(QFile::exists(InCarts("fix2.ips.bps")));

    // Export Picture: .png.
    prompt().pictureAnswers = {PictureExportChoice{}};
    prompt().fileAnswers = {InCarts("shot")};
    ASSERT_TRUE(frame().ExportPicture());
    EXPECT_FALSE(QFile::exists(InCarts("shot")));
    QImageReader picture(InCarts("shot.png"));
    EXPECT_EQ(picture.format(), QByteArray("png"));

    // Export Level: .kvlevel.
    prompt().fileAnswers = {InCarts("level")};
    ASSERT_TRUE(frame().ExportLevel());
    EXPECT_TRUE(QFile::exists(InCarts("level.kvlevel")));
    EXPECT_FALSE(QFile::exists(InCarts("level")));

    // Save As: .nes, and the document continues on that name.
    prompt().saveNameAnswers = {InCarts("copy")};
    ASSERT_TRUE(frame().FileSaveAs());
    EXPECT_EQ(QString::fromStdString(document().PathName()), InCarts("copy.nes"));
    EXPECT_FALSE(QFile::exists(InCarts("copy")));
    EXPECT_EQ(ReadFileBytes(InCarts("copy.nes")).size(), original_.size());
    EXPECT_NE(ReadFileBytes(InCarts("copy.nes")), original_); // the edit is in it
    EXPECT_TRUE(fixture_.reporter.messages.empty());
}

TEST_F(FileDialogStartTest, TheAddedExtensionCannotTurnTheNameIntoTheOpenCartridge) {
    // A cartridge whose own name ends in .png: "rom" typed for the picture becomes its name.
    StartOn("rom.png");
    prompt().pictureAnswers = {PictureExportChoice{}};
    prompt().fileAnswers = {InCarts("rom")};
    EXPECT_FALSE(frame().ExportPicture());
    ASSERT_EQ(fixture_.reporter.messages.size(), 1U);
    EXPECT_EQ(fixture_.reporter.messages[0].text,
              "Korvane can't write \"" + InCarts("rom.png").toStdString() +
                  "\": it is the same file as \"" + InCarts("rom.png").toStdString() +
                  "\", which it is made from. Nothing was written.");
    EXPECT_EQ(ReadFileBytes(InCarts("rom.png")), original_);
    EXPECT_FALSE(QFile::exists(InCarts("rom")));
}

TEST(FileNameExtensionTest, TheExtensionIsAddedOnlyToANameWithoutOne) {
    const QString nes = QStringLiteral("nes");
    EXPECT_EQ(WithDefaultExtension(QStringLiteral("/home/u/game"), nes), "/home/u/game.nes");
    EXPECT_EQ(WithDefaultExtension(QStringLiteral("game"), nes), "game.nes");
    EXPECT_EQ(WithDefaultExtension(QStringLiteral("/home/u/game.nes"), nes), "/home/u/game.nes");
    EXPECT_EQ(WithDefaultExtension(QStringLiteral("/home/u/GAME.NES"), nes), "/home/u/GAME.NES");
    // Whatever extension was typed stays; the command judges it.
    EXPECT_EQ(WithDefaultExtension(QStringLiteral("/home/u/fix.ips"), QStringLiteral("bps")),
              "/home/u/fix.ips");
    EXPECT_EQ(WithDefaultExtension(QStringLiteral("/home/u/fix.patch"), QStringLiteral("bps")),
              "/home/u/fix.patch");
    // A dot in a folder's name is not the file's extension.
    EXPECT_EQ(WithDefaultExtension(QStringLiteral("/home/u.v2/game"), nes), "/home/u.v2/game.nes");
    // A name ending in its dot takes the extension after it; a leading dot is no extension.
    EXPECT_EQ(WithDefaultExtension(QStringLiteral("/home/u/game."), nes), "/home/u/game.nes");
    EXPECT_EQ(WithDefaultExtension(QStringLiteral("/home/u/.game"), nes), "/home/u/.game.nes");
    // No name, or no extension to add: unchanged.
    EXPECT_EQ(WithDefaultExtension(QString(), nes), "");
    EXPECT_EQ(WithDefaultExtension(QStringLiteral("/home/u/"), nes), "/home/u/");
    EXPECT_EQ(WithDefaultExtension(QStringLiteral("/home/u/game"), QString()), "/home/u/game");
}

// The window's own dialog: opened in the folder with the proposed name filled in, and a name
// typed without an extension coming back with it.
TEST(DialogPromptTest, TheSaveDialogStartsInTheFolderWithTheNameAndAddsTheExtension) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QString shownFolder;
    QString shownName;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shownFolder = dialog->directory().absolutePath();
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        shownName = name->text();
        name->setText(QStringLiteral("other"));
        // QDialog's accept, which the file dialog's own (adding the extension) overrides.
        static_cast<QDialog*>(dialog)->accept();
    });
    DialogPrompt prompt;
    const std::optional<QString> chosen = prompt.AskFileName(
        FileQuestion::PatchToWrite,
        FileDialogStart{folder.path(), QStringLiteral("game.bps"), QStringLiteral("bps")});
    EXPECT_EQ(shownFolder, folder.path());
    EXPECT_EQ(shownName, "game.bps");
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, folder.filePath(QStringLiteral("other.bps")));
}

} // namespace
} // namespace korvane::test
