#include "LastFolderSettings.h"

#include "editors/UserSettings.h"

#include <QFileInfo>
#include <QSettings>

namespace korvane {

LastFolderSettings::LastFolderSettings(const QString& settingsFile)
    : settings_(OpenUserSettings(settingsFile)) {}

LastFolderSettings::~LastFolderSettings() = default;

QString LastFolderSettings::folder() const {
    settings_->sync();
    return settings_->value(QString::fromLatin1(kLastFolderKey)).toString();
}

void LastFolderSettings::RememberFolderOf(const QString& chosenPath) {
    if (chosenPath.isEmpty()) {
        return;
    }
    settings_->setValue(QString::fromLatin1(kLastFolderKey), QFileInfo(chosenPath).absolutePath());
    settings_->sync();
}

} // namespace korvane
