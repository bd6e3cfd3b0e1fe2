#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>

class FrameDispatcher;

// The CAN/CANopen client library through which every CAN access passes. All calls
// come from the window thread and return a library result: >= 0 success; negative
// failure, for transfers rc::CanTimeout (-16501), rc::CanOutOfMemory (-16502),
// rc::CanSdoAbort (-16503) and rc::CanBusGone (-16511); rc::NoInterface (-3) when
// no net is connected; rc::Failed (-1) for invalid arguments.
class CanLibrary {
public:
    static constexpr int32_t DefaultTimeoutMs = 5000;

    virtual ~CanLibrary() = default;

    // >= 0 connected (also when already on this net); -7 connected to another net;
    // -16510 hardware or net does not exist; -1 the net cannot be opened.
    [[nodiscard]] virtual int32_t connectClientToNet(const QString& hardware, const QString& net) = 0;
    [[nodiscard]] virtual int32_t disconnectBus() = 0;
    // Clears the bus status bits and resets the controller after bus errors.
    [[nodiscard]] virtual int32_t resetCan() = 0;
    // canstatus bits (0x02 buffer overflow, 0x04 bus light, 0x08 bus heavy,
    // 0x10 bus off); negative when not connected.
    [[nodiscard]] virtual int32_t getStatus() = 0;
    // 0 and the net list: "hardware;net;bit-timing" per net, joined by ";", the
    // connected net marked with a leading "*".
    [[nodiscard]] virtual int32_t getAvailableNets(QString& list) = 0;

    // SDO upload. length: in the buffer size, out the bytes received. On -16503 the
    // buffer holds the abort code, least significant byte first (as many of its 4
    // bytes as fit), and length says how many.
    [[nodiscard]]
    virtual int32_t upload(uint8_t node, uint16_t index, uint8_t sub, uint8_t* buffer, int32_t& length) = 0;
    // SDO download of `length` bytes (0 is an empty segmented transfer).
    [[nodiscard]]
    virtual int32_t download(uint8_t node, uint16_t index, uint8_t sub, const uint8_t* data, int32_t length) = 0;
    // Time the client waits for each answer of a server; > 0.
    [[nodiscard]] virtual int32_t setTimeoutTime(int32_t milliseconds) = 0;
    // Abort code of the last aborted transfer (either way) on this object since the
    // connect; 0 when none.
    virtual uint32_t lastAbortCode(uint8_t node, uint16_t index, uint8_t sub) const = 0;

    // 0: getReadSdoFromQueue returns the reply of the request the caller names;
    // 1: it returns the earliest reply and names its request. Others: -1.
    [[nodiscard]] virtual int32_t setReadSdoFromQueueOrder(int32_t order) = 0;
    // Starts an asynchronous upload; -16502 when the queue is full.
    [[nodiscard]] virtual int32_t queueReadSdo(uint8_t node, uint16_t index, uint8_t sub) = 0;
    // Waits for a queued reply. 0 when the node answered: sdoError 0 and the data,
    // or sdoError = the abort code; -16501 no answer; -1 no such request queued.
    [[nodiscard]]
    virtual int32_t getReadSdoFromQueue(uint32_t& sdoError, uint8_t& node, uint16_t& index, uint8_t& sub,
                                        QByteArray& data) = 0;

    // NMT to `node` (0 = all nodes): mode 0 pre-operational, 1 operational, 2 stopped.
    [[nodiscard]] virtual int32_t setPdoOperMode(uint8_t mode, uint8_t node) = 0;
    // Any NMT command (sdo::nmt) to `node` (0 = all nodes): 0, -3 not connected,
    // -1 an unknown command or node, -16511 the bus takes no frame.
    [[nodiscard]] virtual int32_t sendNmt(uint8_t command, uint8_t node) = 0;

    // The frames of the net that no transfer of this client takes (boot-ups and
    // heartbeats, EMCY, SYNC, TIME, PDOs, other clients' SDO), handed on in order on
    // the library's listening thread. Subscriptions outlive disconnects and reconnects.
    virtual FrameDispatcher& frames() = 0;
    // Now on the clock of the frames' time stamps; 0 when not connected.
    virtual int64_t busTimeMs() = 0;
};
