#include "sim/amplifier/LiveKeys.h"

#include "sim/amplifier/WellKnownPaths.h"

LiveKeys resolveLiveKeys(const ObjectDictionary& dictionary)
{
    auto key = [&](const char* path) { return dictionary.keyOf(QLatin1String(path)); };
    LiveKeys live;
    live.gross = key(simpath::ValueGross);
    live.net = key(simpath::ValueNet);
    live.input = key(simpath::InputSignal);
    live.peakMax = key(simpath::PeakMax);
    live.peakMin = key(simpath::PeakMin);
    live.statusLong = key(simpath::StatusLong);
    live.statusShort = key(simpath::StatusShort);
    live.digitalIo = key(simpath::DigitalIo);
    live.commandWord = key(simpath::CommandWord);
    live.zeroOffset = key(simpath::ZeroOffset);
    live.tareOffset = key(simpath::TareOffset);
    live.limitEnableMask = key(simpath::LimitEnableMask);
    live.limitState = key(simpath::LimitState);
    live.tedsBlock = key(simpath::TedsBlock);
    live.sensorId = key(simpath::SensorId);
    live.hasTeds = key(simpath::HasTeds);
    live.tedsActive = key(simpath::TedsActive);
    live.tedsErrorStatus = key(simpath::TedsErrorStatus);
    live.autoActivateTeds = key(simpath::AutoActivateTeds);
    live.changed = key(simpath::Changed);
    live.allowPdo = key(simpath::AllowPdo);
    for (std::size_t i = 0; i < live.limitSwitches.size(); ++i) {
        auto numbered = [&](const char* pattern) { return dictionary.keyOf(QString::fromLatin1(pattern).arg(i + 1)); };
        live.limitSwitches[i] = {numbered(simpath::LimitSource), numbered(simpath::LimitDirection),
                                 numbered(simpath::LimitLevel)};
    }
    return live;
}

std::map<ObjectKey, SimAction> resolveActions(const ObjectDictionary& dictionary)
{
    const std::pair<const char*, SimAction> named[] = {
        {simpath::SaveApp, SimAction::SaveApp},
        {simpath::SaveComm, SimAction::SaveComm},
        {simpath::SaveAll, SimAction::SaveAll},
        {simpath::FactorySettingsApp, SimAction::FactoryApp},
        {simpath::FactorySettingsComm, SimAction::FactoryComm},
        {simpath::Restart, SimAction::Restart},
        {simpath::ActivateTeds, SimAction::ActivateTeds},
        {simpath::Zero, SimAction::Zero},
        {simpath::Tare, SimAction::Tare},
        {simpath::ClearTare, SimAction::ClearTare},
        {simpath::ResetPeak, SimAction::ResetPeak},
    };
    std::map<ObjectKey, SimAction> actions;
    for (const auto& [path, action] : named) {
        if (const auto key = dictionary.keyOf(QLatin1String(path)))
            actions[*key] = action;
    }
    return actions;
}
