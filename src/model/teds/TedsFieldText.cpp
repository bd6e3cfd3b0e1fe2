#include "model/teds/TedsFieldText.h"

#include "model/teds/TedsCodec.h"

#include <QDate>
#include <QLocale>
#include <bit>
#include <cmath>

namespace {

const QDate kDateOrigin(1998, 1, 1);
constexpr int Chr5Bits = 5;
constexpr char Chr5Base = 0x40;

uint64_t maxCode(const TedsFieldLayout& layout)
{
    return layout.max != 0 ? layout.max : (uint64_t{1} << layout.bits) - 1;
}

std::optional<uint64_t> inRange(const TedsFieldLayout& layout, double code)
{
    if (!std::isfinite(code) || code < double(layout.min) || code > double(maxCode(layout)))
        return std::nullopt;
    return uint64_t(code);
}

QLocale french()
{
    QLocale locale(QLocale::French);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

// Fixed decimals down to the field's step, trailing zeros dropped.
QString stepText(double value, double step)
{
    const int decimals = std::max(0, int(std::ceil(-std::log10(step) - 1e-9)));
    QString text = french().toString(value, 'f', decimals);
    if (decimals > 0) {
        while (text.endsWith('0'))
            text.chop(1);
        if (text.endsWith(','))
            text.chop(1);
    }
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

// Code 0 is a blank: sensors leave an unused version letter or initial at 0.
QString chr5Text(const TedsField& field)
{
    QString text;
    for (int i = 0; i < field.layout->bits / Chr5Bits; ++i) {
        const int code = int((field.raw >> (i * Chr5Bits)) & 0x1F);
        text += code == 0 ? QChar(' ') : QChar(Chr5Base + code);
    }
    return text.trimmed();
}

// Shorter texts are filled with blanks.
std::optional<uint64_t> chr5Code(const TedsFieldLayout& layout, const QString& text)
{
    const int length = layout.bits / Chr5Bits;
    if (text.size() > length)
        return std::nullopt;
    const QString filled = text.leftJustified(length, ' ');
    uint64_t code = 0;
    for (int i = 0; i < length; ++i) {
        const int value = filled.at(i) == ' ' ? 0 : filled.at(i).unicode() - Chr5Base;
        if (value < 0 || value > 0x1F || (value == 0 && filled.at(i) != ' '))
            return std::nullopt;
        code |= uint64_t(value) << (i * Chr5Bits);
    }
    return inRange(layout, double(code));
}

std::optional<double> number(const QString& text)
{
    QString cleaned = text;
    cleaned.replace(',', '.');
    bool ok = false;
    const double value = QLocale::c().toDouble(cleaned, &ok);
    return ok && std::isfinite(value) ? std::optional(value) : std::nullopt;
}

std::optional<uint64_t> dateCode(const TedsFieldLayout& layout, const QString& text)
{
    for (const char* format : {"dd/MM/yyyy", "dd.MM.yyyy", "yyyy-MM-dd"}) {
        const QDate date = QDate::fromString(text, QString::fromLatin1(format));
        if (date.isValid())
            return inRange(layout, double(kDateOrigin.daysTo(date)));
    }
    return std::nullopt;
}

std::optional<uint64_t> enumCode(const TedsFieldLayout& layout, const QString& text)
{
    const qsizetype index = text.isEmpty() ? -1 : layout.names.indexOf(text);
    if (index >= 0)
        return uint64_t(index);
    const auto value = number(text);
    return value && *value == std::floor(*value) ? inRange(layout, *value) : std::nullopt;
}

std::optional<uint64_t> numberCode(const TedsFieldLayout& layout, const QString& text)
{
    const auto parsed = number(text);
    if (!parsed)
        return std::nullopt;
    const double value = *parsed / layout.scale;
    switch (layout.kind) {
    case TedsKind::ConRes:
        return inRange(layout, std::round((value - layout.a) / layout.b));
    case TedsKind::ConRelRes:
        return value > 0 ? inRange(layout, std::round(std::log(value / layout.a) / std::log1p(2 * layout.b)))
                         : std::nullopt;
    case TedsKind::Single:
        if (!std::isfinite(float(value)))
            return std::nullopt;
        return std::bit_cast<uint32_t>(float(value));
    default:
        return value == std::floor(value) ? inRange(layout, value) : std::nullopt;
    }
}

}  // namespace

bool tedsCodeFits(const TedsFieldLayout& layout, uint64_t code)
{
    return code >= layout.min && code <= maxCode(layout);
}

double tedsValue(const TedsField& field)
{
    const TedsFieldLayout& layout = *field.layout;
    switch (layout.kind) {
    case TedsKind::ConRes:
        return (layout.a + layout.b * double(field.raw)) * layout.scale;
    case TedsKind::ConRelRes:
        return layout.a * std::pow(1 + 2 * layout.b, double(field.raw)) * layout.scale;
    case TedsKind::Single:
        return std::bit_cast<float>(uint32_t(field.raw)) * layout.scale;
    default:
        return double(field.raw);
    }
}

QString tedsValueText(const TedsField& field)
{
    const TedsFieldLayout& layout = *field.layout;
    switch (layout.kind) {
    case TedsKind::Chr5:
        return chr5Text(field);
    case TedsKind::Date:
        return kDateOrigin.addDays(qint64(field.raw)).toString(QStringLiteral("dd/MM/yyyy"));
    case TedsKind::Enum: {
        const QString name = layout.names.value(qsizetype(std::min<uint64_t>(field.raw, INT32_MAX)));
        return name.isEmpty() ? QString::number(field.raw) : name;
    }
    case TedsKind::ConRes:
        return stepText(tedsValue(field), layout.b * layout.scale);
    case TedsKind::ConRelRes:
        return french().toString(tedsValue(field), 'g', std::max(2, int(std::floor(-std::log10(2 * layout.b))) + 1));
    case TedsKind::Single:
        return french().toString(tedsValue(field), 'g', 7);
    default:
        return QString::number(field.raw);
    }
}

std::optional<uint64_t> tedsCodeOf(const TedsFieldLayout& layout, const QString& text)
{
    const QString trimmed = text.trimmed();
    switch (layout.kind) {
    case TedsKind::Chr5:
        return chr5Code(layout, trimmed.toUpper());
    case TedsKind::Date:
        return dateCode(layout, trimmed);
    case TedsKind::Enum:
        return enumCode(layout, trimmed);
    default:
        return numberCode(layout, trimmed);
    }
}
