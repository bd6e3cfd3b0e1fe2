#include "transport/can/events/NetEvent.h"

#include <QStringList>

namespace {
QString rawFrameText(const CanFrame& frame)
{
    QStringList bytes;
    for (int i = 0; i < frame.length; ++i)
        bytes << QString::number(frame.data[i], 16).rightJustified(2, QLatin1Char('0')).toUpper();
    return QStringLiteral("%1#%2").arg(QString::number(frame.id, 16).rightJustified(3, QLatin1Char('0')).toUpper(),
                                       bytes.join(QString()));
}
}  // namespace

QString netEventText(const NetEvent& event)
{
    const QString node = QStringLiteral("nœud %1 : ").arg(event.node);
    switch (event.kind) {
    case NetEvent::Kind::BootUp:
        return node + QStringLiteral("démarrage (boot-up)");
    case NetEvent::Kind::StateChanged:
        return node + QStringLiteral("%1 -> %2").arg(nodeStateText(event.previous), nodeStateText(event.state));
    case NetEvent::Kind::HeartbeatLost:
        return node + QStringLiteral("heartbeat perdu");
    case NetEvent::Kind::HeartbeatBack:
        return node + QStringLiteral("heartbeat de retour (%1)").arg(nodeStateText(event.state));
    case NetEvent::Kind::Unanswered:
        return node + QStringLiteral("ne répond plus");
    case NetEvent::Kind::Answering:
        return node + QStringLiteral("répond de nouveau");
    case NetEvent::Kind::Emcy:
        return node + emcyText(event.emcy) +
               (event.problem == FrameProblem::None ? QString()
                                                    : QStringLiteral(" [%1]").arg(frameProblemText(event.problem)));
    case NetEvent::Kind::NodeConflict:
        return node + QStringLiteral("deux appareils annoncent ce numéro de nœud");
    case NetEvent::Kind::Malformed:
        return node + QStringLiteral("trame %1 ignorée (%2)").arg(rawFrameText(event.frame),
                                                                 frameProblemText(event.problem));
    }
    return node;
}
