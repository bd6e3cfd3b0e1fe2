#include "transport/can/SdoSync.h"

#include "core/Host.h"

#include <QtEndian>
#include "core/ResultCodes.h"
#include "model/ValueText.h"
#include "transport/AppState.h"
#include "transport/ErrorText.h"
#include "transport/can/CanTexts.h"
#include "transport/can/SdoTransfers.h"
#include "transport/serial/ComTransport.h"

namespace {

constexpr int kAttempts = 3;
constexpr int kResetPauseMs = 500;

// One read attempt on the interface of the settings.
int32_t readOnce(AppState& state, const InterfaceSettings& settings, uint8_t node, uint16_t index,
                 uint8_t sub, QByteArray& buffer, int32_t& length)
{
    if (settings.InterfaceType == CANBus)
        return state.buses.can ? SDO_ReadBytes(*state.buses.can, node, index, sub, buffer, length)
                               : rc::NoInterface;
    if (settings.InterfaceType == RS232) {
        const int32_t result = COM_Read(state, index, sub, buffer, length);
        if (result >= 0)
            length = result;
        return result;
    }
    return rc::UnknownInterface;
}

// The bus status byte, 0 when there is no CAN net to ask.
int32_t busStatus(AppState& state)
{
    const int32_t status = state.buses.can ? state.buses.can->getStatus() : 0;
    return status < 0 ? 0 : status;
}

void giveUp(AppState& state, const QString& text, Host* panel)
{
    if (panel)
        panel->setStatusText(QString());
    Device_ForgetAll(state);
    const NormalPointer normal(*state.core.host);
    ShowMessage(*state.core.host,
                QStringLiteral("Le nombre maximal de tentatives de mesure a été dépassé !\r\n"
                               "Message d'erreur : ") +
                    text + QStringLiteral("\r\n\r\nTous les appareils sont déconnectés."),
                msg::Warning);
    state.core.host->refreshAllWindows();
}

QByteArray latin1(const QString& text) { return text.toLatin1(); }

}  // namespace

int32_t SDO_ReadSync(AppState& state, const InterfaceSettings& settings, uint8_t node, uint16_t index,
                     uint8_t sub, QByteArray& buffer, int32_t& length, Host* panel)
{
    const int32_t wanted = length;
    QString text;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        length = wanted;
        const int32_t result = readOnce(state, settings, node, index, sub, buffer, length);
        if (result >= 0) {
            if (panel)
                panel->setStatusText(QString());
            return result;
        }
        if (result == rc::CanSdoAbort)
            return result;
        const int32_t status = busStatus(state);
        // The serial line has no bus status: its own result names the failure.
        text = settings.InterfaceType == RS232 ? resultCodeText(result) : CAN_BusStatusText(result, status);
        if (status & (canstatus::BusHeavy | canstatus::BusOff)) {
            // The next attempt or the status read tells whether the reset helped.
            static_cast<void>(state.buses.can->resetCan());
            state.core.host->sleepMs(kResetPauseMs);
        }
        if (panel)
            panel->setStatusText(text + QStringLiteral(" (Tentative de lecture %1 de %2...) ")
                                            .arg(attempt)
                                            .arg(kAttempts));
    }
    giveUp(state, text, panel);
    return rc::NoDevice;
}

int32_t SDO_GetAddress(XmlNode parameter, int32_t& index, uint8_t& sub)
{
    const XmlNode sdo = parameter.child("Communication").child("SDO");
    const XmlNode indexNode = sdo.child("Index");
    if (!indexNode)
        return rc::UnknownInDescription;
    index = roundTo<int32_t>(StrToDouble(indexNode.text()));
    if (index == 0)
        return rc::Ok;
    const XmlNode subNode = sdo.child("Sub");
    if (!subNode)
        return rc::UnknownInDescription;
    sub = roundTo<uint8_t>(StrToDouble(subNode.text()));
    return rc::Ok;
}

int32_t SDO_ReadParam(AppState& state, const InterfaceSettings& settings, uint8_t node,
                      XmlNode parameter, QByteArray& buffer, int32_t& length, Host* panel)
{
    int32_t index = 0;
    uint8_t sub = 0;
    const int32_t found = SDO_GetAddress(parameter, index, sub);
    if (found < 0)
        return found;
    return SDO_ReadSync(state, settings, node, uint16_t(index), sub, buffer, length, panel);
}

int32_t SDO_ReadString(AppState& state, const InterfaceSettings& settings, uint8_t node,
                       uint16_t index, uint8_t sub, QString& text, Host* panel)
{
    QByteArray buffer;
    int32_t length = 8192;
    const int32_t result = SDO_ReadSync(state, settings, node, index, sub, buffer, length, panel);
    if (result < 0) {
        text.clear();
        Log_Write(state.core, QStringLiteral("Node ID %1: Error %2 while synchronuous read SDO of index "
                                             "%3, sub index %4 (string)")
                                  .arg(node)
                                  .arg(result)
                                  .arg(index)
                                  .arg(sub));
        return result;
    }
    text = textOfBytes(buffer.left(length));
    return result;
}

namespace {

int32_t writeBytes(AppState& state, const InterfaceSettings& settings, uint8_t node, uint16_t index,
                   uint8_t sub, const QByteArray& bytes)
{
    if (settings.InterfaceType == CANBus)
        return state.buses.can ? SDO_WriteBytes(*state.buses.can, node, index, sub, bytes)
                               : rc::NoInterface;
    if (settings.InterfaceType == RS232)
        return COM_Write(state, index, sub, bytes);
    return rc::Ok;  // other kinds send nothing
}

}  // namespace

int32_t SDO_WriteString(AppState& state, const InterfaceSettings& settings, uint8_t node,
                        uint16_t index, uint8_t sub, const QString& text)
{
    const int32_t result = writeBytes(state, settings, node, index, sub, latin1(text));
    if (result < 0)
        Log_Write(state.core, QStringLiteral("Node ID %1: Error %2 while synchronuous write of string "
                                             "SDO (index %3, sub index %4)")
                                  .arg(node)
                                  .arg(result)
                                  .arg(index)
                                  .arg(sub));
    return result;
}

int32_t SDO_Write4(AppState& state, const InterfaceSettings& settings, uint8_t node, uint16_t index,
                   uint8_t sub, int32_t value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((uint32_t(value) >> (8 * i)) & 0xFF);
    return writeBytes(state, settings, node, index, sub, bytes);
}

int32_t SDO_ReadAbortCode(AppState& state, const InterfaceSettings& settings,
                          const DeviceEntry& entry, const QString& path, QByteArray& bytes,
                          int32_t& length)
{
    XmlNode parameter;
    const int32_t found =
        Descr_FindNode(path, Descr_OfDevice(state.descriptions, entry), parameter);
    if (found < 0)
        return found;
    length = 4;
    const uint8_t node = uint8_t(entry.NodeId);
    if (settings.InterfaceType != CANBus || !state.buses.can)
        return SDO_ReadParam(state, settings, node, parameter, bytes, length, nullptr);
    int32_t index = 0;
    uint8_t sub = 0;
    const int32_t address = SDO_GetAddress(parameter, index, sub);
    if (address < 0)
        return address;
    CanLibrary& can = *state.buses.can;
    // The library kept the code of the refused transfer (a write too). Otherwise one
    // plain read, not retried: an object longer than 4 bytes is no failed bus.
    if (const uint32_t code = can.lastAbortCode(node, uint16_t(index), sub)) {
        bytes = QByteArray(4, '\0');
        qToLittleEndian(code, bytes.data());
        return rc::CanSdoAbort;
    }
    return SDO_ReadBytes(can, node, uint16_t(index), sub, bytes, length);
}
