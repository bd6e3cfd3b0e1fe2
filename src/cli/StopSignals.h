#pragma once

// SIGINT and SIGTERM end a long-running command (watch, monitor) after its current
// step, so that the devices are left cleanly.
void stopOnSignals();
bool stopRequested();
