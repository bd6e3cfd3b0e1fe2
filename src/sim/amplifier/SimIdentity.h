#pragma once
#include <QString>
#include <cstdint>

// Who a simulated amplifier is on the bus.
struct SimIdentity {
    uint32_t vendorId = 0;
    uint32_t productId = 0;
    QString serialNumber;
    uint8_t nodeId = 1;
    uint32_t revision = 0x00010000;
    uint32_t deviceType = 0x00000194;  // CiA 404, measuring devices
    QString deviceName;                // empty: taken from the description
};
