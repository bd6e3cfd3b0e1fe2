#pragma once
#include "sim/SdoTarget.h"
#include "sim/amplifier/FaultInjection.h"
#include "sim/amplifier/LimitSwitch.h"
#include "sim/amplifier/LiveKeys.h"
#include "sim/amplifier/ObjectDictionary.h"
#include "sim/amplifier/SignalModel.h"
#include "sim/amplifier/SimIdentity.h"

#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class XmlDocument;

enum class NmtState { PreOperational, Operational, Stopped };

// One write the amplifier was asked for, by any bus, with its answer.
struct SimWrite {
    ObjectKey key;
    QByteArray data;
    uint32_t abort = 0;
};

// TEDS error status bits ("TEDS/TEDSErrorStatus"); 2 and above are errors.
namespace tedserror {
constexpr uint32_t NotApplied = 0x01;       // a valid TEDS is present but not activated
constexpr uint32_t Unreadable = 0x02;       // no block, or its basic TEDS does not decode
constexpr uint32_t UnknownTemplate = 0x08;  // the template after the basic TEDS is not supported
}  // namespace tedserror

// A simulated single-channel amplifier built from a description document: its
// object dictionary holds every described parameter at its SDO address plus the
// standard and PDO objects. It measures along its own clock, keeps a TEDS block,
// stores and restarts, and takes injected faults. All calls are thread-safe.
class SimAmplifier : public SdoTarget {
public:
    // Nothing when the document has no "DeviceDescription/ParameterGroup" (*reason says why).
    static std::unique_ptr<SimAmplifier> create(const XmlDocument& description, const SimIdentity& identity,
                                                QString* reason = nullptr);
    static std::unique_ptr<SimAmplifier> load(const QString& descriptionPath, const SimIdentity& identity,
                                              QString* reason = nullptr);

    // SDO access. Answers 0 or a CANopen abort code; while silent, Timeout
    // (an SDO server should not ask then: see isSilent).
    uint32_t readObject(uint16_t index, uint8_t sub, QByteArray& data) override;
    uint32_t writeObject(uint16_t index, uint8_t sub, const QByteArray& data) override;

    // DPV1 (slot, index) and DeviceNet (class, instance, attribute) access to the
    // same entries. Reads return the number of bytes read, writes 0; failures:
    // rc::UnknownOnDevice unknown address, rc::ReadOnly write to a read-only
    // parameter, rc::AccessDenied read of a write-only parameter or another refusal,
    // rc::ValueNotSet value outside limits or enumeration, rc::BufferOverflow
    // length not fitting, rc::Refused refused in the present state, rc::Timeout
    // while silent. *abortCode, when given, receives the CANopen abort behind it.
    [[nodiscard]] int32_t readByDpv1(uint8_t slot, uint8_t index, QByteArray& bytes, uint32_t* abortCode = nullptr);
    [[nodiscard]]
    int32_t writeByDpv1(uint8_t slot, uint8_t index, const QByteArray& bytes, uint32_t* abortCode = nullptr);
    [[nodiscard]]
    int32_t readByDeviceNet(uint8_t classId, uint8_t instance, uint8_t attribute, QByteArray& bytes,
                            uint32_t* abortCode = nullptr);
    [[nodiscard]]
    int32_t writeByDeviceNet(uint8_t classId, uint8_t instance, uint8_t attribute, const QByteArray& bytes,
                             uint32_t* abortCode = nullptr);

    // Lookups for tests and tools; the entry copies its state at the call.
    std::optional<ObjectEntry> entryAt(ObjectKey key);
    std::optional<ObjectEntry> entryByPath(const QString& path);
    std::optional<ObjectKey> keyOfPath(const QString& path) const;
    std::optional<ObjectKey> keyOfDpv1(uint8_t slot, uint8_t index) const;
    std::optional<ObjectKey> keyOfDeviceNet(uint8_t classId, uint8_t instance, uint8_t attribute) const;

    const SimIdentity& identity() const { return identity_; }
    uint8_t nodeId() const { return identity_.nodeId; }

    // Clock: milliseconds from the time source (none: 0) plus every advance.
    void setTimeSource(std::function<int64_t()> source);
    void advance(int64_t ms);
    int64_t now() const;

    void setSignalSettings(const SignalSettings& settings);
    SignalSettings signalSettings() const;
    // The values a read would give now (peak tracking included).
    double grossValue();
    double netValue();
    void setDigitalInput(bool on);

    NmtState nmtState() const;
    void setNmtState(NmtState state);
    // NMT reset communication: the communication objects take their stored values
    // again and the node is pre-operational.
    void resetCommunication();

    // Every write asked for from now on is kept, in order, until the next call.
    void startWriteJournal();
    std::vector<SimWrite> writeJournal() const;

    // Silence after "ApplicationObjects/Restart", on the amplifier's clock.
    void setRestartSilence(int ms);
    int restartSilence() const;
    // Restarts as "ApplicationObjects/Restart" does (a power cycle): the stored values
    // come back, the node is pre-operational and silent for the restart silence.
    void restart();
    // Counts the restarts, however they were asked for.
    uint32_t restartCount() const;
    bool isChanged() const;
    // The number an object holds, without measuring anew; 0 for an unknown object.
    uint64_t unsignedAt(ObjectKey key) const;

    // The TEDS block as the sensor holds it; setting it is plugging a sensor.
    QByteArray tedsBlock() const;
    void setTedsBlock(const QByteArray& block);
    bool hasTeds() const;
    bool tedsActive() const;
    uint32_t tedsErrorStatus() const;

    // Faults. A silent node answers nothing: SDO servers and masters ask isSilent()
    // first and send no answer. It is also silent while restarting and when stopped.
    bool isSilent() const;
    void setSilent(bool silent);
    // The injected silence alone (not a restart's, not a stopped node's).
    bool isSilenced() const;
    // Delay the servers wait before they answer.
    int answerDelayMs() const;
    void setAnswerDelay(int ms);
    // Refuse every read or write, or those of one object, with an abort code (0 lifts it).
    void refuseAll(SimDirection direction, uint32_t abortCode);
    void refuseAt(SimDirection direction, ObjectKey key, uint32_t abortCode);
    // Reads of one object answer fixed bytes (a stuck status word, say); empty lifts it.
    void stickAt(ObjectKey key, const QByteArray& bytes);
    // The CAN controller status the bus reports (0x02 overflow, 0x04 light, 0x08 heavy, 0x10 off).
    uint8_t busStatus() const;
    void setBusStatus(uint8_t status);
    // Device conditions, until stopped or cleared; a restart keeps them. True when
    // the condition changed.
    bool setDeviceFault(DeviceFault fault, bool active);
    std::set<DeviceFault> deviceFaults() const;
    void clearFaults();

private:
    using Snapshot = std::map<ObjectKey, QByteArray>;

    SimAmplifier(ObjectDictionary dictionary, const SimIdentity& identity);
    void mapDefaultTransmitPdo();
    void allowPdoOperation();
    void showSignalDecimals();
    bool pdoSuspended() const;

    int64_t nowLocked() const;
    bool silentLocked() const;
    uint32_t readLocked(ObjectKey key, QByteArray& data);
    uint32_t writeLocked(ObjectKey key, const QByteArray& data);
    uint32_t acceptWrite(ObjectKey key, const QByteArray& data);
    uint32_t checkAction(const ObjectEntry& entry, const QByteArray& data) const;
    void afterWrite(ObjectEntry& entry);
    void runCommandWord(uint64_t bits);
    void runAction(SimAction action);
    SimAction actionAt(ObjectKey key) const;
    void activateTeds();
    void takeTedsBlock(const QByteArray& block);

    // Live values.
    double inputAt(int64_t ms) const;
    void refreshLive();
    MeasuredValues measure(int64_t ms);
    std::array<bool, 4> limitSwitches(const MeasuredValues& values) const;
    uint32_t digitalIoLevel(const std::array<bool, 4>& limits) const;
    std::optional<double> number(const LiveKeys::Key& key) const;
    void setNumber(const LiveKeys::Key& key, double value);
    // A parameter the amplifier changes itself (offsets), or its stand-in when not described.
    double offset(const LiveKeys::Key& key, double standIn) const;
    void setOffset(const LiveKeys::Key& key, double& standIn, double value);

    Snapshot snapshot(const std::function<bool(const ObjectEntry&)>& which);
    void restore(const Snapshot& values);
    [[nodiscard]] int32_t fieldbusRead(std::optional<ObjectKey> key, QByteArray& bytes, uint32_t* abortCode);
    [[nodiscard]] int32_t fieldbusWrite(std::optional<ObjectKey> key, const QByteArray& bytes, uint32_t* abortCode);

    mutable std::mutex mutex_;
    ObjectDictionary dictionary_;
    SimIdentity identity_;
    LiveKeys live_;
    std::map<ObjectKey, SimAction> actions_;
    SignalModel signal_;
    FaultInjection faults_;
    std::function<int64_t()> timeSource_;
    int64_t clockOffset_ = 0;
    int restartSilenceMs_ = 3000;
    int64_t silentUntil_ = 0;
    uint32_t restarts_ = 0;
    NmtState nmt_ = NmtState::PreOperational;
    bool digitalInput_ = false;
    double zeroOffset_ = 0.0;
    double tareOffset_ = 0.0;
    std::optional<double> peakMax_;
    std::optional<double> peakMin_;
    bool changed_ = false;
    bool journaling_ = false;
    std::vector<SimWrite> journal_;
    QByteArray tedsBlock_;
    bool hasTeds_ = false;
    bool tedsActive_ = false;
    uint32_t tedsError_ = 0;
    Snapshot storedApp_;
    Snapshot factoryApp_;
    Snapshot storedComm_;
    Snapshot factoryComm_;
};
