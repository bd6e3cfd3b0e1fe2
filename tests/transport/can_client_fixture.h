#pragma once
#include "can_sim_rack.h"
#include "transport/can/lib/CanopenClient.h"

#include <gtest/gtest.h>

// A CANopen client connected to the built-in net "Simulation"/"Démo", a rack whose
// nodes the test adds.
class CanClientTest : public ::testing::Test {
protected:
    static constexpr uint16_t Index = 0x2000;
    static constexpr uint8_t Sub = 1;

    CanClientTest() : client_(demoNetCatalog(rack_))
    {
        EXPECT_EQ(client_.connectClientToNet("Simulation", "Démo"), 0);
    }

    int32_t read(uint8_t node, QByteArray& data, int capacity, uint16_t index = Index)
    {
        data = QByteArray(capacity, '\xEE');
        int32_t length = capacity;
        int32_t result = client_.upload(node, index, Sub, reinterpret_cast<uint8_t*>(data.data()), length);
        data.truncate(length);
        return result;
    }

    int32_t write(uint8_t node, const QByteArray& data, uint16_t index = Index)
    {
        return client_.download(node, index, Sub, reinterpret_cast<const uint8_t*>(data.constData()),
                                int32_t(data.size()));
    }

    int64_t now() { return rack_->clock().nowMs(); }

    CanTestRack* rack_ = nullptr;
    CanopenClient client_;
};
