#include "sim/amplifier/PdoRules.h"

#include "sim/SdoTarget.h"
#include "sim/amplifier/StandardObjects.h"
#include "sim/amplifier/ValueCodec.h"

namespace {

constexpr uint32_t CobIdInvalid = 0x80000000u;
constexpr uint32_t CobIdMask = 0x1FFFFFFFu;

uint64_t storedNumber(const ObjectDictionary& dictionary, ObjectKey key)
{
    const ObjectEntry* entry = dictionary.find(key);
    return entry ? valuecodec::toUnsigned(entry->value) : 0;
}

uint32_t checkCount(const ObjectDictionary& dictionary, uint16_t index, uint64_t count)
{
    if (count > static_cast<uint64_t>(stdobj::MaxMappedObjects))
        return sdoabort::ValueTooHigh;
    int totalBits = 0;
    for (uint8_t sub = 1; sub <= count; ++sub) {
        const auto mapping = static_cast<uint32_t>(storedNumber(dictionary, {index, sub}));
        const ObjectEntry* mapped = dictionary.find(
            {static_cast<uint16_t>(mapping >> 16), static_cast<uint8_t>((mapping >> 8) & 0xFF)});
        if (!mapped || mapped->width == 0 || mappingEntry(*mapped) != mapping)
            return sdoabort::NotMappable;
        totalBits += static_cast<int>(mapping & 0xFF);
    }
    return totalBits > 64 ? sdoabort::MappingTooLong : 0;
}

// Whether the PDO of a mapping object is valid: the COB-ID of its communication
// object (0x1600.. -> 0x1400.., 0x1A00.. -> 0x1800..) has bit 31 clear.
bool pdoValid(const ObjectDictionary& dictionary, uint16_t mappingIndex)
{
    constexpr uint16_t toCommunication = stdobj::FirstRpdoMapping - stdobj::FirstRpdoComm;
    const auto communication = static_cast<uint16_t>(mappingIndex - toCommunication);
    return !(static_cast<uint32_t>(storedNumber(dictionary, {communication, 1})) & CobIdInvalid);
}

// Transmit types 241..251 and receive types 241..253 are reserved.
uint32_t checkTransmissionType(uint16_t index, uint64_t type)
{
    const uint64_t lastReserved = index >= stdobj::FirstTpdoComm ? 251 : 253;
    return type >= 241 && type <= lastReserved ? sdoabort::ValueRange : 0;
}

uint32_t checkCobId(const ObjectDictionary& dictionary, ObjectKey key, const QByteArray& data)
{
    const auto current = static_cast<uint32_t>(storedNumber(dictionary, key));
    const auto wanted = static_cast<uint32_t>(valuecodec::toUnsigned(data));
    const bool bothValid = !(current & CobIdInvalid) && !(wanted & CobIdInvalid);
    return bothValid && (current & CobIdMask) != (wanted & CobIdMask) ? sdoabort::ValueRange : 0;
}

}  // namespace

uint32_t mappingEntry(const ObjectEntry& mapped)
{
    return static_cast<uint32_t>(mapped.key.index) << 16 | static_cast<uint32_t>(mapped.key.sub) << 8
           | static_cast<uint32_t>(mapped.width * 8);
}

uint32_t checkPdoWrite(const ObjectDictionary& dictionary, ObjectKey key, const QByteArray& data, PdoState state)
{
    const bool mapping = isPdoMapping(key.index);
    if (!mapping && !isPdoCommunication(key.index))
        return 0;
    if (state.operational)
        return sdoabort::DeviceState;
    if (mapping && !state.suspended && pdoValid(dictionary, key.index))
        return sdoabort::ValueRange;
    if (mapping && key.sub == 0)
        return checkCount(dictionary, key.index, valuecodec::toUnsigned(data));
    if (mapping)
        return storedNumber(dictionary, {key.index, 0}) != 0 ? sdoabort::UnsupportedAccess : 0;
    if (key.sub == 2)
        return checkTransmissionType(key.index, valuecodec::toUnsigned(data));
    return key.sub == 1 ? checkCobId(dictionary, key, data) : 0;
}
