#include "core/ResultCodes.h"
#include "transport/profibus/Dpv1Transport.h"
#include "transport/profibus/ProfibusLibrary.h"
#include "transport/profibus/ProfibusResultCodes.h"

QString DPV1_ErrorText(int32_t result)
{
    switch (result) {
    case rc::ReadOnly: return QStringLiteral("Ce paramètre peut être lu uniquement !");
    case rc::AccessDenied: return QStringLiteral("L'accès au paramètre a été refusé !");
    case rc::UnknownInDescription:
        return QStringLiteral("Référence de communication incorrecte (communication perturbée )");
    case rc::ProfibusSlaveNotReady: return QStringLiteral("Slave not ready");
    case rc::ProfibusAutoClearError: return QStringLiteral("Auto-clear error");
    case rc::ProfibusMallocError: return QStringLiteral("Malloc error");
    case rc::ProfibusTimeout: return QStringLiteral("Time out");
    case rc::ProfibusNoCommunication: return QStringLiteral("Aucune communication");
    case rc::ProfibusSlaveHasNoOutput: return QStringLiteral("Slave has no output");
    case rc::ProfibusDriverNotInstalled: return QStringLiteral("Le pilote n'a pas été installé");
    case rc::ProfibusInvalidBoard: return QStringLiteral("Invalid board number");
    case rc::ProfibusBoardNotAvailable: return QStringLiteral("Board not available");
    case rc::ProfibusDriverUnavailable: return QStringLiteral("Pilote (PROFIBUS DPV1 classe 2) non disponible");
    case rc::ProfibusInvalidType: return QStringLiteral("Type non valide");
    default: return QStringLiteral("Erreur inconnue ") + QString::number(result);
    }
}

QString DPV1_MasterTypeText(int32_t type)
{
    switch (type) {
    case profibus::SiemensMaster: return QStringLiteral("Maître PROFIBUS SIEMENS");
    case profibus::HilscherMaster: return QStringLiteral("Maître PROFIBUS Hilscher ");
    default: return {};
    }
}
