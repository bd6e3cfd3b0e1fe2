#pragma once
#include <QFile>
#include <QString>

struct AppCore;

// The log file: open while logging is on, one line per event.
class Log {
public:
    bool isOpen() const { return file_.isOpen(); }
    void open(const QString& path);
    void close() { file_.close(); }
    void writeLine(const QString& line);

private:
    QFile file_;
};

// Current date and time as the log writes it at the start of each line.
QString Log_TimeStamp();

// Opens the log file anew (on) or closes it.
void Log_Open(AppCore& app, bool on);
bool Log_IsOpen(const AppCore& app);
// Appends "date time: text" when the log is open.
void Log_Write(AppCore& app, const QString& text);
