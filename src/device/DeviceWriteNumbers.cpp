// Writes of numbers to a parameter whose description node is known.
#include "device/DeviceAccess.h"
#include "device/DeviceAccessSupport.h"
#include "transport/AppState.h"
#include "transport/can/SdoTransfers.h"
#include "transport/serial/ComValues.h"

namespace deviceaccess {

namespace {

int32_t dpv1Write(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode node, uint8_t value)
{
    return DPV1_WriteInt8(state, settings, station, node, value);
}
int32_t dpv1Write(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode node, int16_t value)
{
    return DPV1_WriteInt16(state, settings, station, node, value);
}
int32_t dpv1Write(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode node, int32_t value)
{
    return DPV1_WriteInt32(state, settings, station, node, value);
}
int32_t dpv1Write(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode node, float value)
{
    return DPV1_WriteFloat(state, settings, station, node, value);
}

int32_t dnetWrite(AppState& state, uint8_t macId, const DnetAt& at, uint8_t value)
{
    return DNET_Write1(state, macId, at.classId, at.instance, at.attribute, value);
}
int32_t dnetWrite(AppState& state, uint8_t macId, const DnetAt& at, int16_t value)
{
    return DNET_Write2(state, macId, at.classId, at.instance, at.attribute, value);
}
template <typename T>
int32_t dnetWrite(AppState& state, uint8_t macId, const DnetAt& at, T value)
{
    return DNET_Write4(state, macId, at.classId, at.instance, at.attribute, value);
}

}  // namespace

template <typename T>
int32_t writeNumber(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry, XmlNode node,
                    T value)
{
    return transfer(
        entry, node,
        [&](const SdoAt& at) {
            return state.buses.can ? SDO_WriteValue(*state.buses.can, uint8_t(entry.NodeId), uint16_t(at.index),
                                                    at.sub, value)
                                   : rc::NoInterface;
        },
        [&](const SdoAt& at) { return COM_WriteValue(state, uint16_t(at.index), at.sub, value); },
        [&](const Dpv1At&) { return dpv1Write(state, settings, uint8_t(entry.Address), node, value); },
        [&](const DnetAt& at) { return dnetWrite(state, entry.MacId, at, value); });
}

template int32_t writeNumber(AppState&, const InterfaceSettings&, const DeviceEntry&, XmlNode, uint8_t);
template int32_t writeNumber(AppState&, const InterfaceSettings&, const DeviceEntry&, XmlNode, int16_t);
template int32_t writeNumber(AppState&, const InterfaceSettings&, const DeviceEntry&, XmlNode, int32_t);
template int32_t writeNumber(AppState&, const InterfaceSettings&, const DeviceEntry&, XmlNode, float);

}  // namespace deviceaccess

int32_t Device_SetByte(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry, XmlNode node,
                       uint8_t value)
{
    return deviceaccess::writeNumber(state, settings, entry, node, value);
}

int32_t Device_SetShort(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry, XmlNode node,
                        int16_t value)
{
    return deviceaccess::writeNumber(state, settings, entry, node, value);
}

int32_t Device_SetLong(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry, XmlNode node,
                       int32_t value)
{
    return deviceaccess::writeNumber(state, settings, entry, node, value);
}

int32_t Device_SetFloat(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry, XmlNode node,
                        float value)
{
    return deviceaccess::writeNumber(state, settings, entry, node, value);
}
