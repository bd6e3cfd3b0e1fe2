#pragma once
#include "core/xml/XmlDocument.h"

#include <QString>
#include <cstdint>
#include <vector>

struct AppState;
struct DeviceEntry;
struct InterfaceSettings;
class Host;

// The CANopen process-data objects of a device on the CAN net, addressed through its
// description: "PDO/Mappings/Send<n>" and "PDO/Mappings/Recv<n>" are the entry-count
// sub-indices of the mapping objects, the entries follow at the next sub-indices.

// Path of the mapping object of transmit (send) or receive PDO n (from 1).
QString PDO_MappingPath(bool send, int n);

// The COB-ID and transmission type of transmit PDO n: -5 off the CAN net, -8 without
// an SDO address; a value that cannot be read is 0.
[[nodiscard]]
int32_t PDO_ReadSendParameters(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry, int n,
                               int32_t& cobId, uint8_t& transmissionType, Host* panel);
// The mapping entries of a mapping object: their count, or a negative result. An entry
// that cannot be read stays 0.
[[nodiscard]]
int32_t PDO_ReadMapping(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry,
                        const QString& mappingPath, std::vector<uint32_t>& entries, Host* panel);
// Gives the mapping object the entries of a predefined mapping ("Items"), after the
// user's confirmation: PDO operation is switched off, the count is set to 0, the
// entries are written, then the count; then PDO operation is restored. 0, 3 declined,
// or the first failed write.
[[nodiscard]]
int32_t PDO_WriteMapping(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry, XmlNode parameters,
                         const QString& mappingPath, XmlNode predefined, Host* panel);

// The words for a transmission type; "" for the reserved ones.
QString PDO_TransferModeText(int value);
// "1600 (hex), 1, 8; ..." or "Non utilisé" without entries.
QString PDO_MappingText(const std::vector<uint32_t>& entries);
// "CAN-ID.:185 (hex), Mode de transmission : ..."
QString PDO_SendParametersText(int32_t cobId, uint8_t transmissionType);
