#include "UserPrompt.h"

#include "CExportPictureDlg.h"
#include "CPreferencesDlg.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace korvane {

namespace {

constexpr const char* kPatchFilter = "Patches (*.ips *.bps);;All Files (*)";
constexpr const char* kPictureFilter = "PNG Pictures (*.png);;All Files (*)";
constexpr const char* kLevelFilter = "Level Files (*.kvlevel);;All Files (*)";

enum class FileDialogRole { Open, Save };

// A file dialog in start's folder with its proposed name; a save dialog adds start's extension
// to a name typed without one (before it asks about replacing an existing file).
std::optional<QString> AskWithDialog(FileDialogRole role, const char* title, const char* filter,
                                     const FileDialogStart& start) {
    QString startPath = start.folder;
    if (!start.proposedName.isEmpty()) {
        startPath = start.folder.isEmpty() ? start.proposedName
                                           : QDir(start.folder).filePath(start.proposedName);
    }
    QFileDialog dialog(QApplication::activeWindow(), QString::fromLatin1(title), startPath,
                       QString::fromLatin1(filter));
    if (role == FileDialogRole::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(start.extension);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString path = dialog.selectedFiles().constFirst();
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

template <class T> std::optional<T> TakeFront(std::vector<T>& queue) {
    if (queue.empty()) {
        return std::nullopt;
    }
    T front = queue.front();
    queue.erase(queue.begin());
    return front;
}

std::optional<QString> TakeFront(QStringList& queue) {
    if (queue.isEmpty()) {
        return std::nullopt;
    }
    const QString front = queue.takeFirst();
    if (front.isEmpty()) {
        return std::nullopt;
    }
    return front;
}

} // namespace

SaveChoice DialogPrompt::AskSaveChanges(const QString& fileName) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Korvane"),
                    QStringLiteral("Save changes to %1?").arg(fileName),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                    QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveChoice::Save;
    case QMessageBox::Discard:
        return SaveChoice::Discard;
    default:
        return SaveChoice::Cancel;
    }
}

std::optional<QString> DialogPrompt::AskOpenFileName(const FileDialogStart& start) {
    return AskWithDialog(FileDialogRole::Open, "Open", kCartridgeFilter, start);
}

std::optional<QString> DialogPrompt::AskSaveFileName(const FileDialogStart& start) {
    return AskWithDialog(FileDialogRole::Save, "Save As", kCartridgeFilter, start);
}

std::optional<QString> DialogPrompt::AskFileName(FileQuestion question,
                                                 const FileDialogStart& start) {
    const auto open = [&start](const char* title, const char* filter) {
        return AskWithDialog(FileDialogRole::Open, title, filter, start);
    };
    const auto save = [&start](const char* title, const char* filter) {
        return AskWithDialog(FileDialogRole::Save, title, filter, start);
    };
    switch (question) {
    case FileQuestion::CleanCartridge:
        return open("Clean Cartridge", kCartridgeFilter);
    case FileQuestion::PatchToWrite:
        return save("Create Patch", kPatchFilter);
    case FileQuestion::PatchToApply:
        return open("Apply Patch", kPatchFilter);
    case FileQuestion::CartridgeToPatch:
        return open("Cartridge to Patch", kCartridgeFilter);
    case FileQuestion::PictureToWrite:
        return save("Export Picture", kPictureFilter);
    case FileQuestion::LevelToWrite:
        return save("Export Level", kLevelFilter);
    case FileQuestion::LevelToImport:
        return open("Import Level", kLevelFilter);
    }
    return std::nullopt;
}

std::optional<CleanCartridge> DialogPrompt::AskCleanCartridge(const QString& openedName) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Create Patch"),
                    QStringLiteral("Make the patch against %1 as it was opened, or against "
                                   "another clean cartridge file?")
                        .arg(openedName),
                    QMessageBox::Cancel, QApplication::activeWindow());
    QPushButton* opened = box.addButton(QStringLiteral("As Opened"), QMessageBox::AcceptRole);
    QPushButton* other = box.addButton(QStringLiteral("Other File..."), QMessageBox::ActionRole);
    box.setDefaultButton(opened);
    box.exec();
    if (box.clickedButton() == opened) {
        return CleanCartridge::AsOpened;
    }
    if (box.clickedButton() == other) {
        return CleanCartridge::OtherFile;
    }
    return std::nullopt;
}

std::optional<PictureExportChoice>
DialogPrompt::AskPictureExport(const PictureExportChoice& initial) {
    CExportPictureDlg dialog(initial, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.choice();
}

std::optional<QString> DialogPrompt::AskEmulatorCommand(const QString& initial,
                                                        const QString& note) {
    CPreferencesDlg dialog(initial, note, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.command();
}

std::optional<PreferencesChoice> DialogPrompt::AskPreferences(const PreferencesChoice& initial) {
    CPreferencesDlg dialog(initial.emulatorCommand, QString(), QApplication::activeWindow(),
                           initial.recoverySeconds);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return PreferencesChoice{dialog.command(), dialog.recoverySeconds()};
}

std::optional<bool> DialogPrompt::AskTakeLevelTiles(int level) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Import Level"),
                    QStringLiteral("Take the level file's 256 tiles too, or keep the tiles of "
                                   "level %1?")
                        .arg(level),
                    QMessageBox::Cancel, QApplication::activeWindow());
    QPushButton* take = box.addButton(QStringLiteral("Take Tiles"), QMessageBox::AcceptRole);
    QPushButton* keep = box.addButton(QStringLiteral("Keep Tiles"), QMessageBox::ActionRole);
    box.setDefaultButton(keep);
    box.exec();
    if (box.clickedButton() == take) {
        return true;
    }
    if (box.clickedButton() == keep) {
        return false;
    }
    return std::nullopt;
}

RecoverChoice DialogPrompt::AskRecover(const QString& question) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Korvane"), question,
                    QMessageBox::NoButton, QApplication::activeWindow());
    QPushButton* recover = box.addButton(QStringLiteral("Recover"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
    QPushButton* later = box.addButton(QStringLiteral("Later"), QMessageBox::RejectRole);
    box.setDefaultButton(recover);
    box.setEscapeButton(later);
    box.exec();
    if (box.clickedButton() == recover) {
        return RecoverChoice::Recover;
    }
    if (box.clickedButton() == discard) {
        return RecoverChoice::Discard;
    }
    return RecoverChoice::Later;
}

SaveChoice RecordingPrompt::AskSaveChanges(const QString& fileName) {
    saveQuestions.push_back(QStringLiteral("Save changes to %1?").arg(fileName));
    return TakeFront(saveAnswers).value_or(SaveChoice::Cancel);
}

std::optional<QString> RecordingPrompt::AskOpenFileName(const FileDialogStart& start) {
    ++openQuestions;
    openStarts.push_back(start);
    return TakeFront(openAnswers);
}

std::optional<QString> RecordingPrompt::AskSaveFileName(const FileDialogStart& start) {
    saveNameStarts.push_back(start);
    return TakeFront(saveNameAnswers);
}

std::optional<QString> RecordingPrompt::AskFileName(FileQuestion question,
                                                    const FileDialogStart& start) {
    fileQuestions.push_back(question);
    fileStarts.push_back(start);
    return TakeFront(fileAnswers);
}

std::optional<CleanCartridge> RecordingPrompt::AskCleanCartridge(const QString& openedName) {
    cleanQuestions.push_back(openedName);
    return TakeFront(cleanAnswers);
}

std::optional<PictureExportChoice>
RecordingPrompt::AskPictureExport(const PictureExportChoice& initial) {
    pictureQuestions.push_back(initial);
    return TakeFront(pictureAnswers);
}

std::optional<QString> RecordingPrompt::AskEmulatorCommand(const QString& initial,
                                                           const QString& note) {
    emulatorQuestions.push_back({initial, note});
    if (emulatorAnswers.isEmpty()) {
        return std::nullopt;
    }
    return emulatorAnswers.takeFirst();
}

std::optional<PreferencesChoice> RecordingPrompt::AskPreferences(const PreferencesChoice& initial) {
    emulatorQuestions.push_back({initial.emulatorCommand, QString()});
    recoveryQuestions.push_back(initial.recoverySeconds);
    if (emulatorAnswers.isEmpty()) {
        return std::nullopt;
    }
    const QString command = emulatorAnswers.takeFirst();
    return PreferencesChoice{command, TakeFront(recoveryAnswers).value_or(initial.recoverySeconds)};
}

std::optional<bool> RecordingPrompt::AskTakeLevelTiles(int level) {
    tileQuestions.push_back(level);
    if (tileAnswers.empty()) {
        return std::nullopt;
    }
    const bool answer = tileAnswers.front();
    tileAnswers.erase(tileAnswers.begin());
    return answer;
}

RecoverChoice RecordingPrompt::AskRecover(const QString& question) {
    recoverQuestions.append(question);
    return TakeFront(recoverAnswers).value_or(RecoverChoice::Later);
}

} // namespace korvane
