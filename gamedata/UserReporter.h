#pragma once

#include <string>
#include <vector>

namespace korvane {

enum class MessageIcon { None, Information, Warning, Stop };

// How code without widgets speaks to the user: the window shows message boxes, the command-line
// tool prints to stderr and tests record what was said.
class UserReporter {
public:
    virtual ~UserReporter() = default;
    // Shows a message with a single OK button and returns once the user has closed it.
    virtual void ShowMessage(MessageIcon icon, const std::string& title,
                             const std::string& text) = 0;
    // Asks the application to end its event loop with the given exit code.
    virtual void RequestQuit(int exitCode) = 0;
};

// Records every message and quit request; for tests and for tools that print them afterwards.
class RecordingReporter : public UserReporter {
public:
    struct Message {
        MessageIcon icon;
        std::string title;
        std::string text;
    };
    std::vector<Message> messages;
    std::vector<int> quitRequests;

    void ShowMessage(MessageIcon icon, const std::string& title, const std::string& text) override {
        messages.push_back({icon, title, text});
    }
    void RequestQuit(int exitCode) override { quitRequests.push_back(exitCode); }
    void Clear() {
        messages.clear();
        quitRequests.clear();
    }
};

} // namespace korvane
