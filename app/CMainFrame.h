#pragma once

// The main frame: File, Edit, Tools and Help menus, the accelerators, the toolbar that the main
// view fills, the status bar with the commands' prompts, and the main view in the middle. It runs
// the file commands (open, save, save as, patches, pictures), Play in Emulator and the
// Preferences, and the window's undo and redo, and never lets unsaved edits go without asking.

#include "PictureExportChoice.h"
#include "UserPrompt.h"

#include <QKeySequence>
#include <QMainWindow>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

class QMenu;

namespace korvane {

class CChangesDlg;
class CKorvaneDoc;
class CKorvaneView;
class DisplayContext;
class DocumentHistory;
class EmulatorLauncher;
class EmulatorSettings;
struct EmulatorRun;
class EditorRegistry;
class LastFolderSettings;
class RecentFileList;
class RecoverySettings;
class RecoveryStore;
struct RecoveryCopy;
class UserPrompt;
class UserReporter;

struct Accelerator {
    QKeySequence keys;
    int commandId;
};
// The accelerator table of the main frame, in its order.
const std::vector<Accelerator>& AcceleratorTable();

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame(CKorvaneDoc& document, DocumentHistory& history, DisplayContext& display,
               EditorRegistry& editors, UserReporter& reporter, UserPrompt& prompt,
               RecentFileList& recentFiles, QWidget* parent = nullptr);

    CKorvaneView& view() { return *view_; }
    QToolBar& toolBar() { return *toolBar_; }
    QMenu& fileMenu() { return *fileMenu_; }
    QMenu& editMenu() { return *editMenu_; }
    QMenu& toolsMenu() { return *toolsMenu_; }
    // The action of a command (menu, toolbar or accelerator), or nullptr.
    QAction* action(int commandId) const;

    // The file commands. Each returns whether it was carried out.
    bool FileNew();
    bool FileOpen();
    // Save of a document without a file (after Apply Patch, or File New) is Save As.
    bool FileSave();
    // Writes the document to a file the user names; the document continues on it.
    bool FileSaveAs();
    // A patch (.ips or .bps, by the name's extension) from the clean cartridge, the file as it
    // was opened or another one the user picks, to the current model's content.
    bool CreatePatch();
    // Applies a patch the user picks to a cartridge the user picks; the result becomes a new,
    // untitled and unsaved document, one step of the history.
    bool ApplyPatch();
    // The current hallway, the level or a layer as a PNG picture.
    bool ExportPicture();
    // Tools > Play in Emulator: the model as it is now (unsaved edits included) goes to a new
    // temporary file, and the emulator command of the Preferences starts on it; the document's
    // file is never written. Without a command set, the emulators Debian packages are looked
    // for and the first one found is offered in the Preferences dialog.
    bool PlayInEmulator();
    // Edit > Preferences: the emulator command.
    bool EditPreferences();
    // Where Play in Emulator writes and what it runs; without them Play stays disabled.
    void SetEmulator(EmulatorLauncher& launcher, EmulatorSettings& settings);
    // Keeps recovery copies of unsaved work in store (app/CMainFrameRecovery.cpp).
    // The interval comes from settings, and Edit > Preferences changes it.
    void SetRecovery(RecoveryStore& store, RecoverySettings& settings);
    // Where the file dialogs start while no cartridge is open, kept from the last file chosen
    // in one of them (app/CMainFrameFileDialogs.cpp). Without it they start in the dialog's own
    // folder until a cartridge is open.
    void SetLastFolder(LastFolderSettings& settings) { lastFolder_ = &settings; }
    // At start: offers back the unsaved work that no running Korvane owns.
    void OfferRecovery();
    // Runs an edit script on the model as one step, as an editor's OK would (a test hook).
    bool RunTestEdit(const QString& scriptPath);
    // The current level as a level file the user names.
    bool ExportLevel();
    // A level file the user picks into the current level, with its tiles or without as the
    // user chooses: one step of the history ("Import Level (level 5)").
    bool ImportLevel();
    // Shows every difference between the file as it was opened and the model now.
    bool ShowChanges();
    // The Changes window, or nullptr before the first ShowChanges.
    CChangesDlg* changesDialog() const { return changes_; }
    bool OpenDocumentFile(const QString& path);
    bool OpenRecentFile(int index);
    // Asks about unsaved changes; false when the user cancels or the save fails.
    bool SaveModified();
    void UpdateTitle();
    void RebuildRecentFileMenu();
    // The commands that need a cartridge, and Undo and Redo with their step texts.
    void UpdateCommands();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* MakeAction(int commandId, const QString& text);
    bool OpenAfterAsking(const QString& path);
    bool DocumentReady() const;
    // The document took another file or went back to its earlier one.
    void FileReplaced();
    // Reads a cartridge the commands only look at (a clean cartridge, the cartridge to patch):
    // its whole content, or nothing after the document's message.
    std::optional<std::vector<std::uint8_t>> ReadCartridge(const QString& path);
    void ShowStop(const std::string& text);
    // The name of a file to write, asked with question; a name that is the open file or its
    // clean cartridge, which the file would be made from, is refused with a message.
    std::optional<QString> AskFileToWrite(FileQuestion question);
    // The file dialogs (app/CMainFrameFileDialogs.cpp). Each starts in the open cartridge's
    // folder (the last folder used while none is open) with the name the question proposes,
    // gives the chosen path with the command's extension added to a name typed without one,
    // and remembers the chosen file's folder.
    std::optional<QString> AskOpenPath();
    std::optional<QString> AskSaveAsPath();
    std::optional<QString> AskPath(FileQuestion question);
    FileDialogStart DialogStart(const QString& proposedName, const QString& extension) const;
    // The cartridge's file name without its folder and last extension: the open file's, else
    // (an untitled document made by Apply Patch) its clean cartridge's; empty without either.
    QString CartridgeBaseName() const;
    std::optional<QString> Remembered(const std::optional<QString>& path);
    // Reports the emulator of the run when it ends within its first two seconds.
    void WatchEmulator(const EmulatorRun& run);
    bool RecoverCopy(const RecoveryCopy& copy, bool onOriginal);

    CKorvaneDoc& document_;
    DocumentHistory& history_;
    UserReporter& reporter_;
    UserPrompt& prompt_;
    RecentFileList& recentFiles_;
    CKorvaneView* view_;
    QToolBar* toolBar_;
    QMenu* fileMenu_;
    QMenu* editMenu_;
    QMenu* toolsMenu_;
    EmulatorLauncher* launcher_ = nullptr;
    EmulatorSettings* emulatorSettings_ = nullptr;
    PictureExportChoice pictureChoice_; // the Export Picture dialog starts from the last one
    QAction* recentEnd_ = nullptr;      // the separator after the recent files
    std::vector<QAction*> recentActions_;
    std::map<int, QAction*> actions_;
    CChangesDlg* changes_ = nullptr;
    RecoveryStore* recovery_ = nullptr;
    RecoverySettings* recoverySettings_ = nullptr;
    LastFolderSettings* lastFolder_ = nullptr;
};

} // namespace korvane
