#pragma once
#include "core/ResultCodes.h"
#include "demo_rack_test.h"
#include "model/Descriptions.h"
#include "sim/amplifier/SimRack.h"
#include "sim/profibus/SimProfibusMaster.h"
#include "support/TestFolder.h"
#include "transport/profibus/Dpv1Transport.h"
#include "transport/profibus/ProfibusResultCodes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace dpv1test {

// One library call as the transport made it.
struct Call {
    Call(std::string name, ProfibusCard card, int station = -1, int slot = -1, int index = -1, int length = -1,
         int timeoutMs = -1, QByteArray bytes = {})
        : name(std::move(name)), card(card), station(station), slot(slot), index(index), length(length),
          timeoutMs(timeoutMs), bytes(std::move(bytes)) {}

    std::string name;
    ProfibusCard card;
    int station;
    int slot;
    int index;
    int length;     // read: the length asked; write: the length passed
    int timeoutMs;
    QByteArray bytes;  // write: the buffer, NUL included when the caller put one after the data
    bool diagZeroed = true;
};

inline bool zeroed(const ProfibusDiag& diag)
{
    return std::all_of(diag.begin(), diag.end(), [](char c) { return c == 0; });
}

// Records every call and passes it to the simulated master; a scan may be scripted.
class RecordingProfibus : public ProfibusLibrary {
public:
    explicit RecordingProfibus(SimRack* rack) : master(rack) {}

    SimProfibusMaster master;
    std::vector<Call> calls;
    std::function<int32_t(ProfibusStationList&)> scriptedScan;

    std::vector<Call> named(const std::string& name) const
    {
        std::vector<Call> result;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(result),
                     [&](const Call& c) { return c.name == name; });
        return result;
    }

    int32_t c2Init(ProfibusCard card, ProfibusDiag& diag) override
    {
        record({"Init", card}, diag);
        return master.c2Init(card, diag);
    }
    int32_t c2Close(ProfibusCard card) override
    {
        calls.push_back({"Close", card});
        return master.c2Close(card);
    }
    int32_t c2Scan(ProfibusCard card, ProfibusStationList& stations, ProfibusDiag& diag) override
    {
        record({"Scan", card}, diag);
        return scriptedScan ? scriptedScan(stations) : master.c2Scan(card, stations, diag);
    }
    int32_t c2Connect(ProfibusCard card, uint8_t station, ProfibusDiag& diag) override
    {
        record({"Connect", card, station}, diag);
        return master.c2Connect(card, station, diag);
    }
    int32_t c2Disconnect(ProfibusCard card, uint8_t station, ProfibusDiag& diag) override
    {
        record({"Disconnect", card, station}, diag);
        return master.c2Disconnect(card, station, diag);
    }
    int32_t c2Read(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, uint8_t* buffer,
                   int32_t& length, int32_t timeoutMs, ProfibusDiag& diag) override
    {
        record({"Read", card, station, slot, index, length, timeoutMs}, diag);
        return master.c2Read(card, station, slot, index, buffer, length, timeoutMs, diag);
    }
    int32_t c2ReadInt8(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, uint8_t& value,
                       int32_t timeoutMs, ProfibusDiag& diag) override
    {
        record({"ReadInt8", card, station, slot, index, 1, timeoutMs}, diag);
        return master.c2ReadInt8(card, station, slot, index, value, timeoutMs, diag);
    }
    int32_t c2ReadInt16(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, int16_t& value,
                        int32_t timeoutMs, ProfibusDiag& diag) override
    {
        record({"ReadInt16", card, station, slot, index, 2, timeoutMs}, diag);
        return master.c2ReadInt16(card, station, slot, index, value, timeoutMs, diag);
    }
    int32_t c2ReadInt32(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, int32_t& value,
                        int32_t timeoutMs, ProfibusDiag& diag) override
    {
        record({"ReadInt32", card, station, slot, index, 4, timeoutMs}, diag);
        return master.c2ReadInt32(card, station, slot, index, value, timeoutMs, diag);
    }
    int32_t c2ReadFloat(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, float& value,
                        int32_t timeoutMs, ProfibusDiag& diag) override
    {
        record({"ReadFloat", card, station, slot, index, 4, timeoutMs}, diag);
        return master.c2ReadFloat(card, station, slot, index, value, timeoutMs, diag);
    }
    int32_t c2Write(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, const uint8_t* buffer,
                    int32_t length, int32_t timeoutMs, ProfibusDiag& diag) override
    {
        // The buffer and the byte after it, to see the NUL a string write puts there.
        record({"Write", card, station, slot, index, length, timeoutMs,
                QByteArray(reinterpret_cast<const char*>(buffer), length + 1)},
               diag);
        return master.c2Write(card, station, slot, index, buffer, length, timeoutMs, diag);
    }
    int32_t c2WriteInt8(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, uint8_t value,
                        int32_t timeoutMs, ProfibusDiag& diag) override
    {
        record({"WriteInt8", card, station, slot, index, 1, timeoutMs}, diag);
        return master.c2WriteInt8(card, station, slot, index, value, timeoutMs, diag);
    }
    int32_t c2WriteInt16(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, int16_t value,
                         int32_t timeoutMs, ProfibusDiag& diag) override
    {
        record({"WriteInt16", card, station, slot, index, 2, timeoutMs}, diag);
        return master.c2WriteInt16(card, station, slot, index, value, timeoutMs, diag);
    }
    int32_t c2WriteInt32(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, int32_t value,
                         int32_t timeoutMs, ProfibusDiag& diag) override
    {
        record({"WriteInt32", card, station, slot, index, 4, timeoutMs}, diag);
        return master.c2WriteInt32(card, station, slot, index, value, timeoutMs, diag);
    }
    int32_t c2WriteFloat(ProfibusCard card, uint8_t station, uint8_t slot, uint8_t index, float value,
                         int32_t timeoutMs, ProfibusDiag& diag) override
    {
        record({"WriteFloat", card, station, slot, index, 4, timeoutMs}, diag);
        return master.c2WriteFloat(card, station, slot, index, value, timeoutMs, diag);
    }

private:
    void record(Call call, const ProfibusDiag& diag)
    {
        call.diagZeroed = zeroed(diag);
        calls.push_back(std::move(call));
    }
};

// The demo rack (QSG2 at 3, QSN2 at 17, QSG2 at 42) behind a recording simulated master,
// the QSG2 description for parameter elements, and a PROFIBUS interface on a card.
class Dpv1Test : public DemoRackTest {
protected:
    static constexpr uint8_t Station = 3;

    Dpv1Test()
    {
        auto recorder = std::make_unique<RecordingProfibus>(&rack);
        library = recorder.get();
        world.state.buses.profibus = std::move(recorder);
        settings.InterfaceType = PROFIBUS;
        settings.PType = profibus::HilscherMaster;
        settings.Devno = 0;
    }

    // Opens the card and connects a station, as the interface and device connect do.
    void connect(uint8_t station = Station)
    {
        ASSERT_GE(DPV1_OpenCard(world.state, settings), 0);
        ASSERT_EQ(DPV1_ConnectStation(world.state, settings, station), rc::Ok);
        library->calls.clear();
    }

    QByteArray stored(const QString& path, uint8_t station = Station) const
    {
        return DemoRackTest::stored(path, station);
    }

    RecordingProfibus* library = nullptr;
    InterfaceSettings settings;
};

}  // namespace dpv1test
