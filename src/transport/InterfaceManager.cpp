#include "transport/InterfaceManager.h"

#include "core/Host.h"
#include "core/Log.h"
#include "core/ResultCodes.h"
#include "transport/AppState.h"
#include "transport/can/CanTexts.h"
#include "transport/can/lib/CanLibrary.h"
#include "transport/devicenet/DnetTransport.h"
#include "transport/profibus/Dpv1Transport.h"
#include "transport/serial/ComTransport.h"

#include <exception>

namespace {

constexpr int kCanAttempts = 2;
constexpr int kResetPauseMs = 500;

void showConnectFailure(AppState& state, int32_t result, const QString& phrase)
{
    ShowMessage(*state.core.host, QStringLiteral("Erreur%1").arg(result) + phrase, msg::Warning);
}

int32_t connectCan(AppState& state, InterfaceSettings& settings)
{
    if (!state.buses.can) {
        showConnectFailure(state, rc::NoInterface,
                           QStringLiteral(" lors de la connexion : '") +
                               QStringLiteral("Aucune interface valide n'est sélectionnée") + '\'');
        return rc::NoInterface;
    }
    CanLibrary& can = *state.buses.can;
    int32_t result = rc::Failed;
    QString text;
    for (int attempt = 1; attempt <= kCanAttempts; ++attempt) {
        result = can.connectClientToNet(settings.HWName, settings.BusName);
        if (result >= 0) {
            settings.Connected = true;
            return result;
        }
        if (result == rc::CanAlreadyOnOtherNet) {
            text = QStringLiteral("The CAN-Hardware is already connected to a net. Connection only "
                                  "possible to this net.");
            break;
        }
        if (result == rc::CanNoSuchNet) {
            text = QStringLiteral("Matériel '") + settings.HWName + QStringLiteral("' ou réseau '") +
                   settings.BusName + QStringLiteral("' n'existe pas !");
            break;
        }
        text = CAN_BusStatusText(result, qMax(can.getStatus(), 0));
        static_cast<void>(can.resetCan());  // the next attempt tells whether it helped
        state.core.host->sleepMs(kResetPauseMs);
        settings.Connected = false;
    }
    showConnectFailure(state, result, QStringLiteral(" lors de la connexion : '") + text + '\'');
    return result;
}

int32_t openInterface(AppState& state, InterfaceSettings& settings)
{
    switch (settings.InterfaceType) {
    case CANBus:
        return connectCan(state, settings);
    case PROFIBUS:
        return DPV1_OpenCard(state, settings);
    case DeviceNet:
        return DNET_OpenInterface(state, settings);
    case RS232:
        return rc::Ok;  // the port is opened when a device is connected
    default:
        ShowMessage(*state.core.host, QStringLiteral("Type d'interface inconnu !"), msg::Warning);
        settings.InterfaceType = NoInterfaceKind;
        settings.Connected = false;
        return rc::UnknownInterface;
    }
}

int32_t connectFailedUnexpectedly(AppState& state, InterfaceSettings& settings, const QString& description)
{
    const QString text = QStringLiteral("Interface_Connect(): ") + description;
    Log_Write(state.core, text);
    ShowMessage(*state.core.host, text, msg::Warning);
    settings.Connected = false;
    return rc::Failed;
}

}  // namespace

int32_t Interface_Connect(AppState& state, InterfaceSettings& settings)
{
    try {
        return openInterface(state, settings);
    } catch (const std::exception& error) {
        return connectFailedUnexpectedly(state, settings, QString::fromLocal8Bit(error.what()));
    } catch (...) {
        return connectFailedUnexpectedly(state, settings, QStringLiteral("Erreur inconnue"));
    }
}

void Interface_CloseBus(AppState& state, InterfaceSettings& settings)
{
    if (settings.Connected) {
        switch (settings.InterfaceType) {
        case CANBus:
            if (state.buses.can)
                static_cast<void>(state.buses.can->disconnectBus());  // the net is left in any case
            break;
        case PROFIBUS:
            DPV1_CloseCard(state, settings);
            break;
        case RS232:
            static_cast<void>(COM_Close(state));  // the interface counts as closed whatever the port says
            break;
        case DeviceNet:
            DNET_CloseInterface(state);
            break;
        default:
            break;
        }
    }
    settings.Connected = false;
}

int32_t Interface_SetTimeout(AppState& state, const InterfaceSettings& settings, int32_t milliseconds)
{
    switch (settings.InterfaceType) {
    case CANBus:
        return state.buses.can ? state.buses.can->setTimeoutTime(milliseconds) : rc::NoInterface;
    case RS232:
        return COM_SetTimeout(state, milliseconds);
    case PROFIBUS:
        return rc::NotSupported;
    default:
        return rc::UnknownInterface;
    }
}
