#include "sim/can/EmcyFaults.h"

#include <algorithm>

namespace {
using namespace errorregister;

const std::vector<EmcyFault> Faults = {
    // Beyond the measuring range: device specific, no standard class is about a measuring input.
    {"overload", DeviceFault::InputOverload, 0xFF01, Manufacturer, "input signal beyond the measuring range"},
    // The sensor and its cable are outside the amplifier: external error.
    {"sensor-break", DeviceFault::SensorBreak, 0x9000, 0, "sensor or sensor cable broken"},
    // The excitation is the voltage the amplifier puts out to the bridge: output voltage.
    {"excitation", DeviceFault::Excitation, 0x3300, Voltage, "bridge excitation out of tolerance"},
    // The supply: mains voltage.
    {"supply", DeviceFault::SupplyLow, 0x3100, Voltage, "supply voltage too low"},
    // Excess temperature of the device itself.
    {"temperature", DeviceFault::Overheating, 0x4210, Temperature, "device temperature too high"},
    // CAN overrun: received messages lost.
    {"overrun", DeviceFault::CanOverrun, 0x8110, Communication, "CAN messages lost (controller overrun)"},
    {"error-passive", DeviceFault::CanErrorPassive, 0x8120, Communication, "CAN controller error passive"},
};

}  // namespace

const std::vector<EmcyFault>& emcyFaults()
{
    return Faults;
}

const EmcyFault* findEmcyFault(const QString& name)
{
    const auto found = std::find_if(Faults.begin(), Faults.end(),
                                    [&](const EmcyFault& fault) { return name == QLatin1String(fault.name); });
    return found == Faults.end() ? nullptr : &*found;
}

const EmcyFault& emcyFaultOf(DeviceFault fault)
{
    return *std::find_if(Faults.begin(), Faults.end(), [fault](const EmcyFault& row) { return row.fault == fault; });
}

uint8_t errorRegisterOf(const std::set<DeviceFault>& faults)
{
    uint8_t bits = 0;
    for (const DeviceFault fault : faults)
        bits |= Generic | emcyFaultOf(fault).registerBits;
    return bits;
}

CanFrame emcyFrame(uint16_t cobId, uint16_t code, uint8_t errorRegister)
{
    CanFrame frame = CanFrame::make(cobId, {uint8_t(code & 0xFF), uint8_t(code >> 8), errorRegister});
    frame.length = uint8_t(frame.data.size());
    return frame;
}
