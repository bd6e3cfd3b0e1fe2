#include "transport/can/lib/QtCanFrameBus.h"

#include "core/ResultCodes.h"
#include "transport/can/lib/QtCanStatusBits.h"

#include <QCanBus>
#include <QCanBusDevice>
#include <QCanBusFrame>
#include <QTimer>
#include <QVariant>
#include <algorithm>
#include <chrono>

namespace {
QCanBusFrame toQt(const CanFrame& frame)
{
    return QCanBusFrame(frame.id, QByteArray(reinterpret_cast<const char*>(frame.data.data()), frame.length));
}

bool fromQt(const QCanBusFrame& qtFrame, CanFrame& frame)
{
    QByteArray payload = qtFrame.payload();
    if (qtFrame.frameType() != QCanBusFrame::DataFrame || qtFrame.hasExtendedFrameFormat() ||
        payload.size() > qsizetype(frame.data.size()))
        return false;
    frame.id = uint16_t(qtFrame.frameId());
    frame.length = uint8_t(payload.size());
    std::copy(payload.begin(), payload.end(), frame.data.begin());
    return true;
}

bool isListed(const QString& plugin, const QString& interfaceName)
{
    const QList<QCanBusDeviceInfo> devices = QCanBus::instance()->availableDevices(plugin);
    return std::any_of(devices.begin(), devices.end(),
                       [&](const QCanBusDeviceInfo& device) { return device.name() == interfaceName; });
}
}  // namespace

std::unique_ptr<QtCanFrameBus> QtCanFrameBus::open(const QString& plugin, const QString& interfaceName,
                                                   int32_t& result)
{
    std::unique_ptr<QtCanFrameBus> bus(new QtCanFrameBus);
    result = bus->createDevice(plugin, interfaceName);
    if (result == rc::Ok && !bus->waitConnected())
        result = rc::Failed;
    // A plugin creates a device for any name and only its connect finds out that the
    // interface is missing (socketcan "can7", an unplugged adapter).
    if (result == rc::Failed && !isListed(plugin, interfaceName))
        result = rc::CanNoSuchNet;
    if (result != rc::Ok)
        bus.reset();
    return bus;
}

QtCanFrameBus::QtCanFrameBus() : worker_(new QObject)
{
    thread_.setObjectName(QStringLiteral("CAN I/O"));
    worker_->moveToThread(&thread_);
    thread_.start();
}

QtCanFrameBus::~QtCanFrameBus()
{
    QMetaObject::invokeMethod(
        worker_,
        [this] {
            if (device_ && device_->state() != QCanBusDevice::UnconnectedState)
                device_->disconnectDevice();
            delete device_;
            device_ = nullptr;
        },
        Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
    delete worker_;
}

int32_t QtCanFrameBus::createDevice(const QString& plugin, const QString& interfaceName)
{
    int32_t result = rc::Ok;
    QMetaObject::invokeMethod(
        worker_,
        [&] {
            device_ = QCanBus::instance()->createDevice(plugin, interfaceName);
            if (!device_ || device_->error() != QCanBusDevice::NoError) {
                result = rc::CanNoSuchNet;
                return;
            }
            device_->setParent(worker_);
            device_->setConfigurationParameter(QCanBusDevice::ErrorFilterKey,
                                               QVariant::fromValue(QCanBusFrame::FrameErrors(QCanBusFrame::AnyError)));
            watchDevice();
            if (!device_->connectDevice())
                result = rc::Failed;
        },
        Qt::BlockingQueuedConnection);
    return result;
}

void QtCanFrameBus::watchDevice()
{
    QObject::connect(device_, &QCanBusDevice::framesReceived, worker_, [this] { readFrames(); });
    QObject::connect(device_, &QCanBusDevice::stateChanged, worker_,
                     [this](QCanBusDevice::CanBusDeviceState state) { onStateChanged(state); });
    QObject::connect(device_, &QCanBusDevice::errorOccurred, worker_, [this](QCanBusDevice::CanBusError error) {
        status_ |= canStatusOfDeviceError(error);
        if (device_->hasBusStatus())
            status_ |= canStatusOfBusStatus(device_->busStatus());
    });
    onStateChanged(device_->state());
}

// Waits like a transfer does: on the window's thread the window keeps repainting.
bool QtCanFrameBus::waitConnected()
{
    std::unique_lock lock(stateMutex_);
    clock_.waitUntil(lock, stateChanged_, clock_.nowMs() + ConnectTimeoutMs,
                     [this] { return state_ == QCanBusDevice::ConnectedState || connectFailed_; });
    return state_ == QCanBusDevice::ConnectedState;
}

void QtCanFrameBus::onStateChanged(int state)
{
    {
        std::lock_guard lock(stateMutex_);
        // A device that drops off the bus once connected reports bus off.
        if (state_ == QCanBusDevice::ConnectedState && state == QCanBusDevice::UnconnectedState)
            status_ |= canstatus::BusOff;
        if (state_ == QCanBusDevice::ConnectingState && state == QCanBusDevice::UnconnectedState)
            connectFailed_ = true;
        state_ = state;
    }
    stateChanged_.notify_all();
}

bool QtCanFrameBus::send(const CanFrame& frame)
{
    {
        std::lock_guard lock(stateMutex_);
        if (state_ != QCanBusDevice::ConnectedState)
            return false;
    }
    QMetaObject::invokeMethod(worker_, [this, frame] { write(frame); }, Qt::QueuedConnection);
    return true;
}

void QtCanFrameBus::runAfter(int delayMs, std::function<void()> task)
{
    QMetaObject::invokeMethod(
        worker_, [this, task = std::move(task), delayMs] { QTimer::singleShot(delayMs, worker_, task); },
        Qt::QueuedConnection);
}

void QtCanFrameBus::write(const CanFrame& frame)
{
    if (device_ && !device_->writeFrame(toQt(frame)))
        status_ |= canstatus::BufferOverflow;
}

void QtCanFrameBus::readFrames()
{
    for (const QCanBusFrame& qtFrame : device_->readAllFrames()) {
        status_ |= canStatusOfErrorFrame(qtFrame);
        CanFrame frame;
        if (fromQt(qtFrame, frame))
            deliver(frame);
    }
}

uint32_t QtCanFrameBus::status() const
{
    return status_;
}

void QtCanFrameBus::reset()
{
    const uint32_t status = status_.exchange(0);
    if (reconnectIfDropped())
        return;
    // Only a controller in error needs the reset (and not every plugin supports it).
    if (status & (canstatus::BusHeavy | canstatus::BusOff)) {
        QMetaObject::invokeMethod(
            worker_,
            [this] {
                if (device_)
                    device_->resetController();
            },
            Qt::QueuedConnection);
    }
}

bool QtCanFrameBus::reconnectIfDropped()
{
    {
        std::lock_guard lock(stateMutex_);
        if (state_ != QCanBusDevice::UnconnectedState)
            return false;
        connectFailed_ = false;
    }
    // A device that left the bus (an adapter unplugged, a virtual hub gone) comes back
    // only by connecting again; while it cannot, the bus stays off.
    bool started = false;
    QMetaObject::invokeMethod(
        worker_, [&] { started = device_ && device_->connectDevice(); }, Qt::BlockingQueuedConnection);
    if (!started || !waitConnected())
        status_ |= canstatus::BusOff;
    return true;
}

CanClock& QtCanFrameBus::clock()
{
    return clock_;
}
