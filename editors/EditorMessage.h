#pragma once

// A refusal an editor dialog tells in a message box titled "Korvane" with the stop icon: through
// the display's reporter when it has one (the window's, or a test's recorder), else a box of the
// toolkit's over parent.

#include <QString>

class QWidget;

namespace korvane {

class DisplayContext;

void ShowEditorStop(const DisplayContext& display, QWidget* parent, const QString& text);

} // namespace korvane
