#pragma once

// The questions the main frame asks the user: whether to save unsaved changes, which file to
// open or save to, which clean cartridge a patch is made against and what picture to export.
// The window asks with dialogs; tests answer with a recording prompt.

#include "PictureExportChoice.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace korvane {

enum class SaveChoice { Save, Discard, Cancel };
// Edit > Preferences: the emulator command and the recovery copies' interval (seconds, 0 off).
struct PreferencesChoice {
    QString emulatorCommand;
    int recoverySeconds = 30;
};

// What to do with unsaved work a crashed Korvane left.
enum class RecoverChoice { Recover, Discard, Later };

// The files the patch and picture commands ask for.
enum class FileQuestion {
    CleanCartridge,   // Create Patch: another clean cartridge to make the patch against
    PatchToWrite,     // Create Patch: the patch file to write (.ips or .bps)
    PatchToApply,     // Apply Patch: the patch
    CartridgeToPatch, // Apply Patch: the cartridge the patch is applied to
    PictureToWrite,   // Export Picture: the PNG file
    LevelToWrite,     // Export Level: the level file to write
    LevelToImport,    // Import Level: the level file to read
};

// Where a file dialog starts: the folder it shows (empty: the dialog's own choice), the name it
// proposes (empty: none) and the extension it adds to a name typed without one (without its
// dot; empty for the dialogs that open a file).
struct FileDialogStart {
    QString folder;
    QString proposedName;
    QString extension;

    bool operator==(const FileDialogStart&) const = default;
};

// Create Patch: what the patch turns into the current cartridge.
enum class CleanCartridge {
    AsOpened,  // the open file's bytes as they were when it was opened
    OtherFile, // another cartridge file the user picks
};

class UserPrompt {
public:
    virtual ~UserPrompt() = default;
    // "Save changes to <file>?" with Save, Discard and Cancel.
    virtual SaveChoice AskSaveChanges(const QString& fileName) = 0;
    // The file to open, or nothing when the user cancels.
    virtual std::optional<QString> AskOpenFileName(const FileDialogStart& start) = 0;
    // The file to save the document to (Save As, and Save of an untitled document), or nothing
    // when the user cancels.
    virtual std::optional<QString> AskSaveFileName(const FileDialogStart& start) = 0;
    // The file for one of the patch and picture commands, or nothing when the user cancels.
    virtual std::optional<QString> AskFileName(FileQuestion question,
                                               const FileDialogStart& start) = 0;
    // Which clean cartridge a patch is made against (openedName: the open file's name), or
    // nothing when the user cancels.
    virtual std::optional<CleanCartridge> AskCleanCartridge(const QString& openedName) = 0;
    // The Export Picture dialog, starting from initial; nothing when the user cancels.
    virtual std::optional<PictureExportChoice>
    AskPictureExport(const PictureExportChoice& initial) = 0;
    // The Preferences dialog with the emulator command (initial) and a line under it (note, none
    // when empty): the command when the user presses OK, nothing when the user cancels.
    virtual std::optional<QString> AskEmulatorCommand(const QString& initial,
                                                      const QString& note) = 0;
    // Edit > Preferences, starting from initial: the choice on OK, nothing when the user
    // cancels.
    virtual std::optional<PreferencesChoice> AskPreferences(const PreferencesChoice& initial) = 0;
    // Import Level: whether the level takes the file's tiles too (true) or keeps its own
    // (false), or nothing when the user cancels.
    virtual std::optional<bool> AskTakeLevelTiles(int level) = 0;
    // "Korvane found unsaved work on <file> from <time>. Recover it?" (question) with Recover
    // (the default), Discard and Later.
    virtual RecoverChoice AskRecover(const QString& question) = 0;
};

// The filter of both file dialogs.
inline constexpr const char* kCartridgeFilter = "Nes Files (*.nes);;All Files (*)";

class DialogPrompt : public UserPrompt {
public:
    SaveChoice AskSaveChanges(const QString& fileName) override;
    std::optional<QString> AskOpenFileName(const FileDialogStart& start) override;
    std::optional<QString> AskSaveFileName(const FileDialogStart& start) override;
    std::optional<QString> AskFileName(FileQuestion question,
                                       const FileDialogStart& start) override;
    std::optional<CleanCartridge> AskCleanCartridge(const QString& openedName) override;
    std::optional<PictureExportChoice>
    AskPictureExport(const PictureExportChoice& initial) override;
    std::optional<QString> AskEmulatorCommand(const QString& initial, const QString& note) override;
    std::optional<PreferencesChoice> AskPreferences(const PreferencesChoice& initial) override;
    std::optional<bool> AskTakeLevelTiles(int level) override;
    RecoverChoice AskRecover(const QString& question) override;
};

// Answers from queues filled by a test and records every question asked.
class RecordingPrompt : public UserPrompt {
public:
    std::vector<QString> saveQuestions;
    std::vector<SaveChoice> saveAnswers; // taken from the front; Cancel when empty
    QStringList openAnswers;             // taken from the front; an empty entry or none cancels
    QStringList saveNameAnswers;         // the same for the save name
    int openQuestions = 0;
    std::vector<FileDialogStart> openStarts;     // where every AskOpenFileName started
    std::vector<FileDialogStart> saveNameStarts; // where every AskSaveFileName started
    std::vector<FileQuestion> fileQuestions;     // every AskFileName, in order
    std::vector<FileDialogStart> fileStarts;     // where each of them started
    QStringList fileAnswers;             // taken from the front; an empty entry or none cancels
    std::vector<QString> cleanQuestions; // the opened name of every AskCleanCartridge
    std::vector<CleanCartridge> cleanAnswers;          // taken from the front; none cancels
    std::vector<PictureExportChoice> pictureQuestions; // the initial choice of every dialog
    std::vector<PictureExportChoice> pictureAnswers;   // taken from the front; none cancels
    struct EmulatorQuestion {
        QString initial;
        QString note;
    };
    std::vector<EmulatorQuestion> emulatorQuestions; // every Preferences dialog
    QStringList emulatorAnswers; // taken from the front (an empty entry is an empty command); none
                                 // cancels
    std::vector<int> tileQuestions; // the level of every AskTakeLevelTiles
    std::vector<bool> tileAnswers;  // taken from the front; none cancels
    // AskPreferences records its command in emulatorQuestions and takes it from
    // emulatorAnswers (none cancels); the interval comes from here (the initial one when
    // empty).
    std::vector<int> recoveryQuestions;
    std::vector<int> recoveryAnswers;
    QStringList recoverQuestions;              // every AskRecover
    std::vector<RecoverChoice> recoverAnswers; // taken from the front; Later when empty

    SaveChoice AskSaveChanges(const QString& fileName) override;
    std::optional<QString> AskOpenFileName(const FileDialogStart& start) override;
    std::optional<QString> AskSaveFileName(const FileDialogStart& start) override;
    std::optional<QString> AskFileName(FileQuestion question,
                                       const FileDialogStart& start) override;
    std::optional<CleanCartridge> AskCleanCartridge(const QString& openedName) override;
    std::optional<PictureExportChoice>
    AskPictureExport(const PictureExportChoice& initial) override;
    std::optional<QString> AskEmulatorCommand(const QString& initial, const QString& note) override;
    std::optional<PreferencesChoice> AskPreferences(const PreferencesChoice& initial) override;
    std::optional<bool> AskTakeLevelTiles(int level) override;
    RecoverChoice AskRecover(const QString& question) override;
};

} // namespace korvane
