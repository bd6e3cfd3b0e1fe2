#pragma once
#include <QString>
#include <memory>

// A pseudo-terminal pair whose slave side stands in for a serial port. The master
// side is the far end of the line; it does not block. The slave side is kept open
// here, in raw mode, so that the line stays up between the openings of a client
// and bytes sent meanwhile wait for it, as on a real line.
class PseudoTerminal {
public:
    // Null, with the reason, when the system gives no pair.
    static std::unique_ptr<PseudoTerminal> open(QString* reason = nullptr);
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    int master() const { return master_; }
    // The device path a client opens, such as /dev/pts/3.
    QString slavePath() const { return slavePath_; }

private:
    PseudoTerminal(int master, int slave, const QString& slavePath)
        : master_(master), slave_(slave), slavePath_(slavePath) {}

    int master_;
    int slave_;
    QString slavePath_;
};
