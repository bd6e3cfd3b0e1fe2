#include "core/Log.h"

#include "core/AppCore.h"

#include <QDateTime>
#include <QLocale>

void Log::open(const QString& path)
{
    file_.close();
    file_.setFileName(path);
    file_.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

void Log::writeLine(const QString& line)
{
    if (!file_.isOpen())
        return;
    file_.write(line.toUtf8() + "\r\n");
    file_.flush();
}

QString Log_TimeStamp()
{
    const QLocale locale;
    const QDateTime now = QDateTime::currentDateTime();
    return locale.toString(now.date(), QLocale::ShortFormat) + ' ' +
           locale.toString(now.time(), QLocale::LongFormat);
}

void Log_Open(AppCore& app, bool on)
{
    if (on)
        app.log.open(GetAppDataFolder(app) + '/' + kProductName + QStringLiteral(".log"));
    else
        app.log.close();
}

bool Log_IsOpen(const AppCore& app) { return app.log.isOpen(); }

void Log_Write(AppCore& app, const QString& text)
{
    app.log.writeLine(Log_TimeStamp() + QStringLiteral(": ") + text);
}
