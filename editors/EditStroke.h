#pragma once

// A paint stroke of an editor: from the press on its edit canvas to the release, every cell
// the pointer crosses is painted at once, and the whole stroke becomes one undo step. The
// stroke keeps the working data as it was at the press and counts the cells that changed; at
// the release it hands back the bytes that changed and the step's name: the one cell's own
// name ("Paint assembly $10 into room 5, cell 3"), or the stroke's with its count ("Paint
// assembly $10 into room 5, 7 cells").

#include "CEditCommand.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace korvane {

class EditStroke {
public:
    // The name of a stroke that changed count cells (count >= 2).
    using StrokeName = std::function<QString(int count)>;

    // What a finished stroke changed.
    struct Step {
        QString text;
        std::vector<CEditCommand::Part> parts;
    };

    // The press: the working data as it is now (its objects must outlive the stroke).
    void Begin(const std::vector<std::span<std::uint8_t>>& objects);
    bool open() const { return open_; }
    // One more cell changed, named oneCell on its own and strokeName with the count.
    void CellChanged(const QString& oneCell, StrokeName strokeName);
    int changedCells() const { return changedCells_; }
    // The release: the step, or nothing when no byte differs from the press.
    std::optional<Step> Finish(const std::vector<std::span<std::uint8_t>>& objects);

private:
    bool open_ = false;
    std::vector<std::vector<std::uint8_t>> before_;
    int changedCells_ = 0;
    QString oneCell_;
    StrokeName strokeName_;
};

} // namespace korvane
