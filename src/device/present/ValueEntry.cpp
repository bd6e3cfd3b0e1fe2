#include "device/present/ValueEntry.h"

#include "core/AppCore.h"
#include "core/Host.h"
#include "core/ResultCodes.h"
#include "core/xml/XmlFiles.h"
#include "device/present/ParameterText.h"
#include "model/Checks.h"
#include "model/ConfSet.h"
#include "model/ParameterKind.h"
#include "model/ValueText.h"

#include <QDate>
#include <QRegularExpression>
#include <optional>

namespace {

struct Entry {
    AppCore& app;
    const Description* description;
    XmlNode member;
    XmlNode parameters;
    const QString& path;
    const QString& text;
};

// Shows why the entered text is no value of its kind; nothing is stored.
int32_t refuse(const Entry& e, const QString& what)
{
    ShowMessage(*e.app.host, what, msg::Information);
    return rc::Refused;
}

// A decimal number, "," or "." as decimal point, optionally followed by the unit the
// value is shown with; none for any other text.
std::optional<double> enteredNumber(const Entry& e)
{
    static const QRegularExpression number(
        QStringLiteral("^\\s*([-+]?(\\d+[.,]?\\d*|[.,]\\d+)([eE][-+]?\\d+)?)\\s*(.*?)\\s*$"));
    const QRegularExpressionMatch match = number.match(e.text);
    if (!match.hasMatch())
        return std::nullopt;
    const QString rest = match.captured(4);
    if (!rest.isEmpty() && rest != displayUnit(e.member, e.description, e.parameters, e.app.Language))
        return std::nullopt;
    return StrToDouble(match.captured(1));
}

// "true", "false", "1" or "0" in any case; "oui" or "vrai" are no answer to rely on.
std::optional<bool> enteredBool(const QString& text)
{
    const QString word = text.trimmed().toLower();
    if (word == QLatin1String("true") || word == QLatin1String("1"))
        return true;
    if (word == QLatin1String("false") || word == QLatin1String("0"))
        return false;
    return std::nullopt;
}

// "0x" and hexadecimal digits, or a decimal integer.
std::optional<int64_t> enteredBits(const QString& text)
{
    const QString entered = text.trimmed();
    bool ok = false;
    const bool hex = entered.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    const qlonglong bits = hex ? entered.mid(2).toLongLong(&ok, 16) : entered.toLongLong(&ok, 10);
    return ok ? std::optional<int64_t>(bits) : std::nullopt;
}

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

int32_t storeToggle(const Entry& e)
{
    const std::optional<bool> value = enteredBool(e.text);
    if (!value)
        return refuse(e, QStringLiteral("Valeur booléenne non valide : '") + e.text +
                             QStringLiteral("' (true, false, 1 ou 0)"));
    return Conf_SetToggle(e.app, e.description, e.parameters, e.path, *value);
}

int32_t storeDate(const Entry& e)
{
    const std::optional<QDate> date = enteredDateOrMessage(e.app, e.text);
    if (!date)
        return rc::Refused;
    return Conf_SetDate(e.app, e.description, e.parameters, e.path, *date);
}

// A bit mask is stored as the bit mask window stores it: without a check of its
// description, only of its width. A 32-bit mask keeps its bits as a signed number.
int32_t storeBitMask(const Entry& e)
{
    const std::optional<int64_t> bits = enteredBits(e.text);
    if (!bits)
        return refuse(e, QStringLiteral("Masque binaire non valide : '") + e.text + '\'');
    if (const int32_t fits = Check_Width(e.app, e.member, double(*bits)); fits < 0)
        return fits;
    XmlNode element;
    const int32_t found = Conf_GetNode(e.path, e.parameters, element);
    if (found < 0)
        return found;
    element.setText(QString::number(int32_t(*bits)));
    return rc::Ok;
}

// Pairs of hexadecimal digits (blanks between them allowed), no longer than the
// member's "MaxLen" bytes; stored in upper case as the document keeps byte blocks.
int32_t storeHexBinary(const Entry& e)
{
    static const QRegularExpression pairs(QStringLiteral("^([0-9A-Fa-f]{2})*$"));
    const QString digits = e.text.simplified().remove(QLatin1Char(' ')).toUpper();
    const int maxBytes = e.member.childText("MaxLen").toInt();
    if (!pairs.match(digits).hasMatch() || (maxBytes > 0 && digits.size() / 2 > maxBytes))
        return refuse(e, QStringLiteral("Valeur hexadécimale non valide : '") + e.text +
                             QStringLiteral("' (paires de chiffres hexadécimaux, %1 octets au plus)").arg(maxBytes));
    XmlNode element;
    const int32_t found = Conf_GetNode(e.path, e.parameters, element);
    if (found < 0)
        return found;
    element.setText(digits);
    return rc::Ok;
}

int32_t storeNumber(const Entry& e, ParameterKind kind)
{
    const std::optional<double> number = enteredNumber(e);
    if (!number)
        return refuse(e, QStringLiteral("Nombre non valide : '") + e.text + '\'');
    switch (kind) {
    case ParameterKind::ValueLongFloat:
        return Conf_SetLongFloat(e.app, e.description, e.parameters, e.path, float(*number));
    case ParameterKind::ValueFloat:
        return Conf_SetFloat(e.app, e.description, e.parameters, e.path, float(*number));
    case ParameterKind::EnumFloat:
        return Conf_SetEnumFloat(e.app, e.description, e.parameters, e.path, float(*number));
    default:
        break;
    }
    // Bytes and 16-bit values pass through the wider stores: their width is checked here.
    if (const int32_t fits = Check_Width(e.app, e.member, *number); fits < 0)
        return fits;
    if (kind == ParameterKind::ValueByte)
        return Conf_SetByte(e.app, e.description, e.parameters, e.path, roundTo<uint8_t>(*number));
    return Conf_SetLong(e.app, e.description, e.parameters, e.path, roundTo<int32_t>(*number));
}

}  // namespace

std::optional<QDate> enteredDateOrMessage(AppCore& app, const QString& text)
{
    const QDate date = enteredDate(text);
    if (date.isValid())
        return date;
    ShowMessage(*app.host, QStringLiteral("Date non valide !"), msg::Information);
    return std::nullopt;
}

int32_t storeEnteredValue(AppCore& app, const Description* d, XmlNode member, XmlNode parameters,
                          const QString& path, const QString& text)
{
    const Entry e{app, d, member, parameters, path, text};
    const ParameterKind kind = parameterKind(member.name());
    switch (kind) {
    case ParameterKind::Toggle:
        return storeToggle(e);
    case ParameterKind::ValueByte:
    case ParameterKind::ValueShort:
    case ParameterKind::ValueLong:
    case ParameterKind::ValueLongFloat:
    case ParameterKind::ValueFloat:
    case ParameterKind::EnumFloat:
        return storeNumber(e, kind);
    case ParameterKind::ValueString:
        return Conf_SetString(app, d, parameters, path, text);
    case ParameterKind::ValueDate:
        return storeDate(e);
    case ParameterKind::EnumString:
        return Conf_SetEnumString(app, d, parameters, path, text);
    case ParameterKind::BitMask:
        return storeBitMask(e);
    case ParameterKind::ValueHexBinary:
        return storeHexBinary(e);
    default:
        return rc::NotSupported;
    }
}
