#include "DemoTiles.h"

#include <cstdlib>
#include <string_view>

namespace korvane::demo {

namespace {

constexpr std::string_view kGlyphOrder = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ .,!?-:'/()&";

// 5 x 7 glyphs, one byte per row, bit 4 leftmost.
constexpr std::array<std::array<std::uint8_t, 7>, kGlyphCount> kGlyphs{{
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
    {0x0E, 0x11, 0x11, 0x11, 0x1F, 0x11, 0x11}, {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E},
    {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}, {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C},
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}, {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10},
    {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}, {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11},
    {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}, {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C},
    {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}, {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F},
    {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}, {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11},
    {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10},
    {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}, {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11},
    {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}, {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04},
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04},
    {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}, {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11},
    {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F},
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C},
    {0x00, 0x00, 0x00, 0x00, 0x0C, 0x04, 0x08}, {0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x00, 0x04}, {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00},
    {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}, {0x0C, 0x04, 0x08, 0x00, 0x00, 0x00, 0x00},
    {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x00}, {0x02, 0x04, 0x08, 0x08, 0x08, 0x04, 0x02},
    {0x08, 0x04, 0x02, 0x02, 0x02, 0x04, 0x08}, {0x0C, 0x12, 0x14, 0x08, 0x15, 0x12, 0x0D},
}};

std::uint8_t& At(ArtPixels& art, int x, int y) {
    return art[static_cast<std::size_t>(y * 16 + x)];
}

bool Inside(int x, int y) {
    return x >= 0 && x < 16 && y >= 0 && y < 16;
}

// Mortar 1, brick face 2, lit top edge 3.
ArtPixels DrawBrick(int style, DemoRandom& rng) {
    ArtPixels art{};
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            std::uint8_t v = 2;
            if (style == 1) { // one dressed stone block
                v = (x == 15 || y == 15) ? 1 : (x == 0 || y == 0) ? 3 : 2;
            } else {
                const int courseHeight = style == 0 ? 8 : 4;
                const int course = y / courseHeight;
                const int inCourse = y % courseHeight;
                const int joint = (course % 2) * (style == 0 ? 8 : 4);
                const int jointSpacing = style == 0 ? 16 : 8;
                if (inCourse == courseHeight - 1 || x % jointSpacing == joint) {
                    v = 1;
                } else if (inCourse == 0) {
                    v = 3;
                }
            }
            At(art, x, y) = v;
        }
    }
    for (int speck = 0; speck < 3; ++speck) { // a little wear on the faces
        const int x = 1 + rng.Below(14);
        const int y = 1 + rng.Below(14);
        if (At(art, x, y) == 2) {
            At(art, x, y) = 1;
        }
    }
    return art;
}

void DrawLedge(ArtPixels& art) {
    for (int x = 0; x < 16; ++x) {
        At(art, x, 0) = 3;
        At(art, x, 1) = (x % 4 == 0) ? 3 : 2;
        At(art, x, 2) = 1;
    }
}

ArtPixels DrawLadder() {
    ArtPixels art{};
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            std::uint8_t v = 0;
            if (x == 2 || x == 12) {
                v = 3;
            } else if (x == 3 || x == 13) {
                v = 2;
            } else if (x == 4 || x == 14) {
                v = 1;
            } else if (x > 4 && x < 12 && y % 4 == 1) {
                v = 2;
            } else if (x > 4 && x < 12 && y % 4 == 2) {
                v = 1;
            }
            At(art, x, y) = v;
        }
    }
    return art;
}

ArtPixels DrawSpikes() {
    ArtPixels art{};
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const int local = x % 8;
            const int distance = std::abs(2 * local - 7);
            std::uint8_t v = 0;
            if (y >= 14) {
                v = 1;
            } else if (y >= 3 && distance <= (y - 3) * 8 / 10 + 1) {
                v = (distance == (y - 3) * 8 / 10 + 1) ? 1 : (local < 4 ? 3 : 2);
            }
            At(art, x, y) = v;
        }
    }
    return art;
}

ArtPixels DrawWater(bool surface, DemoRandom& rng) {
    ArtPixels art{};
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            std::uint8_t v = 2;
            if (surface) {
                const int crest = 4 + (x / 4) % 2;
                if (y < crest) {
                    v = 0;
                } else if (y == crest) {
                    v = 3;
                } else if (y == crest + 1 && x % 3 == 0) {
                    v = 3;
                }
            }
            if (v == 2 && y % 4 == 2 && (x * 3 + y * 5) % 11 < 3) {
                v = 1;
            }
            At(art, x, y) = v;
        }
    }
    for (int sparkle = 0; sparkle < 2; ++sparkle) {
        const int x = rng.Below(16);
        const int y = 8 + rng.Below(8);
        At(art, x, y) = 3;
    }
    return art;
}

// Clouds are two pictures wide: half 0 is the left, half 1 the right.
ArtPixels DrawCloud(int half) {
    ArtPixels art{};
    struct Puff {
        int x, y, r;
    };
    constexpr std::array<Puff, 4> puffs{{{8, 10, 5}, {15, 7, 7}, {23, 9, 6}, {28, 12, 3}}};
    auto inside = [&](int gx, int gy) {
        if (gy > 13) {
            return false;
        }
        for (const Puff& p : puffs) {
            if ((gx - p.x) * (gx - p.x) + (gy - p.y) * (gy - p.y) <= p.r * p.r) {
                return true;
            }
        }
        return false;
    };
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const int gx = x + half * 16;
            if (!inside(gx, y)) {
                continue;
            }
            const bool edge = !inside(gx, y - 1) || !inside(gx - 1, y) || !inside(gx + 1, y);
            At(art, x, y) = y >= 12 ? 2 : edge ? 3 : 1;
        }
    }
    return art;
}

ArtPixels DrawStars(DemoRandom& rng) {
    ArtPixels art{};
    for (int star = 0; star < 4; ++star) {
        // One draw a statement: the order of a call's arguments is unspecified.
        const auto colour = static_cast<std::uint8_t>(1 + rng.Below(3));
        const int y = rng.Below(16);
        const int x = rng.Below(16);
        At(art, x, y) = colour;
    }
    const int cx = 3 + rng.Below(10);
    const int cy = 3 + rng.Below(10);
    At(art, cx, cy) = 3;
    At(art, cx - 1, cy) = 1;
    At(art, cx + 1, cy) = 1;
    At(art, cx, cy - 1) = 1;
    At(art, cx, cy + 1) = 1;
    return art;
}

ArtPixels DrawWindow(int style, DemoRandom& rng) {
    ArtPixels art = DrawBrick(style, rng);
    for (int y = 3; y < 15; ++y) {
        const int inset = y < 6 ? 6 - y : 0;
        for (int x = 4 + inset; x < 12 - inset; ++x) {
            At(art, x, y) = (x == 4 + inset || y == 3) ? 3 : (x == 8 ? 2 : 1);
        }
    }
    return art;
}

ArtPixels DrawEgg(DemoRandom& rng) {
    ArtPixels art{};
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const int dx = (x - 8) * 6;
            const int dy = (y - 9) * 5;
            const int d = dx * dx + dy * dy;
            if (d <= 900) {
                At(art, x, y) = d > 680 ? 1 : 3;
            }
        }
    }
    for (int spot = 0; spot < 5; ++spot) {
        const int x = 5 + rng.Below(7);
        const int y = 6 + rng.Below(7);
        if (At(art, x, y) == 3) {
            At(art, x, y) = 2;
        }
    }
    return art;
}

ArtPixels DrawPillar() {
    ArtPixels art{};
    for (int y = 0; y < 16; ++y) {
        for (int x = 3; x < 13; ++x) {
            At(art, x, y) = x < 5 ? 3 : (x < 10 ? 2 : 1);
        }
    }
    for (int x = 1; x < 15; ++x) {
        At(art, x, 0) = 3;
        At(art, x, 1) = 2;
        At(art, x, 15) = 1;
    }
    return art;
}

ArtPixels DrawCrate() {
    ArtPixels art{};
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            std::uint8_t v = 2;
            if (x == 0 || x == 15 || y == 0 || y == 15) {
                v = 1;
            } else if (x == y || x == 15 - y) {
                v = 3;
            } else if (y % 5 == 0) {
                v = 1;
            }
            At(art, x, y) = v;
        }
    }
    return art;
}

ArtPixels DrawChain() {
    ArtPixels art{};
    for (int y = 0; y < 16; ++y) {
        const int inLink = y % 8;
        if (inLink >= 1 && inLink <= 4) {
            At(art, 6, y) = 2;
            At(art, 9, y) = 2;
        } else if (inLink == 0 || inLink == 5) {
            At(art, 7, y) = 3;
            At(art, 8, y) = 3;
        } else {
            At(art, 7, y) = 1;
            At(art, 8, y) = 1;
        }
    }
    return art;
}

ArtPixels DrawCracked(ArtPixels art, DemoRandom& rng) {
    int x = 2 + rng.Below(12);
    for (int y = 0; y < 16; ++y) {
        At(art, x, y) = 1;
        x += rng.Below(3) - 1;
        x = x < 1 ? 1 : (x > 14 ? 14 : x);
    }
    return art;
}

ArtPixels DrawGrate() {
    ArtPixels art{};
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            if (x % 4 == 0 || y % 4 == 0) {
                At(art, x, y) = 3;
            } else if (x % 4 == 1 || y % 4 == 1) {
                At(art, x, y) = 1;
            }
        }
    }
    return art;
}

// The door is two pictures tall: half 0 the top, half 1 the bottom.
ArtPixels DrawDoor(int half) {
    ArtPixels art{};
    for (int y = 0; y < 16; ++y) {
        const int gy = y + half * 16;
        for (int x = 1; x < 15; ++x) {
            const int inset = gy < 6 ? (6 - gy) : 0;
            if (x < 1 + inset || x > 14 - inset) {
                continue;
            }
            std::uint8_t v = 2;
            if (x == 1 + inset || x == 14 - inset || gy == 0) {
                v = 1;
            } else if (x % 4 == 0) {
                v = 1;
            }
            if (half == 1 && y == 4 && (x == 11 || x == 12)) {
                v = 3;
            }
            At(art, x, y) = v;
        }
    }
    return art;
}

ArtPixels DrawRubble(DemoRandom& rng) {
    ArtPixels art{};
    for (int stone = 0; stone < 6; ++stone) {
        const int cx = rng.Below(16);
        const int cy = 9 + rng.Below(7);
        const int r = 1 + rng.Below(3);
        for (int y = cy - r; y <= cy + r; ++y) {
            for (int x = cx - r; x <= cx + r; ++x) {
                if (Inside(x, y) && (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r) {
                    At(art, x, y) = (y < cy) ? 3 : (x > cx ? 1 : 2);
                }
            }
        }
    }
    return art;
}

ArtPixels DrawTorch() {
    ArtPixels art{};
    for (int y = 9; y < 15; ++y) {
        At(art, 7, y) = 1;
        At(art, 8, y) = 1;
    }
    for (int x = 5; x < 11; ++x) {
        At(art, x, 9) = 1;
    }
    for (int y = 1; y < 9; ++y) {
        const int half = y < 4 ? y / 2 : (9 - y) / 2 + 1;
        for (int x = 8 - half; x <= 7 + half; ++x) {
            At(art, x, y) = (std::abs(2 * x - 15) < 2 && y > 3) ? 3 : 2;
        }
    }
    return art;
}

ArtPixels DrawDarkWall(int style, DemoRandom& rng) {
    ArtPixels art = DrawBrick(style, rng);
    for (std::uint8_t& v : art) {
        v = (v == 1) ? 0 : 1; // joints show through, faces in the dark colour
    }
    return art;
}

} // namespace

int GlyphIndex(char c) {
    const auto position = kGlyphOrder.find(c);
    return position == std::string_view::npos ? 36 : static_cast<int>(position);
}

void PackTile(std::span<const std::uint8_t, 64> pixels, std::span<std::uint8_t, 16> out) {
    for (std::size_t row = 0; row < 8; ++row) {
        unsigned plane0 = 0;
        unsigned plane1 = 0;
        for (std::size_t column = 0; column < 8; ++column) {
            const unsigned v = pixels[row * 8 + column] & 3u;
            plane0 = (plane0 << 1) | (v & 1u);
            plane1 = (plane1 << 1) | (v >> 1);
        }
        out[row] = static_cast<std::uint8_t>(plane0);
        out[row + 8] = static_cast<std::uint8_t>(plane1);
    }
}

void PackArt(const ArtPixels& art, std::span<std::uint8_t, 64> out) {
    for (std::size_t quarter = 0; quarter < 4; ++quarter) {
        std::array<std::uint8_t, 64> tile{};
        const std::size_t left = (quarter % 2) * 8;
        const std::size_t top = (quarter / 2) * 8;
        for (std::size_t y = 0; y < 8; ++y) {
            for (std::size_t x = 0; x < 8; ++x) {
                tile[y * 8 + x] = art[(top + y) * 16 + left + x];
            }
        }
        PackTile(tile, out.subspan(quarter * 16).first<16>());
    }
}

ArtPixels DrawCreature(DemoRandom& rng) {
    ArtPixels art{};
    for (int y = 1; y < 15; ++y) {
        for (int x = 1; x < 8; ++x) {
            const int dx = 8 - x;
            const int dy = y - 8;
            const int d = dx * dx + dy * dy;
            const bool filled = d < 10 || (d < 42 && rng.Chance(60));
            if (filled) {
                const std::uint8_t v = (y + rng.Below(2)) % 5 == 0 ? 3 : 2;
                At(art, x, y) = v;
                At(art, 15 - x, y) = v;
            }
        }
    }
    for (int x = 7; x < 9; ++x) { // a solid spine so that the halves join
        for (int y = 4; y < 12; ++y) {
            At(art, x, y) = 2;
        }
    }
    ArtPixels outlined = art;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            if (At(art, x, y) != 0) {
                continue;
            }
            const bool edge = (Inside(x - 1, y) && At(art, x - 1, y) != 0) ||
                              (Inside(x + 1, y) && At(art, x + 1, y) != 0) ||
                              (Inside(x, y - 1) && At(art, x, y - 1) != 0) ||
                              (Inside(x, y + 1) && At(art, x, y + 1) != 0);
            if (edge) {
                At(outlined, x, y) = 1;
            }
        }
    }
    const int eyeRow = 5 + rng.Below(3);
    At(outlined, 5, eyeRow) = 3;
    At(outlined, 10, eyeRow) = 3;
    At(outlined, 5, eyeRow + 1) = 1;
    At(outlined, 10, eyeRow + 1) = 1;
    return outlined;
}

void DrawFont(std::span<std::uint8_t, 768> out) {
    for (std::size_t glyph = 0; glyph < kGlyphCount; ++glyph) {
        std::array<std::uint8_t, 64> tile{};
        for (std::size_t row = 0; row < 7; ++row) {
            for (std::size_t column = 0; column < 5; ++column) {
                if ((static_cast<unsigned>(kGlyphs[glyph][row]) >> (4 - column)) & 1u) {
                    tile[row * 8 + column + 1] = 3;
                    if (tile[(row + 1) * 8 + column + 2] == 0) {
                        tile[(row + 1) * 8 + column + 2] = 1; // drop shadow
                    }
                }
            }
        }
        // A shadow pixel may have been placed before the glyph pixel it now sits under.
        for (std::size_t row = 0; row < 7; ++row) {
            for (std::size_t column = 0; column < 5; ++column) {
                if ((static_cast<unsigned>(kGlyphs[glyph][row]) >> (4 - column)) & 1u) {
                    tile[row * 8 + column + 1] = 3;
                }
            }
        }
        PackTile(tile, out.subspan(glyph * 16).first<16>());
    }
}

void DrawLevelTiles(std::span<std::uint8_t, 4096> out, int brickStyle, DemoRandom& rng) {
    for (int k = 0; k < kArtCount; ++k) {
        ArtPixels art{};
        switch (static_cast<Art>(k)) {
        case Art::Sky:
            break;
        case Art::CloudLeft:
            art = DrawCloud(0);
            break;
        case Art::CloudRight:
            art = DrawCloud(1);
            break;
        case Art::Stars:
            art = DrawStars(rng);
            break;
        case Art::Brick:
            art = DrawBrick(brickStyle, rng);
            break;
        case Art::BrickTop:
            art = DrawBrick(brickStyle, rng);
            DrawLedge(art);
            break;
        case Art::Ladder:
            art = DrawLadder();
            break;
        case Art::LadderTop:
            art = DrawLadder();
            DrawLedge(art);
            break;
        case Art::Spikes:
            art = DrawSpikes();
            break;
        case Art::WaterTop:
            art = DrawWater(true, rng);
            break;
        case Art::Water:
            art = DrawWater(false, rng);
            break;
        case Art::Window:
            art = DrawWindow(brickStyle, rng);
            break;
        case Art::Egg:
            art = DrawEgg(rng);
            break;
        case Art::Pillar:
            art = DrawPillar();
            break;
        case Art::Crate:
            art = DrawCrate();
            break;
        case Art::Chain:
            art = DrawChain();
            break;
        case Art::MossBrick:
            art = DrawCracked(DrawBrick(brickStyle, rng), rng);
            break;
        case Art::CrackedStone:
            art = DrawCracked(DrawBrick(1, rng), rng);
            break;
        case Art::Grate:
            art = DrawGrate();
            break;
        case Art::DoorTop:
            art = DrawDoor(0);
            break;
        case Art::DoorBottom:
            art = DrawDoor(1);
            break;
        case Art::Rubble:
            art = DrawRubble(rng);
            break;
        case Art::Torch:
            art = DrawTorch();
            break;
        case Art::DarkWall:
            art = DrawDarkWall(brickStyle, rng);
            break;
        default:
            art = DrawCreature(rng);
            break;
        }
        PackArt(art, out.subspan(static_cast<std::size_t>(k) * 64).first<64>());
    }
    DrawFont(out.subspan(kFontFirstTile * 16).first<768>());
}

void DrawSprites(std::span<std::uint8_t> out, DemoRandom& rng) {
    for (std::size_t offset = 0; offset + 64 <= out.size(); offset += 64) {
        PackArt(DrawCreature(rng), out.subspan(offset).first<64>());
    }
}

} // namespace korvane::demo
