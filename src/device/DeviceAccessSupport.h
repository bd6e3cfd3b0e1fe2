#pragma once
// Pieces shared by the typed reads and writes of device parameters; not for callers
// outside the device access files.
#include "core/DeviceEntry.h"
#include "core/Host.h"
#include "core/ResultCodes.h"
#include "core/xml/XmlDocument.h"
#include "transport/can/SdoSync.h"
#include "transport/devicenet/DnetTransport.h"
#include "transport/profibus/Dpv1Transport.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>

struct AppState;
struct InterfaceSettings;

namespace deviceaccess {

// A parameter's address on each bus, as its description gives it.
struct SdoAt {
    int32_t index = 0;
    uint8_t sub = 0;
};
struct Dpv1At {
    uint8_t slot = 0;
    uint8_t index = 0;
};
struct DnetAt {
    uint8_t classId = 0;
    uint8_t instance = 0;
    uint8_t attribute = 0;
};

// One transfer to the parameter described by `node`, by the entry's interface kind:
// the branch of that kind gets the parameter's address on its bus. -8 when the
// description lacks the address, -2 for a kind that is none of the four.
template <typename Can, typename Serial, typename Dpv1, typename Dnet>
[[nodiscard]]
int32_t transfer(const DeviceEntry& entry, XmlNode node, Can onCan, Serial onSerial, Dpv1 onDpv1, Dnet onDnet)
{
    switch (entry.InterfaceKind) {
    case CANBus:
    case RS232: {
        SdoAt at;
        if (const int32_t found = SDO_GetAddress(node, at.index, at.sub); found < 0)
            return found;
        return entry.InterfaceKind == CANBus ? onCan(at) : onSerial(at);
    }
    case PROFIBUS: {
        Dpv1At at;
        if (const int32_t found = DPV1_GetAddress(node, at.slot, at.index); found < 0)
            return found;
        return onDpv1(at);
    }
    case DeviceNet: {
        DnetAt at;
        if (const int32_t found = DNET_GetAddress(node, at.classId, at.instance, at.attribute); found < 0)
            return found;
        return onDnet(at);
    }
    default:
        return rc::UnknownInterface;
    }
}

// CANBus, RS232, PROFIBUS or DeviceNet.
bool isBusKind(int32_t kind);

// The description node of a path for the entry's device: 0, or the lookup's code.
[[nodiscard]]
int32_t findParameter(const AppState& state, const DeviceEntry& entry, const QString& path, XmlNode& node);

// The frame of every read by path: looks the path up (its code, without bus access,
// when it is not described), runs the read on the node and acts on the result for
// the connection: a time-out closes it, "no device" marks the entry offline.
[[nodiscard]]
int32_t readAt(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry, const QString& path,
               Host* panel, const std::function<int32_t(XmlNode)>& read);

// Numbers of 1, 2 or 4 bytes through the entry's bus (uint8_t, int16_t, int32_t, float).
// A failed read leaves the value 0.
template <typename T>
[[nodiscard]]
int32_t readNumber(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry, XmlNode node,
                   T& value);
template <typename T>
[[nodiscard]]
int32_t writeNumber(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry, XmlNode node,
                    T value);

// Strings and byte blocks through the entry's bus.
[[nodiscard]]
int32_t writeString(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry, XmlNode node,
                    const QString& text);
[[nodiscard]]
int32_t writeBytes(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry, XmlNode node,
                   const QByteArray& bytes);

// What a write from the configuration tells its caller besides its result.
struct WriteReport {
    std::optional<QString> written;  // the text sent to a string parameter
    bool told = false;               // a refusal before sending has shown its own message
};

// Writes one parameter (not a group) from the text of its configuration element,
// created when missing; messages unless quiet.
[[nodiscard]]
int32_t writeFromConfiguration(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry,
                               XmlNode node, XmlNode parameters, const QString& path, bool quiet,
                               WriteReport& report);

// Reads one parameter (not a group) from the device into its configuration element,
// created when missing, marking a failed read with "Status".
[[nodiscard]]
int32_t updateParameter(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry, XmlNode node,
                        XmlNode parameters, const QString& path, Host* panel);

// Small readings of a description node.
bool flagOf(XmlNode node, const char* name);               // empty or missing: false
int32_t numberOf(XmlNode node, const char* name);          // missing: 0
QString accessModeOf(XmlNode node);                        // missing: "RW"
QString childPath(const QString& path, const QString& name);  // below "." a member is its own path

// Runs body; an exception it lets out becomes the message `text` makes of its
// description (with the style given) and the result -1.
template <typename Text, typename Body>
[[nodiscard]] int32_t guarded(Host& host, int style, Text text, Body body)
{
    try {
        return body();
    } catch (const std::exception& error) {
        ShowMessage(host, text(QString::fromLocal8Bit(error.what())), style);
        return rc::Failed;
    }
}

// Whether a group's walk over its members must end after a member's result: a bus
// that is gone, or a member that cost the device its connection (a time-out closes it,
// a bus that gave up forgets every device); each further member would only wait for
// the same silence and say so again.
inline bool deviceLost(int32_t result, bool wasOnline, const DeviceEntry& entry)
{
    return result == rc::NoDevice || result == rc::CanOutOfMemory || (wasOnline && !entry.Online);
}

}  // namespace deviceaccess
