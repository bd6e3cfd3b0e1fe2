#pragma once
#include "sim/amplifier/ObjectDictionary.h"
#include "sim/amplifier/SimIdentity.h"

namespace stdobj {
constexpr uint16_t DeviceType = 0x1000;
constexpr uint16_t ErrorRegister = 0x1001;
constexpr uint16_t ErrorField = 0x1003;   // pre-defined error field
constexpr uint16_t DeviceName = 0x1008;
constexpr uint16_t EmcyCobId = 0x1014;
constexpr uint16_t HeartbeatTime = 0x1017;   // producer heartbeat time, ms
constexpr uint16_t Identity = 0x1018;
constexpr uint16_t FirstRpdoComm = 0x1400;
constexpr uint16_t FirstRpdoMapping = 0x1600;
constexpr uint16_t FirstTpdoComm = 0x1800;
constexpr uint16_t FirstTpdoMapping = 0x1A00;
constexpr uint16_t PdoIndexSpan = 0x200;    // indices per PDO object family
constexpr int DefaultPdoCount = 4;          // PDOs 1 to 4 exist even if not described
constexpr int MaxMappedObjects = 8;
constexpr uint8_t DefaultRpdoType = 255;
constexpr uint8_t DefaultTpdoType = 254;
}  // namespace stdobj

// Gives the identity, device type and device name to the standard objects
// 0x1000, 0x1008 and 0x1018 (adding those the description lacks) and to the
// parameters "Common/VendorID", "Common/ProductID" and "Common/SerialNumber".
void applyIdentity(ObjectDictionary& dictionary, const SimIdentity& identity);

// Adds the PDO communication (0x1400.., 0x1800..) and mapping (0x1600.., 0x1A00..)
// objects the description lacks, for PDOs 1 to 4 and every PDO it describes.
void addPdoObjects(ObjectDictionary& dictionary, uint8_t nodeId);

// Adds the EMCY COB-ID (0x1014, 0x80 + node) and the producer heartbeat time (0x1017,
// off) when the description lacks them; a described heartbeat time keeps its value.
void addErrorControlObjects(ObjectDictionary& dictionary, uint8_t nodeId);

bool isPdoMapping(uint16_t index);
bool isPdoCommunication(uint16_t index);
// Communication profile area, stored by the communication store action.
bool isCommunicationObject(uint16_t index);

// Sets an entry's bytes from a number or a text, as its kind holds them.
void setEntryValue(ObjectEntry& entry, double number, const QString& text);
