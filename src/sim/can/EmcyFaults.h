#pragma once
#include "sim/amplifier/FaultInjection.h"
#include "transport/can/lib/CanFrame.h"

#include <QString>
#include <set>
#include <vector>

// Bits of the error register (0x1001).
namespace errorregister {
constexpr uint8_t Generic = 0x01;
constexpr uint8_t Voltage = 0x04;
constexpr uint8_t Temperature = 0x08;
constexpr uint8_t Communication = 0x10;
constexpr uint8_t Manufacturer = 0x80;
}  // namespace errorregister

// A device fault as the amplifier's emergency messages report it.
struct EmcyFault {
    const char* name;          // as quelbrin-sim's commands take it
    DeviceFault fault;
    uint16_t code;             // the emergency error code
    uint8_t registerBits;      // set in the error register besides the generic bit
    const char* description;
};

// Every fault a simulated node reports, in the order the help lists them.
const std::vector<EmcyFault>& emcyFaults();
// The fault of that name, or null.
const EmcyFault* findEmcyFault(const QString& name);
const EmcyFault& emcyFaultOf(DeviceFault fault);

// The error register while these faults last: 0 for none, else the generic bit and
// the bits of each.
uint8_t errorRegisterOf(const std::set<DeviceFault>& faults);

// An emergency message: the error code (least significant byte first), the error
// register and five manufacturer bytes, zero.
CanFrame emcyFrame(uint16_t cobId, uint16_t code, uint8_t errorRegister);
