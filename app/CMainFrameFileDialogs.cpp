// The main frame's file dialogs: where each starts, the name it proposes and the extension a
// name typed without one takes.
#include "CMainFrame.h"

#include "CKorvaneView.h"
#include "FileNameExtension.h"
#include "LastFolderSettings.h"
#include "UserPrompt.h"
#include "gamedata/CKorvaneDoc.h"

#include <QFileInfo>

namespace korvane {

namespace {

constexpr const char* kCartridgeExtension = "nes";
constexpr const char* kPatchExtension = "bps"; // Create Patch writes .ips too, when typed
constexpr const char* kPictureExtension = "png";
constexpr const char* kLevelExtension = "kvlevel";

} // namespace

QString CMainFrame::CartridgeBaseName() const {
    const std::string& path =
        document_.PathName().empty() ? document_.cleanPath() : document_.PathName();
    return path.empty() ? QString() : QFileInfo(QString::fromStdString(path)).completeBaseName();
}

FileDialogStart CMainFrame::DialogStart(const QString& proposedName,
                                        const QString& extension) const {
    const std::string& cartridge =
        document_.PathName().empty() ? document_.cleanPath() : document_.PathName();
    QString folder;
    if (!cartridge.empty()) {
        folder = QFileInfo(QString::fromStdString(cartridge)).absolutePath();
    } else if (lastFolder_ != nullptr) {
        folder = lastFolder_->folder();
    }
    return FileDialogStart{folder, proposedName, extension};
}

std::optional<QString> CMainFrame::Remembered(const std::optional<QString>& path) {
    if (path && lastFolder_ != nullptr) {
        lastFolder_->RememberFolderOf(*path);
    }
    return path;
}

std::optional<QString> CMainFrame::AskOpenPath() {
    return Remembered(prompt_.AskOpenFileName(DialogStart(QString(), QString())));
}

std::optional<QString> CMainFrame::AskSaveAsPath() {
    const QString extension = QString::fromLatin1(kCartridgeExtension);
    const QString current =
        document_.PathName().empty()
            ? QString()
            : QFileInfo(QString::fromStdString(document_.PathName())).fileName();
    const std::optional<QString> path =
        Remembered(prompt_.AskSaveFileName(DialogStart(current, extension)));
    if (!path) {
        return std::nullopt;
    }
    return WithDefaultExtension(*path, extension);
}

std::optional<QString> CMainFrame::AskPath(FileQuestion question) {
    const QString base = CartridgeBaseName();
    const auto named = [&base](const QString& suffix) {
        return base.isEmpty() ? QString() : base + suffix;
    };
    QString proposed;
    QString extension;
    switch (question) {
    case FileQuestion::PatchToWrite:
        extension = QString::fromLatin1(kPatchExtension);
        proposed = named(QLatin1Char('.') + extension);
        break;
    case FileQuestion::PictureToWrite:
        // The numbers the Level # and Hallway # fields show.
        extension = QString::fromLatin1(kPictureExtension);
        proposed = named(QStringLiteral("-level%1-hallway%2.%3")
                             .arg(view_->level())
                             .arg(view_->hallway())
                             .arg(extension));
        break;
    case FileQuestion::LevelToWrite:
        extension = QString::fromLatin1(kLevelExtension);
        proposed = named(QStringLiteral("-level%1.%2").arg(view_->level()).arg(extension));
        break;
    case FileQuestion::CleanCartridge:
    case FileQuestion::PatchToApply:
    case FileQuestion::CartridgeToPatch:
    case FileQuestion::LevelToImport:
        break;
    }
    const std::optional<QString> path =
        Remembered(prompt_.AskFileName(question, DialogStart(proposed, extension)));
    if (!path) {
        return std::nullopt;
    }
    return WithDefaultExtension(*path, extension);
}

} // namespace korvane
