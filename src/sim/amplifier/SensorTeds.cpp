#include "sim/amplifier/SensorTeds.h"

#include "sim/amplifier/TedsBits.h"

#include <bit>

namespace {

constexpr int SelectorPos = basicteds::Bits;
constexpr int TemplatePos = SelectorPos + sensorteds::SelectorBits;
constexpr int MinPhysPos = TemplatePos + sensorteds::TemplateIdBits;
constexpr int MaxPhysPos = MinPhysPos + 32;
constexpr int EndPos = MaxPhysPos + 32;

std::optional<SensorTeds> fail(TedsDecodeError reason, TedsDecodeError* error)
{
    if (error)
        *error = reason;
    return std::nullopt;
}

}  // namespace

QByteArray encodeSensorTeds(const SensorTeds& teds)
{
    QByteArray block = encodeBasicTeds(teds.basic);
    block.append(QByteArray(sensorteds::PageBytes - block.size(), '\0'));
    tedsbits::put(block, SelectorPos, sensorteds::SelectorBits, sensorteds::StandardTemplateSelector);
    tedsbits::put(block, TemplatePos, sensorteds::TemplateIdBits, sensorteds::BridgeSensorTemplate);
    tedsbits::put(block, MinPhysPos, 32, std::bit_cast<uint32_t>(teds.minPhysical));
    tedsbits::put(block, MaxPhysPos, 32, std::bit_cast<uint32_t>(teds.maxPhysical));
    return block;
}

std::optional<SensorTeds> decodeSensorTeds(const QByteArray& block, TedsDecodeError* error)
{
    if (block.isEmpty())
        return fail(TedsDecodeError::NoBlock, error);
    const auto basic = decodeBasicTeds(block);
    if (!basic)
        return fail(TedsDecodeError::BadBasicTeds, error);
    if (block.size() * 8 < EndPos
        || tedsbits::get(block, SelectorPos, sensorteds::SelectorBits) != sensorteds::StandardTemplateSelector
        || tedsbits::get(block, TemplatePos, sensorteds::TemplateIdBits) != sensorteds::BridgeSensorTemplate)
        return fail(TedsDecodeError::UnknownTemplate, error);
    if (error)
        *error = TedsDecodeError::None;
    SensorTeds teds;
    teds.basic = *basic;
    teds.minPhysical = std::bit_cast<float>(static_cast<uint32_t>(tedsbits::get(block, MinPhysPos, 32)));
    teds.maxPhysical = std::bit_cast<float>(static_cast<uint32_t>(tedsbits::get(block, MaxPhysPos, 32)));
    return teds;
}
