#include "sim/amplifier/StandardObjects.h"

#include "sim/amplifier/ValueCodec.h"
#include "sim/amplifier/WellKnownPaths.h"

#include <set>

namespace {

ObjectEntry makeEntry(ObjectKey key, ParameterKind kind, int width, Access access)
{
    ObjectEntry entry;
    entry.key = key;
    entry.kind = kind;
    entry.width = width;
    entry.access = access;
    entry.value = QByteArray(width, '\0');
    return entry;
}

// Adds a number object unless the key exists; in both cases sets its value when asked.
void ensureNumber(ObjectDictionary& dictionary, ObjectKey key, int width, Access access, std::optional<double> value)
{
    if (!dictionary.find(key)) {
        const ParameterKind kind = width == 1 ? ParameterKind::ValueByte : width == 2 ? ParameterKind::ValueShort
                                                                                : ParameterKind::ValueLong;
        dictionary.add(makeEntry(key, kind, width, access));
    }
    if (value) {
        setEntryValue(*dictionary.find(key), *value, QString::number(static_cast<qint64>(*value)));
    }
}

void setIdentityValue(ObjectEntry* entry, double number, const QString& text)
{
    if (entry)
        setEntryValue(*entry, number, text);
}

void addCommunication(ObjectDictionary& dictionary, uint16_t index, uint32_t cobId, bool transmit)
{
    const uint8_t highestSub = transmit ? 5 : 2;
    ensureNumber(dictionary, {index, 0}, 1, Access::ReadOnly, highestSub);
    ensureNumber(dictionary, {index, 1}, 4, Access::ReadWrite, std::nullopt);
    ensureNumber(dictionary, {index, 2}, 1, Access::ReadWrite, std::nullopt);
    if (dictionary.find({index, 1})->value == QByteArray(4, '\0'))
        setEntryValue(*dictionary.find({index, 1}), cobId, {});
    if (dictionary.find({index, 2})->value == QByteArray(1, '\0'))
        setEntryValue(*dictionary.find({index, 2}), transmit ? stdobj::DefaultTpdoType : stdobj::DefaultRpdoType, {});
    if (transmit) {
        ensureNumber(dictionary, {index, 3}, 2, Access::ReadWrite, std::nullopt);
        ensureNumber(dictionary, {index, 5}, 2, Access::ReadWrite, std::nullopt);
    }
}

// The count is writable whatever the description says: the PDO configuration
// writes it, as a 4-byte value, to change a mapping.
void addMapping(ObjectDictionary& dictionary, uint16_t index)
{
    if (!dictionary.find({index, 0}))
        dictionary.add(makeEntry({index, 0}, ParameterKind::ValueByte, 1, Access::ReadWrite));
    ObjectEntry* count = dictionary.find({index, 0});
    count->access = Access::ReadWrite;
    count->flexibleLength = true;
    count->maxValue = stdobj::MaxMappedObjects;
    for (uint8_t sub = 1; sub <= stdobj::MaxMappedObjects; ++sub)
        ensureNumber(dictionary, {index, sub}, 4, Access::ReadWrite, std::nullopt);
}

std::set<int> pdoNumbers(ObjectDictionary& dictionary)
{
    std::set<int> numbers;
    for (int n = 0; n < stdobj::DefaultPdoCount; ++n)
        numbers.insert(n);
    dictionary.forEach([&](ObjectEntry& entry) {
        if (isPdoMapping(entry.key.index) || isPdoCommunication(entry.key.index))
            numbers.insert((entry.key.index - stdobj::FirstRpdoComm) % stdobj::PdoIndexSpan);
    });
    return numbers;
}

}  // namespace

bool isPdoMapping(uint16_t index)
{
    return (index >= stdobj::FirstRpdoMapping && index < stdobj::FirstRpdoMapping + stdobj::PdoIndexSpan)
           || (index >= stdobj::FirstTpdoMapping && index < stdobj::FirstTpdoMapping + stdobj::PdoIndexSpan);
}

bool isPdoCommunication(uint16_t index)
{
    return (index >= stdobj::FirstRpdoComm && index < stdobj::FirstRpdoComm + stdobj::PdoIndexSpan)
           || (index >= stdobj::FirstTpdoComm && index < stdobj::FirstTpdoComm + stdobj::PdoIndexSpan);
}

bool isCommunicationObject(uint16_t index) { return index >= 0x1000 && index <= 0x1FFF; }

void setEntryValue(ObjectEntry& entry, double number, const QString& text)
{
    if (isNumeric(entry.kind)) {
        entry.value = valuecodec::encode(entry, number);
        return;
    }
    QByteArray bytes = text.toLatin1();
    if (entry.maxLength > 0)
        bytes.truncate(entry.maxLength);
    if (bytes.size() < entry.padLength)
        bytes.append(QByteArray(entry.padLength - bytes.size(), '\0'));
    entry.value = bytes;
}

void applyIdentity(ObjectDictionary& dictionary, const SimIdentity& identity)
{
    bool numeric = false;
    const double serial = static_cast<double>(identity.serialNumber.toUInt(&numeric));
    ensureNumber(dictionary, {stdobj::DeviceType, 0}, 4, Access::ReadOnly, identity.deviceType);
    if (!dictionary.find({stdobj::DeviceName, 0})) {
        ObjectEntry name = makeEntry({stdobj::DeviceName, 0}, ParameterKind::ValueString, 0, Access::ReadOnly);
        name.maxLength = MaxVariableLength;
        dictionary.add(std::move(name));
    }
    setIdentityValue(dictionary.find({stdobj::DeviceName, 0}), 0, identity.deviceName);
    ensureNumber(dictionary, {stdobj::Identity, 0}, 1, Access::ReadOnly, 4);
    ensureNumber(dictionary, {stdobj::Identity, 1}, 4, Access::ReadOnly, identity.vendorId);
    ensureNumber(dictionary, {stdobj::Identity, 2}, 4, Access::ReadOnly, identity.productId);
    ensureNumber(dictionary, {stdobj::Identity, 3}, 4, Access::ReadOnly, identity.revision);
    ensureNumber(dictionary, {stdobj::Identity, 4}, 4, Access::ReadOnly, numeric ? serial : 0.0);
    // A serial number kept as text at 0x1018/4 gets the text itself.
    setIdentityValue(dictionary.find({stdobj::Identity, 4}), numeric ? serial : 0.0, identity.serialNumber);
    setIdentityValue(dictionary.findByPath(QLatin1String(simpath::VendorId)), identity.vendorId,
                     QString::number(identity.vendorId));
    setIdentityValue(dictionary.findByPath(QLatin1String(simpath::ProductId)), identity.productId,
                     QString::number(identity.productId));
    setIdentityValue(dictionary.findByPath(QLatin1String(simpath::SerialNumber)), serial,
                     identity.serialNumber);
    // The amplifier answers at its node ID on every bus, and its address parameters say so.
    for (const char* address : {simpath::CanNodeId, simpath::ProfibusAddress, simpath::DeviceNetMacId})
        setIdentityValue(dictionary.findByPath(QLatin1String(address)), identity.nodeId,
                         QString::number(identity.nodeId));
}

void addErrorControlObjects(ObjectDictionary& dictionary, uint8_t nodeId)
{
    constexpr uint32_t EmcyBase = 0x80;
    const ObjectKey emcy{stdobj::EmcyCobId, 0};
    if (!dictionary.find(emcy))
        ensureNumber(dictionary, emcy, 4, Access::ReadWrite, EmcyBase + nodeId);
    ensureNumber(dictionary, {stdobj::HeartbeatTime, 0}, 2, Access::ReadWrite, std::nullopt);
}

void addPdoObjects(ObjectDictionary& dictionary, uint8_t nodeId)
{
    for (const int n : pdoNumbers(dictionary)) {
        const auto offset = static_cast<uint16_t>(n);
        const uint32_t idOffset = n < stdobj::DefaultPdoCount ? 0x100u * n + nodeId : 0x80000000u;
        addCommunication(dictionary, stdobj::FirstRpdoComm + offset, 0x200u + idOffset, false);
        addCommunication(dictionary, stdobj::FirstTpdoComm + offset, 0x180u + idOffset, true);
        addMapping(dictionary, stdobj::FirstRpdoMapping + offset);
        addMapping(dictionary, stdobj::FirstTpdoMapping + offset);
    }
}
