#pragma once
#include "transport/InterfaceSettings.h"

#include <QString>
#include <cstdint>
#include <optional>

struct AppState;
class Host;

// What the interface selection works with: the kind and that kind's values.
// baud is the CAN bit rate (kbit/s), 9600 for RS232, the DeviceNet baud code;
// devno is the PROFIBUS card number, and the COM port for RS232.
struct InterfaceChoice {
    int32_t kind = NoInterfaceKind;
    QString hwName;
    QString busName;
    int32_t baud = 0;
    int16_t pType = 0;
    int16_t devno = 0;
    bool operator==(const InterfaceChoice&) const = default;
};

// The selection's values of an interface, and an interface taking a choice: only the
// values of the chosen kind change; a serial line gets its fixed settings.
InterfaceChoice Interface_ChoiceOf(const InterfaceSettings& settings);
void Interface_TakeChoice(const InterfaceChoice& choice, InterfaceSettings& settings);

// The interface selection as the session sees it: the program shows its dialog,
// tests script the answer.
class InterfaceChooser {
public:
    virtual ~InterfaceChooser() = default;
    // Starts from `current`; the interface chosen, or nothing when the user cancels.
    virtual std::optional<InterfaceChoice> choose(const InterfaceChoice& current) = 0;
};

// The interface command: disconnects everything, lets the user choose an interface,
// connects it and scans it. The scan's result; 0 when no interface is chosen; the
// connect's result when it is not exactly 0. Cancelling keeps the interface used
// before, which is then connected again.
[[nodiscard]]
int32_t Interface_SelectAndConnect(AppState& state, InterfaceSettings& settings, InterfaceChooser& chooser,
                                   Host* panel);
