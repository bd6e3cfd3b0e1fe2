#include "transport/can/CanScan.h"

#include "core/Host.h"
#include "core/ResultCodes.h"
#include "transport/AppState.h"
#include "transport/can/CanTexts.h"
#include "transport/can/SdoSync.h"
#include "transport/can/lib/CanLibrary.h"

namespace {

constexpr int kHighestNode = 127;
constexpr int kBatch = 16;
constexpr int kScanTimeoutMs = 500;
constexpr int kResetPauseMs = 500;

struct VendorAddress {
    int32_t index = 0;
    uint8_t sub = 0;
};

VendorAddress vendorAddress(const AppState& state)
{
    VendorAddress address;
    XmlNode vendor;
    // A missing part of the address stays 0: nodes without that object are not found.
    if (!state.descriptions.empty() &&
        Descr_FindNode(QStringLiteral("Common/VendorID"), state.descriptions.front().get(), vendor) == 0)
        static_cast<void>(SDO_GetAddress(vendor, address.index, address.sub));
    return address;
}

// Takes the queued reply of the node's vendor ID read out of the library.
int32_t takeReply(CanLibrary& can, int node, const VendorAddress& address, uint32_t& sdoError)
{
    uint8_t replyNode = uint8_t(node);
    uint16_t index = uint16_t(address.index);
    uint8_t sub = address.sub;
    QByteArray data;
    return can.getReadSdoFromQueue(sdoError, replyNode, index, sub, data);
}

// Collects the replies of nodes first..last (first the highest), appending those that answered.
void collectBatch(AppState& state, int first, int last, const VendorAddress& address,
                  std::vector<DeviceEntry>& found)
{
    for (int node = first; node >= last; --node) {
        uint32_t sdoError = 0;
        const int32_t result = takeReply(*state.buses.can, node, address, sdoError);
        if (result != 0 || sdoError != 0) {
            Log_Write(state.core, QStringLiteral("Node ID  %1: Error %2 while asynchronuous read of SDO "
                                                 "with index %3, sub index %4")
                                      .arg(node)
                                      .arg(result != 0 ? qint64(result) : qint64(sdoError))
                                      .arg(address.index)
                                      .arg(address.sub));
            continue;
        }
        DeviceEntry entry;
        entry.InterfaceKind = CANBus;
        entry.NodeId = node;
        found.push_back(entry);
    }
}

}  // namespace

int32_t CAN_ScanRead(AppState& state, const InterfaceSettings& settings, Host* panel,
                     std::vector<DeviceEntry>& found)
{
    if (settings.InterfaceType != CANBus || !state.buses.can)
        return rc::NoInterface;
    Host& host = *state.core.host;
    CanLibrary& can = *state.buses.can;
    if (panel)
        panel->setStatusText(QStringLiteral("Recherche d'appareils..."));
    BusyPointer busy(host);
    // Valid values: the library takes them, so the settings calls are not checked.
    static_cast<void>(can.setReadSdoFromQueueOrder(0));
    static_cast<void>(can.setTimeoutTime(CanLibrary::DefaultTimeoutMs));
    const int32_t status = can.getStatus();
    if (status < 0)
        return status;
    if (status & (canstatus::BusHeavy | canstatus::BusOff)) {
        static_cast<void>(can.resetCan());  // the replies tell whether the bus is back
        host.sleepMs(kResetPauseMs);
    }
    static_cast<void>(can.setTimeoutTime(kScanTimeoutMs));
    const VendorAddress address = vendorAddress(state);
    const size_t before = found.size();
    int32_t result = rc::Ok;
    int batchStart = kHighestNode;
    for (int node = kHighestNode; node >= 1; --node) {
        const int32_t queued = can.queueReadSdo(uint8_t(node), uint16_t(address.index), address.sub);
        if (queued < 0) {
            ShowMessage(host,
                        QStringLiteral("Start of asynchronous read(ZEMCAN_QueueReadSDO()) returned "
                                       "error: %1\r\nAborting scan!")
                            .arg(queued),
                        msg::Error);
            // The reads of the batch so far must not answer a later read.
            for (int queuedNode = batchStart; queuedNode > node; --queuedNode) {
                uint32_t sdoError = 0;
                takeReply(can, queuedNode, address, sdoError);
            }
            result = queued;
            break;
        }
        if (node % kBatch == 0 || node == 1) {
            host.setProgress(kHighestNode - node, kHighestNode - 1);
            collectBatch(state, batchStart, node, address, found);
            batchStart = node - 1;
        }
    }
    static_cast<void>(can.setTimeoutTime(CanLibrary::DefaultTimeoutMs));
    if (panel)
        panel->setStatusText(QString());
    return result < 0 ? result : int32_t(found.size() - before);
}

void CAN_SetPreOperational(AppState& state)
{
    const int answer = ShowMessage(
        *state.core.host,
        QStringLiteral("Normalement, l'exécution de cette fonction n'est requise que pour des fins de "
                       "maintenance \r\net peut éventuellement produir un comportement erroné des "
                       "appareils raccordés.\r\nConfirmer avec 'Oui' pour mettre tous les appareils sur "
                       "le bus en état 'Pré-opérationnel'.\r\nPar cela, le trafic de données cyclique "
                       "est désactivé.\r\nContinuer quand même ?"),
        msg::Question);
    if (answer != msg::Yes || !state.buses.can)
        return;
    // Sent three times so that a lost frame does no harm; a failure is not reported.
    for (int i = 0; i < 3; ++i)
        static_cast<void>(state.buses.can->setPdoOperMode(0, 0));
}
