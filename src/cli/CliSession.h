#pragma once
#include "core/xml/XmlDocument.h"
#include "device/DeviceContext.h"
#include "transport/AppState.h"

#include <cstdint>

class Host;

// The program's state for one run of the front end: start-up as the program does
// it, then the interface, the scan and the device the command works with. Leaving
// disconnects every device (each may ask its save question) and closes the interface.
class CliSession {
public:
    explicit CliSession(Host& host);
    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    // Settings, descriptions and bus libraries; false after a message.
    bool start();
    // Opens the interface; false after a message.
    bool connectInterface(const InterfaceSettings& interface);
    // Scans the open interface; false after a message (also when nothing answers).
    bool scan();
    // Both: opens the interface and scans it.
    bool connectAndScan(const InterfaceSettings& interface);
    // Whether the scan found device n; false after a message.
    bool deviceExists(int32_t n) const;
    // Connects device n of the scan and reads its whole configuration; false after a message.
    bool connectDevice(int32_t n);
    // All three: start, connect and scan the interface, connect device n.
    bool openDevice(const InterfaceSettings& interface, int32_t n);

    AppState& state() { return state_; }
    InterfaceSettings& settings() { return state_.CurrentInterface; }
    Host& host() { return host_; }
    // The device connected last; valid after connectDevice.
    DeviceContext device();
    // The schema of configuration documents, empty when the program has none.
    QString configurationSchema() const;

private:
    Host& host_;
    AppState state_;
    XmlNode parameters_;
};

// One line to standard error, for what only the front end has to say.
void cliError(const QString& text);
