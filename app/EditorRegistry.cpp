#include "EditorRegistry.h"

#include <algorithm>

namespace korvane {

void EditorRegistry::Register(int commandId, EditorFactory factory) {
    factories_[commandId] = std::move(factory);
    emit changed(commandId);
}

void EditorRegistry::Unregister(int commandId) {
    if (factories_.erase(commandId) > 0) {
        emit changed(commandId);
    }
}

bool EditorRegistry::has(int commandId) const {
    const auto found = factories_.find(commandId);
    return found != factories_.end() && found->second;
}

bool EditorRegistry::Run(int commandId, EditorSession& session) const {
    const auto found = factories_.find(commandId);
    if (found == factories_.end() || !found->second) {
        return false;
    }
    return found->second(session);
}

void RecomputeCheckpointHallways(LevelRecord& level) {
    level.checkpointHallways = {kNoCheckpoint, kNoCheckpoint};
    const int hallwayCount = std::clamp(level.hallwayCount, 0, kHallwaySlots);
    for (int h = 0; h < hallwayCount; ++h) {
        const int start = level.HallwayStart(h);
        const int lastRoom = level.hallways[static_cast<std::size_t>(h)].lastRoom;
        for (std::size_t j = 0; j < 2; ++j) {
            const int offset = level.checkpointRooms[j] - start;
            if (offset >= 0 && offset <= lastRoom) {
                level.checkpointHallways[j] = static_cast<std::uint8_t>(h);
            }
        }
    }
    for (std::uint8_t& entry : level.checkpointHallways) {
        if (entry == kNoCheckpoint) {
            entry = static_cast<std::uint8_t>(hallwayCount);
        }
    }
}

} // namespace korvane
