#include "sim/amplifier/LimitSwitch.h"

bool limitSwitchTripped(const LimitSwitchSetting& setting, const MeasuredValues& values)
{
    if (!setting.enabled || !setting.level)
        return false;
    const double watched = setting.source == 1   ? values.net
                           : setting.source == 2 ? values.peakMax
                           : setting.source == 3 ? values.peakMin
                                                 : values.gross;
    return setting.direction == 1 ? watched < *setting.level : watched > *setting.level;
}
