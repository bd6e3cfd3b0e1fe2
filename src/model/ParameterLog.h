#pragma once
#include "core/xml/XmlDocument.h"

#include <QString>

struct AppCore;
struct DeviceEntry;

// Appends "date time, device, Paramètre '...'[, SDO address]: text" when the log is open.
void Log_WriteParameterError(AppCore& app, const DeviceEntry& entry, XmlNode parameter,
                             const QString& text);
