#include "sim/serial/SerialFrameServer.h"

#include "sim/amplifier/SimAmplifier.h"
#include "sim/serial/SerialReply.h"
#include "sim/serial/SerialRequestParser.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

std::unique_ptr<SerialFrameServer> SerialFrameServer::start(SimAmplifier& amplifier, QString* reason)
{
    std::unique_ptr<PseudoTerminal> terminal = PseudoTerminal::open(reason);
    if (!terminal)
        return nullptr;
    int stop[2];
    if (pipe2(stop, O_CLOEXEC) != 0) {
        if (reason)
            *reason = QString::fromLocal8Bit(std::strerror(errno));
        return nullptr;
    }
    return std::unique_ptr<SerialFrameServer>(
        new SerialFrameServer(amplifier, std::move(terminal), stop[0], stop[1]));
}

SerialFrameServer::SerialFrameServer(SimAmplifier& amplifier, std::unique_ptr<PseudoTerminal> terminal,
                                     int stopRead, int stopWrite)
    : amplifier_(amplifier), terminal_(std::move(terminal)), stopRead_(stopRead), stopWrite_(stopWrite)
{
    thread_ = std::thread([this] { run(); });
}

SerialFrameServer::~SerialFrameServer()
{
    const char stop = 0;
    [[maybe_unused]] const ssize_t written = ::write(stopWrite_, &stop, 1);
    thread_.join();
    ::close(stopRead_);
    ::close(stopWrite_);
}

void SerialFrameServer::run()
{
    SerialRequestParser parser;
    while (!stopRequested()) {
        if (waitForLine(POLLIN, parser.pending() ? IdleGapMs : -1))
            receive(parser);
        else
            parser.reset();
        while (const std::optional<SerialRequest> request = parser.next())
            serve(*request);
    }
}

bool SerialFrameServer::waitForLine(short events, int timeoutMs) const
{
    pollfd watch[2] = {{terminal_->master(), events, 0}, {stopRead_, POLLIN, 0}};
    int ready = 0;
    do {
        ready = poll(watch, 2, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    return ready > 0 && watch[1].revents == 0 && (watch[0].revents & events);
}

bool SerialFrameServer::stopRequested() const
{
    pollfd watch{stopRead_, POLLIN, 0};
    return poll(&watch, 1, 0) > 0;
}

void SerialFrameServer::receive(SerialRequestParser& parser)
{
    char chunk[1024];
    const ssize_t count = ::read(terminal_->master(), chunk, sizeof chunk);
    if (count > 0)
        parser.feed(QByteArray(chunk, qsizetype(count)));
}

void SerialFrameServer::serve(const SerialRequest& request)
{
    if (amplifier_.isSilent())
        return;
    const int delayMs = amplifier_.answerDelayMs();
    if (delayMs > 0) {
        pollfd watch{stopRead_, POLLIN, 0};
        poll(&watch, 1, delayMs);  // cut short by a stop
    }
    send(serialReply(amplifier_, request));
}

void SerialFrameServer::send(const QByteArray& frame)
{
    qsizetype sent = 0;
    while (sent < frame.size()) {
        const ssize_t done =
            ::write(terminal_->master(), frame.constData() + sent, size_t(frame.size() - sent));
        if (done > 0)
            sent += done;
        else if (!waitForLine(POLLOUT, -1))
            return;  // stopped
    }
}
