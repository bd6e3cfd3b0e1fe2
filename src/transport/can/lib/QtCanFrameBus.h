#pragma once
#include "transport/can/lib/CanFrameBus.h"

#include <QString>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

class QCanBusDevice;

// A bus on a QCanBusDevice of any QCanBus plugin (socketcan, virtualcan, peakcan,
// ...). The device lives in a worker thread of its own: frames are sent and heard
// there, so a caller blocked on the window thread waits on a condition variable and
// never runs the window thread's event loop. Device errors become canstatus bits.
class QtCanFrameBus final : public CanFrameBus {
public:
    static constexpr int ConnectTimeoutMs = 3000;

    // Creates and connects the device. result: 0; -16510 when the plugin does not
    // take the interface or the interface it does not list cannot be connected; -1
    // when a listed interface does not connect in time.
    static std::unique_ptr<QtCanFrameBus> open(const QString& plugin, const QString& interfaceName,
                                               int32_t& result);
    ~QtCanFrameBus() override;

    bool send(const CanFrame& frame) override;
    void runAfter(int delayMs, std::function<void()> task) override;
    uint32_t status() const override;
    void reset() override;
    CanClock& clock() override;

private:
    QtCanFrameBus();
    [[nodiscard]] int32_t createDevice(const QString& plugin, const QString& interfaceName);
    bool waitConnected();
    // Connects a device that dropped off the bus again; false when it had not dropped.
    bool reconnectIfDropped();
    void watchDevice();
    void write(const CanFrame& frame);
    void readFrames();
    void onStateChanged(int state);

    QThread thread_;
    QObject* worker_;   // lives in thread_, parent of the device
    QCanBusDevice* device_ = nullptr;
    std::atomic<uint32_t> status_{0};
    std::mutex stateMutex_;
    std::condition_variable stateChanged_;
    int state_ = 0;   // QCanBusDevice::CanBusDeviceState
    bool connectFailed_ = false;   // the device went back from connecting to unconnected
    SteadyCanClock clock_;
};
