#include "sim/amplifier/ObjectDictionary.h"

#include "sim/SdoTarget.h"

namespace {

template <typename Map, typename Key>
std::optional<ObjectKey> lookup(const Map& map, const Key& key)
{
    const auto it = map.find(key);
    return it == map.end() ? std::nullopt : std::optional<ObjectKey>(it->second);
}

}  // namespace

void ObjectDictionary::add(ObjectEntry entry)
{
    const ObjectKey key = entry.key;
    addAliases(entry, key);
    entries_.try_emplace(key, std::move(entry));
}

void ObjectDictionary::addAliases(const ObjectEntry& entry, ObjectKey key)
{
    if (!entry.path.isEmpty())
        paths_.try_emplace(entry.path, key);
    if (entry.dpv1)
        dpv1_.try_emplace(*entry.dpv1, key);
    if (entry.deviceNet)
        deviceNet_.try_emplace(*entry.deviceNet, key);
}

ObjectEntry* ObjectDictionary::find(ObjectKey key)
{
    const auto it = entries_.find(key);
    return it == entries_.end() ? nullptr : &it->second;
}

const ObjectEntry* ObjectDictionary::find(ObjectKey key) const
{
    const auto it = entries_.find(key);
    return it == entries_.end() ? nullptr : &it->second;
}

ObjectEntry* ObjectDictionary::findByPath(const QString& path)
{
    const auto key = lookup(paths_, path);
    return key ? find(*key) : nullptr;
}

std::optional<ObjectKey> ObjectDictionary::keyOf(const QString& path) const { return lookup(paths_, path); }

std::optional<ObjectKey> ObjectDictionary::keyOf(Dpv1Address address) const { return lookup(dpv1_, address); }

std::optional<ObjectKey> ObjectDictionary::keyOf(DeviceNetAddress address) const
{
    return lookup(deviceNet_, address);
}

bool ObjectDictionary::hasIndex(uint16_t index) const
{
    const auto it = entries_.lower_bound(ObjectKey{index, 0});
    return it != entries_.end() && it->first.index == index;
}

uint32_t ObjectDictionary::locate(ObjectKey key, ObjectEntry*& entry)
{
    entry = find(key);
    if (entry)
        return 0;
    return hasIndex(key.index) ? sdoabort::NoSubIndex : sdoabort::NoObject;
}

void ObjectDictionary::forEach(const std::function<void(ObjectEntry&)>& visit)
{
    for (auto& [key, entry] : entries_)
        visit(entry);
}
