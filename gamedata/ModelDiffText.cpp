#include "ModelDiffText.h"

namespace korvane::difftext {

std::string Hex(unsigned value, int digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(static_cast<std::size_t>(digits) + 1, '$');
    for (int k = digits; k >= 1; --k) {
        text[static_cast<std::size_t>(k)] = kDigits[value & 0x0F];
        value >>= 4;
    }
    return text;
}

std::string Number(unsigned value) {
    return std::to_string(value);
}

std::string HexString(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text = "\"";
    for (const std::uint8_t byte : bytes) {
        text.push_back(kDigits[byte >> 4]);
        text.push_back(kDigits[byte & 0x0F]);
    }
    text.push_back('"');
    return text;
}

void AddNumber(std::vector<ModelChange>& out, int level, const char* table, int index,
               std::string field, unsigned from, unsigned to, std::string line) {
    out.push_back(
        {level, table, index, std::move(field), Number(from), Number(to), std::move(line)});
}

int TilePixels(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    int pixels = 0;
    for (std::size_t row = 0; row < 8; ++row) {
        // A pixel differs when either of its two bit planes does.
        const unsigned differs =
            static_cast<unsigned>((a[row] ^ b[row]) | (a[row + 8] ^ b[row + 8]));
        for (unsigned bits = differs; bits != 0; bits &= bits - 1) {
            ++pixels;
        }
    }
    return pixels;
}

} // namespace korvane::difftext
