#include "CEditCommand.h"

namespace korvane {

CEditCommand::CEditCommand(const QString& text, std::vector<Part> parts,
                           std::function<void()> afterChange)
    : QUndoCommand(text), parts_(std::move(parts)), afterChange_(std::move(afterChange)) {
    parts_.shrink_to_fit();
}

void CEditCommand::undo() {
    Apply(false);
}

void CEditCommand::redo() {
    Apply(true);
}

void CEditCommand::Apply(bool after) {
    // Undo restores the objects in the opposite order of redo: it does not matter for
    // separate objects, but keeps the two directions mirror images.
    if (after) {
        for (const Part& part : parts_) {
            part.delta.ApplyAfter(part.target);
        }
    } else {
        for (auto part = parts_.rbegin(); part != parts_.rend(); ++part) {
            part->delta.ApplyBefore(part->target);
        }
    }
    if (afterChange_) {
        afterChange_();
    }
}

std::size_t CEditCommand::MemoryBytes() const {
    std::size_t bytes = sizeof(CEditCommand) + parts_.capacity() * sizeof(Part);
    for (const Part& part : parts_) {
        bytes += part.delta.MemoryBytes() - sizeof(ByteDelta);
    }
    const QString label = text();
    return bytes + static_cast<std::size_t>(label.capacity()) * sizeof(QChar);
}

} // namespace korvane
