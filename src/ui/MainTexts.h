#pragma once
#include <QString>
#include <cstdint>

struct InterfaceSettings;

// Texts of the main window that depend on state only.

// The window caption: title, version and release; a revision that is not a whole
// hundred marks a prerelease ("... Release 5.01 Prerelease ").
QString MainCaption(const QString& title, int major, int minor, int revision);
// What the interface state label shows for the current interface.
QString InterfaceStateText(const InterfaceSettings& settings);
// The image of a device in the device list by its interface kind; empty for none.
QString DeviceKindImage(int32_t kind);
