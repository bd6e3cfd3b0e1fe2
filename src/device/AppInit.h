#pragma once
#include <QString>
#include <cstdint>

struct AppState;

// Start-up: refuses a second instance (-1), fixes the language and folders, loads
// the settings and the descriptions (none: -6).
int32_t App_Init(AppState& state);

// The language the program is built for: "fr".
QString App_BuildLanguage();
