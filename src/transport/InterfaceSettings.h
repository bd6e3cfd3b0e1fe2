#pragma once
#include "core/DeviceEntry.h"

#include <QString>
#include <cstdint>

// The value record of one interface: its kind and the bus parameters of that kind.
struct InterfaceSettings {
    int32_t InterfaceType = NoInterfaceKind;
    QString HWName;           // CAN hardware
    QString BusName;          // CAN net
    int32_t BaudRate = 0;     // CAN bit rate, kbit/s
    int16_t PType = 0;        // PROFIBUS master (card) type
    int16_t Devno = 0;        // PROFIBUS card device number
    int32_t ComBaud = 9600;
    int32_t ComParity = 2;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    uint8_t ComDataBits = 8;
    uint8_t ComStopBits = 1;
    int16_t ComPort = 1;      // COM port number
    int32_t DeviceNetBaud = 0;  // 0 500k, 1 250k, 2 125k
    bool Connected = false;
};
