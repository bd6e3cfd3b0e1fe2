#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>

struct AppState;
struct DeviceEntry;
struct InterfaceSettings;

// The callback object the TEDS editor reaches the device through. Every method works
// on the device table's entry DeviceIndex, the current interface and the current
// configuration; the channel index is accepted for the editor's sake and not used.
// A failure inside a method is logged and gives -1.
class TEDSHelper {
public:
    explicit TEDSHelper(AppState& state) : state_(state) {}

    // The TEDS block into byteBuf, cut to what was read: its length, or -7 (logged).
    [[nodiscard]] int32_t ReadTEDS(int32_t channelIndex, QByteArray& byteBuf);
    int32_t SetDeviceInfo(int32_t deviceIndex);  // always 0
    // Writes the first byteBufSize bytes as the TEDS block, then marks the TEDS
    // present: the last step's result; -7 when the block was not written.
    [[nodiscard]] int32_t WriteTEDS(int32_t channelIndex, const QByteArray& byteBuf, int32_t byteBufSize);
    // Applies the TEDS to the channel and reads the configuration again; the strings
    // are left as they are.
    [[nodiscard]] int32_t ActivateTEDS(int32_t channelIndex, QString& errString, QString& warnString);
    // Whether the entry is still a connected device of the table (a net that gave up
    // on its devices has dropped it).
    bool deviceOnline() const;

private:
    DeviceEntry& device() const;

    AppState& state_;
    int32_t DeviceIndex = 0;
};

// TEDS blocks are long: their transfers wait 30 s for the device, and the normal
// time-out is set back on every way out.
class TedsTransferTimeout {
public:
    TedsTransferTimeout(AppState& state, const InterfaceSettings& settings);
    ~TedsTransferTimeout();
    TedsTransferTimeout(const TedsTransferTimeout&) = delete;
    TedsTransferTimeout& operator=(const TedsTransferTimeout&) = delete;

private:
    AppState& state_;
    const InterfaceSettings& settings_;
};

namespace tedspath {
inline const QString Block = QStringLiteral("TEDS/TEDSBlock");
inline const QString HasTeds = QStringLiteral("TEDS/HasTEDS");
inline const QString Activate = QStringLiteral("TEDS/ActivateTEDS");
inline const QString Check = QStringLiteral("TEDS/TEDSCheck");
inline const QString SensorId = QStringLiteral("TEDS/SensorID");
}  // namespace tedspath
