#pragma once

// Makes SIGINT and SIGTERM end the application's event loop, so that the program
// leaves its buses cleanly. Call once, with the application created.
void quitOnTerminationSignals();
