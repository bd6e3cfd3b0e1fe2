#pragma once
#include "core/AppCore.h"

#include <cstdint>

class QWidget;

// Opens the help page of a topic number (HelpFolder/<topic>.html) in the program's
// help window, one window for the whole run, raised when already open. Returns 0, or
// -1 after a warning when the topic has no page; with no help folder it says
// "Aucune aide disponible !" and returns 0.
int32_t ShowHelp(AppCore& core, QWidget* owner, int32_t topic);
