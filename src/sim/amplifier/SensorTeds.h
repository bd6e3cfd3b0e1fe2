#pragma once
#include "sim/amplifier/BasicTeds.h"

// The TEDS block the simulated amplifier keeps: the basic TEDS, then a 2-bit
// selector 0 (a standard template follows), the 8-bit template ID 33 (bridge
// sensor) and of that template only its physical range, MinPhysVal and
// MaxPhysVal as IEEE singles of 32 bits each. The further properties of the bridge
// template (electrical range, excitation, calibration) are not simulated. The
// block is padded with zero bytes to one 256-bit memory page.
struct SensorTeds {
    BasicTeds basic;
    float minPhysical = 0.0f;
    float maxPhysical = 0.0f;
    bool operator==(const SensorTeds&) const = default;
};

namespace sensorteds {
constexpr int SelectorBits = 2;
constexpr uint8_t StandardTemplateSelector = 0;
constexpr int TemplateIdBits = 8;
constexpr uint8_t BridgeSensorTemplate = 33;
constexpr int PageBytes = 32;
}  // namespace sensorteds

enum class TedsDecodeError { None, NoBlock, BadBasicTeds, UnknownTemplate };

QByteArray encodeSensorTeds(const SensorTeds& teds);
// The decoded block; on failure nothing and *error tells why.
std::optional<SensorTeds> decodeSensorTeds(const QByteArray& block, TedsDecodeError* error = nullptr);
