#pragma once
#include "sim/amplifier/ParameterKinds.h"

#include <QByteArray>
#include <QString>
#include <compare>
#include <cstdint>
#include <optional>
#include <vector>

// CANopen address of an object: index and sub-index.
struct ObjectKey {
    uint16_t index = 0;
    uint8_t sub = 0;
    auto operator<=>(const ObjectKey&) const = default;
};

struct Dpv1Address {
    uint8_t slot = 0;
    uint8_t index = 0;
    auto operator<=>(const Dpv1Address&) const = default;
};

struct DeviceNetAddress {
    uint8_t classId = 0;
    uint8_t instance = 0;
    uint8_t attribute = 0;
    auto operator<=>(const DeviceNetAddress&) const = default;
};

enum class Access { ReadWrite, ReadOnly, WriteOnly };

// One object of the simulated dictionary. Values are kept as the bytes on the
// bus (numbers least significant byte first).
struct ObjectEntry {
    ObjectKey key;
    QString path;  // description path; empty for standard objects the description lacks
    ParameterKind kind = ParameterKind::ValueLong;
    int width = 4;           // bytes of a fixed-size object; 0 for strings and hex blocks
    int maxLength = 0;       // strings and hex blocks: longest block accepted
    int padLength = 0;       // strings with "MinLen": stored NUL-padded to this length
    int decimals = 0;        // "DecimalPointPos": raw value = physical value * 10^decimals
    bool flexibleLength = false;  // counts that clients write as 1 to 4 bytes
    Access access = Access::ReadWrite;
    bool persistent = true;
    std::optional<double> minValue;
    std::optional<double> maxValue;
    std::vector<int64_t> enumCodes;
    std::optional<int64_t> actionValue;
    QByteArray value;
    std::optional<Dpv1Address> dpv1;
    std::optional<DeviceNetAddress> deviceNet;
};

// The longest string a client can fetch in one upload; strings without a length
// limit in the description are capped there.
constexpr int MaxVariableLength = 8192;
constexpr int DefaultHexBinaryLength = 4096;
