#pragma once

// The recent-file list: up to five paths, most recent first, kept in the per-user settings
// under "Recent File List" as File1 to File5.

#include "editors/UserSettings.h"

#include <QString>
#include <QStringList>

#include <memory>

class QSettings;

namespace korvane {

class RecentFileList {
public:
    // settingsFile empty: the per-user settings of the organisation and application above;
    // otherwise an INI file at that path (tests).
    explicit RecentFileList(const QString& settingsFile = QString(), int capacity = 5);
    ~RecentFileList();

    // Moves (or puts) path to the front; the oldest entry drops off past the capacity.
    void Add(const QString& path);
    void Remove(const QString& path);
    const QStringList& entries() const { return entries_; }
    int capacity() const { return capacity_; }

private:
    void Load();
    void Store();

    std::unique_ptr<QSettings> settings_;
    QStringList entries_;
    int capacity_;
};

} // namespace korvane
