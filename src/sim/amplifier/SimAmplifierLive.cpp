// The values the simulated amplifier computes at each read: measured values,
// status words, limit switches, digital levels, TEDS state.
#include "model/teds/TedsLayout.h"
#include "model/teds/TedsMemory.h"
#include "sim/amplifier/SimAmplifier.h"
#include "sim/amplifier/StatusBits.h"
#include "sim/amplifier/ValueCodec.h"

#include <algorithm>

namespace {

constexpr uint32_t DigitalInputBit = 0x01;
constexpr uint32_t FirstOutputBit = 0x10;  // outputs 1 and 2 follow limit switches 1 and 2
constexpr uint8_t BusOffStatus = 0x10;

uint32_t bitsOf(const std::array<bool, 4>& flags)
{
    uint32_t bits = 0;
    for (std::size_t i = 0; i < flags.size(); ++i)
        bits |= flags[i] ? 1u << i : 0u;
    return bits;
}

}  // namespace

std::optional<double> SimAmplifier::number(const LiveKeys::Key& key) const
{
    const ObjectEntry* entry = key ? dictionary_.find(*key) : nullptr;
    return entry ? valuecodec::decodePhysical(*entry, entry->value) : std::nullopt;
}

void SimAmplifier::setNumber(const LiveKeys::Key& key, double value)
{
    ObjectEntry* entry = key ? dictionary_.find(*key) : nullptr;
    if (entry && isNumeric(entry->kind))
        entry->value = valuecodec::encodePhysical(*entry, value);
}

double SimAmplifier::offset(const LiveKeys::Key& key, double standIn) const { return number(key).value_or(standIn); }

void SimAmplifier::setOffset(const LiveKeys::Key& key, double& standIn, double value)
{
    standIn = value;
    setNumber(key, value);
    if (key)
        afterWrite(*dictionary_.find(*key));
}

// An overloaded input stays beyond the range, as a saturated one does.
double SimAmplifier::inputAt(int64_t ms) const
{
    constexpr double OverloadShare = 1.1;
    if (faults_.conditions.count(DeviceFault::InputOverload))
        return OverloadShare * signal_.settings().range;
    return signal_.input(ms);
}

MeasuredValues SimAmplifier::measure(int64_t ms)
{
    MeasuredValues values;
    values.gross = inputAt(ms) - offset(live_.zeroOffset, zeroOffset_);
    values.net = values.gross - offset(live_.tareOffset, tareOffset_);
    peakMax_ = std::max(peakMax_.value_or(values.gross), values.gross);
    peakMin_ = std::min(peakMin_.value_or(values.gross), values.gross);
    values.peakMax = *peakMax_;
    values.peakMin = *peakMin_;
    return values;
}

std::array<bool, 4> SimAmplifier::limitSwitches(const MeasuredValues& values) const
{
    const auto enableMask = static_cast<uint32_t>(number(live_.limitEnableMask).value_or(0));
    std::array<bool, 4> tripped{};
    for (std::size_t i = 0; i < tripped.size(); ++i) {
        const LiveKeys::LimitSwitchKeys& keys = live_.limitSwitches[i];
        LimitSwitchSetting setting;
        setting.enabled = (enableMask >> i) & 1;
        setting.source = static_cast<int>(number(keys.source).value_or(0));
        setting.direction = static_cast<int>(number(keys.direction).value_or(0));
        setting.level = number(keys.level);
        tripped[i] = limitSwitchTripped(setting, values);
    }
    return tripped;
}

uint32_t SimAmplifier::digitalIoLevel(const std::array<bool, 4>& limits) const
{
    uint32_t level = digitalInput_ ? DigitalInputBit : 0;
    level |= limits[0] ? FirstOutputBit : 0;
    level |= limits[1] ? FirstOutputBit << 1 : 0;
    return level;
}

void SimAmplifier::refreshLive()
{
    const int64_t ms = nowLocked();
    const MeasuredValues values = measure(ms);
    StatusInputs status;
    status.gross = values.gross;
    status.range = signal_.settings().range;
    status.limitSwitches = limitSwitches(values);
    status.tareActive = offset(live_.tareOffset, tareOffset_) != 0.0;
    status.changed = changed_;
    status.tedsDetected = hasTeds_;
    status.busOff = faults_.busStatus & BusOffStatus;
    status.sensorBreak = faults_.conditions.count(DeviceFault::SensorBreak) > 0;
    status.excitationFault = faults_.conditions.count(DeviceFault::Excitation) > 0;

    setNumber(live_.gross, values.gross);
    setNumber(live_.net, values.net);
    setNumber(live_.input, inputAt(ms));
    setNumber(live_.peakMax, values.peakMax);
    setNumber(live_.peakMin, values.peakMin);
    setNumber(live_.statusLong, statusLong(status));
    setNumber(live_.statusShort, statusShort(status));
    setNumber(live_.limitState, bitsOf(status.limitSwitches));
    setNumber(live_.digitalIo, digitalIoLevel(status.limitSwitches));
    setNumber(live_.hasTeds, hasTeds_ ? 1 : 0);
    setNumber(live_.tedsActive, tedsActive_ ? 1 : 0);
    setNumber(live_.tedsErrorStatus, tedsError_);
    setNumber(live_.changed, changed_ ? 1 : 0);
    if (ObjectEntry* block = live_.tedsBlock ? dictionary_.find(*live_.tedsBlock) : nullptr)
        block->value = tedsBlock_.left(block->maxLength);
    if (ObjectEntry* sensor = live_.sensorId ? dictionary_.find(*live_.sensorId) : nullptr)
        sensor->value = hasTeds_ ? tedsmemory::dataStream(tedsBlock_).left(tedslayout::BasicBytes) : QByteArray();
}
