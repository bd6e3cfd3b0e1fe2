#include "cli/ValueEntry.h"

#include "core/AppCore.h"
#include "core/Host.h"
#include "core/ResultCodes.h"
#include "core/xml/XmlFiles.h"
#include "model/ConfSet.h"
#include "model/ParameterKind.h"
#include "model/ValueText.h"

#include <QDate>

namespace {

// ISO dates and the French and German ways of writing them.
QDate enteredDate(const QString& text)
{
    for (const char* format : {"yyyy-MM-dd", "dd/MM/yyyy", "dd.MM.yyyy"}) {
        const QDate date = QDate::fromString(text.trimmed(), QLatin1String(format));
        if (date.isValid())
            return date;
    }
    return {};
}

int32_t storeDate(AppCore& app, const Description* d, XmlNode parameters, const QString& path, const QString& text)
{
    const QDate date = enteredDate(text);
    if (!date.isValid()) {
        ShowMessage(*app.host, QStringLiteral("Date non valide !"), msg::Information);
        return rc::Refused;
    }
    return Conf_SetDate(app, d, parameters, path, date);
}

// A bit mask is stored as the bit mask window stores it: without a check. "0x" gives hex.
int32_t storeBitMask(XmlNode parameters, const QString& path, const QString& text)
{
    XmlNode element;
    const int32_t found = Conf_GetNode(path, parameters, element);
    if (found < 0)
        return found;
    const QString entered = text.trimmed();
    bool hex = false;
    const uint32_t bits = entered.mid(2).toUInt(&hex, 16);
    const bool hexText = entered.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) && hex;
    const int32_t value = hexText ? int32_t(bits) : roundTo<int32_t>(StrToDouble(entered));
    element.setText(QString::number(value));
    return rc::Ok;
}

}  // namespace

int32_t storeEnteredValue(AppCore& app, const Description* d, XmlNode member, XmlNode parameters,
                          const QString& path, const QString& text)
{
    // Numbers as the grid reads a cell: "," is a decimal point and what follows the number is ignored.
    const double number = StrToDouble(text);
    switch (parameterKind(member.name())) {
    case ParameterKind::Toggle:
        return Conf_SetToggle(app, d, parameters, path, textToBool(text));
    case ParameterKind::ValueByte:
        return Conf_SetByte(app, d, parameters, path, roundTo<uint8_t>(number));
    case ParameterKind::ValueShort:
    case ParameterKind::ValueLong:
        return Conf_SetLong(app, d, parameters, path, roundTo<int32_t>(number));
    case ParameterKind::ValueLongFloat:
        return Conf_SetLongFloat(app, d, parameters, path, float(number));
    case ParameterKind::ValueFloat:
        return Conf_SetFloat(app, d, parameters, path, float(number));
    case ParameterKind::ValueString:
        return Conf_SetString(app, d, parameters, path, text);
    case ParameterKind::ValueDate:
        return storeDate(app, d, parameters, path, text);
    case ParameterKind::EnumString:
        return Conf_SetEnumString(app, d, parameters, path, text);
    case ParameterKind::EnumFloat:
        return Conf_SetEnumFloat(app, d, parameters, path, float(number));
    case ParameterKind::BitMask:
        return storeBitMask(parameters, path, text);
    default:
        return rc::NotSupported;
    }
}
