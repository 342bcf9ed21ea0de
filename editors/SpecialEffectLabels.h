#pragma once

// The labels of the 256 special-effect codes a palette can carry, as the palette editor's
// effect list shows them: "0x80: pal 3, colour #2 cycle between: 0x31 & 0x21", and
// "0x81: unknown" for a code without an effect of its own.

#include <QString>

namespace korvane {

inline constexpr int kSpecialEffectCodes = 256;

// The label of code (0-255; only the low byte counts).
QString SpecialEffectLabel(int code);

} // namespace korvane
