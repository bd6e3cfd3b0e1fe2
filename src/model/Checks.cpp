#include "model/Checks.h"

#include "core/AppCore.h"
#include "core/Host.h"
#include "core/ResultCodes.h"
#include "model/Descriptions.h"
#include "model/BusRange.h"
#include "model/ParameterKind.h"
#include "model/ValueText.h"

#include <optional>

namespace {

template <typename T>
std::optional<T> limit(XmlNode node, const char* name)
{
    const XmlNode element = node.child(name);
    if (!element)
        return std::nullopt;
    if constexpr (std::is_same_v<T, float>)
        return float(StrToDouble(element.text()));
    else
        return roundTo<int32_t>(StrToDouble(element.text()));
}

// The message for a value outside the inclusive limits, or "" when it is inside.
// bothBoundsGap is the blank(s) before "est" when both bounds exist.
template <typename T>
QString rangeMessage(T value, std::optional<T> min, std::optional<T> max, const QString& bothBoundsGap,
                     QString (*format)(T))
{
    const QString head = QStringLiteral("La valeur") + format(value);
    const QString range = QStringLiteral("est en-dehors de l'étendue de valeurs valide ");
    if (min && max && (value < *min || value > *max))
        return head + bothBoundsGap + range + format(*min) + QStringLiteral("... ") + format(*max);
    if (min && !max && value < *min)
        return head + QStringLiteral("  ") + range + QStringLiteral(">= ") + format(*min);
    if (max && !min && value > *max)
        return head + QStringLiteral("  ") + range + QStringLiteral("<= ") + format(*max);
    return {};
}

int32_t refuseWith(AppCore& app, const QString& message)
{
    if (message.isEmpty())
        return rc::Ok;
    ShowMessage(*app.host, message, msg::Warning);
    return rc::Refused;
}

// Refuses a value outside the description's limits, with the message of the bound(s) that apply.
template <typename T>
int32_t checkRange(AppCore& app, XmlNode node, T value, const QString& bothBoundsGap,
                   QString (*format)(T))
{
    return refuseWith(app, rangeMessage<T>(value, limit<T>(node, "MinValue"), limit<T>(node, "MaxValue"),
                                           bothBoundsGap, format));
}

QString formatNumber(double value) { return QString::number(value, 'g', 15); }

QString formatLong(int32_t value) { return QString::number(value); }

}  // namespace

int32_t Check_Long(AppCore& app, const Description* description, const QString& path, int32_t value)
{
    XmlNode node;
    if (Descr_FindNode(path, description, node) < 0)
        return rc::Failed;
    return checkRange<int32_t>(app, node, value, QStringLiteral(" "), &formatLong);
}

int32_t Check_Float(AppCore& app, const Description* description, const QString& path, float value)
{
    XmlNode node;
    if (Descr_FindNode(path, description, node) < 0)
        return rc::Failed;
    switch (parameterKind(node.name())) {
    case ParameterKind::ValueFloat:
        return checkRange<float>(app, node, value, QStringLiteral("  "), &floatForMessage);
    case ParameterKind::EnumFloat: {
        const QString number = QString::number(double(value), 'g', 7);
        const XmlNode item = node.selectSingle(
            QStringLiteral("Enumeration/EnumItem[Value = ") + number + ']');
        return item ? rc::Ok : rc::Refused;
    }
    default:
        return rc::NotSupported;
    }
}

int32_t Check_Byte(AppCore&, const Description* description, const QString& path, uint8_t)
{
    XmlNode node;
    return Descr_FindNode(path, description, node) < 0 ? rc::Failed : rc::Ok;
}

int32_t Check_String(AppCore& app, const Description* description, const QString& path,
                     const QString& value)
{
    XmlNode node;
    if (Descr_FindNode(path, description, node) < 0)
        return rc::Failed;
    switch (parameterKind(node.name())) {
    case ParameterKind::ValueString: {
        const XmlNode maxLenNode = node.child("MaxLen");
        const int32_t maxLen = roundTo<int32_t>(StrToDouble(maxLenNode.text()));
        if (!maxLenNode || maxLen < 1 || value.size() <= maxLen)
            return rc::Ok;
        ShowMessage(*app.host,
                    QStringLiteral("Paramètre '") + Descr_GetText(node, app.Language) +
                        QStringLiteral("': Chaîne de caractères '") + value +
                        QStringLiteral("' trop longue. Un maximum de ") + QString::number(maxLen) +
                        QStringLiteral(" caractères est admis."),
                    msg::Warning);
        return rc::Refused;
    }
    case ParameterKind::EnumString: {
        const XmlNode item = node.selectSingle(QStringLiteral("Enumeration/EnumItem[Description/") +
                                               app.Language + QStringLiteral(" = ") +
                                               xpathLiteral(value) + ']');
        return item ? rc::Ok : rc::Refused;
    }
    default:
        return rc::NotSupported;
    }
}

int32_t Check_Width(AppCore& app, XmlNode node, double value)
{
    const std::optional<BusRange> range = busRange(node);
    if (!range || fitsBus(node, value))
        return rc::Ok;
    return refuseWith(app, rangeMessage<double>(value, double(range->min), double(range->max), QStringLiteral(" "),
                                                &formatNumber));
}
