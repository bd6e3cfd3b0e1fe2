#include "simtool/CanService.h"

#include "core/ResultCodes.h"
#include "transport/can/lib/CanFrame.h"

#include <QCanBus>

namespace {
constexpr int RejoinCheckMs = 1000;
}

std::unique_ptr<CanService> startCanService(const QString& plugin, const QString& interfaceName,
                                            const SimRack& rack, QString& message)
{
    const QStringList plugins = QCanBus::instance()->plugins();
    if (!plugins.contains(plugin)) {
        message = QStringLiteral("no CAN plugin %1 (there are: %2)").arg(plugin, plugins.join(QStringLiteral(", ")));
        return nullptr;
    }
    int32_t result = rc::Ok;
    auto service = std::make_unique<CanService>();
    service->bus = QtCanFrameBus::open(plugin, interfaceName, result);
    if (!service->bus) {
        message = result == rc::CanNoSuchNet
                      ? QStringLiteral("CAN plugin %1 refuses the interface %2").arg(plugin, interfaceName)
                      : QStringLiteral("CAN interface %1 of %2 does not connect").arg(interfaceName, plugin);
        return nullptr;
    }
    service->servers = std::make_unique<CanRackServers>(*service->bus, rack);
    QtCanFrameBus* bus = service->bus.get();
    QObject::connect(&service->rejoin, &QTimer::timeout, [bus] {
        if (bus->status() & canstatus::BusOff)
            bus->reset();
    });
    service->rejoin.start(RejoinCheckMs);
    return service;
}
