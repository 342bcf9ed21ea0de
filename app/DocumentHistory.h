#pragma once

// The window's undo history over the document: every editor's OK that changed something and
// every Apply Patch is one step, and the document's modified flag is the history's clean state
// (Save marks it clean, undoing back to the saved state clears it). Widget-free: it owns a
// QUndoStack and applies its steps to the CKorvaneDoc's model and file; the window shows it
// through the Edit menu and follows its signals.

#include "gamedata/CKorvaneDoc.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <cstddef>
#include <functional>

namespace korvane {

class GameData;

class DocumentHistory : public QObject {
    Q_OBJECT
public:
    explicit DocumentHistory(CKorvaneDoc& document, QObject* parent = nullptr);

    // A change the window has made to the model (an editor's OK with its fix-ups, a tile sheet
    // import): one step named text, from the model as it was before to the document's model
    // now. Nothing is recorded when they are equal. Returns whether a step was made.
    bool RecordChange(const QString& text, const GameData& before);
    // Runs change on the document's model and records what it did as one step.
    bool Change(const QString& text, const std::function<void(GameData&)>& change);
    // The document takes file as a new, untitled and unsaved document (Apply Patch): its
    // image, trailing bytes and clean cartridge, the model decoded from the image and no path.
    // One step: undo brings back the document as it was (file, path, model and modified
    // state).
    void ReplaceFile(const QString& text, DocumentFile file);

    void Undo();
    void Redo();
    bool canUndo() const { return stack_.canUndo(); }
    bool canRedo() const { return stack_.canRedo(); }
    // The text of the step Undo (Redo) would take back (do again), or an empty text.
    QString undoText() const { return stack_.undoText(); }
    QString redoText() const { return stack_.redoText(); }
    int count() const { return stack_.count(); }
    int index() const { return stack_.index(); }

    // The document was saved: its state now is the clean one.
    void MarkSaved();
    // Another file was opened or a new document started: no steps, and not modified.
    void Clear();
    bool IsModified() const { return !stack_.isClean(); }

    // What the steps hold together.
    std::size_t MemoryBytes() const;
    // What step index (0 the oldest) holds.
    std::size_t StepMemoryBytes(int index) const;

    QUndoStack& stack() { return stack_; }

signals:
    // An undo or redo changed the model (levels, shared tables): the preview reloads.
    void modelChanged();
    // The document took another file, or went back to its earlier one: the whole window
    // follows (title, toolbar, view).
    void fileReplaced();
    // The modified flag changed with the clean state.
    void modifiedChanged(bool modified);

private:
    void FollowCleanState();

    CKorvaneDoc& document_;
    QUndoStack stack_;
    // True while the stack takes a change the window has already made and shown.
    bool recording_ = false;
};

} // namespace korvane
