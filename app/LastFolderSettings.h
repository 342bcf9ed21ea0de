#pragma once

// The folder the main window's file dialogs start in while no cartridge is open: the folder of
// the last file chosen in one of them, kept with the recent files in the per-user settings
// under "Files/last folder".

#include <QString>

#include <memory>

class QSettings;

namespace korvane {

inline constexpr const char* kLastFolderKey = "Files/last folder";

class LastFolderSettings {
public:
    // settingsFile empty: the per-user settings; otherwise an INI file at that path (tests).
    explicit LastFolderSettings(const QString& settingsFile = QString());
    ~LastFolderSettings();

    // The folder kept, empty when none is.
    QString folder() const;
    // Keeps the folder of chosenPath (a file's path, absolute or relative to the current
    // folder); an empty path keeps nothing.
    void RememberFolderOf(const QString& chosenPath);

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace korvane
