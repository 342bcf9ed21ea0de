#include "HeldButtonGate.h"

#include <algorithm>

namespace korvane {

void HeldButtonGate::Held(const void* source) {
    if (std::find(holders_.begin(), holders_.end(), source) == holders_.end()) {
        holders_.push_back(source);
    }
}

void HeldButtonGate::Freed(const void* source) {
    std::erase(holders_, source);
    RunWaiting();
}

void HeldButtonGate::Run(std::function<void()> action) {
    waiting_.push_back(std::move(action));
    RunWaiting();
}

void HeldButtonGate::RunWaiting() {
    // One at a time, in order: a command that frees a button itself does not start the others
    // inside it, and one that presses a button stops them.
    if (running_) {
        return;
    }
    running_ = true;
    while (holders_.empty() && !waiting_.empty()) {
        const std::function<void()> action = std::move(waiting_.front());
        waiting_.pop_front();
        action();
    }
    running_ = false;
}

} // namespace korvane
