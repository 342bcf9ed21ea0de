// The tile editor's "Export Tiles..." and "Import Tiles...": the questions answered without a
// window, the PNG written, an import as one undo step undone and redone exactly, refusals and
// failures told in a message and changing nothing.
#include "EditorTestSupport.h"
#include "editors/CTileEditorDlg.h"
#include "editors/TileSheetChoice.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QInputDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

namespace korvane {
namespace {

using Tile = std::array<std::uint8_t, 16>;

constexpr int kPaletteRowHeight = 16;
// Tile 130: pixel (0, 0) = 1, (1, 0) = 2, (0, 2) = 3, every other pixel 0.
constexpr Tile kTile130{0x80, 0, 0x80, 0, 0, 0, 0, 0, 0x40, 0, 0x80, 0, 0, 0, 0, 0};

class TileSheetEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        level_ = test::DemoLevel(1);
        for (std::size_t i = 0; i < level_->tiles.size(); ++i) {
            level_->tiles[i] = static_cast<std::uint8_t>(i * 37 + i / 16);
        }
        std::copy(kTile130.begin(), kTile130.end(), level_->tiles.begin() + 130 * 16);
        // Palette row 7 (set 2, palette 4): 050505, 0FD7FF, FF2200, FFFFFF; row 0: 000000,
        // 0077FF, 2BF035, FFF79C.
        const std::array<std::uint8_t, 4> row7{0x0F, 0x21, 0x16, 0x30};
        const std::array<std::uint8_t, 4> row0{0x0D, 0x11, 0x2A, 0x38};
        std::copy(row7.begin(), row7.end(), level_->paletteSets[1].bytes.begin() + 12);
        std::copy(row0.begin(), row0.end(), level_->paletteSets[0].bytes.begin());
        original_ = std::make_unique<LevelRecord>(*level_);
        dialog_ = std::make_unique<CTileEditorDlg>(display_.context, *level_);
        dialog_->show();
        dialog_->SetTileSheetChooser([this](TileSheetAction action) {
            asked_.push_back(action);
            return answer_;
        });
    }
    void Answer(TileSheetPart part, const QString& name) {
        answer_ = TileSheetChoice{part, folder_.filePath(name)};
    }
    void PickRow(int row) {
        test::ClickRow(test::Find<CColourListControl>(*dialog_, ids::kPaletteList), row,
                       kPaletteRowHeight);
    }
    void ClickSheetButton(const char* name) { test::ClickNamedButton(*dialog_, name); }
    const LevelRecord& working() { return dialog_->workingCopy(); }
    std::string LastMessage() {
        return display_.reporter.messages.empty() ? std::string()
                                                  : display_.reporter.messages.back().text;
    }

    QTemporaryDir folder_;
    test::EditorDisplay display_;
    std::unique_ptr<LevelRecord> level_;
    std::unique_ptr<LevelRecord> original_;
    std::unique_ptr<CTileEditorDlg> dialog_;
    std::optional<TileSheetChoice> answer_;
    std::vector<TileSheetAction> asked_;
};

TEST_F(TileSheetEditorTest, TheButtonsAreThereByName) {
    EXPECT_EQ(test::FindNamed<QPushButton>(*dialog_, "exportTiles").text(),
              QStringLiteral("Export Tiles..."));
    EXPECT_EQ(test::FindNamed<QPushButton>(*dialog_, "importTiles").text(),
              QStringLiteral("Import Tiles..."));
    EXPECT_EQ(TileSheetPartItems(),
              (QStringList{"All 256 tiles (0-255)", "First half (tiles 0-127)",
                           "Second half (tiles 128-255)"}));
}

// The default questions: the tiles list, then the file dialog, answered as they come up.
TEST_F(TileSheetEditorTest, TheDefaultQuestionsAskForTheTilesThenTheFile) {
    const QString path = folder_.filePath(QStringLiteral("asked.png"));
    int answered = 0;
    std::function<void()> answer = [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* list = qobject_cast<QInputDialog*>(modal)) {
            EXPECT_EQ(list->comboBoxItems(), TileSheetPartItems());
            list->setTextValue(TileSheetPartItems()[2]);
            list->accept();
            ++answered;
        } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptSave);
            // The dialog leaves its name field alone while the field has the keyboard focus,
            // and whether it has it yet depends on how fast the dialog came up.
            if (QWidget* focused = files->focusWidget()) {
                focused->clearFocus();
            }
            files->selectFile(path);
            static_cast<QDialog*>(files)->accept(); // QFileDialog::accept, through the base
            ++answered;
            return;
        }
        QTimer::singleShot(10, answer);
    };
    QTimer::singleShot(10, answer);
    const std::optional<TileSheetChoice> choice =
        AskTileSheetChoice(dialog_.get(), TileSheetAction::Export);
    EXPECT_EQ(answered, 2);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->part, TileSheetPart::SecondHalf);
    EXPECT_EQ(choice->path, path);

    // Cancelling the first question asks nothing more.
    QTimer::singleShot(10, [] {
        if (auto* list = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
            list->reject();
        }
    });
    EXPECT_FALSE(AskTileSheetChoice(dialog_.get(), TileSheetAction::Import).has_value());
}

// Only a PNG is read as a sheet, so the file dialog of an import offers no other pictures.
TEST_F(TileSheetEditorTest, TheImportFileDialogOffersPngFiles) {
    QStringList filters;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptSave;
    std::function<void()> answer = [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* list = qobject_cast<QInputDialog*>(modal)) {
            list->accept();
        } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            filters = files->nameFilters();
            mode = files->acceptMode();
            files->reject();
            return;
        }
        QTimer::singleShot(10, answer);
    };
    QTimer::singleShot(10, answer);
    EXPECT_FALSE(AskTileSheetChoice(dialog_.get(), TileSheetAction::Import).has_value());
    EXPECT_EQ(mode, QFileDialog::AcceptOpen);
    EXPECT_EQ(filters, (QStringList{"PNG Files (*.png)", "All Files (*)"}));
}

TEST_F(TileSheetEditorTest, ExportWritesTheChosenTilesInTheSelectedRowsColours) {
    PickRow(7);
    Answer(TileSheetPart::SecondHalf, QStringLiteral("half.png"));
    ClickSheetButton("exportTiles");
    ASSERT_EQ(asked_, std::vector<TileSheetAction>{TileSheetAction::Export});
    const QImage picture(folder_.filePath(QStringLiteral("half.png")));
    ASSERT_EQ(picture.size(), QSize(128, 64));
    ASSERT_EQ(picture.format(), QImage::Format_Indexed8);
    EXPECT_EQ(picture.colorTable(),
              (QList<QRgb>{0xFF050505U, 0xFF0FD7FFU, 0xFFFF2200U, 0xFFFFFFFFU}));
    // Tile 130 is tile 2 of the second half: column 2, row 0.
    EXPECT_EQ(picture.pixelIndex(16, 0), 1);
    EXPECT_EQ(picture.pixelIndex(17, 0), 2);
    EXPECT_EQ(picture.pixelIndex(16, 2), 3);
    EXPECT_EQ(picture.pixelIndex(18, 0), 0);
    EXPECT_EQ(dialog_->undoStack().count(), 0);
    EXPECT_TRUE(display_.reporter.messages.empty());
    EXPECT_EQ(dialog_->statusText(), QStringLiteral("Wrote tiles 128-255 to half.png"));

    // A cancelled question writes nothing; a folder in the file's place is told and kept.
    Answer(TileSheetPart::AllTiles, QStringLiteral("sub"));
    ASSERT_TRUE(QDir(folder_.path()).mkdir(QStringLiteral("sub")));
    ClickSheetButton("exportTiles");
    EXPECT_FALSE(LastMessage().empty());
    EXPECT_TRUE(QFileInfo(folder_.filePath(QStringLiteral("sub"))).isDir());
    answer_.reset();
    ClickSheetButton("exportTiles");
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files), QStringList{"half.png"});
}

TEST_F(TileSheetEditorTest, AnImportIsOneStepUndoneAndRedoneExactly) {
    // A sheet of the first half drawn elsewhere: all colour 0 but tile 1 all colour 3 and
    // pixel (7, 7) of tile 127 colour 2.
    QImage drawn(128, 64, QImage::Format_Indexed8);
    drawn.setColorTable({0xFF000000U, 0xFF111111U, 0xFF222222U, 0xFF333333U});
    drawn.fill(0);
    for (int y = 0; y < 8; ++y) {
        for (int x = 8; x < 16; ++x) {
            drawn.setPixel(x, y, 3);
        }
    }
    drawn.setPixel(127, 63, 2);
    ASSERT_TRUE(drawn.save(folder_.filePath(QStringLiteral("drawn.png")), "PNG"));

    test::ClickItem(test::Canvas(*dialog_, ids::kTilesCanvas), 1, 0, 16); // tile 1
    Answer(TileSheetPart::FirstHalf, QStringLiteral("drawn.png"));
    ClickSheetButton("importTiles");
    ASSERT_TRUE(display_.reporter.messages.empty()) << LastMessage();
    ASSERT_EQ(dialog_->undoStack().count(), 1);
    EXPECT_EQ(dialog_->undoStack().undoText(),
              QStringLiteral("Import tiles 0-127 from a tile sheet"));

    std::array<std::uint8_t, kTileBytes> expected = original_->tiles;
    std::fill(expected.begin(), expected.begin() + 2048, std::uint8_t{0});
    std::fill(expected.begin() + 16, expected.begin() + 32, std::uint8_t{0xFF});
    expected[127 * 16 + 15] = 0x01;
    EXPECT_EQ(working().tiles, expected);
    const std::unique_ptr<LevelRecord> after = std::make_unique<LevelRecord>(working());
    // The pixel editor and the overview follow.
    EXPECT_EQ(test::Find<CPixelEditorControl>(*dialog_, ids::kPixelEditor).ReadTile(),
              Tile({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                    0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(test::Canvas(*dialog_, ids::kTilesCanvas).renderer().cell(15, 7).pattern,
              test::TilePattern(working(), 127));

    test::ClickNamedButton(*dialog_, "undo");
    EXPECT_EQ(working(), *original_);
    EXPECT_EQ(test::Find<CPixelEditorControl>(*dialog_, ids::kPixelEditor).ReadTile(),
              test::TilePattern(*original_, 1));
    test::ClickNamedButton(*dialog_, "redo");
    EXPECT_EQ(working(), *after);

    // The same sheet again changes nothing and makes no step.
    ClickSheetButton("importTiles");
    EXPECT_EQ(dialog_->undoStack().count(), 1);
    EXPECT_EQ(dialog_->undoStack().index(), 1);
    EXPECT_TRUE(dialog_->statusText().contains("nothing changed"));
    test::ClickButton(*dialog_, ids::kOk);
    EXPECT_EQ(level_->tiles, expected);
}

TEST_F(TileSheetEditorTest, AnRgbSheetIsMatchedInTheSelectedRowAndARefusalChangesNothing) {
    PickRow(7);
    QImage drawn(128, 128, QImage::Format_RGB32);
    drawn.fill(0xFFFF2200U); // colour 2 of row 7 everywhere
    ASSERT_TRUE(drawn.save(folder_.filePath(QStringLiteral("red.png")), "PNG"));
    drawn.setPixel(5, 100, 0xFFFF2201U);
    ASSERT_TRUE(drawn.save(folder_.filePath(QStringLiteral("stray.png")), "PNG"));

    Answer(TileSheetPart::AllTiles, QStringLiteral("stray.png"));
    ClickSheetButton("importTiles");
    ASSERT_EQ(display_.reporter.messages.size(), 1U);
    EXPECT_NE(LastMessage().find("pixel (5, 100)"), std::string::npos) << LastMessage();
    EXPECT_NE(LastMessage().find("Nothing was changed"), std::string::npos) << LastMessage();
    EXPECT_EQ(dialog_->undoStack().count(), 0);
    EXPECT_EQ(working(), *original_);

    // In row 0 the red of row 7 is no colour of the palette.
    PickRow(0);
    Answer(TileSheetPart::AllTiles, QStringLiteral("red.png"));
    ClickSheetButton("importTiles");
    EXPECT_NE(LastMessage().find("pixel (0, 0)"), std::string::npos) << LastMessage();
    EXPECT_EQ(working(), *original_);

    PickRow(7);
    ClickSheetButton("importTiles");
    ASSERT_EQ(dialog_->undoStack().count(), 1);
    for (std::size_t tile = 0; tile < 256; ++tile) {
        const Tile twos{0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
        ASSERT_EQ(test::TilePattern(working(), static_cast<int>(tile)), twos) << tile;
    }
    // Cancel drops it.
    EXPECT_EQ(test::CancelAndDiscard(*dialog_), 1);
    EXPECT_EQ(*level_, *original_);
}

TEST_F(TileSheetEditorTest, APictureThatIsNoPngIsRefusedWhateverItsName) {
    PickRow(7);
    QImage drawn(128, 128, QImage::Format_RGB32);
    drawn.fill(0xFFFF2200U); // colour 2 of row 7 everywhere: a good sheet but for its kind
    const QString path = folder_.filePath(QStringLiteral("bitmap.png"));
    ASSERT_TRUE(drawn.save(path, "BMP"));
    Answer(TileSheetPart::AllTiles, QStringLiteral("bitmap.png"));
    ClickSheetButton("importTiles");
    ASSERT_EQ(display_.reporter.messages.size(), 1U);
    EXPECT_EQ(LastMessage(), "Korvane can't read \"" + path.toStdString() +
                                 "\": it is not a PNG file. Nothing was changed.");
    EXPECT_EQ(dialog_->undoStack().count(), 0);
    EXPECT_EQ(working(), *original_);
}

} // namespace
} // namespace korvane
