#pragma once

// A wheel's turning in whole notches: fine-grained wheels and touchpads send parts of a notch,
// which add up until they make one.

namespace korvane {

class WheelNotches {
public:
    static constexpr int kNotch = 120; // the angle of one notch, in eighths of a degree

    // Adds angle; returns the whole notches it completes (negative towards the user) and keeps
    // the rest for the next turn.
    int Add(int angle) {
        remainder_ += angle;
        const int notches = remainder_ / kNotch;
        remainder_ -= notches * kNotch;
        return notches;
    }

private:
    int remainder_ = 0;
};

} // namespace korvane
