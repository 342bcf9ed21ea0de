#pragma once

// The editors of the toolbar commands, registered once at start-up. A command without an
// editor stays disabled.

#include "EditorRegistry.h"

#include <QDialog>

namespace korvane {

// Runs an editor dialog constructed from the display context, the working copy and the parent
// window; true when it ended with OK (the dialog has then written the working copy).
template <class Dialog> bool RunEditorDialog(EditorSession& session) {
    Dialog dialog(session.display, session.level, session.parent);
    return dialog.exec() == QDialog::Accepted;
}

void RegisterStandardEditors(EditorRegistry& registry);

} // namespace korvane
