#pragma once
#include "core/DeviceEntry.h"
#include "core/xml/XmlDocument.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

struct AppState;
struct InterfaceSettings;
class Description;

// The DeviceNet transport over the library in state.buses.devicenet. Transfers wait
// up to 3000 ms and return the mapped status (DNET_MapStatus); without a library they
// give -3.

// Interface_Connect, DeviceNet: InitHW(DeviceNetBaud). Sets settings.Connected; a
// failure shows "Erreur<result> lors de l'ouverture de l'interface DeviceNet".
[[nodiscard]] int32_t DNET_OpenInterface(AppState& state, InterfaceSettings& settings);
// Interface_Disconnect, DeviceNet: AbortHW.
void DNET_CloseInterface(AppState& state);
// The selection dialog's probe: AbortHW, InitHW(2), and when that gives 0, AbortHW
// again and true.
bool DNET_HardwarePresent(AppState& state);
// Device_Open and Device_Close: InitDevice(MAC ID, 0) and AbortDevice; the library's result.
[[nodiscard]] int32_t DNET_OpenDevice(AppState& state, uint8_t macId);
[[nodiscard]] int32_t DNET_CloseDevice(AppState& state, uint8_t macId);

// A library status as a result code: the low 8 bits s; 0 and 1 give 0, 4 gives -101
// (read-only), 203 gives -103 (unknown parameter), any other s is returned as it is.
[[nodiscard]] int32_t DNET_MapStatus(int32_t status);

// The parameter's "Communication/DeviceNet" class, instance and attribute: 0, or -8
// when one is missing; a class of 0 gives 0 without reading the others.
[[nodiscard]] int32_t DNET_GetAddress(XmlNode parameter, uint8_t& classId, uint8_t& instance, uint8_t& attribute);

// 1, 2 or 4 bytes, least significant first; a float travels as its bit pattern. The
// value is 0 unless the read succeeds.
[[nodiscard]]
int32_t DNET_Read1(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                   uint8_t& value);
[[nodiscard]]
int32_t DNET_Read2(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                   int16_t& value);
[[nodiscard]]
int32_t DNET_Read4(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                   int32_t& value);
[[nodiscard]]
int32_t DNET_Read4(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                   float& value);
[[nodiscard]]
int32_t DNET_Write1(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                    uint8_t value);
[[nodiscard]]
int32_t DNET_Write2(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                    int16_t value);
[[nodiscard]]
int32_t DNET_Write4(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                    int32_t value);
[[nodiscard]]
int32_t DNET_Write4(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                    float value);

// ParameterReadARR of up to `length` bytes: a negative result mapped, else the length
// read (also in `length` and the buffer's size).
[[nodiscard]]
int32_t DNET_ReadBytes(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                       QByteArray& buffer, int32_t& length);
// ParameterWriteARR of the first `length` bytes.
[[nodiscard]]
int32_t DNET_WriteBytes(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                        const QByteArray& bytes, int32_t length);
// Reads 256 bytes at most; the text is the first maxLength of them up to the first
// NUL, blanks trimmed; empty on failure.
[[nodiscard]]
int32_t DNET_ReadString(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                        QString& text, int32_t maxLength);
// One byte per character, no NUL; a negative library result is logged.
[[nodiscard]]
int32_t DNET_WriteString(AppState& state, uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                         const QString& text);

// Probes MAC IDs 0 to 62 (never 63) with a 100 ms read of the description's
// "Common/VendorID"; every MAC ID whose read gives 0 becomes a DeviceNet entry of
// `found` (indexed from 1, slot 0 empty). Returns the count, -3 when the settings are
// not DeviceNet, or the failed lookup of the vendor ID's address.
[[nodiscard]]
int32_t DNET_Scan(AppState& state, const InterfaceSettings& settings, const Description* description,
                  std::vector<DeviceEntry>& found);

// "500kBaud", "250kBaud", "125kBaud" for codes 0 to 2, else "unknown baudrate".
QString DNET_BaudText(int32_t code);
