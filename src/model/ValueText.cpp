#include "model/ValueText.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <charconv>
#include <cmath>
#include <limits>

double leadingNumber(const QString& text)
{
    static const QRegularExpression leading(
        QStringLiteral("^\\s*[-+]?(\\d+\\.?\\d*|\\.\\d+)([eE][-+]?\\d+)?"));
    const QRegularExpressionMatch match = leading.match(text);
    return match.hasMatch() ? match.captured().trimmed().toDouble() : 0.0;
}

double StrToDouble(const QString& text)
{
    QString cleaned = text;
    cleaned.replace(',', '.');
    return leadingNumber(cleaned);
}

namespace {

int hexDigit(QChar c)
{
    if (c >= '0' && c <= '9')
        return c.unicode() - '0';
    if (c >= 'A' && c <= 'F')
        return c.unicode() - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c.unicode() - 'a' + 10;
    return 0;
}

}  // namespace

int32_t HexToBytes(const QString& text, QByteArray& bytes)
{
    // An odd last digit has no partner and is dropped.
    const qsizetype count = text.size() / 2;
    bytes.resize(count);
    for (qsizetype i = 0; i < count; ++i)
        bytes[i] = char(hexDigit(text[2 * i]) * 16 + hexDigit(text[2 * i + 1]));
    return int32_t(count);
}

QString BytesToHex(const QByteArray& bytes, int32_t count)
{
    return QString::fromLatin1(bytes.left(count).toHex().toUpper());
}

template <typename T>
T roundTo(double value)
{
    if (std::isnan(value))
        return T(0);
    const double rounded = std::nearbyint(value);  // default rounding mode: ties to even
    if (rounded <= double(std::numeric_limits<T>::min()))
        return std::numeric_limits<T>::min();
    if (rounded >= double(std::numeric_limits<T>::max()))
        return std::numeric_limits<T>::max();
    return T(rounded);
}

template uint8_t roundTo<uint8_t>(double);
template int16_t roundTo<int16_t>(double);
template int32_t roundTo<int32_t>(double);
template int64_t roundTo<int64_t>(double);

QString boolToText(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }

bool textToBool(const QString& text)
{
    const QString word = text.trimmed();
    return word == QLatin1String("1") || word.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

QString floatToText(float value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QDate dateOrigin() { return QDate(1899, 12, 30); }

int64_t dayNumber(const QDate& date) { return dateOrigin().daysTo(date); }

QString dateToText(const QDate& date) { return date.toString(Qt::ISODate); }

QDate textToDate(const QString& text)
{
    const QDate date = QDate::fromString(text.trimmed().left(10), Qt::ISODate);
    return date.isValid() ? date : dateOrigin();
}

QString floatForMessage(float value)
{
    QLocale user;
    user.setNumberOptions(QLocale::OmitGroupSeparator);  // "12000,5", as the user types it
    return user.toString(double(value), 'g', 7);
}

QString xpathLiteral(const QString& text)
{
    if (!text.contains('"'))
        return '"' + text + '"';
    if (!text.contains('\''))
        return '\'' + text + '\'';
    QStringList parts;
    for (const QString& piece : text.split('"'))
        parts << '"' + piece + '"';
    return QStringLiteral("concat(") + parts.join(QStringLiteral(", '\"', ")) + ')';
}

QString trimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.mid(first, last - first);
}

QString textOfBytes(const QByteArray& bytes)
{
    const qsizetype end = bytes.indexOf('\0');
    return trimBlanks(QString::fromLatin1(end < 0 ? bytes : bytes.left(end)));
}
