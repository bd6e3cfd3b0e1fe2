#include "transport/can/lib/CanopenClient.h"

#include "core/ResultCodes.h"
#include "transport/can/lib/SdoClientEngine.h"
#include "transport/can/lib/SdoDownloadTransfer.h"
#include "transport/can/lib/SdoReadQueue.h"
#include "transport/can/lib/SdoUploadTransfer.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr uint8_t MaxNode = 127;
constexpr uint8_t NmtModes[] = {sdo::nmt::EnterPreOperational, sdo::nmt::Start, sdo::nmt::Stop};
constexpr uint8_t NmtCommands[] = {sdo::nmt::Start, sdo::nmt::Stop, sdo::nmt::EnterPreOperational,
                                   sdo::nmt::ResetNode, sdo::nmt::ResetCommunication};
}  // namespace

CanopenClient::CanopenClient(CanNetCatalog catalog) : catalog_(std::move(catalog)) {}

CanopenClient::~CanopenClient()
{
    static_cast<void>(disconnectBus());  // always 0
}

int32_t CanopenClient::connectClientToNet(const QString& hardware, const QString& net)
{
    if (bus_)
        return hardware == hardware_ && net == net_ ? rc::Ok : rc::CanAlreadyOnOtherNet;
    int32_t result = catalog_.open(hardware, net, bus_);
    if (result != rc::Ok)
        return result;
    hardware_ = hardware;
    net_ = net;
    CanClock& clock = bus_->clock();
    engine_ = std::make_unique<SdoClientEngine>(
        *bus_, timeoutMs_, [this, &clock](const CanFrame& frame) { frames_.post(frame, clock.nowMs()); });
    queue_ = std::make_unique<SdoReadQueue>(*engine_);
    return rc::Ok;
}

int32_t CanopenClient::disconnectBus()
{
    queue_.reset();
    engine_.reset();
    bus_.reset();
    hardware_.clear();
    net_.clear();
    return rc::Ok;
}

int32_t CanopenClient::resetCan()
{
    if (!bus_)
        return rc::NoInterface;
    bus_->reset();
    return rc::Ok;
}

int32_t CanopenClient::getStatus()
{
    return bus_ ? int32_t(bus_->status()) : rc::NoInterface;
}

int32_t CanopenClient::getAvailableNets(QString& list)
{
    list = formatCanNetList(catalog_.nets(), hardware_, net_);
    return rc::Ok;
}

int32_t CanopenClient::checkTransfer(uint8_t node) const
{
    if (!bus_)
        return rc::NoInterface;
    return node >= 1 && node <= MaxNode ? rc::Ok : rc::Failed;
}

int32_t CanopenClient::upload(uint8_t node, uint16_t index, uint8_t sub, uint8_t* buffer, int32_t& length)
{
    int32_t check = checkTransfer(node);
    if (check != rc::Ok || !buffer || length < 0)
        return check != rc::Ok ? check : rc::Failed;
    auto id = engine_->start(std::make_unique<SdoUploadTransfer>(node, sdo::Mux{index, sub}, length));
    SdoOutcome outcome = engine_->collect(id);
    if (outcome.result == rc::CanSdoAbort) {
        // Left in the buffer for the caller that reads the abort code back.
        uint8_t code[4];
        for (int i = 0; i < 4; ++i)
            code[i] = uint8_t(outcome.abortCode >> (8 * i));
        length = std::min<int32_t>(length, 4);
        std::memcpy(buffer, code, size_t(length));
    } else if (outcome.result == rc::Ok) {
        length = int32_t(outcome.data.size());
        std::memcpy(buffer, outcome.data.constData(), size_t(length));
    } else {
        length = 0;
    }
    return outcome.result;
}

int32_t CanopenClient::download(uint8_t node, uint16_t index, uint8_t sub, const uint8_t* data, int32_t length)
{
    int32_t check = checkTransfer(node);
    if (check != rc::Ok || length < 0 || (!data && length > 0))
        return check != rc::Ok ? check : rc::Failed;
    QByteArray bytes(reinterpret_cast<const char*>(data), length);
    auto id = engine_->start(std::make_unique<SdoDownloadTransfer>(node, sdo::Mux{index, sub}, bytes));
    return engine_->collect(id).result;
}

int32_t CanopenClient::setTimeoutTime(int32_t milliseconds)
{
    if (milliseconds <= 0)
        return rc::Failed;
    timeoutMs_ = milliseconds;
    if (engine_)
        engine_->setTimeout(milliseconds);
    return rc::Ok;
}

uint32_t CanopenClient::lastAbortCode(uint8_t node, uint16_t index, uint8_t sub) const
{
    return engine_ ? engine_->lastAbortCode(node, {index, sub}) : 0;
}

int32_t CanopenClient::setReadSdoFromQueueOrder(int32_t order)
{
    if (order != SdoReadQueue::ByRequest && order != SdoReadQueue::ByArrival)
        return rc::Failed;
    queueOrder_ = order;
    return rc::Ok;
}

int32_t CanopenClient::queueReadSdo(uint8_t node, uint16_t index, uint8_t sub)
{
    int32_t check = checkTransfer(node);
    return check != rc::Ok ? check : queue_->queue(node, index, sub);
}

int32_t CanopenClient::getReadSdoFromQueue(uint32_t& sdoError, uint8_t& node, uint16_t& index, uint8_t& sub,
                                           QByteArray& data)
{
    if (!queue_)
        return rc::NoInterface;
    return queue_->collect(queueOrder_, sdoError, node, index, sub, data);
}

int32_t CanopenClient::setPdoOperMode(uint8_t mode, uint8_t node)
{
    return mode < std::size(NmtModes) ? sendNmt(NmtModes[mode], node) : (bus_ ? rc::Failed : rc::NoInterface);
}

int32_t CanopenClient::sendNmt(uint8_t command, uint8_t node)
{
    if (!bus_)
        return rc::NoInterface;
    if (std::find(std::begin(NmtCommands), std::end(NmtCommands), command) == std::end(NmtCommands) ||
        node > MaxNode)
        return rc::Failed;
    bool sent = bus_->send(CanFrame::make(sdo::NmtId, {command, node}));
    return sent ? rc::Ok : rc::CanBusGone;
}

FrameDispatcher& CanopenClient::frames()
{
    return frames_;
}

int64_t CanopenClient::busTimeMs()
{
    return bus_ ? bus_->clock().nowMs() : 0;
}
