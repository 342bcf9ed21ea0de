// Starts from the demo cartridge, which has the structure real cartridges have (pointer tables,
// record banks, hallway lists next to sane rooms), and lets the input change it where it
// chooses before the model is decoded, edited and encoded (FuzzScript.h says what is checked).
//
// Input: byte 0 picks the demo image (generator seeds 1 to 4); byte 1 the number of patches
// (0 to 15); then the patches; whatever follows is the operation script.
//   patch: kind, a, b, c, length (1 to 64), then for kinds 0 and 1 that many bytes:
//   kind 0: the bytes at offset (b c) of level a's level data (bank 0x0A00 to 0x1FFF)
//   kind 1: the bytes at file offset (a b c)
//   kind 2: 8 KB unit a of the image (the 48 after the header) replaced by unit b of demo c
//   kind 3: 4 x length bytes of value c at offset (b c) of level a's level data
#include "DemoCartridge.h"
#include "FuzzScript.h"

#include <algorithm>
#include <memory>

namespace {

using namespace korvane;

constexpr std::size_t kDemoImages = 4;
constexpr std::size_t kLevelDataStart = 0x0A00;
constexpr std::size_t kLevelDataSize = kBankSize - kLevelDataStart;
constexpr std::size_t kUnits = (kRomSize - kHeaderSize) / kBankSize; // 48

const RomImage& DemoImage(std::size_t which) {
    static std::array<std::unique_ptr<RomImage>, kDemoImages> images;
    auto& image = images[which % kDemoImages];
    if (!image) {
        image = MakeDemoCartridge(static_cast<std::uint32_t>(which % kDemoImages + 1));
    }
    return *image;
}

// Reads the input from the front; runs out gracefully.
class InputReader {
public:
    InputReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    // Up to length bytes; fewer at the end of the input.
    std::size_t Bytes(std::size_t length, const std::uint8_t*& bytes) {
        bytes = data_ + at_;
        const std::size_t got = std::min(length, size_ - at_);
        at_ += got;
        return got;
    }
    const std::uint8_t* rest() const { return data_ + at_; }
    std::size_t restSize() const { return size_ - at_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

std::size_t LevelDataOffset(std::uint8_t level, std::uint8_t high, std::uint8_t low) {
    const std::size_t bank = LevelCatalogue[level % kLevelCount].bankOffset;
    return bank + kLevelDataStart + (static_cast<std::size_t>(high) << 8 | low) % kLevelDataSize;
}

void ApplyPatch(RomImage& image, InputReader& input) {
    const std::uint8_t kind = input.Byte();
    const std::uint8_t a = input.Byte();
    const std::uint8_t b = input.Byte();
    const std::uint8_t c = input.Byte();
    const std::size_t length = input.Byte() % 64 + 1;
    switch (kind % 4) {
    case 0:
    case 1: {
        const std::size_t offset =
            kind % 4 == 0
                ? LevelDataOffset(a, b, c)
                : (static_cast<std::size_t>(a) << 16 | static_cast<std::size_t>(b) << 8 | c) %
                      kRomSize;
        const std::uint8_t* bytes = nullptr;
        const std::size_t got = input.Bytes(length, bytes);
        std::copy_n(bytes, std::min(got, kRomSize - offset),
                    image.bytes.begin() + static_cast<std::ptrdiff_t>(offset));
        break;
    }
    case 2: {
        const std::size_t to = kHeaderSize + (a % kUnits) * kBankSize;
        const std::size_t from = kHeaderSize + (b % kUnits) * kBankSize;
        const RomImage& source = DemoImage(c);
        std::copy_n(source.bytes.begin() + static_cast<std::ptrdiff_t>(from), kBankSize,
                    image.bytes.begin() + static_cast<std::ptrdiff_t>(to));
        break;
    }
    default: {
        const std::size_t offset = LevelDataOffset(a, b, 0);
        const std::size_t count = std::min(4 * length, kRomSize - offset);
        std::fill_n(image.bytes.begin() + static_cast<std::ptrdiff_t>(offset), count, c);
        break;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto image = std::make_unique<RomImage>();
    InputReader input(data, size);
    *image = DemoImage(input.Byte());
    const int patches = input.Byte() % 16;
    for (int p = 0; p < patches; ++p) {
        ApplyPatch(*image, input);
    }
    fuzz::DecodeAndRunScript(*image, input.rest(), input.restSize());
    return 0;
}
