#pragma once

// One step of the window's history that changed the model only: an editor's OK (and anything
// else the window does to the levels and shared tables in one go). It keeps the bytes that
// changed; undo puts back the before side, redo the after side.

#include "DocumentStep.h"
#include "gamedata/GameDataDelta.h"

#include <functional>

namespace korvane {

class CKorvaneDoc;

class ModelChangeCommand : public DocumentStep {
public:
    // afterChange runs after every undo and redo, the first redo (when the stack takes the
    // command, the change already made) included.
    ModelChangeCommand(const QString& text, CKorvaneDoc& document, GameDataDelta change,
                       std::function<void()> afterChange);

    void undo() override;
    void redo() override;
    std::size_t MemoryBytes() const override;

    const GameDataDelta& change() const { return change_; }

private:
    CKorvaneDoc& document_;
    GameDataDelta change_;
    std::function<void()> afterChange_;
};

} // namespace korvane
