#pragma once
#include "transport/can/lib/CanLibrary.h"
#include "transport/can/lib/CanNetCatalog.h"
#include "transport/can/lib/FrameDispatcher.h"

#include <memory>

class SdoClientEngine;
class SdoReadQueue;

// The CAN library: a CANopen SDO client on the frame bus of the connected net.
class CanopenClient final : public CanLibrary {
public:
    explicit CanopenClient(CanNetCatalog catalog);
    ~CanopenClient() override;

    [[nodiscard]] int32_t connectClientToNet(const QString& hardware, const QString& net) override;
    [[nodiscard]] int32_t disconnectBus() override;
    [[nodiscard]] int32_t resetCan() override;
    [[nodiscard]] int32_t getStatus() override;
    [[nodiscard]] int32_t getAvailableNets(QString& list) override;
    [[nodiscard]]
    int32_t upload(uint8_t node, uint16_t index, uint8_t sub, uint8_t* buffer, int32_t& length) override;
    [[nodiscard]]
    int32_t download(uint8_t node, uint16_t index, uint8_t sub, const uint8_t* data, int32_t length) override;
    [[nodiscard]] int32_t setTimeoutTime(int32_t milliseconds) override;
    uint32_t lastAbortCode(uint8_t node, uint16_t index, uint8_t sub) const override;
    [[nodiscard]] int32_t setReadSdoFromQueueOrder(int32_t order) override;
    [[nodiscard]] int32_t queueReadSdo(uint8_t node, uint16_t index, uint8_t sub) override;
    [[nodiscard]]
    int32_t getReadSdoFromQueue(uint32_t& sdoError, uint8_t& node, uint16_t& index, uint8_t& sub,
                                QByteArray& data) override;
    [[nodiscard]] int32_t setPdoOperMode(uint8_t mode, uint8_t node) override;
    [[nodiscard]] int32_t sendNmt(uint8_t command, uint8_t node) override;
    FrameDispatcher& frames() override;
    int64_t busTimeMs() override;

private:
    int32_t checkTransfer(uint8_t node) const;

    CanNetCatalog catalog_;
    FrameDispatcher frames_;   // declared before the bus: outlives every delivery
    std::unique_ptr<CanFrameBus> bus_;
    std::unique_ptr<SdoClientEngine> engine_;
    std::unique_ptr<SdoReadQueue> queue_;
    QString hardware_;
    QString net_;
    int32_t timeoutMs_ = DefaultTimeoutMs;
    int32_t queueOrder_ = 0;
};
