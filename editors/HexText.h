#pragma once

// Bytes as the editors write them in lists and undo step texts.

#include <QString>

namespace korvane {

// "7F": the low byte of value as two upper-case hexadecimal digits.
inline QString HexByteText(int value) {
    return QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace korvane
