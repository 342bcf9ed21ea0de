#pragma once

// The bytes that differ between two byte images of the same size, with both sides kept: an
// undo step holds one, so that it costs the bytes it changed rather than two whole copies.
// Works on any trivially copyable object through its object representation (ObjectBytes).

#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>
#include <vector>

namespace korvane {

// The object representation of a trivially copyable object, to read and to write.
template <class T> std::span<const std::uint8_t, sizeof(T)> ObjectBytes(const T& object) {
    static_assert(std::is_trivially_copyable_v<T>, "only plain bytes can be compared and restored");
    return std::span<const std::uint8_t, sizeof(T)>(reinterpret_cast<const std::uint8_t*>(&object),
                                                    sizeof(T));
}
template <class T> std::span<std::uint8_t, sizeof(T)> ObjectBytes(T& object) {
    static_assert(std::is_trivially_copyable_v<T>, "only plain bytes can be compared and restored");
    return std::span<std::uint8_t, sizeof(T)>(reinterpret_cast<std::uint8_t*>(&object), sizeof(T));
}

class ByteDelta {
public:
    // A run of differing bytes: offset into the image and length, both in bytes.
    struct Range {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
        bool operator==(const Range&) const = default;
    };

    ByteDelta() = default;

    // The maximal runs of bytes that differ between before and after, with their bytes on both
    // sides. Images of different sizes give an empty delta for an image of before's size that
    // ApplyBefore and ApplyAfter refuse on the other size: a caller error, never half a change.
    static ByteDelta Between(std::span<const std::uint8_t> before,
                             std::span<const std::uint8_t> after);
    template <class T>
    requires std::is_trivially_copyable_v<T>
    static ByteDelta Between(const T& before, const T& after) {
        return Between(std::span<const std::uint8_t>(ObjectBytes(before)),
                       std::span<const std::uint8_t>(ObjectBytes(after)));
    }

    // Writes the before (or after) side of every range into target, which must be an image of
    // the compared size; returns false and writes nothing otherwise.
    bool ApplyBefore(std::span<std::uint8_t> target) const;
    bool ApplyAfter(std::span<std::uint8_t> target) const;
    template <class T>
    requires std::is_trivially_copyable_v<T>
    bool ApplyBefore(T& object) const {
        return ApplyBefore(std::span<std::uint8_t>(ObjectBytes(object)));
    }
    template <class T>
    requires std::is_trivially_copyable_v<T>
    bool ApplyAfter(T& object) const {
        return ApplyAfter(std::span<std::uint8_t>(ObjectBytes(object)));
    }

    bool empty() const { return ranges_.empty(); }
    std::size_t imageSize() const { return imageSize_; }
    const std::vector<Range>& ranges() const { return ranges_; }
    // All the bytes that differ, on each side, range after range.
    std::span<const std::uint8_t> beforeBytes() const;
    std::span<const std::uint8_t> afterBytes() const;
    std::size_t changedBytes() const { return bytes_.size() / 2; }
    // What the delta occupies: the object itself and the heap blocks it holds.
    std::size_t MemoryBytes() const;

private:
    bool Apply(std::span<std::uint8_t> target, bool after) const;

    std::size_t imageSize_ = 0;
    std::vector<Range> ranges_;
    // The before bytes of all ranges, then the after bytes of all ranges.
    std::vector<std::uint8_t> bytes_;
};

} // namespace korvane
