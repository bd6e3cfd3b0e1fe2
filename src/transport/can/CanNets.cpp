#include "transport/can/CanNets.h"

#include "core/ResultCodes.h"
#include "transport/AppState.h"
#include "transport/can/lib/CanLibrary.h"

#include <QStringList>

int32_t CAN_BitTimingToKbit(int32_t bitTiming)
{
    switch (bitTiming) {
    case 20: return 1000;
    case 28: return 500;
    case 284: return 250;
    case 796: return 125;
    case 17199: return 100;
    case 18223: return 50;
    case 21295: return 20;
    case 26415: return 10;
    case 32639: return 5;
    default: return 0;
    }
}

int32_t CAN_ListNets(AppState& state, QList<InterfaceSettings>& nets)
{
    if (!state.buses.can)
        return rc::NoInterface;
    QString list;
    const int32_t result = state.buses.can->getAvailableNets(list);
    if (result != 0)
        return result;
    const QStringList fields = list.split(';');
    int32_t appended = 0;
    for (qsizetype i = 0; i + 2 < fields.size(); i += 3) {
        InterfaceSettings net;
        net.InterfaceType = CANBus;
        net.HWName = fields[i].trimmed();
        net.BusName = fields[i + 1];
        net.Connected = net.BusName.startsWith('*');
        if (net.Connected)
            net.BusName.remove(0, 1);
        net.BaudRate = CAN_BitTimingToKbit(fields[i + 2].trimmed().toInt());
        nets.append(net);
        ++appended;
    }
    return appended;
}

bool CAN_FindNet(AppState& state, InterfaceSettings& settings)
{
    QList<InterfaceSettings> nets;
    if (CAN_ListNets(state, nets) < 0)
        return false;
    for (const InterfaceSettings& net : nets) {
        if (net.HWName == settings.HWName && net.BusName == settings.BusName) {
            settings.InterfaceType = CANBus;
            settings.BaudRate = net.BaudRate;
            return true;
        }
    }
    return false;
}
