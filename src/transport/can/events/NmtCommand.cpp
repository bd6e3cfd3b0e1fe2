#include "transport/can/events/NmtCommand.h"

const std::vector<NmtCommand>& nmtCommands()
{
    static const std::vector<NmtCommand> table{
        {"start", 0x01, QStringLiteral("Démarrer (opérationnel)"), QStringLiteral("Démarrer tous les nœuds"), false},
        {"stop", 0x02, QStringLiteral("Arrêter (stopped)"), QStringLiteral("Arrêter tous les nœuds"), false},
        {"preop", 0x80, QStringLiteral("Mettre à 'Pré-opérationnel'"),
         QStringLiteral("Mettre tous les nœuds à 'Pré-opérationnel'"), false},
        {"reset", 0x81, QStringLiteral("Réinitialiser le nœud..."), QStringLiteral("Réinitialiser tous les nœuds..."),
         true},
        {"reset-comm", 0x82, QStringLiteral("Réinitialiser la communication..."),
         QStringLiteral("Réinitialiser la communication de tous les nœuds..."), true},
    };
    return table;
}

const NmtCommand* findNmtCommand(const QString& name)
{
    for (const NmtCommand& command : nmtCommands())
        if (name == QLatin1String(command.name))
            return &command;
    return nullptr;
}

QString nmtQuestion(const NmtCommand& command, const QString& device)
{
    const QString target = device.isEmpty() ? QStringLiteral("Tous les nœuds du réseau CAN")
                                            : QStringLiteral("L'appareil ") + device;
    const QString what = command.code == 0x81 ? QStringLiteral("redémarrent et perdent leurs réglages non sauvegardés")
                                              : QStringLiteral("réinitialisent leur communication");
    const QString singular = command.code == 0x81 ? QStringLiteral("redémarre et perd ses réglages non sauvegardés")
                                                  : QStringLiteral("réinitialise sa communication");
    return target + ' ' + (device.isEmpty() ? what : singular) + QStringLiteral(" !\r\nContinuer ?");
}
