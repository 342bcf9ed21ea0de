#pragma once

// The step of Apply Patch: the document takes another file's content as a new, untitled
// document. It holds the file the document does not have at the moment (the new one until the
// stack takes it, then the old one, and so on: image, trailing bytes, clean cartridge, path)
// and the bytes the model changed; undo and redo both swap the file and put back one side of
// the model.

#include "DocumentStep.h"
#include "gamedata/CKorvaneDoc.h"
#include "gamedata/GameDataDelta.h"

#include <functional>

namespace korvane {

class ReplaceFileCommand : public DocumentStep {
public:
    // file: what the document takes on the first redo; model: from the model before to the
    // model decoded from file's image. afterChange runs after every undo and redo.
    ReplaceFileCommand(const QString& text, CKorvaneDoc& document, DocumentFile file,
                       GameDataDelta model, std::function<void()> afterChange);

    void undo() override;
    void redo() override;
    std::size_t MemoryBytes() const override;

private:
    void Swap(bool after);

    CKorvaneDoc& document_;
    DocumentFile file_;
    GameDataDelta model_;
    std::function<void()> afterChange_;
};

} // namespace korvane
