#pragma once
#include <functional>

// A bus wait on the window's thread (an SDO time-out, a silent serial line) would
// freeze the window for seconds. The window program installs a pump on its thread;
// such waits then run in short slices and let the pump repaint between them (the
// operation guard keeps the handlers it runs from starting device work). Other
// threads, and programs without a pump, wait in one piece.
namespace waitpump {

constexpr int SliceMs = 30;

// Installs pump on the calling thread; an empty function removes it.
void install(std::function<void()> pump);

// Waits up to timeoutMs through waitSlice(ms), which returns true once the awaited
// thing happened. Between slices: beforePump, the pump, afterPump (a caller holding a
// lock releases it around the pump). Returns the last waitSlice result.
bool sliced(int timeoutMs, const std::function<bool(int ms)>& waitSlice,
            const std::function<void()>& beforePump = {}, const std::function<void()>& afterPump = {});

}  // namespace waitpump
