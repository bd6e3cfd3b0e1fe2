#include "transport/can/lib/CanNetCatalog.h"

#include "core/ResultCodes.h"
#include "core/ResultCodes.h"
#include "transport/can/lib/QtCanFrameBus.h"

#include <QCanBus>
#include <QStringList>

namespace {
struct BitTiming {
    int32_t kbit;
    int32_t value;
};
constexpr BitTiming BitTimings[] = {{1000, 0x0014}, {500, 0x001C}, {250, 0x011C},
                                    {125, 0x031C},  {100, 0x432F}, {50, 0x472F},
                                    {20, 0x532F},   {10, 0x672F},  {5, 0x7F7F}};
}  // namespace

int32_t canBitTiming(int32_t kbit)
{
    for (const BitTiming& timing : BitTimings) {
        if (timing.kbit == kbit)
            return timing.value;
    }
    return 0;
}

QString formatCanNetList(const std::vector<CanNetInfo>& nets, const QString& connectedHardware,
                         const QString& connectedNet)
{
    QStringList fields;
    for (const CanNetInfo& info : nets) {
        bool connected = info.hardware == connectedHardware && info.net == connectedNet;
        fields << info.hardware << (connected ? "*" : "") + info.net << QString::number(info.bitTiming);
    }
    return fields.join(';');
}

CanNetCatalog::CanNetCatalog(bool withQtPlugins) : withQtPlugins_(withQtPlugins) {}

void CanNetCatalog::addBuiltInNet(const QString& hardware, const QString& net, int32_t kbit, BusFactory factory)
{
    builtIns_.push_back({{hardware, net, canBitTiming(kbit)}, std::move(factory)});
}

std::vector<CanNetInfo> CanNetCatalog::nets() const
{
    std::vector<CanNetInfo> nets;
    if (withQtPlugins_) {
        QCanBus* canBus = QCanBus::instance();
        for (const QString& plugin : canBus->plugins()) {
            for (const QCanBusDeviceInfo& device : canBus->availableDevices(plugin))
                nets.push_back({plugin, device.name(), canBitTiming(QtNetKbit)});
        }
    }
    for (const BuiltIn& builtIn : builtIns_)
        nets.push_back(builtIn.info);
    return nets;
}

int32_t CanNetCatalog::open(const QString& hardware, const QString& net, std::unique_ptr<CanFrameBus>& bus) const
{
    for (const BuiltIn& builtIn : builtIns_) {
        if (builtIn.info.hardware == hardware && builtIn.info.net == net) {
            bus = builtIn.factory();
            return bus ? rc::Ok : rc::Failed;
        }
    }
    if (!withQtPlugins_ || !QCanBus::instance()->plugins().contains(hardware))
        return rc::CanNoSuchNet;
    int32_t result = rc::Ok;
    bus = QtCanFrameBus::open(hardware, net, result);
    return result;
}
