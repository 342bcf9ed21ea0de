// "Tiles import" and its file chooser: loading, the bank field and its range, what the canvas
// shows, OK refused until a usable slice is chosen, and the message for unreadable files.
#include "editors/CCanvasControl.h"
#include "editors/CCenteredFileDialog.h"
#include "editors/CTileImportDlg.h"
#include "tests/canvas/CanvasTestSupport.h"
#include "tools/DemoCartridge.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>

namespace korvane {
namespace {

namespace fs = std::filesystem;

class TileImport : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "korvane-tileimport-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    QString Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const fs::path path = folder / name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return QString::fromStdString(path.string());
    }
    // A file whose byte i is (i * 7 + seed) mod 256, never all zeros in a 16-byte run.
    static std::vector<std::uint8_t> Pattern(std::size_t size, int seed) {
        std::vector<std::uint8_t> bytes(size);
        for (std::size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<std::uint8_t>(i * 7 + static_cast<std::size_t>(seed));
        }
        return bytes;
    }
    QSpinBox* Bank() { return dialog.findChild<QSpinBox*>("id1109"); }
    QPushButton* Ok() { return dialog.findChild<QPushButton*>("id1"); }
    const std::array<std::uint8_t, kTileBytes>& Shown() {
        return dialog.canvas().renderer().tilePatterns();
    }

    fs::path folder;
    test::RecordingDisplay display;
    CTileImportDlg dialog{display.context};
};

TEST_F(TileImport, HasItsControlsAndStartsWithOkDisabled) {
    EXPECT_EQ(dialog.windowTitle(), "Tiles import");
    const auto* import = dialog.findChild<QPushButton*>("id102");
    ASSERT_NE(import, nullptr);
    EXPECT_EQ(import->text(), "Import other game");
    ASSERT_NE(Bank(), nullptr);
    const auto* canvas = dialog.findChild<CCanvasControl*>("id1017");
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas->controlId(), 1017);
    EXPECT_EQ(canvas->size(), QSize(256, 256));
    ASSERT_NE(Ok(), nullptr);
    ASSERT_NE(dialog.findChild<QPushButton*>("id2"), nullptr);
    bool labelled = false;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        labelled = labelled || (label->text() == "Bank #" && label->buddy() == Bank());
    }
    EXPECT_TRUE(labelled);

    EXPECT_FALSE(Ok()->isEnabled());
    EXPECT_FALSE(Bank()->isEnabled());
    EXPECT_FALSE(dialog.importLoaded());
    // OK before any load is refused: the dialog does not accept.
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.ChosenSlice(), ImportSlice{});
    EXPECT_TRUE(std::all_of(Shown().begin(), Shown().end(), [](auto b) { return b == 0; }));
}

TEST_F(TileImport, AWholeCartridgeGivesBanks0To191AndBank128IsCharacterMemory) {
    const auto image = MakeDemoCartridge(3);
    const std::vector<std::uint8_t> bytes(image->bytes.begin(), image->bytes.end());
    ASSERT_TRUE(dialog.LoadFile(Write("game.nes", bytes)));
    EXPECT_TRUE(display.reporter.messages.empty());
    EXPECT_TRUE(dialog.importLoaded());
    EXPECT_EQ(Bank()->minimum(), 0);
    EXPECT_EQ(Bank()->maximum(), 191);
    // The dialog starts at the first character bank: 16 program banks of 16 KB after the
    // 16-byte header put it at file offset 0x40010, slice 0x40000 / 0x800.
    EXPECT_EQ(Bank()->value(), 128);
    EXPECT_EQ(dialog.bankNumber(), 128);
    EXPECT_TRUE(Bank()->isEnabled());
    EXPECT_TRUE(Ok()->isEnabled());
    EXPECT_TRUE(std::equal(Shown().begin(), Shown().end(), bytes.begin() + 0x40010));
    const ImportSlice slice = dialog.ChosenSlice();
    EXPECT_TRUE(std::equal(slice.begin(), slice.end(), bytes.begin() + 0x40010));

    // Bank 0 is the start of program memory, right after the header.
    Bank()->setValue(0);
    EXPECT_EQ(dialog.bankNumber(), 0);
    EXPECT_TRUE(std::equal(Shown().begin(), Shown().end(), bytes.begin() + 16));

    // Beyond the range cannot be set; the last bank shows its slice, then zeros.
    Bank()->setValue(500);
    EXPECT_EQ(dialog.bankNumber(), 191);
    EXPECT_TRUE(std::equal(Shown().begin(), Shown().begin() + 0x800, bytes.begin() + 0x5F810));
    EXPECT_TRUE(std::all_of(Shown().begin() + 0x800, Shown().end(), [](auto b) { return b == 0; }));

    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(TileImport, OtherHeadersStartAtTheirOwnCharacterBankAndHeaderlessFilesAtZero) {
    // 2 program banks after a 512-byte trainer, one 8 KB character bank: the character data
    // starts at 16 + 512 + 32768 = 33,296, 16.25 slices after the header, so the first slice
    // wholly inside it is 17, at file offset 16 + 17 x 0x800 = 34,832.
    auto trainer = Pattern(16 + 512 + 32768 + 8192, 4);
    const std::array<std::uint8_t, 8> header{'N', 'E', 'S', 0x1A, 2, 1, 0x04, 0};
    std::copy(header.begin(), header.end(), trainer.begin());
    ASSERT_TRUE(dialog.LoadFile(Write("trainer.nes", trainer)));
    EXPECT_EQ(Bank()->value(), 17);
    EXPECT_EQ(dialog.bankNumber(), 17);
    EXPECT_TRUE(std::equal(Shown().begin(), Shown().begin() + 0x800, trainer.begin() + 34832));

    // Without "NES" 1A the dialog starts where it always did, at bank 0 right after the first
    // 16 bytes (393,232 bytes, as large as this game).
    const auto headerless = Pattern(393232, 2);
    ASSERT_TRUE(dialog.LoadFile(Write("plain.bin", headerless)));
    EXPECT_EQ(Bank()->value(), 0);
    EXPECT_EQ(dialog.bankNumber(), 0);
    EXPECT_TRUE(std::equal(Shown().begin(), Shown().end(), headerless.begin() + 16));
    EXPECT_TRUE(display.reporter.messages.empty());
}

TEST_F(TileImport, BytesBeyondTheFileShowAsZeros) {
    // Two whole slices and 0x10 bytes of a third.
    const auto bytes = Pattern(16 + 0x1010, 3);
    ASSERT_TRUE(dialog.LoadFile(Write("odd.nes", bytes)));
    EXPECT_EQ(Bank()->maximum(), 1);
    Bank()->setValue(1);
    EXPECT_TRUE(std::equal(Shown().begin(), Shown().begin() + 0x810, bytes.begin() + 16 + 0x800));
    EXPECT_TRUE(std::all_of(Shown().begin() + 0x810, Shown().end(), [](auto b) { return b == 0; }));
    const ImportSlice slice = dialog.ChosenSlice();
    EXPECT_TRUE(std::equal(slice.begin(), slice.end(), bytes.begin() + 16 + 0x800));
}

TEST_F(TileImport, ShortFilesLoadNothingAndASecondFileStartsAtBankZero) {
    EXPECT_FALSE(dialog.LoadFile(Write("useless.nes", Pattern(0x810, 1))));
    EXPECT_FALSE(dialog.importLoaded());
    EXPECT_FALSE(Ok()->isEnabled());
    EXPECT_TRUE(display.reporter.messages.empty());

    const auto first = Pattern(16 + 0x4000, 5);
    ASSERT_TRUE(dialog.LoadFile(Write("first.nes", first)));
    EXPECT_EQ(Bank()->maximum(), 7);
    Bank()->setValue(6);
    const std::array<std::uint8_t, kTileBytes> shown = Shown();

    // 0x810 bytes again: nothing changes, Bank # included.
    EXPECT_FALSE(dialog.LoadFile(Write("useless.nes", Pattern(0x810, 1))));
    EXPECT_EQ(Bank()->value(), 6);
    EXPECT_EQ(Bank()->maximum(), 7);
    EXPECT_EQ(Shown(), shown);
    EXPECT_TRUE(Ok()->isEnabled());

    const auto second = Pattern(16 + 0x2000, 9);
    ASSERT_TRUE(dialog.LoadFile(Write("second.nes", second)));
    EXPECT_EQ(Bank()->value(), 0);
    EXPECT_EQ(dialog.bankNumber(), 0);
    EXPECT_EQ(Bank()->maximum(), 3);
    EXPECT_TRUE(std::equal(Shown().begin(), Shown().end(), second.begin() + 16));
}

TEST_F(TileImport, UnreadableFilesAreReportedAndChangeNothing) {
    const auto bytes = Pattern(16 + 0x3000, 2);
    ASSERT_TRUE(dialog.LoadFile(Write("good.nes", bytes)));
    Bank()->setValue(2);
    const std::array<std::uint8_t, kTileBytes> shown = Shown();
    const fs::path pipe = folder / "pipe.nes";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    fs::create_directory(folder / "folder.nes");

    for (const fs::path& path :
         {folder / "missing.nes", folder / "folder.nes", pipe, fs::path("/dev/zero")}) {
        display.reporter.Clear();
        EXPECT_FALSE(dialog.LoadFile(QString::fromStdString(path.string()))) << path;
        ASSERT_EQ(display.reporter.messages.size(), 1u) << path;
        EXPECT_EQ(display.reporter.messages[0].text, "Can't read import file!!");
        EXPECT_EQ(display.reporter.messages[0].icon, MessageIcon::Stop);
        EXPECT_EQ(Bank()->value(), 2);
        EXPECT_EQ(Shown(), shown);
        EXPECT_TRUE(dialog.bankAcceptable());
    }
}

TEST_F(TileImport, ImportOtherGameAsksTheFileChooser) {
    const auto bytes = Pattern(16 + 0x1000, 4);
    const QString path = Write("chosen.nes", bytes);
    int asked = 0;
    QString answer;
    dialog.SetFileChooser([&](QWidget* parent) {
        ++asked;
        EXPECT_EQ(parent, &dialog);
        return answer;
    });
    auto* import = dialog.findChild<QPushButton*>("id102");
    import->click();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(dialog.importLoaded());
    answer = path;
    import->click();
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(dialog.importLoaded());
    EXPECT_EQ(Bank()->maximum(), 1);
}

TEST(CenteredFileDialog, IsAnOpenDialogForCartridges) {
    CCenteredFileDialog chooser(CCenteredFileDialog::Kind::Open, "nes", QString(),
                                "Nes Files (*.nes);;All Files (*)");
    EXPECT_EQ(chooser.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(chooser.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(chooser.defaultSuffix(), "nes");
    EXPECT_EQ(chooser.nameFilters(), (QStringList{"Nes Files (*.nes)", "All Files (*)"}));
    EXPECT_TRUE(chooser.testOption(QFileDialog::DontUseNativeDialog));
    CCenteredFileDialog saver(CCenteredFileDialog::Kind::Save, "nes", "out.nes",
                              "Nes Files (*.nes)");
    EXPECT_EQ(saver.acceptMode(), QFileDialog::AcceptSave);
}

TEST(CenteredFileDialog, PlacementCentresTheDialogOnTheScreen) {
    EXPECT_EQ(CCenteredFileDialog::Placement(QRect(0, 0, 1920, 1080), QSize(800, 600)),
              QPoint(559, 239));
    // The centre of (100, 50)-(1099, 849) is (599, 449).
    EXPECT_EQ(CCenteredFileDialog::Placement(QRect(100, 50, 1000, 800), QSize(400, 300)),
              QPoint(399, 299));
    // Larger than the screen: its top-left corner stays on it.
    EXPECT_EQ(CCenteredFileDialog::Placement(QRect(0, 0, 1024, 768), QSize(2000, 900)),
              QPoint(0, 0));
    EXPECT_EQ(CCenteredFileDialog::Placement(QRect(0, 0, 1024, 768), QSize(2000, 100)),
              QPoint(0, 333));
}

TEST(CenteredFileDialog, ModalRunReportsTheChoiceAndIsCentred) {
    std::string pattern = (fs::temp_directory_path() / "korvane-chooser-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const QString file = QString::fromStdString((fs::path(pattern) / "pick.nes").string());

    QWidget owner;
    owner.show();
    CCenteredFileDialog cancelled(CCenteredFileDialog::Kind::Open, "nes", QString(),
                                  "Nes Files (*.nes);;All Files (*)", &owner);
    QPoint placedAt;
    QTimer::singleShot(0, &cancelled, [&] {
        placedAt = cancelled.pos();
        cancelled.reject();
    });
    EXPECT_EQ(cancelled.DoModal(), CCenteredFileDialog::kCancel);
    EXPECT_TRUE(cancelled.GetPathName().isEmpty());
    EXPECT_EQ(placedAt, CCenteredFileDialog::Placement(owner.screen()->availableGeometry(),
                                                       cancelled.size()));

    // The initial name stands for the user's choice; done() is what Open ends with once it has
    // found the file.
    CCenteredFileDialog chosen(CCenteredFileDialog::Kind::Open, "nes", file,
                               "Nes Files (*.nes);;All Files (*)", &owner);
    QTimer::singleShot(0, &chosen, [&] { static_cast<QDialog&>(chosen).done(QDialog::Accepted); });
    EXPECT_EQ(chosen.DoModal(), CCenteredFileDialog::kOk);
    EXPECT_EQ(chosen.GetPathName(), file);

    std::error_code ignored;
    fs::remove_all(pattern, ignored);
}

} // namespace
} // namespace korvane
