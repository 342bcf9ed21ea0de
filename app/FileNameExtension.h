#pragma once

// The extension a file dialog of the main window adds to a name typed without one.

#include <QString>

namespace korvane {

// path with "." and extension (given without its dot) after it when the file name, the part
// after the last '/', has no extension of its own; a name ending in a dot takes the extension
// after that dot. A dot that starts the name (".hidden") is not an extension. Any extension
// the user typed is kept, whatever it is: the commands say themselves which ones they refuse.
// An empty path, or one ending in '/', comes back as it was.
QString WithDefaultExtension(const QString& path, const QString& extension);

} // namespace korvane
