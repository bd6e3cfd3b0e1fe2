#pragma once
#include "core/xml/XmlDocument.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

struct AppState;
struct DeviceEntry;
struct InterfaceSettings;
class Host;

// Object transfers with retries, for a CAN net or (the same objects) a serial line.
// `panel` shows progress and error texts; null for none.

// Up to three attempts; an SDO abort is not retried. After the third failure every
// device counts as disconnected and -4 is returned. length: in wanted, out received.
[[nodiscard]]
int32_t SDO_ReadSync(AppState& state, const InterfaceSettings& settings, uint8_t node, uint16_t index,
                     uint8_t sub, QByteArray& buffer, int32_t& length, Host* panel);
// SDO_ReadSync at the parameter's SDO address (-8 when it has none).
[[nodiscard]]
int32_t SDO_ReadParam(AppState& state, const InterfaceSettings& settings, uint8_t node,
                      XmlNode parameter, QByteArray& buffer, int32_t& length, Host* panel);
[[nodiscard]]
int32_t SDO_ReadString(AppState& state, const InterfaceSettings& settings, uint8_t node,
                       uint16_t index, uint8_t sub, QString& text, Host* panel);
[[nodiscard]]
int32_t SDO_WriteString(AppState& state, const InterfaceSettings& settings, uint8_t node,
                        uint16_t index, uint8_t sub, const QString& text);
[[nodiscard]]
int32_t SDO_Write4(AppState& state, const InterfaceSettings& settings, uint8_t node, uint16_t index,
                   uint8_t sub, int32_t value);
// The parameter's "Communication/SDO" address: 0, or -8 when it is missing.
[[nodiscard]] int32_t SDO_GetAddress(XmlNode parameter, int32_t& index, uint8_t& sub);
// The 4 bytes of the abort code of the parameter's last refused transfer: on a CAN
// net the code the library kept, else one read (not retried) into 4 bytes, which
// after an abort hold its code; on a serial line SDO_ReadParam into 4 bytes.
[[nodiscard]]
int32_t SDO_ReadAbortCode(AppState& state, const InterfaceSettings& settings,
                          const DeviceEntry& entry, const QString& path, QByteArray& bytes,
                          int32_t& length);
