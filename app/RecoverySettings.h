#pragma once

// How often the window keeps a recovery copy of unsaved work, kept with the recent files in
// the per-user settings under "Recovery/interval": seconds, 10 to 600, or 0 for off.

#include <QString>

#include <memory>

class QSettings;

namespace korvane {

inline constexpr const char* kRecoveryIntervalKey = "Recovery/interval";

class RecoverySettings {
public:
    // settingsFile empty: the per-user settings; otherwise an INI file at that path (tests).
    explicit RecoverySettings(const QString& settingsFile = QString());
    ~RecoverySettings();

    // 30 when nothing is stored; a stored value out of range is brought into it.
    int intervalSeconds() const;
    void SetIntervalSeconds(int seconds);

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace korvane
