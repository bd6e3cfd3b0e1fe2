#pragma once
#include <QString>
#include <cstdint>

// Kinds of interface a device can be reached through.
enum InterfaceKind : int32_t {
    NoInterfaceKind = 0,
    CANBus = 1,
    PROFIBUS = 2,
    RS232 = 4,
    DeviceNet = 5,
};

// One device found on the current interface; copied whole when the scan takes it.
struct DeviceEntry {
    QString Name;               // channel name, set when "Common/ChannelName" is written
    QString SerialNumber;       // empty when it could not be read
    int32_t InterfaceKind = NoInterfaceKind;
    int32_t NodeId = 0;         // CANopen node ID
    int32_t Address = 0;        // PROFIBUS station address
    uint8_t MacId = 0;          // DeviceNet MAC ID
    bool Online = false;        // the device's connection is open
    int32_t DescriptionIndex = 0;  // index into the loaded descriptions
};

// The device's label in lists and messages, by interface kind.
QString Device_GetLabel(const DeviceEntry& entry);
