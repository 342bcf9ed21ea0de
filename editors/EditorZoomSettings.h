#pragma once

// The zoom each editor and the main preview were last left at, kept with the user's other
// settings under "Zoom/<name>" (or in the INI file a test gives).

#include <QString>

namespace korvane {

class EditorZoomSettings {
public:
    // Where the zooms are kept from now on: empty for the user's settings.
    static void UseSettingsFile(const QString& settingsFile);
    // The zoom kept for name, clamped to 1 .. maxZoom; 1 when none is kept or it is no number.
    static int Load(const QString& name, int maxZoom);
    static void Store(const QString& name, int zoom);
};

} // namespace korvane
