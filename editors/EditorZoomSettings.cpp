#include "EditorZoomSettings.h"

#include "UserSettings.h"

#include <algorithm>

namespace korvane {

namespace {

QString& SettingsFile() {
    static QString file;
    return file;
}

QString Key(const QString& name) {
    return QStringLiteral("Zoom/") + name;
}

} // namespace

void EditorZoomSettings::UseSettingsFile(const QString& settingsFile) {
    SettingsFile() = settingsFile;
}

int EditorZoomSettings::Load(const QString& name, int maxZoom) {
    bool number = false;
    const int zoom = OpenUserSettings(SettingsFile())->value(Key(name)).toInt(&number);
    return number ? std::clamp(zoom, 1, std::max(1, maxZoom)) : 1;
}

void EditorZoomSettings::Store(const QString& name, int zoom) {
    OpenUserSettings(SettingsFile())->setValue(Key(name), zoom);
}

} // namespace korvane
