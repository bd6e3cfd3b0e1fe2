#pragma once

class OperationGuard;
class QObject;

// Deletes a closed window once no device operation runs. The net may close a window
// while one of its own handlers waits on the bus or shows a message further down the
// stack, and a nested event loop would carry out a plain deleteLater under it.
void deleteWhenIdle(QObject* window, const OperationGuard& guard);
