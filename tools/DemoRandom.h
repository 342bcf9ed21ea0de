#pragma once

#include <cstdint>

namespace korvane::demo {

// The demo cartridge's deterministic number source (splitmix64): the same seed always gives
// the same image, on every platform.
class DemoRandom {
public:
    explicit DemoRandom(std::uint64_t seed) : state_(seed) {}

    std::uint32_t Next() {
        state_ += 0x9E3779B97F4A7C15ull;
        std::uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 16);
    }
    // A number in 0 .. n - 1 (n > 0).
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
    // True in about percent out of 100 calls.
    bool Chance(int percent) { return Below(100) < percent; }
    std::uint8_t Byte() { return static_cast<std::uint8_t>(Next()); }

private:
    std::uint64_t state_;
};

// A stream of its own for one part of the image, so that changing one part of the generator
// does not reshuffle the others.
inline DemoRandom StreamFor(std::uint32_t seed, std::uint32_t part) {
    return DemoRandom((static_cast<std::uint64_t>(seed) << 32) ^ (part * 0x2545F491ull));
}

} // namespace korvane::demo
