#include "EmulatorSettings.h"

#include "RecentFileList.h"

#include <QSettings>

namespace korvane {

EmulatorSettings::EmulatorSettings(const QString& settingsFile)
    : settings_(settingsFile.isEmpty()
                    ? std::make_unique<QSettings>(QString::fromLatin1(kSettingsOrganisation),
                                                  QString::fromLatin1(kSettingsApplication))
                    : std::make_unique<QSettings>(settingsFile, QSettings::IniFormat)) {}

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
