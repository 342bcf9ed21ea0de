#include "EditStroke.h"

namespace korvane {

void EditStroke::Begin(const std::vector<std::span<std::uint8_t>>& objects) {
    before_.resize(objects.size());
    for (std::size_t i = 0; i < objects.size(); ++i) {
        before_[i].assign(objects[i].begin(), objects[i].end());
    }
    open_ = true;
    changedCells_ = 0;
    oneCell_.clear();
    strokeName_ = {};
}

void EditStroke::CellChanged(const QString& oneCell, StrokeName strokeName) {
    if (changedCells_ == 0) {
        oneCell_ = oneCell;
    }
    ++changedCells_;
    strokeName_ = std::move(strokeName);
}

std::optional<EditStroke::Step>
EditStroke::Finish(const std::vector<std::span<std::uint8_t>>& objects) {
    if (!open_) {
        return std::nullopt;
    }
    open_ = false;
    Step step;
    for (std::size_t i = 0; i < objects.size() && i < before_.size(); ++i) {
        ByteDelta delta = ByteDelta::Between(before_[i], objects[i]);
        if (!delta.empty()) {
            step.parts.push_back({objects[i], std::move(delta)});
        }
    }
    if (step.parts.empty()) {
        return std::nullopt;
    }
    step.text = changedCells_ <= 1 || !strokeName_ ? oneCell_ : strokeName_(changedCells_);
    return step;
}

} // namespace korvane
