#include "ByteDelta.h"

#include <algorithm>

namespace korvane {

ByteDelta ByteDelta::Between(std::span<const std::uint8_t> before,
                             std::span<const std::uint8_t> after) {
    ByteDelta delta;
    delta.imageSize_ = before.size();
    if (before.size() != after.size()) {
        return delta;
    }
    const std::size_t size = before.size();
    std::size_t changed = 0;
    std::size_t i = 0;
    while (i < size) {
        // Whole equal stretches are skipped with memcmp-speed searches.
        const auto mismatch =
            std::mismatch(before.begin() + static_cast<std::ptrdiff_t>(i), before.end(),
                          after.begin() + static_cast<std::ptrdiff_t>(i));
        i = static_cast<std::size_t>(mismatch.first - before.begin());
        if (i >= size) {
            break;
        }
        std::size_t end = i + 1;
        while (end < size && before[end] != after[end]) {
            ++end;
        }
        delta.ranges_.push_back(
            {static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(end - i)});
        changed += end - i;
        i = end;
    }
    delta.ranges_.shrink_to_fit();
    delta.bytes_.reserve(2 * changed);
    for (const Range& range : delta.ranges_) {
        const auto first = before.begin() + range.offset;
        delta.bytes_.insert(delta.bytes_.end(), first, first + range.length);
    }
    for (const Range& range : delta.ranges_) {
        const auto first = after.begin() + range.offset;
        delta.bytes_.insert(delta.bytes_.end(), first, first + range.length);
    }
    return delta;
}

std::span<const std::uint8_t> ByteDelta::beforeBytes() const {
    return std::span<const std::uint8_t>(bytes_).first(changedBytes());
}

std::span<const std::uint8_t> ByteDelta::afterBytes() const {
    return std::span<const std::uint8_t>(bytes_).last(changedBytes());
}

bool ByteDelta::ApplyBefore(std::span<std::uint8_t> target) const {
    return Apply(target, false);
}

bool ByteDelta::ApplyAfter(std::span<std::uint8_t> target) const {
    return Apply(target, true);
}

bool ByteDelta::Apply(std::span<std::uint8_t> target, bool after) const {
    if (target.size() != imageSize_) {
        return false;
    }
    const std::span<const std::uint8_t> side = after ? afterBytes() : beforeBytes();
    std::size_t read = 0;
    for (const Range& range : ranges_) {
        std::memcpy(target.data() + range.offset, side.data() + read, range.length);
        read += range.length;
    }
    return true;
}

std::size_t ByteDelta::MemoryBytes() const {
    return sizeof(ByteDelta) + ranges_.capacity() * sizeof(Range) + bytes_.capacity();
}

} // namespace korvane
