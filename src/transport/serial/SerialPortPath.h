#pragma once
#include <QString>
#include <cstdint>

struct AppCore;

// The device file of COM port n: the settings key "SerialPorts/COM<n>" when it holds
// a path, else /dev/ttyS<n-1> (COM1 is the first serial port of the machine).
QString SerialPortPath(const AppCore& app, int32_t port);
