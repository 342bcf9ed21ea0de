#include "DocumentHistory.h"

#include "DocumentStep.h"
#include "ModelChangeCommand.h"
#include "ReplaceFileCommand.h"
#include "gamedata/GameData.h"
#include "gamedata/GameDataDelta.h"

#include <memory>

namespace korvane {

DocumentHistory::DocumentHistory(CKorvaneDoc& document, QObject* parent)
    : QObject(parent), document_(document) {
    connect(&stack_, &QUndoStack::indexChanged, this, &DocumentHistory::FollowCleanState);
    connect(&stack_, &QUndoStack::cleanChanged, this, &DocumentHistory::FollowCleanState);
}

void DocumentHistory::FollowCleanState() {
    const bool modified = !stack_.isClean();
    if (document_.IsModified() != modified) {
        document_.SetModifiedFlag(modified);
        emit modifiedChanged(modified);
    }
}

bool DocumentHistory::RecordChange(const QString& text, const GameData& before) {
    GameDataDelta change = GameDataDelta::Between(before, document_.gameData());
    if (change.empty()) {
        return false;
    }
    recording_ = true;
    stack_.push(new ModelChangeCommand(text, document_, std::move(change), [this] {
        if (!recording_) {
            emit modelChanged();
        }
    }));
    recording_ = false;
    return true;
}

bool DocumentHistory::Change(const QString& text, const std::function<void(GameData&)>& change) {
    const auto before = std::make_unique<GameData>(document_.gameData());
    change(document_.gameData());
    return RecordChange(text, *before);
}

void DocumentHistory::ReplaceFile(const QString& text, DocumentFile file) {
    // The model the new file decodes to, compared with the model now; the stack's first redo
    // then swaps the file in and takes the model's after side.
    auto decoded = std::make_unique<GameData>();
    decoded->Decode(*file.image);
    GameDataDelta model = GameDataDelta::Between(document_.gameData(), *decoded);
    decoded.reset();
    file.path.clear();
    stack_.push(new ReplaceFileCommand(text, document_, std::move(file), std::move(model),
                                       [this] { emit fileReplaced(); }));
}

void DocumentHistory::Undo() {
    stack_.undo();
}

void DocumentHistory::Redo() {
    stack_.redo();
}

void DocumentHistory::MarkSaved() {
    stack_.setClean();
    FollowCleanState();
}

void DocumentHistory::Clear() {
    stack_.clear();
    FollowCleanState();
}

std::size_t DocumentHistory::StepMemoryBytes(int index) const {
    const auto* step = dynamic_cast<const DocumentStep*>(stack_.command(index));
    return step != nullptr ? step->MemoryBytes() : 0;
}

std::size_t DocumentHistory::MemoryBytes() const {
    std::size_t bytes = 0;
    for (int i = 0; i < stack_.count(); ++i) {
        bytes += StepMemoryBytes(i);
    }
    return bytes;
}

} // namespace korvane
