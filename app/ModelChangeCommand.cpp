#include "ModelChangeCommand.h"

#include "gamedata/CKorvaneDoc.h"

namespace korvane {

ModelChangeCommand::ModelChangeCommand(const QString& text, CKorvaneDoc& document,
                                       GameDataDelta change, std::function<void()> afterChange)
    : DocumentStep(text), document_(document), change_(std::move(change)),
      afterChange_(std::move(afterChange)) {}

void ModelChangeCommand::undo() {
    change_.ApplyBefore(document_.gameData());
    afterChange_();
}

void ModelChangeCommand::redo() {
    change_.ApplyAfter(document_.gameData());
    afterChange_();
}

std::size_t ModelChangeCommand::MemoryBytes() const {
    return sizeof(ModelChangeCommand) - sizeof(GameDataDelta) + change_.MemoryBytes() +
           static_cast<std::size_t>(text().capacity()) * sizeof(QChar);
}

} // namespace korvane
