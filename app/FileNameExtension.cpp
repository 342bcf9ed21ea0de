#include "FileNameExtension.h"

namespace korvane {

QString WithDefaultExtension(const QString& path, const QString& extension) {
    const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
    if (nameStart >= path.size() || extension.isEmpty()) {
        return path;
    }
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot > nameStart) {
        // A name ending in its dot: the extension goes after it.
        return dot == path.size() - 1 ? path + extension : path;
    }
    return path + QLatin1Char('.') + extension;
}

} // namespace korvane
