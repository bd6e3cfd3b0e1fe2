#pragma once
#include "core/xml/XmlDocument.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <cstdint>

struct AppState;
struct DeviceEntry;
struct InterfaceSettings;
class Host;

// Typed reads of one device parameter by path, through the transport of the
// device's interface kind. `panel` shows progress and errors (null: none).
// A time-out closes the device's connection; "no device" marks it offline.
[[nodiscard]]
int32_t Device_GetByte(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                       const QString& path, uint8_t& value, Host* panel = nullptr);
[[nodiscard]]
int32_t Device_GetShort(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                        const QString& path, int16_t& value, Host* panel = nullptr);
[[nodiscard]]
int32_t Device_GetLong(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                       const QString& path, int32_t& value, Host* panel = nullptr);
[[nodiscard]]
int32_t Device_GetFloat(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                        const QString& path, float& value, Host* panel = nullptr);
[[nodiscard]]
int32_t Device_GetString(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                         const QString& path, QString& value, Host* panel = nullptr);
// bytes is sized to "MaxLen" (4096 when missing); length is the count received.
[[nodiscard]]
int32_t Device_GetHexBinary(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                            const QString& path, QByteArray& bytes, int32_t& length,
                            Host* panel = nullptr);
[[nodiscard]]
int32_t Device_GetDate(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                       const QString& path, QDate& value, Host* panel = nullptr);
[[nodiscard]]
int32_t Device_GetToggle(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                         const QString& path, bool& value, Host* panel = nullptr);
[[nodiscard]]
int32_t Device_GetBitMask(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                          const QString& path, int32_t width, int32_t& value, Host* panel = nullptr);

// Typed writes to a parameter whose description node is already known.
[[nodiscard]]
int32_t Device_SetByte(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry,
                       XmlNode node, uint8_t value);
[[nodiscard]]
int32_t Device_SetShort(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry,
                        XmlNode node, int16_t value);
[[nodiscard]]
int32_t Device_SetLong(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry,
                       XmlNode node, int32_t value);
[[nodiscard]]
int32_t Device_SetFloat(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry,
                        XmlNode node, float value);

// Writes the value the configuration holds for the path (or every writable member
// of a group) to the device: 0, 2 reload everything, or a failure after which the
// path has been read back. `quiet` suppresses the messages.
[[nodiscard]]
int32_t DeviceSetValue(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                       XmlNode parameters, const QString& path, Host* panel, bool quiet);
// Triggers an action parameter: 0, 2 reload, 3 declined, -100, -2.
[[nodiscard]]
int32_t Device_ExecuteAction(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                             const QString& path, Host* panel);
// Reads the parameter, or the whole group, at the path from the device into the
// configuration, marking failed reads with a "Status" attribute.
[[nodiscard]]
int32_t Conf_UpdateValue(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                         XmlNode parameters, const QString& path, Host* panel);
// Conf_UpdateValue after a write or an action, so that the configuration holds again
// what the device holds. Its result is not wanted: a read that fails stays marked on
// its element, and the caller reports the result of the write or action itself.
void readBackIntoConfiguration(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                               XmlNode parameters, const QString& path, Host* panel);

// The bus connection of one device.
[[nodiscard]]
int32_t Device_Open(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                    Host* panel);
[[nodiscard]]
int32_t Device_Close(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                     Host* panel);
