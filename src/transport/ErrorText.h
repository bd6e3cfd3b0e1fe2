#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>

struct AppState;
struct DeviceEntry;
struct InterfaceSettings;

// The French words for a result code. For an SDO abort the parameter is read once
// more to learn the abort code; the device and path serve only that.
QString ErrorText(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry,
                  int32_t code, const QString& path);
// The words for a result code that needs no device to explain it; the decimal code
// when there are none (the operation that returned it has told the user).
QString resultCodeText(int32_t code);
// The words for an SDO abort given the bytes of its code (least significant first):
// "Erreur CiA : '" + its text + "'", or the bus error words when there are fewer than 4.
QString abortErrorText(const QByteArray& bytes, int32_t length);
