// The card and station connections: opened by the interface manager and the device
// open and close.
#include "core/Host.h"
#include "transport/AppState.h"
#include "transport/profibus/Dpv1Transport.h"
#include "transport/profibus/ProfibusResultCodes.h"

int32_t DPV1_OpenCard(AppState& state, InterfaceSettings& settings)
{
    ProfibusDiag diag{};
    const int32_t result = state.buses.profibus ? state.buses.profibus->c2Init(DPV1_Card(settings), diag)
                                                : rc::ProfibusDriverUnavailable;
    settings.Connected = result >= 0;
    if (result < 0)
        ShowMessage(*state.core.host,
                    QStringLiteral("Erreur%1 lors de la connexion avec la carte PROFIBUS : '").arg(result) +
                        DPV1_ErrorText(result) + u'\'',
                    msg::Warning);
    return result;
}

void DPV1_CloseCard(AppState& state, const InterfaceSettings& settings)
{
    // The card counts as closed afterwards, whatever the library says.
    if (state.buses.profibus)
        static_cast<void>(state.buses.profibus->c2Close(DPV1_Card(settings)));
}

int32_t DPV1_ConnectStation(AppState& state, const InterfaceSettings& settings, uint8_t station)
{
    if (!state.buses.profibus)
        return rc::ProfibusDriverUnavailable;
    ProfibusDiag diag{};
    // Releases a connection left open; with none, there is nothing to release.
    static_cast<void>(state.buses.profibus->c2Disconnect(DPV1_Card(settings), station, diag));
    diag.fill(0);
    return state.buses.profibus->c2Connect(DPV1_Card(settings), station, diag);
}

int32_t DPV1_DisconnectStation(AppState& state, const InterfaceSettings& settings, uint8_t station)
{
    if (!state.buses.profibus)
        return rc::ProfibusDriverUnavailable;
    ProfibusDiag diag{};
    return state.buses.profibus->c2Disconnect(DPV1_Card(settings), station, diag);
}
