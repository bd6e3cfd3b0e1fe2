#pragma once
#include "core/ResultCodes.h"

#include <QString>
#include <array>
#include <cstdint>

struct DeviceContext;

// The measurement is read every 500 ms.
constexpr int MeasureTickMs = 500;
// The value a tick gives while the device reports an error, as it is recorded.
constexpr float ErrorSample = 1e20f;

// Colours of the value as stored colour values (red in the low byte).
enum class ValueColour : uint32_t { None = 0, Red = 255, Green = 65280, Yellow = 65535 };

// Images of the lamps, by name.
struct Lamps {
    std::array<QString, 4> limits;    // "ImageLIV" 0..3
    std::array<QString, 2> span;      // "ImageSpan" 0 ("Début") and 1 ("Fin")
    QString input;                    // "ImageDI"
    std::array<QString, 2> outputs;   // "ImageDO" 0 and 1
};
Lamps lampsFor(uint8_t statusShort, uint32_t statusLong, uint32_t inputOutput);

// What one tick of the measurement shows; the main window paints it, the command
// line prints it.
struct TickDisplay {
    int32_t result = rc::Ok;   // negative: a read failed and the measurement stops (after its message)
    uint32_t statusLong = 0;
    uint8_t statusShort = 0;
    uint32_t inputOutput = 0;  // "DigitalIO/InputOutputLevel"; 0 when unread
    float value = 0;           // the gross or net value; ErrorSample while the status shows an error
    QString text;              // "Erreur", or the value with the configured decimals and unit
    QString format;            // "0", "0.00"...; "" while the status shows an error
    QString unit;              // the configured unit ("" without a configuration)
    ValueColour colour = ValueColour::None;
    Lamps lamps;
};

// The decimals the configuration text of "Scaling/DecimalPointPos" asks for, within
// what a float can show (a bad document may ask for anything).
int configuredDecimals(const QString& text);

// The status, the standard signal (net or gross) and the digital levels of the
// device, and what they show. A failed read has shown its message.
TickDisplay measureTick(DeviceContext& device);

// The sensor's TEDS as the device reports it.
struct TedsState {
    uint8_t hasTeds = 0;
    uint8_t active = 0;
    uint32_t errorStatus = 0;
    bool operator==(const TedsState&) const = default;
};

// Reads whether a TEDS is present and, when it is, its state. A failed read has
// shown its message and is the result (hasTeds stays 0 when the presence itself
// was unread); 0 otherwise.
int32_t readTedsState(DeviceContext& device, TedsState& teds);

// A value in a recording or display format: "" the general number form ("1E+20"),
// "0" no decimals, "0." and n zeros n decimals; "." is always the separator.
QString formatValue(double value, const QString& format);
