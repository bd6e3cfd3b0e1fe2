#pragma once
#include "core/ResultCodes.h"

#include <QString>
#include <cstdint>

struct DeviceContext;

// The measurement is read every 500 ms.
constexpr int MeasureTickMs = 500;
// The value a tick gives while the device reports an error, as it is recorded.
constexpr float ErrorSample = 1e20f;

// What one tick of the measurement shows; the main window paints it, the command
// line prints it.
struct TickDisplay {
    int32_t result = rc::Ok;   // negative: a read failed and the measurement stops (after its message)
    uint8_t statusShort = 0;   // the status bits of "Measurement/StatusShort"
    float value = 0;           // the gross or net value; ErrorSample while the status shows an error
    QString text;              // "Erreur", or the value with the configured decimals and unit
};

// One tick: reads the status and the standard signal (net or gross) of the device.
TickDisplay measureTick(DeviceContext& device);
