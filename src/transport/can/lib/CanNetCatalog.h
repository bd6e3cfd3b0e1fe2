#pragma once
#include "transport/can/lib/CanFrameBus.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

struct CanNetInfo {
    QString hardware;
    QString net;
    int32_t bitTiming = 0;   // BTR0 * 256 + BTR1 of an SJA1000-type controller
};

// Bit-timing value of a bit rate in kbit/s, 0 for a rate the table does not hold.
int32_t canBitTiming(int32_t kbit);

// The net list text of the CAN library: "hardware;net;bit-timing" for each net, all
// joined by ";"; the net the library is connected to carries a leading "*".
QString formatCanNetList(const std::vector<CanNetInfo>& nets, const QString& connectedHardware,
                         const QString& connectedNet);

// The CAN hardware the library can open: one hardware per QCanBus plugin with one
// net per interface that the plugin reports, and the built-in nets registered by
// the program (such as the simulated rack).
class CanNetCatalog {
public:
    using BusFactory = std::function<std::unique_ptr<CanFrameBus>()>;
    static constexpr int32_t QtNetKbit = 500;   // QCanBus does not report an interface's rate

    explicit CanNetCatalog(bool withQtPlugins = true);

    void addBuiltInNet(const QString& hardware, const QString& net, int32_t kbit, BusFactory factory);
    std::vector<CanNetInfo> nets() const;
    // Opens a net: 0 and the bus, -16510 when hardware or net does not exist, -1 when
    // the interface exists but cannot be opened. A QCanBus plugin takes any interface
    // name it accepts, also one it does not list (a virtualcan "tcp://" URL).
    [[nodiscard]]
    int32_t open(const QString& hardware, const QString& net, std::unique_ptr<CanFrameBus>& bus) const;

private:
    struct BuiltIn {
        CanNetInfo info;
        BusFactory factory;
    };
    bool withQtPlugins_;
    std::vector<BuiltIn> builtIns_;
};
