#pragma once
#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

class QSocketNotifier;

// Hands each line of the standard input to a handler, on the event loop's thread,
// without ever blocking it. The end of the input (or none at all: closed, /dev/null)
// only ends the reading.
class ConsoleInput {
public:
    using Handler = std::function<void(const QString& line)>;

    explicit ConsoleInput(Handler handler);
    ~ConsoleInput();
    ConsoleInput(const ConsoleInput&) = delete;
    ConsoleInput& operator=(const ConsoleInput&) = delete;

private:
    void readAvailable();
    void handleLines();

    Handler handler_;
    QByteArray pending_;   // the start of a line not ended yet
    std::unique_ptr<QSocketNotifier> notifier_;
};
