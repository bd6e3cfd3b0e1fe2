#pragma once
#include <array>
#include <cstdint>
#include <initializer_list>

// One classic CAN data frame: 11-bit identifier, up to 8 data bytes. Unused data
// bytes stay zero so that frames compare by value.
struct CanFrame {
    uint16_t id = 0;
    uint8_t length = 0;
    std::array<uint8_t, 8> data{};

    static CanFrame make(uint16_t id, std::initializer_list<uint8_t> bytes)
    {
        CanFrame frame;
        frame.id = id;
        for (uint8_t byte : bytes) {
            if (frame.length == frame.data.size())
                break;
            frame.data[frame.length++] = byte;
        }
        return frame;
    }

    friend bool operator==(const CanFrame&, const CanFrame&) = default;
};

// Bus status bits as the CAN library reports them.
namespace canstatus {
constexpr uint32_t BufferOverflow = 0x02;
constexpr uint32_t BusLight = 0x04;   // error warning limit reached
constexpr uint32_t BusHeavy = 0x08;   // error passive
constexpr uint32_t BusOff = 0x10;
}  // namespace canstatus
