// The firmware check of a connect: does the device need a newer assistant?
#include "device/DeviceSession.h"

#include "core/Host.h"
#include "core/xml/XmlFiles.h"
#include "model/ValueText.h"
#include "transport/AppState.h"

#include <QStringList>

// The build passes the CMake project version; these stand in until it does.
namespace {

QString firmwareMessage(int32_t required)
{
    return QStringList{
        QStringLiteral("L'appareil comporte un firmware qu'éventuellement n'est pas complètement supporté "
                       "par cette version de l'Assistant."),
        QStringLiteral("Pour un support complet requiert au moins la version %1.%2 de l'Assistant.")
            .arg(required / 100)
            .arg(required % 100),
        QStringLiteral("Téléchargez la version la plus récente de l'Assistant sur le site web de ZEM, "
                       "https://www.zem.example,"),
        QStringLiteral("sous Support -> Téléchargements -> Logiciel. Voir aussi l'Aide Quelbrin"),
    }.join(QStringLiteral("\r\n"));
}

}  // namespace

int32_t Assistant_ComparableVersion()
{
    return QUELBRIN_VERSION_MAJOR * 100 + QUELBRIN_VERSION_MINOR * 10;
}

void Device_CheckRequiredVersion(AppState& state, XmlNode parameters)
{
    XmlNode element;
    if (Conf_GetNode(QStringLiteral("Common/RequiredAssistantVersion"), parameters, element) < 0)
        return;  // no element, no requirement
    const int32_t required = roundTo<int16_t>(leadingNumber(element.text()));
    if (required > 0 && required > Assistant_ComparableVersion())
        ShowMessage(*state.core.host, firmwareMessage(required), msg::Information);
}
