#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>

struct InterfaceSettings;

// The serial sub-record of an interface's settings: all the RS232 transport uses.
struct ComSettings {
    int32_t ComBaud = 9600;
    int32_t ComParity = 2;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    uint8_t ComDataBits = 8;
    uint8_t ComStopBits = 1;
    int16_t ComPort = 1;
};

ComSettings comSettingsOf(const InterfaceSettings& settings);

// "none", "odd", "even", "mark", "space"; empty for other codes.
QString parityWord(int32_t parity);
// The parity the serial library is opened with: "n", "o", "e"; empty for mark,
// space and other codes.
QByteArray parityLetter(int32_t parity);

// "9600 Baud, 8, even, 1"
QString COM_SettingsText(const ComSettings& settings);
