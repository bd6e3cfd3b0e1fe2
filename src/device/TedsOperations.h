#pragma once
#include "core/xml/XmlDocument.h"

#include <QString>
#include <cstdint>

struct AppState;
struct DeviceEntry;
struct InterfaceSettings;
class Host;
class TedsEditorRegistry;

// Applies the sensor's TEDS to the channel and reads the configuration again; a
// refusal is shown and logged. 0; -1 after an unexpected failure. The two texts are
// the editor's and are left as they are.
[[nodiscard]]
int32_t Device_ActivateTEDS(AppState& state, const InterfaceSettings& settings, DeviceEntry& entry,
                            XmlNode parameters, QString& errorText, QString& warningText, Host* panel);

// Starts the TEDS editor registered under TedsEditorName for the device table's
// entry deviceIndex. A device that recognizes no TEDS but reports a status gets its
// TEDS check switched off while the editor runs.
void Device_EditTEDS(AppState& state, const TedsEditorRegistry& editors, int32_t deviceIndex,
                     XmlNode parameters, int32_t userLevel, const QString& text1, const QString& text2,
                     Host* panel);
