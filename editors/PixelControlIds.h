#pragma once

// The fixed control ids of the pixel controls and the "Tiles import" dialog. A control is found
// by the object name "id" + its id ("id1103"); OK and Cancel are "id1" and "id2".

#include <QString>

namespace korvane::pixelid {

inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kImportOtherGame = 102;
inline constexpr int kTileCanvas = 1017; // "DDraw Tiles"
inline constexpr int kPixelEditor = 1103;
inline constexpr int kColourSelector = 1105;
inline constexpr int kBankNumber = 1109; // "Bank #", with its arrows
inline constexpr int kBankSpin = 1111;   // the arrows are part of the bank field here

inline QString ObjectName(int controlId) {
    return QStringLiteral("id%1").arg(controlId);
}

} // namespace korvane::pixelid
