#pragma once
#include <QString>
#include <memory>

// A symbolic link to the simulator's pseudo-terminal for as long as it serves: the
// terminal's own path changes from run to run, a COM port setting can keep the link's.
class TerminalLink {
public:
    // Makes `link` point at `terminal`. An existing symbolic link is replaced; any other
    // file there is left alone and refused with a message.
    static std::unique_ptr<TerminalLink> make(const QString& link, const QString& terminal, QString* message);
    // Removes the link when it still points at the terminal.
    ~TerminalLink();

private:
    TerminalLink(const QString& link, const QString& terminal) : link_(link), terminal_(terminal) {}
    QString link_;
    QString terminal_;
};
