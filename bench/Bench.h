#pragma once
#include <QElapsedTimer>
#include <QString>
#include <QTextStream>
#include <cstdint>

// Benchmarks print one line per figure; each suite is one function.
void benchModel();
void benchFieldbus();
void benchSerial();
void benchCan();
void benchDevice();
void benchStartup();
void benchGrid();
void benchMeasure();
void benchTools();

// Runs fn `count` times and returns the mean time per run in microseconds.
template <typename Fn>
double microsecondsPerRun(long count, Fn fn)
{
    QElapsedTimer timer;
    timer.start();
    for (long i = 0; i < count; ++i)
        fn(i);
    return double(timer.nsecsElapsed()) / 1000.0 / double(count);
}

// Says so on stderr when a set-up step fails: the figures that follow then mean nothing.
inline void expectSetUp(int32_t result, const char* step)
{
    if (result < 0)
        QTextStream(stderr) << step << " failed: " << result << Qt::endl;
}

inline void report(const QString& name, double value, const QString& unit, const QString& note = {})
{
    QTextStream(stdout) << name.leftJustified(58) << QString::number(value, 'f', 3).rightJustified(12)
                        << ' ' << unit << (note.isEmpty() ? QString() : "  (" + note + ')') << Qt::endl;
}
