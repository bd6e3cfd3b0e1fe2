#pragma once
#include "sim/serial/PseudoTerminal.h"

#include <QString>
#include <memory>
#include <thread>

class SimAmplifier;
class SerialRequestParser;
struct SerialRequest;

// One simulated amplifier on a serial line: serves the request frames that arrive
// on the master side of a pseudo-terminal pair, from its own thread, until it is
// destroyed. A silent amplifier reads the requests and answers nothing; a delayed
// one answers after its delay.
class SerialFrameServer {
public:
    // A line falling quiet this long in the middle of a frame drops the frame.
    static constexpr int IdleGapMs = 20;

    // Null, with the reason, when no pseudo-terminal can be had.
    static std::unique_ptr<SerialFrameServer> start(SimAmplifier& amplifier, QString* reason = nullptr);
    ~SerialFrameServer();
    SerialFrameServer(const SerialFrameServer&) = delete;
    SerialFrameServer& operator=(const SerialFrameServer&) = delete;

    // The terminal a client opens as its serial port.
    QString slavePath() const { return terminal_->slavePath(); }

private:
    SerialFrameServer(SimAmplifier& amplifier, std::unique_ptr<PseudoTerminal> terminal, int stopRead,
                      int stopWrite);

    void run();
    // Waits for the line (or the stop signal) to become ready for `events`;
    // false on stop, time-out (timeoutMs >= 0) and failure.
    bool waitForLine(short events, int timeoutMs) const;
    bool stopRequested() const;
    void receive(SerialRequestParser& parser);
    void serve(const SerialRequest& request);
    void send(const QByteArray& frame);

    SimAmplifier& amplifier_;
    std::unique_ptr<PseudoTerminal> terminal_;
    int stopRead_;
    int stopWrite_;
    std::thread thread_;
};
