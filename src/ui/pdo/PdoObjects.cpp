#include "ui/pdo/PdoObjects.h"

#include "core/Host.h"
#include "core/ResultCodes.h"
#include "device/DeviceAccess.h"
#include "model/ConfSet.h"
#include "model/Configuration.h"
#include "model/Descriptions.h"
#include "transport/AppState.h"
#include "transport/can/SdoSync.h"

#include <QtEndian>
#include <algorithm>

namespace {

const QString AllowOperationalPath = QStringLiteral("PDO/AllowOperational");
// No PDO maps more than 64 objects; a larger count from the device is nonsense.
constexpr uint32_t MaxMappedEntries = 64;

uint32_t littleEndian(const QByteArray& buffer)
{
    QByteArray four = buffer.left(4);
    four.append(QByteArray(4 - four.size(), '\0'));
    return qFromLittleEndian<uint32_t>(four.constData());
}

// One SDO read of up to 4 bytes at a parameter's address, or at an address; 0 when it fails.
uint32_t readNumber(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry, uint16_t index,
                    uint8_t sub, Host* panel, int32_t* result = nullptr)
{
    QByteArray buffer(4, '\0');
    int32_t length = 4;
    const int32_t read = SDO_ReadSync(state, settings, uint8_t(entry.NodeId), index, sub, buffer, length, panel);
    if (result)
        *result = read;
    return read < 0 ? 0 : littleEndian(buffer.left(length));
}

int32_t findNode(const AppState& state, const DeviceEntry& entry, const QString& path, XmlNode& node)
{
    return Descr_FindNode(path, Descr_OfDevice(state.descriptions, entry), node);
}

// The SDO address of a described parameter: 0, or -8 for a missing path or address.
int32_t sdoAddress(const AppState& state, const DeviceEntry& entry, const QString& path, int32_t& index, uint8_t& sub)
{
    XmlNode node;
    const int32_t found = findNode(state, entry, path, node);
    return found < 0 ? found : SDO_GetAddress(node, index, sub);
}

}  // namespace

QString PDO_MappingPath(bool send, int n)
{
    return (send ? QStringLiteral("PDO/Mappings/Send") : QStringLiteral("PDO/Mappings/Recv")) + QString::number(n);
}

int32_t PDO_ReadSendParameters(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry, int n,
                               int32_t& cobId, uint8_t& transmissionType, Host* panel)
{
    cobId = 0;
    transmissionType = 0;
    if (entry.InterfaceKind != CANBus)
        return rc::NotSupported;
    int32_t idIndex = 0, modeIndex = 0;
    uint8_t idSub = 0, modeSub = 0;
    const QString number = QString::number(n);
    int32_t found = sdoAddress(state, entry, QStringLiteral("PDO/Mappings/SendParametersCANId") + number, idIndex, idSub);
    if (found >= 0)
        found = sdoAddress(state, entry, QStringLiteral("PDO/Mappings/SendParametersTransferMode") + number, modeIndex,
                           modeSub);
    if (found < 0)
        return found;
    cobId = int32_t(readNumber(state, settings, entry, uint16_t(idIndex), idSub, panel));
    transmissionType = uint8_t(readNumber(state, settings, entry, uint16_t(modeIndex), modeSub, panel));
    return rc::Ok;
}

int32_t PDO_ReadMapping(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry,
                        const QString& mappingPath, std::vector<uint32_t>& entries, Host* panel)
{
    entries.clear();
    XmlNode mapping;
    if (const int32_t found = findNode(state, entry, mappingPath, mapping); found < 0)
        return found;
    if (entry.InterfaceKind != CANBus)
        return rc::NotSupported;
    QByteArray buffer(4, '\0');
    int32_t length = 4;
    const int32_t read = SDO_ReadParam(state, settings, uint8_t(entry.NodeId), mapping, buffer, length, panel);
    const uint32_t count = read < 0 ? 0 : std::min(littleEndian(buffer.left(length)), MaxMappedEntries);
    if (count == 0)
        return 0;
    int32_t index = 0;
    uint8_t sub = 0;
    if (const int32_t address = SDO_GetAddress(mapping, index, sub); address < 0)
        return address;
    if (index == 0)
        return 0;
    entries.assign(count, 0);
    for (uint32_t k = 1; k <= count; ++k) {
        int32_t result = rc::Ok;
        entries[k - 1] = readNumber(state, settings, entry, uint16_t(index), uint8_t(sub + k), panel, &result);
        // Once the net has given up every device, no further read can answer.
        if (result == rc::NoDevice)
            break;
    }
    return int32_t(count);
}

int32_t PDO_WriteMapping(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry, XmlNode parameters,
                         const QString& mappingPath, XmlNode predefined, Host* panel)
{
    Host& host = *state.core.host;
    if (ShowMessage(host, QStringLiteral("Terminer le PDO mapping ?"), msg::Question) != msg::Yes)
        return rc::Declined;
    const Description* description = Descr_OfDevice(state.descriptions, entry);
    bool allowed = false;
    const bool known = Conf_GetToggle(parameters, AllowOperationalPath, allowed) >= 0;
    // The device's own messages have told of a refused switch; the mapping writes report their own result.
    if (known && Conf_SetToggle(state.core, description, parameters, AllowOperationalPath, false) >= 0)
        static_cast<void>(DeviceSetValue(state, settings, entry, parameters, AllowOperationalPath, panel, false));

    int32_t index = 0;
    uint8_t sub = 0;
    int32_t result = sdoAddress(state, entry, mappingPath, index, sub);
    if (result >= 0) {
        const auto node = uint8_t(entry.NodeId);
        const std::vector<XmlNode> items = predefined.child("Items").elementChildren();
        result = SDO_Write4(state, settings, node, uint16_t(index), sub, 0);
        for (std::size_t k = 0; k < items.size() && result >= 0; ++k) {
            const auto value = int32_t(uint32_t(items[k].text().trimmed().toLongLong()));
            result = SDO_Write4(state, settings, node, uint16_t(index), uint8_t(sub + k + 1), value);
        }
        // The result is the entry writes'; a refused count shows as the state read again afterwards.
        static_cast<void>(SDO_Write4(state, settings, node, uint16_t(index), sub, int32_t(items.size())));
    }

    if (known && Conf_SetToggle(state.core, description, parameters, AllowOperationalPath, allowed) >= 0)
        static_cast<void>(DeviceSetValue(state, settings, entry, parameters, AllowOperationalPath, panel, false));
    return result < 0 ? result : rc::Ok;
}

QString PDO_TransferModeText(int value)
{
    if (value == 0)
        return QStringLiteral("Aucune transmission de PDO");
    if (value == 1)
        return QStringLiteral("Transmission cyclique immédiatement après la réception d'un message SYNC");
    if (value >= 2 && value <= 240)
        return QStringLiteral("Transmission cyclique après la réception de %1 messages SYNC").arg(value);
    if (value == 254)
        return QStringLiteral(
            "Transmission cyclique selon le réglage avec l'objet 3400, indépendemment des messages SYNC");
    return QString();
}

QString PDO_MappingText(const std::vector<uint32_t>& entries)
{
    if (entries.empty())
        return QStringLiteral("Non utilisé");
    QStringList parts;
    for (const uint32_t value : entries) {
        parts << QString::number(value >> 16, 16).toUpper() + QStringLiteral(" (hex), ") +
                     QString::number((value >> 8) & 0xFF) + QStringLiteral(", ") + QString::number(value & 0xFF);
    }
    return parts.join(QStringLiteral("; "));
}

QString PDO_SendParametersText(int32_t cobId, uint8_t transmissionType)
{
    return QStringLiteral("CAN-ID.:") + QString::number(uint32_t(cobId), 16).toUpper() +
           QStringLiteral(" (hex), Mode de transmission : ") + PDO_TransferModeText(transmissionType);
}
