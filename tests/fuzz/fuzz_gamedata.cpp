// Decodes arbitrary cartridge images, applies level operations chosen by the input and encodes
// the result (FuzzScript.h says what is checked). The image is the input repeated, so a short
// input reaches every bank; fuzz_structured starts from real structure instead.
#include "FuzzScript.h"

#include <algorithm>
#include <memory>

namespace {

using namespace korvane;

// The image is the input repeated until it fills 0x60010 bytes (a longer input is cut there).
void FillImage(RomImage& image, const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        image.bytes.fill(0);
        return;
    }
    for (std::size_t at = 0; at < kRomSize; at += size) {
        std::copy_n(data, std::min(size, kRomSize - at),
                    image.bytes.begin() + static_cast<std::ptrdiff_t>(at));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto image = std::make_unique<RomImage>();
    FillImage(*image, data, size);
    // The operation script: the bytes beyond the image, or else the start of the input.
    const std::uint8_t* script = size > kRomSize ? data + kRomSize : data;
    const std::size_t scriptSize =
        size > kRomSize ? size - kRomSize : std::min<std::size_t>(size, 256);
    fuzz::DecodeAndRunScript(*image, script, scriptSize);
    return 0;
}
