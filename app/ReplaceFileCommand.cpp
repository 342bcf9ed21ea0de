#include "ReplaceFileCommand.h"

namespace korvane {

ReplaceFileCommand::ReplaceFileCommand(const QString& text, CKorvaneDoc& document,
                                       DocumentFile file, GameDataDelta model,
                                       std::function<void()> afterChange)
    : DocumentStep(text), document_(document), file_(std::move(file)), model_(std::move(model)),
      afterChange_(std::move(afterChange)) {}

void ReplaceFileCommand::undo() {
    Swap(false);
}

void ReplaceFileCommand::redo() {
    Swap(true);
}

void ReplaceFileCommand::Swap(bool after) {
    document_.SwapFile(file_);
    if (after) {
        model_.ApplyAfter(document_.gameData());
    } else {
        model_.ApplyBefore(document_.gameData());
    }
    afterChange_();
}

std::size_t ReplaceFileCommand::MemoryBytes() const {
    std::size_t bytes = sizeof(ReplaceFileCommand) - sizeof(GameDataDelta) + model_.MemoryBytes() +
                        file_.trailing.capacity() + file_.cleanPath.capacity() +
                        file_.path.capacity() +
                        static_cast<std::size_t>(text().capacity()) * sizeof(QChar);
    if (file_.image) {
        bytes += sizeof(RomImage);
    }
    // A clean cartridge the document shares costs the step nothing.
    if (file_.cleanBytes && file_.cleanBytes.use_count() == 1) {
        bytes += file_.cleanBytes->capacity();
    }
    return bytes;
}

} // namespace korvane
