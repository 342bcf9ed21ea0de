#include "EmulatorSettings.h"

#include "editors/UserSettings.h"

#include <QSettings>

namespace korvane {

EmulatorSettings::EmulatorSettings(const QString& settingsFile)
    : settings_(OpenUserSettings(settingsFile)) {}

EmulatorSettings::~EmulatorSettings() = default;

QString EmulatorSettings::command() const {
    settings_->sync();
    return settings_->value(QString::fromLatin1(kEmulatorCommandKey)).toString();
}

void EmulatorSettings::SetCommand(const QString& command) {
    settings_->setValue(QString::fromLatin1(kEmulatorCommandKey), command);
    settings_->sync();
}

} // namespace korvane
