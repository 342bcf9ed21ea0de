#pragma once

// What an editor asks before Esc, Cancel or closing its window throws its changes away:
// "Discard the changes made in the Room Editor?" with Discard and Keep Editing, Keep Editing
// the default. A test answers without a window (CEditorDialog::SetDiscardQuestion).

#include <QString>

#include <functional>
#include <memory>

class QMessageBox;
class QWidget;

namespace korvane {

// True when the user chose to discard the changes made in the editor named editorName.
using DiscardQuestion = std::function<bool(const QString& editorName)>;

// The question's box over parent, not yet shown: its Discard button is its DestructiveRole
// button, Keep Editing (RejectRole) is the default and what Esc chooses.
std::unique_ptr<QMessageBox> MakeDiscardBox(QWidget* parent, const QString& editorName);

// Shows the box and waits for the answer.
bool AskDiscardChanges(QWidget* parent, const QString& editorName);

} // namespace korvane
