#pragma once

// The running program's recovery copy: while the document has unsaved changes, the whole
// cartridge file as Save would write it goes into the recovery folder at most once an interval
// after a change, and at once after each editor's OK; a description beside it names the
// original file, the time of the copy and the history step it holds. The user's file is never
// touched. Save, Save As and closing with Discard remove the copy, and so does a clean exit (the
// store's end). A QLockFile held while the program runs keeps other programs off the copy.
// Widget-free (QtCore only).

#include "RecoveryFolder.h"

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvane {

// What the window hands the store to copy.
struct RecoverySnapshot {
    std::vector<std::uint8_t> content; // image and trailing bytes, as Save would write them
    std::string originalPath;          // empty: untitled
    int step = 0;
    QString stepText;
    QString editor; // the open editor whose working copy the content holds, or empty
};

inline constexpr int kDefaultRecoverySeconds = 30;
inline constexpr int kLeastRecoverySeconds = 10;
inline constexpr int kMostRecoverySeconds = 600;

class RecoveryStore : public QObject {
    Q_OBJECT
public:
    // folder empty: the per-user recovery folder.
    explicit RecoveryStore(QString folder = QString(), QObject* parent = nullptr);
    ~RecoveryStore() override;

    // Makes the folder and takes this program's lock; false (and no copies) when it can't.
    bool Start();

    // What to copy: nothing while the document has no unsaved changes.
    void SetSource(std::function<std::optional<RecoverySnapshot>()> source) {
        source_ = std::move(source);
    }
    // 0 turns the timed copies off (an editor's OK still makes one); otherwise 10 to 600.
    void SetIntervalSeconds(int seconds);
    int intervalSeconds() const { return seconds_; }
    // Test seam: the interval in milliseconds, whatever its bounds.
    void SetIntervalMsForTesting(int milliseconds);

    // The document changed (an edit, an undo): a copy within the interval, none when it is off.
    void Changed();
    // A copy now (an editor's OK); removes the copy when the document has nothing unsaved.
    bool WriteNow();
    // Save, Save As, Discard: no copy any more, nothing pending.
    void Remove();
    // While an editor is open its work changes without the window knowing: a copy is then
    // considered once every interval (and written when it differs from the last one).
    void SetWatching(bool watching);
    bool watching() const { return watching_; }

    const QString& id() const { return id_; }
    QString copyPath() const;
    QString infoPath() const;
    bool hasCopy() const { return hasCopy_; }
    bool pending() const { return timer_.isActive(); }
    int writes() const { return writes_; }
    const RecoveryFolder& folder() const { return folder_; }

    // Test seam: every write fails after this many bytes, as on a full disk; negative: off.
    void FailWritesAfterBytesForTesting(long long bytes) { failAfterBytes_ = bytes; }

signals:
    // A copy could not be written; said once until a copy is written again.
    void writeFailed(const QString& message);

private:
    bool Write(const RecoverySnapshot& snapshot);

    RecoveryFolder folder_;
    QString id_;
    std::unique_ptr<QLockFile> lock_;
    std::function<std::optional<RecoverySnapshot>()> source_;
    QTimer timer_;
    int seconds_ = kDefaultRecoverySeconds;
    bool hasCopy_ = false;
    bool watching_ = false;
    std::vector<std::uint8_t> written_; // the content of the copy there is
    QString writtenEditor_;
    bool failureReported_ = false;
    int writes_ = 0;
    long long failAfterBytes_ = -1;
};

} // namespace korvane
