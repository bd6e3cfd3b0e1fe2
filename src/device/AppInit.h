#pragma once
#include <QString>
#include <cstdint>

struct AppState;

// Start-up: refuses a second instance (-1), fixes the language and folders, loads
// the settings and the descriptions (none: -6).
[[nodiscard]] int32_t App_Init(AppState& state);

// The folder that holds the program's data (DeviceDescription/, DevConf.xsd):
// the executable's folder in the build tree, else <prefix>/share/quelbrin.
QString App_ProgramFolder();

// The language the program is built for: "fr".
QString App_BuildLanguage();
