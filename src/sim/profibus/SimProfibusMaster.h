#pragma once
#include "transport/profibus/ProfibusLibrary.h"

#include <QByteArray>
#include <map>
#include <set>
#include <tuple>
#include <utility>

class SimAmplifier;
class SimRack;

// Library calls, grouped for injected faults.
enum class ProfibusCall { Init, Scan, Connect, Disconnect, Read, Write };

// A simulated PROFIBUS DPV1 class 2 master: cards of type 2 (SIEMENS) and 10
// (Hilscher), numbers 0 to 4, all on one bus with the amplifiers of a rack. A station
// is the amplifier whose node ID is its address; a record is the amplifier's entry
// at a DPV1 slot and index, its numbers least significant byte first.
// Results: -16001 other card types, -16004 other card numbers, -16007 a card not
// open, -16008 a station that does not answer (none there, silent, or answering
// later than the time-out; reported at once, nobody waits), -16011 a transfer to a
// station without a class 2 connection; the amplifier's refusals pass as they are
// (-101, -102, -103, -100, -13, -7). Window thread only.
class SimProfibusMaster : public ProfibusLibrary {
public:
    static constexpr int16_t LastCardNumber = 4;

    // The rack outlives the master; null is an empty bus.
    explicit SimProfibusMaster(SimRack* rack) : rack_(rack) {}

    // Every later call of that kind gives `result` (0 lifts the fault), e.g. -16003
    // for a card that cannot be opened.
    void injectFault(ProfibusCall call, int32_t result);
    bool isCardOpen(ProfibusCard card) const;
    bool isConnected(ProfibusCard card, uint8_t station) const;

    [[nodiscard]] int32_t c2Init(ProfibusCard card, ProfibusDiag& diag) override;
    [[nodiscard]] int32_t c2Close(ProfibusCard card) override;
    [[nodiscard]] int32_t c2Scan(ProfibusCard card, ProfibusStationList& stations, ProfibusDiag& diag) override;
    [[nodiscard]] int32_t c2Connect(ProfibusCard card, uint8_t station, ProfibusDiag& diag) override;
    [[nodiscard]] int32_t c2Disconnect(ProfibusCard card, uint8_t station, ProfibusDiag& diag) override;
    [[nodiscard]]
    int32_t c2Read(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, uint8_t* buffer,
                   int32_t& length, int32_t timeoutMs, ProfibusDiag& diag) override;
    [[nodiscard]]
    int32_t c2ReadInt8(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, uint8_t& value,
                       int32_t timeoutMs, ProfibusDiag& diag) override;
    [[nodiscard]]
    int32_t c2ReadInt16(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, int16_t& value,
                        int32_t timeoutMs, ProfibusDiag& diag) override;
    [[nodiscard]]
    int32_t c2ReadInt32(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, int32_t& value,
                        int32_t timeoutMs, ProfibusDiag& diag) override;
    [[nodiscard]]
    int32_t c2ReadFloat(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, float& value,
                        int32_t timeoutMs, ProfibusDiag& diag) override;
    [[nodiscard]]
    int32_t c2Write(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, const uint8_t* buffer,
                    int32_t length, int32_t timeoutMs, ProfibusDiag& diag) override;
    [[nodiscard]]
    int32_t c2WriteInt8(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, uint8_t value,
                        int32_t timeoutMs, ProfibusDiag& diag) override;
    [[nodiscard]]
    int32_t c2WriteInt16(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, int16_t value,
                         int32_t timeoutMs, ProfibusDiag& diag) override;
    [[nodiscard]]
    int32_t c2WriteInt32(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, int32_t value,
                         int32_t timeoutMs, ProfibusDiag& diag) override;
    [[nodiscard]]
    int32_t c2WriteFloat(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, float value,
                         int32_t timeoutMs, ProfibusDiag& diag) override;

private:
    using CardKey = std::pair<int16_t, int16_t>;
    using Connection = std::tuple<int16_t, int16_t, uint8_t>;

    [[nodiscard]] int32_t fault(ProfibusCall call) const;
    // 0 when the card may be used for the call, else the call's failure.
    [[nodiscard]] int32_t checkCard(ProfibusCall call, ProfibusCard card) const;
    // The amplifier answering at the station within the time-out, or null.
    SimAmplifier* answering(uint8_t station, int32_t timeoutMs) const;
    // 0 and the connected station's amplifier, or the failure.
    [[nodiscard]]
    int32_t reach(ProfibusCall call, ProfibusCard card, uint8_t station, int32_t timeoutMs,
                  SimAmplifier*& amplifier) const;
    [[nodiscard]]
    int32_t readRecord(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, int32_t timeoutMs,
                       QByteArray& bytes);
    [[nodiscard]]
    int32_t writeRecord(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, int32_t timeoutMs,
                        const QByteArray& bytes);
    template <typename T>
    [[nodiscard]]
    int32_t readNumber(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, int32_t timeoutMs,
                       T& value);
    template <typename T>
    [[nodiscard]]
    int32_t writeNumber(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, int32_t timeoutMs,
                        T value);

    SimRack* rack_;
    std::set<CardKey> openCards_;
    std::set<Connection> connections_;
    std::map<ProfibusCall, int32_t> faults_;
};
