#pragma once

// One undo step of an editor: the bytes one change altered in the editor's working data (the
// working copy of the level, and any other object the editor edits with it) and a text that
// names the change. Undo writes the bytes as they were, redo as they became; both then let the
// editor show its working data again.

#include "gamedata/ByteDelta.h"

#include <QUndoCommand>

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace korvane {

class CEditCommand : public QUndoCommand {
public:
    // The changed bytes of one edited object, which must outlive the command.
    struct Part {
        std::span<std::uint8_t> target;
        ByteDelta delta;
    };

    // afterChange runs after every undo and redo, the first redo (when the stack takes the
    // command, the change already made) included.
    CEditCommand(const QString& text, std::vector<Part> parts, std::function<void()> afterChange);

    void undo() override;
    void redo() override;

    const std::vector<Part>& parts() const { return parts_; }
    // What the step holds: the command, its parts with their bytes, and its text.
    std::size_t MemoryBytes() const;

private:
    void Apply(bool after);

    std::vector<Part> parts_;
    std::function<void()> afterChange_;
};

} // namespace korvane
