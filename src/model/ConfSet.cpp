#include "model/ConfSet.h"

#include "core/AppCore.h"
#include "core/Host.h"
#include "core/ResultCodes.h"
#include "core/xml/XmlFiles.h"
#include "model/Checks.h"
#include "model/Descriptions.h"
#include "model/ValueText.h"

#include <cmath>

namespace {

// Stores the text in the element of the path, or says that it is missing (-9).
int32_t store(AppCore& app, XmlNode parameters, const QString& path, const QString& text)
{
    XmlNode element;
    if (Conf_GetNode(path, parameters, element) < 0 || !element) {
        ShowMessage(*app.host,
                    QStringLiteral("Paramètre '") + path +
                        QStringLiteral("' n'a pas été trouvé dans la configuration de l'appareil !"),
                    msg::Warning);
        return rc::UnknownInConfiguration;
    }
    element.setText(text);
    return rc::Ok;
}

int32_t storeChecked(AppCore& app, XmlNode parameters, const QString& path, int32_t checked,
                     const QString& text)
{
    return checked < 0 ? checked : store(app, parameters, path, text);
}

// Stores the "Code" of the enumeration item the selector picks, or refuses the shown value.
int32_t storeEnumCode(AppCore& app, const Description* d, XmlNode parameters, const QString& path,
                      const QString& selector, const QString& shown)
{
    XmlNode element;
    if (Conf_GetNode(path, parameters, element) < 0 || !element)
        return store(app, parameters, path, QString());  // says -9
    XmlNode node;
    if (const int32_t found = Descr_FindNode(path, d, node); found < 0)
        return found;
    const XmlNode item = node.selectSingle(QStringLiteral("Enumeration/EnumItem[") + selector + ']');
    if (!item) {
        ShowMessage(*app.host,
                    QStringLiteral("La valeur '") + shown + QStringLiteral("' non est admise pour '") +
                        path + QStringLiteral("' le type d'énumération !"),
                    msg::Information);
        return rc::Refused;
    }
    element.setText(item.childText("Code").trimmed());
    return rc::Ok;
}

}  // namespace

int32_t Conf_SetToggle(AppCore& app, const Description*, XmlNode parameters, const QString& path, bool value)
{
    return store(app, parameters, path, boolToText(value));
}

int32_t Conf_SetByte(AppCore& app, const Description* d, XmlNode parameters, const QString& path, uint8_t value)
{
    return storeChecked(app, parameters, path, Check_Byte(app, d, path, value), QString::number(value));
}

int32_t Conf_SetLong(AppCore& app, const Description* d, XmlNode parameters, const QString& path, int32_t value)
{
    return storeChecked(app, parameters, path, Check_Long(app, d, path, value), QString::number(value));
}

int32_t Conf_SetLongFloat(AppCore& app, const Description* d, XmlNode parameters, const QString& path, float value)
{
    const int32_t checked = Check_Long(app, d, path, roundTo<int32_t>(value));
    if (checked < 0)
        return checked;
    XmlNode node;
    if (const int32_t found = Descr_FindNode(path, d, node); found < 0)
        return found;
    const int decimals = roundTo<int32_t>(StrToDouble(node.childText("DecimalPointPos")));
    // Through the value's text, so that 1.15 stays 1.15 and does not become 1.1499999.
    const double shown = StrToDouble(floatToText(value));
    const double raw = shown * std::pow(10.0, decimals);
    return storeChecked(app, parameters, path, Check_Width(app, node, raw), QString::number(roundTo<int32_t>(raw)));
}

int32_t Conf_SetFloat(AppCore& app, const Description* d, XmlNode parameters, const QString& path, float value)
{
    return storeChecked(app, parameters, path, Check_Float(app, d, path, value), floatToText(value));
}

int32_t Conf_SetDate(AppCore& app, const Description* d, XmlNode parameters, const QString& path, const QDate& value)
{
    const int32_t checked = Check_Long(app, d, path, roundTo<int32_t>(double(dayNumber(value))));
    return storeChecked(app, parameters, path, checked, dateToText(value));
}

int32_t Conf_SetString(AppCore& app, const Description* d, XmlNode parameters, const QString& path, const QString& value)
{
    XmlNode element;
    const int32_t found = Conf_GetNode(path, parameters, element);
    if (found < 0)
        return found;
    const int32_t checked = Check_String(app, d, path, value);
    if (checked < 0)
        return checked;
    element.setText(value);
    return rc::Ok;
}

int32_t Conf_SetEnumString(AppCore& app, const Description* d, XmlNode parameters, const QString& path, const QString& text)
{
    return storeEnumCode(app, d, parameters, path,
                         QStringLiteral("Description/* = ") + xpathLiteral(text), text);
}

int32_t Conf_SetEnumFloat(AppCore& app, const Description* d, XmlNode parameters, const QString& path, float value)
{
    const QString number = QString::number(double(value), 'g', 7);
    return storeEnumCode(app, d, parameters, path, QStringLiteral("Value = ") + number,
                         floatForMessage(value));
}
