#pragma once

// One device operation at a time. Every command, device choice and timer tick of the
// main window enters the guard before it talks to a device; while an operation runs
// (its waits let the window repaint and timers tick) the others find the guard taken
// and do nothing.
class OperationGuard {
public:
    bool busy() const { return busy_; }

    // Holds the guard while alive, when it was free; test with `if (!scope) return;`.
    class Scope {
    public:
        explicit Scope(OperationGuard& guard) : guard_(guard), entered_(!guard.busy_) { guard_.busy_ = true; }
        ~Scope()
        {
            if (entered_)
                guard_.busy_ = false;
        }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        explicit operator bool() const { return entered_; }

    private:
        OperationGuard& guard_;
        bool entered_;
    };

private:
    bool busy_ = false;
};
