#include "simtool/ConsoleInput.h"

#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr int StandardInput = 0;
constexpr int ChunkBytes = 4096;
}  // namespace

ConsoleInput::ConsoleInput(Handler handler) : handler_(std::move(handler))
{
    if (::fcntl(StandardInput, F_GETFD) == -1)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(StandardInput, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readAvailable(); });
}

ConsoleInput::~ConsoleInput() = default;

// One read per wake-up: the notifier said it does not block.
void ConsoleInput::readAvailable()
{
    char chunk[ChunkBytes];
    const ssize_t got = ::read(StandardInput, chunk, sizeof chunk);
    if (got < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (got <= 0) {
        notifier_->setEnabled(false);
        if (!pending_.isEmpty())
            pending_ += '\n';   // the last line, unended
    } else {
        pending_.append(chunk, got);
    }
    handleLines();
}

void ConsoleInput::handleLines()
{
    qsizetype end;
    while ((end = pending_.indexOf('\n')) >= 0) {
        const QString line = QString::fromUtf8(pending_.left(end));
        pending_.remove(0, end + 1);
        handler_(line);
    }
}
