#include "device/present/ParameterText.h"

#include "model/Descriptions.h"
#include "model/ParameterKind.h"
#include "model/ValueText.h"

#include <cmath>

namespace {

constexpr double ExponentAbove = 1e6;   // larger floats are shown as 0.0000E+00
constexpr int FloatDecimals = 5;
constexpr int ExponentDecimals = 4;
constexpr int ByteMaskWidth = 8;

QString longFloatText(XmlNode member, const QString& storedText)
{
    const int decimals = int(leadingNumber(member.childText("DecimalPointPos")));
    const double raw = leadingNumber(storedText);
    if (decimals <= 0)
        return QString::number(roundTo<int64_t>(raw));
    return fixedDecimals(raw / std::pow(10.0, decimals), decimals);
}

QString floatText(float value)
{
    if (std::fabs(value) > ExponentAbove)
        return QString::number(double(value), 'E', ExponentDecimals);
    return QString::number(double(value), 'f', FloatDecimals);
}

QString bitMaskText(XmlNode member, const QString& storedText)
{
    const int digits = int(leadingNumber(member.childText("Width"))) == ByteMaskWidth ? 2 : 8;
    const uint32_t bits = uint32_t(roundTo<int32_t>(leadingNumber(storedText)));
    return QStringLiteral("0x") + QString::number(bits, 16).toUpper().rightJustified(digits, '0');
}

// An enumerated value: the item's text or number; the code itself when no item has it.
QString enumText(XmlNode member, const QString& storedText, bool number, const QString& language)
{
    const XmlNode item = enumItem(member, roundTo<int64_t>(leadingNumber(storedText)));
    if (!item)
        return storedText;
    return number ? QString::number(StrToDouble(item.childText("Value"))) : Descr_GetText(item, language);
}

}  // namespace

XmlNode enumItem(XmlNode member, int64_t code)
{
    return member.selectSingle(QStringLiteral("Enumeration/EnumItem[Code = %1]").arg(code));
}

QString fixedDecimals(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString displayValue(XmlNode member, const QString& storedText, const QString& language)
{
    if (storedText.trimmed().isEmpty())
        return storedText;
    switch (parameterKind(member.name())) {
    case ParameterKind::ValueLongFloat:
        return longFloatText(member, storedText);
    case ParameterKind::ValueFloat:
        return floatText(float(leadingNumber(storedText)));
    case ParameterKind::EnumString:
        return enumText(member, storedText, false, language);
    case ParameterKind::EnumFloat:
        return enumText(member, storedText, true, language);
    case ParameterKind::BitMask:
        return bitMaskText(member, storedText);
    case ParameterKind::Toggle:
        return boolToText(textToBool(storedText));
    default:
        return storedText;
    }
}

QString physicalUnitText(const Description* description, XmlNode parameters, const QString& language)
{
    XmlNode member;
    if (Descr_FindNode(QStringLiteral("Scaling/PhysicalUnit"), description, member) < 0 || !parameters)
        return {};
    const XmlNode stored = parameters.selectSingle(QStringLiteral("Scaling/PhysicalUnit"));
    if (!stored || stored.text().trimmed().isEmpty())
        return {};
    return displayValue(member, stored.text(), language);
}

QString displayUnit(XmlNode member, const Description* description, XmlNode parameters, const QString& language)
{
    if (member.hasChild("Unit"))
        return member.childText("Unit");
    if (parameterKind(member.name()) == ParameterKind::ValueFloat)
        return physicalUnitText(description, parameters, language);
    return {};
}
