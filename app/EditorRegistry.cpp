#include "EditorRegistry.h"

namespace korvane {

void EditorRegistry::Register(int commandId, EditorDescriptor descriptor) {
    editors_[commandId] = std::move(descriptor);
    emit changed(commandId);
}

void EditorRegistry::Register(int commandId, EditorFactory run) {
    EditorDescriptor descriptor;
    descriptor.run = std::move(run);
    Register(commandId, std::move(descriptor));
}

void EditorRegistry::Unregister(int commandId) {
    if (editors_.erase(commandId) > 0) {
        emit changed(commandId);
    }
}

bool EditorRegistry::has(int commandId) const {
    return Find(commandId) != nullptr;
}

const EditorDescriptor* EditorRegistry::Find(int commandId) const {
    const auto found = editors_.find(commandId);
    if (found == editors_.end() || !found->second.run) {
        return nullptr;
    }
    return &found->second;
}

} // namespace korvane
