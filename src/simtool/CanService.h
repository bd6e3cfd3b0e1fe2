#pragma once
#include "sim/can/CanRackServers.h"
#include "transport/can/lib/QtCanFrameBus.h"

#include <QString>
#include <QTimer>
#include <memory>

// The rack's amplifiers answering SDO on a QCanBus device for as long as it lives.
struct CanService {
    std::unique_ptr<QtCanFrameBus> bus;
    // Joins the bus again once it fell off it (a virtual bus whose hub went away).
    QTimer rejoin;
    std::unique_ptr<CanRackServers> servers;   // declared last: leaves the bus first
};

// Opens the plugin's interface and puts the rack on it; nothing, and `message` says
// why, when the interface cannot be opened.
std::unique_ptr<CanService> startCanService(const QString& plugin, const QString& interfaceName,
                                            const SimRack& rack, QString& message);
