#pragma once
#include "transport/can/lib/CanLibrary.h"

#include <memory>

// A CAN library that hands every call to another one; tests derive from it to watch
// or bend a few calls of a real client.
class ForwardingCanLibrary : public CanLibrary {
public:
    explicit ForwardingCanLibrary(std::unique_ptr<CanLibrary> library) : library_(std::move(library)) {}

    int32_t connectClientToNet(const QString& hardware, const QString& net) override
    {
        return library_->connectClientToNet(hardware, net);
    }
    int32_t disconnectBus() override { return library_->disconnectBus(); }
    int32_t resetCan() override { return library_->resetCan(); }
    int32_t getStatus() override { return library_->getStatus(); }
    int32_t getAvailableNets(QString& list) override { return library_->getAvailableNets(list); }
    int32_t upload(uint8_t node, uint16_t index, uint8_t sub, uint8_t* buffer, int32_t& length) override
    {
        return library_->upload(node, index, sub, buffer, length);
    }
    int32_t download(uint8_t node, uint16_t index, uint8_t sub, const uint8_t* data, int32_t length) override
    {
        return library_->download(node, index, sub, data, length);
    }
    int32_t setTimeoutTime(int32_t milliseconds) override { return library_->setTimeoutTime(milliseconds); }
    uint32_t lastAbortCode(uint8_t node, uint16_t index, uint8_t sub) const override
    {
        return library_->lastAbortCode(node, index, sub);
    }
    int32_t setReadSdoFromQueueOrder(int32_t order) override { return library_->setReadSdoFromQueueOrder(order); }
    int32_t queueReadSdo(uint8_t node, uint16_t index, uint8_t sub) override
    {
        return library_->queueReadSdo(node, index, sub);
    }
    int32_t getReadSdoFromQueue(uint32_t& sdoError, uint8_t& node, uint16_t& index, uint8_t& sub,
                                QByteArray& data) override
    {
        return library_->getReadSdoFromQueue(sdoError, node, index, sub, data);
    }
    int32_t setPdoOperMode(uint8_t mode, uint8_t node) override { return library_->setPdoOperMode(mode, node); }
    int32_t sendNmt(uint8_t command, uint8_t node) override { return library_->sendNmt(command, node); }
    FrameDispatcher& frames() override { return library_->frames(); }
    int64_t busTimeMs() override { return library_->busTimeMs(); }

private:
    std::unique_ptr<CanLibrary> library_;
};
