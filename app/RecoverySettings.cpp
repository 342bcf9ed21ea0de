#include "RecoverySettings.h"

#include "RecoveryStore.h"
#include "editors/UserSettings.h"

#include <QSettings>

#include <algorithm>

namespace korvane {

namespace {

int Bounded(int seconds) {
    return seconds <= 0 ? 0 : std::clamp(seconds, kLeastRecoverySeconds, kMostRecoverySeconds);
}

} // namespace

RecoverySettings::RecoverySettings(const QString& settingsFile)
    : settings_(OpenUserSettings(settingsFile)) {}

RecoverySettings::~RecoverySettings() = default;

int RecoverySettings::intervalSeconds() const {
    settings_->sync();
    bool isNumber = false;
    const int stored =
        settings_->value(QString::fromLatin1(kRecoveryIntervalKey)).toString().toInt(&isNumber);
    return isNumber ? Bounded(stored) : kDefaultRecoverySeconds;
}

void RecoverySettings::SetIntervalSeconds(int seconds) {
    settings_->setValue(QString::fromLatin1(kRecoveryIntervalKey), Bounded(seconds));
    settings_->sync();
}

} // namespace korvane
