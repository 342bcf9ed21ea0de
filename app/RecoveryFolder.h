#pragma once

// The folder of recovery copies (the per-user state folder's "recovery"): for every running
// Korvane with unsaved work, <id>.nes (the whole cartridge file as Save would write it),
// <id>.json beside it (the original file, the time of the copy, the history step it holds) and
// <id>.lock, the QLockFile the running program holds. A copy whose lock no running program
// holds is left over from a crash and may be offered back. QtCore only, shared with
// korvane-cli.

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace korvane {

// Whether the original file is still as it was when the copy was made.
enum class OriginalState {
    Unchanged, // same size and modification time: the copy goes on it
    Changed,   // changed on disk since the copy was made
    Gone,      // no longer there (or not a file)
    Untitled,  // the work had no file (an applied patch, never saved)
};

struct RecoveryCopy {
    QString id;
    QString copyPath; // the .nes file
    QString infoPath; // the .json file
    QString lockPath;
    QString originalPath; // empty: untitled
    qint64 originalSize = -1;
    qint64 originalModifiedMs = -1; // milliseconds since the epoch
    QDateTime copiedAt;
    int step = 0;       // the history index the copy holds
    QString stepText;   // the text of the step that led to it
    QString editor;     // the editor whose working copy it holds, empty when none was open
    bool owned = false; // a running Korvane holds it
};

class RecoveryFolder {
public:
    // folder empty: the per-user one.
    explicit RecoveryFolder(QString folder = QString());

    // The window's AppLocalDataLocation + "/recovery", whichever program asks.
    static QString DefaultPath();
    const QString& path() const { return path_; }

    // Every copy with a readable description, oldest first.
    std::vector<RecoveryCopy> List() const;
    // The copies no running Korvane holds.
    std::vector<RecoveryCopy> Unowned() const;
    // The copy's cartridge content, or nothing with the reason in error.
    static std::optional<std::vector<std::uint8_t>> ReadContent(const RecoveryCopy& copy,
                                                                QString& error);
    static OriginalState StateOf(const RecoveryCopy& copy);
    // Removes the copy's files (not a lock a running program holds).
    static void Remove(const RecoveryCopy& copy);

    // The original's name for messages: its file name, or "Untitled".
    static QString OriginalName(const RecoveryCopy& copy);

private:
    QString path_;
};

} // namespace korvane
