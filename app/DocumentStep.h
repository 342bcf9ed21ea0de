#pragma once

// One step of the window's undo history: a QUndoCommand that can say what it holds.

#include <QUndoCommand>

#include <cstddef>

namespace korvane {

class DocumentStep : public QUndoCommand {
public:
    using QUndoCommand::QUndoCommand;
    // What the step occupies: the command and the heap blocks it holds.
    virtual std::size_t MemoryBytes() const = 0;
};

} // namespace korvane
