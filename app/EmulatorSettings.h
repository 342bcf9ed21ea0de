#pragma once

// The emulator command, kept with the recent files in the per-user settings under
// "Emulator/command".

#include <QString>

#include <memory>

class QSettings;

namespace korvane {

inline constexpr const char* kEmulatorCommandKey = "Emulator/command";

class EmulatorSettings {
public:
    // settingsFile empty: the per-user settings; otherwise an INI file at that path (tests).
    explicit EmulatorSettings(const QString& settingsFile = QString());
    ~EmulatorSettings();

    QString command() const;
    void SetCommand(const QString& command);

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace korvane
