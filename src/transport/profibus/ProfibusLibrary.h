#pragma once
#include <array>
#include <cstdint>

// A PROFIBUS master card: its master type and card number.
struct ProfibusCard {
    int16_t type = 0;
    int16_t devno = 0;
};

namespace profibus {
constexpr int16_t SiemensMaster = 2;
constexpr int16_t HilscherMaster = 10;
// Every transfer of the program waits this long.
constexpr int32_t TimeoutMs = 3000;
constexpr std::size_t DiagSize = 256;
constexpr std::size_t StationListSize = 127;
constexpr uint8_t FirstStation = 1;
constexpr uint8_t LastStation = 126;
}  // namespace profibus

// Room for the library's diagnostic text; the program zeroes it and never reads it.
using ProfibusDiag = std::array<char, profibus::DiagSize>;
using ProfibusStationList = std::array<uint8_t, profibus::StationListSize>;

// The PROFIBUS DPV1 class 2 master library (the PROFI_C2* calls). Every call comes
// from the window thread, blocks up to its time-out and returns >= 0 on success or
// a negative code (ProfibusResultCodes.h; -101 read-only, -102 access refused, and
// the amplifier's own codes passed through).
class ProfibusLibrary {
public:
    virtual ~ProfibusLibrary() = default;

    // PROFI_C2Init / PROFI_C2Close: open and close a card.
    [[nodiscard]] virtual int32_t c2Init(ProfibusCard card, ProfibusDiag& diag) = 0;
    [[nodiscard]] virtual int32_t c2Close(ProfibusCard card) = 0;
    // PROFI_C2Scan, Hilscher cards only: n > 0 = the first n list bytes are the stations.
    [[nodiscard]] virtual int32_t c2Scan(ProfibusCard card, ProfibusStationList& stations, ProfibusDiag& diag) = 0;
    // PROFI_C2Connect / PROFI_C2Disconnect: a class 2 connection to a station.
    [[nodiscard]] virtual int32_t c2Connect(ProfibusCard card, uint8_t station, ProfibusDiag& diag) = 0;
    [[nodiscard]] virtual int32_t c2Disconnect(ProfibusCard card, uint8_t station, ProfibusDiag& diag) = 0;

    // PROFI_C2Read: up to `length` bytes; length and the result become the bytes read.
    [[nodiscard]]
    virtual int32_t c2Read(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, uint8_t* buffer,
                           int32_t& length, int32_t timeoutMs, ProfibusDiag& diag) = 0;
    [[nodiscard]]
    virtual int32_t c2ReadInt8(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, uint8_t& value,
                               int32_t timeoutMs, ProfibusDiag& diag) = 0;
    [[nodiscard]]
    virtual int32_t c2ReadInt16(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, int16_t& value,
                                int32_t timeoutMs, ProfibusDiag& diag) = 0;
    [[nodiscard]]
    virtual int32_t c2ReadInt32(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, int32_t& value,
                                int32_t timeoutMs, ProfibusDiag& diag) = 0;
    [[nodiscard]]
    virtual int32_t c2ReadFloat(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, float& value,
                                int32_t timeoutMs, ProfibusDiag& diag) = 0;

    // PROFI_C2Write and the typed writes: >= 0 written. The length is a full number:
    // a TEDS block of 256 bytes does not fit a length byte.
    [[nodiscard]]
    virtual int32_t c2Write(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, const uint8_t* buffer,
                            int32_t length, int32_t timeoutMs, ProfibusDiag& diag) = 0;
    [[nodiscard]]
    virtual int32_t c2WriteInt8(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, uint8_t value,
                                int32_t timeoutMs, ProfibusDiag& diag) = 0;
    [[nodiscard]]
    virtual int32_t c2WriteInt16(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, int16_t value,
                                 int32_t timeoutMs, ProfibusDiag& diag) = 0;
    [[nodiscard]]
    virtual int32_t c2WriteInt32(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, int32_t value,
                                 int32_t timeoutMs, ProfibusDiag& diag) = 0;
    [[nodiscard]]
    virtual int32_t c2WriteFloat(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, float value,
                                 int32_t timeoutMs, ProfibusDiag& diag) = 0;
};
