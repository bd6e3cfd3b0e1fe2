#include "cli/ConsoleHost.h"

#include <QCoreApplication>
#include <QThread>

namespace {

constexpr int ButtonSetMask = 0x7;

// Messages are built with CR LF between their lines.
QString consoleLines(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

ConsoleHost::ConsoleHost(int answer, bool verbose) : answer_(answer), verbose_(verbose), err_(stderr) {}

int ConsoleHost::showMessage(const QString& text, int style)
{
    err_ << consoleLines(text) << Qt::endl;
    if ((style & ButtonSetMask) == msg::Ok)
        return msg::Yes;
    err_ << (answer_ == msg::Yes ? "(answered yes)" : "(answered no)") << Qt::endl;
    return answer_;
}

void ConsoleHost::setStatusText(const QString& text)
{
    if (verbose_ && !text.isEmpty())
        err_ << text << Qt::endl;
}

void ConsoleHost::processEvents()
{
    QCoreApplication::processEvents();
}

void ConsoleHost::sleepMs(int ms)
{
    QThread::msleep(ulong(ms));
}
