#pragma once
// The PROFIBUS and DeviceNet tests' world: the demo rack behind recording simulated
// masters, and the QSG2 description for parameter elements.
#include "core/ResultCodes.h"
#include "model/Descriptions.h"
#include "sim/amplifier/SimRack.h"
#include "sim/devicenet/SimDeviceNetMaster.h"
#include "sim/profibus/SimProfibusMaster.h"
#include "support/Bytes.h"
#include "support/TestFolder.h"
#include "transport/devicenet/DnetTransport.h"
#include "transport/profibus/Dpv1Transport.h"
#include "transport/profibus/ProfibusResultCodes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The demo rack (QSG2 at 3, QSN2 at 17, QSG2 at 42) and the QSG2 description, for the
// tests of a fieldbus whose simulated master serves the rack.
class DemoRackTest : public ::testing::Test {
protected:
    DemoRackTest()
    {
        const QString folder = Descr_Folder(world.state.core);
        EXPECT_EQ(buildDemoRack(rack, folder), rc::Ok);
        EXPECT_EQ(Descr_Load(world.state.core, QDir(folder).filePath(QLatin1String(demorack::StrainGaugeFile)),
                             description),
                  rc::Ok);
    }

    XmlNode parameter(const QString& path) const
    {
        XmlNode node;
        EXPECT_EQ(Descr_FindNode(path, description.get(), node), rc::Ok) << path.toStdString();
        return node;
    }

    // The bytes the amplifier at the node (station, MAC ID) holds for the path.
    QByteArray stored(const QString& path, uint8_t node = 3) const
    {
        const auto entry = rack.node(node)->entryByPath(path);
        return entry ? entry->value : QByteArray("<none>");
    }

    TestFolder world;
    SimRack rack;
    std::unique_ptr<Description> description;
};

// The root element of a parameter given as XML.
inline XmlNode elementOf(XmlDocument& document, const QByteArray& xml)
{
    QString reason;
    EXPECT_TRUE(document.loadFromMemory(xml, &reason)) << reason.toStdString();
    return document.documentElement();
}

// The calls a recording library saw, in order.
template <typename Call>
struct CallLog {
    std::vector<Call> calls;

    std::vector<Call> named(const std::string& name) const
    {
        std::vector<Call> result;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(result),
                     [&](const Call& c) { return c.name == name; });
        return result;
    }
};

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
class RecordingProfibus : public ProfibusLibrary, public CallLog<Call> {
public:
    explicit RecordingProfibus(SimRack* rack) : master(rack) {}

    SimProfibusMaster master;
    std::function<int32_t(ProfibusStationList&)> scriptedScan;

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

    RecordingProfibus* library = nullptr;
    InterfaceSettings settings;
};

}  // namespace dpv1test

namespace dnettest {

// One library call as the transport made it.
struct Call {
    Call(std::string name, int macId = -1, int classId = -1, int instance = -1, int attribute = -1, int size = -1,
         int timeoutMs = -1, QByteArray bytes = {})
        : name(std::move(name)), macId(macId), classId(classId), instance(instance), attribute(attribute),
          size(size), timeoutMs(timeoutMs), bytes(std::move(bytes)) {}

    std::string name;
    int macId;
    int classId;
    int instance;
    int attribute;
    int size;       // WriteINT: size; arrays: the length passed; InitHW: baud code; InitDevice: flags
    int timeoutMs;
    QByteArray bytes;  // written bytes
};

// Records every call and passes it to the simulated master.
class RecordingDeviceNet : public DeviceNetLibrary, public CallLog<Call> {
public:
    explicit RecordingDeviceNet(SimRack* rack) : master(rack) {}

    SimDeviceNetMaster master;

    int32_t initHw(int32_t baudCode) override
    {
        calls.push_back({"InitHW", -1, -1, -1, -1, baudCode});
        return master.initHw(baudCode);
    }
    int32_t abortHw() override
    {
        calls.push_back({"AbortHW"});
        return master.abortHw();
    }
    int32_t initDevice(uint8_t macId, int32_t flags) override
    {
        calls.push_back({"InitDevice", macId, -1, -1, -1, flags});
        return master.initDevice(macId, flags);
    }
    int32_t abortDevice(uint8_t macId) override
    {
        calls.push_back({"AbortDevice", macId});
        return master.abortDevice(macId);
    }
    int32_t parameterReadInt(uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute, int32_t& value,
                             int32_t timeoutMs) override
    {
        calls.push_back({"ReadINT", macId, classId, instance, attribute, -1, timeoutMs});
        return master.parameterReadInt(macId, classId, instance, attribute, value, timeoutMs);
    }
    int32_t parameterWriteInt(uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute, int32_t size,
                              int32_t value, int32_t timeoutMs) override
    {
        calls.push_back({"WriteINT", macId, classId, instance, attribute, size, timeoutMs,
                         QByteArray(reinterpret_cast<const char*>(&value), sizeof value)});
        return master.parameterWriteInt(macId, classId, instance, attribute, size, value, timeoutMs);
    }
    int32_t parameterReadArr(uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute, uint8_t* buffer,
                             int32_t& length, int32_t timeoutMs) override
    {
        calls.push_back({"ReadARR", macId, classId, instance, attribute, length, timeoutMs});
        return master.parameterReadArr(macId, classId, instance, attribute, buffer, length, timeoutMs);
    }
    int32_t parameterWriteArr(uint8_t macId, uint8_t classId, uint8_t instance, uint8_t attribute,
                              const uint8_t* buffer, int32_t length, int32_t timeoutMs) override
    {
        calls.push_back({"WriteARR", macId, classId, instance, attribute, length, timeoutMs,
                         QByteArray(reinterpret_cast<const char*>(buffer), length)});
        return master.parameterWriteArr(macId, classId, instance, attribute, buffer, length, timeoutMs);
    }
};

// The demo rack (QSG2 at MAC ID 3, QSN2 at 17, QSG2 at 42) behind a recording simulated
// master, an open DeviceNet interface at 500 kBaud and the QSG2 description.
class DnetTest : public DemoRackTest {
protected:
    static constexpr uint8_t Mac = 3;

    DnetTest()
    {
        auto recorder = std::make_unique<RecordingDeviceNet>(&rack);
        library = recorder.get();
        world.state.buses.devicenet = std::move(recorder);
        settings.InterfaceType = DeviceNet;
        settings.DeviceNetBaud = 0;
        EXPECT_EQ(DNET_OpenInterface(world.state, settings), rc::Ok);
        library->calls.clear();
    }

    RecordingDeviceNet* library = nullptr;
    InterfaceSettings settings;
};

}  // namespace dnettest
