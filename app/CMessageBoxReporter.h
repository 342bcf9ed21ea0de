#pragma once

#include "gamedata/UserReporter.h"

namespace korvane {

// Shows the program's messages in modal message boxes and ends the event loop on request.
//
// With KORVANE_MESSAGES_TO_STDERR=1 each message is printed to standard error instead
// ("korvane: <title>: <text>") and counts as closed at once: for running the program where no
// one can close a box (tests, scripts).
class CMessageBoxReporter : public UserReporter {
public:
    void ShowMessage(MessageIcon icon, const std::string& title, const std::string& text) override;
    // Posted, so that a request made during start-up ends the program once its loop runs.
    void RequestQuit(int exitCode) override;
};

} // namespace korvane
