#include "transport/can/events/NetEventDigest.h"

NetEventDigest digestNetEvents(const std::vector<NetEvent>& events, int maxLogLines)
{
    NetEventDigest digest;
    for (const NetEvent& event : events) {
        if (digest.logLines.size() < maxLogLines)
            digest.logLines << netEventText(event);
        else
            ++digest.unlogged;
        if (event.kind == NetEvent::Kind::Emcy) {
            digest.lastEmcy = event;
            ++digest.emcyCount;
        } else if (event.kind == NetEvent::Kind::BootUp) {
            digest.bootedNodes.insert(event.node);
        }
    }
    if (digest.unlogged > 0)
        digest.logLines << QStringLiteral("... %1 autres évènements du réseau CAN non journalisés").arg(digest.unlogged);
    return digest;
}

QString emcyStatusText(const NetEvent& event, int count)
{
    const QString text = netEventText(event);
    return count > 1 ? text + QStringLiteral(" (+%1 EMCY)").arg(count - 1) : text;
}
