#pragma once

// Commands that wait while a mouse button is held: an editor's canvases say when a button goes
// down on them and when it comes up again (after the release has made its step), and what is
// asked for in between runs then, in the order it was asked for.

#include <cstddef>
#include <deque>
#include <functional>
#include <vector>

namespace korvane {

class HeldButtonGate {
public:
    // A button went down on source (a canvas); another report from it changes nothing.
    void Held(const void* source);
    // The button on source came up: once none is held, the waiting commands run.
    void Freed(const void* source);
    // Runs action at once when no button is held, else once the last one comes up.
    void Run(std::function<void()> action);
    // Forgets the waiting commands (the dialog closes).
    void Drop() { waiting_.clear(); }

    bool held() const { return !holders_.empty(); }
    std::size_t waiting() const { return waiting_.size(); }

private:
    void RunWaiting();

    std::vector<const void*> holders_;
    std::deque<std::function<void()>> waiting_;
    bool running_ = false;
};

} // namespace korvane
