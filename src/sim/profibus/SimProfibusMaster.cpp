#include "sim/profibus/SimProfibusMaster.h"

#include "core/ResultCodes.h"
#include "sim/amplifier/SimRack.h"
#include "transport/profibus/ProfibusResultCodes.h"

#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstring>

namespace {

template <typename T>
T fromLittleEndian(const QByteArray& bytes)
{
    std::array<uchar, sizeof(T)> raw{};
    std::memcpy(raw.data(), bytes.constData(), std::min(std::size_t(bytes.size()), sizeof(T)));
    return qFromLittleEndian<T>(raw.data());
}

template <typename T>
QByteArray toLittleEndian(T value)
{
    QByteArray bytes(sizeof(T), '\0');
    qToLittleEndian<T>(value, bytes.data());
    return bytes;
}

// A silent amplifier answers nothing; the master reports the time-out it would wait for.
int32_t masterResult(int32_t amplifierResult)
{
    return amplifierResult == rc::Timeout ? rc::ProfibusTimeout : amplifierResult;
}

}  // namespace

void SimProfibusMaster::injectFault(ProfibusCall call, int32_t result)
{
    if (result == rc::Ok)
        faults_.erase(call);
    else
        faults_[call] = result;
}

bool SimProfibusMaster::isCardOpen(ProfibusCard card) const
{
    return openCards_.count({card.type, card.devno}) != 0;
}

bool SimProfibusMaster::isConnected(ProfibusCard card, uint8_t station) const
{
    return connections_.count({card.type, card.devno, station}) != 0;
}

int32_t SimProfibusMaster::fault(ProfibusCall call) const
{
    const auto it = faults_.find(call);
    return it == faults_.end() ? rc::Ok : it->second;
}

int32_t SimProfibusMaster::checkCard(ProfibusCall call, ProfibusCard card) const
{
    if (const int32_t injected = fault(call))
        return injected;
    if (card.type != profibus::SiemensMaster && card.type != profibus::HilscherMaster)
        return rc::ProfibusInvalidType;
    if (card.devno < 0 || card.devno > LastCardNumber)
        return rc::ProfibusInvalidBoard;
    if (call != ProfibusCall::Init && !isCardOpen(card))
        return rc::ProfibusNoCommunication;
    return rc::Ok;
}

SimAmplifier* SimProfibusMaster::answering(uint8_t station, int32_t timeoutMs) const
{
    if (!rack_ || station < profibus::FirstStation || station > profibus::LastStation)
        return nullptr;
    SimAmplifier* amplifier = rack_->node(station);
    if (!amplifier || amplifier->isSilent() || amplifier->answerDelayMs() > timeoutMs)
        return nullptr;
    return amplifier;
}

int32_t SimProfibusMaster::reach(ProfibusCall call, ProfibusCard card, uint8_t station, int32_t timeoutMs,
                                 SimAmplifier*& amplifier) const
{
    if (const int32_t result = checkCard(call, card))
        return result;
    if (!isConnected(card, station))
        return rc::ProfibusSlaveNotReady;
    amplifier = answering(station, timeoutMs);
    return amplifier ? rc::Ok : rc::ProfibusTimeout;
}

int32_t SimProfibusMaster::c2Init(ProfibusCard card, ProfibusDiag&)
{
    const int32_t result = checkCard(ProfibusCall::Init, card);
    if (result == rc::Ok)
        openCards_.insert({card.type, card.devno});
    return result;
}

int32_t SimProfibusMaster::c2Close(ProfibusCard card)
{
    openCards_.erase({card.type, card.devno});
    std::erase_if(connections_, [&](const Connection& c) {
        return std::get<0>(c) == card.type && std::get<1>(c) == card.devno;
    });
    return rc::Ok;
}

int32_t SimProfibusMaster::c2Scan(ProfibusCard card, ProfibusStationList& stations, ProfibusDiag&)
{
    if (const int32_t result = checkCard(ProfibusCall::Scan, card))
        return result;
    if (card.type != profibus::HilscherMaster)
        return rc::ProfibusInvalidType;
    int32_t count = 0;
    for (uint8_t station : rack_ ? rack_->nodeIds() : std::vector<uint8_t>{}) {
        if (answering(station, profibus::TimeoutMs))
            stations[std::size_t(count++)] = station;
    }
    return count;
}

int32_t SimProfibusMaster::c2Connect(ProfibusCard card, uint8_t station, ProfibusDiag&)
{
    if (const int32_t result = checkCard(ProfibusCall::Connect, card))
        return result;
    if (!answering(station, profibus::TimeoutMs))
        return rc::ProfibusTimeout;
    connections_.insert({card.type, card.devno, station});
    return rc::Ok;
}

int32_t SimProfibusMaster::c2Disconnect(ProfibusCard card, uint8_t station, ProfibusDiag&)
{
    if (const int32_t result = checkCard(ProfibusCall::Disconnect, card))
        return result;
    connections_.erase({card.type, card.devno, station});
    return rc::Ok;
}

int32_t SimProfibusMaster::readRecord(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index,
                                      int32_t timeoutMs, QByteArray& bytes)
{
    SimAmplifier* amplifier = nullptr;
    if (const int32_t result = reach(ProfibusCall::Read, card, station, timeoutMs, amplifier))
        return result;
    return masterResult(amplifier->readByDpv1(slot, index, bytes));
}

int32_t SimProfibusMaster::writeRecord(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index,
                                       int32_t timeoutMs, const QByteArray& bytes)
{
    SimAmplifier* amplifier = nullptr;
    if (const int32_t result = reach(ProfibusCall::Write, card, station, timeoutMs, amplifier))
        return result;
    return masterResult(amplifier->writeByDpv1(slot, index, bytes));
}

template <typename T>
int32_t SimProfibusMaster::readNumber(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index,
                                      int32_t timeoutMs, T& value)
{
    QByteArray bytes;
    const int32_t result = readRecord(card, station, slot, index, timeoutMs, bytes);
    if (result < 0)
        return result;
    value = fromLittleEndian<T>(bytes);
    return rc::Ok;
}

template <typename T>
int32_t SimProfibusMaster::writeNumber(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index,
                                       int32_t timeoutMs, T value)
{
    return writeRecord(card, station, slot, index, timeoutMs, toLittleEndian(value));
}

int32_t SimProfibusMaster::c2Read(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, uint8_t* buffer,
                                  int32_t& length, int32_t timeoutMs, ProfibusDiag&)
{
    QByteArray bytes;
    const int32_t result = readRecord(card, station, slot, index, timeoutMs, bytes);
    if (result < 0)
        return result;
    // A DPV1 read asks for at most `length` bytes; a longer record is cut there.
    length = std::clamp(int32_t(bytes.size()), 0, std::max(length, 0));
    if (length > 0)
        std::memcpy(buffer, bytes.constData(), std::size_t(length));
    return length;
}

int32_t SimProfibusMaster::c2ReadInt8(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index,
                                      uint8_t& value, int32_t timeoutMs, ProfibusDiag&)
{
    return readNumber(card, station, slot, index, timeoutMs, value);
}

int32_t SimProfibusMaster::c2ReadInt16(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index,
                                       int16_t& value, int32_t timeoutMs, ProfibusDiag&)
{
    return readNumber(card, station, slot, index, timeoutMs, value);
}

int32_t SimProfibusMaster::c2ReadInt32(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index,
                                       int32_t& value, int32_t timeoutMs, ProfibusDiag&)
{
    return readNumber(card, station, slot, index, timeoutMs, value);
}

int32_t SimProfibusMaster::c2ReadFloat(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index,
                                       float& value, int32_t timeoutMs, ProfibusDiag&)
{
    return readNumber(card, station, slot, index, timeoutMs, value);
}

int32_t SimProfibusMaster::c2Write(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index,
                                   const uint8_t* buffer, int32_t length, int32_t timeoutMs, ProfibusDiag&)
{
    if (length < 0)
        return rc::BufferOverflow;
    return writeRecord(card, station, slot, index, timeoutMs,
                       QByteArray(reinterpret_cast<const char*>(buffer), length));
}

int32_t SimProfibusMaster::c2WriteInt8(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index,
                                       uint8_t value, int32_t timeoutMs, ProfibusDiag&)
{
    return writeNumber(card, station, slot, index, timeoutMs, value);
}

int32_t SimProfibusMaster::c2WriteInt16(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index,
                                        int16_t value, int32_t timeoutMs, ProfibusDiag&)
{
    return writeNumber(card, station, slot, index, timeoutMs, value);
}

int32_t SimProfibusMaster::c2WriteInt32(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index,
                                        int32_t value, int32_t timeoutMs, ProfibusDiag&)
{
    return writeNumber(card, station, slot, index, timeoutMs, value);
}

int32_t SimProfibusMaster::c2WriteFloat(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index,
                                        float value, int32_t timeoutMs, ProfibusDiag&)
{
    return writeNumber(card, station, slot, index, timeoutMs, value);
}
