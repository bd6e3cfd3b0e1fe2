// Writes of strings and byte blocks.
#include "device/DeviceAccessSupport.h"
#include "transport/AppState.h"
#include "transport/can/SdoTransfers.h"
#include "transport/serial/ComValues.h"

namespace deviceaccess {

int32_t writeString(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry, XmlNode node,
                    const QString& text)
{
    return transfer(
        entry, node,
        [&](const SdoAt& at) {
            return SDO_WriteString(state, settings, uint8_t(entry.NodeId), uint16_t(at.index), at.sub, text);
        },
        [&](const SdoAt& at) { return COM_WriteString(state, uint16_t(at.index), at.sub, text); },
        [&](const Dpv1At& at) {
            return DPV1_WriteString(state, settings, uint8_t(entry.Address), at.slot, at.index, text);
        },
        [&](const DnetAt& at) {
            return DNET_WriteString(state, entry.MacId, at.classId, at.instance, at.attribute, text);
        });
}

int32_t writeBytes(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry, XmlNode node,
                   const QByteArray& bytes)
{
    const auto length = int32_t(bytes.size());
    return transfer(
        entry, node,
        [&](const SdoAt& at) {
            return state.buses.can ? SDO_WriteBytes(*state.buses.can, uint8_t(entry.NodeId), uint16_t(at.index),
                                                    at.sub, bytes)
                                   : rc::NoInterface;
        },
        [&](const SdoAt& at) { return COM_Write(state, uint16_t(at.index), at.sub, bytes); },
        [&](const Dpv1At& at) {
            return DPV1_WriteBytes(state, settings, uint8_t(entry.Address), at.slot, at.index, bytes, length);
        },
        [&](const DnetAt& at) {
            return DNET_WriteBytes(state, entry.MacId, at.classId, at.instance, at.attribute, bytes, length);
        });
}

}  // namespace deviceaccess
