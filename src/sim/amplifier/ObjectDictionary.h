#pragma once
#include "sim/amplifier/ObjectEntry.h"

#include <functional>
#include <map>

// The objects of one simulated amplifier, found by CANopen key, description path,
// DPV1 slot/index or DeviceNet class/instance/attribute; every address of a
// parameter leads to the same entry.
class ObjectDictionary {
public:
    // Adds the entry. When its key is taken already, the first entry stays and the
    // new one's path and addresses become further names of it.
    void add(ObjectEntry entry);

    ObjectEntry* find(ObjectKey key);
    const ObjectEntry* find(ObjectKey key) const;
    ObjectEntry* findByPath(const QString& path);
    std::optional<ObjectKey> keyOf(const QString& path) const;
    std::optional<ObjectKey> keyOf(Dpv1Address address) const;
    std::optional<ObjectKey> keyOf(DeviceNetAddress address) const;
    bool hasIndex(uint16_t index) const;

    // 0 and the entry, or the abort code for an unknown index or sub-index.
    uint32_t locate(ObjectKey key, ObjectEntry*& entry);

    void forEach(const std::function<void(ObjectEntry&)>& visit);
    std::size_t size() const { return entries_.size(); }

private:
    void addAliases(const ObjectEntry& entry, ObjectKey key);

    std::map<ObjectKey, ObjectEntry> entries_;
    std::map<QString, ObjectKey> paths_;
    std::map<Dpv1Address, ObjectKey> dpv1_;
    std::map<DeviceNetAddress, ObjectKey> deviceNet_;
};
