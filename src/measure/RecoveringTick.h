#pragma once
#include "measure/LinkRecovery.h"
#include "measure/MeasureTick.h"

#include <QString>

struct DeviceContext;

// One tick of the measurement that outlives a lost CAN bus or device: while the link
// is gone it shows "—" instead of waiting a full time-out each tick, tries the device
// again in the background's rhythm (LinkRecovery) or as soon as the device is heard,
// and once it answers re-reads its configuration before measuring again.
class RecoveringTick {
public:
    enum class Link { Up, Lost, Back };
    struct Outcome {
        TickDisplay shown;
        Link link = Link::Up;
        bool rebooted = false;   // Back: the device restarted meanwhile
        QString said;            // the one line said on a change of the link ("" else)
    };

    // The probe's wait for an answer: short, so that a try costs the window little.
    static constexpr int ProbeTimeoutMs = 200;

    Outcome tick(DeviceContext& device);
    bool lost() const { return recovery_.lost(); }

private:
    Outcome lose(DeviceContext& device, int32_t cause);
    Outcome retry(DeviceContext& device);
    bool probe(DeviceContext& device);

    LinkRecovery recovery_;
    int64_t heardAtLoss_ = -1;
    uint32_t bootUpsAtLoss_ = 0;
};

// Texts of the link's changes, with the device's label.
QString linkLostText(const QString& device, int32_t cause);
QString linkBackText(const QString& device, bool rebooted);
