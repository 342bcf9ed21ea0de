#pragma once

#include <string>

namespace korvane {

// The result codes of asking the desktop to open a link: above 32 is success.
inline constexpr int kLinkOpenedCode = 33;
inline constexpr int kNoAssociationCode = 31;

// What went wrong, for a result code of 32 or less.
std::string LinkErrorText(int code);
// The whole report: "Unable to open hyperlink:\n\n" and the text.
std::string LinkErrorReport(int code);

} // namespace korvane
