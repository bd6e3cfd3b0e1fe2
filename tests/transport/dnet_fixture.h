#pragma once
#include "core/ResultCodes.h"
#include "demo_rack_test.h"
#include "model/Descriptions.h"
#include "sim/amplifier/SimRack.h"
#include "sim/devicenet/SimDeviceNetMaster.h"
#include "support/TestFolder.h"
#include "transport/devicenet/DnetTransport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <memory>
#include <string>
#include <vector>

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
class RecordingDeviceNet : public DeviceNetLibrary {
public:
    explicit RecordingDeviceNet(SimRack* rack) : master(rack) {}

    SimDeviceNetMaster master;
    std::vector<Call> calls;

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

    QByteArray stored(const QString& path, uint8_t macId = Mac) const
    {
        return DemoRackTest::stored(path, macId);
    }

    RecordingDeviceNet* library = nullptr;
    InterfaceSettings settings;
};

}  // namespace dnettest
