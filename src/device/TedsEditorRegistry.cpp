#include "device/TedsEditor.h"

void TedsEditorRegistry::add(const QString& name, Factory factory)
{
    factories_[name] = std::move(factory);
}

std::unique_ptr<TedsEditor> TedsEditorRegistry::create(const QString& name) const
{
    const auto found = factories_.find(name);
    return found == factories_.end() || !found->second ? nullptr : found->second();
}

TedsEditorRegistry& InstalledTedsEditors()
{
    static TedsEditorRegistry installed;
    return installed;
}
