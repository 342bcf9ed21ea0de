#pragma once

// Where the program keeps what it remembers between runs: the per-user settings under the
// organisation and application names below, or, for tests, an INI file of their own. The
// recent files, the emulator command, the recovery interval and the editors' zooms all live there.

#include <QSettings>
#include <QString>

#include <memory>

namespace korvane {

inline constexpr const char* kSettingsOrganisation = "Local AppWizard-Generated Applications";
inline constexpr const char* kSettingsApplication = "Korvane";

// settingsFile empty: the per-user settings; otherwise an INI file at that path.
inline std::unique_ptr<QSettings> OpenUserSettings(const QString& settingsFile) {
    if (settingsFile.isEmpty()) {
        return std::make_unique<QSettings>(QString::fromLatin1(kSettingsOrganisation),
                                           QString::fromLatin1(kSettingsApplication));
    }
    return std::make_unique<QSettings>(settingsFile, QSettings::IniFormat);
}

} // namespace korvane
