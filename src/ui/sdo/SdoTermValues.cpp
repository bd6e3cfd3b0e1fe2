#include "ui/sdo/SdoTermValues.h"

#include "model/ValueText.h"

#include <QtEndian>
#include <cstring>
#include <limits>

namespace {

struct Range {
    int64_t low;
    int64_t high;
};

// Decimal entries are signed, except the unsigned byte.
Range decimalRange(int32_t code)
{
    switch (code) {
    case sdotype::Unsigned8: return {0, std::numeric_limits<uint8_t>::max()};
    case sdotype::Integer16: return {std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()};
    default: return {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
    }
}

uint32_t widthMask(int bytes) { return bytes >= 4 ? 0xFFFFFFFFu : (1u << (8 * bytes)) - 1u; }

QByteArray littleEndian(uint32_t bits, int bytes)
{
    QByteArray out(4, '\0');
    qToLittleEndian(bits, out.data());
    return out.left(bytes);
}

}  // namespace

const std::vector<SdoDataType>& SdoDataTypes()
{
    static const std::vector<SdoDataType> types{
        {QStringLiteral("1 octet (Unsigned 8)"), sdotype::Unsigned8, 1, true},
        {QStringLiteral("2 octet (Integer 16)"), sdotype::Integer16, 2, true},
        {QStringLiteral("4 octet (Integer 32)"), sdotype::Integer32, 4, true},
        {QStringLiteral("4 octet (Real 32)"), sdotype::Real32, 4, false},
        {QStringLiteral("Visible string"), sdotype::VisibleString, 0, false},
    };
    return types;
}

const SdoDataType& SdoDataTypeOf(int32_t code)
{
    for (const SdoDataType& type : SdoDataTypes())
        if (type.code == code)
            return type;
    return SdoDataTypes()[DefaultSdoDataType];
}

uint32_t SdoHexNumber(const QString& text)
{
    bool ok = false;
    const uint32_t number = text.trimmed().toUInt(&ok, 16);
    return ok ? number : 0;
}

QString SdoValueText(int32_t code, const QByteArray& bytes, bool hex)
{
    QByteArray padded = bytes.left(4);
    padded.append(QByteArray(4 - padded.size(), '\0'));
    const uint32_t raw = qFromLittleEndian<uint32_t>(padded.constData());
    const SdoDataType& type = SdoDataTypeOf(code);
    if (code == sdotype::Real32) {
        float value = 0;
        std::memcpy(&value, &raw, sizeof value);
        return floatForMessage(value);
    }
    const uint32_t bits = raw & widthMask(type.bytes);
    if (hex)
        return QString::number(bits, 16).toUpper();
    switch (code) {
    case sdotype::Unsigned8: return QString::number(uint8_t(bits));
    case sdotype::Integer16: return QString::number(int16_t(bits));
    default: return QString::number(int32_t(bits));
    }
}

std::optional<QByteArray> SdoValueBytes(int32_t code, const QString& text, bool hex)
{
    const SdoDataType& type = SdoDataTypeOf(code);
    if (code == sdotype::Real32) {
        const float value = float(StrToDouble(text));
        uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return littleEndian(bits, type.bytes);
    }
    if (type.bytes == 0)
        return std::nullopt;
    bool ok = false;
    if (hex) {
        const qulonglong bits = text.trimmed().toULongLong(&ok, 16);
        if (!ok || bits > widthMask(type.bytes))
            return std::nullopt;
        return littleEndian(uint32_t(bits), type.bytes);
    }
    const qlonglong value = text.trimmed().toLongLong(&ok, 10);
    const Range range = decimalRange(code);
    if (!ok || value < range.low || value > range.high)
        return std::nullopt;
    return littleEndian(uint32_t(value), type.bytes);
}

QString SdoConvertBase(int32_t code, const QString& text, bool toHex)
{
    const QString entered = text.isEmpty() ? QStringLiteral("0") : text;
    const std::optional<QByteArray> bytes = SdoValueBytes(code, entered, !toHex);
    return bytes ? SdoValueText(code, *bytes, toHex) : entered;
}
