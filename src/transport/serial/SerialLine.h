#pragma once
#include <QByteArray>
#include <cstdint>
#include <termios.h>

// The line settings a port is opened with.
struct SerialLine {
    int32_t baud = 9600;
    QByteArray parity;   // "n", "o", "e"; anything else: no parity
    int32_t dataBits = 8;
    int32_t stopBits = 1;
};

// Raw-mode terminal settings for the line (no echo, no translation, reads return
// what is there); false when the baud rate, data bits or stop bits are not possible.
bool serialTermios(const SerialLine& line, termios& settings);
// The same settings without parity, for a pseudo-terminal that refuses it.
void clearParity(termios& settings);
