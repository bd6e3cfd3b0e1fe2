#pragma once
#include "sim/amplifier/ObjectDictionary.h"

#include <array>
#include <map>

// What writing an action parameter (or a command word bit) makes the amplifier do.
enum class SimAction {
    None,
    SaveApp,
    SaveComm,
    SaveAll,
    FactoryApp,
    FactoryComm,
    Restart,
    ActivateTeds,
    Zero,
    Tare,
    ClearTare,
    ResetPeak,
};

// The objects whose value the amplifier computes or reacts to, found once by path.
struct LiveKeys {
    using Key = std::optional<ObjectKey>;
    struct LimitSwitchKeys {
        Key source, direction, level;
    };
    Key gross, net, input, peakMax, peakMin, statusLong, statusShort, digitalIo;
    Key commandWord, zeroOffset, tareOffset, limitEnableMask, limitState;
    Key tedsBlock, sensorId, hasTeds, tedsActive, tedsErrorStatus, autoActivateTeds, changed, allowPdo;
    std::array<LimitSwitchKeys, 4> limitSwitches;
};

LiveKeys resolveLiveKeys(const ObjectDictionary& dictionary);
std::map<ObjectKey, SimAction> resolveActions(const ObjectDictionary& dictionary);
