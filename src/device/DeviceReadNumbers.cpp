// Reads of numbers, and of the values carried as numbers (dates, toggles, bit masks).
#include "device/DeviceAccess.h"
#include "device/DeviceAccessSupport.h"
#include "model/ValueText.h"
#include "transport/AppState.h"
#include "transport/can/SdoTransfers.h"
#include "transport/serial/ComValues.h"

namespace deviceaccess {

namespace {

int32_t dpv1Read(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode node, uint8_t& value)
{
    return DPV1_ReadInt8(state, settings, station, node, value);
}
int32_t dpv1Read(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode node, int16_t& value)
{
    return DPV1_ReadInt16(state, settings, station, node, value);
}
int32_t dpv1Read(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode node, int32_t& value)
{
    return DPV1_ReadInt32(state, settings, station, node, value);
}
int32_t dpv1Read(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode node, float& value)
{
    return DPV1_ReadFloat(state, settings, station, node, value);
}

int32_t dnetRead(AppState& state, uint8_t macId, const DnetAt& at, uint8_t& value)
{
    return DNET_Read1(state, macId, at.classId, at.instance, at.attribute, value);
}
int32_t dnetRead(AppState& state, uint8_t macId, const DnetAt& at, int16_t& value)
{
    return DNET_Read2(state, macId, at.classId, at.instance, at.attribute, value);
}
template <typename T>
int32_t dnetRead(AppState& state, uint8_t macId, const DnetAt& at, T& value)
{
    return DNET_Read4(state, macId, at.classId, at.instance, at.attribute, value);
}

}  // namespace

template <typename T>
int32_t readNumber(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry, XmlNode node,
                   T& value)
{
    value = T{};
    const int32_t result = transfer(
        entry, node,
        [&](const SdoAt& at) {
            return state.buses.can ? SDO_ReadValue(*state.buses.can, uint8_t(entry.NodeId), uint16_t(at.index),
                                                   at.sub, value)
                                   : rc::NoInterface;
        },
        [&](const SdoAt& at) { return COM_ReadValue(state, uint16_t(at.index), at.sub, value); },
        [&](const Dpv1At&) { return dpv1Read(state, settings, uint8_t(entry.Address), node, value); },
        [&](const DnetAt& at) { return dnetRead(state, entry.MacId, at, value); });
    if (result < 0)
        value = T{};
    return result;
}

template int32_t readNumber(AppState&, const InterfaceSettings&, const DeviceEntry&, XmlNode, uint8_t&);
template int32_t readNumber(AppState&, const InterfaceSettings&, const DeviceEntry&, XmlNode, int16_t&);
template int32_t readNumber(AppState&, const InterfaceSettings&, const DeviceEntry&, XmlNode, int32_t&);
template int32_t readNumber(AppState&, const InterfaceSettings&, const DeviceEntry&, XmlNode, float&);

}  // namespace deviceaccess

using namespace deviceaccess;

namespace {

QString failureIn(const char* operation, const QString& description)
{
    return QStringLiteral("Error in %1(): ").arg(QLatin1String(operation)) + description;
}

// A read by path of a number as it is, under the message of its operation.
template <typename T>
int32_t getNumber(const char* operation, AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                  const QString& path, T& value, Host* panel)
{
    return guarded(
        *state.core.host, msg::Error, [&](const QString& what) { return failureIn(operation, what); },
        [&] {
            value = T{};
            return readAt(state, settings, entry, path, panel,
                          [&](XmlNode node) { return readNumber(state, settings, entry, node, value); });
        });
}

}  // namespace

int32_t Device_GetByte(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry, const QString& path,
                       uint8_t& value, Host* panel)
{
    return getNumber("Device_GetByte", state, settings, entry, path, value, panel);
}

int32_t Device_GetShort(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                        const QString& path, int16_t& value, Host* panel)
{
    return getNumber("Device_GetShort", state, settings, entry, path, value, panel);
}

int32_t Device_GetLong(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry, const QString& path,
                       int32_t& value, Host* panel)
{
    return getNumber("Device_GetLong", state, settings, entry, path, value, panel);
}

int32_t Device_GetFloat(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                        const QString& path, float& value, Host* panel)
{
    return getNumber("Device_GetFloat", state, settings, entry, path, value, panel);
}

int32_t Device_GetDate(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry, const QString& path,
                       QDate& value, Host* panel)
{
    return guarded(
        *state.core.host, msg::Error, [&](const QString& what) { return failureIn("Device_GetDate", what); },
        [&] {
            value = dateOrigin();
            return readAt(state, settings, entry, path, panel, [&](XmlNode node) {
                // Dates travel as a day count from the parameter's own origin.
                const QDate base = node.hasChild("BaseDate") ? textToDate(node.childText("BaseDate")) : dateOrigin();
                int16_t days = 0;
                const int32_t result = readNumber(state, settings, entry, node, days);
                value = base.addDays(days);
                return result;
            });
        });
}

int32_t Device_GetToggle(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                         const QString& path, bool& value, Host* panel)
{
    uint8_t byte = 0;
    const int32_t result = getNumber("Device_GetToggle", state, settings, entry, path, byte, panel);
    value = byte == 1;
    return result;
}

int32_t Device_GetBitMask(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                          const QString& path, int32_t width, int32_t& value, Host* panel)
{
    return guarded(
        *state.core.host, msg::Ok,
        [&](const QString& what) {
            return path + QStringLiteral(": Erreur lors de la prise du masque binaire ! '") + what + u'\'';
        },
        [&] {
            value = 0;
            if (width == 8) {
                uint8_t byte = 0;
                const int32_t result = Device_GetByte(state, settings, entry, path, byte, panel);
                value = byte;
                return result;
            }
            if (width == 32)
                return Device_GetLong(state, settings, entry, path, value, panel);
            ShowMessage(*state.core.host,
                        path + QStringLiteral(": Le masque binaire a une largeur non valide de %1 bit !").arg(width),
                        msg::Information);
            return rc::Failed;
        });
}
