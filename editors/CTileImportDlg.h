#pragma once

// "Tiles import": loads another cartridge file (of any game and size, only read), lets the user
// page through it in 2 KB slices ("Bank #") while the 256 tiles from the slice on are shown, and
// on OK offers the chosen slice (128 tiles) to its owner, the tile editor, which copies it over
// half of its tiles.

#include "gamedata/LevelRecord.h"
#include "gamedata/TileImportSource.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <span>

class QPushButton;
class QSpinBox;

namespace korvane {

class CCanvasControl;
class DisplayContext;

inline constexpr const char* kTileImportTitle = "Tiles import";
inline constexpr const char* kCantReadImportFile = "Can't read import file!!";

class CTileImportDlg : public QDialog {
    Q_OBJECT
public:
    // Answers "Import other game": the path of the file to load, or an empty string when the
    // user gave none.
    using FileChooser = std::function<QString(QWidget* parent)>;

    // Messages go through the display context's reporter (a message box when it has none).
    explicit CTileImportDlg(DisplayContext& display, QWidget* parent = nullptr);
    ~CTileImportDlg() override;

    // Loads the file as "Import other game" does after the file chooser. A file of 0x810 bytes
    // or less loads nothing and says nothing; a file that cannot be read (not a regular file,
    // unreadable, over 64 MB) shows "Can't read import file!!" with the stop icon. Either way
    // the dialog keeps what it had. On success Bank # starts at the file's first character bank
    // (TileImportSource::firstCharacterSlice: 128 for a cartridge of this game's size, 0 for a
    // file without an iNES header) and its range becomes the slices that lie wholly in the
    // file. Returns whether the file was loaded.
    bool LoadFile(const QString& path);
    // "Import other game" (button 102): asks the file chooser, then LoadFile.
    void ImportOtherGame();
    // Replaces the file chooser (the default shows a CCenteredFileDialog for *.nes files).
    void SetFileChooser(FileChooser chooser);

    // The 4 NES colours the tiles are drawn with (a grey ramp unless the owner gives others).
    void SetDisplayColours(std::span<const std::uint8_t, 4> nesColours);

    bool importLoaded() const { return source_.loaded(); }
    int bankNumber() const { return bank_; }
    // Whether OK would be taken now: a file is loaded and the bank's slice lies inside it.
    bool bankAcceptable() const { return source_.SliceInside(bank_); }
    // The chosen 2 KB (128 tiles): bytes 0x800 x bank to 0x800 x bank + 0x7FF of the file
    // without its header. All zeros while nothing acceptable is chosen.
    ImportSlice ChosenSlice() const;
    const TileImportSource& source() const { return source_; }
    CCanvasControl& canvas() { return *canvas_; }

public slots:
    // OK is refused (the dialog stays open) unless bankAcceptable().
    void accept() override;

private:
    void OnBankChanged(int bank);
    void ShowBank();
    void ReportUnreadable();

    DisplayContext& display_;
    TileImportSource source_;
    std::unique_ptr<LevelRecord> shownLevel_; // carries the display palette for the canvas
    FileChooser chooser_;
    int bank_ = 0;
    CCanvasControl* canvas_;
    QSpinBox* bankField_;
    QPushButton* okButton_;
};

} // namespace korvane
