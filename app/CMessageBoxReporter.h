#pragma once

#include "gamedata/UserReporter.h"

namespace korvane {

// Shows the program's messages in modal message boxes and ends the event loop on request.
class CMessageBoxReporter : public UserReporter {
public:
    void ShowMessage(MessageIcon icon, const std::string& title, const std::string& text) override;
    // Posted, so that a request made during start-up ends the program once its loop runs.
    void RequestQuit(int exitCode) override;
};

} // namespace korvane
