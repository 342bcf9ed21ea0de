#pragma once

// Play in Emulator without saving: the cartridge's content goes to a new file in a temporary
// folder of Korvane's own (one per running program, removed with the launcher), and the user's
// emulator is started on it detached, so that it runs on when Korvane ends. Its error output
// goes to a file beside the cartridge, so that an emulator that ends at once can be reported
// with what it said.

#include "EmulatorCommand.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

class QTemporaryDir;

namespace korvane {

// An emulator ending this soon after its start is reported.
inline constexpr int kEmulatorWatchMs = 2000;

struct EmulatorRun {
    qint64 pid = 0;
    QString program;   // as the command names it
    QString cartridge; // the file the emulator was given
    QString errorFile; // its error output
    QElapsedTimer started;
    // Once the emulator has been seen to end: its exit status or the signal that ended it, when
    // the system tells them.
    bool ended = false;
    std::optional<int> exitStatus;
    std::optional<int> signal;
};

class EmulatorLauncher {
public:
    // extraFolders: searched for programs after the PATH (by default the games folder).
    explicit EmulatorLauncher(QStringList extraFolders = QStringList{
                                  QString::fromLatin1("/usr/games")});
    ~EmulatorLauncher();

    EmulatorLauncher(const EmulatorLauncher&) = delete;
    EmulatorLauncher& operator=(const EmulatorLauncher&) = delete;

    // The folders a program is looked for in: the PATH's, then the extra ones.
    QStringList searchFolders() const;
    void SetExtraFolders(QStringList folders) { extraFolders_ = std::move(folders); }

    // Checks the command's program, writes content to a new file named after baseName and
    // starts the program on it. Nothing when the program cannot be found or run (nothing is
    // written then), the file cannot be written (nothing is started) or the start fails;
    // message() says why.
    std::optional<EmulatorRun> Start(const QString& command, std::span<const std::uint8_t> content,
                                     const QString& baseName);
    const std::string& message() const { return message_; }

    // The temporary folder, empty before the first run.
    QString folder() const;
    // Every run started, in order.
    const std::vector<EmulatorRun>& runs() const { return runs_; }

    // Whether the run's emulator has ended, with what the system tells of its end.
    static bool HasEnded(EmulatorRun& run);
    // What to tell of an emulator that ended soon after its start: its exit status where known
    // and the last lines of its error output.
    static std::string EndedMessage(const EmulatorRun& run);

    // Test seam: the next cartridge file fails after this many bytes, as on a full disk.
    void FailNextWriteAfterBytesForTesting(long long bytes) { failWriteAfter_ = bytes; }

private:
    bool MakeFolder();

    QStringList extraFolders_;
    std::unique_ptr<QTemporaryDir> folder_;
    int nextNumber_ = 1;
    std::vector<EmulatorRun> runs_;
    std::string message_;
    long long failWriteAfter_ = -1;
};

} // namespace korvane
