#pragma once
#include "core/DeviceEntry.h"
#include "core/xml/XmlDocument.h"
#include "transport/InterfaceSettings.h"
#include "transport/profibus/ProfibusLibrary.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

struct AppState;

// The PROFIBUS DPV1 class 2 transport over the library in state.buses.profibus. The
// card is the settings' PType and Devno; every transfer waits up to 3000 ms and hands
// the library a zeroed diagnostic buffer. Without a library every call gives -16002
// (driver unavailable). Results are the library's: >= 0 success, negative failure.

inline ProfibusCard DPV1_Card(const InterfaceSettings& settings)
{
    return {settings.PType, settings.Devno};
}

// Interface_Connect, PROFIBUS: PROFI_C2Init. Sets settings.Connected; a failure shows
// "Erreur<result> lors de la connexion avec la carte PROFIBUS : '<text>'".
[[nodiscard]] int32_t DPV1_OpenCard(AppState& state, InterfaceSettings& settings);
// Interface_Disconnect, PROFIBUS: PROFI_C2Close.
void DPV1_CloseCard(AppState& state, const InterfaceSettings& settings);
// Device_Open: releases a connection left open, then connects; the connect's result.
[[nodiscard]] int32_t DPV1_ConnectStation(AppState& state, const InterfaceSettings& settings, uint8_t station);
// Device_Close: PROFI_C2Disconnect; its result.
[[nodiscard]] int32_t DPV1_DisconnectStation(AppState& state, const InterfaceSettings& settings, uint8_t station);

// The parameter's "Communication/DPV1" slot and index: 0, or -8 when one is missing.
[[nodiscard]] int32_t DPV1_GetAddress(XmlNode parameter, uint8_t& slot, uint8_t& index);

// Typed reads and writes at the parameter's address (-8 without a transfer when it
// has none). A failed read leaves the value 0.
[[nodiscard]]
int32_t DPV1_ReadInt8(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode parameter,
                      uint8_t& value);
[[nodiscard]]
int32_t DPV1_ReadInt16(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode parameter,
                       int16_t& value);
[[nodiscard]]
int32_t DPV1_ReadInt32(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode parameter,
                       int32_t& value);
[[nodiscard]]
int32_t DPV1_ReadFloat(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode parameter,
                       float& value);
[[nodiscard]]
int32_t DPV1_WriteInt8(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode parameter,
                       uint8_t value);
[[nodiscard]]
int32_t DPV1_WriteInt16(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode parameter,
                        int16_t value);
[[nodiscard]]
int32_t DPV1_WriteInt32(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode parameter,
                        int32_t value);
[[nodiscard]]
int32_t DPV1_WriteFloat(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode parameter,
                        float value);

// PROFI_C2Read of up to `length` bytes at the parameter's address; on success the
// result, `length` and the buffer's size are the bytes read.
[[nodiscard]]
int32_t DPV1_ReadBytes(AppState& state, const InterfaceSettings& settings, uint8_t station, XmlNode parameter,
                       QByteArray& buffer, int32_t& length);
// Reads up to maxLength bytes as text (up to the first NUL, blanks trimmed); empty on
// failure. Note the order: index before slot.
[[nodiscard]]
int32_t DPV1_ReadString(AppState& state, const InterfaceSettings& settings, uint8_t station, uint8_t index,
                        uint8_t slot, QString& text, int32_t maxLength);
// PROFI_C2Write of the first `length` bytes (a 256-byte TEDS block among them); a
// length outside the buffer gives -13 without a transfer.
[[nodiscard]]
int32_t DPV1_WriteBytes(AppState& state, const InterfaceSettings& settings, uint8_t station, uint8_t slot,
                        uint8_t index, const QByteArray& bytes, int32_t length);
// One byte per character, NUL-terminated in the buffer; the length passed is the
// number of characters (a longer text is cut to 255).
[[nodiscard]]
int32_t DPV1_WriteString(AppState& state, const InterfaceSettings& settings, uint8_t station, uint8_t slot,
                         uint8_t index, const QString& text);

// The stations on the bus, into `found` (indexed from 1, slot 0 empty), each a
// PROFIBUS entry with its Address. A Hilscher card (type 10) reports its station list;
// any other card is probed by connecting to stations 1..126 (each connection is
// released again). Returns the count, -3 when the settings are not PROFIBUS, or the
// failed scan's result (after "Erreur '<text>' lors du scan d'appareils !").
[[nodiscard]] int32_t DPV1_Scan(AppState& state, const InterfaceSettings& settings, std::vector<DeviceEntry>& found);

// "Erreur inconnue <result>" for codes the table does not know.
QString DPV1_ErrorText(int32_t result);
// The card's master type: SIEMENS (2), Hilscher (10), else empty.
QString DPV1_MasterTypeText(int32_t type);
