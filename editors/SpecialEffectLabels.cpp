#include "SpecialEffectLabels.h"

#include "HexText.h"

#include <array>

namespace korvane {

namespace {

struct KnownEffect {
    int code;
    const char* description; // what follows "0x%02X: "
};

// The codes the preview animates; every other code is "unknown".
constexpr std::array<KnownEffect, 13> kKnownEffects{{
    {0x00, "no effects"},
    {0x80, "pal 3, colour #2 cycle between: 0x31 & 0x21"},
    {0x82, "pal 0, colour #1 = 0x10, 0x00; #2 = 0x00, 0x10; #3 = 0x27, 0x07, 0x27 & 0x36"},
    {0x83, "pal 1, colour #1 = 0x20, 0x36, 0x20 & 0x20; #2 = 0x36, 0x27, 0x36 & 0x20; #3 = 0x27, "
           "0x07, 0x27 & 0x36"},
    {0x84, "pal 0, colour #2 cycle between: 0x11, 0x15 & 0x17"},
    {0x85, "pal 1, colour #2 cycle between: 0x15, 0x17 & 0x11; #3 = 0x17, 0x11 & 0x15"},
    {0x86, "pal 2, shift right colours #1, #2 & #3"},
    {0x87, "pal 1, colour #3 cycle between: 0x26 & 0x0F"},
    {0x88, "pal 2, colour #3 cycle between: 0x0F & 0x26"},
    {0x89, "pal 3, shift left colours #2 & #3"},
    {0x8A, "pal 1, shift left colours #1, #2 & #3"},
    {0x8B, "pal 3, colour #2 cycle between: 0x30, 0x31, 0x36 & 0x39"},
    {0x8D, "pal 1, shift right colours #1, #2, #3 & having a fourth hidden one set with 0x04"},
}};

constexpr const char* kUnknownEffect = "unknown";

} // namespace

QString SpecialEffectLabel(int code) {
    const int byte = code & 0xFF;
    const char* description = kUnknownEffect;
    for (const KnownEffect& effect : kKnownEffects) {
        if (effect.code == byte) {
            description = effect.description;
        }
    }
    return QStringLiteral("0x%1: %2").arg(HexByteText(byte), QString::fromLatin1(description));
}

} // namespace korvane
