#include "transport/ErrorText.h"

#include "core/ResultCodes.h"
#include "transport/AppState.h"
#include "transport/can/CanTexts.h"
#include "transport/can/SdoSync.h"
#include "transport/profibus/Dpv1Transport.h"

namespace {

QString textOfCode(int32_t code)
{
    switch (code) {
    case rc::UnknownInterface: return QStringLiteral("Type d'interface inconnu !");
    case rc::NoInterface: return QStringLiteral("Aucune interface valide n'est sélectionnée");
    case rc::NoDevice: return QStringLiteral("Aucun appareil n'a été raccordé !");
    case rc::NotSupported: return QStringLiteral("Cette fonction n'est pas supportée !");
    case rc::UnknownInDescription:
        return QStringLiteral("Paramètre inconnu au fichier de description de l'appareil");
    case rc::UnknownInConfiguration:
        return QStringLiteral("Paramètre inconnu au fichier de configuration de l'appareil");
    case rc::Timeout:
    case rc::CanTimeout: return QStringLiteral("Timeout!");
    case rc::BufferOverflow: return QStringLiteral("Débordement de tampon !");
    case rc::ValueNotSet: return QStringLiteral("La valeur souhaitée ne peut pas être ajustée");
    case rc::ReadOnly: return QStringLiteral("Ce paramètre peut être lu uniquement !");
    case rc::AccessDenied: return QStringLiteral("L'accès au paramètre a été refusé !");
    case rc::UnknownOnDevice: return QStringLiteral("Paramètre inconnu à l'appareil");
    // The CAN library's own codes carry the bus words wherever they reach.
    default: return CAN_BusStatusText(code, 0);
    }
}

QString sdoAbortText(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry,
                     const QString& path)
{
    QByteArray bytes;
    int32_t length = 0;
    // Whatever the read returns, the bytes it leaves are the abort code; none give the bus text.
    static_cast<void>(SDO_ReadAbortCode(state, settings, entry, path, bytes, length));
    return abortErrorText(bytes, length);
}

}  // namespace

QString abortErrorText(const QByteArray& bytes, int32_t length)
{
    const QString abort = SDO_AbortText(bytes, length);
    return abort.isEmpty() ? QStringLiteral("Erreur de bus CAN !") : QStringLiteral("Erreur CiA : '") + abort + '\'';
}

QString resultCodeText(int32_t code)
{
    const QString text = textOfCode(code);
    return text.isEmpty() ? QString::number(code) : text;
}

QString ErrorText(AppState& state, const InterfaceSettings& settings, const DeviceEntry& entry,
                  int32_t code, const QString& path)
{
    if (code == rc::CanSdoAbort)
        return sdoAbortText(state, settings, entry, path);
    if (settings.InterfaceType == PROFIBUS && textOfCode(code).isEmpty())
        return DPV1_ErrorText(code);
    return resultCodeText(code);
}
