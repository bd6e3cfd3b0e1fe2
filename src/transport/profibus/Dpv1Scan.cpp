// The station search: the live list of a Hilscher card, connect probing on any other.
#include "core/Host.h"
#include "core/ResultCodes.h"
#include "transport/AppState.h"
#include "transport/profibus/Dpv1Transport.h"
#include "transport/profibus/ProfibusResultCodes.h"

#include <algorithm>

namespace {

void addStation(std::vector<DeviceEntry>& found, uint8_t station)
{
    DeviceEntry entry;
    entry.InterfaceKind = PROFIBUS;
    entry.Address = station;
    found.push_back(entry);
}

int32_t scanLiveList(AppState& state, ProfibusLibrary& library, ProfibusCard card, std::vector<DeviceEntry>& found)
{
    ProfibusStationList stations{};
    ProfibusDiag diag{};
    const int32_t result = library.c2Scan(card, stations, diag);
    if (result < 0) {
        ShowMessage(*state.core.host,
                    QStringLiteral("Erreur '") + DPV1_ErrorText(result) +
                        QStringLiteral("' lors du scan d'appareils !"),
                    msg::Warning);
        return result;
    }
    const int32_t count = std::min<int32_t>(result, int32_t(stations.size()));
    for (int32_t i = 0; i < count; ++i)
        addStation(found, stations[std::size_t(i)]);
    return count;
}

int32_t probeStations(Host& host, ProfibusLibrary& library, ProfibusCard card, std::vector<DeviceEntry>& found)
{
    for (int station = profibus::FirstStation; station <= profibus::LastStation; ++station) {
        host.setProgress(station, profibus::LastStation);
        ProfibusDiag diag{};
        if (library.c2Connect(card, uint8_t(station), diag) < 0)
            continue;
        addStation(found, uint8_t(station));
        diag.fill(0);
        static_cast<void>(library.c2Disconnect(card, uint8_t(station), diag));  // the station was found all the same
    }
    return int32_t(found.size()) - 1;
}

}  // namespace

int32_t DPV1_Scan(AppState& state, const InterfaceSettings& settings, std::vector<DeviceEntry>& found)
{
    found.assign(1, DeviceEntry{});
    if (settings.InterfaceType != PROFIBUS)
        return rc::NoInterface;
    if (!state.buses.profibus)
        return rc::ProfibusDriverUnavailable;
    Host& host = *state.core.host;
    host.setStatusText(QStringLiteral("Recherche d'appareils..."));
    const BusyPointer busy(host);
    const ProfibusCard card = DPV1_Card(settings);
    const int32_t result = card.type == profibus::HilscherMaster
                               ? scanLiveList(state, *state.buses.profibus, card, found)
                               : probeStations(host, *state.buses.profibus, card, found);
    host.setProgress(0, 0);
    host.setStatusText(QString());
    return result;
}
