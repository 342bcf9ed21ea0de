// The main frame's Tools > Play in Emulator and Edit > Preferences.
#include "CMainFrame.h"

#include "EmulatorCommand.h"
#include "EmulatorLauncher.h"
#include "EmulatorSearch.h"
#include "EmulatorSettings.h"
#include "RecoverySettings.h"
#include "RecoveryStore.h"
#include "UserPrompt.h"
#include "gamedata/CKorvaneDoc.h"

#include <QDir>
#include <QFileInfo>
#include <QStatusBar>
#include <QTimer>

#include <memory>

namespace korvane {

namespace {

constexpr int kStatusMessageMs = 5000;
constexpr int kWatchIntervalMs = 100;

inline constexpr const char* kNoEmulatorFound =
    "No emulator was found: none of fceux, nestopia and mednafen is on the PATH or in "
    "/usr/games. Name the program that plays your cartridges.";
inline constexpr const char* kEmulatorFound =
    "No emulator was chosen yet; Korvane found this one. Press OK to play with it.";

} // namespace

void CMainFrame::SetEmulator(EmulatorLauncher& launcher, EmulatorSettings& settings) {
    launcher_ = &launcher;
    emulatorSettings_ = &settings;
    UpdateCommands();
}

bool CMainFrame::EditPreferences() {
    if (emulatorSettings_ == nullptr) {
        return false;
    }
    PreferencesChoice initial{emulatorSettings_->command(), 0};
    if (recoverySettings_ != nullptr) {
        initial.recoverySeconds = recoverySettings_->intervalSeconds();
    }
    const std::optional<PreferencesChoice> chosen = prompt_.AskPreferences(initial);
    if (!chosen) {
        return false;
    }
    emulatorSettings_->SetCommand(chosen->emulatorCommand.trimmed());
    if (recoverySettings_ != nullptr) {
        recoverySettings_->SetIntervalSeconds(chosen->recoverySeconds);
        recovery_->SetIntervalSeconds(recoverySettings_->intervalSeconds());
    }
    return true;
}

bool CMainFrame::PlayInEmulator() {
    if (!DocumentReady() || launcher_ == nullptr || emulatorSettings_ == nullptr) {
        return false;
    }
    QString command = emulatorSettings_->command();
    if (EmulatorCommand(command).empty()) {
        const QString found = FindKnownEmulator(launcher_->searchFolders());
        const std::optional<QString> chosen = prompt_.AskEmulatorCommand(
            found.isEmpty() ? QString() : EmulatorCommand::Quoted(found),
            QString::fromLatin1(found.isEmpty() ? kNoEmulatorFound : kEmulatorFound));
        if (!chosen) {
            return false;
        }
        command = chosen->trimmed();
        emulatorSettings_->SetCommand(command);
        if (EmulatorCommand(command).empty()) {
            return false;
        }
    }
    const QString baseName =
        QFileInfo(QString::fromStdString(document_.Title())).completeBaseName();
    const std::optional<EmulatorRun> run =
        launcher_->Start(command, document_.EncodedContent(), baseName);
    if (!run) {
        ShowStop(launcher_->message());
        return false;
    }
    statusBar()->showMessage(
        QStringLiteral("Started %1 on %2")
            .arg(QDir::toNativeSeparators(run->program), QDir::toNativeSeparators(run->cartridge)),
        kStatusMessageMs);
    WatchEmulator(*run);
    return true;
}

void CMainFrame::WatchEmulator(const EmulatorRun& run) {
    auto* timer = new QTimer(this);
    auto watched = std::make_shared<EmulatorRun>(run);
    connect(timer, &QTimer::timeout, this, [this, timer, watched] {
        if (EmulatorLauncher::HasEnded(*watched)) {
            timer->stop();
            timer->deleteLater();
            ShowStop(EmulatorLauncher::EndedMessage(*watched));
            return;
        }
        if (watched->started.elapsed() >= kEmulatorWatchMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(kWatchIntervalMs);
}

} // namespace korvane
